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
#include "platform/Version.h"

using namespace tandor::batch;

namespace {

void printHelp(QTextStream& out) {
    out << "tandor-batch: Tandor's labels, envelopes, lists and contacts from the command line.\n\n"
           "Usage: tandor-batch [--program-folder DIR] COMMAND [ARGUMENTS]\n\n"
           "The program folder (where TDRPARAM.TXT and the export files live) is the folder\n"
           "of this executable unless --program-folder is given. A refusal prints the message\n"
           "the window would show and exits 2 with nothing written; another failure exits 1.\n\n"
           "Commands:\n";
    for (const Command& c : commands()) {
        out << "  " << c.usage << "\n";
        for (const QString& line : c.help.split(QLatin1Char('\n'))) {
            out << "      " << line << "\n";
        }
        out << "\n";
    }
}

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

    Context context{QCoreApplication::applicationDirPath(), out, err};
    if (args.size() >= 2 && args[0] == QLatin1String("--program-folder")) {
        context.programFolder = QDir(args[1]).absolutePath();
        args = args.mid(2);
    }
    if (args.isEmpty() || args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h") ||
        args[0] == QLatin1String("help")) {
        printHelp(out);
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
            const int code = c.run(rest, context);
            out.flush();
            err.flush();
            return code;
        }
    }
    err << "tandor-batch: unknown command " << args[0] << " (see tandor-batch --help)\n";
    return kRefused;
}
