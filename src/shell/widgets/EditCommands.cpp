#include "shell/widgets/EditCommands.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocumentFragment>
#include <QTextEdit>

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

}  // namespace tandor::edit
