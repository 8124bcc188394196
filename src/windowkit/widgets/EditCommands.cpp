#include "windowkit/widgets/EditCommands.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocumentFragment>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>

#include "platform/Platform.h"

namespace tandor::edit {
namespace {

QLineEdit* lineEditOf(QWidget* control) {
    if (auto* line = qobject_cast<QLineEdit*>(control)) {
        return line;
    }
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->isEditable()) {
        return combo->lineEdit();
    }
    return nullptr;
}

void replaceSelection(QWidget* control, const QString& text) {
    if (QLineEdit* line = lineEditOf(control)) {
        if (!line->isReadOnly()) {
            line->insert(text);
        }
    } else if (auto* edit = qobject_cast<QTextEdit*>(control)) {
        if (!edit->isReadOnly()) {
            edit->insertPlainText(text);
        }
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
        if (!plain->isReadOnly()) {
            plain->insertPlainText(text);
        }
    }
}

}  // namespace

bool isTextControl(QWidget* control) {
    return lineEditOf(control) || qobject_cast<QTextEdit*>(control) || qobject_cast<QPlainTextEdit*>(control);
}

QString selectedText(QWidget* control) {
    if (QLineEdit* line = lineEditOf(control)) {
        return line->selectedText();
    }
    if (auto* edit = qobject_cast<QTextEdit*>(control)) {
        return edit->textCursor().selection().toPlainText();
    }
    if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
        return plain->textCursor().selection().toPlainText();
    }
    return {};
}

bool hasSelectedText(QWidget* control) {
    return isTextControl(control) && !selectedText(control).isEmpty();
}

void copy(QWidget* control, Platform& platform) {
    if (!isTextControl(control)) {
        return;
    }
    platform.clearClipboard();
    platform.setClipboardText(selectedText(control));
}

void cut(QWidget* control, Platform& platform) {
    if (!isTextControl(control)) {
        return;
    }
    copy(control, platform);
    if (!selectedText(control).isEmpty()) {
        replaceSelection(control, QString());
    }
}

void paste(QWidget* control, Platform& platform) {
    if (!isTextControl(control)) {
        return;
    }
    replaceSelection(control, platform.clipboardText());
}

void selectAll(QWidget* control) {
    if (!control) {
        return;
    }
    control->setFocus();
    if (QLineEdit* line = lineEditOf(control)) {
        line->selectAll();
    } else if (auto* edit = qobject_cast<QTextEdit*>(control)) {
        edit->selectAll();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
        plain->selectAll();
    }
}

std::optional<TextSelection> selectionOf(QWidget* control) {
    if (QLineEdit* line = lineEditOf(control)) {
        const int caret = line->cursorPosition();
        if (!line->hasSelectedText()) {
            return TextSelection{caret, caret};
        }
        const int start = line->selectionStart();
        const int end = start + line->selectionLength();
        return TextSelection{caret == start ? end : start, caret};
    }
    QTextCursor cursor;
    if (auto* edit = qobject_cast<QTextEdit*>(control)) {
        cursor = edit->textCursor();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
        cursor = plain->textCursor();
    } else {
        return std::nullopt;
    }
    return TextSelection{cursor.anchor(), cursor.position()};
}

void restoreSelection(QWidget* control, const TextSelection& selection) {
    if (QLineEdit* line = lineEditOf(control)) {
        const int size = static_cast<int>(line->text().size());
        const int anchor = std::clamp(selection.anchor, 0, size);
        const int caret = std::clamp(selection.caret, 0, size);
        if (anchor == caret) {
            line->setCursorPosition(caret);
        } else {
            line->setSelection(anchor, caret - anchor);
        }
        return;
    }
    auto place = [&selection](QTextCursor cursor) {
        const int last = std::max(0, cursor.document()->characterCount() - 1);
        cursor.setPosition(std::clamp(selection.anchor, 0, last));
        cursor.setPosition(std::clamp(selection.caret, 0, last), QTextCursor::KeepAnchor);
        return cursor;
    };
    if (auto* edit = qobject_cast<QTextEdit*>(control)) {
        edit->setTextCursor(place(edit->textCursor()));
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
        plain->setTextCursor(place(plain->textCursor()));
    }
}

}  // namespace tandor::edit
