#include "exchange/ProviderLayouts.h"

#include <QRegularExpression>

namespace tandor {
namespace {

QStringList columnsOf(const QString& headerText) {
    QStringList columns = headerText.split(QLatin1Char(','));
    for (QString& c : columns) {
        c = c.trimmed();
    }
    return columns;
}

bool hasAll(const QStringList& columns, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (!columns.contains(QLatin1String(name))) {
            return false;
        }
    }
    return true;
}

bool hasAny(const QStringList& columns, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (columns.contains(QLatin1String(name))) {
            return true;
        }
    }
    return false;
}

bool hasGoogleNumbered(const QStringList& columns) {
    static const QRegularExpression numbered(QStringLiteral("^(E-mail|Phone|Address) \\d+ - "));
    for (const QString& c : columns) {
        if (numbered.match(c).hasMatch()) {
            return true;
        }
    }
    return false;
}

// The recognitions, each on the header's column names.
// Google's own columns, so that another program's "First Name,Email,Labels"
// stays with the generic layout (which reads its e-mail column).
bool isGoogle(const QStringList& c) {
    return c.contains(QLatin1String("First Name")) &&
           (hasGoogleNumbered(c) || hasAny(c, {"File As", "Phonetic First Name"}));
}

bool isOlderGoogle(const QStringList& c) {
    return hasAll(c, {"Name", "Given Name", "Family Name"});
}

bool isOldestGmail(const QStringList& c) {
    return hasAll(c, {"Name", "E-mail"}) &&
           std::any_of(c.begin(), c.end(),
                       [](const QString& name) { return name.startsWith("Section 1 - "); });
}

bool isThunderbird(const QStringList& c) {
    return hasAll(c, {"Display Name", "Primary Email"});
}

bool isAddressBook(const QStringList& c) {
    return hasAll(c, {"Name", "E-mail Address"});
}

bool isOutlook(const QString& text, const QStringList& c) {
    return (text.contains(QLatin1String("Primary Phone")) &&
            text.contains(QLatin1String("Web Page"))) ||
           (hasAll(c, {"First Name", "Last Name", "E-mail Address"}) &&
            hasAny(c, {"Home Street", "Business Street", "Home Phone", "Business Phone",
                       "Mobile Phone", "Categories"}));
}

AddressColumnNames outlookAddress(const QString& kind) {
    const auto n = [&](const char* part) { return kind + QLatin1Char(' ') + QLatin1String(part); };
    return {{n("Street")}, {n("Street 2")},    {n("City")},
            {n("State")},  {n("Postal Code")}, {n("Country/Region"), n("Country")}};
}

NamedColumnTable outlookTable() {
    NamedColumnTable t;
    t.firstName = {"First Name"};
    t.middleName = {"Middle Name"};
    t.lastName = {"Last Name"};
    t.fullName = {"Name"};
    t.email = {"E-mail Address", "E-mail 2 Address", "E-mail 3 Address"};
    t.homePhone = {"Home Phone", "Home Phone 2", "Primary Phone"};
    t.mobilePhone = {"Mobile Phone"};
    t.workPhone = {"Business Phone", "Business Phone 2", "Company Main Phone"};
    t.addresses = {outlookAddress("Home"), outlookAddress("Business"), outlookAddress("Other")};
    t.birthday = {"Birthday"};
    t.otherDates = {"Anniversary"};
    t.company = {"Company"};
    t.notes = {"Notes"};
    t.categories = {"Categories"};
    return t;
}

NamedColumnTable thunderbirdTable() {
    NamedColumnTable t;
    t.firstName = {"First Name"};
    t.lastName = {"Last Name"};
    t.fullName = {"Display Name"};
    t.email = {"Primary Email", "Secondary Email"};
    t.homePhone = {"Home Phone"};
    t.mobilePhone = {"Mobile Number"};
    t.workPhone = {"Work Phone"};
    t.addresses = {
        {{"Home Address"},
         {"Home Address 2"},
         {"Home City"},
         {"Home State"},
         {"Home ZipCode"},
         {"Home Country"}},
        {{"Work Address"},
         {"Work Address 2"},
         {"Work City"},
         {"Work State"},
         {"Work ZipCode"},
         {"Work Country"}},
    };
    t.birthYear = "Birth Year";
    t.birthMonth = "Birth Month";
    t.birthDay = "Birth Day";
    t.company = {"Organization"};
    t.notes = {"Notes"};
    return t;
}

