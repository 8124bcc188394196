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

void ContactsDocument::setReminders(Reminders reminders) {
    if (reminders == reminders_) {
        return;
    }
    reminders_ = reminders;
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
    if (hasFile() && reminders_ == Reminders::NotSet) {
        setReminders(Reminders::On);
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

void ContactsDocument::beginChoosing() {
    const OnFailure abandon([this] { abandonOpening(); });
    hideInstallerFile();
}

OpenFileRequest ContactsDocument::fileRequest(FileChoice choice) const {
    const bool isNew = choice == FileChoice::New;
    OpenFileRequest request;
    request.title = isNew ? QStringLiteral("New") : QStringLiteral("Open");
    request.startFolder = programFolder_;
    request.filter = kDataFilter;
    request.acceptNewName = isNew;
    // A name typed without an extension gets ".DAT", so that the file shows
    // under the filter when it is opened again; files of other names can
    // still be found under "All Files".
    if (isNew) {
        request.defaultSuffix = QStringLiteral("DAT");
    }
    request.offerAllFiles = true;
    return request;
}

void ContactsDocument::openChosen(FileChoice choice, const QString& path,
                                  const BirthdayCheck& birthdayCheck) {
    const OnFailure abandon([this] { abandonOpening(); });
    // The old file is closed only now that a new one has been chosen.
    makeCurrent(path, false);
    if (choice == FileChoice::New) {
        // A file made current by File New starts with reminders on.
        setReminders(Reminders::On);
        restoreInstallerFile();
        emit opened();
        return;
    }
    const int count = file_.recordCount();
    setRemindersFromFile();
    restoreInstallerFile();
    // The windows show the file before the birthday messages.
    emit opened();
    if (count >= 1 && birthdayCheck) {
        birthdayCheck(*this);
    }
}

void ContactsDocument::makeCurrent(const QString& path, bool mustExist) {
    file_.close();
    if (mustExist) {
        file_.openExisting(path);
    } else {
        file_.open(path);
    }
    fileName_ = path;
    fileTitle_ = displayTitle(path);
    setCurrentRecord(0);
}

void ContactsDocument::setRemindersFromFile() {
    if (file_.recordCount() == 0) {
        setReminders(Reminders::NotSet);
    } else if (remindersOnInFile(file_)) {
        setReminders(Reminders::On);
    } else {
        setReminders(Reminders::Off);
    }
}

void ContactsDocument::openPath(const QString& path, bool mustExist) {
    const OnFailure abandon([this] { fileClose(); });
    makeCurrent(path, mustExist);
    setRemindersFromFile();
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
    setReminders(Reminders::NotSet);
    setCurrentRecord(0);
    emit closed();
}

DocumentNotice ContactsDocument::switchReminders(bool on) {
    setRemindersInFile(file_, on);
    emit recordsChanged({RecordChange::Kind::Rewritten, 0, 0});
    setReminders(on ? Reminders::On : Reminders::Off);
    if (on) {
        return {QStringLiteral("Birthday Reminders have been turned on."),
                QStringLiteral("Birthday reminders enabled")};
    }
    return {QStringLiteral("Birthday Reminders have been turned off."),
            QStringLiteral("Birthday reminders disabled")};
}

}  // namespace tandor
