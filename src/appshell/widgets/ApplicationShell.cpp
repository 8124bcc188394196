#include "appshell/widgets/ApplicationShell.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "compose/LabelPositions.h"
#include "compose/widgets/MainWindow.h"
#include "contacts/widgets/ContactWindows.h"
#include "exchange/widgets/ExportWindow.h"
#include "exchange/widgets/ImportWindow.h"
#include "list/widgets/ContactListWindow.h"
#include "platform/Platform.h"
#include "print/PaperEdge.h"
#include "sheets/AdjustmentFile.h"
#include "windowkit/widgets/CommandRunner.h"
#include "windowkit/widgets/ShellCommands.h"
#include "sync/SyncSession.h"
#include "sync/widgets/SyncWindows.h"

namespace tandor {
namespace {

const QString kSettingsSection = QStringLiteral("Settings");

}  // namespace

ApplicationShell::ApplicationShell(Platform& platform, QString programFolder, QString documentsFolder)
    : platform_(platform), document_(std::move(programFolder), std::move(documentsFolder)) {
    // Until the user chooses, labels are placed by the paper's edge unless the
    // adjustments were calibrated on the printer's printable area.
    setDefaultPlaceByPaperEdge(adjustmentsAllZero(document_.programFolder()));
    sync_ = std::make_unique<sync::SyncSession>(document_, platform_);
    main_ = std::make_unique<MainWindow>(*this);
    main_->installEventFilter(this);
    connect(sync_.get(), &sync::SyncSession::stateChanged, main_.get(), &MainWindow::showSyncState);
    // After the file's own opening work (the birthday check) is done.
    connect(&document_, &ContactsDocument::opened, this,
            [this] { QTimer::singleShot(0, this, [this] { syncIfWanted(); }); });
    connect(main_.get(), &MainWindow::closing, this, &ApplicationShell::closingSequence);
    giveCommands();
    attachShellCommands(main_.get(), *this);
}

ApplicationShell::~ApplicationShell() {
    closing_ = true;
}

void ApplicationShell::show() {
    main_->show();
    QTimer::singleShot(0, this, [this] { syncIfWanted(); });
}

void ApplicationShell::syncNow(bool quiet) {
    runCommand(platform_, policy::tryAgain(), [this, quiet] { sync::runSyncNow(*this, *sync_, quiet); });
}

void ApplicationShell::syncIfWanted() {
    if (!closing_ && document_.hasFile() && sync_->linked() && sync_->syncAtStart()) {
        syncNow(true);
    }
}

QString ApplicationShell::readSetting(const QString& key) {
    return platform_.readSetting(kSettingsSection, key);
}

void ApplicationShell::writeSetting(const QString& key, const QString& value) {
    platform_.writeSetting(kSettingsSection, key, value);
}

const LabelSheet& ApplicationShell::chosenSheet() {
    return sheetOf(main_->composition());
}

void ApplicationShell::giveCommands() {
    MainWindow::Commands commands;
    commands.addContact = [this] {
        runCommand(platform_, policy::mainWindow(*this), [this] { openAddContact(*this, main_->composition().lines); });
    };
    commands.browser = [this] { openBrowser(0); };
    commands.contactList = [this] { openContactList(*this); };
    commands.importWindow = [this] { showInPlaceOfMain(new ImportWindow(*this)); };
    commands.exportWindow = [this] { showInPlaceOfMain(new ExportWindow(*this)); };
    commands.birthdayReminders = [this](bool on) { switchBirthdayReminders(*this, on); };
    commands.fileNew = [this] { fileNew(); };
    commands.fileOpen = [this] { fileOpen(); };
    commands.fileClose = [this] { fileClose(); };
    commands.exit = [this] { exit(); };
    commands.syncNow = [this] { syncNow(false); };
    commands.syncAccount = [this] { showInPlaceOfMain(new sync::AccountWindow(*this, *sync_)); };
    commands.syncConflicts = [this] { showInPlaceOfMain(new sync::ConflictsWindow(*this, *sync_)); };
    commands.syncStatus = [this] { return sync_->lastSyncText(); };
    main_->setCommands(commands);
}

void ApplicationShell::openBrowser(int recordNumber) {
    openContactBrowser(*this, recordNumber);
}

void ApplicationShell::fileNew() {
    chooseFile(FileChoice::New);
}

ContactsDocument::BirthdayCheck ApplicationShell::birthdayCheck() {
    return [this](ContactsDocument& document) { checkBirthdays(document, platform_); };
}

void ApplicationShell::fileOpen() {
    chooseFile(FileChoice::Open);
}

void ApplicationShell::chooseFile(FileChoice choice) {
    runCommand(platform_, policy::mainWindow(*this), [this, choice] {
        document_.beginChoosing();
        const QString path = platform_.openFile(document_.fileRequest(choice));
        if (!path.isEmpty()) {
            document_.openChosen(choice, path, birthdayCheck());
        }
    });
}

void ApplicationShell::openNamedFile(const QString& path) {
    runCommand(platform_, policy::mainWindow(*this), [this, &path] {
        document_.fileOpenNamed(path, birthdayCheck());
    });
}

void ApplicationShell::fileClose() {
    document_.fileClose();
}

void ApplicationShell::exit() {
    fileClose();
    main_->close();
}

void ApplicationShell::endProgram() {
    main_->close();
}

void ApplicationShell::hideMainFor(QWidget* window) {
    MainWindow& main = *main_;
    if (main.isVisible()) {
        placeBeforeHiding_ = main.pos();
    }
    // The other window opens where the main window was, inside the screen. A
    // window not shown yet is placed by its inside; the frame is the main window's.
    const QRect frame = main.frameGeometry();
    const QRect inside = main.geometry();
    const QMargins margins(inside.left() - frame.left(), inside.top() - frame.top(),
                           frame.right() - inside.right(), frame.bottom() - inside.bottom());
    QPoint at = inside.topLeft();
    if (const QScreen* screen = main.screen()) {
        // Inside the screen whether the window manager takes the place as the
        // frame's or as the inside's.
        const QRect area = screen->availableGeometry();
        const int right = area.right() - window->width() - margins.left() - margins.right();
        const int bottom = area.bottom() - window->height() - margins.top() - margins.bottom();
        at.setX(std::clamp(at.x(), area.left() + margins.left(), std::max(area.left() + margins.left(), right)));
        at.setY(std::clamp(at.y(), area.top() + margins.top(), std::max(area.top() + margins.top(), bottom)));
    }
    window->move(at);
    main.hide();
}

void ApplicationShell::showInPlaceOfMain(QWidget* window) {
    secondary_ = window;
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &QObject::destroyed, this, [this](QObject* gone) {
        // A window that handed over to the main window (the browser's Print
        // Label) does not bring it back a second time.
        if (gone == handedBack_) {
            handedBack_ = nullptr;  // the main window is shown already
            return;
        }
        if (!closing_ && (secondary_.isNull() || secondary_.data() == gone)) {
            showMain();
        }
    });
    hideMainFor(window);
    window->show();
}

