#include "contacts/BrowserRules.h"

#include <algorithm>

#include "store/ContactRecord.h"
#include "store/ContactsFile.h"

namespace tandor {

QString findListText(const ContactRecord& record) {
    return record.field(Field::FName) + QLatin1Char(' ') + record.field(Field::MiddleInit) +
           QLatin1Char(' ') + record.field(Field::LName);
}

std::vector<FindListItem> findListItems(const ContactsFile& file) {
    const int count = file.recordCount();
    std::vector<FindListItem> items;
    items.reserve(static_cast<size_t>(count));
    for (int n = 1; n <= count; ++n) {
        items.push_back({findListText(file.read(n)), n});
    }
    std::stable_sort(items.begin(), items.end(), [](const FindListItem& a, const FindListItem& b) {
        return QString::compare(a.text, b.text, Qt::CaseInsensitive) < 0;
    });
    return items;
}

StepOutcome stepOutcome(BrowserStep step, int current, int count) {
    switch (step) {
        case BrowserStep::First:
            // An empty file has no record to show.
            return {count >= 1 ? 1 : 0, std::nullopt};
        case BrowserStep::Last:
            return {std::max(count, 0), std::nullopt};
        case BrowserStep::Next:
            if (current + 1 <= count) {
                return {std::max(current + 1, 1), std::nullopt};
            }
            return {0, BrowserMessage{kEndOfFileText, kEndOfFileTitle}};
        case BrowserStep::Previous:
            if (current >= 2 && count >= 1) {
                return {std::min(current - 1, count), std::nullopt};
            }
            return {0, BrowserMessage{kBeginningOfFileText, kBeginningOfFileTitle}};
    }
    return {};
}

}  // namespace tandor
