#include <QFileInfo>

#include "batch/BatchCommand.h"
#include "batch/DocumentForChange.h"
#include "store/ContactsDocument.h"

namespace tandor::batch {
namespace {

int runDelete(const QStringList& args, Context& context) {
    Arguments arguments(args);
    const QStringList positional = arguments.positional();
    if (!arguments.error().isEmpty() || positional.size() != 2) {
        context.err << "Usage: tandor-batch delete FILE.DAT N\n";
        return kRefused;
    }
    const QString path = positional[0];
    if (!QFileInfo(path).isFile()) {
        context.err << "There is no contacts file " << path << ".\n";
        return kRefused;
    }
    DocumentForChange document(context.programFolder, path, true);
    const int n = contactNumber(positional[1], document->file().recordCount(), path, context);
    if (n == 0) {
        context.err << "  Nothing deleted...\n";
        return kRefused;
    }
    document->deleteContact(n);
    context.out << "Contact deleted!\n"
                << "records: " << document->file().recordCount() << "\n";
    return kOk;
}

const Registration registration{Command{
    QStringLiteral("delete"),
    QStringLiteral("delete FILE.DAT N"),
    QStringLiteral("Deletes contact number N (1 to the number of contacts) from a contacts file.\n"
                   "The contacts after it move up by one. The file is rewritten through a copy\n"
                   "beside it that replaces it only when complete, so a failure loses nothing."),
    runDelete,
}};

}  // namespace
}  // namespace tandor::batch
