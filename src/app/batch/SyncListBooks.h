#pragma once

#include <QStringList>

#include "batch/BatchCommand.h"

namespace tandor::batch {

// tandor-batch sync --list-books --url URL --user NAME [--password-file FILE]
// [--timeout SECONDS]:
// the address books found at URL, one a line: display name, URL, and whether
// it offers sync-collection. `args` are the sync command's arguments.
int runSyncListBooks(const QStringList& args, Context& context);

}  // namespace tandor::batch
