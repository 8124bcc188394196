#include "platform/widgets/NamedControls.h"
#include "platform/widgets/WindowConventions.h"
#include "exchange/widgets/ExportWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "exchange/ContactExport.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "windowkit/widgets/ShellCommands.h"
#include "windowkit/widgets/CommandRunner.h"
#include "windowkit/widgets/WindowHost.h"
#include "store/ContactsDocument.h"

namespace tandor {
namespace {

}  // namespace

const QString ExportWindow::kInstructions = QStringLiteral(
    "Select type of export file to create, Comma Separated Values (csv) or Text (txt).\r\n"
    "Export file will contain First Name, Middle Initial, Last Name, Street Address1,\r\n"
    "Street Address 2, City, State, Zip Code, Country, Company, Incl Company, Home Phone,\r\n"
    "Cell Phone, Work Phone, Email Address, Birthdate, Category, and Notes.\r\n"
    "The export file will be stored in your Tandor folder.");

ExportWindow::ExportWindow(WindowHost& host) : host_(host) {
    setObjectName(QStringLiteral("frmLMExport"));
    setWindowTitle(QStringLiteral("Export Contacts  [") + host_.document().fileTitle() +
                   QStringLiteral("]"));
    buildControls();
    buildMenus();

    for (QRadioButton* option : {optExpCGCSV_, optExpCGTXT_, optExpCGVCF_}) {
        connect(option, &QRadioButton::clicked, this, [this] { cmdExpCreate_->setEnabled(true); });
    }
    connect(cmdExpCreate_, &QPushButton::clicked, this, [this] {
        runCommand(host_.platform(), policy::secondaryWindow(this), [this] { createExport(); });
    });
    connect(cmdExpCancel_, &QPushButton::clicked, this, &QWidget::close);
    connect(mnuETFileExit_, &QAction::triggered, this, &ExportWindow::exitProgram);
    closeOnEscape(this, cmdExpCancel_);

    attachShellCommands(this, host_);
}

void ExportWindow::buildControls() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    setCentralWidget(central);

    lblExpBanner_ = named(new QLabel(QStringLiteral("Tandor")), "lblExpBanner");
    QFont banner(QStringLiteral("Times New Roman"));
    banner.setPointSize(24);
    banner.setBold(true);
    lblExpBanner_->setFont(banner);
    layout->addWidget(lblExpBanner_);

    // A contacts file kept in a folder of its own is exported beside it.
    const ContactsDocument& document = host_.document();
    QString instructions = kInstructions;
    if (!isInProgramFolder(document.fileName(), document.programFolder())) {
        instructions.replace(QStringLiteral("your Tandor folder."),
                             QStringLiteral("the folder of your contacts file."));
    }
    lblExport_ = named(new QLabel(instructions), "lblExport");
    layout->addWidget(lblExport_);

    frExpOptions_ = named(new QGroupBox, "frExpOptions");
    auto* options = new QVBoxLayout(frExpOptions_);
    optExpCGCSV_ = named(
        new QRadioButton(QStringLiteral("Export contacts to comma separated values (.csv) file")),
        "optExpCGCSV",
        QStringLiteral("Creates and stores a csv file of contacts, with file name of: "
                       "TDRC_filename.csv"));
    optExpCGTXT_ = named(new QRadioButton(QStringLiteral("Export contacts to text (.txt) file")),
                         "optExpCGTXT",
                         QStringLiteral("Creates and stores a text file of contacts, with file "
                                        "name of: TDRT_filename.txt"));
    optExpCGVCF_ = named(new QRadioButton(QStringLiteral("Export contacts to vCard (.vcf) file")),
                         "optExpCGVCF",
                         QStringLiteral("Creates and stores a vCard file of contacts, with file "
                                        "name of: TDRV_filename.vcf"));
    options->addWidget(optExpCGCSV_);
    options->addWidget(optExpCGTXT_);
    options->addWidget(optExpCGVCF_);
    layout->addWidget(frExpOptions_);

    auto* buttons = new QHBoxLayout;
    cmdExpCreate_ = named(new QPushButton(QStringLiteral("&Create export file")), "cmdExpCreate",
                          QStringLiteral("Creates selected export file and stores in "
                                         "application's folder"));
    cmdExpCreate_->setEnabled(false);
    cmdExpCancel_ = named(new QPushButton(QStringLiteral("C&lose")), "cmdExpCancel",
                          QStringLiteral("Return to main screen"));
    buttons->addStretch(1);
    buttons->addWidget(cmdExpCreate_);
    buttons->addWidget(cmdExpCancel_);
    layout->addLayout(buttons);
}

void ExportWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuETFile"));
    mnuETFileExit_ = menuItem(file, QStringLiteral("Exit"), "mnuETFileExit", QKeySequence::Quit);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuETHelp"));
    menuItem(help, QStringLiteral("User Manual"), "mnuETHelpUM", QKeySequence(Qt::Key_F1));
    help->addSeparator();
    menuItem(help, QStringLiteral("About Tandor"), "mnuETHelpAbout");
}

void ExportWindow::createExport() {
    Platform& platform = host_.platform();
    const ContactsDocument& document = host_.document();
    const ExportKind kind = optExpCGCSV_->isChecked()   ? ExportKind::Csv
                            : optExpCGTXT_->isChecked() ? ExportKind::Text
                                                        : ExportKind::Vcard;
    platform.setBusy(true);  // cleared by the runner when the export fails
    const ExportOutcome outcome =
        exportContacts(document.file(), kind, document.fileName(), document.programFolder());
    platform.setBusy(false);
    if (outcome.linesWritten == 0) {
        platform.message(kNothingExportedText, kNothingExportedTitle, MessageIcon::Information,
                         MessageButtons::Ok);
    } else {
        platform.message(exportDoneText(kind, outcome), kExportDoneTitle,
                         MessageIcon::None, MessageButtons::Ok);
    }
    cmdExpCancel_->setFocus();
}

void ExportWindow::exitProgram() {
    // Every file closed, this window unloaded and the main window shown, then
    // the program ends as the main window's File Exit ends it.
    host_.document().fileClose();
    close();
    host_.showMain();
    host_.endProgram();
}

void ExportWindow::closeEvent(QCloseEvent* event) {
    host_.platform().setBusy(false);
    event->accept();
}

}  // namespace tandor
