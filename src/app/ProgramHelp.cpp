#include "ProgramHelp.h"

namespace tandor {

const QString kProgramUsage = QStringLiteral("tandor [FILE.DAT]");

const QList<ProgramOption>& programOptions() {
    static const QList<ProgramOption> options = {
        {QStringLiteral("FILE.DAT"),
         QStringLiteral("Opens that contacts file as File > Open does, with the same message for a\n"
                        "missing or damaged file, and shows its name in the title bar. The desktop's\n"
                        "file manager opens a contacts file this way.")},
        {QStringLiteral("--help"), QStringLiteral("Prints this help, and ends.")},
        {QStringLiteral("--version"), QStringLiteral("Prints \"Tandor\" and the version, and ends.")},
    };
    return options;
}

QString programHelpText() {
    QString text = QStringLiteral("tandor: mailing labels, envelopes and an address book.\n\nUsage: ") + kProgramUsage +
                   QStringLiteral("\n       tandor --help | --version\n\n");
    for (const ProgramOption& option : programOptions()) {
        text += helpItem(option.usage, option.help);
    }
    return text;
}

QString helpItem(const QString& usage, const QString& help) {
    QString text = QStringLiteral("  ") + usage + QLatin1Char('\n');
    for (const QString& line : help.split(QLatin1Char('\n'))) {
        text += QStringLiteral("      ") + line + QLatin1Char('\n');
    }
    return text + QLatin1Char('\n');
}

}  // namespace tandor
