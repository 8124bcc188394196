#include "docs/WindowPictures.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>

#include "platform/ScriptedPlatform.h"
#include "printing/widgets/MainWindow.h"
#include "shell/widgets/AboutBox.h"
#include "shell/widgets/WindowWiring.h"
#include "store/Session.h"

namespace tandor::docs {
namespace {

bool save(QWidget* window, const QString& folder, const QString& name) {
    window->show();
    QApplication::processEvents();
    return window->grab().save(folder + QLatin1Char('/') + name);
}

void type(QWidget* window, const char* name, const QString& text) {
    if (auto* box = window->findChild<QLineEdit*>(QString::fromLatin1(name))) {
        box->setText(text);
    }
}

}  // namespace

bool makeWindowPictures(const QString& folder, QString* error) {
    QDir().mkpath(folder);
    QTemporaryDir programFolder;
    ScriptedPlatform platform;
    Session session(programFolder.path());
    MainWindow main(session, platform);
    wireWindows(main);
    type(&main, "txtLMLine1", QStringLiteral("John Q. Smith"));
    type(&main, "txtLMLine2", QStringLiteral("1234 Main Street"));
    type(&main, "txtLMline3", QStringLiteral("Springfield, IL  62704"));
    bool ok = save(&main, folder, QStringLiteral("main-window.png"));

    AboutBox about(platform, programFolder.path());
    ok = save(&about, folder, QStringLiteral("about-box.png")) && ok;
    about.close();
    main.close();
    if (!ok) {
        *error = QStringLiteral("could not write the window pictures into ") + folder;
    }
    return ok;
}

}  // namespace tandor::docs
