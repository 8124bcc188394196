#pragma once

#include <QMainWindow>
#include <array>
#include <functional>

#include "compose/CompositionState.h"

class QAction;
class QCheckBox;
class QComboBox;
class QCompleter;
class QStandardItemModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tandor {

class Platform;
class WindowHost;
struct ErrorPolicy;

// The main window frmLMaker: five address lines, the medium, envelope size,
// margins, alignment, orientation and envelope font options, the print
// commands, the File, Edit, Contacts, View, Margins and Help menus. It shows
// the contacts document's state (title, file items); the commands of other
// windows and of the file are the application's, given to it as Commands.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(WindowHost& host, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The role of a cboLMSheet entry that holds the whole line its drop-down
    // list shows (sheetSummary); the entry's text is the short caption.
    static constexpr int kSheetSummaryRole = Qt::UserRole + 1;

    const CompositionState& composition() const { return state_; }
    // The five lines as typed now.
    std::array<QString, 5> lines();
    // The browser's Print Label: puts the five lines and clears and hides Bold
    // (clearing a checked Bold is a click on it, which moves the focus on to
    // Print).
    void takeAddressLines(const std::array<QString, 5>& lines);
    void focusLine1();

    // The menu items and buttons whose work lies outside this window. An item
    // without a command stays disabled.
    struct Commands {
        std::function<void()> addContact;   // Add Contact button and menu item
        std::function<void()> browser;      // Edit/Find/Delete/View One, Find Contact
        std::function<void()> contactList;  // Search Contacts, All Contacts
        std::function<void()> importWindow;
        std::function<void()> exportWindow;
        std::function<void(bool on)> birthdayReminders;  // Enable / Disable
        std::function<void()> fileNew;
        std::function<void()> fileOpen;
        std::function<void()> fileClose;
        std::function<void()> exit;  // File > Exit and the Exit button
        std::function<void()> syncNow;        // File > Sync Now
        std::function<void()> syncAccount;    // Contacts > Address Book Account...
        std::function<void()> syncConflicts;  // Contacts > Sync Conflicts...
        // The line of the last sync ("Last synced: ...", "Not synced yet"); empty
        // for a file that is not linked (Sync Now and Sync Conflicts... are disabled).
        std::function<QString()> syncStatus;
    };
    void setCommands(const Commands& commands);
    // Shows the link of the open file again: the line of the last sync and
    // the enabling of Sync Now and Sync Conflicts...
    void showSyncState();

signals:
    // The window is closing (the program ends): the application's closing sequence runs now.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void connectHandlers();
    void connectCommands();
    void fitInstructions();
    void readLines();
    void applyState();
    // Shows the document's state: the title, the hidden file boxes and the
    // enabling of every file item.
    void showFileState();
    // The sheet picker: the sheets that match the text typed in the list,
    // recently used ones first, shown under it; choosing one remembers it.
    void buildSheetPicker();
    void fillSheetList();
    void showSheetMatches(const QString& text);
    void chooseSheet(const QString& name);
    void showChosenSheet();
    // Runs a handler of the compose form under the window's error policy,
    // the boxes read before and the state shown after.
    template <typename Handler>
    void handle(Handler handler);

    void printPreview();

    WindowHost& host_;
    Platform& platform_;
    CompositionState state_;
    Commands commands_;

    // Controls.
    QLabel* lblLMHeader_ = nullptr;
    QLabel* lblLMInstruct_ = nullptr;
    std::array<QLineEdit*, 5> lines_{};
    QGroupBox* frLMMediaType_ = nullptr;
    QRadioButton* optLMLabel_ = nullptr;
    QRadioButton* optLMEnvelope_ = nullptr;
    QComboBox* cboLMEnvelope_ = nullptr;
    QComboBox* cboLMSheet_ = nullptr;
    QLabel* lblLMSheetLines_ = nullptr;
    QCompleter* sheetFinder_ = nullptr;
    QStandardItemModel* sheetMatches_ = nullptr;
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
    QLabel* lblLMLastSync_ = nullptr;

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
    QAction* mnuFileSync_ = nullptr;
    QAction* mnuSyncAccount_ = nullptr;
    QAction* mnuSyncConflicts_ = nullptr;
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
    QAction* mnuPlaceByPaperEdge_ = nullptr;
    QAction* mnuMarginAlign_ = nullptr;
    QAction* mnuMarginNewSheet_ = nullptr;
    QAction* mnuManual_ = nullptr;
    QAction* mnuAbout_ = nullptr;
};

}  // namespace tandor
