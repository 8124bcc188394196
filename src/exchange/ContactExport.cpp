#include "exchange/ContactExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "exchange/VcardExport.h"
#include "platform/Ansi.h"
#include "platform/FaultPoint.h"
#include "store/ContactsFile.h"
#include "store/FieldRules.h"
#include "store/FileError.h"

namespace tandor {
namespace {

const QString kLineEnd = QStringLiteral("\r\n");

QString normalPath(const QString& path) {
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

QChar separatorOf(ExportKind kind) {
    return kind == ExportKind::Csv ? QLatin1Char(',') : QLatin1Char('|');
}

bool needsQuotes(const QString& value) {
    for (const QChar c : value) {
        if (c == u'"' || c == u',' || c == u'\r' || c == u'\n') {
            return true;
        }
    }
    return false;
}

void writeBytes(QFile& out, const QByteArray& bytes) {
    fault::hit("export.write");
    errno = 0;
    if (out.write(bytes) != bytes.size()) {
        throw fileerror::make(fileerror::numberForErrno(errno));
    }
}

// The two files of values, one line each, in Windows-1252.
class ValuesExport final : public ExportFormat {
public:
    explicit ValuesExport(ExportKind kind) : kind_(kind) {}
    QString fileName(const QString& name) const override {
        return kind_ == ExportKind::Csv ? QStringLiteral("TDRC_") + name + QStringLiteral(".csv")
                                        : QStringLiteral("TDRT_") + name + QStringLiteral(".txt");
    }
    QString description() const override {
        return kind_ == ExportKind::Csv ? QStringLiteral("A csv file")
                                        : QStringLiteral("A text file");
    }
    QByteArray header() const override {
        return toAnsi(exportColumnNames().join(separatorOf(kind_)) + kLineEnd);
    }
    QByteArray contact(const ContactRecord& record, ExportRun&) const override {
        return toAnsi(exportLine(kind_, exportValues(record)) + kLineEnd);
    }

private:
    ExportKind kind_;
};

}  // namespace

const ExportFormat& exportFormat(ExportKind kind) {
    static const ValuesExport csv(ExportKind::Csv);
    static const ValuesExport text(ExportKind::Text);
    switch (kind) {
        case ExportKind::Csv:
            return csv;
        case ExportKind::Text:
            return text;
        case ExportKind::Vcard:
            break;
    }
    return vcardExportFormat();
}

QString exportName(const QString& contactsPath) {
    QString name = QFileInfo(normalPath(contactsPath)).fileName();
    name.remove(QStringLiteral(".DAT"), Qt::CaseSensitive);
    name.remove(QStringLiteral(".dat"), Qt::CaseSensitive);
    return name;
}

bool isInProgramFolder(const QString& contactsPath, const QString& programFolder) {
    const QFileInfo file(normalPath(contactsPath));
    const QFileInfo program(normalPath(programFolder));
    if (normalPath(file.absolutePath()) == normalPath(program.absoluteFilePath())) {
        return true;
    }
    const QString canonical = QFileInfo(file.absolutePath()).canonicalFilePath();
    return !canonical.isEmpty() && canonical == program.canonicalFilePath();
}

QString exportFolder(const QString& contactsPath, const QString& programFolder) {
    return isInProgramFolder(contactsPath, programFolder)
               ? normalPath(programFolder)
               : normalPath(QFileInfo(normalPath(contactsPath)).absolutePath());
}

QString exportFileName(ExportKind kind, const QString& name) {
    return exportFormat(kind).fileName(name);
}

const QStringList& exportColumnNames() {
    static const QStringList names = {
        QStringLiteral("First Name"),
        QStringLiteral("MI"),
        QStringLiteral("Last Name"),
        QStringLiteral("Street1"),
        QStringLiteral("Street2"),
        QStringLiteral("City"),
        QStringLiteral("State"),
        QStringLiteral("Zip"),
        QStringLiteral("Country"),
        QStringLiteral("Company"),
        QStringLiteral("Include Company in Address"),
        QStringLiteral("Home Phone"),
        QStringLiteral("Cell Phone"),
        QStringLiteral("Work Phone"),
        QStringLiteral("Email"),
        QStringLiteral("Birthdate"),
        QStringLiteral("Category"),
        QStringLiteral("Notes"),
    };
    return names;
}

QStringList exportValues(const ContactRecord& record) {
    QString birthdate;
    if (isCalendarBirthdate(record.field(Field::Birthdate))) {
        const QString stored = record.rawField(Field::Birthdate);
        birthdate = trimSpaces(stored.mid(4, 2) + QLatin1Char('-') + stored.right(2) +
                               QLatin1Char('-') + stored.left(4));
    }
    return {
        record.field(Field::FName),          record.field(Field::MiddleInit),
        record.field(Field::LName),          record.field(Field::FStreet),
        record.field(Field::SStreet),        record.field(Field::City),
        record.field(Field::State),          record.field(Field::Zip),
        record.field(Field::Country),        record.field(Field::Company),
        record.field(Field::IncludeCompany), record.field(Field::HPhone),
        record.field(Field::CPhone),         record.field(Field::WPhone),
        record.field(Field::Email),          birthdate,
        record.field(Field::Category),       record.field(Field::Notes),
    };
}

QString exportLine(ExportKind kind, const QStringList& values) {
    if (kind == ExportKind::Text) {
        return values.join(QLatin1Char('|'));
    }
    QStringList written = values;
    for (QString& value : written) {
        if (needsQuotes(value)) {
            value.replace(QLatin1String("\""), QLatin1String("\"\""));
            value = QLatin1Char('"') + value + QLatin1Char('"');
        }
    }
    return written.join(QLatin1Char(','));
}

ContactRecord exportedRecord(const ContactRecord& record) {
    const QString birthdate = record.field(Field::Birthdate);
    if (birthdate.isEmpty() || isKeptBirthdate(birthdate)) {
        return record;
    }
    ContactRecord out = record;
    out.setField(Field::Birthdate, QString());
    return out;
}

ExportOutcome exportContacts(const ContactsFile& file, ExportKind kind, const QString& contactsPath,
                             const QString& programFolder) {
    const int count = file.recordCount();
    ExportOutcome outcome;
    outcome.fileName = exportFileName(kind, exportName(contactsPath));
    outcome.inProgramFolder = isInProgramFolder(contactsPath, programFolder);
    outcome.path = exportFolder(contactsPath, programFolder) + QLatin1Char('/') + outcome.fileName;

    QFile out(outcome.path);
    fault::hit("export.create");
    errno = 0;
    if (QFileInfo(outcome.path).isDir() || !out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw fileerror::openFailure(outcome.path, errno);
    }
    const ExportFormat& format = exportFormat(kind);
    ExportRun run{QFileInfo(contactsPath).fileName(), {}};
    writeBytes(out, format.header());
    for (int r = 1; r <= count; ++r) {
        writeBytes(out, format.contact(exportedRecord(file.read(r)), run));
        ++outcome.linesWritten;
    }
    fault::hit("export.close");
    if (!out.flush()) {
        throw fileerror::make(fileerror::numberForErrno(errno));
    }
    out.close();
    return outcome;
}

QString exportDoneText(ExportKind kind, const ExportOutcome& outcome) {
    return QStringLiteral("D O N E !  ") + exportFormat(kind).description() +
           QStringLiteral(" of contacts has been created and stored in ") +
           (outcome.inProgramFolder ? QStringLiteral("your Tandor folder")
                                    : QStringLiteral("the folder of your contacts file")) +
           QStringLiteral(".  This file is named ") + outcome.fileName +
           QStringLiteral("\nFull path: ") + QDir::toNativeSeparators(outcome.path);
}

}  // namespace tandor
