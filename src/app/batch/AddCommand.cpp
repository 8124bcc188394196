#include <QFileInfo>

#include "batch/BatchCommand.h"
#include "batch/DocumentForChange.h"
#include "contacts/ContactEntry.h"
#include "store/ContactsDocument.h"

namespace tandor::batch {
namespace {

struct BoxOption {
    const char* option;
    EntryBox box;
};

constexpr BoxOption kBoxOptions[] = {
    {"--first", EntryBox::FName},         {"--middle", EntryBox::MiddleInit},
    {"--last", EntryBox::LName},          {"--street", EntryBox::FStreet},
    {"--street2", EntryBox::SStreet},     {"--city", EntryBox::City},
    {"--state", EntryBox::State},         {"--zip", EntryBox::Zip},
    {"--country", EntryBox::Country},     {"--company", EntryBox::Company},
    {"--birthdate", EntryBox::Birthdate}, {"--home-phone", EntryBox::HPhone},
    {"--cell-phone", EntryBox::CPhone},   {"--work-phone", EntryBox::WPhone},
    {"--email", EntryBox::Email},         {"--category", EntryBox::Category},
    {"--notes", EntryBox::Notes},
};

const char* const kUsage =
    "Usage: tandor-batch add FILE.DAT [--first X] [--middle X] [--last X] [--street X]\n"
    "       [--street2 X] [--city X] [--state X] [--zip X] [--country X] [--company X]\n"
    "       [--include-company] [--birthdate MM/DD/YYYY] [--home-phone X] [--cell-phone X]\n"
    "       [--work-phone X] [--email X] [--category X] [--notes X]\n";

int runAdd(const QStringList& args, Context& context) {
    Arguments arguments(args);
    ContactEntry entry;
    for (const BoxOption& o : kBoxOptions) {
        if (const std::optional<QString> value = arguments.take(QString::fromLatin1(o.option))) {
            entry.text(o.box) = *value;
        }
    }
    entry.includeCompany = arguments.takeFlag(QStringLiteral("--include-company"));
    const QStringList positional = arguments.positional();
    if (!arguments.error().isEmpty() || positional.size() != 1) {
        context.err << kUsage;
        if (!arguments.error().isEmpty()) {
            context.err << arguments.error() << "\n";
        }
        return kRefused;
    }
    const QString path = positional[0];
    if (QFileInfo(path).isDir()) {
        context.err << path << " is a folder, not a contacts file.\n";
        return kRefused;
    }

    // The form's save pass first: a refused contact leaves everything as it was.
    if (const std::optional<FieldRefusal> refusal =
            runSavePass(entry, EntryWindow::NewContactForm)) {
        context.err << refusal->text << "\n";
        return kRefused;
    }
    // A file that does not exist is made as File New makes it: empty, reminders on.
    DocumentForChange document(context.programFolder, path);
    // Reminders are on for an empty file (its first contact switches them on)
    // and otherwise as record 1 says.
    const int n = document->appendContact(buildContactRecord(entry, document->remindersOn()));
    context.out << "S A V E D\n"
                << "record: " << n << "\n";
    return kOk;
}

const Registration registration{Command{
    QStringLiteral("add"),
    QStringLiteral("add FILE.DAT [--first X] [--middle X] [--last X] [--street X] [--street2 X] "
                   "[--city X] [--state X] [--zip X] [--country X] [--company X] "
                   "[--include-company] [--birthdate MM/DD/YYYY] [--home-phone X] "
                   "[--cell-phone X] [--work-phone X] [--email X] [--category X] [--notes X]"),
    QStringLiteral(
        "Checks and cleans a contact as the Add Contact form's Save does and appends it to the\n"
        "contacts file (made empty first when it does not exist). A refused field prints the\n"
        "form's message and writes nothing. Prints the new contact's record number."),
    runAdd,
}};

}  // namespace
}  // namespace tandor::batch
