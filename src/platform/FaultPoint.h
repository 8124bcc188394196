#pragma once

#include <QString>
#include <QStringList>

namespace tandor::fault {

// Named points on every path that writes a file (contacts file, exports,
// TDRPARAM.TXT). In normal runs a point costs one check of an empty table.
// Tests arm a point: reaching it then throws AppError 57 ("Device I/O
// error"), as a disk that fails at exactly that step; they can also list the
// points a run passed through, to fail each step in turn.
void hit(const char* name);

void arm(const QString& name, int skipHits = 0);  // fails at hit number skipHits + 1
void disarmAll();
void startRecording();
QStringList recordedHits();  // names in the order reached since startRecording()

}  // namespace tandor::fault
