#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "exchange/BirthDates.h"
#include "store/ContactRecord.h"

namespace tandor {

// The column names of one postal address.
struct AddressColumnNames {
    QStringList street;
    QStringList street2;
    QStringList city;
    QStringList state;
    QStringList zip;
    QStringList country;
};

// The columns a layout reads by their names in the header, wherever they
// stand. Each list names the columns that may hold one value, in the order
// they are tried: the first of them that the header has and the line fills
// gives the value.
struct NamedColumnTable {
    QStringList firstName;
    QStringList middleName;
    QStringList lastName;
    // Split at its last space when the first and the last name are both empty.
    QStringList fullName;
    QStringList email;
    QStringList homePhone;
    QStringList mobilePhone;
    QStringList workPhone;
    // The first address that holds any value gives all its parts (a home
    // address before a business one).
    std::vector<AddressColumnNames> addresses;
    // A birth date in one column, and other dates of the file that show the
    // order of day and month.
    QStringList birthday;
    QStringList otherDates;
    // A birth date in three columns.
    QString birthYear;
    QString birthMonth;
    QString birthDay;
    QStringList company;
    QStringList notes;
    QStringList categories;
    // Google's numbered columns: "E-mail 1 - Value", "Phone 1 - Label" with
    // "Phone 1 - Value", "Address 1 - Street", "Organization 1 - Name"; its
    // category cells are label lists ("* myContacts ::: Family").
    bool googleColumns = false;
    // A street of several lines: its first line is the street and the others
    // the second street line (unless the file has one of its own, which then
    // follows them). Off: the whole street, its line breaks made spaces, as
    // the older layouts read every value.
    bool streetLinesSplit = true;
};

// A table found in one header: where each of its columns stands.
class NamedColumns {
public:
    NamedColumns(const NamedColumnTable& table, const QStringList& header);

    // Whether the lines hold slash dates whose order of day and month the
    // file as a whole must show.
    bool readsDates() const { return !birthday_.empty(); }
    // The date texts of a line, for that evidence.
    QStringList dates(const QStringList& line) const;
    // Sets each field of the table that the line holds a value for; the
    // others keep their values. A cell of several values joined by " ::: "
    // gives its first; a line break or comma inside a value becomes a space.
    void take(const QStringList& line, DateOrder order, ContactFields& values) const;
    // The number of column positions a line is looked at in, at most: bounded
    // whatever the size of the header.
    qsizetype columnsRead() const;

private:
    using Positions = std::vector<qsizetype>;
    struct Address {
        Positions street, street2, city, state, zip, country;
    };
    struct LabelledPhone {
        qsizetype label = -1;
        qsizetype value = -1;
    };
    // A numbered Google address, tried in a first round only when its label
    // says it is the home address.
    struct GoogleAddress {
        Address address;
        qsizetype label = -1;
        bool homeOnly = false;
    };

    Positions find(const QStringList& names) const;
    void findGoogleColumns();
    QString first(const QStringList& line, const Positions& positions) const;
    bool holdsAddress(const QStringList& line, const Address& address) const;
    void takeAddress(const QStringList& line, ContactFields& values) const;
    void takePhones(const QStringList& line, ContactFields& values) const;

    QStringList header_;
    bool googleLabels_ = false;
    bool streetLinesSplit_ = true;
    Positions first_, middle_, last_, full_, email_, home_, mobile_, work_;
    std::vector<Address> addresses_;
    Positions birthday_, otherDates_, year_, month_, day_;
    Positions company_, notes_, categories_;
    std::vector<LabelledPhone> phones_;
    std::vector<GoogleAddress> googleAddresses_;
};

}  // namespace tandor
