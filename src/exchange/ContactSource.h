#pragma once

#include <QIODevice>
#include <QString>
#include <memory>
#include <optional>

#include "exchange/ImportLayouts.h"
#include "store/ContactRecord.h"

namespace tandor {

// One contact, or what stood in its place, as a source read it from a file.
struct SourceItem {
    enum class Kind {
        Contact,          // `values` holds the contact as the format reads it
        SkippedByLayout,  // a line the layout's own tests leave out
        Unreadable,       // a contact the file holds but that could not be read
    };
    Kind kind = Kind::Contact;
    ContactFields values;
};

// The reading of one file format: it turns the file into contacts, each with
// its values taken (not yet cleaned). The import run (ImportRun.h) feeds every
// contact through the same intake: the cleaning rules the source names, the
// test for a name, the duplicate test, the counts and the writing. A new format
// is a new source and a line in openContactSource().
class ContactSource {
public:
    virtual ~ContactSource() = default;

    // Reads the start of the file and names the format (or the CSV layout) it
    // has; nothing when the file has none that the import knows.
    virtual std::optional<QString> recognise() = 0;
    // Gets ready to read the contacts; false when the file cannot be imported
    // ("CSV file not compatible with import function.").
    virtual bool prepare() = 0;
    // The next contact, or nothing at the end of the file.
    virtual std::optional<SourceItem> next() = 0;

    // The cleaning rules for the values read, known once recognised.
    virtual const CleaningRules& cleaning() const = 0;
    // Whether a contact with no first name, no last name and no company is
    // left out.
    virtual bool needsName() const = 0;
};

// The CSV layouts.
std::unique_ptr<ContactSource> csvSource(QIODevice& device);

// The source for a file's content: a vCard file (its first text is
// "BEGIN:VCARD", in any case) or else a CSV file. The device must be open for
// reading and able to seek back to its start.
std::unique_ptr<ContactSource> openContactSource(QIODevice& device);

}  // namespace tandor
