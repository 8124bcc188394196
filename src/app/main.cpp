#include <QApplication>
#include <QTextStream>
#include <cstring>

#include "platform/Version.h"
#include "platform/widgets/DesktopPlatform.h"
#include "printing/widgets/MainWindow.h"
#include "shell/widgets/ProgramIcon.h"
#include "shell/widgets/WindowWiring.h"
#include "store/Session.h"

int main(int argc, char** argv) {
    // The executable's version information, as on every program of this desktop.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        QTextStream(stdout) << "Tandor " << tandor::versionText() << "\n";
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tandor"));
    QApplication::setOrganizationName(QStringLiteral("Tandor"));
    QApplication::setApplicationVersion(tandor::versionText());
    QApplication::setWindowIcon(tandor::programIcon());

    tandor::DesktopPlatform platform;
    // The program folder is the folder of the running executable.
    tandor::Session session(QApplication::applicationDirPath());
    tandor::MainWindow window(session, platform);
    tandor::wireWindows(window);
    window.show();
    return app.exec();
}
