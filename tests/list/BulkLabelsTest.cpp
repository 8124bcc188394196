#include <gtest/gtest.h>

#include "ListTestSupport.h"
#include "list/BulkLabels.h"
#include "list/widgets/BulkLabelsCommand.h"
#include "platform/AppError.h"
#include "platform/ScriptedPlatform.h"
#include "support/TestFiles.h"
#include "sheets/PrinterModels.h"

using namespace tandor;
using test::contact;

namespace {

ContactRecord labelContact(int i, const QString& company = {}, const QString& include = "0") {
    return contact({{Field::FName, QStringLiteral("F%1").arg(i)},
                    {Field::LName, QStringLiteral("L%1").arg(i)},
                    {Field::FStreet, QStringLiteral("%1 Elm St").arg(i)},
                    {Field::City, "Reno"},
                    {Field::State, "NV"},
                    {Field::Zip, "89501"},
                    {Field::Company, company},
                    {Field::IncludeCompany, include}});
}

QString name(int i) {
    return QStringLiteral("F%1 L%1").arg(i);
}
QString street(int i) {
    return QStringLiteral("%1 Elm St ").arg(i);
}
const QString kCity = QStringLiteral("Reno, NV  89501");

QString line(std::initializer_list<std::pair<int, QString>> items) {
    QStringList parts;
    for (const auto& [column, text] : items) {
        parts.append(QStringLiteral("[col %1] \"%2\"").arg(column).arg(text));
    }
    return "line " + parts.join(' ');
}

const QStringList kSpacingAfterThreeLines{"font size 11", "empty", "font size 9", "empty",
                                          "empty",        "empty", "font size 10"};
const QStringList kSpacingAfterFourLines{"font size 9", "empty", "empty", "empty", "font size 10"};
const QStringList kRunStart{"empty",        "empty",     "empty", "empty", "font name Courier New",
                            "font size 10", "italic off"};

// Contacts read by record number from a list of records.
struct Labels {
    std::vector<ContactRecord> records;
    std::vector<ListEntry> entries;
    int reads = 0;

    explicit Labels(std::vector<ContactRecord> r)
        : records(std::move(r)), entries(test::entriesFor(records)) {}
    std::function<ContactRecord(int)> reader() {
        return [this](int n) {
            ++reads;
            return records.at(static_cast<std::size_t>(n - 1));
        };
    }
};

std::vector<ContactRecord> plainContacts(int count) {
    std::vector<ContactRecord> r;
    for (int i = 1; i <= count; ++i) {
        r.push_back(labelContact(i));
    }
    return r;
}

// A printer whose printable height is given, to see an automatic page advance.
class ShortPageSurface : public RecordingSurface {
public:
    explicit ShortPageSurface(double heightPt) : height_(heightPt) {}

protected:
    QSizeF printableSize(std::optional<PaperSize>, PageOrientation) const override {
        return {576, height_};
    }

private:
    double height_;
};

}  // namespace

TEST(BulkLabel, IsBuiltFromTheTrimmedFields) {
    const BulkLabel q = bulkLabelOf(contact({{Field::FName, "John"},
                                             {Field::MiddleInit, "Q"},
                                             {Field::LName, "Smith"},
                                             {Field::FStreet, "12 Oak Ave"},
                                             {Field::SStreet, "Apt 3"},
                                             {Field::City, "Austin"},
                                             {Field::State, "TX"},
                                             {Field::Zip, "78701"}}));
    EXPECT_EQ(q.name, "John Q Smith");
    EXPECT_EQ(q.street, "12 Oak Ave Apt 3");
    EXPECT_EQ(q.city, "Austin, TX  78701");
    EXPECT_FALSE(q.withCompany());

    const BulkLabel bare = bulkLabelOf(contact({{Field::FName, "Ann"}, {Field::MiddleInit, "q"}}));
    EXPECT_EQ(bare.name, "Ann q ");
    EXPECT_EQ(bare.street, " ");
    EXPECT_EQ(bare.city, ",   ");
    EXPECT_EQ(bulkLabelOf(contact({{Field::FName, "Ann"}, {Field::LName, "Lee"}})).name, "Ann Lee");
}

