// tandor-batch's --printer: jobs sent to a real print server, and the refusals.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <cmath>

#include "support/PdfWords.h"
#include "support/RecordBytes.h"
#include "support/TestFiles.h"

using namespace tandor::test;

namespace {

constexpr double kTolerance = 0.02;  // inches

// The private print server of scripts/cups-test-server.sh with its one PDF queue:
// the one scripts/test.sh started (its address in the environment), or else one
// started for these tests and stopped after them.
struct PrintServer {
    QString dir, socket, printer, pdfDir;
    bool startedHere = false;
    QString missing;  // why there is no server, when there is none
    QByteArray previousCupsServer;
};

PrintServer& server() {
    static PrintServer s;
    return s;
}

void startServer() {
    PrintServer& s = server();
    s.socket = qEnvironmentVariable("TANDOR_CUPS_SERVER");
    s.printer = qEnvironmentVariable("TANDOR_CUPS_PRINTER");
    s.pdfDir = qEnvironmentVariable("TANDOR_CUPS_PDF_DIR");
    if (s.socket.isEmpty()) {
        QProcess script;
        script.start("bash", {sourcePath("scripts/cups-test-server.sh"), "start"});
        script.waitForFinished(60000);
        const QString out = QString::fromUtf8(script.readAllStandardOutput());
        if (script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0) {
            s.missing = QString::fromUtf8(script.readAllStandardError()).trimmed();
            if (s.missing.isEmpty()) {
                s.missing = "scripts/cups-test-server.sh start failed";
            }
            return;
        }
        for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
            const QString key = line.section('=', 0, 0);
            const QString value = line.section('=', 1);
            if (key == "TANDOR_CUPS_DIR") s.dir = value;
            if (key == "TANDOR_CUPS_SERVER") s.socket = value;
            if (key == "TANDOR_CUPS_PRINTER") s.printer = value;
            if (key == "TANDOR_CUPS_PDF_DIR") s.pdfDir = value;
        }
        s.startedHere = true;
    }
    if (s.printer.isEmpty() || s.pdfDir.isEmpty()) {
        s.missing = "the print server's queue or PDF folder is not known";
        return;
    }
    s.previousCupsServer = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", s.socket.toUtf8());
}

void stopServer() {
    PrintServer& s = server();
    if (!s.missing.isEmpty()) {
        return;
    }
    if (s.previousCupsServer.isEmpty()) {
        qunsetenv("CUPS_SERVER");
    } else {
        qputenv("CUPS_SERVER", s.previousCupsServer);
    }
    if (s.startedHere) {
        QProcess::execute("bash", {sourcePath("scripts/cups-test-server.sh"), "stop", s.dir});
    }
}

class PrinterBatch : public ::testing::Test {
protected:
    static void SetUpTestSuite() { startServer(); }
    static void TearDownTestSuite() { stopServer(); }
    void SetUp() override {
        if (!havePdfToText()) {
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        }
        if (!server().missing.isEmpty()) {
            const std::string why =
                "no private print server (cupsd with a cups-pdf queue) could be started, so "
                "printing through --printer is not tested: " +
                server().missing.toStdString();
            if (qEnvironmentVariable("CI") == "true") {
                FAIL() << why;
            }
            GTEST_SKIP() << why;
        }
    }

    // The pages of the PDF the queue writes for the one job sent after its
    // folder was emptied, once the file is complete.
    std::vector<Page> queuePages(std::size_t expected) {
        QElapsedTimer clock;
        clock.start();
        qint64 lastSize = -1;
        while (clock.elapsed() < 60000) {
            const QFileInfoList files =
                QDir(server().pdfDir).entryInfoList({"*.pdf"}, QDir::Files);
            if (files.size() == 1 && files[0].size() > 0 && files[0].size() == lastSize) {
                std::vector<Page> pages = pdfPages(files[0].filePath());
                if (pages.size() == expected) {
                    return pages;
                }
            }
            lastSize = files.size() == 1 ? files[0].size() : -1;
            QThread::msleep(250);
        }
        ADD_FAILURE() << "the queue wrote no complete PDF of " << expected
                      << " page(s) within 60 s into " << server().pdfDir.toStdString();
        return {};
    }

