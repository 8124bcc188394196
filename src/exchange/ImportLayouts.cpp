#include "exchange/ImportLayouts.h"

#include "exchange/ProviderLayouts.h"

// The layouts work on a line's unquoted values. Line breaks inside values need
// no treatment here: each becomes one space when the value is taken, as each
// comma inside a value does.

namespace tandor {
namespace {

bool contains(const QString& text, const char* needle) {
    return text.contains(QLatin1String(needle), Qt::CaseSensitive);
}

bool columnEmpty(const QStringList& line, qsizetype position) {
    return columnOrEmpty(line, position).isEmpty();
}

// Name-E-mail and generic lines carried a cut after the first of six US
// domains; a line is now taken whole and skipped only when it holds no
// e-mail address at all.
bool holdsNoAddress(const QString& text) {
    return !text.contains(QLatin1Char('@'));
}

QStringList unchanged(const QStringList& values) {
    return values;
}

QStringList firstColumns(const QStringList& values, qsizetype count) {
    return values.mid(0, count);
}

ImportLayout yahooLayout() {
    ImportLayout l;
    l.name = QStringLiteral("Yahoo");
    l.recognises = [](const QString& header) {
        return contains(header, "Yahoo! Phone") || contains(header, "Yahoo Phone");
    };
    l.prepareHeader = [](const QStringList& header) -> std::optional<QStringList> {
        return withoutQuotes(header);
    };
    l.prepareLine = [](const QStringList& line) { return withoutQuotes(line); };
    l.skipLine = [](const QStringList&, const QString& text) {
        return contains(text, "Yahoo! Phone") || contains(text, "Yahoo Phone");
    };
    l.columns = {
        {{0}, QStringLiteral("First"), Field::FName},
        {{1}, QStringLiteral("Middle"), Field::MiddleInit},
        {{2}, QStringLiteral("Last"), Field::LName},
        {{4}, QStringLiteral("Email"), Field::Email},
        {{5}, QStringLiteral("Category"), Field::Category},
        {{8}, QStringLiteral("Home"), Field::HPhone},
        {{9}, QStringLiteral("Work"), Field::WPhone},
        {{12}, QStringLiteral("Mobile"), Field::CPhone},
        {{21}, QStringLiteral("Company"), Field::Company},
        {{27}, QStringLiteral("Home Address"), Field::FStreet},
        {{28}, QStringLiteral("Home City"), Field::City},
        {{29}, QStringLiteral("Home State"), Field::State},
        {{30}, QStringLiteral("Home ZIP"), Field::Zip},
        {{31}, QStringLiteral("Home Country"), Field::Country},
        {{32}, QStringLiteral("Birthday"), Field::Birthdate},
    };
    l.fixedValues = {{Field::IncludeCompany, QStringLiteral("1")}};
    l.cleaning.birthdateSeparator = QLatin1Char('/');
    l.cleaning.birthdateRangeCheck = true;
    l.cleaning.stateUpperCase = true;
    l.cleaning.phonesEndingInNumber = {Field::HPhone, Field::CPhone, Field::WPhone};
    l.cleaning.phonesWithDash = {Field::HPhone, Field::CPhone, Field::WPhone};
    l.cleaning.homePhoneFromWork = true;
    l.cleaning.shortStreetEmpty = true;
    l.cleaning.addressChecks = true;
    // The address under the UK export's names, and the comments, by name,
    // without their quotes as the layout's own values.
    l.namedColumns = yahooAddedColumns();
    l.prepareNamedLine = [](const QStringList& line) { return withoutQuotes(line); };
    return l;
}

ImportLayout primaryPhoneLayout() {
    constexpr qsizetype kColumns = 21;
    ImportLayout l;
    l.name = QStringLiteral("Primary-Phone");
    // The web-mail header its table was written for: the columns its line
    // tests look at (Last Name, E-mail Address) stand where it looks. Other
    // headers with these texts are read by name as the Outlook layout.
    l.recognises = [](const QString& header) {
        const QStringList columns = header.split(QLatin1Char(','));
        return contains(header, "Primary Phone") && contains(header, "Web Page") &&
               columnOrEmpty(columns, 2) == QLatin1String("Last Name") &&
               columnOrEmpty(columns, 14) == QLatin1String("E-mail Address");
    };
    l.prepareHeader = [](const QStringList& header) -> std::optional<QStringList> {
        return firstColumns(header, kColumns);
    };
    l.prepareLine = [](const QStringList& line) { return firstColumns(line, kColumns); };
    l.skipLine = [](const QStringList& line, const QString& text) {
        return (contains(text, "Primary Phone") && contains(text, "Web Page")) ||
               columnEmpty(line, 2) || columnEmpty(line, 14);
    };
    l.columns = {
        {{0}, QStringLiteral("First Name"), Field::FName},
        {{1}, QStringLiteral("Middle Name"), Field::MiddleInit},
        {{2}, QStringLiteral("Last Name"), Field::LName},
        {{8}, QStringLiteral("Birthday"), Field::Birthdate},
        {{14}, QStringLiteral("E-mail Address"), Field::Email},
        {{18}, QStringLiteral("Home Phone"), Field::HPhone},
        {{20}, QStringLiteral("Mobile Phone"), Field::CPhone},
    };
    l.fixedValues = {{Field::IncludeCompany, QStringLiteral("1")}};
    l.cleaning.birthdateSeparator = QLatin1Char('/');
    l.cleaning.birthdateRangeCheck = true;
    l.cleaning.stripPhoneMarks = true;
    l.cleaning.phonesEndingInNumber = {Field::HPhone, Field::CPhone};
    l.cleaning.phonesWithDash = {Field::HPhone, Field::CPhone};
    // The address, work phone, company, notes and categories, by name.
    l.namedColumns = outlookAddedColumns();
    return l;
}

// The index of the value that holds position `at` of the values joined by ",".
qsizetype valueAt(const QStringList& values, qsizetype at) {
    qsizetype index = 0;
    qsizetype start = 0;
    for (const QString& value : values) {
        if (start + value.size() >= at) {
            break;
        }
        start += value.size() + 1;
        ++index;
    }
    return index;
}

ImportLayout nameEmailLayout() {
    ImportLayout l;
    l.name = QStringLiteral("Name-E-mail");
    // A header without "First Name," that names its full-name and e-mail
    // columns is left to the Windows Address Book layout, which reads them by
    // name.
    l.recognises = [](const QString& header) {
        return contains(header, "Name,E-mail Address") &&
               (contains(header, "First Name,") || !providerRecognises(header));
    };
    // The header from its first "First Name," through the end of the first
    // "Name,E-mail Address" after it; without "First Name," the whole header.
    l.prepareHeader = [](const QStringList& header) -> std::optional<QStringList> {
        const QString text = header.join(QLatin1Char(','));
        const qsizetype begin = text.indexOf(QLatin1String("First Name,"));
        if (begin < 0) {
            return header;
        }
        const QLatin1String last("Name,E-mail Address");
        const qsizetype at = text.indexOf(last, begin);
        const qsizetype end = at < 0 ? text.size() : at + last.size();
        return cutJoinedValues(header, begin, end);
    };
    // The columns before "First Name" (a "Title" column, say) are dropped from
    // the data lines too.
    l.columnsBeforeHeader = [](const QStringList& header) -> qsizetype {
        const qsizetype begin =
            header.join(QLatin1Char(',')).indexOf(QLatin1String("First Name,"));
        return begin < 0 ? 0 : valueAt(header, begin);
    };
    l.prepareLine = unchanged;
    l.skipLine = [](const QStringList& line, const QString& text) {
        return contains(text, "Name,E-mail Address") || holdsNoAddress(text) ||
               columnEmpty(line, 0) || columnEmpty(line, 1);
    };
    l.columns = {
        {{0}, QStringLiteral("First Name"), Field::FName},
        {{1}, QStringLiteral("Last Name"), Field::LName},
        {{2}, QStringLiteral("Middle Name"), Field::MiddleInit},
        {{2}, QStringLiteral("E-mail Address"), Field::Email},
        {{3}, QStringLiteral("E-mail Address"), Field::Email},
        {{kLastHeaderColumn}, QStringLiteral("E-mail Address"), Field::Email},
    };
    l.fixedValues = {{Field::IncludeCompany, QStringLiteral("1")}};
    return l;
}

ImportLayout ownExportLayout() {
    ImportLayout l;
    l.name = QStringLiteral("own-export");
    l.recognises = [](const QString& header) {
        return contains(header, "First Name,MI") && contains(header, "Birthdate,Category,Notes");
    };
    l.prepareHeader = [](const QStringList& header) -> std::optional<QStringList> {
        return withoutQuotes(header);
    };
    // The export quotes a value that holds a quote, so the quotes left in a
    // value once the file is read belong to it and stay.
    l.prepareLine = unchanged;
    l.skipLine = [](const QStringList&, const QString& text) {
        return contains(text, "Birthdate,Category,Notes");
    };
    l.columns = {
        {{0}, QStringLiteral("First Name"), Field::FName},
        {{1}, QStringLiteral("MI"), Field::MiddleInit},
        {{2}, QStringLiteral("Last Name"), Field::LName},
        {{3}, QStringLiteral("Street1"), Field::FStreet},
        {{4}, QStringLiteral("Street2"), Field::SStreet},
        {{5}, QStringLiteral("City"), Field::City},
        {{6}, QStringLiteral("State"), Field::State},
        {{7}, QStringLiteral("Zip"), Field::Zip},
        {{8}, QStringLiteral("Country"), Field::Country},
        {{9}, QStringLiteral("Company"), Field::Company},
        {{10}, QStringLiteral("Include Company in Address"), Field::IncludeCompany},
        {{11}, QStringLiteral("Home Phone"), Field::HPhone},
        {{12}, QStringLiteral("Cell Phone"), Field::CPhone},
        {{13}, QStringLiteral("Work Phone"), Field::WPhone},
        {{14}, QStringLiteral("Email"), Field::Email},
        {{15}, QStringLiteral("Birthdate"), Field::Birthdate},
        {{16}, QStringLiteral("Category"), Field::Category},
        {{17}, QStringLiteral("Notes"), Field::Notes},
    };
    l.cleaning.birthdateSeparator = QLatin1Char('-');
    l.cleaning.stateUpperCase = true;
    l.cleaning.phonesEndingInNumber = {Field::HPhone, Field::CPhone};
    l.cleaning.addressChecks = true;
    return l;
}

ImportLayout genericLayout() {
    ImportLayout l;
    l.name = QStringLiteral("generic");
    l.recognises = [](const QString& header) {
        return contains(header, "Name,") && !contains(header, "Suffix,Initials,Web Page,") &&
               !contains(header, "Name,E-mail Address,") &&
               !contains(header, "Distribution Lists") &&
               !contains(header, "Birthdate,Category,Notes") && !providerRecognises(header);
    };
    // The header is cut before the comma after its e-mail column, so that the
    // e-mail column is its last; the last of the four names found wins.
    l.prepareHeader = [](const QStringList& header) -> std::optional<QStringList> {
        const QStringList values = withoutQuotes(header);
        const QString text = values.join(QLatin1Char(','));
        qsizetype comma = -1;
        for (const char* name : {"E-mail Address,", "Email Address,", "E-mail,", "Email,"}) {
            const QLatin1String needle(name);
            const qsizetype at = text.indexOf(needle);
            if (at >= 0) {
                comma = at + needle.size() - 1;
            }
        }
        if (comma < 0) {
            return std::nullopt;
        }
        return cutJoinedValues(values, 0, comma);
    };
    l.prepareLine = [](const QStringList& line) { return withoutQuotes(line); };
    l.skipLine = [](const QStringList& line, const QString& text) {
        return contains(text, "Name,") || contains(text, "First,") || holdsNoAddress(text) ||
               columnEmpty(line, 0) || columnEmpty(line, 1);
    };
    const std::vector<int> emailColumns = {2, 3, 4, 5, 6, 7};
    l.columns = {
        {{0, 1}, QStringLiteral("First Name"), Field::FName},
        {{0, 1}, QStringLiteral("First"), Field::FName},
        {{0, 1, 2}, QStringLiteral("Last Name"), Field::LName},
        {{0, 1, 2}, QStringLiteral("Last"), Field::LName},
        {{1}, QStringLiteral("Middle Name"), Field::MiddleInit},
        {{2}, QStringLiteral("Middle"), Field::MiddleInit},
        {{1, 2}, QStringLiteral("MI"), Field::MiddleInit},
        {{1, 2}, QStringLiteral("Middle Initial"), Field::MiddleInit},
        {emailColumns, QStringLiteral("E-mail Address"), Field::Email},
        {emailColumns, QStringLiteral("E-mail"), Field::Email},
        {emailColumns, QStringLiteral("Email Address"), Field::Email},
        {emailColumns, QStringLiteral("Email"), Field::Email},
    };
    l.fixedValues = {{Field::IncludeCompany, QStringLiteral("1")}};
    return l;
}

}  // namespace

const std::vector<ImportLayout>& importLayouts() {
    static const std::vector<ImportLayout> layouts = [] {
        std::vector<ImportLayout> all = {
            yahooLayout(),     primaryPhoneLayout(), nameEmailLayout(),
            ownExportLayout(), genericLayout(),
        };
        for (ImportLayout& layout : providerLayouts()) {
            all.push_back(std::move(layout));
        }
        return all;
    }();
    return layouts;
}

const ImportLayout* recogniseLayout(const QString& headerText) {
    for (const ImportLayout& layout : importLayouts()) {
        if (layout.recognises(headerText)) {
            return &layout;
        }
    }
    return nullptr;
}

QStringList cutJoinedValues(const QStringList& values, qsizetype begin, qsizetype end) {
    QStringList out;
    qsizetype start = 0;  // where the current value begins in the joined text
    for (const QString& value : values) {
        const qsizetype stop = start + value.size();  // its end: the comma after it
        if (start > end) {
            break;
        }
        if (stop >= begin) {
            const qsizetype from = std::max(begin, start);
            const qsizetype to = std::min(end, stop);
            out.append(value.mid(from - start, std::max<qsizetype>(0, to - from)));
        }
        start = stop + 1;
    }
    return out;
}

QStringList withoutQuotes(QStringList values) {
    for (QString& value : values) {
        value.remove(QLatin1Char('"'));
    }
    return values;
}

QString columnOrEmpty(const QStringList& values, qsizetype position) {
    return position >= 0 && position < values.size() ? values[position] : QString();
}

}  // namespace tandor
