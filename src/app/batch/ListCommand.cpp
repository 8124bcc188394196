#include "batch/BatchCommand.h"
#include "batch/ListQuery.h"
#include "store/ContactsFile.h"

namespace tandor::batch {
namespace {

int runList(const QStringList& args, Context& context) {
    ListQuery query;
    ContactsFile file;
    FoundContacts found;
    if (const int code = readListCommand(args, context, nullptr, query, file, found); code != kOk) {
        return code;
    }
    for (const ListEntry& entry : found.entries) {
        context.out << entry.text << "\n";
    }
    context.out << countCaption(found.found) << "\n";
    return kOk;
}

const Registration registration{Command{
    QStringLiteral("list"), QStringLiteral("list ") + kListQueryUsage,
    QStringLiteral(
        "Prints the contact list as \"Get report\" fills it: one line per contact found, in list\n"
        "order, exactly as the list holds it (columns separated by TAB), then \"Contacts Found = "
        "N\".\n"
        "--search takes the contacts whose field contains TEXT (case-insensitive, the ZIP code\n"
        "case-sensitive; an empty TEXT takes those whose field is not blank); without it every\n"
        "contact is listed. --sort last starts the lines with the last name."),
    runList}};

}  // namespace
}  // namespace tandor::batch
