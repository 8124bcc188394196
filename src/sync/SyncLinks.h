#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

namespace tandor::sync {

struct SyncLink {
    int record = 0;  // its number in the file, from 1
    QString href;    // where its card is on the server
    // The card's ETag as last synced. Empty for a new card whose first PUT
    // was not yet answered: its UID and href are kept before it is sent.
    QString etag;
    QString uid;
    QByteArray fingerprint;  // recordFingerprint of the record as last synced
    bool operator==(const SyncLink&) const = default;
};

// The links of a synced file: each linked record with its card's UID, href
// and ETag, in record order, found by record (a binary search), by UID and by
// href (hash lookups); and the contacts deleted here whose cards the server
// still has. Plain bookkeeping: nothing here is saved or noted.
class LinkIndex {
public:
    const std::vector<SyncLink>& links() const { return links_; }
    const std::vector<SyncLink>& deletions() const { return deletions_; }

    const SyncLink* ofRecord(int n) const;
    const SyncLink* ofHref(const QString& href) const;
    const SyncLink* ofUid(const QString& uid) const;

    // Adds the link, or replaces the one of the same UID and the one of the
    // same record.
    void set(const SyncLink& link);
    // Whether a link of that UID was dropped.
    bool drop(const QString& uid);
    // Whether a deletion of that UID was dropped.
    bool dropDeletion(const QString& uid);
    void addDeletion(SyncLink deletion);
    // Record n was deleted and the ones after it moved down by one: its link
    // becomes a deletion.
    void recordRemoved(int n);
    // Puts these links (any order) and deletions in place of all.
    void reset(std::vector<SyncLink> links, std::vector<SyncLink> deletions);
    void clear() { reset({}, {}); }

private:
    void reindex();

    std::vector<SyncLink> links_;  // by record
    std::vector<SyncLink> deletions_;
    // The record of each linked UID and href.
    QHash<QString, int> recordOfUid_;
    QHash<QString, int> recordOfHref_;
};

}  // namespace tandor::sync
