#include "sheets/LabelSheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

#include "platform/ProgramFolders.h"
#include "platform/PrintGrid.h"
#include "sheets/LabelTemplates.h"

namespace tandor {
namespace {

// Positions are asked for with at most two digits.
constexpr int kMostPositions = 99;
// The ink of a label keeps this much of the label clear on every side; the
// fit keeps 0.01 in more for the dots of a printed page.
constexpr double kInkMarginIn = 0.05;
constexpr double kFitMarginIn = kInkMarginIn + 0.01;
// The sizes labels are printed in: 12 points (landscape), 10 (address labels)
// and 8 (return-address labels), largest first.
constexpr double kLabelFontSizes[] = {12.0, 10.0, 8.0};
constexpr int kMostLines = 5;
constexpr int kFewestLines = 3;
constexpr int kFewestCharacters = 10;
// The ink of a print line of the fixed-pitch font, in ems: accents (É) reach
// 0.02 above the line's top (0.84 over the baseline, drawn 0.8325 below the
// top), descenders (Ç, the broken bar) 1.07 below it, and a glyph up to 0.03
// past its cell.
constexpr double kInkAboveEm = 0.02;
constexpr double kInkBelowEm = 1.07;
constexpr double kInkSideEm = 0.03;

const QString kBuiltInResource = QStringLiteral(":/sheets/builtin-sheets.xml");

// What the built-in sheets keep beyond their geometry, by name.
void completeBuiltIn(LabelSheet& s) {
    if (s.name == QLatin1String("5160")) {
        // Columns step 33 characters (2.75 in at 12 characters per inch), rows
        // alternately 7 and 6 lines (1 in).
        s.leftPads = {2, 35, 68};
        s.topPads = {3, 10, 16, 23, 30, 36, 43, 50, 56, 63};
        s.bulkRowsBySpacing = true;
    } else if (s.name == QLatin1String("5161")) {
        s.characters = 45;
    } else if (s.name == QLatin1String("L7160")) {
        s.characters = 27;
    } else if (s.name == QLatin1String("L7163")) {
        s.characters = 43;
        // The free template library puts the first label 3.35 mm from the left
        // with a pitch of 103.0 mm.
        s.otherReading = SheetReading{3.35 * kMm, 103.0 * kMm};
    } else if (s.name == QLatin1String("5167")) {
        s.use = SheetUse::ReturnAddress;
        s.fontSize = 8.0;
        s.textLines = 3;
        s.characters = 30;
        s.leftPads = {3, 35, 66, 97};
        // Five lines above the first row, four lines a row, and one extra line
        // after rows 8, 13 and 15: the sheet's rows drift against the grid and
        // the extra lines bring them back onto their labels.
        for (int row = 1; row <= s.rowCount(); ++row) {
            int top = 5 + (row - 1) * 4;
            for (int extra : {8, 13, 15}) {
                if (row > extra) {
                    ++top;
                }
            }
            s.topPads.push_back(top);
        }
    }
}

QString sheetKey(const QString& maker, const QString& part) {
    return (maker + QLatin1Char('\n') + part).toCaseFolded();
}

// Gives each sheet the part numbers that are its equivalents (of the same
// maker); of two sheets with the same maker and part the first is found.
void attachEquivalents(LabelTemplates& templates) {
    QHash<QString, qsizetype> byKey;
    for (qsizetype i = templates.sheets.size() - 1; i >= 0; --i) {
        byKey.insert(sheetKey(templates.sheets[i].maker, templates.sheets[i].part), i);
    }
    for (const TemplateEquivalent& e : templates.equivalents) {
        const auto it = byKey.constFind(sheetKey(e.maker, e.equivalentOf));
        if (it != byKey.cend()) {
            QStringList& equivalents = templates.sheets[*it].equivalents;
            if (!equivalents.contains(e.part, Qt::CaseInsensitive)) {
                equivalents.append(e.part);
            }
        }
    }
}

QString partsOf(const LabelSheet& s) {
    return s.maker + QLatin1Char(' ') + (QStringList{s.part} + s.equivalents).join(QStringLiteral(" / "));
}

double paperWidthIn(const LabelSheet& s) {
    return printgrid::paperSize(s.paper, PageOrientation::Portrait).width() / printgrid::kPointsPerInch;
}

double paperHeightIn(const LabelSheet& s) {
    return printgrid::paperSize(s.paper, PageOrientation::Portrait).height() / printgrid::kPointsPerInch;
}

// The text lines of every row stand on the page and inside their labels.
bool linesFit(const LabelSheet& s) {
    const double lineIn = s.linePitchPt() / printgrid::kPointsPerInch;
    const double em = s.fontSize / printgrid::kPointsPerInch;
    const double pageBottom = paperHeightIn(s) - printgrid::kPdfBottomMarginInches;
    for (int row = 0; row < s.rowCount(); ++row) {
        const int pad = s.topPad(row);
        // The label run prints one empty line before the TopPad empty lines.
        const double top = printgrid::kPdfTopMarginInches + (pad + 1) * lineIn;
        const double inkTop = top - kInkAboveEm * em;
        const double inkBottom = top + (s.textLines - 1) * lineIn + kInkBelowEm * em;
        const QRectF label = s.labelRectIn(s.firstPositionOfRow(row));
        if (pad < 0 || inkTop < label.top() + kFitMarginIn ||
            inkBottom > label.bottom() - kFitMarginIn || inkBottom > pageBottom) {
            return false;
        }
    }
    return true;
}

// The characters of every column stand on the page and inside their labels.
bool charactersFit(const LabelSheet& s) {
    FontSpec font;
    font.size = s.fontSize;
    const double cellIn = columnWidth(font) / printgrid::kPointsPerInch;
    const double em = s.fontSize / printgrid::kPointsPerInch;
    const double pageRight = paperWidthIn(s) - printgrid::kPdfRightMarginInches;
    int row = 0;
    for (const SheetLayout& layout : s.layouts) {
        for (int column = 0; column < layout.columns; ++column) {
            const int pad = s.leftPad(column, row);
            const double left = printgrid::kPdfLeftMarginInches + (pad - 1) * cellIn;
            const double right = left + s.characters * cellIn;
            const QRectF label = s.labelRectIn(s.firstPositionOfRow(row) + column);
            if (pad < 1 || left - kInkSideEm * em < label.left() + kFitMarginIn ||
                right + kInkSideEm * em > label.right() - kFitMarginIn || right > pageRight) {
                return false;
            }
        }
        row += layout.rows;
    }
    return true;
}

// The character grid of a sheet read from its geometry: the largest label
// font that takes five lines with the ink margin all round (fewer lines on a
// label too small for five, at least three), and the most characters across
// at that size. False when the label holds less.
bool fitCharacterGrid(LabelSheet& s) {
    FontSpec font;
    for (int lines = kMostLines; lines >= kFewestLines; --lines) {
        for (const double size : kLabelFontSizes) {
            s.fontSize = size;
            s.textLines = lines;
            if (!linesFit(s)) {
                continue;
            }
            font.size = size;
            const double cellIn = columnWidth(font) / printgrid::kPointsPerInch;
            s.characters = static_cast<int>((s.labelWidthIn - 2 * kFitMarginIn) / cellIn);
            while (s.characters >= kFewestCharacters && !charactersFit(s)) {
                --s.characters;
            }
            if (s.characters >= kFewestCharacters) {
                return true;
            }
        }
    }
    return false;
}

void readFile(const QString& path, LabelTemplates& into) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        readLabelTemplates(file.readAll(), into);
    }
}

}  // namespace

