#pragma once

#include <QString>
#include <array>

class QWidget;

namespace tandor {

class ContactsDocument;
class Platform;
struct LabelSheet;

// What a window of the program may ask of the application around it: the
// desktop, the contacts document, the settings, and the way to other windows.
// Windows get this, never the main window itself.
class WindowHost {
public:
    virtual ~WindowHost() = default;

    virtual Platform& platform() = 0;
    virtual ContactsDocument& document() = 0;

    // The per-user settings (section "Settings").
    virtual QString readSetting(const QString& key) = 0;
    virtual void writeSetting(const QString& key, const QString& value) = 0;

    // Shows another window in place of the main window, without blocking: the
    // main window is hidden and the other placed where it was; when the other
    // closes, the main window comes back with the focus in Line 1.
    virtual void showInPlaceOfMain(QWidget* window) = 0;
    // Hides the main window for another one, placed where it was; the other
    // window brings the main window back itself (showMain).
    virtual void hideMainFor(QWidget* window) = 0;
    // Shows the main window again, at its place, with the focus in Line 1.
    virtual void showMain() = 0;
    // Ends the program as File Exit does (the main window closes).
    virtual void endProgram() = 0;

    // The contact browser, shown with its find list filled; on contact n when
    // n > 0 (the contact list's double-click).
    virtual void openBrowser(int recordNumber) = 0;
    // The browser's Print Label: the main window comes back with the focus in
    // Line 1 and takes the five lines, Bold cleared and hidden.
    virtual void printLabel(QWidget* browser, const std::array<QString, 5>& lines) = 0;
    // The label sheet chosen on the main window.
    virtual const LabelSheet& chosenSheet() = 0;
};

}  // namespace tandor
