// The alignment sheet of every built-in sheet: its scales and their numbers.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <algorithm>

#include "sheets/AlignmentSheet.h"
#include "support/PrintTestSupport.h"

using namespace tandor;

// The scales follow the adjustment by exactly one column or line; the outlines stay.
TEST(AlignmentSheet, ScalesMoveWithTheAdjustmentAndOutlinesStay) {
    for (const LabelSheet* sheet : addressSheets()) {
        if (!sheet->builtIn) {
            continue;
        }
        const std::size_t outlines = static_cast<std::size_t>(sheet->count()) * 4;
        struct Marks {
            std::vector<QLineF> outlines;
            std::vector<QLineF> zeroTicks;  // the long ticks at 0 of every scale
        };
        auto marksFor = [&](Adjustment adjustment) {
            RecordingSurface surface;
            composeAlignmentSheet(surface, *sheet, adjustment);
            Marks marks;
            EXPECT_EQ(surface.documents().size(), 1u);
            const std::vector<QLineF>& rules = surface.documents().at(0).pages.at(0).rules;
            for (std::size_t i = 0; i < rules.size(); ++i) {
                if (i < outlines) {
                    marks.outlines.push_back(rules[i]);
                } else if (std::abs(rules[i].length() - 0.12 * 72) < 1e-6) {
                    marks.zeroTicks.push_back(rules[i]);
                }
            }
            return marks;
        };
        // Two columns to the right, so that every 0 lies on the printable area.
        const Marks base = marksFor({2, 0});
        const Marks right = marksFor({3, 0});
        const Marks down = marksFor({2, 1});
        EXPECT_EQ(right.outlines, base.outlines);
        EXPECT_EQ(down.outlines, base.outlines);
        ASSERT_EQ(base.zeroTicks.size(), 4u) << sheet->name.toStdString();
        ASSERT_EQ(right.zeroTicks.size(), 4u);
        ASSERT_EQ(down.zeroTicks.size(), 4u);
        FontSpec font;
        font.size = sheet->fontSize;
        const double cell = columnWidth(font);
        for (std::size_t i = 0; i < 4; ++i) {
            const QPointF dx = right.zeroTicks[i].p1() - base.zeroTicks[i].p1();
            const QPointF dy = down.zeroTicks[i].p1() - base.zeroTicks[i].p1();
            EXPECT_NEAR(dx.x(), cell, 1e-9) << sheet->name.toStdString() << " " << i;
            EXPECT_NEAR(dx.y(), 0.0, 1e-9);
            EXPECT_NEAR(dy.x(), 0.0, 1e-9);
            EXPECT_NEAR(dy.y(), sheet->linePitchPt(), 1e-9)
                << sheet->name.toStdString() << " " << i;
        }
        // A shifted printer model moves the scales one column, as it moves the labels.
        const QPointF zero = alignmentZeroPt(*sheet, 1, {0, 0}, 0);
        EXPECT_NEAR(alignmentZeroPt(*sheet, 1, {0, 0}, 1).x() - zero.x(), cell, 1e-9);
    }
}

