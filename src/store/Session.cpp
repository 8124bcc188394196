#include "store/Session.h"

#include <QFile>
#include <QFileInfo>

#include "platform/FaultPoint.h"
#include "store/FileError.h"
#include "store/ReminderSwitch.h"

namespace tandor {
namespace {

const QString kProductName = QStringLiteral("Tandor");
const QString kDataFilter = QStringLiteral("Data Files (*.DAT)|*.DAT");

}  // namespace

Session::Session(QString programFolder) : programFolder_(std::move(programFolder)) {}

QString Session::mainWindowTitle() const {
    if (!hasFile()) {
        return kProductName;
    }
    return kProductName + QStringLiteral("  [") + fileTitle_ + QStringLiteral("]");
}

void Session::setBirthdayItems(bool onEnabled, bool offEnabled) {
    birthdayOnEnabled_ = onEnabled;
    birthdayOffEnabled_ = offEnabled;
}

void Session::noteContactWritten() {
    if (hasFile() && remindersOn()) {
        birthdayOffEnabled_ = true;
    }
}

QString Session::displayTitle(const QString& path) {
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    QString name = path.mid(slash + 1);
    return name.remove(QStringLiteral(".DAT"), Qt::CaseSensitive);
}

void Session::hideInstallerFile() {
    const QString shown = programFolder_ + QStringLiteral("/unins000.DAT");
    const QString hidden = programFolder_ + QStringLiteral("/unins000.DAK");
    // With both names present there is nothing that can be renamed safely.
    if (!QFileInfo::exists(shown) || QFileInfo::exists(hidden)) {
        return;
    }
    fault::hit("installer.hide");
    if (!QFile::rename(shown, hidden)) {
        throw fileerror::make(errors::kPathFileAccess);
    }
}

void Session::restoreInstallerFile() {
    const QString shown = programFolder_ + QStringLiteral("/unins000.DAT");
    const QString hidden = programFolder_ + QStringLiteral("/unins000.DAK");
    if (!QFileInfo::exists(hidden) || QFileInfo::exists(shown)) {
        return;
    }
    fault::hit("installer.restore");
    if (!QFile::rename(hidden, shown)) {
        throw fileerror::make(errors::kPathFileAccess);
    }
}

bool Session::chooseAndOpen(Platform& platform, const QString& dialogTitle, bool acceptNewName) {
    hideInstallerFile();
    OpenFileRequest request;
    request.title = dialogTitle;
    request.startFolder = programFolder_;
    request.filter = kDataFilter;
    request.acceptNewName = acceptNewName;
    // A name typed without an extension gets ".DAT", so that the file shows
    // under the filter when it is opened again; files of other names can
    // still be found under "All Files".
    if (acceptNewName) {
        request.defaultSuffix = QStringLiteral("DAT");
    }
    request.offerAllFiles = true;
    const QString path = platform.openFile(request);
    if (path.isEmpty()) {
        return false;
    }
    // The old file is closed only now that a new one has been chosen.
    file_.close();
    file_.open(path);
    fileName_ = path;
    fileTitle_ = displayTitle(path);
    contactItemsEnabled_ = true;
    currentRecordNumber = 0;
    return true;
}

bool Session::fileNew(Platform& platform) {
    try {
        if (!chooseAndOpen(platform, QStringLiteral("New"), true)) {
            return false;
        }
        // A file made current by File New starts with reminders on.
        setBirthdayItems(false, true);
        restoreInstallerFile();
    } catch (...) {
        abandonOpening();
        throw;
    }
    return true;
}

bool Session::fileOpen(Platform& platform, const BirthdayCheck& birthdayCheck) {
    try {
        if (!chooseAndOpen(platform, QStringLiteral("Open"), false)) {
            return false;
        }
        const int count = file_.recordCount();
        if (count == 0) {
            setBirthdayItems(false, false);
        } else if (remindersOnInFile(file_)) {
            setBirthdayItems(false, true);
        } else {
            setBirthdayItems(true, false);
        }
        restoreInstallerFile();
        if (count >= 1 && birthdayCheck) {
            birthdayCheck(*this);
        }
    } catch (...) {
        abandonOpening();
        throw;
    }
    return true;
}

void Session::abandonOpening() {
    fileClose();
    try {
        restoreInstallerFile();
    } catch (const AppError&) {
        // The failure being thrown is the one to show; shut-down tries the rename again.
    }
}

void Session::fileClose() {
    file_.close();
    fileName_.clear();
    fileTitle_.clear();
    contactItemsEnabled_ = false;
    setBirthdayItems(false, false);
    currentRecordNumber = 0;
}

void Session::switchReminders(Platform& platform, bool on) {
    setRemindersInFile(file_, on);
    if (on) {
        platform.message(QStringLiteral("Birthday Reminders have been turned on."),
                         QStringLiteral("Birthday reminders enabled"), MessageIcon::Information,
                         MessageButtons::Ok);
        setBirthdayItems(false, true);
    } else {
        platform.message(QStringLiteral("Birthday Reminders have been turned off."),
                         QStringLiteral("Birthday reminders disabled"), MessageIcon::Information,
                         MessageButtons::Ok);
        setBirthdayItems(true, false);
    }
}

void Session::enableBirthdayReminders(Platform& platform) {
    switchReminders(platform, true);
}

void Session::disableBirthdayReminders(Platform& platform) {
    switchReminders(platform, false);
}

}  // namespace tandor
