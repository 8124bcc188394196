#pragma once

#include <QString>
#include <array>
#include <optional>

#include "store/ContactRecord.h"

namespace tandor {

// Which field the contact list searches (the codes of the search options).
enum class SearchField {
    FirstName = 0,
    LastName = 1,
    City = 2,
    State = 3,
    Zip = 4,
    Email = 5,
    Category = 6,
    All = 7,  // every contact, no search
    Company = 8,
};

// One search option of the contact list window.
struct SearchOption {
    SearchField code;
    const char* control;     // "optSearchFName"
    const char* caption;     // "First name"
    const char* inputTitle;  // "First name Search"; empty for All
    Field field;             // the field searched (unused for All)
    bool caseSensitive;      // only the ZIP code is compared character for character
    const char* resultName;  // "First name", as the result label shows it
};

// The nine options in the order the window shows them.
const std::array<SearchOption, 9>& searchOptions();
const SearchOption& searchOption(SearchField code);

inline const QString kSearchPrompt = QStringLiteral("Search For: ");

// The batch tool's names for the searches: first, last, city, state, zip,
// email, category, company.
std::optional<SearchField> searchFieldNamed(const QString& name);

// Whether a contact is taken by a search: with All, always; otherwise when the
// search text occurs anywhere in the searched field with its leading and
// trailing spaces removed. An empty search text takes every contact whose
// field is not blank.
bool contactMatches(const ContactRecord& record, SearchField field, const QString& searchText);

}  // namespace tandor
