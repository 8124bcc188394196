#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "batch/BatchCommand.h"
#include "batch/Help.h"
#include "platform/ProgramFolders.h"
#include "platform/Version.h"

using namespace tandor::batch;

namespace {

// Qt warns on stderr when the per-user runtime folder is not named, as under
// cron or a root shell: name a private one, as a desktop session would.
void provideRuntimeFolder() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        return;
    }
    const QByteArray folder =
        QFile::encodeName(QDir::tempPath()) + "/runtime-" + QByteArray::number(static_cast<qulonglong>(geteuid()));
    struct stat info {};
    if (::mkdir(folder.constData(), 0700) != 0 &&
        (::lstat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid())) {
        return;  // not ours: leave it to Qt
    }
    ::chmod(folder.constData(), 0700);
    qputenv("XDG_RUNTIME_DIR", folder);
}

}  // namespace

int main(int argc, char** argv) {
    // Printing lays text out with the fonts of this machine; no window is shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    provideRuntimeFolder();
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tandor-batch"));
    QCoreApplication::setApplicationVersion(tandor::versionText());

    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments().mid(1);

    Context context{QString(), out, err};
    if (args.size() >= 2 && args[0] == QLatin1String("--program-folder")) {
        context.programFolder = QDir(args[1]).absolutePath();
        args = args.mid(2);
    }
    if (args.isEmpty() || args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h") ||
        args[0] == QLatin1String("help")) {
        out << helpText();
        return args.isEmpty() ? kRefused : kOk;
    }
    if (args[0] == QLatin1String("--version")) {
        out << "tandor-batch " << tandor::versionText() << "\n";
        return kOk;
    }
    for (const Command& c : commands()) {
        if (c.name == args[0]) {
            const QStringList rest = args.mid(1);
            if (rest.contains(QStringLiteral("--help"))) {
                out << "Usage: tandor-batch " << c.usage << "\n" << c.help << "\n";
                return kOk;
            }
            if (context.programFolder.isEmpty()) {
                // The same folder the windows use; a per-user one is made ready first.
                const tandor::ProgramFolders folders = tandor::chooseProgramFolders(
                    QCoreApplication::applicationDirPath(), tandor::perUserProgramFolder());
                const QString problem = tandor::prepareProgramFolder(folders);
                if (!problem.isEmpty()) {
                    err << "tandor-batch: " << problem << "\n";
                    return kFailure;
                }
                context.programFolder = folders.programFolder;
            }
            const int code = runBatchCommand(c, rest, context);
            out.flush();
            err.flush();
            return code;
        }
    }
    err << "tandor-batch: unknown command " << args[0] << " (see tandor-batch --help)\n";
    return kRefused;
}
