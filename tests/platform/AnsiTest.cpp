#include <gtest/gtest.h>

#include "platform/Ansi.h"

using namespace tandor;

TEST(Ansi, WritesWindows1252AndQuestionMarksForTheRest) {
    EXPECT_EQ(toAnsi(u"Jos\u00e9"), QByteArray("Jos\xe9"));
    EXPECT_EQ(toAnsi(u"\u20ac \u2014 \u0178"), QByteArray("\x80 \x97 \x9f"));
    EXPECT_EQ(toAnsi(u"\u015d\u4e2d"), QByteArray("??"));
    // A character outside the basic plane is one "?", not two.
    EXPECT_EQ(toAnsi(QString::fromUtf8("a\xF0\x9F\x98\x80" "b")), QByteArray("a?b"));
}

TEST(Ansi, EveryByteReadsAndWritesBackUnchanged) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    const QString text = fromAnsi(all);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(toAnsi(text), all);
    EXPECT_EQ(fromAnsi(QByteArray("\x80\xe9")), QString::fromUtf8("\u20ac\u00e9"));
}
