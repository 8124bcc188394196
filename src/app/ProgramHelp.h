#pragma once

#include <QList>
#include <QString>

namespace tandor {

// The one source of `tandor --help` and of the options in the manual page
// tandor(1).

// An option or argument of `tandor`: its usage and what it does.
struct ProgramOption {
    QString usage;
    QString help;
};

extern const QString kProgramUsage;
const QList<ProgramOption>& programOptions();

// The text of `tandor --help`.
QString programHelpText();

// One item of a --help text: the usage, then the help indented under it.
QString helpItem(const QString& usage, const QString& help);

}  // namespace tandor
