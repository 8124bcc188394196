#include <QDate>
#include <QFileInfo>

#include "batch/BatchCommand.h"
#include "contacts/BirthdayCheck.h"
#include "store/ContactsFile.h"

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
    // The contacts file is only read; records marked for deletion are left
    // out, as opening the file in the windows finishes their deletion first.
    ContactsFile file;
    file.openForReading(path);
    const int count = file.recordCount();
    const RecordReader read = [&file](int n) { return file.read(n); };
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
