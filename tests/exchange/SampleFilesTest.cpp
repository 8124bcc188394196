// The real exports of the sample folder: each is read by the layout its
// header has, imports what the rules let through, and never damages the file.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "ExchangeTestSupport.h"

namespace tandor {
namespace {

struct Sample {
    const char* file;
    const char* layout;  // empty: no layout recognised
    ImportResult result;
    int written;
};

const Sample kSamples[] = {
    {"gmail-1.csv", "generic", ImportResult::NotCompatible, 0},
    {"gmail-2.csv", "generic", ImportResult::NotCompatible, 0},
    {"gmail-3.csv", "generic", ImportResult::Done, 0},
    {"gmail-5.csv", "generic", ImportResult::Done, 0},
    {"outlook-3.csv", "Primary-Phone", ImportResult::Done, 0},
    {"outlook-4.csv", "Primary-Phone", ImportResult::Done, 0},
    {"outlook-8.csv", "Primary-Phone", ImportResult::Done, 0},
    {"thunderbird-1.csv", "generic", ImportResult::Done, 2},
    {"thunderbird-2.csv", "generic", ImportResult::Done, 0},
    {"thunderbird-3.csv", "generic", ImportResult::Done, 1},
    {"wab-1.csv", "generic", ImportResult::Done, 1},
    {"wab-2.csv", "generic", ImportResult::Done, 1},
    {"wab-3.csv", "generic", ImportResult::Done, 1},
    {"yahoo-1.csv", "Yahoo", ImportResult::Done, 2},
    {"yahoo-3.csv", "Yahoo", ImportResult::Done, 1},
};

TEST(SampleFiles, ImportAsTheirLayoutsAllowAndASecondRunWritesNothing) {
    for (const Sample& s : kSamples) {
        SCOPED_TRACE(s.file);
        const QString path = test::samplePath(QStringLiteral("csv/") + QLatin1String(s.file));
        ASSERT_TRUE(QFileInfo::exists(path));
        test::ImportTarget target;
        const ImportOutcome first = importCsvFile(path, target.file());
        EXPECT_EQ(first.layout, QLatin1String(s.layout));
        EXPECT_EQ(first.result, s.result);
        EXPECT_EQ(first.written, s.written);
        EXPECT_EQ(target.bytes().size(), first.written * kRecordSize);

        const ImportOutcome second = importCsvFile(path, target.file());
        EXPECT_EQ(second.result, s.result);
        EXPECT_EQ(second.written, 0);
    }
}

TEST(SampleFiles, ValuesComeOutOfQuotesAndByteOrderMarks) {
    test::ImportTarget yahoo;
    importCsvFile(test::samplePath("csv/yahoo-3.csv"), yahoo.file());
    ASSERT_EQ(yahoo.contacts().size(), 1);
    EXPECT_EQ(yahoo.contacts()[0], test::contact({{"FName", "Firman"},
                                                  {"LName", "Wandayandi"},
                                                  {"FStreet", "Foo Street"},
                                                  {"Country", "Indonesia"},
                                                  {"Email", "firman@php.net"},
                                                  {"Company", "Foo"},
                                                  {"IncludeCompany", "1"},
                                                  {"BirthdayReminder", "1"}}));

    test::ImportTarget wab;
    importCsvFile(test::samplePath("csv/wab-2.csv"), wab.file());
    ASSERT_EQ(wab.contacts().size(), 1);
    EXPECT_EQ(wab.contacts()[0][Field::Email], "foo@bar.com");
}

}  // namespace
}  // namespace tandor
