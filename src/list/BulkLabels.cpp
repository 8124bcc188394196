#include "list/BulkLabels.h"

#include <algorithm>
#include <memory>

#include "platform/AppError.h"
#include "sheets/LabelSheet.h"
#include "sheets/PrinterModels.h"
#include "platform/PrintGrid.h"

namespace tandor {
namespace {


// The print columns of the labels of a sheet row: the sheet's LeftPads moved
// by the same amount as the first of the sheet.
std::vector<int> rowColumns(const LabelSheet& sheet, int row, int left) {
    std::vector<int> columns;
    for (int c = 0; c < sheet.columnsInRow(row); ++c) {
        columns.push_back(left + sheet.leftPad(c, row) - sheet.leftPad(0));
    }
    return columns;
}

// A label's lines cut to the lines the sheet's labels take.
QStringList cutTo(QStringList lines, const LabelSheet& sheet) {
    if (lines.size() > sheet.textLines) {
        lines.resize(sheet.textLines);
    }
    return lines;
}

// Prints labels side by side, row line by row line: row line k holds line k of
// every label that has one. Returns the number of row lines printed.
int printSideBySide(PrintSurface& surface, const std::vector<QStringList>& labelLines,
                    const std::vector<int>& columns) {
    int rowLines = 0;
    for (const QStringList& lines : labelLines) {
        rowLines = std::max(rowLines, static_cast<int>(lines.size()));
    }
    for (int k = 0; k < rowLines; ++k) {
        QList<PrintItem> items;
        for (std::size_t j = 0; j < labelLines.size(); ++j) {
            if (k < labelLines[j].size()) {
                items.append(PrintItem::column(columns[j]));
                items.append(PrintItem::textItem(labelLines[j][k]));
            }
        }
        surface.printLine(items);
    }
    return rowLines;
}

// The spacing below a full row gives every row the height of one label: 3
// lines at 9 points after a row of 4 lines; 1 line at 11 and 3 at 9 points
// after a row of 3 lines.
void printRowSpacing(PrintSurface& surface, int rowLines) {
    if (rowLines < 4) {
        surface.setFontSize(11);
        surface.printEmptyLine();
    }
    surface.setFontSize(9);
    surface.printEmptyLines(3);
    surface.setFontSize(10);
}

// A full row, and on the 30-up sheet the spacing below it.
void printFullRow(PrintSurface& surface, const std::vector<BulkLabel>& row,
                  const std::vector<int>& columns, const LabelSheet& sheet) {
    const bool spacing = sheet.bulkRowsBySpacing;
    std::vector<QStringList> lines;
    for (const BulkLabel& label : row) {
        lines.push_back(cutTo(label.rowLines(), sheet));
    }
    const int printed = printSideBySide(surface, lines, columns);
    if (spacing) {
        printRowSpacing(surface, printed);
    }
}

void printLastRow(PrintSurface& surface, const std::vector<BulkLabel>& row,
                  const std::vector<int>& columns, const LabelSheet& sheet) {
    std::vector<QStringList> lines;
    for (const BulkLabel& label : row) {
        lines.push_back(cutTo(label.lastRowLines(), sheet));
    }
    printSideBySide(surface, lines, columns);
}

// On every sheet but the 30-up one, a row starts at its TopPad (plus the
// BULKLIST top adjustment) below the top of the page, as on-the-fly labels do.
void moveToRow(PrintSurface& surface, const LabelSheet& sheet, int row, const Adjustment& adjustment) {
    surface.moveToTopLeft();
    surface.printEmptyLine();
    surface.printEmptyLines(sheet.topPad(row) + adjustment.top);
}

// After every 30 labels the next row starts a new page. A page that the
// surface already began by itself (a spacing line that passed the bottom of
// the printable area) is used as it is, so no blank sheet comes out.
void startNextSheet(PrintSurface& surface, bool pagePrinter) {
    if (!surface.currentPageBlank()) {
        surface.newPage();
    }
    if (pagePrinter) {
        surface.printEmptyLines(kBulkTopLines);
    }
    surface.moveToLeftEdgeAt(kBulkPageTopTwips);
    surface.printEmptyLines(kBulkTopLines);
}

}  // namespace

QStringList BulkLabel::rowLines() const {
    if (withCompany()) {
        return {name, company, street, city};
    }
    return {name, street, city};
}

QStringList BulkLabel::lastRowLines() const {
    if (withCompany()) {
        return {company, name, street, city};
    }
    return {name, street, city};
}

BulkLabel bulkLabelOf(const ContactRecord& record) {
    BulkLabel label;
    const QString initial = record.field(Field::MiddleInit);
    const QString middle =
        initial.isEmpty() ? QStringLiteral(" ") : QLatin1Char(' ') + initial + QLatin1Char(' ');
    label.name = record.field(Field::FName) + middle + record.field(Field::LName);
    const QString company = record.field(Field::Company);
    if (!company.isEmpty() && record.field(Field::IncludeCompany) == QLatin1String("1")) {
        label.company = company;
    }
    label.street = record.field(Field::FStreet) + QLatin1Char(' ') + record.field(Field::SStreet);
    label.city = record.field(Field::City) + QStringLiteral(", ") + record.field(Field::State) +
                 QStringLiteral("  ") + record.field(Field::Zip);
    return label;
}

int bulkLeftColumn(const QString& deviceName, const Adjustment& adjustment,
                   const LabelSheet& sheet) {
    return sheet.leftPad(0) + bulkColumnShift(deviceName) + adjustment.left;
}

void printBulkLabelRun(PrintSurface& surface, const std::vector<ListEntry>& lines,
                       const std::function<ContactRecord(int)>& readRecord,
                       const Adjustment& adjustment, const LabelSheet& sheet) {
    const bool spacing = sheet.bulkRowsBySpacing;
    if (sheet.paper != PaperSize::Letter) {
        surface.setPaperSize(sheet.paper);
    }
    if (spacing) {
        surface.printEmptyLines(kBulkTopLines);
    }
    surface.setFontName(kCourierNew);
    surface.setFontSize(sheet.fontSize);
    surface.setItalic(false);
    const QString device = surface.deviceName();
    const int left = bulkLeftColumn(device, adjustment, sheet);
    const bool pagePrinter = isBulkPagePrinter(device);
    const std::size_t perSheet = static_cast<std::size_t>(sheet.count());

    std::vector<const ListEntry*> contacts;
    contacts.reserve(lines.size());
    for (const ListEntry& entry : lines) {
        if (entry.hasRecord()) {
            contacts.push_back(&entry);
        }
    }
    std::vector<BulkLabel> row;
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        // The sheet row of this label, and the labels across it.
        const int sheetRow = sheet.rowOf(static_cast<int>(i % perSheet) + 1);
        const std::size_t perRow = static_cast<std::size_t>(sheet.columnsInRow(sheetRow));
        if (!spacing && row.empty()) {
            moveToRow(surface, sheet, sheetRow, adjustment);
        }
        row.push_back(bulkLabelOf(readRecord(contacts[i]->recordNumber)));
        if (row.size() == perRow) {
            printFullRow(surface, row, rowColumns(sheet, sheetRow, left), sheet);
            row.clear();
        } else if (i + 1 == contacts.size()) {
            printLastRow(surface, row, rowColumns(sheet, sheetRow, left), sheet);
        }
        if ((i + 1) % perSheet == 0) {
            if (spacing) {
                startNextSheet(surface, pagePrinter);
            } else if (i + 1 < contacts.size()) {
                surface.newPage();
            }
        }
    }
}

