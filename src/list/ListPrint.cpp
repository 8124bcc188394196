#include "list/ListPrint.h"

#include "platform/PrinterProblem.h"

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

void runListPrintCommand(Platform& platform, const ListPrintRequest& request) {
    static const std::vector<ListEntry> kNoLines;
    const std::vector<ListEntry>& lines = request.lines != nullptr ? *request.lines : kNoLines;
    std::shared_ptr<PrintSurface> surface;
    try {
        const int pages = listPageEstimate(lines.size());
        PrintDialogRequest dialog;
        dialog.minPage = 1;
        dialog.maxPage = pages;
        dialog.fromPage = 1;
        dialog.toPage = pages;
        const bool anySelection =
            !request.headerSelectedText.isEmpty() || !request.selectedRows.empty();
        dialog.offerSelection = anySelection;
        dialog.disablePrintToFile = anySelection;
        const PrintDialogResult chosen = platform.printDialog(dialog);
        if (chosen.cancelled) {
            return;
        }
        if (!chosen.surface) {
            throw AppError(errors::kPrinterError, QStringLiteral("Printer error"));
        }
        surface = chosen.surface;
        setFont(*surface, kReportFont);
        if (chosen.selection) {
            if (request.headerBoxActive) {
                printSelectedText(*surface, request.headerSelectedText);
            } else {
                printSelectedLines(*surface, lines, request.selectedRows);
            }
            return;
        }
        surface->setOrientation(PageOrientation::Landscape);
        for (int copy = 1; copy <= chosen.copies; ++copy) {
            printWholeList(*surface, lines, request.fileTitle);
            surface->endDocument();
        }
    } catch (...) {
        reportPrinterProblem(platform, surface.get());
    }
}

}  // namespace tandor
