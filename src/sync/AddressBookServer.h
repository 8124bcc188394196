#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace tandor::sync {

// A request fails when the server sent nothing for this long (unless set
// otherwise): a server still sending a long answer is never cut off.
constexpr int kSilenceLimitSeconds = 30;

// Where an address book lives and who signs in to it. The password never goes
// into a file: it comes from the desktop's secret store, the user, or (the
// batch tool) TANDOR_PASSWORD / --password-file.
struct Account {
    QString serverUrl;  // what the user typed: "https://dav.example.com" or a full collection URL
    QString user;
    QString password;
    // SHA-256 fingerprints (hex) of certificates the user accepted for this server.
    QStringList acceptedCertificates;
};

// One address book found on the server.
struct AddressBookInfo {
    QString url;          // absolute collection URL, ending in "/"
    QString displayName;  // the collection's displayname, or the last path segment
    bool supportsSyncCollection = false;
};

// A card on the server: where it is, its ETag exactly as the server sent it
// (quotes included) and, when fetched, its text.
struct RemoteCard {
    QString href;  // absolute path on the server: "/user/contacts/abc.vcf"
    QString etag;
    QByteArray vcard;  // empty when only listed
};

// What changed on the server since a sync token (or everything, with an empty
// token or after a full listing).
struct ServerChanges {
    std::vector<RemoteCard> changed;  // added or changed: href and etag (no text yet)
    QStringList removedHrefs;
    QString newSyncToken;  // empty when the server has no sync-collection
    bool complete = true;  // false: the listing was a full one (every card is in `changed`)
    // Hrefs the server listed outside the linked address book: refused, never fetched, stored, written or deleted.
    QStringList refusedHrefs;
};

// Why a request to the server failed, in words the user can act on.
class ServerError : public std::runtime_error {
public:
    enum class Kind {
        WrongCredentials,   // 401
        NotFound,           // 404: no such address book
        Unreachable,        // no connection, DNS, timeout
        CertificateRefused, // TLS: a certificate the system does not trust
        OAuthOnly,          // the server asks for OAuth sign-in (Google)
        ServerFailure,      // 5xx, with the server's text
        PreconditionFailed, // 412 on a write: the card changed meanwhile
        TokenRefused,       // 403 valid-sync-token / the token is no longer valid
        Cancelled,          // the user pressed Cancel
        Protocol            // an answer the program cannot read
    };
    ServerError(Kind kind, const QString& message, int httpStatus = 0, QString certificateDetails = {},
                QString certificateFingerprint = {});
    Kind kind() const { return kind_; }
    const QString& message() const { return message_; }  // the user's text
    int httpStatus() const { return httpStatus_; }
    const QString& certificateDetails() const { return certificateDetails_; }
    const QString& certificateFingerprint() const { return certificateFingerprint_; }

private:
    Kind kind_;
    QString message_;
    int httpStatus_;
    QString certificateDetails_;
    QString certificateFingerprint_;
};

// One CardDAV address book, as the sync sees it. Every call blocks until the
// server answered (running a local event loop) and throws ServerError. Only
// cards directly inside the book are ever listed, fetched, written or deleted:
// the hrefs a server lists elsewhere are refused (ServerChanges::refusedHrefs),
// and fetch, put and remove refuse such an href (ServerError Protocol).
class AddressBookServer {
public:
    virtual ~AddressBookServer() = default;

    // Changes since `syncToken` with sync-collection (empty token: everything).
    // A truncated answer (507), a refused token (403 valid-sync-token) or a
    // server error (5xx) for a non-empty token makes it fall back to one full
    // listing (complete == false). Without sync-collection it lists every card
    // with its ETag (addressbook-query).
    virtual ServerChanges changesSince(const QString& syncToken) = 0;
    // The cards at these hrefs, fetched with addressbook-multiget in bounded
    // batches. A card gone meanwhile is left out.
    virtual std::vector<RemoteCard> fetch(const QStringList& hrefs) = 0;
    // Writes a card. With an ETag: If-Match (a change); without: If-None-Match: *
    // (a new card). Returns the new ETag (empty when the server sent none; then
    // fetch the card again to learn it). Throws PreconditionFailed on 412.
    virtual QString put(const QString& href, const QByteArray& vcard, const QString& ifMatchEtag) = 0;
    // Deletes a card (If-Match when an ETag is given). A card already gone is not an error.
    virtual void remove(const QString& href, const QString& ifMatchEtag) = 0;
    // The href a new card with this UID gets in the collection.
    virtual QString hrefForNewCard(const QString& uid) const = 0;

    // Stops the request under way (it throws Cancelled) and every later one.
    // Meant to be called while a request waits: from the waiting callback, or
    // from a window's Cancel button while the request's event loop runs.
    virtual void cancel() = 0;
    // While a request waits for the server, called about every 50 ms and
    // whenever part of the answer arrives, with the bytes of the answer
    // received so far (0 before its first byte): the progress window shows
    // that the server is still answering, and may cancel().
    using Waiting = std::function<void(qint64 bytesReceived)>;
    virtual void setWaiting(Waiting waiting) { (void)waiting; }
};

}  // namespace tandor::sync
