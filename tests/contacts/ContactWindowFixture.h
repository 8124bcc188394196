#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "platform/FaultPoint.h"
#include "platform/ScriptedPlatform.h"
#include "compose/widgets/MainWindow.h"
#include "appshell/widgets/ApplicationShell.h"
#include "store/ContactsDocument.h"
#include "support/DocumentAccess.h"
#include "support/RecordBytes.h"
#include "support/TestFiles.h"

namespace tandor::test {

// The main window on a temporary program folder with the contact windows
// wired in, answered by a scripted platform.
class ContactWindowTest : public ::testing::Test {
protected:
    ContactWindowTest() : shell(platform, folder.path()), session(shell.document()), main(shell.mainWindow()) {
        fault::disarmAll();
        main.show();
        activate(&main);
    }
    ~ContactWindowTest() override {
        fault::disarmAll();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != &main && w->isVisible() && !w->inherits("QMenu")) {
                platform.answerMessage(MessageAnswer::No);  // typing left in a window is dropped
                w->close();
            }
        }
        settle();
        // A window still open would outlive the main window it works for.
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != &main && w->isVisible() && !w->inherits("QMenu")) {
                ADD_FAILURE() << w->objectName().toStdString() << " stayed open";
                delete w;
            }
        }
    }

    // Lets windows closed by the program go (they are deleted on close).
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    static void activate(QWidget* w) {
        w->activateWindow();
        QApplication::setActiveWindow(w);
    }

    // File Open of a file named Family.DAT holding these records.
    void openFile(const QList<QByteArray>& records) {
        path = folder.write(QStringLiteral("Family.DAT"), fileBytes(records));
        platform.answerOpenFile(path);
        trigger("mnuFileOpen");
        ASSERT_TRUE(session.hasFile());
    }
    QByteArray fileNow() const { return readAll(path); }
    QByteArray recordNow(int n) const { return fileNow().mid(513 * (n - 1), 513); }

    template <typename T>
    T* mainChild(const char* name) {
        T* w = main.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void trigger(const char* action) { mainChild<QAction>(action)->trigger(); }
    void click(const char* button) { mainChild<QPushButton>(button)->click(); }

    // The visible top-level window of that name (null when none).
    static QWidget* window(const char* objectName) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QLatin1String(objectName) && w->isVisible()) {
                return w;
            }
        }
        return nullptr;
    }
    template <typename T>
    static T* child(QWidget* window, const char* name) {
        T* w = window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static QLineEdit* box(QWidget* window, const char* name) {
        return child<QLineEdit>(window, name);
    }

    // The texts of the messages shown so far.
    QStringList messageTexts() const {
        QStringList out;
        for (const RecordedMessage& m : platform.messages()) {
            out << m.text;
        }
        return out;
    }

    TempFolder folder;
    ScriptedPlatform platform;
    ApplicationShell shell;
    ContactsDocument& session;
    MainWindow& main;
    QString path;
};

// A record with the fields named (the others blank, reminders on unless given).
inline QByteArray contact(QMap<QString, QByteArray> values) {
    if (!values.contains(QStringLiteral("BirthdayReminder"))) {
        values[QStringLiteral("BirthdayReminder")] = "1";
    }
    if (!values.contains(QStringLiteral("IncludeCompany"))) {
        values[QStringLiteral("IncludeCompany")] = "0";
    }
    return recordBytes(values);
}

inline QByteArray person(const QByteArray& first, const QByteArray& last) {
    return contact({{QStringLiteral("FName"), first}, {QStringLiteral("LName"), last}});
}

}  // namespace tandor::test
