#include "batch/DocumentForChange.h"

namespace tandor::batch {

DocumentForChange::DocumentForChange(const QString& programFolder, const QString& path, bool mustExist)
    : document_(programFolder), keeper_(document_) {
    // The keeper loads the state as the file opens.
    document_.openPath(path, mustExist);
}

}  // namespace tandor::batch
