#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QWidget>

#include "platform/ScriptedPlatform.h"
#include "compose/widgets/MainWindow.h"
#include "appshell/widgets/ApplicationShell.h"
#include "store/ContactsDocument.h"
#include "support/TestFiles.h"

namespace tandor::test {

// The whole program on a temporary program folder holding TDRPARAM.TXT and
// the contacts file Family.DAT, made current by File Open (a file there is
// one the export can name). Every window is wired in and answered by a
// scripted platform.
class WindowWorld {
public:
    explicit WindowWorld(const QList<QByteArray>& records);
    ~WindowWorld();
    WindowWorld(const WindowWorld&) = delete;
    WindowWorld& operator=(const WindowWorld&) = delete;

    QString programFolder() const { return program.path(); }
    QString contactsPath() const { return contactsPath_; }
    QString adjustmentsPath() const;

    // Controls of the main window and of the visible window named.
    void trigger(const char* action);
    void click(const char* button);
    void setLine(int index, const QString& text);
    static QWidget* window(const char* objectName);  // visible top-level window, or null
    static void clickIn(QWidget* window, const char* button);
    static void setBox(QWidget* window, const char* box, const QString& text);
    // The browser's find list: the first contact chosen with the keyboard.
    static void chooseFirstContact(QWidget* browser);
    // Lets windows closed by the program go.
    static void settle();

    TempFolder program;
    ScriptedPlatform platform;
    ApplicationShell shell;
    ContactsDocument& session;
    MainWindow& main;

private:
    QString contactsPath_;
};

// The bytes of a whole file; empty when it does not exist.
QByteArray bytesOf(const QString& path);

// A contact record with these names and reminder byte, built apart from the
// program's record code.
QByteArray contactBytes(const QByteArray& first, const QByteArray& last, char reminder);

}  // namespace tandor::test
