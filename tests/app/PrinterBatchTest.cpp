// tandor-batch's --printer: jobs sent to a real print server, and the refusals.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <map>

#include "support/PdfWords.h"
#include "support/RecordBytes.h"
#include "support/TestFiles.h"

using namespace tandor::test;

namespace {

constexpr double kTolerance = 0.02;  // inches

// The private print server of scripts/cups-test-server.sh with its one PDF
// queue, as scripts/test.sh started it: its address in the environment, or why
// it could not start.
class PrinterBatch : public ::testing::Test {
protected:
    void SetUp() override {
        // In CI this test must run: a missing tool or server fails it there.
        const bool mustRun = qEnvironmentVariable("CI") == "true";
        if (!havePdfToText()) {
            if (mustRun) {
                FAIL() << "pdftotext (poppler-utils) is not installed";
            }
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        }
        if (socket.isEmpty() || printer.isEmpty() || pdfDir.isEmpty()) {
            const QString reason = qEnvironmentVariable(
                "TANDOR_CUPS_MISSING",
                "TANDOR_CUPS_SERVER is not set; scripts/test.sh starts the server, or run "
                "eval \"$(bash scripts/cups-test-server.sh start)\" as root and export its "
                "TANDOR_CUPS_* variables");
            const std::string why =
                "no private print server (cupsd with a cups-pdf queue), so "
                "printing through --printer is not tested: " +
                reason.toStdString();
            if (mustRun) {
                FAIL() << why;
            }
            GTEST_SKIP() << why;
        }
        qputenv("CUPS_SERVER", socket.toUtf8());
    }
    void TearDown() override { qunsetenv("CUPS_SERVER"); }

    // The PDF the queue writes for the one job sent after its folder was
    // emptied, once it is complete.
    QString queuePdf(std::size_t pages) {
        QElapsedTimer clock;
        clock.start();
        qint64 lastSize = -1;
        while (clock.elapsed() < 60000) {
            const QFileInfoList files = QDir(pdfDir).entryInfoList({"*.pdf"}, QDir::Files);
            if (files.size() == 1 && files[0].size() > 0 && files[0].size() == lastSize &&
                pdfPages(files[0].filePath()).size() == pages) {
                return files[0].filePath();
            }
            lastSize = files.size() == 1 ? files[0].size() : -1;
            QThread::msleep(250);
        }
        ADD_FAILURE() << "the queue wrote no complete PDF of " << pages
                      << " page(s) within 60 s into " << pdfDir.toStdString();
        return {};
    }

