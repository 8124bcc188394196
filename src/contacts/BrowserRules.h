#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace tandor {

class ContactRecord;
class ContactsFile;

// One item of the browser's find list: "First I Last" (two spaces when there
// is no initial) and the record number it stands for.
struct FindListItem {
    QString text;
    int recordNumber = 0;

    bool operator==(const FindListItem&) const = default;
};

// The find-list text of a stored contact: trimmed first name + " " + trimmed
// initial + " " + trimmed last name.
QString findListText(const ContactRecord& record);

// Records 1..count of the open file as find-list items, sorted by their text
// case-insensitively; items with the same text keep record order.
std::vector<FindListItem> findListItems(const ContactsFile& file);

// The four stepping buttons of the browser.
enum class BrowserStep { First, Previous, Next, Last };

// A message box of the browser (OK, no icon).
struct BrowserMessage {
    QString text;
    QString title;

    bool operator==(const BrowserMessage&) const = default;
};

// What a stepping button does from record `current` (0: none shown yet) in a
// file of `count` records: the record to show, which becomes the current
// record (0: nothing is shown and the current record stays), or the message
// that says why it cannot step.
struct StepOutcome {
    int show = 0;
    std::optional<BrowserMessage> message;

    bool operator==(const StepOutcome&) const = default;
};
StepOutcome stepOutcome(BrowserStep step, int current, int count);

inline const QString kEndOfFileText = QStringLiteral("End of file.");
inline const QString kEndOfFileTitle = QStringLiteral("No more contacts");
inline const QString kBeginningOfFileText = QStringLiteral("Beginning of file.");
inline const QString kBeginningOfFileTitle = QStringLiteral("Start of file reached");

inline const QString kDeleteQuestionText = QStringLiteral(
    "WARNING!  This will delete entire contact from your file.\n"
    "Do you REALLY want to delete this contact?");
inline const QString kDeleteQuestionTitle = QStringLiteral("Confirm deletion.");
inline const QString kNothingDeletedText = QStringLiteral("Nothing deleted...");
inline const QString kNothingDeletedTitle = QStringLiteral("Deletion not performed.");
inline const QString kContactDeletedText = QStringLiteral("Contact deleted!");
inline const QString kContactDeletedTitle = QStringLiteral("Contact deleted.");

inline const QString kSavedText = QStringLiteral("S A V E D");
inline const QString kContactSavedTitle = QStringLiteral("Contact saved to file");  // new contact
inline const QString kChangesSavedTitle = QStringLiteral("Changes saved");          // browser

// Leaving a contact whose typed changes are not saved (stepping to another
// record, Close, Escape, the title-bar button) asks first: Yes saves (and
// stays when the save refuses), No discards, Cancel stays.
inline const QString kNotSavedTitle = QStringLiteral("Contact not saved");
inline const QString kUnsavedNewContactText =
    QStringLiteral("This contact has not been saved to the file.  Save it now?");
inline const QString kUnsavedChangesText =
    QStringLiteral("The changes to this contact have not been saved.  Save them now?");

inline const QString kSelectContactText = QStringLiteral("Select Contact");

}  // namespace tandor