TEST(BulkLabel, PrintsTheCompanyOnlyWhenItIsIncluded) {
    EXPECT_EQ(bulkLabelOf(labelContact(1, "Acme", "1")).company, "Acme");
    EXPECT_EQ(bulkLabelOf(labelContact(1, "Acme", "0")).company, "");
    EXPECT_EQ(bulkLabelOf(labelContact(1, "", "1")).company, "");
    EXPECT_EQ(bulkLabelOf(labelContact(1, "Acme", "x")).company,
              "");  // an unknown flag prints without it
    const BulkLabel with = bulkLabelOf(labelContact(1, "Acme", "1"));
    EXPECT_EQ(with.rowLines(), QStringList({name(1), "Acme", street(1), kCity}));
    EXPECT_EQ(with.lastRowLines(), QStringList({"Acme", name(1), street(1), kCity}));
}

TEST(BulkLabel, LeftColumnAndPagePrintersFollowThePrinterName) {
    EXPECT_EQ(bulkLeftColumn("HP LaserJet 4000", {}), 2);
    EXPECT_EQ(bulkLeftColumn("HP Officejet Pro 8600", {}), 4);
    EXPECT_EQ(bulkLeftColumn("HP ENVY 5540", {-1, 0}), 3);
    EXPECT_EQ(bulkLeftColumn("HP Photosmart C4280", {2, 5}), 6);
    EXPECT_EQ(bulkLeftColumn("hp photosmart", {}), 2);  // names compare case-sensitively
    EXPECT_EQ(bulkLeftColumn("HP DeskJet 640C/642C/648C", {}), 2);
    EXPECT_TRUE(isBulkPagePrinter("HP DeskJet 640C/642C/648C"));
    EXPECT_TRUE(isBulkPagePrinter("HP Photosmart C4280"));
    EXPECT_FALSE(isBulkPagePrinter("HP DeskJet 640C"));
    EXPECT_FALSE(isBulkPagePrinter("PDF"));
}

TEST(BulkLabelRun, PrintsAFullRowSideBySideThenItsSpacing) {
    Labels labels(plainContacts(3));
    RecordingSurface surface;
    printBulkLabelRun(surface, labels.entries, labels.reader(), {});
    QStringList expected = kRunStart;
    expected << line({{2, name(1)}, {35, name(2)}, {68, name(3)}})
             << line({{2, street(1)}, {35, street(2)}, {68, street(3)}})
             << line({{2, kCity}, {35, kCity}, {68, kCity}}) << kSpacingAfterThreeLines;
    EXPECT_EQ(surface.operations(), expected);
}

TEST(BulkLabelRun, ACompanyInOneLabelMakesTheRowFourLinesHigh) {
    Labels labels({labelContact(1, "Acme", "1"), labelContact(2), labelContact(3)});
    RecordingSurface surface;
    printBulkLabelRun(surface, labels.entries, labels.reader(), {});
    QStringList expected = kRunStart;
    expected << line({{2, name(1)}, {35, name(2)}, {68, name(3)}})
             << line({{2, "Acme"}, {35, street(2)}, {68, street(3)}})
             << line({{2, street(1)}, {35, kCity}, {68, kCity}}) << line({{2, kCity}})
             << kSpacingAfterFourLines;
    EXPECT_EQ(surface.operations(), expected);
}

