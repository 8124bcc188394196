#include "list/ListPrint.h"

#include "print/PrinterProblem.h"

#include "platform/AppError.h"
#include "platform/Numbers.h"
#include "platform/Platform.h"
#include "store/ContactRecord.h"

namespace tandor {
namespace {

const QString kReportFont = QStringLiteral("Courier New");
const QString kSelectionFont = QStringLiteral("MS Sans Serif");

void setFont(PrintSurface& surface, const QString& name) {
    surface.setFontName(name);
    surface.setFontSize(10);
    surface.setItalic(false);
}

void printColumnHeader(PrintSurface& surface) {
    QList<PrintItem> items;
    for (std::size_t i = 0; i < kReportColumns.size(); ++i) {
        items.append(PrintItem::column(kReportColumns[i]));
        items.append(PrintItem::textItem(kReportHeadings[i]));
    }
    surface.printLine(items);
}

// The pieces of a list line at the report columns, trimmed. An empty piece
// ends the printed line. An eighth piece (only a line pasted into the list
// can have one) has no report column: the document is abandoned.
void printReportLine(PrintSurface& surface, const QString& line) {
    const QStringList pieces = line.split(QLatin1Char('\t'));
    QList<PrintItem> items;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i >= static_cast<qsizetype>(kReportColumns.size())) {
            throw AppError(errors::kSubscriptOutOfRange,
                           QStringLiteral("A list line has more than seven columns"));
        }
        items.append(PrintItem::column(kReportColumns[i]));
        items.append(PrintItem::textItem(trimSpaces(pieces[i])));
        if (pieces[i].isEmpty()) {
            break;
        }
    }
    surface.printLine(items);
}

}  // namespace

int listPageEstimate(std::size_t lineCount) {
    return static_cast<int>(roundHalfEven(static_cast<double>(lineCount) / 54.0 + 1.0));
}

void printWholeList(PrintSurface& surface, const std::vector<ListEntry>& lines,
                    const QString& fileTitle) {
    surface.printEmptyLine();
    surface.setFontSize(24);
    surface.printAt(18, QStringLiteral("Tandor"));
    surface.setFontSize(10);
    surface.printEmptyLine();
    surface.printAt(48, QStringLiteral("File: ") + fileTitle);
    surface.printEmptyLine();
    printColumnHeader(surface);
    for (const ListEntry& entry : lines) {
        printReportLine(surface, entry.text);
    }
    surface.printEmptyLine();
    surface.newPage();
}

void printSelectedLines(PrintSurface& surface, const std::vector<ListEntry>& lines,
                        const std::vector<int>& selectedRows) {
    setFont(surface, kSelectionFont);
    if (!selectedRows.empty()) {
        printColumnHeader(surface);
    }
    surface.printEmptyLine();
    for (int row : selectedRows) {
        if (row >= 0 && static_cast<std::size_t>(row) < lines.size()) {
            surface.printText(lines[row].text);
        }
    }
    surface.newPage();
    surface.endDocument();
}

void printSelectedText(PrintSurface& surface, const QString& text) {
    setFont(surface, kReportFont);
    surface.printEmptyLine();
    surface.printText(text);
    surface.newPage();
    surface.endDocument();
}

PrintJob listPrintJob(const ListPrintRequest& request) {
    static const std::vector<ListEntry> kNoLines;
    const std::vector<ListEntry>& lines = request.lines != nullptr ? *request.lines : kNoLines;
    PrintJob job;
    const int pages = listPageEstimate(lines.size());
    job.dialog.minPage = 1;
    job.dialog.maxPage = pages;
    job.dialog.fromPage = 1;
    job.dialog.toPage = pages;
    const bool anySelection = !request.headerSelectedText.isEmpty() || !request.selectedRows.empty();
    job.dialog.offerSelection = anySelection;
    job.dialog.disablePrintToFile = anySelection;
    job.dialog.page.orientation = PageOrientation::Landscape;
    job.prepare = [](PrintSurface& s, const JobRun& run) {
        setFont(s, kReportFont);
        if (!run.selection) {
            s.setOrientation(PageOrientation::Landscape);
        }
    };
    job.compose = [&lines, request](PrintSurface& s, const JobRun& run) {
        if (!run.selection) {
            printWholeList(s, lines, request.fileTitle);
            s.endDocument();
        } else if (request.headerBoxActive) {
            printSelectedText(s, request.headerSelectedText);
        } else {
            printSelectedLines(s, lines, request.selectedRows);
        }
    };
    return job;
}

void runListPrintCommand(Platform& platform, const ListPrintRequest& request) {
    runPrintJob(platform, listPrintJob(request));
}

}  // namespace tandor
