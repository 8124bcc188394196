#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>

namespace tandor {

// The nineteen data fields of a contact, in record order.
enum class Field {
    FName,
    MiddleInit,
    LName,
    FStreet,
    SStreet,
    City,
    State,
    Zip,
    Country,
    HPhone,
    CPhone,
    WPhone,
    Email,
    Birthdate,
    Category,
    Notes,
    Company,
    IncludeCompany,
    BirthdayReminder,
};

inline constexpr int kFieldCount = 19;
inline constexpr int kRecordSize = 513;

struct FieldLayout {
    Field field;
    const char* name;  // "FName", "MiddleInit", ...
    int offset;        // byte offset in the record
    int width;         // bytes
};

// The record layout: 19 data fields, each followed by a "|" separator except
// the last, which is followed by the CR LF terminator at bytes 511-512.
const std::array<FieldLayout, kFieldCount>& recordLayout();
const FieldLayout& layoutOf(Field field);

// The values of one contact as text, indexed by Field.
struct ContactFields {
    std::array<QString, kFieldCount> values;

    QString& operator[](Field f) { return values[static_cast<int>(f)]; }
    const QString& operator[](Field f) const { return values[static_cast<int>(f)]; }
    bool operator==(const ContactFields&) const = default;
};

// One 513-byte contact record, byte for byte. Every record is built through
// setField()/build(), so the 18 separators always hold "|" and the terminator
// CR LF.
//
// Writing rule: leading spaces are removed, the text is stored in
// Windows-1252 (a character it cannot hold becomes "?"), then cut to the field
// width or padded with spaces. Reading rule: leading and trailing spaces are
// removed.
class ContactRecord {
public:
    ContactRecord();  // every field blank

    // The one routine that lays out a record from field values. It never makes
    // a record marked for deletion: a first name that begins with "*DELETED*"
    // is stored without its first "*".
    static ContactRecord build(const ContactFields& fields);
    // A record from stored bytes; fewer than 513 bytes (the partial last
    // record of a damaged file) are padded with blanks.
    static ContactRecord fromBytes(QByteArrayView bytes);

    QString field(Field f) const;     // trimmed
    QString rawField(Field f) const;  // at its full width, trailing spaces included
    void setField(Field f, const QString& value);
    ContactFields fields() const;     // every field trimmed

    const QByteArray& bytes() const { return bytes_; }
    // A record whose FName begins with "*DELETED*" is marked for deletion.
    bool isMarkedDeleted() const;

    bool operator==(const ContactRecord&) const = default;

private:
    QByteArray bytes_;
};

inline constexpr char kDeletedMark[] = "*DELETED*";

// Removes leading and trailing spaces (only the space character).
QString trimSpaces(const QString& text);

// The stored YYYYMMDD birth date as windows show it: "MM/DD/YYYY", or an empty
// text when the stored value's leading number is not greater than 1 (8 spaces).
QString birthdateForDisplay(const QString& stored);

}  // namespace tandor
