#include "batch/BatchCommand.h"
#include "batch/SyncListBooks.h"

namespace tandor::batch {
namespace {

int runSync(const QStringList& args, Context& context) {
    if (args.contains(QStringLiteral("--list-books"))) {
        return runSyncListBooks(args, context);
    }
    context.err << "Usage: tandor-batch sync --list-books --url URL --user NAME [--password-file FILE]\n";
    return kRefused;
}

const Registration registration{Command{
    QStringLiteral("sync"),
    QStringLiteral("sync --list-books --url URL --user NAME [--password-file FILE]"),
    QStringLiteral("Lists the CardDAV address books at URL (a server or an address book's own\n"
                   "address): display name, URL, and whether the book offers sync-collection\n"
                   "(changes since the last sync) or is read whole each time. The password comes\n"
                   "from TANDOR_PASSWORD or the first line of FILE, never from the command line."),
    runSync,
}};

}  // namespace
}  // namespace tandor::batch
