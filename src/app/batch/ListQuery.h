#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "batch/BatchCommand.h"
#include "list/ContactLines.h"

namespace tandor {
class ContactsFile;
}

namespace tandor::batch {

// The contact list of the list, bulk-labels and report commands: a contacts
// file, an optional search (--search FIELD TEXT) and the sort (--sort
// first|last), as the contact list window's options and "Get report" give it.
struct ListQuery {
    QString path;
    SearchField field = SearchField::All;
    QString text;
    SortOrder order = SortOrder::FirstName;
};

inline const QString kListQueryUsage = QStringLiteral(
    "FILE.DAT [--search first|last|city|state|zip|email|category|company TEXT] [--sort "
    "first|last]");

// Takes --search and --sort out of the arguments. False, with a message on
// stderr, when they are wrong.
bool takeListQuery(QStringList& args, ListQuery& query, Context& context);

// Takes FILE.DAT from the positional arguments (exactly one).
bool takeListFile(const QStringList& positional, ListQuery& query, Context& context);

// Opens the contacts file and reads the list from it; false (message on
// stderr) when the file is missing. Throws AppError when it cannot be read.
bool loadList(const ListQuery& query, ContactsFile& file, FoundContacts& found, Context& context);

struct PdfOptions;

// The whole start of a list command: the query, -o and --copies when `pdf` is
// given, FILE.DAT, then the list read from the open file. Returns kOk, or the
// exit code to end the command with (the message is on stderr).
int readListCommand(const QStringList& args, Context& context, PdfOptions* pdf, ListQuery& query,
                    ContactsFile& file, FoundContacts& found);

}  // namespace tandor::batch
