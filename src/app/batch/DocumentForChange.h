#pragma once

#include <QString>

#include "store/ContactsDocument.h"
#include "sync/SyncState.h"

namespace tandor::batch {

// A contacts file opened by a command that changes its records. As in the
// windows, a file linked to an address book keeps its sync state in step
// with each change (a deleted contact becomes a deletion for the next sync,
// the links after it move down), so a later sync matches every record with
// its own card.
class DocumentForChange {
public:
    // Opens the file (ContactsDocument::openPath). Throws AppError.
    DocumentForChange(const QString& programFolder, const QString& path, bool mustExist = false);

    ContactsDocument& operator*() { return document_; }
    ContactsDocument* operator->() { return &document_; }

private:
    ContactsDocument document_;
    sync::SyncStateKeeper keeper_;
};

}  // namespace tandor::batch
