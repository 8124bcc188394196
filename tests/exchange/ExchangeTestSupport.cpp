#include "ExchangeTestSupport.h"

#include <gtest/gtest.h>

#include "platform/Ansi.h"

namespace tandor::test {
namespace {

Field fieldNamed(const char* name) {
    for (const FieldLayout& f : recordLayout()) {
        if (QLatin1String(f.name) == QLatin1String(name)) {
            return f.field;
        }
    }
    ADD_FAILURE() << "no field " << name;
    return Field::Notes;
}

}  // namespace

ImportTarget::ImportTarget(const QByteArray& initialBytes) {
    path_ = folder_.write(QStringLiteral("Contacts.DAT"), initialBytes);
    file_.open(path_);
}

ImportOutcome ImportTarget::import(const QByteArray& csv, bool remindersOn) {
    ImportSettings settings;
    settings.remindersOn = [remindersOn] { return remindersOn; };
    return importCsv(csv, file_, settings);
}

QList<ContactFields> ImportTarget::contacts() const {
    QList<ContactFields> out;
    for (int r = 1; r <= file_.recordCount(); ++r) {
        out.append(file_.read(r).fields());
    }
    return out;
}

QStringList ImportTarget::lines() const {
    QStringList out;
    for (const ContactFields& c : contacts()) {
        out.append(QStringList(c.values.begin(), c.values.end()).join(QLatin1Char('|')));
    }
    return out;
}

ContactFields contact(std::initializer_list<std::pair<const char*, const char*>> values) {
    ContactFields fields;
    for (const auto& [name, value] : values) {
        fields[fieldNamed(name)] = QString::fromUtf8(value);
    }
    return fields;
}

QByteArray contactBytes(std::initializer_list<std::pair<const char*, const char*>> values) {
    return ContactRecord::build(contact(values)).bytes();
}

QByteArray csvLines(const QStringList& lines) {
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QString yahooHeader() {
    return QStringLiteral(
        "First,Middle,Last,Nickname,Email,Category,Distribution Lists,Messenger ID,Home,Work,"
        "Pager,Fax,Mobile,Other,Yahoo! Phone,Primary,Alternate Email 1,Alternate Email 2,"
        "Personal Website,Business Website,Title,Company,Work Address,Work City,Work State,"
        "Work ZIP,Work Country,Home Address,Home City,Home State,Home ZIP,Home Country,Birthday,"
        "Anniversary,Custom 1,Custom 2,Custom 3,Custom 4,Comments,Messenger ID1,Messenger ID2,"
        "Messenger ID3,Messenger ID4,Messenger ID5,Messenger ID6,Messenger ID7,Messenger ID8,"
        "Messenger ID9,Skype ID,IRC ID,ICQ ID,Google ID,MSN ID,AIM ID,QQ ID");
}

QString primaryPhoneHeader() {
    return QStringLiteral(
        "First Name,Middle Name,Last Name,Title,Suffix,Initials,Web Page,Gender,Birthday,"
        "Anniversary,Location,Language,Internet Free Busy,Notes,E-mail Address,E-mail 2 Address,"
        "E-mail 3 Address,Primary Phone,Home Phone,Home Phone 2,Mobile Phone,Pager,Home Fax,"
        "Home Address,Home Street,Home Street 2,Home Street 3,Home Address PO Box,Home City,"
        "Home State,Home Postal Code,Home Country,Company,Job Title");
}

QString ownExportHeader() {
    return QStringLiteral(
        "First Name,MI,Last Name,Street1,Street2,City,State,Zip,Country,Company,"
        "Include Company in Address,Home Phone,Cell Phone,Work Phone,Email,Birthdate,Category,"
        "Notes");
}

QString quoted(const QString& header) {
    QStringList columns = header.split(QLatin1Char(','));
    for (QString& c : columns) {
        c = QLatin1Char('"') + c + QLatin1Char('"');
    }
    return columns.join(QLatin1Char(','));
}

QString lineWith(int columns, std::initializer_list<std::pair<int, const char*>> values) {
    QStringList line(columns);
    for (const auto& [position, value] : values) {
        line[position] = QString::fromUtf8(value);
    }
    return line.join(QLatin1Char(','));
}

}  // namespace tandor::test
