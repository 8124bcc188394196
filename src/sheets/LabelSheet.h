#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "platform/PrintSurface.h"

namespace tandor {

// What a sheet is printed with: five address lines from the main window or the
// contact list, or the three lines of the return-address command.
enum class SheetUse { Address, ReturnAddress };

// A second published reading of a sheet's horizontal layout. A label's text
// must then lie inside the label by both readings.
struct SheetReading {
    double firstLeftIn = 0.0;
    double pitchXIn = 0.0;

    bool operator==(const SheetReading&) const = default;
};

// One grid of labels on a sheet: `columns` across and `rows` down, the first
// label's top-left corner at (firstLeftIn, firstTopIn), one label to the next
// pitchXIn across and pitchYIn down. Most sheets have one; some have several
// (large labels above small ones).
struct SheetLayout {
    int columns = 0;
    int rows = 0;
    double firstLeftIn = 0.0;
    double firstTopIn = 0.0;
    double pitchXIn = 0.0;
    double pitchYIn = 0.0;

    int count() const { return columns * rows; }
    bool operator==(const SheetLayout&) const = default;
};

// One sheet of labels. Lengths are inches on the paper, from its top-left
// corner. A position is numbered from 1, left to right, top to bottom, all of
// the first layout, then all of the second and so on. The rows of a sheet are
// counted the same way: the rows of the first layout, then those of the next.
//
// How a position's print column and line are found: the written sheets keep
// their tables of LeftPad (the print column a label's lines start at) and
// TopPad (the empty lines above them); for the other sheets both are worked
// out from the geometry on the print grid of a PDF page, centring a block of
// `characters` columns and `textLines` lines on the label.
struct LabelSheet {
    QString name;   // what --sheet and the settings take: "5160", "L7160", "Herma 4226"
    QString parts;  // the makers' part numbers: "Avery 5160 / 8160"
    QString maker;              // "Avery"
    QString part;               // its own part number: "5160"
    QStringList equivalents;    // other part numbers of the same sheet: "8160"
    QString detail;             // the maker's description: "Address Labels"
    SheetUse use = SheetUse::Address;
    PaperSize paper = PaperSize::Letter;
    std::vector<SheetLayout> layouts;
    double labelWidthIn = 0.0;
    double labelHeightIn = 0.0;
    std::optional<SheetReading> otherReading;  // of the first layout
    double fontSize = 10.0;  // "Courier New"
    int textLines = 5;       // the lines a label takes (an address is cut to them)
    int characters = 30;        // the label's width in characters
    std::vector<int> leftPads;  // per column of a single-layout sheet; empty: from the geometry
    std::vector<int> topPads;   // per sheet row; empty: from the geometry
    // The bulk labels of the 30-up sheet keep rows one inch apart with empty
    // lines at 9 and 11 points; on every other sheet they go to the rows' TopPads.
    bool bulkRowsBySpacing = false;
    bool metric = false;   // its figures are shown in millimetres
    bool builtIn = false;  // one of the sheets the program is built with

    int count() const;
    // The rows of all its layouts.
    int rowCount() const;
    // The layout a sheet row belongs to, and that row within it.
    const SheetLayout& layoutOfRow(int row, int* rowInLayout = nullptr) const;
    // The labels across a sheet row.
    int columnsInRow(int row) const { return layoutOfRow(row).columns; }
    // The first position of a sheet row.
    int firstPositionOfRow(int row) const;
    // The column of a position within its layout's row, and its sheet row.
    int columnOf(int position) const;
    int rowOf(int position) const;
    bool contains(int position) const { return position >= 1 && position <= count(); }

    // The print line pitch of its text, in points.
    double linePitchPt() const;
    // The label at a position, inches on the paper. With a second reading, the
    // part of the label that both readings agree on.
    QRectF labelRectIn(int position) const;
    // The label at a position by the sheet's own (first) reading, inches on the paper.
    QRectF outlineIn(int position) const;
    // LeftPad of a column of a sheet row and TopPad of a sheet row, for an
    // ordinary printer.
    int leftPad(int column, int row = 0) const;
    int topPad(int row) const;
    // Both for a position.
    int leftPadAt(int position) const { return leftPad(columnOf(position), rowOf(position)); }
    int topPadAt(int position) const { return topPad(rowOf(position)); }

    // "Avery L7160 / J8160: A4, 21 labels (3 x 7) of 63.5 x 38.1 mm"
    QString description() const;
    QString paperName() const;

    bool operator==(const LabelSheet&) const = default;
};

// The figures a user sees. Millimetres to one decimal, without a trailing
// ".0": "63.5", "100".
QString millimetreText(double millimetres);
// Inches as the makers write them: "2 5/8", "1/2", "1 15/16"; a length that is
// no sixteenth of an inch (within 0.001 in) to two decimals: "1.33".
QString inchText(double inches);
// The size of a sheet's labels as its maker gives it: height by width in
// inches ("1 x 2 5/8 in"), width by height in millimetres ("63.5 x 38.1 mm").
QString labelSizeText(const LabelSheet& sheet);
// "1 label", "30 labels".
QString labelCountText(int count);

// Every label's outline of a sheet, in points on its paper as oriented (a
// landscape page holds the sheet turned a quarter), in position order.
std::vector<QRectF> sheetOutlines(const LabelSheet& sheet, PageOrientation orientation);

// The sheets of the program's library (SheetLibrary::program()): the sheets
// it is built with (the 30-up Letter sheet first), then those of the user's
// folder of sheets and of the label-template library. Loaded on first use; a
// reload replaces them, and what these hand out stays valid until then.
const QList<LabelSheet>& labelSheets();
// The sheets that take five address lines (the label-position prompt, bulk labels).
QList<const LabelSheet*> addressSheets();

// The 30-up Letter sheet (Avery 5160 / 8160): the default.
const LabelSheet& defaultLabelSheet();
// The 80-up return-address sheet (Avery 5167).
const LabelSheet& returnAddressLabelSheet();

// The sheet called `name` (its name or one of its part numbers or
// equivalents, any case, with or without its maker); nullptr when none.
const LabelSheet* findLabelSheet(const QString& name);
// The address sheet called `name`, or the default sheet when there is none.
const LabelSheet& addressSheetOr(const QString& name);

// The settings key that remembers the chosen sheet (section "Settings").
inline const QString kSheetSettingKey = QStringLiteral("LabelSheet");

}  // namespace tandor
