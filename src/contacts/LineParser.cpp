#include "contacts/LineParser.h"

#include <initializer_list>
#include <vector>

#include "platform/Ansi.h"

namespace tandor {
namespace {

// Text functions with positions counted from 1. A length of 0 or less gives
// an empty text, so a rule that would take a negative number of characters
// leaves its field empty.

// Position of the first occurrence of `what` at or after `start`; 0 when absent
// or when start lies past the end of the text.
int inStr(int start, const QString& text, const QString& what,
          Qt::CaseSensitivity cs = Qt::CaseSensitive) {
    start = std::max(start, 1);
    if (start > text.size()) {
        return 0;
    }
    const qsizetype at = text.indexOf(what, start - 1, cs);
    return at < 0 ? 0 : static_cast<int>(at) + 1;
}

QString leftOf(const QString& text, qsizetype n) {
    return n <= 0 ? QString() : text.left(n);
}

QString rightOf(const QString& text, qsizetype n) {
    return n <= 0 ? QString() : text.right(n);
}

// Characters from `start` on, at most `length` of them (all when length < 0).
QString midOf(const QString& text, qsizetype start, qsizetype length = -1) {
    if (start < 1 || start > text.size() || length == 0) {
        return {};
    }
    return length < 0 ? text.mid(start - 1) : text.mid(start - 1, length);
}

QString withoutLeadingSpaces(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ') {
        ++i;
    }
    return text.mid(i);
}

bool containsAny(const QString& text, std::initializer_list<const char*> parts) {
    for (const char* part : parts) {
        if (text.contains(QLatin1String(part))) {
            return true;
        }
    }
    return false;
}

// One street-type group: the texts that detect it (case-sensitive, each with
// its start position) and the key text whose position, found case-insensitively
// from keyStart, tells how much of the line is the street: position + n
// characters.
struct Detection {
    const char* text;
    int start;
};
struct StreetType {
    std::vector<Detection> detections;
    const char* key;
    int keyStart;
    int n;
};

const std::vector<StreetType>& streetTypes() {
    // clang-format off
    static const std::vector<StreetType> table = {
        {{{" AVE.", 1}, {" Ave.", 7}, {" ave ", 1}, {" ave. ", 1}}, " Ave", 1, 4},
        {{{" AVENUE", 1}, {" Avenue", 1}, {" avenue", 1}}, " Avenue", 1, 7},
        {{{" ST.", 1}, {" St.", 1}, {" st ", 1}, {" st. ", 1}}, " st", 1, 3},
        {{{" STREET", 1}, {" Street", 1}, {" street", 1}}, " Street", 1, 7},
        {{{" BLVD.", 1}, {" Blvd.", 1}, {" blvd ", 1}, {" blvd. ", 1}, {" Blvd", 1}, {" blvd", 1}},
         " blvd ", 6, 5},
        {{{" BOULEVARD", 1}, {" Boulevard", 1}, {" boulevard", 1}}, " Boulevard", 6, 10},
        {{{" CIR.", 1}, {" Cir.", 1}, {" cir ", 1}, {" cir. ", 1}}, " Cir ", 6, 4},
        {{{" CIRCLE", 1}, {" Circle", 1}, {" circle", 1}}, " Circle", 6, 7},
        {{{" CT.", 1}, {" Ct.", 1}, {" ct ", 1}, {" ct.", 1}, {" CT", 1}}, " Ct ", 6, 3},
        {{{" COURT", 1}, {" Court", 1}, {" court", 1}}, " Court", 6, 6},
        {{{" DR.", 1}, {" Dr.", 1}, {" Dr ", 1}, {" dr ", 1}, {" dr.", 1}, {" DR ", 1}},
         " Dr", 6, 3},
        {{{" DRIVE", 1}, {" Drive", 1}, {" drive", 1}}, " Drive", 1, 6},
        {{{" HWY.", 1}, {" Hwy.", 1}, {" hwy ", 1}, {" hwy.", 1}, {" HWY", 1}}, " Hwy", 6, 4},
        {{{" HIGHWAY", 1}, {" Highway", 1}, {" highway", 1}}, " Highway", 6, 8},
        {{{" LN.", 1}, {" Ln.", 1}, {" ln ", 1}, {" ln.", 1}, {" LN", 1}}, " Ln ", 6, 3},
        {{{" LANE", 1}, {" Lane", 1}, {" lane", 1}}, " Lane", 6, 5},
        {{{" PKWY.", 1}, {" Pkwy.", 1}, {" pkwy ", 1}, {" pkwy.", 1}, {" PKWY", 1}}, " Pkwy", 6, 5},
        {{{" PARKWAY", 1}, {" Parkway", 1}, {" parkway", 1}}, " Parkway", 6, 8},
        {{{" PL.", 1}, {" Pl.", 1}, {" pl ", 1}, {" pl.", 1}, {" PL ", 1}}, " Pl ", 6, 3},
        {{{" PLACE", 1}, {" Place", 1}, {" place", 1}}, " Place", 6, 6},
        {{{" Rd", 1}, {" Rd.", 1}, {" RD.", 1}, {" rd ", 1}, {" rd.", 1}, {" RD", 1}}, " Rd", 6, 3},
        {{{" ROAD", 1}, {" Road", 1}, {" road", 1}}, " Road", 1, 5},
        {{{" TER.", 1}, {" Ter.", 1}, {" ter ", 1}, {" ter.", 1}, {" TER ", 1}}, " Ter ", 6, 4},
        {{{" TERRACE", 1}, {" Terrace", 1}, {" terrace", 1}}, " Terrace", 6, 8},
        {{{" WAY", 8}, {" Way", 8}, {" way", 8}}, " Way", 6, 4},
    };
    // clang-format on
    return table;
}

const StreetType* firstStreetType(const QString& line) {
    for (const StreetType& type : streetTypes()) {
        for (const Detection& d : type.detections) {
            if (inStr(d.start, line, QLatin1String(d.text)) > 0) {
                return &type;
            }
        }
    }
    return nullptr;
}

void write(LabelLinesParse& out, ParsedBox box, const QString& text) {
    out[box] = ParsedText{true, text};
}

// Line 1: first name, middle initial and last name.
void parseNameLine(const QString& line1, LabelLinesParse& out) {
    QString name = leftOf(line1, 18);
    for (const char* title : {"Mrs.", "Mr.", "Ms.", "Dr.", "Miss "}) {
        name.remove(QLatin1String(title));
    }
    if (leftOf(name, 3) == QLatin1String("Mrs")) {
        name.remove(QLatin1String("Mrs"));
    }
    if (leftOf(name, 5) == QLatin1String("Miss ")) {
        name.remove(QLatin1String("Miss"));
    }
    if (leftOf(name, 2) == QLatin1String("Mr")) {
        name.remove(QLatin1String("Mr"));
    }
    if (leftOf(name, 2) == QLatin1String("Ms")) {
        name.remove(QLatin1String("Ms"));
    }
    if (leftOf(name, 3) == QLatin1String("Dr ")) {
        name.remove(QLatin1String("Dr"));
    }
    name = withoutLeadingSpaces(name);

    // A name part without a space has no first name.
    const QString first = trimSpaces(leftOf(name, inStr(1, name, QStringLiteral(" ")) - 1));
    write(out, ParsedBox::FName, first);

    // The initial: a single character between spaces (a full stop may follow
    // it), found from position 3; the characters between "Z" and "a" make it
    // empty, and the last hit in character order wins.
    const QString full = trimSpaces(line1);
    QString initial;
    for (char16_t code = 65; code <= 122; ++code) {
        const QChar x(code);
        const QString withStop = QLatin1Char(' ') + x + QStringLiteral(". ");
        const QString bare = QLatin1Char(' ') + x + QLatin1Char(' ');
        if (inStr(3, full, withStop) > 0 || inStr(3, full, bare) > 0) {
            initial = (code >= 91 && code <= 96) ? QString() : QString(x);
        }
    }
    write(out, ParsedBox::MiddleInit, initial);

    // The last name by character count from the right of the full line.
    QString last = rightOf(full, full.size() - first.size() - initial.size());
    last.remove(QLatin1Char('.'));
    if (midOf(last, 2, 1) == QLatin1String(" ")) {
        last = midOf(last, 3);
    }
    write(out, ParsedBox::LName, trimSpaces(last));
}

// Line 2: the street. Returns false when line 2 is empty or is not a street,
// which ends the address parse. `rest` receives what follows the street.
bool parseStreetLine(const QString& line2, LabelLinesParse& out, QString& rest) {
    const QString typed = trimSpaces(line2);
    if (typed.isEmpty()) {
        return false;
    }
    QString line = typed;
    line.remove(QLatin1Char('.'));
    const bool startsWithDigit = !line.isEmpty() && line[0] >= u'0' && line[0] <= u'9';
    if (!(leftOf(line, 6) == QLatin1String("P.O. B") || leftOf(line, 4) == QLatin1String("PO B") ||
          startsWithDigit)) {
        return false;
    }

    QString kept;
    if (line.contains(QLatin1Char(','))) {
        kept = leftOf(line, inStr(6, line, QStringLiteral(",")) - 1);
    } else if (const StreetType* type = firstStreetType(line)) {
        // A key ending in a space also matches its word at the end of the
        // line, so a street ending in "Blvd", "CT" or "LN" is kept whole.
        const int p = inStr(type->keyStart, line + QLatin1Char(' '), QLatin1String(type->key),
                            Qt::CaseInsensitive);
        kept = leftOf(line, p + type->n);
    } else if (line.contains(QLatin1String(" #")) &&
               !(inStr(10, line, QStringLiteral(" APT")) > 0 &&
                 inStr(10, line, QStringLiteral(" Apt")) > 0 &&
                 inStr(10, line, QStringLiteral(" apt")) > 0)) {
        kept = leftOf(line, inStr(6, line, QStringLiteral("#")) - 2);
    } else {
        kept = line;
    }
    const QString street = trimSpaces(kept);
    write(out, ParsedBox::FStreet, street);

    rest = rightOf(typed, typed.size() - street.size());
    rest.remove(QLatin1Char(','));
    rest.remove(QLatin1Char('.'));
    rest = trimSpaces(rest);
    if (!rest.isEmpty() && midOf(rest, 2, 1) == QLatin1String(" ") && rest[0] != u'#' &&
        !street.isEmpty() && rest[0] == street.back()) {
        rest = midOf(rest, 3, 12);
    }
    return true;
}

// Lines 3 and 4: the second street line, then city, state and ZIP code.
void parseCityLines(const QString& line3, const QString& line4, const QString& rest,
                    LabelLinesParse& out) {
    const bool secondStreetLine =
        containsAny(line3, {"#", "SUITE", "STE", "UNIT", "APT", "Suite", "Ste", "Unit", "Apt"}) &&
        rest.isEmpty() && line3.size() < 12;
    QString cityLine;
    if (secondStreetLine) {
        write(out, ParsedBox::SStreet, trimSpaces(line3));
        cityLine = line4;
    } else {
        write(out, ParsedBox::SStreet, rest);
        cityLine = line3;
    }

    const QString head = leftOf(cityLine, 16);
    if (head.size() < 12) {
        return;
    }
    const QString city = head.contains(QLatin1Char(','))
                             ? leftOf(head, inStr(3, head, QStringLiteral(",")) - 1)
                             : leftOf(head, inStr(5, head, QStringLiteral(" ")) - 1);
    write(out, ParsedBox::City, trimSpaces(city));

    const QString tail15 = rightOf(cityLine, 15);
    const QString state = tail15.contains(QLatin1Char(','))
                              ? midOf(tail15, inStr(1, tail15, QStringLiteral(",")) + 2, 2)
                              : midOf(tail15, inStr(1, tail15, QStringLiteral(" ")) + 1, 2);
    write(out, ParsedBox::State, trimSpaces(state));

    // A ZIP+4 code keeps all ten characters.
    const QString tail10 = rightOf(cityLine, 10);
    const QString zip = tail10.contains(QLatin1Char('-')) ? tail10 : rightOf(tail10, 5);
    write(out, ParsedBox::Zip, trimSpaces(zip));
}

}  // namespace

