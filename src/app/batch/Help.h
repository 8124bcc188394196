#pragma once

#include <QString>

namespace tandor::batch {

// The one source of `tandor-batch --help` and of the manual pages tandor(1)
// and tandor-batch(1): the same paragraphs and the same command table, so
// that the three cannot tell different stories.

// Where the program folder is, as --help and both manual pages tell it.
extern const QString kProgramFolderHelp;

// The text of `tandor-batch --help`.
QString helpText();

// A manual page in roff (man) markup: `program` is "tandor" or "tandor-batch";
// `date` the release date (YYYY-MM-DD). Empty for another program.
QString manualPage(const QString& program, const QString& date);

}  // namespace tandor::batch
