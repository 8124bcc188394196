#include <gtest/gtest.h>

#include <QFontInfo>

#include "platform/ColumnFont.h"

using namespace tandor;

// The face of the list's columns: the first installed fixed-pitch face of the
// program's list, whatever the desktop calls "monospace".
TEST(ColumnFont, TakesTheFirstUsableFaceOfItsListElseTheDesktopsFixedFont) {
    const struct {
        QStringList usable;
        QString chosen;
    } cases[] = {
        {{"Liberation Mono", "DejaVu Sans Mono", "Noto Mono"}, "Liberation Mono"},
        {{"Noto Mono", "DejaVu Sans Mono"}, "DejaVu Sans Mono"},
        {{"Cousine"}, "Cousine"},
        {{"Noto Sans Mono", "Nimbus Mono PS"}, "monospace"},
        {{}, "monospace"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chooseColumnFamily(kColumnFontFamilies, [&c](const QString& f) { return c.usable.contains(f); },
                                     QStringLiteral("monospace")),
                  c.chosen)
            << c.usable.join(", ").toStdString();
    }
    // Whatever is installed: the size asked for, and no kerning between characters.
    const QFont font = columnFont(11.5);
    EXPECT_EQ(font.pointSizeF(), 11.5);
    EXPECT_FALSE(font.kerning());
}