QString parsedBoxName(ParsedBox box) {
    static const char* const names[kParsedBoxCount] = {"FName",   "MiddleInit", "LName", "FStreet",
                                                       "SStreet", "City",       "State", "Zip"};
    return QString::fromLatin1(names[static_cast<int>(box)]);
}

EntryBox entryBoxOf(ParsedBox box) {
    switch (box) {
        case ParsedBox::FName:
            return EntryBox::FName;
        case ParsedBox::MiddleInit:
            return EntryBox::MiddleInit;
        case ParsedBox::LName:
            return EntryBox::LName;
        case ParsedBox::FStreet:
            return EntryBox::FStreet;
        case ParsedBox::SStreet:
            return EntryBox::SStreet;
        case ParsedBox::City:
            return EntryBox::City;
        case ParsedBox::State:
            return EntryBox::State;
        case ParsedBox::Zip:
            return EntryBox::Zip;
    }
    return EntryBox::None;
}

void LabelLinesParse::applyTo(ContactEntry& form) const {
    for (ParsedBox box : kParsedBoxes) {
        if ((*this)[box].written) {
            form.text(entryBoxOf(box)) = (*this)[box].text;
        }
    }
}

LabelLinesParse parseLabelLines(const std::array<QString, 5>& typedLines) {
    // A TAB or line break pasted into a line counts as a space.
    std::array<QString, 5> lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lines[i] = controlsAsSpaces(typedLines[i]);
    }
    LabelLinesParse out;
    bool allEmpty = true;
    for (const QString& line : lines) {
        allEmpty = allEmpty && line.isEmpty();
    }
    if (allEmpty) {
        return out;
    }
    // Line 1 is checked before anything is written, so a refusal leaves the form untouched.
    const QString& line1 = lines[0];
    if (!line1.isEmpty()) {
        if (!line1.contains(QLatin1Char(' '))) {
            out.refused = true;
            return out;
        }
        parseNameLine(line1, out);
    }
    QString rest;
    if (parseStreetLine(lines[1], out, rest)) {
        parseCityLines(lines[2], lines[3], rest, out);
    }
    return out;
}

bool fillFormFromLabelLines(const std::array<QString, 5>& lines, ContactEntry& form) {
    const LabelLinesParse parse = parseLabelLines(lines);
    if (parse.refused) {
        return false;
    }
    parse.applyTo(form);
    return true;
}

}  // namespace tandor
