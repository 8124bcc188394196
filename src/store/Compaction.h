#pragma once

#include <QFile>
#include <QString>

namespace tandor {

// The copy a compaction builds, beside the contacts file (same folder, so the
// final rename stays on one file system): the file's name + ".Tempf" (for a
// symbolic link, beside the file it points to).
QString compactionTempPath(const QString& contactsPath);

// Rewrites the contacts file without its records marked "*DELETED*", keeping
// the order of the others. Records 1..count are streamed through a buffer of
// a fixed size into the copy beside the file (a partial last record is padded
// with blanks); the copy is flushed to the disk and then takes the file's
// name in one rename. The file must not be open elsewhere for writing. On
// failure the copy is removed, the file is untouched and AppError is thrown.
// Returns the number of records left out.
int compactContactsFile(const QString& path, int count);

// The number of the first record marked "*DELETED*" among records 1..count of
// an open file, or 0 when there is none. Reads the file in blocks of a fixed
// size; leaves the file position undefined.
int firstMarkedRecord(QFile& file, int count);

}  // namespace tandor
