#include "batch/SyncListBooks.h"

#include <QFile>

#include "sync/CardDavClient.h"

namespace tandor::batch {

int runSyncListBooks(const QStringList& args, Context& context) {
    Arguments arguments(args);
    arguments.takeFlag(QStringLiteral("--list-books"));
    const std::optional<QString> url = arguments.take(QStringLiteral("--url"));
    const std::optional<QString> user = arguments.take(QStringLiteral("--user"));
    const std::optional<QString> passwordFile = arguments.take(QStringLiteral("--password-file"));
    if (arguments.take(QStringLiteral("--password"))) {
        context.err << "The password is never given on the command line: set TANDOR_PASSWORD or use "
                       "--password-file FILE.\n";
        return kRefused;
    }
    const QStringList positional = arguments.positional();
    if (!arguments.error().isEmpty() || !positional.isEmpty() || !url || !user) {
        context.err << "Usage: tandor-batch sync --list-books --url URL --user NAME [--password-file FILE]\n";
        return kRefused;
    }
    sync::Account account;
    account.serverUrl = *url;
    account.user = *user;
    if (passwordFile) {
        QFile file(*passwordFile);
        if (!file.open(QIODevice::ReadOnly)) {
            context.err << "The password file " << *passwordFile << " cannot be read.\n";
            return kRefused;
        }
        account.password = QString::fromUtf8(file.readLine()).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    } else if (qEnvironmentVariableIsSet("TANDOR_PASSWORD")) {
        account.password = qEnvironmentVariable("TANDOR_PASSWORD");
    } else {
        context.err << "No password: set TANDOR_PASSWORD or give --password-file FILE.\n";
        return kRefused;
    }
    try {
        const std::vector<sync::AddressBookInfo> books = sync::discoverAddressBooks(account);
        if (books.empty()) {
            context.err << "There is no address book at " << *url << ".\n";
            return kFailure;
        }
        for (const sync::AddressBookInfo& book : books) {
            context.out << book.displayName << "\t" << book.url << "\t"
                        << (book.supportsSyncCollection ? "sync-collection: yes" : "sync-collection: no") << "\n";
        }
        return kOk;
    } catch (const sync::ServerError& error) {
        context.err << error.message() << "\n";
        return kFailure;
    }
}

}  // namespace tandor::batch
