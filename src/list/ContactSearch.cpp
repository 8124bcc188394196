#include "list/ContactSearch.h"

namespace tandor {
namespace {

const std::array<SearchOption, 9> kOptions{{
    {SearchField::FirstName, "optSearchFName", "First name", "First name Search", Field::FName,
     false, "First name"},
    {SearchField::LastName, "optSearchLName", "Last name", "Last name Search", Field::LName, false,
     "Last name"},
    {SearchField::City, "optSearchCity", "City", "City Search", Field::City, false, "City"},
    {SearchField::State, "optSearchState", "State", "State Search", Field::State, false, "State"},
    {SearchField::Zip, "optSearchZip", "Zip code", "Zip code Search", Field::Zip, true, "Zip"},
    {SearchField::Email, "optSearchEmail", "Email address", "Email address Search", Field::Email,
     false, "Email"},
    {SearchField::Category, "optSearchCat", "Category", "Category Search", Field::Category, false,
     "Category"},
    {SearchField::All, "optSearchAll", "View all contacts without searching", "", Field::FName,
     false, ""},
    {SearchField::Company, "optSearchCompany", "Company name", "Company Search", Field::Company,
     false, "Company name"},
}};

}  // namespace

const std::array<SearchOption, 9>& searchOptions() {
    return kOptions;
}

const SearchOption& searchOption(SearchField code) {
    for (const SearchOption& option : kOptions) {
        if (option.code == code) {
            return option;
        }
    }
    return kOptions[7];
}

std::optional<SearchField> searchFieldNamed(const QString& name) {
    static const std::pair<const char*, SearchField> kNames[] = {
        {"first", SearchField::FirstName},   {"last", SearchField::LastName},
        {"city", SearchField::City},         {"state", SearchField::State},
        {"zip", SearchField::Zip},           {"email", SearchField::Email},
        {"category", SearchField::Category}, {"company", SearchField::Company},
    };
    for (const auto& [text, code] : kNames) {
        if (name == QLatin1String(text)) {
            return code;
        }
    }
    return std::nullopt;
}

bool contactMatches(const ContactRecord& record, SearchField field, const QString& searchText) {
    if (field == SearchField::All) {
        return true;
    }
    const SearchOption& option = searchOption(field);
    const QString value = record.field(option.field);
    if (value.isEmpty()) {
        return false;
    }
    return value.contains(searchText,
                          option.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

}  // namespace tandor
