#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include "windowkit/widgets/EditCommands.h"

using namespace tandor;

TEST(EditSelection, IsPutBackWithTheCaretAtTheEndItWasAt) {
    QLineEdit line(QStringLiteral("Ann Lee"));
    line.setSelection(7, -3);  // from the end leftwards: the caret before "Lee"
    const auto kept = edit::selectionOf(&line);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->length(), 3);
    line.deselect();
    line.setCursorPosition(0);
    edit::restoreSelection(&line, *kept);
    EXPECT_EQ(line.selectedText(), QStringLiteral("Lee"));
    EXPECT_EQ(line.cursorPosition(), 4);

    line.setCursorPosition(2);
    const auto caret = edit::selectionOf(&line);
    line.setSelection(0, 7);
    edit::restoreSelection(&line, *caret);
    EXPECT_FALSE(line.hasSelectedText());
    EXPECT_EQ(line.cursorPosition(), 2);

    QComboBox combo;
    combo.setEditable(true);
    combo.setEditText(QStringLiteral("Smith"));
    combo.lineEdit()->setSelection(1, 2);
    const auto inCombo = edit::selectionOf(&combo);
    combo.lineEdit()->deselect();
    edit::restoreSelection(&combo, *inCombo);
    EXPECT_EQ(combo.lineEdit()->selectedText(), QStringLiteral("mi"));

    QPlainTextEdit plain(QStringLiteral("one\ntwo"));
    QTextCursor cursor = plain.textCursor();
    cursor.setPosition(6);
    cursor.setPosition(2, QTextCursor::KeepAnchor);
    plain.setTextCursor(cursor);
    const auto inPlain = edit::selectionOf(&plain);
    plain.moveCursor(QTextCursor::Start);
    edit::restoreSelection(&plain, *inPlain);
    EXPECT_EQ(plain.textCursor().anchor(), 6);
    EXPECT_EQ(plain.textCursor().position(), 2);

    QPushButton button(QStringLiteral("OK"));
    EXPECT_FALSE(edit::selectionOf(&button).has_value());
}

TEST(EditSelection, StaysInsideATextThatGotShorter) {
    QLineEdit line(QStringLiteral("Ann Lee"));
    line.setSelection(4, 3);
    const auto kept = edit::selectionOf(&line);
    line.setText(QStringLiteral("Ann L"));
    edit::restoreSelection(&line, *kept);
    EXPECT_EQ(line.selectedText(), QStringLiteral("L"));

    QPlainTextEdit plain(QStringLiteral("one two"));
    QTextCursor cursor = plain.textCursor();
    cursor.setPosition(4);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    plain.setTextCursor(cursor);
    const auto inPlain = edit::selectionOf(&plain);
    plain.setPlainText(QStringLiteral("one"));
    edit::restoreSelection(&plain, *inPlain);
    EXPECT_EQ(plain.textCursor().position(), 3);
    EXPECT_FALSE(plain.textCursor().hasSelection());
}
