#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringDecoder>
#include <optional>
#include <vector>

namespace tandor {

// One property of a card: "item1.TEL;TYPE=HOME,VOICE;PREF=1:+1 555 1234".
struct VcardProperty {
    QByteArray group;  // "ITEM1", in upper case; empty when there is none
    QByteArray name;   // "TEL", in upper case
    // The parameters in the order written, names in upper case, quotes taken
    // off their values. A parameter without a name ("HOME" in vCard 2.1) is
    // a TYPE, or an ENCODING when it names one (QUOTED-PRINTABLE, BASE64).
    QList<QPair<QByteArray, QByteArray>> params;
    // The value as text: quoted-printable decoded, then read in its CHARSET
    // (UTF-8 when the bytes are valid UTF-8, else Windows-1252, when it names
    // none). The backslash escapes are still in it: they are taken out once
    // the value is split into its components (vcardComponents, vcardText).
    QString value;

    // Whether one of its types is `type` (any case): TYPE=HOME,WORK,
    // TYPE=home;TYPE=pref, TYPE="work,voice" and a bare HOME all count.
    bool hasType(const char* type) const;
    // How much the card prefers it: PREF=n gives n, a type PREF gives 1,
    // anything else a number above every PREF.
    int preference() const;
    // The value of a parameter (the first of that name), empty when none.
    QByteArray param(const char* name) const;
};

struct VcardCard {
    QByteArray version;                     // as written ("2.1", "3.0", "4.0"); empty when missing
    std::vector<VcardProperty> properties;  // those the reader keeps, in order
    int propertyLines = 0;                  // the lines read as properties (VERSION included)
    bool ended = false;                     // END:VCARD closed it

    // Whether the card can be read: it holds at least one property line and
    // names no version other than 2.1, 3.0 and 4.0.
    bool readable() const;
};

// Whether a file is a vCard file: its first text, after a byte-order mark and
// white space, is the line "BEGIN:VCARD" in any case. The device is left where
// it was.
bool isVcard(QIODevice& device);

// Reads the cards of a vCard file one at a time, for versions 2.1, 3.0 and
// 4.0: lines end at CR LF, CR or LF; a line that begins with a space or a tab
// continues the one before (the line break and that one character go);
// a quoted-printable value that ends with "=" continues on the next line (up
// to an empty line). A line may be folded anywhere, before its ":" too. The
// values of photos, logos, sounds and keys are passed over without being kept
// or decoded, as are, in a vCard 2.1 card, the unindented lines of their
// inline BASE64 data (up to an empty line or a line with a ":" or another
// character base64 does not write).
// The card of an agent that vCard 2.1 nests after an empty "AGENT:" line is
// passed over.
//
// Bad input is read as far as it goes: text outside BEGIN:VCARD and END:VCARD
// is passed over, a line that is no property is passed over, a card that
// never ends stops at the next BEGIN:VCARD or at the end of the file (it is
// returned with `ended` false), a line keeps at most kMaxLineBytes bytes (the
// rest of it is read and dropped) and a card at most kMaxProperties
// properties. Memory does not grow with the file.
//
// A file that begins with a UTF-16 byte-order mark is read as UTF-16; a
// UTF-8 byte-order mark is passed over. Read failures throw AppError 57.
class VcardReader {
public:
    static constexpr qsizetype kMaxLineBytes = 64 * 1024;
    static constexpr int kMaxProperties = 1000;

    // Keeps only the properties named in `keep` (upper case), every property
    // when it is empty. The device must be open for reading.
    explicit VcardReader(QIODevice& device, QSet<QByteArray> keep = {});

    // The next card, or nothing at the end of the file.
    std::optional<VcardCard> next();

private:
    bool fill();
    int peekByte();
    bool readPhysical(QByteArray& line, qsizetype limit);
    bool readLogical(QByteArray& line);
    // The entry of keep_ that a property name is in any case, or null.
    const QByteArray* kept(QByteArrayView name) const;

    QIODevice& device_;
    QSet<QByteArray> keep_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    bool deviceDone_ = false;
    bool started_ = false;
    std::optional<QStringDecoder> utf16_;    // set for a UTF-16 file
    std::optional<QByteArray> pendingLine_;  // a line read ahead and given back
    bool beginPending_ = false;              // a BEGIN:VCARD ended the card before
    bool base64Lines_ = true;                // the card is of vCard 2.1 (or names no version)
};

// The components of a structured value (N, ADR, ORG) split at the semicolons
// that are not escaped, each with its escapes taken out.
QStringList vcardComponents(const QString& value);
// The components of a structured value, each split into its values at the
// commas that are not escaped (vCard 3.0 and 4.0 write the lines of an ADR's
// street so: "12 Oak Lane,Apt 5"), each with its escapes taken out.
QList<QStringList> vcardComponentLists(const QString& value);
// The items of a list value (CATEGORIES) split at the commas that are not
// escaped, each with its escapes taken out.
QStringList vcardListItems(const QString& value);
// A text value with its escapes taken out: \n and \N are line breaks, \, \;
// \: and \\ the character itself; another backslash stays as it is.
QString vcardText(const QString& value);

// A text value escaped for writing: \ , ; and line breaks.
QString vcardEscaped(const QString& text);

}  // namespace tandor
