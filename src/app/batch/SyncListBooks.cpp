#include "batch/SyncListBooks.h"

#include "batch/SyncOptions.h"
#include "sync/CardDavClient.h"

namespace tandor::batch {

int runSyncListBooks(const QStringList& args, Context& context) {
    Arguments arguments(args);
    arguments.takeFlag(QStringLiteral("--list-books"));
    bool urlGiven = false;
    QString error;
    const std::optional<SyncOptions> options = takeSyncOptions(arguments, urlGiven, error);
    if (!options) {
        context.err << error << "\n";
        return kRefused;
    }
    const QStringList positional = arguments.positional();
    if (!arguments.error().isEmpty() || !positional.isEmpty() || !urlGiven) {
        context.err << "Usage: tandor-batch sync --list-books --url URL --user NAME [--password-file FILE] "
                       "[--timeout SECONDS]\n";
        return kRefused;
    }
    warnOfCleartext(*options, context);
    try {
        const std::vector<sync::AddressBookInfo> books =
            sync::discoverAddressBooks(options->account, options->silenceSeconds);
        if (books.empty()) {
            context.err << "There is no address book at " << options->account.serverUrl << ".\n";
            return kFailure;
        }
        for (const sync::AddressBookInfo& book : books) {
            context.out << book.displayName << "\t" << book.url << "\t"
                        << (book.supportsSyncCollection ? "sync-collection: yes" : "sync-collection: no") << "\n";
        }
        return kOk;
    } catch (const sync::ServerError& failure) {
        context.err << failureText(failure, *options) << "\n";
        return kFailure;
    }
}

}  // namespace tandor::batch
