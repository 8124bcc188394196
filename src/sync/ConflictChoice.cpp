#include "sync/ConflictChoice.h"

#include <algorithm>

#include "store/ContactsDocument.h"

namespace tandor::sync {

QString keptText(SyncConflict::Kind kind) {
    switch (kind) {
        case SyncConflict::Kind::KeptLocalEdit:
            return QStringLiteral("deleted on the server, kept with this computer's edit");
        case SyncConflict::Kind::KeptServerEdit:
            return QStringLiteral("deleted on this computer, kept with the server's edit");
        case SyncConflict::Kind::Field:
            break;
    }
    return {};
}

void keepConflict(SyncState& state, const SyncConflict& conflict) {
    // The name may differ (the record took the server's values meanwhile).
    const bool known =
        std::any_of(state.conflicts.begin(), state.conflicts.end(), [&](const SyncConflict& k) {
            return k.uid == conflict.uid && k.kind == conflict.kind && k.field == conflict.field &&
                   k.localValue == conflict.localValue && k.serverValue == conflict.serverValue;
        });
    if (!known) {
        state.conflicts.push_back(conflict);
    }
}

void chooseConflict(ContactsDocument& document, SyncStateKeeper& keeper, std::size_t index,
                    ConflictSide side) {
    SyncState* state = keeper.state();
    if (!state || index >= state->conflicts.size()) {
        return;
    }
    const SyncConflict conflict = state->conflicts[index];
    if (conflict.kind == SyncConflict::Kind::Field) {
        if (side == ConflictSide::ThisComputer) {
            applyConflict(document, keeper, index);
        } else {
            dismissConflict(keeper, index);
        }
        return;
    }
    dismissConflict(keeper, index);
    if (choiceDeletes(conflict, side)) {
        // The keeper turns its link into a deletion for the next sync.
        if (const SyncLink* link = state->linkOfUid(conflict.uid)) {
            document.deleteContact(link->record);
        }
    }
}

bool choiceDeletes(const SyncConflict& conflict, ConflictSide side) {
    return conflict.kind != SyncConflict::Kind::Field &&
           (conflict.kind == SyncConflict::Kind::KeptLocalEdit) == (side == ConflictSide::Server);
}

}  // namespace tandor::sync