QList<LabelSheet> loadLabelSheets(const QStringList& folders) {
    QList<LabelSheet> sheets;
    QSet<QString> taken;
    const auto take = [&taken](const LabelSheet& s) {
        taken.insert(sheetKey(s.maker, s.part));
        for (const QString& part : s.equivalents) {
            taken.insert(sheetKey(s.maker, part));
        }
    };

    LabelTemplates builtIn;
    readFile(kBuiltInResource, builtIn);
    attachEquivalents(builtIn);
    for (LabelSheet& s : builtIn.sheets) {
        s.name = s.part;
        s.parts = partsOf(s);
        s.builtIn = true;
        completeBuiltIn(s);
        take(s);
        sheets.append(s);
    }

    LabelTemplates library;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& file : dir.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name)) {
            readFile(dir.filePath(file), library);
        }
    }
    attachEquivalents(library);
    for (LabelSheet& s : library.sheets) {
        // A sheet already known (built in, or read before) keeps its place.
        if (taken.contains(sheetKey(s.maker, s.part)) || s.count() > kMostPositions) {
            continue;
        }
        s.equivalents.removeIf(
            [&](const QString& part) { return taken.contains(sheetKey(s.maker, part)); });
        if (!fitCharacterGrid(s)) {
            continue;
        }
        s.name = s.maker + QLatin1Char(' ') + s.part;
        s.parts = partsOf(s);
        take(s);
        sheets.append(s);
    }
    return sheets;
}

