// Writes the manual pages tandor.1 and tandor-batch.1 into a folder, from the
// same source as `tandor-batch --help`.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include "batch/Help.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (args.size() != 3) {
        err << "usage: tandor-man OUTPUT-FOLDER RELEASE-DATE\n";
        return 2;
    }
    QDir().mkpath(args[1]);
    for (const QString& program : {QStringLiteral("tandor"), QStringLiteral("tandor-batch")}) {
        QFile page(QDir(args[1]).filePath(program + QStringLiteral(".1")));
        if (!page.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            page.write(tandor::batch::manualPage(program, args[2]).toUtf8()) < 0 || !page.flush()) {
            err << "tandor-man: cannot write " << page.fileName() << "\n";
            return 1;
        }
    }
    return 0;
}