void ApplicationShell::showMain() {
    MainWindow& main = *main_;
    // The window comes back where it was before the other window opened.
    const bool comingBack = !main.isVisible() && placeBeforeHiding_;
    if (comingBack) {
        main.move(*placeBeforeHiding_);
    }
    main.show();
    if (comingBack) {
        // A window manager may place a window shown again as a new one; it
        // goes back when the window manager has placed it (its Move event),
        // for a second or so.
        returningTo_ = placeBeforeHiding_;
        for (int delay : {100, 400, 1000}) {
            QTimer::singleShot(delay, this, [this, last = delay == 1000] {
                goBackIfMoved();
                if (last) {
                    returningTo_.reset();
                }
            });
        }
    }
    main.activateWindow();
    main.focusLine1();
}

void ApplicationShell::goBackIfMoved() {
    MainWindow& main = *main_;
    if (returningTo_ && main.isVisible() && main.frameGeometry().topLeft() != *returningTo_) {
        main.move(*returningTo_);
    }
}

bool ApplicationShell::eventFilter(QObject* watched, QEvent* event) {
    if (watched == main_.get() && event->type() == QEvent::Move) {
        goBackIfMoved();
    }
    return QObject::eventFilter(watched, event);
}

void ApplicationShell::printLabel(QWidget* browser, const std::array<QString, 5>& lines) {
    handedBack_ = browser;
    showMain();
    main_->takeAddressLines(lines);
}

void ApplicationShell::closingSequence() {
    closing_ = true;
    MainWindow& main = *main_;
    document_.fileClose();
    try {
        document_.restoreInstallerFile();
    } catch (const AppError&) {
        // The program still closes; the file keeps its hidden name, and the
        // next File New or Open names it back.
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != &main && w->isVisible() && !qobject_cast<QMenu*>(w)) {
            w->close();
        }
    }
    if (!main.isMinimized()) {
        const double twipsX = 1440.0 / main.logicalDpiX();
        const double twipsY = 1440.0 / main.logicalDpiY();
        const QRect r = main.frameGeometry();  // the outer window, title bar and borders included
        writeSetting(QStringLiteral("MainLeft"), QString::number(qRound(r.x() * twipsX)));
        writeSetting(QStringLiteral("MainTop"), QString::number(qRound(r.y() * twipsY)));
        writeSetting(QStringLiteral("MainWidth"), QString::number(qRound(r.width() * twipsX)));
        writeSetting(QStringLiteral("MainHeight"), QString::number(qRound(r.height() * twipsY)));
    }
}

}  // namespace tandor
