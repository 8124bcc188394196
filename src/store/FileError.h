#pragma once

#include <QString>

#include "platform/AppError.h"

namespace tandor::fileerror {

// The conventional description of a file error number ("Bad record number" for 63).
QString description(int number);
// The AppError of that number with its description.
AppError make(int number);

// The error a failed system call reported through errno means to the user:
// a full disk 61, a refused access 70, anything else `otherwise`.
int numberForErrno(int err, int otherwise = errors::kDeviceIo);

// The error of a file that could not be opened: 76 when its folder does not
// exist, 70 when access is refused, otherwise 75.
AppError openFailure(const QString& path, int err);

}  // namespace tandor::fileerror
