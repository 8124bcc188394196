#pragma once

#include <QString>
#include <functional>

#include "platform/Platform.h"
#include "store/ContactsFile.h"

namespace tandor {

// The current-file state of the running program, owned by the main window and
// read by every other window: the program folder, the current contacts file
// (txtFileNam, txtFileTitle and the open file), CurrentRecordNumber, and the
// enabling of the file-dependent menu items.
class Session {
public:
    // The help documents are looked for in documentsFolder (the program
    // folder when none is given).
    explicit Session(QString programFolder, QString documentsFolder = {});

    const QString& programFolder() const { return programFolder_; }
    const QString& documentsFolder() const { return documentsFolder_; }
    ContactsFile& file() { return file_; }
    const ContactsFile& file() const { return file_; }

    bool hasFile() const { return !fileName_.isEmpty(); }
    const QString& fileName() const { return fileName_; }  // txtFileNam: full path, empty when none
    const QString& fileTitle() const { return fileTitle_; }  // txtFileTitle
    // "Tandor", or "Tandor  [" + title + "]" while a file is current.
    QString mainWindowTitle() const;

    int currentRecordNumber = 0;  // CurrentRecordNumber

    // Enabling of the items that need a file (the contact buttons and menus) and
    // of the two birthday items.
    bool contactItemsEnabled() const { return contactItemsEnabled_; }
    bool birthdayOnEnabled() const { return birthdayOnEnabled_; }
    bool birthdayOffEnabled() const { return birthdayOffEnabled_; }
    void setBirthdayItems(bool onEnabled, bool offEnabled);
    // Reminders are on for the file while "Enable Birthday Reminders" is disabled;
    // a record written now takes "1" then.
    bool remindersOn() const { return !birthdayOnEnabled_; }
    // Called after a contact was written with remindersOn(): "Disable Birthday
    // Reminders" becomes enabled, which is how the first contact saved into an
    // empty file switches reminders on.
    void noteContactWritten();
    // Enable / Disable Birthday Reminders: rewrite the setting in every record
    // of the current file, tell the user ("Birthday Reminders have been turned
    // on." / "... off."), then set the two items. A failure throws before the
    // message and leaves the items as they were.
    void enableBirthdayReminders(Platform& platform);
    void disableBirthdayReminders(Platform& platform);

    // File New / File Open. The birthday check runs at File Open for a file
    // with at least one record, after the menus are set. Both return false when
    // the dialog was cancelled (nothing changes, a current file stays open).
    // Failures throw AppError and leave no file current (the state of File
    // Close); the caller's error routine shows them.
    using BirthdayCheck = std::function<void(Session&)>;
    bool fileNew(Platform& platform);
    bool fileOpen(Platform& platform, const BirthdayCheck& birthdayCheck = {});
    // File Close: no file current, every file item disabled.
    void fileClose();

    // The installer's uninstall data file "unins000.DAT" carries the name
    // "unins000.DAK" while a contacts-file dialog is open.
    void hideInstallerFile();
    void restoreInstallerFile();

    // The display title of a file: its name without folder, every ".DAT" removed.
    static QString displayTitle(const QString& path);

private:
    bool chooseAndOpen(Platform& platform, const QString& dialogTitle, bool acceptNewName);
    void switchReminders(Platform& platform, bool on);
    void abandonOpening();

    QString programFolder_;
    QString documentsFolder_;
    ContactsFile file_;
    QString fileName_;
    QString fileTitle_;
    bool contactItemsEnabled_ = false;
    bool birthdayOnEnabled_ = false;
    bool birthdayOffEnabled_ = false;
};

}  // namespace tandor