TEST(BulkLabelRun, TheLastIncompleteRowPutsTheCompanyFirstWithoutSpacing) {
    std::vector<ContactRecord> records = plainContacts(3);
    records.push_back(labelContact(4, "Acme", "1"));
    records.push_back(labelContact(5));
    Labels labels(records);
    RecordingSurface surface;
    printBulkLabelRun(surface, labels.entries, labels.reader(), {});
    const QStringList ops = surface.operations();
    const QStringList tail = ops.mid(ops.size() - 4);
    EXPECT_EQ(tail, QStringList({line({{2, "Acme"}, {35, name(5)}}),
                                 line({{2, name(4)}, {35, street(5)}}),
                                 line({{2, street(4)}, {35, kCity}}), line({{2, kCity}})}));

    Labels one({labelContact(7, "Acme", "1")});
    RecordingSurface single;
    printBulkLabelRun(single, one.entries, one.reader(), {});
    QStringList expected = kRunStart;
    expected << line({{2, "Acme"}}) << line({{2, name(7)}}) << line({{2, street(7)}})
             << line({{2, kCity}});
    EXPECT_EQ(single.operations(), expected);
}

TEST(BulkLabelRun, StartsANewPageAfterEveryThirtyLabelsOnEveryPrinter) {
    Labels labels(plainContacts(31));
    RecordingSurface surface(QStringLiteral("Generic PostScript Printer"));
    printBulkLabelRun(surface, labels.entries, labels.reader(), {});
    surface.endDocument();
    const QStringList& ops = surface.operations();
    const qsizetype at = ops.indexOf("new page");
    ASSERT_GE(at, 0);
    EXPECT_EQ(ops.mid(at, 6),
              QStringList({"new page", "left edge at 40", "empty", "empty", "empty", "empty"}));
    EXPECT_EQ(ops.mid(at + 6, 3),
              QStringList({line({{2, name(31)}}), line({{2, street(31)}}), line({{2, kCity}})}));

    ASSERT_EQ(surface.documents().size(), 1u);
    const PrintedDocument& doc = surface.documents()[0];
    ASSERT_EQ(doc.pages.size(), 2u);
    EXPECT_EQ(doc.pages[0].texts.size(), 90u);
    QStringList page2;
    for (const PlacedText& t : doc.pages[1].texts) {
        page2.append(t.text);
    }
    EXPECT_EQ(page2, QStringList({name(31), street(31), kCity}));
}

TEST(BulkLabelRun, APagePrinterGetsItsEmptyLinesBeforeTheMoveToTheTop) {
    Labels labels(plainContacts(30));
    RecordingSurface surface(QStringLiteral("HP Officejet Pro 8600"));
    printBulkLabelRun(surface, labels.entries, labels.reader(), {});
    const QStringList& ops = surface.operations();
    EXPECT_EQ(ops.mid(ops.size() - 10),
              QStringList({"new page", "empty", "empty", "empty", "empty", "left edge at 40",
                           "empty", "empty", "empty", "empty"}));
    EXPECT_TRUE(ops.contains(line({{4, name(1)}, {37, name(2)}, {70, name(3)}})));
    surface.endDocument();
    ASSERT_EQ(surface.documents().size(), 1u);
    EXPECT_EQ(surface.documents()[0].pages.size(), 1u);  // no blank sheet after exactly 30 labels
}

TEST(BulkLabelRun, APageTheSurfaceAlreadyAdvancedToIsNotFollowedByABlankOne) {
    // Ten rows of text fit, but the spacing after the tenth passes the bottom.
    Labels labels(plainContacts(31));
    ShortPageSurface surface(735);
    printBulkLabelRun(surface, labels.entries, labels.reader(), {});
    surface.endDocument();
    EXPECT_FALSE(surface.operations().contains("new page"));
    ASSERT_EQ(surface.documents().size(), 1u);
    const PrintedDocument& doc = surface.documents()[0];
    ASSERT_EQ(doc.pages.size(), 2u);
    EXPECT_EQ(doc.pages[0].texts.size(), 90u);
    ASSERT_EQ(doc.pages[1].texts.size(), 3u);
    EXPECT_EQ(doc.pages[1].texts[0].text, name(31));
    EXPECT_NEAR(doc.pages[1].texts[0].yPt, 2.0 + 4 * printgrid::lineHeight(10), 1e-6);
}

