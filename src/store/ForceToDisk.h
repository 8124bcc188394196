#pragma once

#include <QFile>
#include <QString>
#include <filesystem>
#include <functional>

namespace tandor::disk {

// Forces what was written to an open file onto the disk. Returns false with
// errno set when the system refuses.
bool forceFile(QFile& file);
// True when an open file has lost its last name (removed, or replaced by
// another file of that name): what is written to it then reaches no file.
bool isNameless(QFile& file);
// Forces a folder's entries (a rename just made in it) onto the disk; best effort.
void forceFolder(const QString& folder);
// Forces everything written on the file system that holds `folder` (files
// and folder entries alike) onto the disk in one call, where the system
// offers one; false when it does not (the caller forces each file then).
bool forceFileSystemOf(const QString& folder);
// For tests: called with the folder each time forceFolder or forceFileSystemOf has run (empty: nothing).
void setFolderForceObserver(std::function<void(const QString& folder)> observer);
// The path as the operating system's file functions take it.
std::filesystem::path nativePath(const QString& path);
// Renames `from` to `to`, replacing `to` in one step. Returns 0, or the errno
// of the failure.
int replaceFile(const QString& from, const QString& to);

}  // namespace tandor::disk
