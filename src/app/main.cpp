#include <QApplication>

#include "platform/widgets/DesktopPlatform.h"
#include "printing/widgets/MainWindow.h"
#include "shell/widgets/WindowWiring.h"
#include "store/Session.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tandor"));
    QApplication::setOrganizationName(QStringLiteral("Tandor"));
    QApplication::setApplicationVersion(QStringLiteral("5.8.0"));

    tandor::DesktopPlatform platform;
    // The program folder is the folder of the running executable.
    tandor::Session session(QApplication::applicationDirPath());
    tandor::MainWindow window(session, platform);
    tandor::wireWindows(window);
    window.show();
    return app.exec();
}
