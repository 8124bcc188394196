#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "exchange/ImportValues.h"
#include "store/ContactRecord.h"
#include "store/ContactsFile.h"

namespace tandor::fuzz {

const QString& scratchFolder() {
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/tandor-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/tandor-fuzz-XXXXXX"));
    static const QString path = [] {
        if (!dir.isValid()) {
            std::fprintf(stderr, "no scratch folder: %s\n", qPrintable(dir.errorString()));
            std::abort();
        }
        return dir.path();
    }();
    return path;
}

QString scratchFile(const QString& name) {
    const QString path = QDir(scratchFolder()).filePath(name);
    QFile::remove(path);
    return path;
}

void fail(const char* what, const QString& detail) {
    std::fprintf(stderr, "\n*** broken promise: %s\n%s\n", what, qPrintable(detail));
    std::abort();
}

QList<QByteArray> splitBytes(const QByteArray& data, int parts) {
    QList<QByteArray> pieces;
    qsizetype start = 0;
    while (pieces.size() < parts - 1) {
        const qsizetype end = data.indexOf('\n', start);
        if (end < 0) {
            break;
        }
        pieces << data.mid(start, end - start);
        start = end + 1;
    }
    pieces << data.mid(start);
    return pieces;
}

QStringList splitLines(const QByteArray& data, int parts) {
    QStringList lines;
    for (const QByteArray& piece : splitBytes(data, parts)) {
        lines << QString::fromUtf8(piece);
    }
    return lines;
}

void checkImportedRecords(const ContactsFile& file, int from) {
    for (int n = from; n <= file.recordCount(); ++n) {
        const ContactRecord record = file.read(n);
        const QByteArray& bytes = record.bytes();
        check(bytes.size() == kRecordSize, "a record of 513 bytes");
        for (const FieldLayout& layout : recordLayout()) {
            const int end = layout.offset + layout.width;
            if (layout.field == Field::BirthdayReminder) {
                check(bytes.mid(end, 2) == "\r\n", "a record ends with CR LF");
            } else {
                check(bytes.at(end) == '|', "a separator holds |", QString::number(end));
            }
            const QByteArray value = bytes.mid(layout.offset, layout.width);
            check(!value.contains(',') && !value.contains('\r') && !value.contains('\n'),
                  "no comma or line break inside a field", QString::fromLatin1(value));
        }
        check(!record.isMarkedDeleted(), "an imported contact is not marked deleted",
              record.field(Field::FName));
        check(!holdsNoContact(record.fields()), "an imported contact holds something");
    }
}

}  // namespace tandor::fuzz