// The scales' numbers at the first and the last label of every sheet stand
// clear: no two touch, none touches a rule (label borders, the scales' rules
// and ticks, the crosses), each 0 tick has its "0" beside it, and each scale
// shows numbers on both sides of its 0 where its ticks are on the page. The
// numbers print at 6 pt, the explanation at 7 pt.
TEST(AlignmentSheet, ScaleNumbersStandClearOfRulesBordersAndEachOther) {
    const QRegularExpression isNumber(QStringLiteral("^[+-]?[0-5]$"));
    constexpr double clear = 0.5;  // points: two pixels at 300 dpi
    const auto touches = [&](const QRectF& box, const QLineF& r) {
        const QRectF b = box.adjusted(-clear, -clear, clear, clear);
        return std::min(r.x1(), r.x2()) <= b.right() && std::max(r.x1(), r.x2()) >= b.left() &&
               std::min(r.y1(), r.y2()) <= b.bottom() && std::max(r.y1(), r.y2()) >= b.top();
    };
    for (const LabelSheet* sheet : addressSheets()) {
        if (!sheet->builtIn) {
            continue;
        }
        for (const Adjustment adjustment : {Adjustment{0, 0}, Adjustment{2, 1}, Adjustment{-2, -1}}) {
            RecordingSurface surface;
            composeAlignmentSheet(surface, *sheet, adjustment);
            const PrintedPage& page = surface.documents().at(0).pages.at(0);
            const std::string what = sheet->name.toStdString() + " " +
                                     std::to_string(adjustment.left) + "," +
                                     std::to_string(adjustment.top);
            struct Number {
                QString text;
                QRectF box;
            };
            std::vector<Number> numbers;
            for (const PlacedText& t : page.texts) {
                const bool number = isNumber.match(t.text).hasMatch();
                EXPECT_EQ(t.font.size, number ? 6.0 : 7.0) << what << " " << t.text.toStdString();
                if (number) {
                    numbers.push_back({t.text, QRectF(t.xPt, t.yPt, t.text.size() * columnWidth(t.font),
                                                      t.font.size)});
                }
            }
            for (std::size_t i = 0; i < numbers.size(); ++i) {
                for (const QLineF& rule : page.rules) {
                    EXPECT_FALSE(touches(numbers[i].box, rule))
                        << what << " " << numbers[i].text.toStdString() << " on a rule";
                }
                for (std::size_t j = i + 1; j < numbers.size(); ++j) {
                    EXPECT_FALSE(numbers[i].box.adjusted(-clear, -clear, clear, clear)
                                     .intersects(numbers[j].box))
                        << what << " " << numbers[i].text.toStdString() << " touches "
                        << numbers[j].text.toStdString();
                }
            }
            // Each 0 tick (0.12 in long): the column scale's stand down, the line scale's across.
            FontSpec font;
            font.size = sheet->fontSize;
            const double cell = columnWidth(font);
            const double line = sheet->linePitchPt();
            int zeroTicks = 0;
            for (const QLineF& rule : page.rules) {
                if (std::abs(rule.length() - 0.12 * 72) > 1e-6) {
                    continue;
                }
                ++zeroTicks;
                const QPointF zero = rule.center();
                const bool column = rule.dx() == 0.0;
                const double step = column ? cell : line;
                const auto along = [&](const QPointF& p) { return column ? p.x() - zero.x() : p.y() - zero.y(); };
                const auto across = [&](const QPointF& p) { return column ? p.y() - zero.y() : p.x() - zero.x(); };
                bool nought = false, below = false, above = false;
                for (const Number& n : numbers) {
                    const QPointF c = n.box.center();
                    if (std::abs(across(c)) > 12.0 || std::abs(along(c)) > 5.5 * step) {
                        continue;
                    }
                    nought |= n.text == "0" && std::abs(along(c)) < step;
                    below |= n.text.startsWith('-') && along(c) < 0;
                    above |= n.text.startsWith('+') && along(c) > 0;
                }
                EXPECT_TRUE(nought) << what << (column ? " column" : " line") << " scale without its 0";
                const QSizeF area = printgrid::pdfPrintableSize(sheet->paper, PageOrientation::Portrait);
                const QPointF before = zero - (column ? QPointF(step, 0) : QPointF(0, step));
                if (before.x() >= 0 && before.y() >= 0) {
                    EXPECT_TRUE(below) << what << (column ? " column" : " line") << " scale without -";
                }
                const QPointF after = zero + (column ? QPointF(step, 0) : QPointF(0, step));
                if (after.x() <= area.width() && after.y() <= area.height()) {
                    EXPECT_TRUE(above) << what << (column ? " column" : " line") << " scale without +";
                }
            }
            EXPECT_GE(zeroTicks, 3) << what;
            EXPECT_EQ(std::count_if(numbers.begin(), numbers.end(), [](const Number& n) { return n.text == "0"; }),
                      zeroTicks) << what;
        }
    }
}
