#include "contacts/DetailsSheet.h"

#include "print/PrinterProblem.h"

#include <QLocale>
#include <exception>

#include "contacts/PrintLabelLines.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/PrintSurface.h"

namespace tandor {
namespace {

const QString kFontName = QStringLiteral("Courier New");
const QString kRule = QString(70, QLatin1Char('_'));

// Characters from position `from` (counted from 1), at most `count`.
QString part(const QString& text, int from, int count) {
    return text.size() < from ? QString() : text.mid(from - 1, count);
}

void emptyLines(PrintSurface& s, double size, int count) {
    s.setFontSize(size);
    s.printEmptyLines(count);
}

void startingFont(PrintSurface& s) {
    s.setFontName(kFontName);
    s.setFontSize(12);
    s.setItalic(false);
}

}  // namespace

QString reportDateText(const QDate& date) {
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

void printDetailsSheet(PrintSurface& s, const ContactEntry& shown, const QString& reportDate) {
    const ContactEntry c = trimmedEntry(shown);
    using I = PrintItem;

    emptyLines(s, 12, 3);
    s.setFontSize(16);
    s.printAt(22, QStringLiteral("Tandor"));
    s.printEmptyLine();
    s.setFontSize(14);
    s.setItalic(false);
    s.printAt(27, QStringLiteral("Contact Details"));
    s.printEmptyLines(3);
    s.setFontSize(10);
    s.printLine({I::column(35), I::textItem(QStringLiteral("Date of report:")), I::column(51),
                 I::textItem(reportDate)});
    emptyLines(s, 12, 1);
    s.printAt(8, kRule);
    s.printEmptyLines(2);

    // The name as typed: an empty initial leaves two spaces.
    s.printAt(8, c.fName + QLatin1Char(' ') + c.middleInit + QLatin1Char(' ') + c.lName);
    s.printEmptyLine();
    s.printAt(8, c.fStreet + QStringLiteral("  ") + c.sStreet);
    s.printEmptyLine();
    s.printAt(8, cityLine(c.city, c.state, c.zip));
    s.printEmptyLines(2);

    s.printLine({I::column(8), I::textItem(QStringLiteral("Company Name:")), I::column(24),
                 I::textItem(c.company)});
    s.printEmptyLines(2);
    s.printLine({I::column(8), I::textItem(QStringLiteral("Country:")), I::column(18),
                 I::textItem(c.country), I::column(40), I::textItem(QStringLiteral("Birthdate:")),
                 I::column(52), I::textItem(c.birthdate)});
    s.printEmptyLines(2);
    s.printLine({I::column(8), I::textItem(QStringLiteral("Home Phone:")), I::column(21),
                 I::textItem(c.hPhone), I::column(37), I::textItem(QStringLiteral("Cell:")),
                 I::column(44), I::textItem(c.cPhone), I::column(60),
                 I::textItem(QStringLiteral("Work:")), I::column(67), I::textItem(c.wPhone)});
    s.printEmptyLines(2);
    s.printLine({I::column(8), I::textItem(QStringLiteral("Email Address:")), I::column(24),
                 I::textItem(c.email)});
    s.printEmptyLines(2);

    s.printLine({I::column(8), I::textItem(QStringLiteral("Category:")), I::column(19),
                 I::textItem(part(c.category, 1, 61))});
    s.printAt(19, part(c.category, 62, 19));
    s.printEmptyLines(2);

    // The notes continue one column left of their first line.
    s.printLine({I::column(8), I::textItem(QStringLiteral("Notes:")), I::column(16),
                 I::textItem(part(c.notes, 1, 61))});
    s.printAt(15, part(c.notes, 62, 53));
    s.printAt(15, part(c.notes, 115, 46));
    s.printEmptyLines(2);
    s.printAt(8, kRule);
    s.newPage();
}

void printSelection(PrintSurface& s, const QString& selectedText) {
    startingFont(s);
    s.printEmptyLine();
    s.printText(selectedText);
    s.newPage();
    s.endDocument();
}

PrintJob detailsJob(const ContactEntry& shown, const FocusedControl& focused, const QDate& today) {
    PrintJob job;
    job.dialog.offerSelection = true;
    job.dialog.page.orientation = PageOrientation::Portrait;
    job.errorTitle = kDetailsPrinterErrorTitle;
    job.oneRunForAllCopies = true;
    job.prepare = [](PrintSurface& s, const JobRun&) {
        startingFont(s);
        s.setOrientation(PageOrientation::Portrait);
    };
    job.compose = [shown, focused, date = reportDateText(today)](PrintSurface& s, const JobRun& run) {
        if (run.selection) {
            if (focused.isTextBox) {
                printSelection(s, focused.selectedText);
            }
            return;
        }
        for (int copy = 0; copy < run.copies; ++copy) {
            printDetailsSheet(s, shown, date);
        }
        s.endDocument();
    };
    return job;
}

void runDetailsPrint(const ContactEntry& shown, const FocusedControl& focused, const QDate& today,
                     Platform& platform) {
    runPrintJob(platform, detailsJob(shown, focused, today));
}

}  // namespace tandor
