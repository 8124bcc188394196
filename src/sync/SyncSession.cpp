#include "sync/SyncSession.h"

#include <QLocale>
#include <QUrl>
#include <algorithm>
#include <memory>

#include "platform/Platform.h"
#include "store/ContactsDocument.h"
#include "sync/CardDavClient.h"
#include "sync/ServerFactory.h"

namespace tandor::sync {
namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kSyncAtStart = QStringLiteral("SyncAtStart");
const QString kCertificates = QStringLiteral("SyncCertificates");

QString hostOf(const QString& url) {
    QUrl parsed = QUrl::fromUserInput(url.trimmed());
    return parsed.host().toLower();
}

}  // namespace

SyncSession::SyncSession(ContactsDocument& document, Platform& platform, QObject* parent)
    : QObject(parent), document_(document), platform_(platform), keeper_(document) {
    // The keeper loads the state on opening first (it connected first).
    connect(&document_, &ContactsDocument::opened, this, &SyncSession::stateChanged);
    connect(&document_, &ContactsDocument::closed, this, &SyncSession::stateChanged);
}

QString SyncSession::lastSyncText() {
    const SyncState* state = keeper_.state();
    if (!keeper_.problem().isEmpty()) {
        return keeper_.problem();
    }
    if (!state) {
        return {};
    }
    if (!state->lastSync.isValid()) {
        return QStringLiteral("Not synced yet");
    }
    return QStringLiteral("Last synced: ") +
           QLocale(QLocale::English).toString(state->lastSync.toLocalTime(), QStringLiteral("d MMM yyyy HH:mm"));
}

bool SyncSession::syncAtStart() const {
    return platform_.readSetting(kSettings, kSyncAtStart) == QLatin1String("1");
}

void SyncSession::setSyncAtStart(bool on) {
    platform_.writeSetting(kSettings, kSyncAtStart, on ? QStringLiteral("1") : QStringLiteral("0"));
}

