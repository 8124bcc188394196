#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QProgressDialog>
#include <QTimer>

#include "print/PrintJob.h"
#include "platform/PrinterSurface.h"
#include "platform/ScriptedPlatform.h"
#include "platform/widgets/DesktopPlatform.h"
#include "platform/widgets/JobProgressDialog.h"
#include "support/TestFiles.h"

using namespace tandor;

namespace {

// A job of many pages, one line each.
PrintJob longJob(int pages) {
    PrintJob job;
    job.compose = [pages](PrintSurface& s, const JobRun&) {
        for (int page = 1; page <= pages; ++page) {
            s.printAt(1, QStringLiteral("Page %1").arg(page));
            s.newPage();
        }
        s.endDocument();
    };
    return job;
}

}  // namespace

TEST(JobProgressWindow, ALongJobShowsPagesDoneAndCancelLeavesNoPdf) {
    for (const bool cancel : {false, true}) {
        test::TempFolder folder;
        const QString pdf = folder.file("long.pdf");
        ScriptedPlatform platform;
        auto surface = PrinterSurface::forPdf(pdf);
        platform.setPrintSurface(surface);
        platform.progressFactory = [] { return std::make_unique<JobProgressDialog>(nullptr, 0); };

        QString shownText;
        QTimer watch;
        watch.setInterval(1);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QProgressDialog*>(w);
                if (dialog && dialog->isVisible() && dialog->value() >= 20) {
                    shownText = dialog->labelText();
                    if (cancel) {
                        dialog->cancel();
                    }
                }
            }
        });
        watch.start();
        const JobResult result = runPrintJob(platform, longJob(300));
        watch.stop();
        surface->finish();

        EXPECT_TRUE(shownText.endsWith(QStringLiteral(" of 300"))) << shownText.toStdString();
        EXPECT_EQ(result.outcome, cancel ? JobOutcome::Stopped : JobOutcome::Printed);
        EXPECT_EQ(QFile::exists(pdf), !cancel);
        EXPECT_TRUE(platform.messages().isEmpty());  // a cancel is no printer problem
    }
}

TEST(JobProgressWindow, EveryDialogStartsOnItsJobsOwnPage) {
    // A printer left on an envelope in landscape by an earlier dialog.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::Envelope10));
    printer.setPageOrientation(QPageLayout::Landscape);
    struct Case {
        PageSetup page;
        QPageSize::PageSizeId size;
        QPageLayout::Orientation orientation;
    };
    const Case cases[] = {
        {{PaperSize::Letter, PageOrientation::Portrait}, QPageSize::Letter, QPageLayout::Portrait},
        {{PaperSize::Envelope10, PageOrientation::Landscape}, QPageSize::Envelope10, QPageLayout::Landscape},
        {{std::nullopt, PageOrientation::Landscape}, QPageSize::Letter, QPageLayout::Landscape},  // a PDF's own paper
    };
    for (const Case& c : cases) {
        DesktopPlatform::setJobPage(printer, c.page);
        EXPECT_EQ(printer.pageLayout().pageSize().id(), c.size);
        EXPECT_EQ(printer.pageLayout().orientation(), c.orientation);
    }
}
