#pragma once

#include <QString>

namespace tandor::docs {

// Draws the program's windows, filled with an example, into PNG files of the
// folder (main-window.png, about-box.png, ...) for the user manual.
bool makeWindowPictures(const QString& folder, QString* error);

}  // namespace tandor::docs