NamedColumnTable googleTable() {
    NamedColumnTable t;
    t.firstName = {"First Name", "Given Name"};
    t.middleName = {"Middle Name", "Additional Name"};
    t.lastName = {"Last Name", "Family Name"};
    t.fullName = {"Name"};
    t.birthday = {"Birthday"};
    t.company = {"Organization Name"};
    t.notes = {"Notes"};
    t.categories = {"Labels", "Group Membership"};
    t.googleColumns = true;
    return t;
}

NamedColumnTable oldestGmailTable() {
    NamedColumnTable t;
    t.fullName = {"Name"};
    t.email = {"E-mail", "Section 1 - Email", "Section 2 - Email"};
    t.homePhone = {"Section 1 - Phone", "Section 2 - Phone"};
    t.mobilePhone = {"Section 1 - Mobile", "Section 2 - Mobile"};
    t.addresses = {{{"Section 1 - Address"}, {}, {}, {}, {}, {}},
                   {{"Section 2 - Address"}, {}, {}, {}, {}, {}}};
    t.company = {"Section 1 - Company", "Section 2 - Company"};
    t.notes = {"Notes"};
    return t;
}

ImportLayout providerLayout(const char* name, std::function<bool(const QString&)> recognises,
                            NamedColumnTable table) {
    ImportLayout l;
    l.name = QLatin1String(name);
    l.recognises = std::move(recognises);
    l.prepareHeader = [](const QStringList& header) -> std::optional<QStringList> {
        return header;
    };
    l.prepareLine = [](const QStringList& line) { return line; };
    l.skipLine = [](const QStringList&, const QString&) { return false; };
    l.fixedValues = {{Field::IncludeCompany, QStringLiteral("1")}};
    // The cleaning of the own-export layout, the older layout that reads a
    // whole contact, with its phone test on the work phone too (as the Yahoo
    // layout tests all three) and made on the digits, so that the numbers of
    // countries that group them in twos ("+33 1 42 68 53 00") stay; the birth
    // dates are stored by the reading itself.
    l.cleaning.stateUpperCase = true;
    l.cleaning.phonesEndingInNumber = {Field::HPhone, Field::CPhone, Field::WPhone};
    l.cleaning.phoneGroupingIgnored = true;
    l.cleaning.addressChecks = true;
    l.namedColumns = std::make_shared<const NamedColumnTable>(std::move(table));
    l.needsName = true;
    return l;
}

template <typename Test>
std::function<bool(const QString&)> onColumns(Test test) {
    return [test](const QString& header) { return test(columnsOf(header)); };
}

}  // namespace

std::vector<ImportLayout> providerLayouts() {
    std::vector<ImportLayout> layouts;
    layouts.push_back(providerLayout("Google CSV", onColumns(isGoogle), googleTable()));
    layouts.push_back(
        providerLayout("Google CSV (older)", onColumns(isOlderGoogle), googleTable()));
    layouts.push_back(
        providerLayout("Gmail CSV (oldest)", onColumns(isOldestGmail), oldestGmailTable()));
    layouts.push_back(providerLayout("Thunderbird", onColumns(isThunderbird), thunderbirdTable()));
    layouts.push_back(
        providerLayout("Windows Address Book", onColumns(isAddressBook), outlookTable()));
    layouts.push_back(providerLayout(
        "Outlook", [](const QString& header) { return isOutlook(header, columnsOf(header)); },
        outlookTable()));
    return layouts;
}

bool providerRecognises(const QString& headerText) {
    const QStringList c = columnsOf(headerText);
    return isGoogle(c) || isOlderGoogle(c) || isOldestGmail(c) || isThunderbird(c) ||
           isAddressBook(c) || isOutlook(headerText, c);
}

std::shared_ptr<const NamedColumnTable> outlookAddedColumns() {
    NamedColumnTable t;
    t.workPhone = {"Business Phone"};
    t.addresses = {outlookAddress("Home"), outlookAddress("Business")};
    t.company = {"Company"};
    t.notes = {"Notes"};
    t.categories = {"Categories"};
    t.streetLinesSplit = false;
    return std::make_shared<const NamedColumnTable>(std::move(t));
}

std::shared_ptr<const NamedColumnTable> yahooAddedColumns() {
    NamedColumnTable t;
    t.addresses = {AddressColumnNames{{"Home Address"},
                                      {},
                                      {"Home City", "Home Town"},
                                      {"Home State", "Home County"},
                                      {"Home ZIP", "Home Post Code"},
                                      {"Home Country"}}};
    t.notes = {"Comments"};
    t.streetLinesSplit = false;
    return std::make_shared<const NamedColumnTable>(std::move(t));
}

}  // namespace tandor
