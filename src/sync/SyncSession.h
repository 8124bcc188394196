#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "sync/AddressBookServer.h"
#include "sync/PasswordStore.h"
#include "sync/SyncState.h"
#include "sync/Synchronizer.h"

namespace tandor {
class ContactsDocument;
class Platform;
}  // namespace tandor

namespace tandor::sync {

// The address-book sync of the open contacts file, as the windows use it: it
// keeps the file's link (SyncStateKeeper), finds the address books of an
// account, links the file, runs a sync and says what happened in the user's
// words. The settings it keeps (Platform settings):
//   [Settings] SyncAtStart = "1": sync when the program starts and when a
//              linked file is opened;
//   [SyncCertificates] HOST = the SHA-256 fingerprints (hex, separated by
//              spaces) of certificates the user accepted for that server.
class SyncSession : public QObject {
    Q_OBJECT

public:
    SyncSession(ContactsDocument& document, Platform& platform, QObject* parent = nullptr);

    SyncStateKeeper& keeper() { return keeper_; }
    ContactsDocument& document() { return document_; }
    // Whether the open file is linked to an address book.
    bool linked() { return keeper_.state() != nullptr; }

    // The main window's line: "" for a file that is not linked, "Not synced
    // yet", or "Last synced: 7 Dec 2026 23:40" (local time); for a file whose
    // sync state cannot be read or saved, why ("The sync state of Family.DAT
    // cannot be read: Permission denied.").
    QString lastSyncText();

    bool syncAtStart() const;
    void setSyncAtStart(bool on);

    // The fingerprints accepted for the server of `url` (by its host).
    QStringList acceptedCertificates(const QString& url) const;
    void acceptCertificate(const QString& url, const QString& fingerprint);
    // An account with the accepted certificates of its server.
    Account account(const QString& serverUrl, const QString& user, const QString& password) const;

    // The address books of the account, by display name. Throws ServerError.
    std::vector<AddressBookInfo> findAddressBooks(const Account& account);
    // Links the open file to the address book at `bookUrl` and keeps the
    // password (secret store, else this session). A file linked to that book
    // already keeps its link, and only the password is kept anew; a file
    // linked to another book, or whose sync state cannot be read, is matched
    // against this one afresh, once the user said yes to it (nothing: the
    // user said no). Throws AppError.
    std::optional<PasswordStore::Kept> link(const Account& account, const QString& bookUrl);

    // The kept password of the linked account; nothing when none is kept
    // (the caller asks the user, then keepPassword()).
    std::optional<QString> password();
    void keepPassword(const QString& password);

    struct Outcome {
        bool done = false;
        SyncSummary summary;
        std::optional<ServerError::Kind> failure;  // none: done, or an AppError
        QString message;  // what went wrong, in the user's words
    };
    // Syncs the linked file with its address book (a file whose state cannot
    // be read is not synced: `message` says why). A wrong password is
    // forgotten (the next sync asks again); an empty one is not sent (a
    // server that asks for none needs none). ServerError is caught and told in
    // `message`; AppError (the file, the state) goes on to the caller.
    // `cancel` is asked between steps and while a request waits, `waiting`
    // gets the bytes of the answer received so far while it waits.
    Outcome sync(const QString& password, const Synchronizer::Progress& progress = {},
                 const Synchronizer::CancelCheck& cancel = {}, const AddressBookServer::Waiting& waiting = {});

    // "Changed here: 1 added, 0 changed, 0 deleted\nChanged on the server: ...\nConflicts: N".
    // "Conflicts: N", then the contacts the server refused, if any.
    static QString summaryText(const SyncSummary& summary);
    // "\nRefused by the server, left for the next sync:\nAnn Smith: ...", then
    // "\nListed by https://dav.example outside the address book, refused:\n/x.vcf";
    // empty when none.
    static QString refusedText(const SyncSummary& summary);
    // "The server is answering: 245 KB received" (or "... 3.4 MB ..."), for
    // the progress window while a request waits; empty before the first byte.
    static QString receivedText(qint64 bytes);
    // The user's text of a server failure: the ServerError's message.
    static QString messageFor(const ServerError& error);

signals:
    // The link or the time of the last sync changed (a file opened or closed,
    // linked, synced): the main window shows it again.
    void stateChanged();

private:
    ContactsDocument& document_;
    Platform& platform_;
    SyncStateKeeper keeper_;
    PasswordStore passwords_;
};

}  // namespace tandor::sync
