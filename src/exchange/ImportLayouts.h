#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "store/ContactRecord.h"

namespace tandor {

struct NamedColumnTable;

// A position in a column rule that stands for the header's last column.
inline constexpr int kLastHeaderColumn = -1;

// One row of a layout's column table: for each position in turn, when the
// header column there equals headerText exactly, the value of `field` is
// taken from the line's column at that position (a later match overwrites an
// earlier one). A position the header does not have does not match; a column
// the line does not have reads as empty.
struct ColumnRule {
    std::vector<int> positions;
    QString headerText;
    Field field;
};

// The cleaning rules a layout applies to the values it took, in the fixed
// order of the import (see cleanValues).
struct CleaningRules {
    // The separator of the birth dates the layout reads as month, day, year
    // ('/' or '-'); a null character leaves the birth date as taken.
    QChar birthdateSeparator;
    bool birthdateRangeCheck = false;  // month above 12 or day above 31 empties it
    bool stateUpperCase = false;
    bool stripPhoneMarks = false;  // "+", "(" and ")" removed from HPhone and CPhone
    QList<Field>
        phonesEndingInNumber;  // emptied unless their last four characters read as a number
    // The test above looks at the phone without the spaces, dots, dashes,
    // slashes and parentheses that group its digits ("+33 1 42 68 53 00").
    bool phoneGroupingIgnored = false;
    QList<Field> phonesWithDash;     // emptied unless they contain "-"
    bool homePhoneFromWork = false;  // an empty HPhone takes WPhone
    bool shortStreetEmpty = false;   // an FStreet shorter than 6 characters is emptied
    bool addressChecks = false;      // City, State, Zip and Country tests
    // A birth date without a year (0000MMDD, FieldRules.h) is kept; any other
    // whose year begins with neither 19 nor 20 is emptied.
    bool yearlessBirthdays = false;
};

// One header layout the import recognises. A line of the file is the list of
// its unquoted values; where a rule looks at a line's text, that is the
// values joined by ",".
struct ImportLayout {
    QString name;
    // Whether a header (its text) has this layout.
    std::function<bool(const QString& headerText)> recognises;
    // The header's columns as the layout reads them, or nothing when the file
    // cannot be imported ("CSV file not compatible with import function.").
    std::function<std::optional<QStringList>(const QStringList& header)> prepareHeader;
    // How many of a data line's first values stand before the prepared
    // header's first column (they are dropped before prepareLine), so that the
    // line's columns stay under their names; null for none.
    std::function<qsizetype(const QStringList& header)> columnsBeforeHeader;
    // A data line as the layout reads it.
    std::function<QStringList(const QStringList& line)> prepareLine;
    // True for a prepared line that is not imported.
    std::function<bool(const QStringList& line, const QString& text)> skipLine;
    std::vector<ColumnRule> columns;
    // Values every contact of the layout gets (every other value not in the
    // column table stays empty).
    QList<std::pair<Field, QString>> fixedValues;
    CleaningRules cleaning;
    // Columns read by name, wherever the header has them: the whole reading
    // of a layout of today's exports, or the columns an older layout gained.
    // They are taken after the column table. Null when the layout has none.
    std::shared_ptr<const NamedColumnTable> namedColumns;
    // The line as the columns read by name see it: the layout's own
    // preparation of each value (quotes removed, say), keeping every column
    // where it stands. Null: the line as the file holds it.
    std::function<QStringList(const QStringList& line)> prepareNamedLine;
    // Whether a line whose contact has no first name, no last name and no
    // company is skipped (the layouts of today's exports).
    bool needsName = false;
};

// The layouts in the order they are tried; the first that recognises the
// header is used: the five older layouts, then those of today's exports
// (see ProviderLayouts.h). The generic layout leaves the headers of today's
// exports to their own layouts.
const std::vector<ImportLayout>& importLayouts();
const ImportLayout* recogniseLayout(const QString& headerText);

// The values a line's text from position `begin` up to `end` (positions in
// the values joined by ",") splits into at the commas between values: a cut
// inside a value keeps that value's part, and commas inside values stay.
QStringList cutJoinedValues(const QStringList& values, qsizetype begin, qsizetype end);

// Every double quote removed from every value.
QStringList withoutQuotes(QStringList values);

// The value at a position, empty when the line has no such column.
QString columnOrEmpty(const QStringList& values, qsizetype position);

}  // namespace tandor