namespace {

// The loaded lists: the current one last. Lists loaded before are kept, so
// that a sheet handed out stays valid after a reload.
struct SheetLists {
    std::mutex mutex;
    std::vector<std::unique_ptr<QList<LabelSheet>>> lists;
};

SheetLists& sheetLists() {
    static SheetLists lists;
    return lists;
}

// Where a position lies: its layout, its column and row there, and its sheet row.
struct Place {
    const SheetLayout* layout = nullptr;
    int column = 0;
    int rowInLayout = 0;
    int row = 0;
};

Place placeOf(const LabelSheet& s, int position) {
    Place place;
    int index = position - 1;
    for (const SheetLayout& layout : s.layouts) {
        place.layout = &layout;
        if (index < layout.count() || &layout == &s.layouts.back()) {
            place.column = index % layout.columns;
            place.rowInLayout = index / layout.columns;
            place.row += place.rowInLayout;
            return place;
        }
        index -= layout.count();
        place.row += layout.rows;
    }
    return place;
}

}  // namespace

int LabelSheet::count() const {
    int n = 0;
    for (const SheetLayout& layout : layouts) {
        n += layout.count();
    }
    return n;
}

int LabelSheet::rowCount() const {
    int n = 0;
    for (const SheetLayout& layout : layouts) {
        n += layout.rows;
    }
    return n;
}

const SheetLayout& LabelSheet::layoutOfRow(int row, int* rowInLayout) const {
    for (const SheetLayout& layout : layouts) {
        if (row < layout.rows || &layout == &layouts.back()) {
            if (rowInLayout) {
                *rowInLayout = row;
            }
            return layout;
        }
        row -= layout.rows;
    }
    static const SheetLayout none;
    return none;
}

int LabelSheet::firstPositionOfRow(int row) const {
    int position = 1;
    for (const SheetLayout& layout : layouts) {
        if (row < layout.rows || &layout == &layouts.back()) {
            return position + row * layout.columns;
        }
        position += layout.count();
        row -= layout.rows;
    }
    return position;
}

int LabelSheet::columnOf(int position) const {
    return placeOf(*this, position).column;
}

int LabelSheet::rowOf(int position) const {
    return placeOf(*this, position).row;
}

double LabelSheet::linePitchPt() const {
    return printgrid::lineHeight(fontSize);
}

QRectF LabelSheet::labelRectIn(int position) const {
    const Place place = placeOf(*this, position);
    QRectF rect = outlineIn(position);
    if (otherReading && place.layout == &layouts.front()) {
        const double otherLeft = otherReading->firstLeftIn + place.column * otherReading->pitchXIn;
        const double left = std::max(rect.left(), otherLeft);
        const double right = std::min(rect.right(), otherLeft + labelWidthIn);
        rect.setLeft(left);
        rect.setRight(right);
    }
    return rect;
}

