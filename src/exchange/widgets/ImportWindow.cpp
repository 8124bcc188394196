#include "platform/widgets/NamedControls.h"
#include "platform/widgets/WindowConventions.h"
#include "exchange/widgets/ImportWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "exchange/ImportRun.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "windowkit/widgets/ShellCommands.h"
#include "windowkit/widgets/CommandRunner.h"
#include "windowkit/widgets/WindowHost.h"
#include "store/ContactsDocument.h"

namespace tandor {
namespace {

const QString kCsvFilter = QStringLiteral(
    "CSV Files (*.CSV)|*.CSV|vCard Files (*.VCF;*.VCARD)|*.VCF;*.VCARD|Text Files (*.TXT)|*.TXT|"
    "All Files (*.*)|*.*");
// The caption of the file type last chosen in the Open dialog.
const QString kImportFileTypeSetting = QStringLiteral("ImportFileType");

}  // namespace

const QString ImportWindow::kInstructions = QStringLiteral(
    "First, download contacts (as a csv file) from your email provider or other "
    "source, and save to PC.\r\n"
    "When ready, click 'Open csv file' to select the file to import.  Click "
    "'Import' to begin importing.");

ImportWindow::ImportWindow(WindowHost& host) : host_(host) {
    setObjectName(QStringLiteral("frmLMImport"));
    setWindowTitle(QStringLiteral("Import Contacts  [") + host_.document().fileTitle() +
                   QStringLiteral("]"));
    buildControls();
    buildMenus();

    connect(cmdCsvOpen_, &QPushButton::clicked, this,
            [this] { guarded([this] { chooseFile(); }); });
    connect(cmdStartImport_, &QPushButton::clicked, this,
            [this] { guarded([this] { startImport(); }); });
    connect(cmdImpCancel_, &QPushButton::clicked, this, &QWidget::close);
    connect(mnuITFileExit_, &QAction::triggered, this, &ImportWindow::exitProgram);
    closeOnEscape(this, cmdImpCancel_);

    attachShellCommands(this, host_);
}

void ImportWindow::buildControls() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    setCentralWidget(central);

    lblImpHdr_ = named(new QLabel(kInstructions), "lblImpHdr");
    lblImpHdr_->setWordWrap(true);
    layout->addWidget(lblImpHdr_);

    auto* fileRow = new QHBoxLayout;
    cmdCsvOpen_ = named(new QPushButton(QStringLiteral("&Open csv file")), "cmdCsvOpen");
    txtImpFilename_ = named(new QLineEdit, "txtImpFilename");
    txtImpFilename_->setVisible(false);
    fileRow->addWidget(cmdCsvOpen_);
    fileRow->addWidget(txtImpFilename_, 1);
    layout->addLayout(fileRow);

    auto* buttons = new QHBoxLayout;
    cmdStartImport_ = named(new QPushButton(QStringLiteral("&Import")), "cmdStartImport");
    cmdStartImport_->setEnabled(false);
    cmdImpCancel_ = named(new QPushButton(QStringLiteral("&Close")), "cmdImpCancel");
    buttons->addStretch(1);
    buttons->addWidget(cmdStartImport_);
    buttons->addWidget(cmdImpCancel_);
    layout->addLayout(buttons);
}

void ImportWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuITFile"));
    mnuITFileExit_ = menuItem(file, QStringLiteral("Exit"), "mnuITFileExit", QKeySequence::Quit);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuITEdit"));
    menuItem(edit, QStringLiteral("Cut"), "mnuITEditCut", QKeySequence(QStringLiteral("Ctrl+X")));
    menuItem(edit, QStringLiteral("Copy"), "mnuITEditCopy", QKeySequence(QStringLiteral("Ctrl+C")));
    menuItem(edit, QStringLiteral("Paste"), "mnuITEditPaste", QKeySequence(QStringLiteral("Ctrl+V")));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuITHelp"));
    menuItem(help, QStringLiteral("User Manual"), "mnuITHelpUM", QKeySequence(Qt::Key_F1));
    help->addSeparator();
    menuItem(help, QStringLiteral("About Tandor"), "mnuITHelpAbout");
}

void ImportWindow::chooseFile() {
    OpenFileRequest request;
    request.title = QStringLiteral("Open");
    request.filter = kCsvFilter;
    // The file type chosen last time is shown first.
    request.selectedFilter = host_.readSetting(kImportFileTypeSetting);
    QString chosenFilter;
    request.chosenFilter = &chosenFilter;
    const QString path = host_.platform().openFile(request);
    if (path.isEmpty()) {
        return;
    }
    if (!chosenFilter.isEmpty() && chosenFilter != request.selectedFilter) {
        host_.writeSetting(kImportFileTypeSetting, chosenFilter);
    }
    csvPath_ = path;
    txtImpFilename_->setText(QFileInfo(path).fileName());
    checkCsvReadable(path);
    txtImpFilename_->setVisible(true);
    host_.platform().setBusy(false);
    cmdStartImport_->setEnabled(true);
}

void ImportWindow::startImport() {
    Platform& platform = host_.platform();
    if (csvPath_.isEmpty()) {
        platform.beep();
        platform.message(kNoCsvFileText, kNoCsvFileTitle, MessageIcon::Information,
                         MessageButtons::Ok);
        return;
    }
    ContactsDocument& document = host_.document();
    ImportSettings settings;
    settings.remindersOn = [&document] { return document.remindersOn(); };
    platform.setBusy(true);
    const ImportOutcome outcome =
        document.appendMany([&](ContactsFile& file) { return importContactsFile(csvPath_, file, settings); });
    platform.setBusy(false);
    switch (outcome.result) {
        case ImportResult::NoRecognisedHeader:
            return;
        case ImportResult::Failed:
            throw *outcome.error;
        case ImportResult::NotCompatible:
            platform.message(kNotCompatibleText, kNotCompatibleTitle, MessageIcon::Information,
                             MessageButtons::Ok);
            break;
        case ImportResult::Done:
            platform.message(importDoneText(outcome), kImportDoneTitle, MessageIcon::None,
                             MessageButtons::Ok);
            break;
    }
    cmdStartImport_->setEnabled(false);
    cmdImpCancel_->setFocus();
}

void ImportWindow::exitProgram() {
    // Every file closed, then the program ends as the main window's File Exit ends it.
    host_.document().fileClose();
    close();
    host_.endProgram();
}

void ImportWindow::guarded(const std::function<void()>& handler) {
    runCommand(host_.platform(), policy::secondaryWindow(this, NotifyWhom::Product), handler);
}

void ImportWindow::closeEvent(QCloseEvent* event) {
    host_.platform().setBusy(false);
    event->accept();
}

}  // namespace tandor
