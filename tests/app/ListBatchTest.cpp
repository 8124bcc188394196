#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>

#include "store/ContactRecord.h"
#include "support/PdfWords.h"
#include "support/TestFiles.h"

using namespace tandor;
using namespace tandor::test;

namespace {

ContactRecord contactOf(std::initializer_list<std::pair<Field, QString>> values) {
    ContactFields fields;
    for (const auto& [field, value] : values) {
        fields[field] = value;
    }
    return ContactRecord::build(fields);
}

QString writeFile(const TempFolder& folder, const QString& name,
                  const std::vector<ContactRecord>& records) {
    QByteArray bytes;
    for (const ContactRecord& r : records) {
        bytes += r.bytes();
    }
    return folder.write(name, bytes);
}

std::vector<ContactRecord> sampleContacts() {
    return {contactOf({{Field::FName, "John"},
                       {Field::MiddleInit, "Q"},
                       {Field::LName, "Smith"},
                       {Field::City, "San Diego"},
                       {Field::State, "CA"},
                       {Field::Zip, "92101"},
                       {Field::HPhone, "(212) 555-1212"},
                       {Field::CPhone, "212-555-1212"}}),
            contactOf({{Field::FName, "anna"},
                       {Field::MiddleInit, "q"},
                       {Field::LName, "de Vries"},
                       {Field::City, "Santa Fe"},
                       {Field::Zip, "92104"}}),
            contactOf({{Field::FName, "Bob"},
                       {Field::LName, "Davis"},
                       {Field::City, "Pleasanton"},
                       {Field::Zip, "K1A 0B1"}}),
            contactOf({{Field::FName, "Cher"}, {Field::City, "Boston"}})};
}

// The 31 contacts of a label run; every fourth one prints its company.
std::vector<ContactRecord> labelRunContacts() {
    std::vector<ContactRecord> records;
    for (int i = 1; i <= 31; ++i) {
        const bool company = i % 4 == 1;
        records.push_back(
            contactOf({{Field::FName, QStringLiteral("Barthol%1").arg(i, 2, 10, QChar('0'))},
                       {Field::MiddleInit, "J"},
                       {Field::LName, QStringLiteral("Richardson%1").arg(i, 2, 10, QChar('0'))},
                       {Field::FStreet, QStringLiteral("%1 North Westmoreland Ave").arg(1000 + i)},
                       {Field::City, "Fort Lauderdale"},
                       {Field::State, "FL"},
                       {Field::Zip, "33301"},
                       {Field::Company, company ? "Westmoreland Supply Co" : ""},
                       {Field::IncludeCompany, company ? "1" : "0"}}));
    }
    return records;
}

class ListBatch : public ::testing::Test {
protected:
    TempFolder folder;
    QString programFolder = folder.withDefaultAdjustments();

    BatchRun run(const QStringList& args) {
        return runBatch(QStringList{"--program-folder", programFolder} + args);
    }
};

}  // namespace

TEST_F(ListBatch, ListPrintsTheLinesAsTheWindowHoldsThemAndTheCount) {
    const QString file = writeFile(folder, "Family.DAT", sampleContacts());
    const QString blank22(22, ' ');
    BatchRun all = run({"list", file});
    EXPECT_EQ(all.exitCode, 0) << all.err.toStdString();
    const QStringList lines = all.out.split('\n');
    ASSERT_EQ(lines.size(), 6);  // four lines, the count, and the final line break
    EXPECT_EQ(lines[0], "anna de Vries\tSanta Fe        \t  \t92104     \t" + blank22 + "\t" +
                            blank22 + "\t" + QString(50, ' '));
    EXPECT_TRUE(lines[1].startsWith("Bob Davis\t"));
    EXPECT_TRUE(lines[2].startsWith("Cher \tBoston"));
    EXPECT_EQ(lines[3], "John Q. Smith\tSan Diego       \tCA\t92101     \t" + blank22 +
                            "\t212-555-1212   \t" + QString(50, ' '));
    EXPECT_EQ(lines[4], "Contacts Found = 4");

    BatchRun last = run({"list", "--sort", "last", file});
    QStringList names;
    for (const QString& l : last.out.split('\n', Qt::SkipEmptyParts)) {
        names.append(l.section('\t', 0, 0));
    }
    EXPECT_EQ(names, QStringList({", Cher ", "Davis, Bob ", "de Vries, anna ", "Smith, John Q. ",
                                  "Contacts Found = 4"}));

    EXPECT_TRUE(
        run({"list", file, "--search", "city", "san"}).out.endsWith("Contacts Found = 3\n"));
    EXPECT_TRUE(
        run({"list", file, "--search", "zip", "9210"}).out.endsWith("Contacts Found = 2\n"));
    EXPECT_EQ(run({"list", file, "--search", "zip", "k1a"}).out, "Contacts Found = 0\n");
    EXPECT_TRUE(run({"list", file, "--search", "zip", "K1A"}).out.startsWith("Bob Davis\t"));
    EXPECT_TRUE(run({"list", file, "--search", "state", ""}).out.endsWith("Contacts Found = 1\n"));
}

