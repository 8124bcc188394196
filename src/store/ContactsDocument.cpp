#include "store/ContactsDocument.h"

#include <QFile>
#include <QFileInfo>

#include "platform/FaultPoint.h"
#include "platform/OnFailure.h"
#include "store/FileError.h"
#include "store/ReminderSwitch.h"

namespace tandor {
namespace {

const QString kProductName = QStringLiteral("Tandor");
const QString kDataFilter = QStringLiteral("Data Files (*.DAT)|*.DAT");

}  // namespace

ContactsDocument::ContactsDocument(QString programFolder, QString documentsFolder, QObject* parent)
    : QObject(parent),
      programFolder_(std::move(programFolder)),
      documentsFolder_(documentsFolder.isEmpty() ? programFolder_ : std::move(documentsFolder)) {}

QString ContactsDocument::mainWindowTitle() const {
    if (!hasFile()) {
        return kProductName;
    }
    return kProductName + QStringLiteral("  [") + fileTitle_ + QStringLiteral("]");
}

void ContactsDocument::setBirthdayItems(bool onEnabled, bool offEnabled) {
    if (onEnabled == birthdayOnEnabled_ && offEnabled == birthdayOffEnabled_) {
        return;
    }
    birthdayOnEnabled_ = onEnabled;
    birthdayOffEnabled_ = offEnabled;
    emit remindersChanged();
}

void ContactsDocument::setCurrentRecord(int n) {
    if (n == currentRecord_) {
        return;
    }
    currentRecord_ = n;
    emit currentRecordChanged(n);
}

void ContactsDocument::contactWritten() {
    if (hasFile() && remindersOn() && !birthdayOffEnabled_) {
        setBirthdayItems(birthdayOnEnabled_, true);
    }
}

int ContactsDocument::appendContact(const ContactRecord& record, Forcing forcing) {
    int n = 0;
    if (forcing == Forcing::Now) {
        n = file_.appendFlushed(record);
    } else {
        n = file_.append(record);
        unforced_ = true;
    }
    contactWritten();
    emit recordsChanged({RecordChange::Kind::Appended, n, 1});
    return n;
}

void ContactsDocument::writeContact(int n, const ContactRecord& record, Forcing forcing) {
    file_.write(n, record);
    if (forcing == Forcing::Now) {
        file_.flush();
    } else {
        unforced_ = true;
    }
    contactWritten();
    emit recordsChanged({RecordChange::Kind::Written, n, 1});
}

void ContactsDocument::forceWrites() {
    if (unforced_ && file_.isOpen()) {
        file_.flush();  // on failure they stay to be forced
    }
    unforced_ = false;
}

void ContactsDocument::deleteContact(int n, const std::function<void()>& atConfirmation) {
    file_.deleteRecord(n, atConfirmation);
    // The contacts after the one deleted move down by one.
    if (currentRecord_ == n) {
        setCurrentRecord(0);
    } else if (currentRecord_ > n) {
        setCurrentRecord(currentRecord_ - 1);
    }
    emit recordsChanged({RecordChange::Kind::Removed, n, 1});
}

void ContactsDocument::announceAppended(int countBefore) {
    if (!file_.isOpen()) {
        return;
    }
    const int added = file_.recordCount() - countBefore;
    if (added > 0) {
        contactWritten();
        emit recordsChanged({RecordChange::Kind::Appended, countBefore + 1, added});
    }
}

void ContactsDocument::reopen() {
    file_.close();
    file_.open(fileName_);
}

QString ContactsDocument::displayTitle(const QString& path) {
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    QString name = path.mid(slash + 1);
    return name.remove(QStringLiteral(".DAT"), Qt::CaseSensitive);
}

void ContactsDocument::hideInstallerFile() {
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

void ContactsDocument::restoreInstallerFile() {
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

bool ContactsDocument::chooseAndOpen(Platform& platform, const QString& dialogTitle, bool acceptNewName) {
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
    setCurrentRecord(0);
    return true;
}

bool ContactsDocument::fileNew(Platform& platform) {
    const OnFailure abandon([this] { abandonOpening(); });
    if (!chooseAndOpen(platform, QStringLiteral("New"), true)) {
        return false;
    }
    // A file made current by File New starts with reminders on.
    setBirthdayItems(false, true);
    restoreInstallerFile();
    emit opened();
    return true;
}

bool ContactsDocument::fileOpen(Platform& platform, const BirthdayCheck& birthdayCheck) {
    const OnFailure abandon([this] { abandonOpening(); });
    if (!chooseAndOpen(platform, QStringLiteral("Open"), false)) {
        return false;
    }
    const int count = file_.recordCount();
    setBirthdayItemsFromFile();
    restoreInstallerFile();
    // The windows show the file before the birthday messages.
    emit opened();
    if (count >= 1 && birthdayCheck) {
        birthdayCheck(*this);
    }
    return true;
}

void ContactsDocument::setBirthdayItemsFromFile() {
    if (file_.recordCount() == 0) {
        setBirthdayItems(false, false);
    } else if (remindersOnInFile(file_)) {
        setBirthdayItems(false, true);
    } else {
        setBirthdayItems(true, false);
    }
}

void ContactsDocument::openPath(const QString& path, bool mustExist) {
    const OnFailure abandon([this] { fileClose(); });
    file_.close();
    if (mustExist) {
        file_.openExisting(path);
    } else {
        file_.open(path);
    }
    fileName_ = path;
    fileTitle_ = displayTitle(path);
    contactItemsEnabled_ = true;
    setCurrentRecord(0);
    setBirthdayItemsFromFile();
    emit opened();
}

void ContactsDocument::fileOpenNamed(const QString& path, const BirthdayCheck& birthdayCheck) {
    const OnFailure abandon([this] { fileClose(); });
    openPath(path, true);
    if (file_.recordCount() >= 1 && birthdayCheck) {
        birthdayCheck(*this);
    }
}

void ContactsDocument::abandonOpening() {
    fileClose();
    try {
        restoreInstallerFile();
    } catch (const AppError&) {
        // The failure being thrown is the one to show; shut-down tries the rename again.
    }
}

void ContactsDocument::fileClose() {
    file_.close();
    unforced_ = false;
    fileName_.clear();
    fileTitle_.clear();
    contactItemsEnabled_ = false;
    setBirthdayItems(false, false);
    setCurrentRecord(0);
    emit closed();
}

void ContactsDocument::switchReminders(Platform& platform, bool on) {
    setRemindersInFile(file_, on);
    emit recordsChanged({RecordChange::Kind::Rewritten, 0, 0});
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

void ContactsDocument::enableBirthdayReminders(Platform& platform) {
    switchReminders(platform, true);
}

void ContactsDocument::disableBirthdayReminders(Platform& platform) {
    switchReminders(platform, false);
}

}  // namespace tandor