QRectF LabelSheet::outlineIn(int position) const {
    const Place place = placeOf(*this, position);
    if (!place.layout) {
        return {};
    }
    return {place.layout->firstLeftIn + place.column * place.layout->pitchXIn,
            place.layout->firstTopIn + place.rowInLayout * place.layout->pitchYIn, labelWidthIn,
            labelHeightIn};
}

std::vector<QRectF> sheetOutlines(const LabelSheet& sheet, PageOrientation orientation) {
    constexpr double pt = printgrid::kPointsPerInch;
    const double paperWidth = printgrid::paperSize(sheet.paper, PageOrientation::Portrait).width();
    std::vector<QRectF> rects;
    rects.reserve(static_cast<std::size_t>(sheet.count()));
    for (int position = 1; position <= sheet.count(); ++position) {
        const QRectF in = sheet.outlineIn(position);
        const QRectF upright(in.left() * pt, in.top() * pt, in.width() * pt, in.height() * pt);
        if (orientation == PageOrientation::Portrait) {
            rects.push_back(upright);
        } else {
            // The sheet turned a quarter: its left edge becomes the page's bottom edge.
            rects.emplace_back(upright.top(), paperWidth - upright.right(), upright.height(), upright.width());
        }
    }
    return rects;
}

int LabelSheet::leftPad(int column, int row) const {
    if (!leftPads.empty()) {
        return leftPads[static_cast<std::size_t>(column)];
    }
    FontSpec font;
    font.size = fontSize;
    const double cellIn = columnWidth(font) / printgrid::kPointsPerInch;
    const QRectF label = labelRectIn(firstPositionOfRow(row) + column);
    const double textLeft = label.center().x() - characters * cellIn / 2.0;
    return static_cast<int>(std::lround((textLeft - printgrid::kPdfLeftMarginInches) / cellIn)) + 1;
}

int LabelSheet::topPad(int row) const {
    if (!topPads.empty()) {
        return topPads[static_cast<std::size_t>(row)];
    }
    const double lineIn = linePitchPt() / printgrid::kPointsPerInch;
    const QRectF label = labelRectIn(firstPositionOfRow(row));
    const double textTop = label.center().y() - textLines * lineIn / 2.0;
    // The label run prints one empty line before the TopPad empty lines.
    return static_cast<int>(std::lround((textTop - printgrid::kPdfTopMarginInches) / lineIn)) - 1;
}

QString LabelSheet::paperName() const {
    return paper == PaperSize::A4 ? QStringLiteral("A4") : QStringLiteral("Letter");
}

