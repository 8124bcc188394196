#include "ContactGenerator.h"

namespace tandor::test {
namespace {

// Letters of names and words: no "k" or "z" (the serial numbers of unique
// contacts begin with "Zk"), a few letters of the Windows-1252 page.
const QString kLetters =
    QStringLiteral("abcdefghijlmnopqrstuvwxyABCDEFGHIJLMNOPQRSTUVWXYéèüöäßñçøå");
const QString kUpper = QStringLiteral("ABCDEFGHIJLMNOPQRSTUVWXY");
const QStringList kStreetTypes = {QStringLiteral("St"), QStringLiteral("Ave"),
                                  QStringLiteral("Lane"), QStringLiteral("Road")};
const QStringList kMarks = {QStringLiteral("."), QStringLiteral(";"), QStringLiteral(":"),
                            QStringLiteral("!"), QStringLiteral("?"), QStringLiteral("-")};

}  // namespace

QString ContactGenerator::word(int minLength, int maxLength) {
    const int length = number(minLength, maxLength);
    QString out;
    for (int i = 0; i < length; ++i) {
        out += kLetters.at(number(0, static_cast<int>(kLetters.size()) - 1));
    }
    return out;
}

QString ContactGenerator::words(int maxLength, int maxWords) {
    QString out;
    const int count = number(1, maxWords);
    for (int i = 0; i < count; ++i) {
        QString next = word(1, 9);
        if (chance(0.2)) {
            next += kMarks.at(number(0, static_cast<int>(kMarks.size()) - 1));
        }
        const QString joined = out.isEmpty() ? next : out + QLatin1Char(' ') + next;
        if (joined.size() > maxLength) {
            break;
        }
        out = joined;
    }
    return out.isEmpty() ? word(1, std::min(maxLength, 5)) : out;
}

QString ContactGenerator::digits(int count) {
    QString out;
    for (int i = 0; i < count; ++i) {
        out += QChar(u'0' + number(0, 9));
    }
    return out;
}

QString ContactGenerator::upper(int count) {
    QString out;
    for (int i = 0; i < count; ++i) {
        out += kUpper.at(number(0, static_cast<int>(kUpper.size()) - 1));
    }
    return out;
}

GeneratedContact ContactGenerator::contact() {
    GeneratedContact c;
    ContactEntry& e = c.entry;
    e.fName = chance(0.9) ? word(1, 11) : QString();
    e.middleInit = chance(0.5) ? upper(1) : QString();
    e.lName = words(16, 2);
    if (chance(0.8)) {
        e.fStreet = digits(number(1, 5)) + QLatin1Char(' ') + word(2, 12) + QLatin1Char(' ') +
                    kStreetTypes.at(number(0, 3));
    }
    e.sStreet = chance(0.3) ? QStringLiteral("Apt ") + digits(number(1, 4)) : QString();
    e.city = chance(0.8) ? words(16, 2) : QString();
    e.state = chance(0.8) ? upper(2) : QString();
    e.zip = chance(0.8) ? digits(5) + (chance(0.3) ? QLatin1Char('-') + digits(4) : QString())
                        : QString();
    e.country = chance(0.3) ? upper(number(2, 12)) : QString();
    const auto phone = [this] {
        return chance(0.6) ? digits(3) + QLatin1Char('-') + digits(3) + QLatin1Char('-') + digits(4)
                           : QString();
    };
    e.hPhone = phone();
    e.cPhone = phone();
    e.wPhone = phone();
    e.email = chance(0.7) ? word(1, 15) + QLatin1Char('@') + word(2, 10) + QStringLiteral(".com")
                          : QString();
    if (chance(0.6)) {
        e.birthdate = QStringLiteral("%1/%2/%3")
                          .arg(number(1, 12), 2, 10, QLatin1Char('0'))
                          .arg(number(1, 28), 2, 10, QLatin1Char('0'))
                          .arg(number(1900, 2099));
    }
    e.category = chance(0.5) ? words(30, 3).replace(QLatin1Char(' '), QLatin1Char(';')) : QString();
    e.notes = chance(0.5) ? words(160, 25) : QString();
    e.company = chance(0.4) ? words(30, 3) : QString();
    e.includeCompany = !e.company.isEmpty() && chance(0.5);

    ContactFields& s = c.stored;
    s[Field::FName] = e.fName;
    s[Field::MiddleInit] = e.middleInit;
    s[Field::LName] = e.lName;
    s[Field::FStreet] = e.fStreet;
    s[Field::SStreet] = e.sStreet;
    s[Field::City] = e.city;
    s[Field::State] = e.state;
    s[Field::Zip] = e.zip;
    s[Field::Country] = e.country;
    s[Field::HPhone] = e.hPhone;
    s[Field::CPhone] = e.cPhone;
    s[Field::WPhone] = e.wPhone;
    s[Field::Email] = e.email;
    s[Field::Birthdate] = e.birthdate.isEmpty()
                              ? QString()
                              : e.birthdate.right(4) + e.birthdate.left(2) + e.birthdate.mid(3, 2);
    s[Field::Category] = e.category;
    s[Field::Notes] = e.notes;
    s[Field::Company] = e.company;
    s[Field::IncludeCompany] = e.includeCompany ? QStringLiteral("1") : QStringLiteral("0");
    return c;
}

GeneratedContact ContactGenerator::uniqueContact() {
    GeneratedContact c = contact();
    const QString token = QStringLiteral("Zk%1").arg(++serial_, 6, 10, QLatin1Char('0'));
    c.entry.lName = token;
    c.stored[Field::LName] = token;
    c.entry.email = token.toLower() + QStringLiteral("@example.com");
    c.stored[Field::Email] = c.entry.email;
    return c;
}

QString exportLayoutLine(const ContactFields& s) {
    const QString& b = s[Field::Birthdate];
    const QString birthdate =
        b.isEmpty() ? QString()
                    : b.mid(4, 2) + QLatin1Char('-') + b.right(2) + QLatin1Char('-') + b.left(4);
    return QStringList{
        s[Field::FName],    s[Field::MiddleInit], s[Field::LName],          s[Field::FStreet],
        s[Field::SStreet],  s[Field::City],       s[Field::State],          s[Field::Zip],
        s[Field::Country],  s[Field::Company],    s[Field::IncludeCompany], s[Field::HPhone],
        s[Field::CPhone],   s[Field::WPhone],     s[Field::Email],          birthdate,
        s[Field::Category], s[Field::Notes]}
        .join(QLatin1Char(','));
}

}  // namespace tandor::test