    TempFolder folder;
    QString programFolder = folder.withDefaultAdjustments();
};

// A word's centre in inches, on a page of the direct PDF's shape.
struct Spot {
    QString text;
    double x, y;
};

// The words of a page in reading order. A landscape page comes out of a printer
// turned a quarter onto its portrait paper; `turnedBack` undoes that.
std::vector<Spot> spots(const Page& page, bool turnedBack) {
    std::vector<Spot> out;
    for (const Word& w : page.words) {
        const double cx = (w.x0 + w.x1) / 2;
        const double cy = (w.y0 + w.y1) / 2;
        out.push_back(turnedBack ? Spot{w.text, page.height - cy, cx} : Spot{w.text, cx, cy});
    }
    std::stable_sort(out.begin(), out.end(), [](const Spot& a, const Spot& b) {
        return a.y + 0.03 < b.y || (std::abs(a.y - b.y) <= 0.03 && a.x < b.x);
    });
    return out;
}

const QStringList kAddress = {"John Q. Smith", "1234 Main Street", "Springfield, IL  62704"};

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

        for (const QFileInfo& old : QDir(server().pdfDir).entryInfoList({"*.pdf"}, QDir::Files)) {
            QFile::remove(old.filePath());
        }
        run = runBatch(args + QStringList{"--printer", server().printer});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const std::vector<Page> got = queuePages(want.size());
        ASSERT_EQ(got.size(), want.size());

        for (std::size_t p = 0; p < want.size(); ++p) {
            const bool same = std::abs(got[p].width - want[p].width) < kTolerance &&
                              std::abs(got[p].height - want[p].height) < kTolerance;
            const bool turned = want[p].width > want[p].height &&
                                std::abs(got[p].width - want[p].height) < kTolerance &&
                                std::abs(got[p].height - want[p].width) < kTolerance;
            ASSERT_TRUE(same || turned)
                << "page " << p + 1 << ": " << got[p].width << " x " << got[p].height
                << " in on the queue, " << want[p].width << " x " << want[p].height << " in direct";
            const std::vector<Spot> a = spots(want[p], false);
            const std::vector<Spot> b = spots(got[p], !same);
            ASSERT_EQ(a.size(), b.size()) << "page " << p + 1;
            int misplaced = 0;
            QString first;
            for (std::size_t i = 0; i < a.size(); ++i) {
                if (a[i].text != b[i].text || std::abs(a[i].x - b[i].x) > kTolerance ||
                    std::abs(a[i].y - b[i].y) > kTolerance) {
                    if (misplaced++ == 0) {
                        first = QString("\"%1\" at (%2, %3) in, on the queue \"%4\" at (%5, %6)")
                                    .arg(a[i].text).arg(a[i].x).arg(a[i].y)
                                    .arg(b[i].text).arg(b[i].x).arg(b[i].y);
                    }
                }
            }
            EXPECT_EQ(misplaced, 0) << "of " << a.size() << " words on page " << p + 1
                                    << "; the first: " << first.toStdString();
        }
    }
}

TEST(PrinterBatchRefusals, RefuseAMissingPrinterAndTwoDestinations) {
    TempFolder folder;
    const QString contacts = folder.write("F.DAT", personBytes("Al", "One"));
    const QString out = folder.file("out.pdf");
    const QStringList commands[] = {
        {"labels", "x"},
        {"envelope", "--size", "1", "x"},
        {"return-labels", "x"},
        {"bulk-labels", contacts},
        {"report", contacts},
        {"details", contacts, "1"},
    };
    // A print server that is not there offers no printers at all.
    const QByteArray previous = qgetenv("CUPS_SERVER");
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
    if (previous.isEmpty()) {
        qunsetenv("CUPS_SERVER");
    } else {
        qputenv("CUPS_SERVER", previous);
    }
}
