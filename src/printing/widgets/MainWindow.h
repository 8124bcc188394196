#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <optional>
#include <QPoint>

#include "printing/CompositionState.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tandor {

class Platform;
class Session;

// The main window frmLMaker: five address lines, the medium, envelope size,
// margins, alignment, orientation and envelope font options, the print
// commands, the File, Edit, Contacts, View, Margins and Help menus. It owns
// the current-file state that the other windows read.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(Session& session, Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    Session& session() { return session_; }
    Platform& platform() { return platform_; }
    const CompositionState& composition() const { return state_; }

    // Shows another window of the program in place of this one: this window is
    // hidden, the other shown without blocking; when it closes, this window is
    // shown again with the focus in Line 1.
    void showSecondary(QWidget* window);
    // Hides this window for another one, which is placed where this one was;
    // this window comes back at its place.
    void hideForSecondary(QWidget* window);
    // Shows this window again with the focus in Line 1.
    void showWithFocusInLine1();
    // The browser's Print Label: shows this window with the focus in Line 1,
    // then puts the five lines and clears and hides Bold (clearing a checked
    // Bold is a click on it, which moves the focus on to Print). The browser's
    // closing afterwards leaves the focus where it is.
    void takeAddressLines(QWidget* browser, const std::array<QString, 5>& lines);
    // Refreshes the title, the hidden file boxes and the enabling of every file item.
    void refreshFileState();

    // The main window's error routine: the standard error message with Retry and
    // Cancel. Retry closes the adjustment and contacts files (no file current) and
    // ends the command; Cancel closes this window, which ends the program.
    void runGuarded(const std::function<void()>& command);

    // Hooks filled by the windows of the contact subsystems. (The Help, Edit and
    // look-up commands of every window are attached by attachShellCommands.)
    struct Openers {
        std::function<void(MainWindow&)> addContact;      // Add Contact button and menu item
        std::function<void(MainWindow&, bool focusFind)> browser;  // Edit/Find/Delete/View One
        std::function<void(MainWindow&, int recordNumber)> browserOnRecord;  // the list's double-click
        std::function<void(MainWindow&)> contactList;     // Search Contacts, All Contacts
        std::function<void(MainWindow&)> importWindow;
        std::function<void(MainWindow&)> exportWindow;
        std::function<void(MainWindow&)> birthdayCheck;   // at File Open, for a file with records
        std::function<void(MainWindow&, bool on)> birthdayReminders;  // Enable / Disable
    };
    const Openers& openers() const { return openers_; }
    void setOpeners(const Openers& openers);

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void connectHandlers();
    void fitInstructions();
    void goBackIfMoved();
    void readLines();
    void applyState();
    template <typename Handler>
    void handle(Handler handler);

    void printPreview();
    void fileNew();
    void fileOpen();
    void fileClose();
    void fileExit();

    Session& session_;
    Platform& platform_;
    CompositionState state_;
    QPointer<QWidget> secondary_;
    const QObject* handedBack_ = nullptr;  // a window whose closing does not show this one again
    Openers openers_;
    bool closing_ = false;
    std::optional<QPoint> placeBeforeHiding_;
    std::optional<QPoint> returningTo_;  // while the window manager places the window shown again

    // Controls.
    QLabel* lblLMHeader_ = nullptr;
    QLabel* lblLMInstruct_ = nullptr;
    std::array<QLineEdit*, 5> lines_{};
    QGroupBox* frLMMediaType_ = nullptr;
    QRadioButton* optLMLabel_ = nullptr;
    QRadioButton* optLMEnvelope_ = nullptr;
    QComboBox* cboLMEnvelope_ = nullptr;
    QComboBox* cboLMSheet_ = nullptr;
    QLabel* lblLMEnvSize_ = nullptr;
    QLabel* lblLMPosition_ = nullptr;
    QLineEdit* txtLMLeftPad_ = nullptr;
    QLineEdit* txtLMToppad_ = nullptr;
    QGroupBox* frLMJust_ = nullptr;
    QRadioButton* optLMLeftjust_ = nullptr;
    QRadioButton* optLMCenter_ = nullptr;
    QGroupBox* frPortLand_ = nullptr;
    QRadioButton* optPortrait_ = nullptr;
    QRadioButton* optLandscape_ = nullptr;
    QCheckBox* chkBold_ = nullptr;
    QCheckBox* chkLargeFont_ = nullptr;
    QPushButton* cmdLMStart_ = nullptr;
    QPushButton* cmdRetAddress_ = nullptr;
    QPushButton* cmdAddContact_ = nullptr;
    QPushButton* cmdFindContact_ = nullptr;
    QPushButton* cmdLMClear_ = nullptr;
    QPushButton* cmdLMExit_ = nullptr;
    QPushButton* cmdPeopleFind_ = nullptr;
    QPushButton* cmdZipFinder_ = nullptr;
    QLineEdit* txtFileTitle_ = nullptr;
    QLineEdit* txtFileNam_ = nullptr;

    // Menu items.
    QAction* mnuFileNew_ = nullptr;
    QAction* mnuFileOpen_ = nullptr;
    QAction* mnuFileClose_ = nullptr;
    QAction* mnuFileBdayOn_ = nullptr;
    QAction* mnuFileBdayOff_ = nullptr;
    QAction* mnuRetAddress_ = nullptr;
    QAction* mnuStates_ = nullptr;
    QAction* mnuFilePrint_ = nullptr;
    QAction* mnuFilePreview_ = nullptr;
    QAction* mnuFileExit_ = nullptr;
    QAction* mnuLMEditCut_ = nullptr;
    QAction* mnuLMEditCopy_ = nullptr;
    QAction* mnuLMEditPaste_ = nullptr;
    QAction* mnuAdd_ = nullptr;
    QAction* mnuEdit_ = nullptr;
    QAction* mnuFind_ = nullptr;
    QAction* mnuDelete_ = nullptr;
    QAction* mnuSrchContacts_ = nullptr;
    QAction* mnuImport_ = nullptr;
    QAction* mnuExport_ = nullptr;
    QAction* mnuViewOne_ = nullptr;
    QAction* mnuViewAll_ = nullptr;
    QAction* mnuMarginOnTheFly_ = nullptr;
    QAction* mnuMarginSearch_ = nullptr;
    QAction* mnuMarginEnvelope_ = nullptr;
    QAction* mnuMarginAlign_ = nullptr;
    QAction* mnuManual_ = nullptr;
    QAction* mnuAbout_ = nullptr;
};

}  // namespace tandor
