#include "exchange/VcardExport.h"

#include "exchange/VcardReader.h"
#include "exchange/VcardSource.h"

namespace tandor {
namespace {

constexpr qsizetype kFoldOctets = 75;

// The namespace of the program's card UIDs (name-based, version 5).
// {e1b13ebb-022b-4085-89f4-95c96917d7c8}
constexpr QUuid kUidNamespace(0xe1b13ebb, 0x022b, 0x4085, 0x89, 0xf4, 0x95, 0xc9, 0x69, 0x17, 0xd7,
                              0xc8);

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

void addLine(QByteArray& card, const QString& line) {
    card += foldedLine(line.toUtf8());
}

void addValue(QByteArray& card, const char* property, const QString& value) {
    if (!value.isEmpty()) {
        addLine(card, QLatin1String(property) + QLatin1Char(':') + vcardEscaped(value));
    }
}

QString joinedEscaped(const QStringList& parts, QChar separator) {
    QStringList escaped;
    for (const QString& part : parts) {
        escaped.append(vcardEscaped(part));
    }
    return escaped.join(separator);
}

// The name a card is shown by: the names in their order, else the company.
QString formattedName(const ContactRecord& record) {
    QStringList names;
    for (const Field f : {Field::FName, Field::MiddleInit, Field::LName}) {
        const QString name = record.field(f);
        if (!name.isEmpty()) {
            names.append(name);
        }
    }
    return names.isEmpty() ? record.field(Field::Company) : names.join(QLatin1Char(' '));
}

class VcardExport final : public ExportFormat {
public:
    QString fileName(const QString& name) const override {
        return QStringLiteral("TDRV_") + name + QStringLiteral(".vcf");
    }
    QString description() const override { return QStringLiteral("A vCard file"); }
    QByteArray header() const override { return {}; }
    QByteArray contact(const ContactRecord& record, ExportRun& run) const override {
        return vcardCard(record, run);
    }
};

}  // namespace

const ExportFormat& vcardExportFormat() {
    static const VcardExport format;
    return format;
}

QByteArray vcardCard(const ContactRecord& record, ExportRun& run) {
    QByteArray card;
    addLine(card, QStringLiteral("BEGIN:VCARD"));
    addLine(card, QStringLiteral("VERSION:3.0"));
    addLine(card, QStringLiteral("N:") +
                      joinedEscaped({record.field(Field::LName), record.field(Field::FName),
                                     record.field(Field::MiddleInit), QString(), QString()},
                                    u';'));
    addLine(card, QStringLiteral("FN:") + vcardEscaped(formattedName(record)));
    addValue(card, "ORG", record.field(Field::Company));
    const QStringList address = {QString(),
                                 record.field(Field::SStreet),
                                 record.field(Field::FStreet),
                                 record.field(Field::City),
                                 record.field(Field::State),
                                 record.field(Field::Zip),
                                 record.field(Field::Country)};
    if (!address.join(QString()).isEmpty()) {
        addLine(card, QStringLiteral("ADR;TYPE=HOME:") + joinedEscaped(address, u';'));
    }
    addValue(card, "TEL;TYPE=HOME", record.field(Field::HPhone));
    addValue(card, "TEL;TYPE=CELL", record.field(Field::CPhone));
    addValue(card, "TEL;TYPE=WORK", record.field(Field::WPhone));
    addValue(card, "EMAIL;TYPE=INTERNET", record.field(Field::Email));
    const QString birthdate = record.field(Field::Birthdate);
    if (isStoredBirthdate(birthdate)) {
        addLine(card, QStringLiteral("BDAY:") +
                          vcardBirthdayValue(birthdate, BirthdayForm::Extended));
    }
    addValue(card, "NOTE", record.field(Field::Notes));
    const QString category = record.field(Field::Category);
    if (!category.isEmpty()) {
        addLine(card, QStringLiteral("CATEGORIES:") +
                          joinedEscaped(category.split(QLatin1Char(';')), u','));
    }
    addLine(card, QLatin1String(kIncludeCompanyProperty) + QLatin1Char(':') +
                      record.field(Field::IncludeCompany));
    // The UID is made from the contacts file's name and the card's lines
    // above, and from nothing else (no clock, no random number, no record
    // number): so an unchanged contact gets the same UID in every export of
    // the same file, whatever was added, deleted or sorted around it, and
    // a contact whose exported values change gets a new one. Identical
    // contacts in one file are told apart by how many came before.
    const QUuid uid = QUuid::createUuidV5(kUidNamespace, run.contactsName.toUtf8() + '\n' + card);
    const int copy = run.cards[uid]++;
    const QUuid written =
        copy == 0 ? uid
                  : QUuid::createUuidV5(kUidNamespace, uid.toRfc4122() + QByteArray::number(copy));
    addLine(card, QStringLiteral("UID:") + written.toString(QUuid::WithoutBraces));
    addLine(card, QStringLiteral("END:VCARD"));
    return card;
}

bool isStoredBirthdate(const QString& date) {
    if (date.size() != 8) {
        return false;
    }
    for (const QChar c : date) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

QByteArray foldedLine(const QByteArray& line) {
    QByteArray out;
    qsizetype at = 0;
    qsizetype room = kFoldOctets;
    while (line.size() - at > room) {
        qsizetype cut = at + room;
        while (cut > at + 1 && isContinuationByte(line[cut])) {
            --cut;
        }
        out += line.mid(at, cut - at);
        out += "\r\n ";
        at = cut;
        room = kFoldOctets - 1;
    }
    out += line.mid(at);
    out += "\r\n";
    return out;
}

}  // namespace tandor
