#pragma once

#include <QString>
#include <QStringList>

namespace tandor {

// The unit a user describes a sheet in; its file keeps every length with it.
enum class LengthUnit { Inches, Millimetres };
enum class DesignPaper { Letter, A4, Custom };

// A label sheet the user describes in New Label Sheet...: one block of equal
// labels, `columns` x `rows`, the first one `left` and `top` from the paper's
// top-left corner, the next ones `pitchX` and `pitchY` further on. Every
// length is in `unit`.
struct SheetDesign {
    QString name;                            // the part and the file name: "<name>.xml"
    QString maker = QStringLiteral("User");  // the brand of the file
    QString description;                     // empty: made from the layout when written
    LengthUnit unit = LengthUnit::Inches;
    DesignPaper paper = DesignPaper::Letter;
    double paperWidth = 0.0;  // Custom only; Letter and A4 have their own
    double paperHeight = 0.0;
    double labelWidth = 0.0;
    double labelHeight = 0.0;
    int columns = 1;
    int rows = 1;
    double left = 0.0;
    double top = 0.0;
    double pitchX = 0.0;
    double pitchY = 0.0;

    bool operator==(const SheetDesign&) const = default;
};

// The paper's width and height in the design's unit (Letter 8.5 x 11 in, A4 210 x 297 mm).
double designPaperWidth(const SheetDesign& design);
double designPaperHeight(const SheetDesign& design);

// "in" or "mm".
QString unitSymbol(LengthUnit unit);
// A length to the digits a design keeps: four decimals for inches, three
// for millimetres.
double roundedLength(double value, LengthUnit unit);
// A length as typed and as written in the file: "2.625", "63.5", "1" (at most
// four decimals for inches, three for millimetres, no trailing zeros).
QString lengthText(double value, LengthUnit unit);
// The design with every length in another unit.
SheetDesign convertedDesign(const SheetDesign& design, LengthUnit unit);

// What is wrong with the design, in words for the user; empty when it is a
// sheet that can be saved: a name that can be a file name, sizes above zero,
// labels that do not overlap and lie on the paper.
QString designProblem(const SheetDesign& design);

// The fields of the dialog as typed. `readDesign` turns them into a design,
// or says which field is not a number.
struct SheetDesignText {
    QString name;
    LengthUnit unit = LengthUnit::Inches;
    DesignPaper paper = DesignPaper::Letter;
    QString paperWidth, paperHeight;
    QString labelWidth, labelHeight;
    QString columns, rows;
    QString left, top;
    QString pitchX, pitchY;
};
struct ReadDesign {
    SheetDesign design;
    QString problem;  // a field that is not a number, else the design's problem
};
ReadDesign readDesign(const SheetDesignText& text);
// The fields showing a design.
SheetDesignText designText(const SheetDesign& design);
// The fields in another unit: every length that is a number converted, the
// others left as typed.
SheetDesignText convertedText(const SheetDesignText& text, LengthUnit unit);
// The fields of a new sheet: the 30-up Letter layout, no name yet.
SheetDesignText newDesignText(LengthUnit unit = LengthUnit::Inches);

}  // namespace tandor
