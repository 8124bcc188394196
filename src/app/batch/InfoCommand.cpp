#include <QFileInfo>

#include "batch/BatchCommand.h"
#include "store/ContactsFile.h"

namespace tandor::batch {
namespace {

int runInfo(const QStringList& args, Context& context) {
    Arguments arguments(args);
    const QStringList positional = arguments.positional();
    if (!arguments.error().isEmpty() || positional.size() != 1) {
        context.err << "Usage: tandor-batch info FILE.DAT\n";
        return kRefused;
    }
    const QString path = positional[0];
    if (!QFileInfo(path).isFile()) {
        context.err << "There is no contacts file " << path << ".\n";
        return kRefused;
    }
    ContactsFile file;
    file.openForReading(path);
    const int count = file.recordCount();
    const char* reminders = count == 0 ? "none" : remindersOnInFile(file) ? "on" : "off";
    context.out << "records: " << count << "\n"
                << "birthday reminders: " << reminders << "\n";
    return kOk;
}

const Registration registration{Command{
    QStringLiteral("info"),
    QStringLiteral("info FILE.DAT"),
    QStringLiteral("Prints the number of contacts in a contacts file and its birthday reminder\n"
                   "setting (on, off, or none for a file without contacts)."),
    runInfo,
}};

}  // namespace
}  // namespace tandor::batch
