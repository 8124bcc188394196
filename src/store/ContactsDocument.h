#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "platform/Platform.h"
#include "store/ContactsFile.h"

namespace tandor {

namespace test {
struct DocumentAccess;
}

// What happened to the records of the open file.
struct RecordChange {
    enum class Kind {
        Appended,  // records first .. first + count - 1 are new
        Written,   // those records were overwritten in place
        Removed,   // record `first` was deleted; the ones after it moved down by one
        Rewritten  // any record may have changed (reminders switched)
    };
    Kind kind = Kind::Rewritten;
    int first = 0;
    int count = 0;
};

// Birthday reminders for the open file. NotSet: no file, or a file without
// contacts; neither switch is offered, and a contact written now takes "1" and
// turns them On. The windows offer "Enable Birthday Reminders" while they are
// Off and "Disable Birthday Reminders" while they are On.
enum class Reminders { NotSet, On, Off };

// What a command of the document has to tell the user: a message box with the
// information icon and OK.
struct DocumentNotice {
    QString text;
    QString title;

    bool operator==(const DocumentNotice&) const = default;
};

// File New or File Open: which file dialog the shell shows before the document
// opens the chosen file.
enum class FileChoice { New, Open };

// The open contacts file and the state of the running program around it: the
// program folder, the current file (txtFileNam, txtFileTitle and the open
// file), CurrentRecordNumber and the birthday reminders. Every change of the
// file goes through it, and it tells whoever listens: windows subscribe to its
// signals, enable their items from its state and never refresh one another.
// It asks the user nothing: the windows show its dialogs and its notices.
class ContactsDocument : public QObject {
    Q_OBJECT

public:
    // The help documents are looked for in documentsFolder (the program
    // folder when none is given).
    explicit ContactsDocument(QString programFolder, QString documentsFolder = {},
                              QObject* parent = nullptr);

    const QString& programFolder() const { return programFolder_; }
    const QString& documentsFolder() const { return documentsFolder_; }
    // The open file, for reading. Writes go through the document's own calls.
    const ContactsFile& file() const { return file_; }

    bool hasFile() const { return !fileName_.isEmpty(); }
    const QString& fileName() const { return fileName_; }    // txtFileNam: full path, empty when none
    const QString& fileTitle() const { return fileTitle_; }  // txtFileTitle
    // "Tandor", or "Tandor  [" + title + "]" while a file is current.
    QString mainWindowTitle() const;

    // CurrentRecordNumber: the contact shown in the browser, 0 when none.
    int currentRecord() const { return currentRecord_; }
    void setCurrentRecord(int n);

    Reminders reminders() const { return reminders_; }
    // Whether a record written now takes "1": unless reminders are Off.
    bool remindersOn() const { return reminders_ != Reminders::Off; }

    // Writing contacts. A contact written while reminders are NotSet makes them
    // On, which is how the first contact saved into an empty file switches
    // reminders on. Failures throw AppError.
    //
    // Appends one contact and forces it onto the disk (cut back on failure,
    // see ContactsFile::appendFlushed); returns its number. With
    // Forcing::Later it is only written, and forced with whatever else was
    // written so at the next forceWrites() (a sync forces a batch of
    // contacts once, before it saves the links that name them).
    enum class Forcing { Now, Later };
    int appendContact(const ContactRecord& record, Forcing forcing = Forcing::Now);
    // Overwrites contact n and forces it onto the disk (or, Later, at the
    // next forceWrites()).
    void writeContact(int n, const ContactRecord& record, Forcing forcing = Forcing::Now);
    // Forces the contacts written with Forcing::Later since the last time
    // onto the disk; nothing when there are none.
    void forceWrites();
    // Deletes contact n with its compaction (ContactsFile::deleteRecord).
    void deleteContact(int n, const std::function<void()>& atConfirmation = {});
    // Appends many contacts in one pass (an import): `append` gets the file
    // and appends to it; the records it added are announced once, when it
    // returns or throws.
    template <typename Append>
    auto appendMany(Append&& append) {
        const Announce announce(*this, file_.isOpen() ? file_.recordCount() : 0);
        return append(file_);
    }
    // Closes and opens the current file again (the contact list does this
    // before it hands a contact to the browser); its records stay as they are.
    void reopen();

    // Enable / Disable Birthday Reminders: rewrite the setting in every record
    // of the current file and set reminders On or Off; returns what to tell the
    // user ("Birthday Reminders have been turned on." / "... off."). A failure
    // throws and leaves the reminders as they were.
    DocumentNotice switchReminders(bool on);

    // File New / File Open, in the steps the shell runs around its file dialog:
    // beginChoosing() hides the installer file (see hideInstallerFile), the
    // shell shows the dialog of fileRequest(), and openChosen() opens the file
    // chosen in it. A dialog cancelled changes nothing: a current file stays
    // open, and the installer file is given back its name at shut-down.
    // Failures throw AppError and leave no file current (the state of File
    // Close); the caller's error routine shows them.
    //
    // File New makes the file current with reminders On. At File Open the
    // birthday check runs for a file with at least one record, after the
    // document has announced the opening.
    using BirthdayCheck = std::function<void(ContactsDocument&)>;
    void beginChoosing();
    OpenFileRequest fileRequest(FileChoice choice) const;
    void openChosen(FileChoice choice, const QString& path,
                    const BirthdayCheck& birthdayCheck = {});
    // Opens the file at a path as File Open does once its dialog has chosen
    // it, with no birthday check (the batch tool): created empty when it does
    // not exist, unless it must exist (53 "File not found"). A failure throws
    // AppError and leaves no file current.
    void openPath(const QString& path, bool mustExist = false);
    // Opens the file named when the program starts (`tandor FILE.DAT`) as File
    // Open does once its dialog has chosen it, birthday check included. A
    // missing file is not made: 53 "File not found" (76 "Path not found"), as
    // the dialog accepts only a file that exists. A failure throws AppError
    // and leaves no file current.
    void fileOpenNamed(const QString& path, const BirthdayCheck& birthdayCheck = {});
    // File Close: no file current, reminders NotSet.
    void fileClose();

    // The installer's uninstall data file "unins000.DAT" carries the name
    // "unins000.DAK" while a contacts-file dialog is open.
    void hideInstallerFile();
    void restoreInstallerFile();

    // The display title of a file: its name without folder, every ".DAT" removed.
    static QString displayTitle(const QString& path);

signals:
    void opened();
    void closed();
    void recordsChanged(const tandor::RecordChange& change);
    // reminders() changed.
    void remindersChanged();
    void currentRecordChanged(int n);

private:
    // The tests take the file from under the windows, as a failing disk would.
    friend struct test::DocumentAccess;

    // Announces the records appended since it was made, however the append ends.
    class Announce {
    public:
        Announce(ContactsDocument& document, int before) : document_(document), before_(before) {}
        ~Announce() { document_.announceAppended(before_); }
        Announce(const Announce&) = delete;
        Announce& operator=(const Announce&) = delete;

    private:
        ContactsDocument& document_;
        int before_;
    };

    void announceAppended(int countBefore);
    void contactWritten();
    void makeCurrent(const QString& path, bool mustExist);
    void setReminders(Reminders reminders);
    void setRemindersFromFile();
    void abandonOpening();

    QString programFolder_;
    QString documentsFolder_;
    ContactsFile file_;
    QString fileName_;
    QString fileTitle_;
    int currentRecord_ = 0;
    Reminders reminders_ = Reminders::NotSet;
    bool unforced_ = false;  // contacts written with Forcing::Later since forceWrites()
};

}  // namespace tandor
