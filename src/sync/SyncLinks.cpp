#include "sync/SyncLinks.h"

#include <algorithm>

namespace tandor::sync {
namespace {

std::vector<SyncLink>::iterator atRecord(std::vector<SyncLink>& links, int n) {
    return std::lower_bound(links.begin(), links.end(), n,
                            [](const SyncLink& l, int record) { return l.record < record; });
}

}  // namespace

const SyncLink* LinkIndex::ofRecord(int n) const {
    const auto it = std::lower_bound(links_.begin(), links_.end(), n,
                                     [](const SyncLink& l, int record) { return l.record < record; });
    return it != links_.end() && it->record == n ? &*it : nullptr;
}

const SyncLink* LinkIndex::ofHref(const QString& href) const {
    const auto it = recordOfHref_.constFind(href);
    return it == recordOfHref_.cend() ? nullptr : ofRecord(*it);
}

const SyncLink* LinkIndex::ofUid(const QString& uid) const {
    const auto it = recordOfUid_.constFind(uid);
    return it == recordOfUid_.cend() ? nullptr : ofRecord(*it);
}

void LinkIndex::set(const SyncLink& link) {
    drop(link.uid);
    const auto at = atRecord(links_, link.record);
    if (at != links_.end() && at->record == link.record) {
        recordOfUid_.remove(at->uid);
        recordOfHref_.remove(at->href);
        *at = link;
    } else {
        links_.insert(at, link);
    }
    recordOfUid_.insert(link.uid, link.record);
    recordOfHref_.insert(link.href, link.record);
}

bool LinkIndex::drop(const QString& uid) {
    const auto found = recordOfUid_.constFind(uid);
    if (found == recordOfUid_.cend()) {
        return false;
    }
    const auto at = atRecord(links_, *found);
    recordOfUid_.remove(uid);
    if (at != links_.end() && at->uid == uid) {
        recordOfHref_.remove(at->href);
        links_.erase(at);
    }
    return true;
}

bool LinkIndex::dropDeletion(const QString& uid) {
    const auto gone = std::remove_if(deletions_.begin(), deletions_.end(),
                                     [&](const SyncLink& l) { return l.uid == uid; });
    const bool dropped = gone != deletions_.end();
    deletions_.erase(gone, deletions_.end());
    return dropped;
}

void LinkIndex::addDeletion(SyncLink deletion) {
    deletion.record = 0;
    deletions_.push_back(std::move(deletion));
}

void LinkIndex::recordRemoved(int n) {
    for (auto it = links_.begin(); it != links_.end();) {
        if (it->record == n) {
            // A new card whose first PUT was never answered may be on the
            // server all the same: it is deleted there too.
            addDeletion(*it);
            it = links_.erase(it);
        } else {
            if (it->record > n) {
                --it->record;
            }
            ++it;
        }
    }
    reindex();
}

void LinkIndex::reset(std::vector<SyncLink> links, std::vector<SyncLink> deletions) {
    links_ = std::move(links);
    deletions_ = std::move(deletions);
    std::stable_sort(links_.begin(), links_.end(),
                     [](const SyncLink& a, const SyncLink& b) { return a.record < b.record; });
    reindex();
}

void LinkIndex::reindex() {
    recordOfUid_.clear();
    recordOfHref_.clear();
    for (const SyncLink& link : links_) {
        recordOfUid_.insert(link.uid, link.record);
        recordOfHref_.insert(link.href, link.record);
    }
}

}  // namespace tandor::sync