QString millimetreText(double millimetres) {
    QString text = QString::number(std::round(millimetres * 10.0) / 10.0, 'f', 1);
    if (text.endsWith(QStringLiteral(".0"))) {
        text.chop(2);
    }
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

QString inchText(double inches) {
    const long sixteenths = std::lround(inches * 16.0);
    if (std::abs(sixteenths / 16.0 - inches) > 0.001) {
        return QString::number(inches, 'f', 2);
    }
    const long whole = sixteenths / 16;
    long part = sixteenths % 16;
    long denominator = 16;
    while (part != 0 && part % 2 == 0) {
        part /= 2;
        denominator /= 2;
    }
    QString text = whole > 0 ? QString::number(whole) : QString();
    if (part != 0) {
        text += (text.isEmpty() ? QString() : QStringLiteral(" ")) +
                QStringLiteral("%1/%2").arg(part).arg(denominator);
    }
    return text.isEmpty() ? QStringLiteral("0") : text;
}

QString labelSizeText(const LabelSheet& sheet) {
    if (sheet.metric) {
        return QStringLiteral("%1 x %2 mm").arg(millimetreText(sheet.labelWidthIn * 25.4),
                                                millimetreText(sheet.labelHeightIn * 25.4));
    }
    return QStringLiteral("%1 x %2 in").arg(inchText(sheet.labelHeightIn), inchText(sheet.labelWidthIn));
}

QString labelCountText(int count) {
    return count == 1 ? QStringLiteral("1 label") : QStringLiteral("%1 labels").arg(count);
}

QString LabelSheet::description() const {
    const QString size = labelSizeText(*this);
    QStringList grids;
    for (const SheetLayout& layout : layouts) {
        grids.append(QStringLiteral("%1 x %2").arg(layout.columns).arg(layout.rows));
    }
    // A long family of equivalents is cut after three part numbers.
    QStringList named = parts.split(QStringLiteral(" / "));
    if (named.size() > 4) {
        named = named.mid(0, 3) << QStringLiteral("...");
    }
    return QStringLiteral("%1: %2, %3 (%4) of %5")
        .arg(named.join(QStringLiteral(" / ")), paperName())
        .arg(labelCountText(count()))
        .arg(grids.join(QStringLiteral(" + ")), size);
}

QStringList labelSheetFolders() {
    QStringList folders{QDir(perUserProgramFolder()).filePath(QStringLiteral("sheets"))};
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString folder = QDir(data).filePath(QStringLiteral("libglabels-3.0/templates"));
        if (QFileInfo(folder).isDir() && !folders.contains(folder)) {
            folders.append(folder);
        }
    }
    return folders;
}

void reloadLabelSheets(const QStringList& folders) {
    auto list = std::make_unique<QList<LabelSheet>>(loadLabelSheets(folders));
    SheetLists& lists = sheetLists();
    const std::lock_guard lock(lists.mutex);
    lists.lists.push_back(std::move(list));
}

void reloadLabelSheets() {
    reloadLabelSheets(labelSheetFolders());
}

const QList<LabelSheet>& labelSheets() {
    SheetLists& lists = sheetLists();
    {
        const std::lock_guard lock(lists.mutex);
        if (!lists.lists.empty()) {
            return *lists.lists.back();
        }
    }
    static std::once_flag once;
    std::call_once(once, [] { reloadLabelSheets(); });
    const std::lock_guard lock(lists.mutex);
    return *lists.lists.back();
}

QList<const LabelSheet*> addressSheets() {
    QList<const LabelSheet*> out;
    for (const LabelSheet& s : labelSheets()) {
        if (s.use == SheetUse::Address) {
            out.append(&s);
        }
    }
    return out;
}

const LabelSheet& defaultLabelSheet() {
    return labelSheets().front();
}

const LabelSheet& returnAddressLabelSheet() {
    return *findLabelSheet(QStringLiteral("5167"));
}

const LabelSheet* findLabelSheet(const QString& name) {
    const QString wanted = name.simplified();
    if (wanted.isEmpty()) {
        return nullptr;
    }
    const auto isPart = [](const LabelSheet& s, QStringView asked) {
        if (s.part.compare(asked, Qt::CaseInsensitive) == 0) {
            return true;
        }
        for (const QString& part : s.equivalents) {
            if (part.compare(asked, Qt::CaseInsensitive) == 0) {
                return true;
            }
        }
        return false;
    };
    for (const LabelSheet& s : labelSheets()) {
        if (s.name.compare(wanted, Qt::CaseInsensitive) == 0 || isPart(s, wanted)) {
            return &s;
        }
        if (wanted.size() > s.maker.size() && wanted.at(s.maker.size()) == QLatin1Char(' ') &&
            wanted.startsWith(s.maker, Qt::CaseInsensitive) &&
            isPart(s, QStringView(wanted).mid(s.maker.size() + 1))) {
            return &s;
        }
    }
    return nullptr;
}

const LabelSheet& addressSheetOr(const QString& name) {
    const LabelSheet* sheet = findLabelSheet(name);
    return sheet && sheet->use == SheetUse::Address ? *sheet : defaultLabelSheet();
}

}  // namespace tandor
