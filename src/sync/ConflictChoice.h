#pragma once

#include <QString>
#include <cstddef>

#include "sync/SyncState.h"

namespace tandor {
class ContactsDocument;
}

namespace tandor::sync {

// How Sync Conflicts and the summary tell a contact kept with an edit:
// "deleted on the server, kept with this computer's edit" and its mirror,
// "deleted on this computer, kept with the server's edit". Empty for a field.
QString keptText(SyncConflict::Kind kind);

// Adds a conflict to the state's list unless the same one is there already
// (a sync stopped and run again finds it once more).
void keepConflict(SyncState& state, const SyncConflict& conflict);

// The side the user chose in Sync Conflicts.
enum class ConflictSide { ThisComputer, Server };

// Settles conflict `index` with the chosen side and forgets it. A field takes
// that side's value (applyConflict, dismissConflict). A contact kept with an
// edit stays as it is when the side that edited it is chosen; choosing the
// side that deleted it deletes it here again, and the next sync deletes its
// card on the server. Throws AppError.
void chooseConflict(ContactsDocument& document, SyncStateKeeper& keeper, std::size_t index,
                    ConflictSide side);

// Whether choosing `side` for this conflict deletes its contact here (a
// contact kept with an edit, the side that deleted it chosen).
bool choiceDeletes(const SyncConflict& conflict, ConflictSide side);

}  // namespace tandor::sync
