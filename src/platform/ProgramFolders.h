#pragma once

#include <QString>

namespace tandor {

// Where the running copy keeps its files.
//
// A copy run from a folder of its own that it may write (the build folder
// build/bin, or any such folder it was copied to) keeps everything in the
// executable's folder. An installed copy (its shared files in ../share/tandor
// beside the executable's folder) and a copy in a folder it may not write
// keep TDRPARAM.TXT, the export files and the start folder of File New and
// Open in a per-user folder instead; the help documents stay where they were
// installed.
struct ProgramFolders {
    QString programFolder;    // TDRPARAM.TXT, exports, the start folder of File New and Open
    QString documentsFolder;  // the user manual and the state-abbreviations sheet
    QString defaultsFolder;   // holds the default TDRPARAM.TXT for a per-user folder; empty otherwise

    bool perUser() const { return !defaultsFolder.isEmpty(); }
};

// The installed copy's folder of shared files, relative to the executable's
// folder ("../share/tandor" for the usual bin/ and share/ layout).
QString installedDataFolder(const QString& executableFolder);

// The per-user folder: the application data folder of the program named
// "Tandor" (~/.local/share/Tandor, or $XDG_DATA_HOME/Tandor).
QString perUserProgramFolder();

// Whether the current user may create files in the folder.
bool isWritableFolder(const QString& folder);

ProgramFolders chooseProgramFolders(const QString& executableFolder, const QString& perUserFolder);

// Makes a per-user program folder ready: creates it and, when it holds no
// TDRPARAM.TXT, copies the default one into it. A user's own adjustment file
// is never replaced. Nothing to do for the executable's folder. Returns a
// message for the user when the folder cannot be made ready, else empty.
QString prepareProgramFolder(const ProgramFolders& folders);

}  // namespace tandor