TEST_F(ListBatch, ListRefusesAMissingFileAndWrongOptions) {
    const QString file = writeFile(folder, "Family.DAT", sampleContacts());
    EXPECT_EQ(run({"list", folder.file("none.DAT")}).exitCode, 2);
    EXPECT_EQ(run({"list", file, "--search", "phone", "1"}).exitCode, 1);
    EXPECT_EQ(run({"list", file, "--search", "city"}).exitCode, 1);
    EXPECT_EQ(run({"list", file, "--sort", "zip"}).exitCode, 1);
    EXPECT_EQ(run({"list"}).exitCode, 1);
}

TEST_F(ListBatch, BulkLabelsOfThirtyOneContactsLieInsideTheirLabelsOnTwoSheets) {
    if (!havePdfToText()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    const std::vector<ContactRecord> records = labelRunContacts();
    const QString file = writeFile(folder, "Run.DAT", records);
    const QString pdf = folder.file("labels.pdf");
    const BatchRun printed = run({"bulk-labels", file, "-o", pdf});
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    const std::vector<Page> pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 2u);

    double worst = -1;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        EXPECT_NEAR(pages[p].width, 8.5, 1e-3);
        EXPECT_NEAR(pages[p].height, 11.0, 1e-3);
        const auto labels = wordsByLabel(pages[p], kAvery5160);
        ASSERT_EQ(labels.size(), p == 0 ? 30u : 1u);
        for (const auto& [position, label] : labels) {
            // The list is in first-name order, which is record order here.
            const int n = static_cast<int>(p) * 30 + position;
            const ContactRecord& r = records[static_cast<std::size_t>(n - 1)];
            QStringList lines{r.field(Field::FName) + " J " + r.field(Field::LName),
                              r.field(Field::FStreet), "Fort Lauderdale, FL  33301"};
            if (n % 4 == 1) {
                lines.insert(n == 31 ? 0 : 1, "Westmoreland Supply Co");
            }
            EXPECT_EQ(label.words, wordsOf(lines)) << "page " << p + 1 << " label " << position;
            EXPECT_EQ(label.overflow, 0.0) << "page " << p + 1 << " label " << position;
            worst = std::max(worst, label.overflow);
        }
    }
    EXPECT_EQ(worst, 0.0);
}

TEST_F(ListBatch, BulkLabelsRefuseAnEmptyListAndWriteNothing) {
    const QString file = writeFile(folder, "Family.DAT", sampleContacts());
    const QString pdf = folder.write("kept.pdf", "old content");
    const BatchRun refused = run({"bulk-labels", file, "--search", "city", "Nowhere", "-o", pdf});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("Empty list, no labels to print."))
        << refused.err.toStdString();
    EXPECT_EQ(readAll(pdf), "old content");
    EXPECT_EQ(run({"bulk-labels", file}).exitCode, 1);  // no -o
    folder.write("TDRPARAM.TXT", "BULKLIST ?   0  \r\n");
    const BatchRun broken = run({"bulk-labels", file, "-o", pdf});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_TRUE(broken.err.contains("A printer problem exists.  Check printer."));
    EXPECT_EQ(readAll(pdf), "old content");
}

TEST_F(ListBatch, BulkLabelsLeaveOutContactsWithoutAnAddressUnlessTheyAreToBePrinted) {
    if (!havePdfToText()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    std::vector<ContactRecord> records = sampleContacts();
    records.push_back(contactOf({{Field::FName, "Dora"}, {Field::LName, "Nowhere"}, {Field::Country, "USA"}}));
    const QString file = writeFile(folder, "Family.DAT", records);
    const QString pdf = folder.file("labels.pdf");
    const std::pair<QStringList, bool> cases[] = {{{}, false}, {{"--print-without-address"}, true}};
    for (const auto& [option, printed] : cases) {
        const BatchRun run = this->run(QStringList{"bulk-labels", file, "-o", pdf} + option);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith("note: 1 of the 5 contacts in the list has no address")) << run.err.toStdString();
        const std::vector<Page> pages = pdfPages(pdf);
        ASSERT_EQ(pages.size(), 1u);
        QStringList words;
        for (const Word& w : pages[0].words) {
            words.append(w.text);
        }
        EXPECT_TRUE(words.contains("Cher"));
        EXPECT_EQ(words.contains("Nowhere"), printed) << words.join(' ').toStdString();
    }
}

