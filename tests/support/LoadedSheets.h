#pragma once

#include <QStringList>

#include "sheets/SheetLibrary.h"

namespace tandor::test {

// The program's sheet library loaded from the given folders while the guard
// lives (none: the sheets the program is built with), and from the usual
// folders again after it, even when a test stops half-way.
struct LoadedSheets {
    explicit LoadedSheets(const QStringList& folders = {}) { SheetLibrary::program().reload(folders); }
    ~LoadedSheets() { SheetLibrary::program().reload(); }
    LoadedSheets(const LoadedSheets&) = delete;
    LoadedSheets& operator=(const LoadedSheets&) = delete;
};

}  // namespace tandor::test
