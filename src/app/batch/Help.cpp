#include "batch/Help.h"

#include <QStringList>

#include "ProgramHelp.h"
#include "batch/BatchCommand.h"
#include "platform/Version.h"

namespace tandor::batch {
namespace {

const QString kBatchSummary = QStringLiteral("Tandor's labels, envelopes, lists and contacts from the command line");
const QString kBatchUsage = QStringLiteral("tandor-batch [--program-folder DIR] COMMAND [ARGUMENTS]");
const QString kProgramSummary = QStringLiteral("mailing labels, envelopes and an address book");

const QString kExitHelp = QStringLiteral(
    "A refusal prints the message the window would show and exits 2 with nothing\n"
    "written; another failure exits 1.");

const QString kProgramFolderOption = QStringLiteral(
    "--program-folder DIR takes DIR as the program folder for one command.");

const QString kProgramDescription = QStringLiteral(
    "Tandor prints mailing labels on any position or run of positions of a 30-up letter\n"
    "sheet (Avery 5160 / 8160), envelopes in seven sizes and 80-up return-address sheets\n"
    "(Avery 5167), all laid out on the character grid of a fixed-pitch font. It keeps an\n"
    "address book of contacts in files of fixed-width records (*.DAT): entry, browsing and\n"
    "editing, search and sort, a label for every listed contact, printed lists, birthday\n"
    "reminders, CSV import from e-mail providers and CSV or text export.\n"
    "\n"
    "The Margins menu shifts each kind of output by whole columns and lines for printers\n"
    "whose printable area lies elsewhere; the shifts are kept in TDRPARAM.TXT in the\n"
    "program folder. Help > User Manual opens the user manual.");

const QString kDocumentsHelp = QStringLiteral(
    "The user manual tdrUman.pdf and the state-abbreviations sheet\n"
    "tdr_state_abbreviations.pdf stand beside the executable in a build folder; an\n"
    "installed copy finds them in share/tandor of its installation.");

const QString kDefaultsHelp = QStringLiteral(
    "The default print-adjustment file of an installed copy, copied into a new\n"
    "per-user program folder.");

// Backslashes and minus signs as roff prints them.
QString escaped(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\e"));
    out.replace(QLatin1Char('-'), QStringLiteral("\\-"));
    return out;
}

// roff text: escaped, hard-wrapped lines filled into paragraphs, a line never
// starting with a control character.
QString roff(const QString& text) {
    const QString escapedText = escaped(text);
    QStringList paragraphs;
    for (const QString& paragraph : escapedText.split(QStringLiteral("\n\n"))) {
        QString filled = paragraph.split(QLatin1Char('\n')).join(QLatin1Char(' ')).simplified();
        if (filled.startsWith(QLatin1Char('.')) || filled.startsWith(QLatin1Char('\''))) {
            filled.prepend(QStringLiteral("\\&"));
        }
        paragraphs << filled;
    }
    return paragraphs.join(QStringLiteral("\n.PP\n")) + QLatin1Char('\n');
}

QString header(const QString& program, const QString& date) {
    return QStringLiteral(".TH %1 1 \"%2\" \"Tandor %3\" \"User Commands\"\n")
        .arg(program.toUpper().replace(QLatin1Char('-'), QStringLiteral("\\-")), date, versionText());
}

QString section(const QString& title) {
    return QStringLiteral(".SH ") + title + QLatin1Char('\n');
}

QString item(const QString& tag, const QString& text) {
    // A quote would end the macro's argument early.
    return QStringLiteral(".TP\n.B ") + roff(tag).replace(QLatin1Char('"'), QStringLiteral("\\(dq")) + roff(text);
}

QString batchPage(const QString& date) {
    QString page = header(QStringLiteral("tandor-batch"), date);
    page += section(QStringLiteral("NAME")) + roff(QStringLiteral("tandor-batch - ") + kBatchSummary);
    page += section(QStringLiteral("SYNOPSIS")) + QStringLiteral(".B ") + roff(kBatchUsage) + QStringLiteral(".br\n") +
            QStringLiteral(".B ") + roff(QStringLiteral("tandor-batch --help | --version"));
    page += section(QStringLiteral("DESCRIPTION")) +
            roff(QStringLiteral("tandor-batch drives the code of Tandor's windows from the command line, "
                                "without windows, for people who script their mailings. Each command "
                                "followed by --help prints its own usage.\n\n") +
                 kExitHelp);
    page += section(QStringLiteral("COMMANDS"));
    for (const Command& c : commands()) {
        page += item(c.usage, c.help);
    }
    page += section(QStringLiteral("PROGRAM FOLDER")) + roff(kProgramFolderHelp + QStringLiteral("\n") + kProgramFolderOption);
    page += section(QStringLiteral("EXIT STATUS")) + roff(kExitHelp);
    page += section(QStringLiteral("EXAMPLES")) + QStringLiteral(".nf\n") +
            escaped(QStringLiteral(
                "tandor-batch labels --positions 1-30 -o sheet.pdf \"John Q. Smith\" \"1234 Main Street\" \\\n"
                "    \"Springfield, IL  62704\"\n"
                "tandor-batch import Family.DAT google-contacts.csv\n"
                "tandor-batch bulk-labels Family.DAT --search category Christmas -o christmas.pdf\n")) +
            QStringLiteral(".fi\n");
    page += section(QStringLiteral("SEE ALSO")) + QStringLiteral(".BR tandor (1)\n");
    return page;
}

QString programPage(const QString& date) {
    QString page = header(QStringLiteral("tandor"), date);
    page += section(QStringLiteral("NAME")) + roff(QStringLiteral("tandor - ") + kProgramSummary);
    page += section(QStringLiteral("SYNOPSIS")) + QStringLiteral(".B ") + roff(kProgramUsage) + QStringLiteral(".br\n") +
            QStringLiteral(".B ") + roff(QStringLiteral("tandor --help | --version"));
    page += section(QStringLiteral("DESCRIPTION")) + roff(kProgramDescription);
    page += section(QStringLiteral("OPTIONS"));
    for (const ProgramOption& option : programOptions()) {
        page += item(option.usage, option.help);
    }
    page += section(QStringLiteral("PROGRAM FOLDER")) +
            roff(kProgramFolderHelp + QStringLiteral("\n\nFile > New and File > Open start in the program folder."));
    page += section(QStringLiteral("FILES")) +
            item(QStringLiteral("~/.local/share/Tandor/TDRPARAM.TXT"),
                 QStringLiteral("The print adjustments of an installed copy (records ONTHEFLY, ENVELOPE and "
                                "BULKLIST), changed from the Margins menu.")) +
            item(QStringLiteral("~/.local/share/Tandor/TDRC_name.csv, TDRT_name.txt"),
                 QStringLiteral("The exports of the contacts file name.DAT.")) +
            item(QStringLiteral("share/tandor/tdrUman.pdf, share/tandor/tdr_state_abbreviations.pdf"),
                 kDocumentsHelp) +
            item(QStringLiteral("share/tandor/TDRPARAM.TXT"), kDefaultsHelp) +
            item(QStringLiteral("~/.config/Tandor/Tandor.conf"),
                 QStringLiteral("The main window's last place and size, written when it closes."));
    page += section(QStringLiteral("SEE ALSO")) + QStringLiteral(".BR tandor\\-batch (1)\n");
    return page;
}

}  // namespace

const QString kProgramFolderHelp = QStringLiteral(
    "The program folder holds TDRPARAM.TXT (the print adjustments) and the export\n"
    "files. A copy run from a folder of its own that it may write (its build folder)\n"
    "uses the folder of its executable. An installed copy, or one in a folder it may\n"
    "not write, uses the per-user folder ~/.local/share/Tandor ($XDG_DATA_HOME/Tandor),\n"
    "made on first start with a copy of the installed default TDRPARAM.TXT.");

QString helpText() {
    QString text = QStringLiteral("tandor-batch: ") + kBatchSummary + QStringLiteral(".\n\nUsage: ") + kBatchUsage +
                   QStringLiteral("\n\n") + kProgramFolderHelp + QLatin1Char('\n') + kProgramFolderOption +
                   QStringLiteral("\n\n") + kExitHelp + QStringLiteral("\n\nCommands:\n");
    for (const Command& c : commands()) {
        text += helpItem(c.usage, c.help);
    }
    return text;
}

QString manualPage(const QString& program, const QString& date) {
    if (program == QLatin1String("tandor")) {
        return programPage(date);
    }
    if (program == QLatin1String("tandor-batch")) {
        return batchPage(date);
    }
    return {};
}

}  // namespace tandor::batch