QStringList SyncSession::acceptedCertificates(const QString& url) const {
    const QString host = hostOf(url);
    if (host.isEmpty()) {
        return {};
    }
    return platform_.readSetting(kCertificates, host).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

void SyncSession::acceptCertificate(const QString& url, const QString& fingerprint) {
    const QString host = hostOf(url);
    QStringList accepted = acceptedCertificates(url);
    if (host.isEmpty() || fingerprint.isEmpty() || accepted.contains(fingerprint, Qt::CaseInsensitive)) {
        return;
    }
    accepted.append(fingerprint);
    platform_.writeSetting(kCertificates, host, accepted.join(QLatin1Char(' ')));
}

Account SyncSession::account(const QString& serverUrl, const QString& user, const QString& password) const {
    Account account;
    account.serverUrl = serverUrl.trimmed();
    account.user = user.trimmed();
    account.password = password;
    account.acceptedCertificates = acceptedCertificates(account.serverUrl);
    return account;
}

std::vector<AddressBookInfo> SyncSession::findAddressBooks(const Account& account) {
    std::vector<AddressBookInfo> books = discoverAddressBooks(account);
    std::stable_sort(books.begin(), books.end(), [](const AddressBookInfo& a, const AddressBookInfo& b) {
        return QString::localeAwareCompare(a.displayName, b.displayName) < 0;
    });
    return books;
}

std::optional<PasswordStore::Kept> SyncSession::link(const Account& account, const QString& bookUrl) {
    if (!keeper_.loadError().isEmpty()) {
        const QString question =
            keeper_.loadError() +
            QStringLiteral("\n\nLink this contacts file to %1 (user %2) afresh? The file will be matched against "
                           "the address book as at a first sync.")
                .arg(bookUrl, account.user);
        if (platform_.message(question, QStringLiteral("Address Book Account"), MessageIcon::Exclamation,
                              MessageButtons::YesNo) != MessageAnswer::Yes) {
            return std::nullopt;
        }
    } else if (const SyncState* state = keeper_.state(); state && !keeper_.linkedTo(bookUrl, account.user)) {
        const QString question =
            QStringLiteral("This contacts file is linked to the address book %1 (user %2).\n\n"
                           "Link it to %3 (user %4) instead? The file will be matched against the other "
                           "address book afresh, as at a first sync: the contacts deleted here since the "
                           "last sync and the sync conflicts kept for %1 are forgotten.")
                .arg(state->url, state->user, bookUrl, account.user);
        if (platform_.message(question, QStringLiteral("Address Book Account"), MessageIcon::Exclamation,
                              MessageButtons::YesNo) != MessageAnswer::Yes) {
            return std::nullopt;
        }
    }
    keeper_.link(bookUrl, account.user);
    const PasswordStore::Kept kept = passwords_.write(bookUrl, account.user, account.password);
    emit stateChanged();
    return kept;
}

std::optional<QString> SyncSession::password() {
    const SyncState* state = keeper_.state();
    if (!state) {
        return std::nullopt;
    }
    return passwords_.read(state->url, state->user);
}

void SyncSession::keepPassword(const QString& password) {
    if (const SyncState* state = keeper_.state()) {
        passwords_.write(state->url, state->user, password);
    }
}

SyncSession::Outcome SyncSession::sync(const QString& password, const Synchronizer::Progress& progress,
                                       const Synchronizer::CancelCheck& cancel,
                                       const AddressBookServer::Waiting& waiting) {
    Outcome outcome;
    SyncState* state = keeper_.state();
    if (!state) {
        outcome.message = keeper_.loadError().isEmpty()
                              ? QStringLiteral("This contacts file is not linked to an address book.")
                              : keeper_.loadError();
        return outcome;
    }
    const QString url = state->url;
    const QString user = state->user;
    try {
        const std::unique_ptr<AddressBookServer> server = openAddressBook(account(url, user, password), url);
        AddressBookServer& book = *server;
        // While a request waits: the bytes of its answer so far, and Cancel.
        book.setWaiting([&book, &waiting, &cancel](qint64 received) {
            if (waiting) {
                waiting(received);
            }
            if (cancel && cancel()) {
                book.cancel();
            }
        });
        Synchronizer synchronizer(document_, keeper_, *server);
        if (progress) {
            synchronizer.setProgress(progress);
        }
        if (cancel) {
            synchronizer.setCancelCheck(cancel);
        }
        outcome.summary = synchronizer.run(false);
        outcome.done = true;
    } catch (const ServerError& error) {
        outcome.failure = error.kind();
        outcome.message = messageFor(error);
        if (error.kind() == ServerError::Kind::WrongCredentials) {
            passwords_.forget(url, user);
        }
    }
    emit stateChanged();
    return outcome;
}

QString SyncSession::summaryText(const SyncSummary& s) {
    return QStringLiteral("Changed here: %1 added, %2 changed, %3 deleted\n"
                          "Changed on the server: %4 added, %5 changed, %6 deleted\n"
                          "Conflicts: %7")
        .arg(s.addedHere)
        .arg(s.changedHere)
        .arg(s.deletedHere)
        .arg(s.addedOnServer)
        .arg(s.changedOnServer)
        .arg(s.deletedOnServer)
        .arg(s.conflicts) +
        refusedText(s);
}

QString SyncSession::refusedText(const SyncSummary& s) {
    QString text;
    if (!s.refused.isEmpty()) {
        text = QStringLiteral("\nRefused by the server, left for the next sync:\n") + s.refused.join(u'\n');
    }
    if (!s.outsideBook.isEmpty()) {
        text += QStringLiteral("\nListed by %1 outside the address book, refused:\n")
                    .arg(s.server.isEmpty() ? QStringLiteral("the server") : s.server) +
                s.outsideBook.join(u'\n');
    }
    return text;
}

QString SyncSession::receivedText(qint64 bytes) {
    if (bytes <= 0) {
        return {};
    }
    const QLocale english(QLocale::English);
    const QString amount = bytes < 1024 * 1024
                               ? QStringLiteral("%1 KB").arg(english.toString((bytes + 1023) / 1024))
                               : QStringLiteral("%1 MB").arg(english.toString(double(bytes) / (1024 * 1024), 'f', 1));
    return QStringLiteral("The server is answering: %1 received").arg(amount);
}

QString SyncSession::messageFor(const ServerError& error) {
    if (error.kind() == ServerError::Kind::Cancelled) {
        return QStringLiteral("The sync was cancelled. What was synced before Cancel is kept on both sides; "
                              "the next sync goes on from there.");
    }
    return error.message();
}

}  // namespace tandor::sync
