#include "exchange/DuplicateCheck.h"

#include <algorithm>

#include "platform/Ansi.h"
#include "store/ContactsFile.h"

namespace tandor {
namespace {

// The name rule: a non-empty value is contained in the name, an empty value
// matches only an empty name.
bool nameMatches(const QString& onFile, const QString& value) {
    return value.isEmpty() ? onFile.isEmpty() : onFile.contains(value);
}

}  // namespace

void DuplicateCheck::NameIndex::build(const std::vector<QString>& names) {
    suffixes_.clear();
    emptyNames_.clear();
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        const QStringView name(names[i]);
        if (name.isEmpty()) {
            emptyNames_.push_back(i);
        }
        for (qsizetype at = 0; at < name.size(); ++at) {
            suffixes_.emplace_back(name.sliced(at), i);
        }
    }
    std::sort(suffixes_.begin(), suffixes_.end(),
              [](const Suffix& a, const Suffix& b) { return a.first < b.first; });
}

auto DuplicateCheck::NameIndex::range(QStringView text) const
    -> std::pair<std::vector<Suffix>::const_iterator, std::vector<Suffix>::const_iterator> {
    // Ordered by their first text.size() characters, the suffixes beginning
    // with the text form one run.
    const auto head = [&](const Suffix& s) { return s.first.left(text.size()); };
    const auto begin =
        std::lower_bound(suffixes_.begin(), suffixes_.end(), text,
                         [&](const Suffix& s, QStringView t) { return head(s) < t; });
    const auto end = std::upper_bound(begin, suffixes_.end(), text,
                                      [&](QStringView t, const Suffix& s) { return t < head(s); });
    return {begin, end};
}

std::size_t DuplicateCheck::NameIndex::count(QStringView text) const {
    if (text.isEmpty()) {
        return emptyNames_.size();
    }
    const auto [begin, end] = range(text);
    return static_cast<std::size_t>(end - begin);
}

template <typename Test>
bool DuplicateCheck::NameIndex::any(QStringView text, Test test) const {
    if (text.isEmpty()) {
        return std::any_of(emptyNames_.begin(), emptyNames_.end(), test);
    }
    const auto [begin, end] = range(text);
    return std::any_of(begin, end, [&](const Suffix& s) { return test(s.second); });
}

DuplicateCheck::DuplicateCheck(const ContactsFile& file, int count) {
    firstNames_.reserve(count);
    lastNames_.reserve(count);
    for (int r = 1; r <= count; ++r) {
        add(file.read(r));
    }
    finish();
}

QString DuplicateCheck::asOnFile(const QString& value) {
    return trimSpaces(fromAnsi(toAnsi(value)));
}

void DuplicateCheck::add(const ContactRecord& record) {
    const QString email = record.field(Field::Email);
    if (!email.isEmpty()) {
        emails_.insert(email);
    }
    firstNames_.push_back(record.field(Field::FName));
    lastNames_.push_back(record.field(Field::LName));
}

void DuplicateCheck::finish() {
    byFirstName_.build(firstNames_);
    byLastName_.build(lastNames_);
}

bool DuplicateCheck::isDuplicate(const ContactFields& values) const {
    if (firstNames_.empty()) {
        return false;  // no contact on file (the common case of a new file)
    }
    const QString email = asOnFile(values[Field::Email]);
    if (!email.isEmpty() && emails_.contains(email)) {
        return true;
    }
    // Both names must match: the records found for the rarer of the two are
    // tested for the other.
    const QString first = asOnFile(values[Field::FName]);
    const QString last = asOnFile(values[Field::LName]);
    if (byFirstName_.count(first) <= byLastName_.count(last)) {
        return byFirstName_.any(first, [&](int r) { return nameMatches(lastNames_[r], last); });
    }
    return byLastName_.any(last, [&](int r) { return nameMatches(firstNames_[r], first); });
}

}  // namespace tandor
