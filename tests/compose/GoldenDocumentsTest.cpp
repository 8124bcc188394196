// Every print command's documents, composed on the recording surface, against
// the placed texts kept in tests/data/golden/. Set TANDOR_WRITE_GOLDEN=1 to
// write the files from the current code instead (then review the diff).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <functional>

#include "contacts/DetailsSheet.h"
#include "list/widgets/BulkLabelsCommand.h"
#include "list/ListPrint.h"
#include "list/ListLine.h"
#include "support/PrintTestSupport.h"

namespace tandor::test {
namespace {

QString describe(const std::vector<PrintedDocument>& documents) {
    QString out;
    for (std::size_t d = 0; d < documents.size(); ++d) {
        out += QStringLiteral("document %1\n").arg(d + 1);
        const auto& pages = documents[d].pages;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            const PrintedPage& page = pages[p];
            const QString paper = !page.paper                             ? QStringLiteral("printer's")
                                  : *page.paper == PaperSize::Letter      ? QStringLiteral("letter")
                                                                          : QStringLiteral("envelope 10");
            out += QStringLiteral("page %1 %2 paper %3\n")
                       .arg(p + 1)
                       .arg(page.orientation == PageOrientation::Portrait ? QStringLiteral("portrait")
                                                                          : QStringLiteral("landscape"))
                       .arg(paper);
            for (const PlacedText& t : page.texts) {
                out += QStringLiteral("  line %1 col %2 y %3 | %4 %5%6%7 | \"%8\"\n")
                           .arg(t.line)
                           .arg(t.column)
                           .arg(t.yPt, 0, 'f', 1)
                           .arg(t.font.name)
                           .arg(t.font.size)
                           .arg(t.font.bold ? QStringLiteral(" bold") : QString())
                           .arg(t.font.italic ? QStringLiteral(" italic") : QString())
                           .arg(t.text);
            }
        }
    }
    return out;
}

const QString kShifted = QStringLiteral("HP Officejet Pro 8600");
const QByteArray kAdjusted = "ONTHEFLY   2  -1\r\nENVELOPE  -3   2\r\nBULKLIST   1   0\r\n";

struct LabelCase {
    const char* name;
    const char* positions;
    bool centered = false;
    bool landscape = false;
    bool shifted = false;
    bool adjusted = false;
    int copies = 1;
};

struct EnvelopeCase {
    const char* name;
    int size;
    bool bold = false;
    bool large = false;
    bool portrait = false;
    bool centered = false;
    bool shifted = false;
    bool adjusted = false;
};

std::vector<ContactRecord> someContacts(int count) {
    std::vector<ContactRecord> records;
    for (int i = 1; i <= count; ++i) {
        ContactFields f;
        f[Field::FName] = QStringLiteral("First%1").arg(i);
        f[Field::LName] = QStringLiteral("Last%1").arg(i);
        f[Field::FStreet] = QStringLiteral("%1 Elm St").arg(i);
        f[Field::City] = QStringLiteral("Town%1").arg(i);
        f[Field::State] = QStringLiteral("CA");
        f[Field::Zip] = QStringLiteral("9%1").arg(i, 4, 10, QLatin1Char('0'));
        f[Field::HPhone] = i % 3 == 0 ? QStringLiteral("555-01%1").arg(i, 2, 10, QLatin1Char('0')) : QString();
        if (i % 4 == 2) {
            f[Field::Company] = QStringLiteral("Acme %1").arg(i);
            f[Field::IncludeCompany] = QStringLiteral("1");
        }
        if (i % 5 == 3) {
            f[Field::MiddleInit] = QStringLiteral("Q");
            f[Field::SStreet] = QStringLiteral("Apt %1").arg(i);
        }
        records.push_back(ContactRecord::build(f));
    }
    return records;
}

std::vector<ListEntry> entriesFor(const std::vector<ContactRecord>& records) {
    std::vector<ListEntry> entries;
    for (std::size_t i = 0; i < records.size(); ++i) {
        entries.push_back({listLine(records[i], SortOrder::FirstName), static_cast<int>(i) + 1});
    }
    return entries;
}

class GoldenDocuments : public ::testing::Test {
protected:
    // Compares (or writes) one golden file; returns its text for further checks.
    void check(const QString& name, const std::vector<PrintedDocument>& documents) {
        const QString text = describe(documents);
        const QString path = sourcePath(QStringLiteral("tests/data/golden/") + name + QStringLiteral(".txt"));
        if (qEnvironmentVariableIsSet("TANDOR_WRITE_GOLDEN")) {
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile out(path);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
            out.write(text.toUtf8());
            return;
        }
        const QString expected = QString::fromUtf8(readAll(path));
        ASSERT_FALSE(expected.isEmpty()) << "missing golden file " << path.toStdString();
        EXPECT_EQ(text, expected) << name.toStdString();
    }
};

TEST_F(GoldenDocuments, OnTheFlyLabels) {
    const LabelCase cases[] = {
        {"labels-5", "5"},
        {"labels-1-30", "1-30"},
        {"labels-4-9-centered", "4-9", true},
        {"labels-28-30-landscape", "28-30", false, true},
        {"labels-5-shifted", "5", false, false, true},
        {"labels-2-4-adjusted-2-copies", "2-4", false, false, false, true, 2},
    };
    for (const LabelCase& c : cases) {
        PrintBench bench;
        if (c.adjusted) {
            bench.setAdjustments(kAdjusted);
        }
        if (c.shifted) {
            bench.platform.setPrinterName(kShifted);
        }
        bench.chooseLabel(QString::fromLatin1(c.positions));
        if (c.centered) {
            composition::clickCentered(bench.state);
        }
        if (c.landscape) {
            composition::selectLandscape(bench.state);
        }
        bench.platform.answerPrint({false, c.copies, false});
        bench.print();
        ASSERT_TRUE(bench.platform.messages().isEmpty()) << c.name;
        check(QString::fromLatin1(c.name), bench.surface().documents());
    }
}

TEST_F(GoldenDocuments, Envelopes) {
    std::vector<EnvelopeCase> cases;
    for (int size = 1; size <= 7; ++size) {
        cases.push_back({nullptr, size});
    }
    cases.push_back({"envelope-10-bold", 1, true});
    cases.push_back({"envelope-10-large", 1, false, true});
    cases.push_back({"envelope-10-bold-large-centered", 1, true, true, false, true});
    cases.push_back({"envelope-10-portrait", 1, false, false, true});
    cases.push_back({"envelope-10-adjusted", 1, false, false, false, false, false, true});
    cases.push_back({"envelope-10-shifted", 1, false, false, false, false, true});
    cases.push_back({"envelope-6-large-shifted", 2, false, true, false, false, true});
    for (const EnvelopeCase& c : cases) {
        PrintBench bench;
        const QString name = c.name ? QString::fromLatin1(c.name) : QStringLiteral("envelope-size-%1").arg(c.size);
        if (c.adjusted) {
            bench.setAdjustments(kAdjusted);
        }
        if (c.shifted) {
            bench.platform.setPrinterName(kShifted);
        }
        bench.chooseEnvelope(c.size);
        if (c.bold) {
            composition::clickBold(bench.state, true);
        }
        if (c.large) {
            composition::clickLargeFont(bench.state, true);
        }
        if (c.portrait) {
            composition::selectPortrait(bench.state);
        }
        if (c.centered) {
            composition::clickCentered(bench.state);
        }
        bench.print();
        ASSERT_TRUE(bench.platform.messages().isEmpty()) << name.toStdString();
        check(name, bench.surface().documents());
    }
}

TEST_F(GoldenDocuments, ReturnAddressSheet) {
    PrintBench bench;
    bench.state.lines = {"Jane Doe", "", "Springfield, IL  62704", "", ""};
    bench.platform.answerPrint({false, 2, false});
    runReturnAddressCommand(bench.state, bench.platform);
    check(QStringLiteral("return-address-2-copies"), bench.surface().documents());
}

TEST_F(GoldenDocuments, BulkLabels) {
    struct Case {
        const char* name;
        int contacts;
        const char* printer;
        bool adjusted;
    };
    const Case cases[] = {
        {"bulk-5", 5, "Recording Printer", false},
        {"bulk-31-page-printer-adjusted", 31, "HP Photosmart C4280", true},
        {"bulk-64", 64, "Recording Printer", false},
    };
    for (const Case& c : cases) {
        PrintBench bench;
        if (c.adjusted) {
            bench.setAdjustments(kAdjusted);
        }
        bench.platform.setPrinterName(QString::fromLatin1(c.printer));
        const std::vector<ContactRecord> records = someContacts(c.contacts);
        const BulkLabelsOutcome outcome = runBulkLabelsCommand(
            bench.platform, bench.programFolder, entriesFor(records),
            [&records](int n) { return records.at(static_cast<std::size_t>(n - 1)); });
        ASSERT_EQ(outcome, BulkLabelsOutcome::Printed) << c.name;
        check(QString::fromLatin1(c.name), bench.surface().documents());
    }
}

TEST_F(GoldenDocuments, PrintedList) {
    const std::vector<ListEntry> lines = entriesFor(someContacts(60));
    {
        ScriptedPlatform platform;
        ListPrintRequest request;
        request.lines = &lines;
        request.fileTitle = QStringLiteral("Family");
        runListPrintCommand(platform, request);
        check(QStringLiteral("list-60"), platform.recording()->documents());
    }
    {
        ScriptedPlatform platform;
        platform.answerPrint({false, 1, true});
        ListPrintRequest request;
        request.lines = &lines;
        request.selectedRows = {1, 4, 7};
        runListPrintCommand(platform, request);
        check(QStringLiteral("list-selected-lines"), platform.recording()->documents());
    }
    {
        ScriptedPlatform platform;
        platform.answerPrint({false, 1, true});
        ListPrintRequest request;
        request.lines = &lines;
        request.headerBoxActive = true;
        request.headerSelectedText = QStringLiteral("Name\tCity");
        runListPrintCommand(platform, request);
        check(QStringLiteral("list-selected-text"), platform.recording()->documents());
    }
}

TEST_F(GoldenDocuments, DetailsSheet) {
    ContactEntry shown;
    shown.fName = QStringLiteral("John");
    shown.lName = QStringLiteral("Smith");
    shown.fStreet = QStringLiteral("1 Main St");
    shown.sStreet = QStringLiteral("Suite 4");
    shown.city = QStringLiteral("Springfield");
    shown.state = QStringLiteral("IL");
    shown.zip = QStringLiteral("62701");
    shown.country = QStringLiteral("USA");
    shown.company = QStringLiteral("Acme");
    shown.birthdate = QStringLiteral("04/01/1970");
    shown.hPhone = QStringLiteral("555-1234");
    shown.email = QStringLiteral("john@example.com");
    shown.category = QString(80, QLatin1Char('c'));
    shown.notes = QString(160, QLatin1Char('n'));
    {
        ScriptedPlatform platform;
        platform.answerPrint({false, 2, false});
        runDetailsPrint(shown, {}, QDate(2026, 3, 1), platform);
        check(QStringLiteral("details-2-copies"), platform.recording()->documents());
    }
    {
        ScriptedPlatform platform;
        platform.answerPrint({false, 1, true});
        runDetailsPrint(shown, {true, QStringLiteral("line one\nline two")}, QDate(2026, 3, 1), platform);
        check(QStringLiteral("details-selection"), platform.recording()->documents());
    }
}

}  // namespace
}  // namespace tandor::test
