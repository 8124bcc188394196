#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Shared parts of the fuzz targets: a scratch folder for the files a run
// writes, and a check that stops the run (so that the fuzzer keeps the input)
// when a promise of the code does not hold.
namespace tandor {
class ContactsFile;
}

namespace tandor::fuzz {

// A folder that lives as long as the fuzzing process, on a memory file system
// when the machine has one (/dev/shm), so that flushing to disk costs nothing.
const QString& scratchFolder();

// A fresh, empty path in the scratch folder (the same name every time).
QString scratchFile(const QString& name);

// Reports the broken promise with the input's details and aborts.
[[noreturn]] void fail(const char* what, const QString& detail = {});

inline void check(bool holds, const char* what, const QString& detail = {}) {
    if (!holds) {
        fail(what, detail);
    }
}

// Splits the input into at most `parts` pieces at its line feeds (the last
// piece keeps the rest, line feeds included).
QList<QByteArray> splitBytes(const QByteArray& data, int parts);
// The same pieces decoded as UTF-8 (invalid bytes become replacement characters).
QStringList splitLines(const QByteArray& data, int parts);

// Every record from number `from` on is a whole imported contact: 513 bytes,
// its separators and CR LF, no comma or line break inside a field, not marked
// deleted, and holding something.
void checkImportedRecords(const ContactsFile& file, int from);

}  // namespace tandor::fuzz
