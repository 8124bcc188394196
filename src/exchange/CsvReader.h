#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <optional>

namespace tandor {

// How the bytes of an imported file are turned into text.
enum class CsvEncoding {
    Utf8,         // valid UTF-8, with or without a byte-order mark
    Utf16LE,      // byte-order mark FF FE
    Utf16BE,      // byte-order mark FE FF
    Windows1252,  // anything that is not valid UTF-8
};

// Which encoding a file is read in: a UTF-16 byte-order mark decides at once;
// otherwise the bytes (after a UTF-8 byte-order mark, if any) are read through
// once and are UTF-8 when every sequence is well formed, else Windows-1252.
// The device is left at its start. Returns the encoding and the length of the
// byte-order mark.
struct DetectedEncoding {
    CsvEncoding encoding = CsvEncoding::Windows1252;
    int bomLength = 0;
};
DetectedEncoding detectEncoding(QIODevice& device);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing past U+10FFFF, no sequence cut short at the end).
bool isValidUtf8(QByteArrayView bytes);

// Reads a comma-separated file record by record, as RFC 4180 describes it:
// values are separated by commas, a record ends at a carriage return, a
// carriage return and line feed, or a line feed; a value that begins with a
// double quote runs to the matching quote, and commas and line breaks inside
// it belong to the value; "" inside such a value is one quote. The reader is
// lenient where files break the rules: a quote inside an unquoted value is an
// ordinary character, and text after a closing quote is added to the value.
// A quote that never closes (the file ends inside the value, or the value
// grows past kMaxRecordChars characters) is an ordinary character too: the
// text after it is read again as unquoted, so a stray quote costs no records,
// and from there to the end of the file every quote is an ordinary character
// (which keeps the reading of a broken file linear).
//
// The file is read in blocks and decoded as it goes, so memory does not grow
// with the file. One record holds at most kMaxRecordChars characters: past
// that (a binary file) the rest of the record's text is dropped until the
// record ends.
//
// The separator is the comma unless the reader is told another (the ";" of
// European exports, see separatorOfHeader).
//
// Read failures throw AppError 57 "Device I/O error".
class CsvReader {
public:
    static constexpr qsizetype kMaxRecordChars = 1 << 20;

    // The device must be open for reading and able to seek back to its start
    // (a file or a buffer); the encoding is detected before the first record.
    explicit CsvReader(QIODevice& device);

    CsvEncoding encoding() const { return encoding_; }
    QChar separator() const { return separator_; }
    // The next record's values (at least one, possibly empty), or nothing at
    // the end of the file. An empty line is a record of one empty value.
    std::optional<QStringList> next();
    // Goes back to the first record, reading from now on with the separator.
    void restart(QChar separator);

private:
    bool fillText();
    void endValue();

    QIODevice& device_;
    CsvEncoding encoding_;
    int bomLength_ = 0;
    QChar separator_ = u',';
    QStringDecoder decoder_;
    QString text_;
    qsizetype pos_ = 0;
    bool deviceDone_ = false;
    bool skipLineFeed_ = false;  // the last record ended at a carriage return

    // The record being read.
    QStringList values_;
    QString value_;
    qsizetype recordChars_ = 0;
    // The text read since the opening quote of the value being read, kept
    // until the quote closes so that an unclosed one can be read again.
    QString quoted_;
    qsizetype charsBeforeQuote_ = 0;
    bool quotesOff_ = false;  // a quote was found unclosed
};

// The separator a file's first record shows, given that record as read with
// commas: ";" when its values hold more semicolons than there were commas
// between them, else ",".
QChar separatorOfHeader(const QStringList& readWithCommas);

}  // namespace tandor
