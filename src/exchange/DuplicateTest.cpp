#include "exchange/DuplicateTest.h"

#include <algorithm>

#include "platform/Ansi.h"
#include "store/ContactsFile.h"

namespace tandor {

DuplicateTest::DuplicateTest(const ContactsFile& file, int count) {
    firstNames_.reserve(count);
    lastNames_.reserve(count);
    for (int r = 1; r <= count; ++r) {
        add(file.read(r));
    }
    finish();
}

QString DuplicateTest::asOnFile(const QString& value) {
    return trimSpaces(fromAnsi(toAnsi(value)));
}

void DuplicateTest::add(const ContactRecord& record) {
    const QString email = record.field(Field::Email);
    if (!email.isEmpty()) {
        emails_.insert(email);
    }
    firstNames_.push_back(record.field(Field::FName));
    lastNames_.push_back(record.field(Field::LName));
}

void DuplicateTest::finish() {
    lastNameSuffixes_.clear();
    emptyLastNames_.clear();
    for (int i = 0; i < static_cast<int>(lastNames_.size()); ++i) {
        const QStringView name(lastNames_[i]);
        if (name.isEmpty()) {
            emptyLastNames_.push_back(i);
        }
        for (qsizetype at = 0; at < name.size(); ++at) {
            lastNameSuffixes_.emplace_back(name.sliced(at), i);
        }
    }
    std::sort(lastNameSuffixes_.begin(), lastNameSuffixes_.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
}

bool DuplicateTest::firstNameMatches(int record, const QString& first) const {
    const QString& onFile = firstNames_[record];
    return first.isEmpty() ? onFile.isEmpty() : onFile.contains(first);
}

bool DuplicateTest::isDuplicate(const ContactFields& values) const {
    const QString email = asOnFile(values[Field::Email]);
    if (!email.isEmpty() && emails_.contains(email)) {
        return true;
    }
    const QString first = asOnFile(values[Field::FName]);
    const QString last = asOnFile(values[Field::LName]);
    if (last.isEmpty()) {
        return std::any_of(emptyLastNames_.begin(), emptyLastNames_.end(),
                           [&](int r) { return firstNameMatches(r, first); });
    }
    auto it = std::lower_bound(lastNameSuffixes_.begin(), lastNameSuffixes_.end(), QStringView(last),
                               [](const auto& entry, QStringView text) { return entry.first < text; });
    for (; it != lastNameSuffixes_.end() && it->first.startsWith(last); ++it) {
        if (firstNameMatches(it->second, first)) {
            return true;
        }
    }
    return false;
}

}  // namespace tandor
