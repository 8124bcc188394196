#include "contacts/PrintLabelLines.h"

#include <QStringList>


namespace tandor {

QString cityLine(const QString& city, const QString& state, const QString& zip) {
    return city + QStringLiteral(", ") + state + QStringLiteral("  ") + zip;
}

std::array<QString, 5> printLabelLines(const ContactEntry& shown) {
    const ContactEntry c = trimmedEntry(shown);
    std::array<QString, 5> lines;
    // One pass over non-overlapping pairs: four spaces become two.
    QString name = c.fName + QLatin1Char(' ') + c.middleInit + QLatin1Char(' ') + c.lName;
    lines[0] = name.replace(QStringLiteral("  "), QStringLiteral(" "));

    const bool companyOn = !c.company.isEmpty() && shown.includeCompany;
    const QString place = cityLine(c.city, c.state, c.zip);
    QStringList rest;
    if (companyOn) {
        rest.append(c.company);
    }
    rest.append(c.fStreet);
    if (c.city.isEmpty()) {
        rest.append(c.sStreet);
    } else if (c.sStreet.isEmpty()) {
        rest.append(place);
    } else {
        rest.append(c.sStreet);
        rest.append(place);
    }
    for (qsizetype i = 0; i < rest.size(); ++i) {
        lines[i + 1] = rest[i];
    }
    return lines;
}

}  // namespace tandor