bool hasNoAddress(const ContactRecord& record) {
    for (const Field f : {Field::FStreet, Field::SStreet, Field::City, Field::State, Field::Zip}) {
        if (!record.field(f).isEmpty()) {
            return false;
        }
    }
    return true;
}

std::vector<ListEntry> linesWithAddress(const std::vector<ListEntry>& lines,
                                        const std::function<ContactRecord(int)>& readRecord) {
    std::vector<ListEntry> kept;
    kept.reserve(lines.size());
    for (const ListEntry& entry : lines) {
        if (!entry.hasRecord() || !hasNoAddress(readRecord(entry.recordNumber))) {
            kept.push_back(entry);
        }
    }
    return kept;
}

QString noAddressQuestion(int withoutAddress, int contacts) {
    const bool one = withoutAddress == 1;
    QString who;
    if (withoutAddress == contacts) {
        who = one ? QStringLiteral("The contact in the list has")
                  : QStringLiteral("All %1 contacts in the list have").arg(contacts);
    } else {
        who = QStringLiteral("%1 of the %2 contacts in the list %3")
                  .arg(withoutAddress)
                  .arg(contacts)
                  .arg(one ? QStringLiteral("has") : QStringLiteral("have"));
    }
    return who + QStringLiteral(" no address (no street, city, state or zip code).\n\n") +
           (one ? QStringLiteral("Leave it out of the labels?\n\n"
                                 "Yes leaves it out, No prints it as it is, Cancel prints nothing.")
                : QStringLiteral("Leave them out of the labels?\n\n"
                                 "Yes leaves them out, No prints them as they are, Cancel prints nothing."));
}