TEST(BulkLabelRun, PassesOverLinesWithoutARecordNumber) {
    Labels labels(plainContacts(4));
    std::vector<ListEntry> entries = labels.entries;
    entries.insert(entries.begin() + 1, ListEntry{"pasted line", 0});
    entries.insert(entries.begin(), ListEntry{"", 0});
    RecordingSurface surface;
    printBulkLabelRun(surface, entries, labels.reader(), {});
    EXPECT_EQ(labels.reads, 4);
    EXPECT_TRUE(surface.operations().contains(line({{2, name(1)}, {35, name(2)}, {68, name(3)}})));
    EXPECT_EQ(surface.operations().last(), line({{2, kCity}}));
}

class BulkLabelsCommandTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    QString programFolder = folder.withDefaultAdjustments();
    ScriptedPlatform platform;
    Labels labels{plainContacts(4)};

    BulkLabelsOutcome run() { return run(labels.entries); }
    BulkLabelsOutcome run(const std::vector<ListEntry>& entries) {
        return runBulkLabelsCommand(platform, programFolder, entries, labels.reader());
    }
    RecordingSurface& surface() { return *platform.recording(); }
    void expectPrinterProblem() {
        ASSERT_EQ(platform.messages().size(), 1);
        EXPECT_EQ(platform.messages()[0].text, "A printer problem exists.  Check printer.");
        EXPECT_EQ(platform.messages()[0].title, "Printer error");
        EXPECT_EQ(platform.messages()[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(platform.messages()[0].buttons, MessageButtons::Ok);
    }
};

TEST_F(BulkLabelsCommandTest, RefusesAListWithoutContacts) {
    for (const std::vector<ListEntry>& entries :
         {std::vector<ListEntry>{}, std::vector<ListEntry>{{"pasted", 0}}}) {
        platform.clearRecords();
        EXPECT_EQ(run(entries), BulkLabelsOutcome::EmptyList);
        ASSERT_EQ(platform.messages().size(), 1);
        EXPECT_EQ(platform.messages()[0].text, "Empty list, no labels to print.");
        EXPECT_EQ(platform.messages()[0].title, "No contacts found");
        EXPECT_EQ(platform.messages()[0].icon, MessageIcon::None);
        EXPECT_TRUE(platform.printRequests().isEmpty());
    }
}

TEST_F(BulkLabelsCommandTest, SetsTheFontAndPortraitAndPrintsEachCopyAsItsOwnDocument) {
    platform.answerPrint({false, 2, false});
    EXPECT_EQ(run(), BulkLabelsOutcome::Printed);
    ASSERT_EQ(platform.printRequests().size(), 1);
    EXPECT_TRUE(platform.printRequests()[0].disablePrintToFile);
    EXPECT_FALSE(platform.printRequests()[0].offerSelection);
    EXPECT_EQ(surface().operations().mid(0, 4),
              QStringList(
                  {"font name Courier New", "font size 10", "italic off", "orientation portrait"}));
    EXPECT_EQ(surface().operations().count("end document"), 2);
    ASSERT_EQ(surface().documents().size(), 2u);
    EXPECT_EQ(RecordingSurface::pageGrid(surface().documents()[0].pages[0]),
              RecordingSurface::pageGrid(surface().documents()[1].pages[0]));
    EXPECT_TRUE(platform.messages().isEmpty());
}

TEST_F(BulkLabelsCommandTest, TheBulkListAdjustmentMovesTheColumns) {
    QByteArray file = "ONTHEFLY 5   2  \r\nBULKLIST 3   9  \r\nBULKLIST -1  0  \r\n";
    folder.write("TDRPARAM.TXT", file);
    platform.setPrinterName("HP ENVY 5540");
    run();
    EXPECT_TRUE(
        surface().operations().contains(line({{3, name(1)}, {36, name(2)}, {69, name(3)}})));
    EXPECT_EQ(surface().operations().mid(4, 4),
              QStringList({"empty", "empty", "empty", "empty"}));  // top unchanged
}

TEST_F(BulkLabelsCommandTest, CancellingTheDialogPrintsNothingAndSaysNothing) {
    platform.answerPrint({true, 1, false});
    EXPECT_EQ(run(), BulkLabelsOutcome::Cancelled);
    EXPECT_TRUE(surface().operations().isEmpty());
    EXPECT_TRUE(platform.messages().isEmpty());
}

TEST_F(BulkLabelsCommandTest, AFailureAbandonsTheDocumentAndKeepsEarlierCopies) {
    platform.answerPrint({false, 2, false});
    surface().failAtOperation(40);  // inside the second copy
    EXPECT_EQ(run(), BulkLabelsOutcome::PrinterProblem);
    expectPrinterProblem();
    EXPECT_EQ(surface().documents().size(), 1u);
    EXPECT_EQ(surface().abandonedDocuments(), 1);
}

TEST_F(BulkLabelsCommandTest, AnUnreadableRecordOrAdjustmentIsAPrinterProblem) {
    const auto failing = [](int) -> ContactRecord { throw AppError(57, "Device I/O error"); };
    EXPECT_EQ(runBulkLabelsCommand(platform, programFolder, labels.entries, failing),
              BulkLabelsOutcome::PrinterProblem);
    expectPrinterProblem();
    EXPECT_TRUE(surface().documents().empty());

    platform.clearRecords();
    folder.write("TDRPARAM.TXT", "BULKLIST abc 0  \r\n");
    EXPECT_EQ(run(), BulkLabelsOutcome::PrinterProblem);
    expectPrinterProblem();
    EXPECT_TRUE(platform.printRequests().isEmpty());
}

TEST(BulkLabelAddress, NoAddressMeansNoStreetCityStateOrZip) {
    const std::pair<Field, bool> cases[] = {
        {Field::FStreet, false}, {Field::SStreet, false}, {Field::City, false},  {Field::State, false},
        {Field::Zip, false},     {Field::Country, true},  {Field::Company, true}, {Field::Email, true}};
    EXPECT_TRUE(hasNoAddress(contact({{Field::FName, "Ann"}})));
    for (const auto& [field, none] : cases) {
        EXPECT_EQ(hasNoAddress(contact({{Field::FName, "Ann"}, {field, "x"}})), none) << static_cast<int>(field);
    }
}

TEST_F(BulkLabelsCommandTest, ContactsWithoutAnAddressAreLeftOutPrintedOrNothingAsTheUserAnswers) {
    labels = Labels({labelContact(1), contact({{Field::FName, "F2"}, {Field::LName, "L2"}}), labelContact(3),
                     contact({{Field::FName, "F4"}, {Field::LName, "L4"}, {Field::Country, "USA"}})});
    struct Case {
        MessageAnswer answer;
        BulkLabelsOutcome outcome;
        QStringList printed;
    };
    const Case cases[] = {{MessageAnswer::Yes, BulkLabelsOutcome::Printed, {name(1), name(3)}},
                          {MessageAnswer::No, BulkLabelsOutcome::Printed, {name(1), name(2), name(3), name(4)}},
                          {MessageAnswer::Cancel, BulkLabelsOutcome::Cancelled, {}}};
    for (const Case& c : cases) {
        platform.clearRecords();
        surface().clearOperations();
        platform.answerMessage(c.answer);
        EXPECT_EQ(run(), c.outcome);
        ASSERT_EQ(platform.messages().size(), 1);
        EXPECT_EQ(platform.messages()[0].title, "Contacts without an address");
        EXPECT_EQ(platform.messages()[0].text,
                  "2 of the 4 contacts in the list have no address (no street, city, state or zip code).\n\n"
                  "Leave them out of the labels?\n\n"
                  "Yes leaves them out, No prints them as they are, Cancel prints nothing.");
        EXPECT_EQ(platform.messages()[0].buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(platform.printRequests().size(), c.printed.isEmpty() ? 0 : 1);
        const QString printed = surface().operations().join('\n');
        for (int i = 1; i <= 4; ++i) {
            EXPECT_EQ(printed.contains(name(i)), c.printed.contains(name(i))) << "contact " << i;
        }
    }
}

TEST_F(BulkLabelsCommandTest, AListOfContactsWithoutAnAddressLeftOutIsEmpty) {
    labels = Labels({contact({{Field::FName, "F1"}, {Field::LName, "L1"}})});
    platform.answerMessage(MessageAnswer::Yes);
    EXPECT_EQ(run(), BulkLabelsOutcome::EmptyList);
    ASSERT_EQ(platform.messages().size(), 2);
    EXPECT_EQ(platform.messages()[0].text.section('\n', 0, 0),
              "The contact in the list has no address (no street, city, state or zip code).");
    EXPECT_EQ(platform.messages()[1].text, "Empty list, no labels to print.");
    EXPECT_TRUE(platform.printRequests().isEmpty());
}

// The checks and the answer decide without a platform: what is refused (an
// unreadable adjustment before an empty list), when the question is there,
// and whose labels the job prints after each answer.
TEST(BulkLabelsChecks, RefuseAskOrGiveTheJobByTheAnswer) {
    const ContactRecord bare = contact({{Field::FName, "F2"}, {Field::LName, "L2"}});
    const std::vector<ContactRecord> mixed = {labelContact(1), bare, labelContact(3)};
    struct Case {
        const char* name;
        bool brokenAdjustment;
        std::vector<ContactRecord> records;
        NoAddressChoice choice;
        std::optional<BulkLabelsOutcome> refusal;
        bool asked;
        QStringList printed;
    };
    const Case cases[] = {
        {"unreadable adjustment", true, {}, NoAddressChoice::LeaveOut, BulkLabelsOutcome::PrinterProblem, false, {}},
        {"empty list", false, {}, NoAddressChoice::LeaveOut, BulkLabelsOutcome::EmptyList, false, {}},
        {"no question, no answer counts", false, {labelContact(1), labelContact(3)}, NoAddressChoice::PrintNothing,
         std::nullopt, false, {name(1), name(3)}},
        {"left out", false, mixed, NoAddressChoice::LeaveOut, std::nullopt, true, {name(1), name(3)}},
        {"as they are", false, mixed, NoAddressChoice::PrintAsTheyAre, std::nullopt, true, {name(1), name(2), name(3)}},
        {"nothing", false, mixed, NoAddressChoice::PrintNothing, BulkLabelsOutcome::Cancelled, true, {}},
        {"left empty", false, {bare}, NoAddressChoice::LeaveOut, BulkLabelsOutcome::EmptyList, true, {}},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        const QString programFolder = folder.withDefaultAdjustments();
        if (c.brokenAdjustment) {
            folder.write("TDRPARAM.TXT", "BULKLIST abc 0  \r\n");
        }
        Labels labels(c.records);
        const std::function<ContactRecord(int)> read = labels.reader();
        BulkLabelsCheck check = checkBulkLabels(programFolder, labels.entries, read);
        EXPECT_EQ(check.noAddressQuestion.has_value(), c.asked) << c.name;
        BulkLabelsOutcome refusal = BulkLabelsOutcome::Printed;
        const std::optional<PrintJob> job =
            bulkLabelsJobAfter(std::move(check), labels.entries, read, defaultLabelSheet(), c.choice, &refusal);
        ASSERT_EQ(job.has_value(), !c.refusal.has_value()) << c.name;
        if (!job) {
            EXPECT_EQ(refusal, *c.refusal) << c.name;
            continue;
        }
        RecordingSurface surface;
        job->compose(surface, JobRun{});
        const QString printed = surface.operations().join('\n');
        for (int i = 1; i <= 3; ++i) {
            EXPECT_EQ(printed.contains(name(i)), c.printed.contains(name(i))) << c.name << ", contact " << i;
        }
    }
}
