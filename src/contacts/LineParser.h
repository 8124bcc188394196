#pragma once

#include <QString>
#include <array>

#include "contacts/ContactEntry.h"

namespace tandor {

// The boxes of the new-contact form that Add Contact fills from the main
// window's label lines, in the order they are filled.
enum class ParsedBox { FName, MiddleInit, LName, FStreet, SStreet, City, State, Zip };
inline constexpr int kParsedBoxCount = 8;
inline constexpr std::array<ParsedBox, kParsedBoxCount> kParsedBoxes = {
    ParsedBox::FName,   ParsedBox::MiddleInit, ParsedBox::LName, ParsedBox::FStreet,
    ParsedBox::SStreet, ParsedBox::City,       ParsedBox::State, ParsedBox::Zip,
};

// "FName", "MiddleInit", "LName", "FStreet", "SStreet", "City", "State", "Zip".
QString parsedBoxName(ParsedBox box);
EntryBox entryBoxOf(ParsedBox box);

// What the parse writes into one box. A box it does not reach is not written
// and keeps the text the form already has.
struct ParsedText {
    bool written = false;
    QString text;

    bool operator==(const ParsedText&) const = default;
};

inline const QString kLineOneNeedsSpaceText = QStringLiteral("Line 1 must contain a space.");

struct LabelLinesParse {
    // Line 1 without any space: nothing is written and the form is not shown;
    // the window beeps and shows kLineOneNeedsSpaceText titled "Incorrect entry".
    bool refused = false;
    std::array<ParsedText, kParsedBoxCount> boxes;

    const ParsedText& operator[](ParsedBox box) const { return boxes[static_cast<int>(box)]; }
    ParsedText& operator[](ParsedBox box) { return boxes[static_cast<int>(box)]; }

    // Writes the parsed texts into the form's boxes; the others keep their text.
    void applyTo(ContactEntry& form) const;
};

// Splits the main window's lines (txtLMLine1 .. txtLMLine5) into name, street,
// second street line, city, state and ZIP code, by a fixed sequence of text
// tests. Line 5 only counts for the test "all five lines empty" (nothing is
// written, the form is shown). Never fails: a length the rules would make
// negative leaves that box empty.
LabelLinesParse parseLabelLines(const std::array<QString, 5>& lines);

// The Add Contact handler's parse: fills the form's boxes and returns true when
// the form is to be shown; false on a refusal, with the form untouched (the
// window then beeps and shows kLineOneNeedsSpaceText).
bool fillFormFromLabelLines(const std::array<QString, 5>& lines, ContactEntry& form);

}  // namespace tandor