bool listHasContact(const std::vector<ListEntry>& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const ListEntry& e) { return e.hasRecord(); });
}

PrintJob bulkLabelsJob(const std::vector<ListEntry>& lines, const std::function<ContactRecord(int)>& readRecord,
                       const Adjustment& adjustment, const LabelSheet& sheet) {
    PrintJob job;
    job.dialog.disablePrintToFile = true;
    job.dialog.page = {sheet.paper, PageOrientation::Portrait};
    job.prepare = [](PrintSurface& s, const JobRun&) {
        s.setFontName(kCourierNew);
        s.setFontSize(10);
        s.setItalic(false);
        s.setOrientation(PageOrientation::Portrait);
    };
    job.compose = [&lines, &readRecord, adjustment, &sheet](PrintSurface& s, const JobRun&) {
        printBulkLabelRun(s, lines, readRecord, adjustment, sheet);
        s.endDocument();
    };
    job.labelOutlines = sheetOutlines(sheet, PageOrientation::Portrait);
    return job;
}

BulkLabelsCheck checkBulkLabels(const QString& programFolder, const std::vector<ListEntry>& lines,
                                const std::function<ContactRecord(int)>& readRecord) {
    BulkLabelsCheck check;
    try {
        check.adjustment = readAdjustment(programFolder, kBulkList);
    } catch (const AppError&) {
        check.refusal = BulkLabelsOutcome::PrinterProblem;
        return check;
    }
    if (!listHasContact(lines)) {
        check.refusal = BulkLabelsOutcome::EmptyList;
        return check;
    }
    try {
        check.withAddress = linesWithAddress(lines, readRecord);
    } catch (const AppError&) {
        check.refusal = BulkLabelsOutcome::PrinterProblem;  // as a record that fails while printing
        return check;
    }
    if (check.withAddress.size() != lines.size()) {
        const auto contacts =
            std::count_if(lines.begin(), lines.end(), [](const ListEntry& e) { return e.hasRecord(); });
        const int withoutAddress = static_cast<int>(lines.size() - check.withAddress.size());
        check.noAddressQuestion = noAddressQuestion(withoutAddress, static_cast<int>(contacts));
    }
    return check;
}

std::optional<PrintJob> bulkLabelsJobAfter(BulkLabelsCheck check, const std::vector<ListEntry>& lines,
                                           const std::function<ContactRecord(int)>& readRecord,
                                           const LabelSheet& sheet, NoAddressChoice choice,
                                           BulkLabelsOutcome* refusal) {
    const auto refuse = [refusal](BulkLabelsOutcome why) {
        if (refusal != nullptr) {
            *refusal = why;
        }
        return std::nullopt;
    };
    if (check.refusal) {
        return refuse(*check.refusal);
    }
    if (!check.noAddressQuestion || choice == NoAddressChoice::PrintAsTheyAre) {
        return bulkLabelsJob(lines, readRecord, check.adjustment, sheet);
    }
    if (choice == NoAddressChoice::PrintNothing) {
        return refuse(BulkLabelsOutcome::Cancelled);
    }
    if (!listHasContact(check.withAddress)) {
        return refuse(BulkLabelsOutcome::EmptyList);
    }
    // The job prints from lines of its own, kept as long as the job.
    auto kept = std::make_shared<const std::vector<ListEntry>>(std::move(check.withAddress));
    PrintJob job = bulkLabelsJob(*kept, readRecord, check.adjustment, sheet);
    job.compose = [kept, compose = std::move(job.compose)](PrintSurface& s, const JobRun& run) { compose(s, run); };
    return job;
}

}  // namespace tandor
