#include <QDate>
#include <QFile>
#include <QFileInfo>

#include "batch/BatchCommand.h"
#include "contacts/BirthdayCheck.h"
#include "platform/Numbers.h"

namespace tandor::batch {
namespace {

int runBirthdays(const QStringList& args, Context& context) {
    Arguments arguments(args);
    const std::optional<QString> todayText = arguments.take(QStringLiteral("--today"));
    const QStringList files = arguments.positional();
    if (!arguments.error().isEmpty() || files.size() != 1) {
        context.err << "Usage: tandor-batch birthdays FILE.DAT [--today YYYY-MM-DD]\n";
        if (!arguments.error().isEmpty()) {
            context.err << arguments.error() << "\n";
        }
        return kRefused;
    }
    QDate today = QDate::currentDate();
    if (todayText) {
        today = QDate::fromString(*todayText, Qt::ISODate);
        if (!today.isValid()) {
            context.err << "Not a date (YYYY-MM-DD): " << *todayText << "\n";
            return kRefused;
        }
    }

    const QString path = files[0];
    if (!QFileInfo(path).isFile()) {
        context.err << "File not found: " << path << "\n";
        return kRefused;
    }
    // The contacts file is only read: records of 513 bytes, the count rounded
    // half to even, a partial last record padded with blanks.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        context.err << "Cannot read " << path << ": " << file.errorString() << "\n";
        return kFailure;
    }
    const QByteArray bytes = file.readAll();
    const int count =
        static_cast<int>(roundHalfEven(static_cast<double>(bytes.size()) / kRecordSize));
    const RecordReader read = [&bytes](int n) {
        const qsizetype offset = static_cast<qsizetype>(n - 1) * kRecordSize;
        return ContactRecord::fromBytes(QByteArrayView(bytes).sliced(offset).first(
            std::min<qsizetype>(kRecordSize, bytes.size() - offset)));
    };
    for (const QString& text : birthdayAnnouncements(count, read, today)) {
        context.out << text << "\n";
    }
    return kOk;
}

const Registration registration({
    QStringLiteral("birthdays"),
    QStringLiteral("birthdays FILE.DAT [--today YYYY-MM-DD]"),
    QStringLiteral("Prints the birthday announcements that opening the contacts file shows,\n"
                   "one a line, in record order (today unless --today is given)."),
    runBirthdays,
});

}  // namespace
}  // namespace tandor::batch