    const QString socket = qEnvironmentVariable("TANDOR_CUPS_SERVER");
    const QString printer = qEnvironmentVariable("TANDOR_CUPS_PRINTER");
    const QString pdfDir = qEnvironmentVariable("TANDOR_CUPS_PDF_DIR");
    TempFolder folder;
    QString programFolder = folder.withDefaultAdjustments();
};

// A word's centre in inches.
struct Spot {
    QString text;
    double x, y;
};

// The words of a page in reading order, as the page is shown.
std::vector<Spot> spots(const Page& page) {
    std::vector<Spot> out;
    for (const Word& w : page.words) {
        out.push_back({w.text, (w.x0 + w.x1) / 2, (w.y0 + w.y1) / 2});
    }
    std::stable_sort(out.begin(), out.end(), [](const Spot& a, const Spot& b) {
        return a.y + 0.03 < b.y || (std::abs(a.y - b.y) <= 0.03 && a.x < b.x);
    });
    return out;
}

// The width and height of each page as shown, its turn applied (pdftotext
// gives a page's words as shown but its size as stored).
std::vector<QSizeF> shownSizes(const QString& pdf, const std::vector<Page>& pages) {
    QProcess info;
    info.start("pdfinfo", {"-f", "1", "-l", QString::number(pages.size()), pdf});
    info.waitForFinished(60000);
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    static const QRegularExpression rot(R"(Page\s+(\d+) rot:\s+(\d+))");
    std::vector<QSizeF> sizes;
    for (const Page& page : pages) {
        sizes.emplace_back(page.width, page.height);
    }
    for (auto it = rot.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const std::size_t i = m.captured(1).toUInt() - 1;
        if (i < sizes.size() && m.captured(2).toInt() % 180 == 90) {
            sizes[i].transpose();
        }
    }
    return sizes;
}

const QStringList kAddress = {"John Q. Smith", "1234 Main Street", "Springfield, IL  62704"};

// The ink of each page of a PDF, in inches from the top-left corner of the
// page as shown, rendered at a modest resolution.
std::vector<QRectF> inkBoxes(const QString& pdf, std::size_t pages, const QString& folder) {
    constexpr int kDpi = 150;
    std::vector<QRectF> boxes;
    for (std::size_t p = 1; p <= pages; ++p) {
        const QString out = folder + QStringLiteral("/ink");
        QProcess render;
        render.start("pdftoppm", {"-gray", "-r", QString::number(kDpi), "-f", QString::number(p),
                                  "-l", QString::number(p), "-singlefile", pdf, out});
        render.waitForFinished(60000);
        const QImage image(out + QStringLiteral(".pgm"));
        int left = image.width(), top = image.height(), right = -1, bottom = -1;
        for (int y = 0; y < image.height(); ++y) {
            const uchar* row = image.constScanLine(y);
            for (int x = 0; x < image.width(); ++x) {
                if (row[x] < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        boxes.emplace_back(QPointF(double(left) / kDpi, double(top) / kDpi),
                           QPointF(double(right + 1) / kDpi, double(bottom + 1) / kDpi));
    }
    return boxes;
}

}  // namespace

TEST_F(PrinterBatch, PrintsWhatThePdfShowsOnThePrinterQueue) {
    struct Case {
        const char* what;
        QStringList args;
    };
    const Case cases[] = {
        {"label sheet", QStringList{"labels", "--positions", "1-30"} + kAddress},
        {"envelope", QStringList{"envelope", "--size", "1"} + kAddress},
        {"return-address sheet", QStringList{"return-labels"} + kAddress},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString direct = folder.file("direct.pdf");
        const QStringList args = QStringList{"--program-folder", programFolder} + c.args;
        BatchRun run = runBatch(args + QStringList{"-o", direct});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const std::vector<Page> want = pdfPages(direct);
        ASSERT_FALSE(want.empty());

        for (const QFileInfo& old : QDir(pdfDir).entryInfoList({"*.pdf"}, QDir::Files)) {
            QFile::remove(old.filePath());
        }
        // The queue keeps the PDF's printable area: both placements print alike.
        run = runBatch(args + QStringList{"--printer", printer, "--place-by-paper-edge", "off"});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QString queued = queuePdf(want.size());
        const std::vector<Page> got = pdfPages(queued);
        ASSERT_EQ(got.size(), want.size());
        const std::vector<QSizeF> wantSizes = shownSizes(direct, want);
        const std::vector<QSizeF> gotSizes = shownSizes(queued, got);

        for (std::size_t p = 0; p < want.size(); ++p) {
            EXPECT_NEAR(gotSizes[p].width(), wantSizes[p].width(), kTolerance) << "page " << p + 1;
            EXPECT_NEAR(gotSizes[p].height(), wantSizes[p].height(), kTolerance)
                << "page " << p + 1;
            const std::vector<Spot> a = spots(want[p]);
            const std::vector<Spot> b = spots(got[p]);
            ASSERT_EQ(a.size(), b.size()) << "page " << p + 1;
            std::size_t misplaced = 0, first = 0;
            for (std::size_t i = 0; i < a.size(); ++i) {
                if (a[i].text != b[i].text || std::abs(a[i].x - b[i].x) > kTolerance ||
                    std::abs(a[i].y - b[i].y) > kTolerance) {
                    first = misplaced++ == 0 ? i : first;
                }
            }
            EXPECT_EQ(misplaced, 0u)
                << "words of " << a.size() << " on page " << p + 1 << " differ; the first, \""
                << a[first].text.toStdString() << "\" at " << a[first].x << ", " << a[first].y
                << " in, is \"" << b[first].text.toStdString() << "\" at " << b[first].x << ", "
                << b[first].y << " in on the queue";
        }
    }
}

// Placed by the paper's edge, a job lands where the PDF puts it on printers
// whose printable areas start 0, 0.17 and 0.25 in from the left (0, 0.17 and
// 0.056 in from the top), measured by the rendered ink of each page. Placed
// from the printable area (off), a printer without margins prints the sheet
// 0.25 in further left and 0.056 in higher, as it always did.
TEST_F(PrinterBatch, PlacedByThePaperEdgeEveryQueuePrintsWhereThePdfDoes) {
    constexpr double kInkTolerance = 0.01;  // inches
    const QStringList queues =
        qEnvironmentVariable("TANDOR_CUPS_EDGE_PRINTERS").split(' ', Qt::SkipEmptyParts);
    ASSERT_EQ(queues.size(), 3) << "scripts/cups-test-server.sh start gives three more queues";
    const QStringList documents[] = {
        QStringList{"labels", "--positions", "1-30"} + kAddress,
        QStringList{"return-labels"} + kAddress,
        QStringList{"envelope", "--size", "1"} + kAddress,
    };
    struct Case {
        QString queue;
        const QStringList* document;
        const char* placement;
        QPointF shift;  // of the queue's ink from the PDF's, inches
    };
    std::vector<Case> cases;
    for (const QString& queue : queues) {
        for (const QStringList& document : documents) {
            cases.push_back({queue, &document, "on", QPointF(0, 0)});
        }
    }
    cases.push_back({queues[0], &documents[0], "off", QPointF(-0.25, -0.056)});

    std::map<const QStringList*, std::vector<QRectF>> direct;
    for (const Case& c : cases) {
        SCOPED_TRACE((c.queue + " " + c.document->first() + " " + c.placement).toStdString());
        const QStringList args = QStringList{"--program-folder", programFolder} + *c.document;
        if (!direct.count(c.document)) {
            const QString pdf = folder.file("direct.pdf");
            const BatchRun run = runBatch(args + QStringList{"-o", pdf});
            ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
            direct[c.document] = inkBoxes(pdf, pdfPages(pdf).size(), folder.path());
        }
        const std::vector<QRectF>& want = direct[c.document];
        for (const QFileInfo& old : QDir(pdfDir).entryInfoList({"*.pdf"}, QDir::Files)) {
            QFile::remove(old.filePath());
        }
        const BatchRun run = runBatch(args + QStringList{"--printer", c.queue,
                                                         "--place-by-paper-edge", c.placement});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QString queued = queuePdf(want.size());
        ASSERT_FALSE(queued.isEmpty());
        const std::vector<QRectF> got = inkBoxes(queued, want.size(), folder.path());
        for (std::size_t p = 0; p < want.size(); ++p) {
            const QRectF expected = want[p].translated(c.shift);
            EXPECT_NEAR(got[p].left(), expected.left(), kInkTolerance) << "page " << p + 1;
            EXPECT_NEAR(got[p].top(), expected.top(), kInkTolerance) << "page " << p + 1;
            EXPECT_NEAR(got[p].right(), expected.right(), kInkTolerance) << "page " << p + 1;
            EXPECT_NEAR(got[p].bottom(), expected.bottom(), kInkTolerance) << "page " << p + 1;
        }
    }
}

TEST(PrinterBatchRefusals, RefuseAMissingPrinterAndTwoDestinations) {
    TempFolder folder;
    const QString contacts = folder.write("F.DAT", personBytes("Al", "One"));
    const QString out = folder.file("out.pdf");
    const QStringList commands[] = {
        {"labels", "x"},        {"envelope", "--size", "1", "x"},
        {"return-labels", "x"}, {"bulk-labels", contacts},
        {"report", contacts},   {"details", contacts, "1"},
    };
    // A print server that is not there offers no printers at all.
    qputenv("CUPS_SERVER", folder.file("no-server.sock").toUtf8());
    for (const QStringList& command : commands) {
        SCOPED_TRACE(command.join(' ').toStdString());
        BatchRun run = runBatch(command + QStringList{"--printer", "No Such Printer"});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains("There is no printer named \"No Such Printer\""))
            << run.err.toStdString();
        run = runBatch(command + QStringList{"--printer", "No Such Printer", "-o", out});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains("-o and --printer cannot be given together"))
            << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
    qunsetenv("CUPS_SERVER");
}
