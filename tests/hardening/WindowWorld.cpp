#include "WindowWorld.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "platform/FaultPoint.h"
#include "appshell/widgets/ApplicationShell.h"
#include "support/RecordBytes.h"

namespace tandor::test {

WindowWorld::WindowWorld(const QList<QByteArray>& records)
    : shell(platform, program.withDefaultAdjustments()), session(shell.document()), main(shell.mainWindow()) {
    fault::disarmAll();
    main.show();
    contactsPath_ = program.write(QStringLiteral("Family.DAT"), fileBytes(records));
    platform.answerOpenFile(contactsPath_);
    trigger("mnuFileOpen");
    platform.clearRecords();
}

WindowWorld::~WindowWorld() {
    fault::disarmAll();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && !w->inherits("QMenu")) {
            w->close();
        }
    }
    settle();
}

QString WindowWorld::adjustmentsPath() const {
    return program.file(QStringLiteral("TDRPARAM.TXT"));
}

void WindowWorld::trigger(const char* action) {
    auto* a = main.findChild<QAction*>(QString::fromLatin1(action));
    if (a) {
        a->trigger();
    }
}

void WindowWorld::click(const char* button) {
    auto* b = main.findChild<QPushButton*>(QString::fromLatin1(button));
    if (b) {
        b->click();
    }
}

void WindowWorld::setLine(int index, const QString& text) {
    const QString name = QStringLiteral("txtLMLine%1").arg(index + 1);
    if (auto* line = main.findChild<QLineEdit*>(name)) {
        line->setText(text);
    }
}

QWidget* WindowWorld::window(const char* objectName) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String(objectName) && w->isVisible()) {
            return w;
        }
    }
    return nullptr;
}

void WindowWorld::clickIn(QWidget* window, const char* button) {
    if (!window) {
        return;
    }
    if (auto* b = window->findChild<QPushButton*>(QString::fromLatin1(button))) {
        b->click();
    }
}

void WindowWorld::setBox(QWidget* window, const char* box, const QString& text) {
    if (!window) {
        return;
    }
    if (auto* b = window->findChild<QLineEdit*>(QString::fromLatin1(box))) {
        b->setText(text);
    }
}

void WindowWorld::chooseFirstContact(QWidget* browser) {
    if (!browser) {
        return;
    }
    auto* list = browser->findChild<QComboBox*>(QStringLiteral("cboFindContact"));
    if (!list) {
        return;
    }
    browser->activateWindow();
    QApplication::setActiveWindow(browser);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
}

void WindowWorld::settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QByteArray bytesOf(const QString& path) {
    return readAll(path);
}

QByteArray contactBytes(const QByteArray& first, const QByteArray& last, char reminder) {
    return recordBytes({{QStringLiteral("FName"), first},
                        {QStringLiteral("LName"), last},
                        {QStringLiteral("IncludeCompany"), "0"},
                        {QStringLiteral("BirthdayReminder"), QByteArray(1, reminder)}});
}

}  // namespace tandor::test
