#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <optional>
#include <utility>

namespace tandor {

// The content lines of a vCard: how a line is unfolded, what its name,
// parameters and value are, and how a value's escapes are read and written.
// The import (VcardReader) reads its cards with it and the sync's card merge
// edits cards line by line with it.

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

// Reads the logical lines of a vCard file, for versions 2.1, 3.0 and 4.0:
// lines end at CR LF, CR or LF; a line that begins with a space or a tab
// continues the one before (the line break and that one character go);
// a quoted-printable value that ends with "=" continues on the next line (up
// to an empty line). A line may be folded anywhere, before its ":" too. Empty
// lines are passed over. The values of photos, logos, sounds and keys are
// passed over without being kept, as are, while base64Lines is set (a vCard
// 2.1 card), the unindented lines of their inline BASE64 data (up to an empty
// line or a line with a ":" or another character base64 does not write).
//
// A line keeps at most kMaxLineBytes bytes (the rest of it is read and
// dropped). A file that begins with a UTF-16 byte-order mark is read as
// UTF-16; a UTF-8 byte-order mark is passed over. Read failures throw
// AppError 57.
class VcardLineReader {
public:
    static constexpr qsizetype kMaxLineBytes = 64 * 1024;

    // The device must be open for reading.
    explicit VcardLineReader(QIODevice& device) : device_(device) {}

    // The next logical line, unfolded and without its line end; false at the
    // end of the file.
    bool next(QByteArray& line);
    // Whether unindented base64 lines go on a binary value (vCard 2.1).
    void setBase64Lines(bool on) { base64Lines_ = on; }
    // With keepBytes on, the bytes read are kept as they came (folds, line
    // ends, empty lines and binary data included) until takeBytes.
    void setKeepBytes(bool on) { keepBytes_ = on; }
    QByteArray takeBytes() { return std::exchange(kept_, QByteArray()); }

private:
    bool fill();
    int peekByte();
    bool readPhysical(QByteArray& line, qsizetype limit);

    QIODevice& device_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    bool deviceDone_ = false;
    bool started_ = false;
    std::optional<QStringDecoder> utf16_;    // set for a UTF-16 file
    std::optional<QByteArray> pendingLine_;  // a line read ahead and given back
    QByteArray pendingBytes_;                // its bytes as they came
    bool base64Lines_ = true;
    bool keepBytes_ = false;
    QByteArray kept_;
};

// Reads a logical line as a property: name, parameters and the value (decoded
// only when `decodeValue` is set). Returns false for a line that is no
// property. `knownName`, when set, is the property's name in upper case.
bool readVcardProperty(QByteArrayView line, VcardProperty& property, bool decodeValue = true,
                       const QByteArray* knownName = nullptr);

// Where a line's value begins: the position of the ":" after its name and
// parameters (a ":" inside a quoted parameter value does not count), or -1.
qsizetype vcardValueColon(QByteArrayView line);
// The property name of a line without its group: "ADR" of "item1.ADR;TYPE=HOME:".
QByteArrayView vcardLineName(QByteArrayView line);
// Whether `text` is `upper` (written in upper case) in any case of ASCII.
bool vcardIsAnyCase(QByteArrayView text, QByteArrayView upper);
char vcardAsciiUpper(char c);
bool vcardIsAscii(QByteArrayView bytes);

// A value split at the separator where it is not escaped; the escapes stay
// in the parts.
QStringList vcardSplit(const QString& value, QChar separator);
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
