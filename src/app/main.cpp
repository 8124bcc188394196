#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextStream>
#include <QTimer>
#include <cstring>

#include "ProgramHelp.h"
#include "platform/ProgramFolders.h"
#include "platform/Version.h"
#include "platform/widgets/DesktopPlatform.h"
#include "windowkit/widgets/ProgramIcon.h"
#include "appshell/widgets/ApplicationShell.h"

int main(int argc, char** argv) {
    // The executable's version information, as on every program of this desktop.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        QTextStream(stdout) << "Tandor " << tandor::versionText() << "\n";
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        QTextStream(stdout) << tandor::programHelpText();
        return 0;
    }
    QApplication app(argc, argv);
    // What is left once Qt has taken its own options: at most one contacts file.
    const QStringList files = QApplication::arguments().mid(1);
    if (files.size() > 1 || (files.size() == 1 && files[0].startsWith(QLatin1Char('-')))) {
        QTextStream(stderr) << "Usage: " << tandor::kProgramUsage << "\n       tandor --help | --version\n";
        return 2;
    }
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
    if (!files.isEmpty()) {
        // From the event loop, so that Cancel of an error message ends the program.
        const QString path = QFileInfo(files[0]).absoluteFilePath();
        QTimer::singleShot(0, &shell, [&shell, path] { shell.openNamedFile(path); });
    }
    return app.exec();
}
