#include <QApplication>
#include <QMessageBox>
#include <QTextStream>
#include <cstring>

#include "platform/ProgramFolders.h"
#include "platform/Version.h"
#include "print/widgets/DesktopPlatform.h"
#include "shell/widgets/ProgramIcon.h"
#include "appshell/widgets/ApplicationShell.h"

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
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tandor.Tandor"));

    tandor::DesktopPlatform platform;
    // The program folder: the executable's folder in a folder of its own that
    // it may write, else the per-user folder (made ready on first start).
    const tandor::ProgramFolders folders =
        tandor::chooseProgramFolders(QApplication::applicationDirPath(), tandor::perUserProgramFolder());
    const QString problem = tandor::prepareProgramFolder(folders);
    if (!problem.isEmpty()) {
        // Everything but the print adjustments and exports still works.
        QMessageBox::warning(nullptr, QStringLiteral("Tandor"), problem);
    }
    tandor::ApplicationShell shell(platform, folders.programFolder, folders.documentsFolder);
    shell.show();
    return app.exec();
}
