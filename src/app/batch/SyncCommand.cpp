#include <QFileInfo>

#include "batch/BatchCommand.h"
#include "batch/SyncListBooks.h"
#include "batch/SyncOptions.h"
#include "platform/AppError.h"
#include "store/ContactsDocument.h"
#include "sync/ServerFactory.h"
#include "sync/SyncState.h"
#include "sync/Synchronizer.h"

namespace tandor::batch {
namespace {

const QString kUsage = QStringLiteral(
    "sync FILE.DAT --url URL --user NAME [--password-file FILE] [--timeout SECONDS] [--dry-run]");

int runSync(const QStringList& args, Context& context) {
    if (args.contains(QStringLiteral("--list-books"))) {
        return runSyncListBooks(args, context);
    }
    Arguments arguments(args);
    const bool dryRun = arguments.takeFlag(QStringLiteral("--dry-run"));
    bool urlGiven = false;
    QString error;
    const std::optional<SyncOptions> options = takeSyncOptions(arguments, urlGiven, error);
    if (!options) {
        context.err << error << "\n";
        return kRefused;
    }
    const QStringList positional = arguments.positional();
    if (!arguments.error().isEmpty() || positional.size() != 1 || !urlGiven) {
        context.err << "Usage: tandor-batch " << kUsage << "\n";
        return kRefused;
    }
    const QString contactsPath = positional[0];
    const QString url = options->account.serverUrl;
    const QString user = options->account.user;
    try {
        // A missing file is made, as `add` and `import` make it, except by a
        // dry run, which writes nothing.
        if (dryRun && !QFileInfo(contactsPath).isFile()) {
            context.err << "No contacts file: " << contactsPath << "\n";
            return kRefused;
        }
        if (sync::SyncState::isLinked(contactsPath)) {
            std::optional<sync::SyncState> state;
            try {
                state = sync::SyncState::load(contactsPath);
            } catch (const AppError& failure) {
                context.err << failure.description() << ".\n";
                return kFailure;
            }
            if (!sync::SyncState::sameBook(state->url, url)) {
                context.err << "The contacts file is linked to another address book: " << state->url
                            << "\n";
                return kRefused;
            }
        }
        ContactsDocument document(context.programFolder);
        sync::SyncStateKeeper keeper(document);
        // A dry run writes nothing beside the file, not even the state
        // realigned or folded with a left-over journal as the file opens.
        keeper.setWritesNothing(dryRun);
        document.openPath(contactsPath, dryRun);
        warnOfCleartext(*options, context);
        const std::unique_ptr<sync::AddressBookServer> server =
            sync::openAddressBook(options->account, url, options->silenceSeconds);
        // The first sync of a file links it to the address book.
        if (!keeper.state() && !dryRun) {
            keeper.link(url, user);
        }
        sync::Synchronizer synchronizer(document, keeper, *server);
        const sync::SyncSummary summary = synchronizer.run(dryRun);
        for (const QString& line : summary.lines) {
            context.out << line << "\n";
        }
        context.out << (dryRun ? "Would change" : "Changed") << " here: " << summary.addedHere
                    << " added, " << summary.changedHere << " changed, " << summary.deletedHere
                    << " deleted\n"
                    << (dryRun ? "Would change" : "Changed") << " on the server: "
                    << summary.addedOnServer << " added, " << summary.changedOnServer
                    << " changed, " << summary.deletedOnServer << " deleted\n"
                    << "Conflicts: " << summary.conflicts << "\n";
        for (const QString& refused : summary.refused) {
            context.out << "Refused by the server, left for the next sync: " << refused << "\n";
        }
        return kOk;
    } catch (const sync::ServerError& failure) {
        context.err << failureText(failure, *options) << "\n";
    }
    return kFailure;
}

const Registration registration{Command{
    QStringLiteral("sync"),
    kUsage,
    QStringLiteral(
        "Keeps a contacts file in step with a CardDAV address book: the changes on the\n"
        "server come into the file, the contacts added, changed and deleted in the file\n"
        "go to the server. URL is the address book's full collection URL; the first sync\n"
        "links the file to it (the folder FILE.DAT.sync beside it keeps the link), and\n"
        "a linked file syncs only with its own address book. The password comes from\n"
        "the environment variable TANDOR_PASSWORD or the first line of --password-file,\n"
        "never from the command line. A field changed on both sides keeps the server's\n"
        "value; the local one is listed as a conflict (\"Conflict: NAME, FIELD: here\n"
        "\"...\", server \"...\"\"). Prints each change, then the lines \"Changed here: N\n"
        "added, N changed, N deleted\", \"Changed on the server: ...\" and \"Conflicts: N\".\n"
        "--dry-run changes nothing on either side and prints what would change\n"
        "(\"Would change here: ...\"). A card the server refuses to write or delete\n"
        "(a read-only address book, say) is left for the next sync and listed last\n"
        "(\"Refused by the server, left for the next sync: NAME: REASON\"); the rest\n"
        "goes on. A server or file failure prints its message\n"
        "(exit 1); what was synced before it stays, and the next sync goes on.\n"
        "Without TANDOR_PASSWORD or --password-file no password is sent: a server that\n"
        "asks for none needs none. A password goes out only once the server asks for it\n"
        "(or at once over https://); over plain http:// to any address but this\n"
        "computer's own (127.0.0.1, ::1) a warning on stderr says that it travels in the\n"
        "clear. --timeout SECONDS is how long the server may send nothing before the\n"
        "sync gives up (30 unless given): a server still sending a long answer is never\n"
        "cut off. Only cards directly inside URL are taken in, written or deleted; any\n"
        "other card address the server lists is refused and left alone. --list-books\n"
        "takes --password-file and --timeout too. A missing FILE.DAT is made, as add\n"
        "and import make it (not by --dry-run)."),
    runSync,
    NotifyWhom::Product,
}};

}  // namespace
}  // namespace tandor::batch
