#pragma once

#include <QIcon>

namespace tandor {

// The program's icon: a sheet of address labels in front of an envelope,
// drawn at each size asked for.
QIcon programIcon();

}  // namespace tandor