TEST_F(ListBatch, ReportPrintsTheListInLandscapeWithItsColumns) {
    if (!havePdfToText()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    const QString file = writeFile(folder, "Family.DAT", sampleContacts());
    const QString pdf = folder.file("report.pdf");
    const BatchRun printed =
        run({"report", file, "--search", "city", "san", "--copies", "2", "-o", pdf});
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    const std::vector<Page> pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 2u);
    for (const Page& page : pages) {
        EXPECT_NEAR(page.width, 11.0, 1e-3);
        EXPECT_NEAR(page.height, 8.5, 1e-3);
        std::vector<Word> sorted = page.words;
        std::stable_sort(sorted.begin(), sorted.end(), [](const Word& a, const Word& b) {
            return a.y0 + 0.01 < b.y0 || (std::abs(a.y0 - b.y0) <= 0.01 && a.x0 < b.x0);
        });
        QStringList words;
        for (const Word& w : sorted) {
            words.append(w.text);
        }
        EXPECT_EQ(words.mid(0, 3), QStringList({"Tandor", "File:", "Family"}));
        EXPECT_EQ(words.mid(3, 8),
                  QStringList({"Name", "City", "ST", "Zip", "Home", "Cell", "Email", "Address"}));
        const auto at = [&page](const QString& text) {
            for (const Word& w : page.words) {
                if (w.text == text) {
                    return w.x0;
                }
            }
            return -1.0;
        };
        // Print columns of 10-point Courier New are 1/12 in wide, from the 0.25 in margin.
        EXPECT_NEAR(at("Name"), 0.25 + 1 / 12.0, 0.01);
        EXPECT_NEAR(at("City"), 0.25 + 29 / 12.0, 0.01);
        EXPECT_NEAR(at("Pleasanton"), 0.25 + 29 / 12.0, 0.01);
        EXPECT_NEAR(at("212-555-1212"), 0.25 + 77 / 12.0, 0.01);
        EXPECT_NEAR(at("Email"), 0.25 + 91 / 12.0, 0.01);
        EXPECT_EQ(at("Boston"), -1.0);
    }
}

// A file left with records marked for deletion (a deletion cut short) is only
// read by the commands that read: its bytes stay, and the marked records are
// not shown; a contact with a tab stored inside a field stays on one line.
TEST_F(ListBatch, ReadingCommandsLeaveTheFileAndShowNeitherMarkedRecordsNorTabs) {
    std::vector<ContactRecord> records = sampleContacts();
    records.push_back(contactOf({{Field::FName, "Ed"}, {Field::LName, "Eve"}}));
    QByteArray bytes;
    for (const ContactRecord& r : records) {
        bytes += r.bytes();
    }
    bytes.replace(0, 9, "*DELETED*");            // John
    bytes.replace(3 * 513, 9, "*DELETED*");      // Cher
    bytes.replace(4 * 513 + 14, 7, "In\tName");  // Ed's last name, written elsewhere
    const QString file = folder.write("Marked.DAT", bytes);

    const BatchRun info = run({"info", file});
    EXPECT_EQ(info.out, "records: 3\nbirthday reminders: off\n");
    const BatchRun list = run({"list", file});
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    const QStringList lines = list.out.split('\n');
    ASSERT_EQ(lines.size(), 5) << list.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("anna de Vries\t"));
    EXPECT_TRUE(lines[1].startsWith("Bob Davis\t"));
    EXPECT_TRUE(lines[2].startsWith("Ed In Name\t"));
    EXPECT_EQ(lines[2].count('\t'), 6);
    EXPECT_EQ(lines[3], "Contacts Found = 3");
    EXPECT_EQ(run({"report", file, "-o", folder.file("r.pdf")}).exitCode, 0);
    EXPECT_EQ(run({"bulk-labels", file, "-o", folder.file("b.pdf")}).exitCode, 0);
    EXPECT_EQ(readAll(file), bytes);
}
