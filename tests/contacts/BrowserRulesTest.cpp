#include <gtest/gtest.h>

#include "contacts/BrowserRules.h"
#include "store/ContactsFile.h"
#include "support/RecordBytes.h"
#include "support/TestFiles.h"

using namespace tandor;
using namespace tandor::test;

TEST(BrowserRules, SteppingFromEveryPlace) {
    const BrowserMessage end{"End of file.", "No more contacts"};
    const BrowserMessage start{"Beginning of file.", "Start of file reached"};
    struct Case {
        BrowserStep step;
        int current;
        int count;
        StepOutcome outcome;
    };
    const Case cases[] = {
        {BrowserStep::Next, 0, 3, {1, {}}},  // a fresh window starts at record 1
        {BrowserStep::Next, 2, 3, {3, {}}},
        {BrowserStep::Next, 3, 3, {0, end}},
        {BrowserStep::Next, 0, 0, {0, end}},
        {BrowserStep::Previous, 0, 3, {0, start}},
        {BrowserStep::Previous, 1, 3, {0, start}},
        {BrowserStep::Previous, 3, 3, {2, {}}},
        {BrowserStep::First, 0, 3, {1, {}}},
        {BrowserStep::First, 2, 0, {0, {}}},  // an empty file shows nothing
        {BrowserStep::Last, 1, 3, {3, {}}},
        {BrowserStep::Last, 0, 0, {0, {}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(stepOutcome(c.step, c.current, c.count), c.outcome)
            << static_cast<int>(c.step) << " from " << c.current << " of " << c.count;
    }
}

TEST(BrowserRules, FindListSortedCaseInsensitivelyWithRecordNumbers) {
    TempFolder folder;
    const QString path = folder.write(
        "F.DAT",
        fileBytes({personBytes("Zoe", "Young"), personBytes("adam", "Best"),
                   recordBytes({{"FName", "  Adam"}, {"MiddleInit", "B"}, {"LName", "Best"}}),
                   personBytes("ADAM", "BEST"), personBytes("", "Cole")}));
    ContactsFile file;
    file.open(path);
    // No first name and no initial leave two spaces before the last name.
    const std::vector<FindListItem> expected = {
        {"  Cole", 5},      {"adam  Best", 2},
        {"ADAM  BEST", 4},  // the same text but for case: record order
        {"Adam B Best", 3}, {"Zoe  Young", 1},
    };
    EXPECT_EQ(findListItems(file), expected);

    ContactsFile empty;
    empty.open(folder.write("E.DAT", {}));
    EXPECT_TRUE(findListItems(empty).empty());
}
