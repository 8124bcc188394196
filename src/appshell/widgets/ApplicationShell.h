#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <memory>
#include <optional>

#include "windowkit/widgets/WindowHost.h"
#include "store/ContactsDocument.h"

namespace tandor {
namespace sync {
class SyncSession;
}

class MainWindow;

// The running program around its windows: it owns the contacts document, the
// Platform, the settings and the navigation between windows (which window
// stands in place of the main window, where windows are placed, what comes
// back when one closes). It is the only code that knows every window; each
// window gets it as its WindowHost.
class ApplicationShell : public QObject, public WindowHost {
    Q_OBJECT

public:
    // The help documents are looked for in documentsFolder (the program
    // folder when none is given).
    ApplicationShell(Platform& platform, QString programFolder, QString documentsFolder = {});
    ~ApplicationShell() override;

    MainWindow& mainWindow() { return *main_; }
    // The address-book sync of the open file.
    sync::SyncSession& syncSession() { return *sync_; }
    // Shows the main window, at the place the settings keep.
    void show();
    // Opens the contacts file named on the command line as File > Open opens
    // the one its dialog chose, with the same error routine.
    void openNamedFile(const QString& path);

    Platform& platform() override { return platform_; }
    ContactsDocument& document() override { return document_; }
    QString readSetting(const QString& key) override;
    void writeSetting(const QString& key, const QString& value) override;
    void showInPlaceOfMain(QWidget* window) override;
    void hideMainFor(QWidget* window) override;
    void showMain() override;
    void endProgram() override;
    void openBrowser(int recordNumber) override;
    void printLabel(QWidget* browser, const std::array<QString, 5>& lines) override;
    const LabelSheet& chosenSheet() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void giveCommands();
    void fileNew();
    void fileOpen();
    // File New / File Open: the file dialog, then the document opens the chosen file.
    void chooseFile(FileChoice choice);
    // The birthday check of a file opened by File > Open or from the command line.
    ContactsDocument::BirthdayCheck birthdayCheck();
    void fileClose();
    void exit();
    // Files closed, the installer's data file named back, the other windows
    // closed, the placement saved unless minimized.
    void closingSequence();
    void goBackIfMoved();
    // File > Sync Now; `quiet` for the sync the program starts itself.
    void syncNow(bool quiet);
    // The sync when a linked file is opened (and at start), when the setting is on.
    void syncIfWanted();

    Platform& platform_;
    ContactsDocument document_;
    std::unique_ptr<sync::SyncSession> sync_;
    std::unique_ptr<MainWindow> main_;
    QPointer<QWidget> secondary_;
    const QObject* handedBack_ = nullptr;  // a window whose closing does not show the main window again
    bool closing_ = false;
    std::optional<QPoint> placeBeforeHiding_;
    std::optional<QPoint> returningTo_;  // while the window manager places the main window shown again
};

}  // namespace tandor
