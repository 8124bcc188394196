#pragma once

#include <QString>

namespace tandor {

// The program's version, from the build (project version 5.8.0): the about
// box, the executables' --version and the manual show the same numbers.
inline QString versionText() {
    return QStringLiteral("%1.%2.%3").arg(TANDOR_VERSION_MAJOR).arg(TANDOR_VERSION_MINOR).arg(TANDOR_VERSION_PATCH);
}

}  // namespace tandor
