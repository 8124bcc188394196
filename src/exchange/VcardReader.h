#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QSet>
#include <optional>
#include <vector>

#include "exchange/VcardLine.h"

namespace tandor {

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

// Reads the cards of a vCard file one at a time, its lines read as
// VcardLineReader reads them (VcardLine.h). The card of an agent that vCard
// 2.1 nests after an empty "AGENT:" line is passed over.
//
// Bad input is read as far as it goes: text outside BEGIN:VCARD and END:VCARD
// is passed over, a line that is no property is passed over, a card that
// never ends stops at the next BEGIN:VCARD or at the end of the file (it is
// returned with `ended` false), a line keeps at most kMaxLineBytes bytes (the
// rest of it is read and dropped) and a card at most kMaxProperties
// properties. Memory does not grow with the file. Read failures throw
// AppError 57.
class VcardReader {
public:
    static constexpr qsizetype kMaxLineBytes = VcardLineReader::kMaxLineBytes;
    static constexpr int kMaxProperties = 1000;

    // Keeps only the properties named in `keep` (upper case), every property
    // when it is empty. The device must be open for reading.
    explicit VcardReader(QIODevice& device, QSet<QByteArray> keep = {});

    // The next card, or nothing at the end of the file.
    std::optional<VcardCard> next();

private:
    // The entry of keep_ that a property name is in any case, or null.
    const QByteArray* kept(QByteArrayView name) const;

    VcardLineReader lines_;
    QSet<QByteArray> keep_;
    bool beginPending_ = false;  // a BEGIN:VCARD ended the card before
};

}  // namespace tandor
