#include "sync/SyncRealign.h"

#include <QHash>
#include <algorithm>
#include <vector>

#include "store/ContactsFile.h"
#include "sync/CardMerge.h"
#include "sync/SyncState.h"

namespace tandor::sync {
namespace {

// How alike two contacts are: the synced fields that hold the same text,
// among those that hold any; 0 unless more than half of them agree.
int likeness(const ContactFields& a, const ContactFields& b) {
    int same = 0;
    int filled = 0;
    for (const FieldLayout& f : recordLayout()) {
        if (!isSyncedField(f.field) || f.field == Field::IncludeCompany ||
            (a[f.field].isEmpty() && b[f.field].isEmpty())) {
            continue;
        }
        ++filled;
        same += a[f.field] == b[f.field] ? 1 : 0;
    }
    return 2 * same > filled ? same : 0;
}

// The realignment of one file: `found[i]` is the record link i goes to, 0
// while it has none.
class Realignment {
public:
    Realignment(const SyncState& state, const ContactsFile& file)
        : state_(state), file_(file), links_(state.links()), count_(file.recordCount()) {
        prints_.resize(count_ + 1);
        for (int n = 1; n <= count_; ++n) {
            prints_[n] = recordFingerprint(file.read(n));
        }
        found_.assign(links_.size(), 0);
        taken_.assign(count_ + 1, false);
    }

    // A record changed here since the last sync no longer has its
    // fingerprint: the links stay where they are unless records moved.
    bool needed() const {
        return std::any_of(links_.begin(), links_.end(), [&](const SyncLink& l) {
            return l.record < 1 || l.record > count_ || prints_[l.record] != l.fingerprint;
        });
    }

    // Links in order find the next record of their fingerprint. Returns
    // whether any record moved, or a link points past the file.
    bool findByFingerprint() {
        QHash<QByteArray, std::vector<int>> byPrint;
        for (int n = 1; n <= count_; ++n) {
            byPrint[prints_[n]].push_back(n);
        }
        int after = 0;
        for (std::size_t i = 0; i < links_.size(); ++i) {
            const auto it = byPrint.find(links_[i].fingerprint);
            if (it == byPrint.end()) {
                continue;
            }
            const auto next = std::upper_bound(it->begin(), it->end(), after);
            if (next != it->end()) {
                found_[i] = *next;
                taken_[*next] = true;
                after = *next;
            }
        }
        bool moved = false;
        for (std::size_t i = 0; i < links_.size(); ++i) {
            moved = moved || (found_[i] != 0 && found_[i] != links_[i].record) || links_[i].record < 1 ||
                    links_[i].record > count_;
        }
        return moved;
    }

    // The stretches between links that found their records.
    void fillStretches() {
        std::size_t i = 0;
        int lowRecord = 0;
        while (i < links_.size()) {
            if (found_[i] != 0) {
                lowRecord = found_[i++];
                continue;
            }
            std::size_t end = i;
            while (end < links_.size() && found_[end] == 0) {
                ++end;
            }
            const int highRecord = end < links_.size() ? found_[end] : count_ + 1;
            fillStretch(i, end, lowRecord, highRecord);
            i = end;
        }
    }

    void applyTo(SyncState& state) const {
        std::vector<SyncLink> kept;
        std::vector<SyncLink> givenUp;
        for (std::size_t k = 0; k < links_.size(); ++k) {
            SyncLink link = links_[k];
            link.record = found_[k];
            (found_[k] == 0 ? givenUp : kept).push_back(link);
        }
        state.relink(std::move(kept), givenUp);
    }

private:
    void fillStretch(std::size_t first, std::size_t end, int lowRecord, int highRecord) {
        std::vector<int> records;
        for (int n = lowRecord + 1; n < highRecord; ++n) {
            if (!taken_[n]) {
                records.push_back(n);
            }
        }
        if (records.size() == end - first) {
            for (std::size_t k = 0; k < records.size(); ++k) {
                found_[first + k] = records[k];
            }
            return;
        }
        // A deletion in this stretch: each link takes, in order, the record
        // most like its card.
        std::size_t from = 0;
        for (std::size_t k = first; k < end; ++k) {
            const ContactFields synced = cardRecordValues(state_.card(links_[k].uid));
            int best = -1;
            int bestLikeness = 0;
            for (std::size_t r = from; r < records.size(); ++r) {
                const int like = likeness(synced, file_.read(records[r]).fields());
                if (like > bestLikeness) {
                    best = static_cast<int>(r);
                    bestLikeness = like;
                }
            }
            if (best >= 0) {
                found_[k] = records[best];
                from = best + 1;
            }
        }
    }

    const SyncState& state_;
    const ContactsFile& file_;
    const std::vector<SyncLink> links_;
    const int count_;
    std::vector<QByteArray> prints_;
    std::vector<int> found_;
    std::vector<bool> taken_;
};

}  // namespace

bool realignLinks(SyncState& state, const ContactsFile& file) {
    Realignment realignment(state, file);
    if (!realignment.needed() || !realignment.findByFingerprint()) {
        return false;
    }
    realignment.fillStretches();
    realignment.applyTo(state);
    return true;
}

}  // namespace tandor::sync
