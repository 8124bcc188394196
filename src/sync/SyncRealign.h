#pragma once

namespace tandor {
class ContactsFile;
}

namespace tandor::sync {

class SyncState;

// Checks each link of the state against the record at its number and, where
// they disagree, realigns the links by fingerprint (records moved by a
// compaction the state did not hear of). Links that still find no record
// keep, in a stretch with as many records left as links, the records in
// order (local edits); in a stretch with fewer records (a deletion), the
// record most like their card (CardMerge.h), or else become deletions.
// Returns whether anything changed (then the state is saved whole next).
bool realignLinks(SyncState& state, const ContactsFile& file);

}  // namespace tandor::sync
