#include "compose/widgets/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "compose/Composition.h"
#include "compose/LabelPositions.h"
#include "compose/PrintCommand.h"
#include "compose/widgets/LabelPositionCommand.h"
#include "compose/widgets/MarginsCommand.h"
#include "compose/widgets/NewSheetDialog.h"
#include "platform/Platform.h"
#include "platform/widgets/WindowConventions.h"
#include "print/PaperEdge.h"
#include "print/widgets/PrintPreviewDialog.h"
#include "sheets/AdjustmentFile.h"
#include "sheets/AlignmentSheet.h"
#include "sheets/SheetDesignFile.h"
#include "sheets/SheetSearch.h"
#include "windowkit/widgets/CommandRunner.h"
#include "windowkit/widgets/WindowHost.h"
#include "store/ContactsDocument.h"

namespace tandor {

MainWindow::MainWindow(WindowHost& host, QWidget* parent)
    : QMainWindow(parent), host_(host), platform_(host.platform()) {
    setObjectName(QStringLiteral("frmLMaker"));
    installKeyboardConventions();
    buildControls();
    buildMenus();
    connectHandlers();
    connectCommands();

    // Start-up state, on the sheet chosen last time.
    composition::startUp(state_);
    state_.sheetName = addressSheetOr(host_.readSetting(kSheetSettingKey)).name;
    applyState();
    showFileState();
    fitInstructions();

    // The title and the file items follow the document, whoever changed it.
    const ContactsDocument* document = &host_.document();
    connect(document, &ContactsDocument::opened, this, &MainWindow::showFileState);
    connect(document, &ContactsDocument::closed, this, &MainWindow::showFileState);
    connect(document, &ContactsDocument::remindersChanged, this, &MainWindow::showFileState);
}

MainWindow::~MainWindow() = default;

void MainWindow::fitInstructions() {
    // At the window's smallest size the instructions still show whole: the
    // label keeps the height its wrapped text needs at that width.
    centralWidget()->layout()->activate();
    const int smallest = std::max(minimumSizeHint().width(), 640);
    setMinimumWidth(smallest);
    const int margins = 2 * centralWidget()->layout()->contentsMargins().left() + 8;
    // The text names the chosen sheet: room for the longest of them. Only the
    // few widest texts are laid out, however many sheets there are.
    const QString shown = lblLMInstruct_->text();
    QList<std::pair<int, QString>> texts;
    for (const LabelSheet* sheet : addressSheets()) {
        const QString text = composition::instructions(*sheet);
        texts.append({lblLMInstruct_->fontMetrics().horizontalAdvance(text), text});
    }
    std::sort(texts.begin(), texts.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    int height = 0;
    for (qsizetype i = 0; i < std::min<qsizetype>(texts.size(), 3); ++i) {
        lblLMInstruct_->setText(texts[i].second);
        height = std::max(height, lblLMInstruct_->heightForWidth(smallest - margins));
    }
    lblLMInstruct_->setText(shown);
    lblLMInstruct_->setMinimumHeight(height);
}

template <typename Handler>
void MainWindow::handle(Handler handler) {
    readLines();
    runCommand(platform_, policy::mainWindow(host_), handler);
    applyState();
}

void MainWindow::connectHandlers() {
    connect(optLMLabel_, &QRadioButton::clicked, this, [this] {
        handle([this] {
            composition::clickLabel(state_);
            askLabelPosition(state_, platform_);
        });
    });
    connect(optLMEnvelope_, &QRadioButton::clicked, this, [this] { handle([this] { composition::clickEnvelope(state_); }); });
    connect(cboLMEnvelope_, &QComboBox::activated, this, [this](int index) {
        handle([this, index] { composition::chooseEnvelopeSize(state_, index); });
    });
    connect(optPortrait_, &QRadioButton::clicked, this, [this] { handle([this] { composition::clickPortrait(state_); }); });
    connect(optLandscape_, &QRadioButton::clicked, this, [this] { handle([this] { composition::clickLandscape(state_); }); });
    connect(optLMLeftjust_, &QRadioButton::clicked, this,
            [this] { handle([this] { composition::clickLeftJustified(state_); }); });
    connect(optLMCenter_, &QRadioButton::clicked, this, [this] { handle([this] { composition::clickCentered(state_); }); });
    connect(chkBold_, &QCheckBox::clicked, this,
            [this](bool checked) { handle([this, checked] { composition::clickBold(state_, checked); }); });
    connect(chkLargeFont_, &QCheckBox::clicked, this,
            [this](bool checked) { handle([this, checked] { composition::clickLargeFont(state_, checked); }); });
    connect(cmdLMClear_, &QPushButton::clicked, this, [this] { handle([this] { composition::clearForm(state_); }); });

    auto print = [this] {
        handle([this] { runPrintCommand(state_, platform_, host_.document().programFolder()); });
    };
    connect(cmdLMStart_, &QPushButton::clicked, this, print);
    connect(mnuFilePrint_, &QAction::triggered, this, print);
    connect(mnuFilePreview_, &QAction::triggered, this, &MainWindow::printPreview);
    auto returnAddress = [this] { handle([this] { runReturnAddressCommand(state_, platform_); }); };
    connect(cmdRetAddress_, &QPushButton::clicked, this, returnAddress);
    connect(mnuRetAddress_, &QAction::triggered, this, returnAddress);

    auto margins = [this](MarginsKind kind) {
        return [this, kind] {
            runCommand(platform_, policy::mainWindow(host_),
                       [this, kind] { runMarginsCommand(platform_, host_.document().programFolder(), kind); });
        };
    };
    connect(mnuMarginOnTheFly_, &QAction::triggered, this, margins(MarginsKind::OnTheFly));
    connect(mnuMarginSearch_, &QAction::triggered, this, margins(MarginsKind::SearchResultLabels));
    connect(mnuMarginEnvelope_, &QAction::triggered, this, margins(MarginsKind::Envelope));
    mnuPlaceByPaperEdge_->setChecked(placesByPaperEdge(platform_));
    connect(mnuPlaceByPaperEdge_, &QAction::toggled, this,
            [this](bool on) { choosePlaceByPaperEdge(platform_, on); });
    connect(mnuMarginAlign_, &QAction::triggered, this, [this] {
        // The sheet is shown in the preview first; its Print goes through the sheet's job.
        handle([this] {
            // A copy: the preview's Print must not hold a sheet of a list a reload has replaced.
            const LabelSheet sheet = sheetOf(state_);
            const QString folder = host_.document().programFolder();
            showPrintPreview(platform_, preparedAlignmentSheet(platform_, folder, sheet), [this, sheet, folder] {
                runCommand(platform_, policy::mainWindow(host_),
                           [this, &sheet, folder] { runAlignmentSheetCommand(platform_, folder, sheet); });
            }, this);
        });
    });
    connect(mnuMarginNewSheet_, &QAction::triggered, this, [this] {
        NewSheetDialog dialog(host_, userSheetsFolder(), this);
        dialog.exec();
    });
    connect(cboLMSheet_, &QComboBox::activated, this,
            [this](int index) { chooseSheet(cboLMSheet_->itemData(index).toString()); });
}

// A sheet chosen in the list or among the matches of the typed text: the
// settings remember it, for the next time and at the front of the recent ones.
void MainWindow::chooseSheet(const QString& name) {
    if (name.isEmpty()) {
        return;
    }
    rememberSheet(platform_, name);
    handle([this, name] {
        if (composition::chooseSheet(state_, name)) {
            askLabelPosition(state_, platform_);
        }
    });
}

void MainWindow::connectCommands() {
    // Each item runs the command given to it, if any (see showFileState).
    auto run = [this](std::function<void()> Commands::*command, bool readBoxes) {
        return [this, command, readBoxes] {
            if (const std::function<void()>& fn = commands_.*command) {
                if (readBoxes) {
                    readLines();
                }
                fn();
            }
        };
    };
    connect(mnuFileNew_, &QAction::triggered, this, run(&Commands::fileNew, false));
    connect(mnuFileOpen_, &QAction::triggered, this, run(&Commands::fileOpen, false));
    connect(mnuFileClose_, &QAction::triggered, this, run(&Commands::fileClose, false));
    connect(mnuFileExit_, &QAction::triggered, this, run(&Commands::exit, false));
    connect(cmdLMExit_, &QPushButton::clicked, this, run(&Commands::exit, false));
    connect(cmdAddContact_, &QPushButton::clicked, this, run(&Commands::addContact, true));
    connect(mnuAdd_, &QAction::triggered, this, run(&Commands::addContact, true));
    connect(cmdFindContact_, &QPushButton::clicked, this, run(&Commands::browser, false));
    for (QAction* a : {mnuEdit_, mnuFind_, mnuDelete_, mnuViewOne_}) {
        connect(a, &QAction::triggered, this, run(&Commands::browser, false));
    }
    connect(mnuSrchContacts_, &QAction::triggered, this, run(&Commands::contactList, true));
    connect(mnuViewAll_, &QAction::triggered, this, run(&Commands::contactList, true));
    connect(mnuImport_, &QAction::triggered, this, run(&Commands::importWindow, true));
    connect(mnuExport_, &QAction::triggered, this, run(&Commands::exportWindow, true));
    connect(mnuFileSync_, &QAction::triggered, this, run(&Commands::syncNow, false));
    connect(mnuSyncAccount_, &QAction::triggered, this, run(&Commands::syncAccount, true));
    connect(mnuSyncConflicts_, &QAction::triggered, this, run(&Commands::syncConflicts, true));
    auto reminders = [this](bool on) {
        return [this, on] {
            if (commands_.birthdayReminders) {
                commands_.birthdayReminders(on);
            }
        };
    };
    connect(mnuFileBdayOn_, &QAction::triggered, this, reminders(true));
    connect(mnuFileBdayOff_, &QAction::triggered, this, reminders(false));
}

void MainWindow::readLines() {
    for (int i = 0; i < 5; ++i) {
        state_.lines[i] = lines_[i]->text();
    }
    state_.leftPad = txtLMLeftPad_->text();
    state_.topPad = txtLMToppad_->text();
    state_.envelopeIndex = cboLMEnvelope_->currentIndex();
}

void MainWindow::applyState() {
    const QSignalBlocker blockCombo(cboLMEnvelope_);
    showChosenSheet();
    lblLMInstruct_->setText(composition::instructions(sheetOf(state_)));
    for (int i = 0; i < 5; ++i) {
        if (lines_[i]->text() != state_.lines[i]) {
            lines_[i]->setText(state_.lines[i]);
        }
    }
    if (txtLMLeftPad_->text() != state_.leftPad) {
        txtLMLeftPad_->setText(state_.leftPad);
    }
    if (txtLMToppad_->text() != state_.topPad) {
        txtLMToppad_->setText(state_.topPad);
    }
    optLMLabel_->setChecked(state_.labelSelected);
    optLMEnvelope_->setChecked(state_.envelopeSelected);
    optLMLabel_->setEnabled(state_.mediumOptionsEnabled);
    optLMEnvelope_->setEnabled(state_.mediumOptionsEnabled);
    cboLMEnvelope_->setVisible(state_.envelopeListVisible);
    if (cboLMEnvelope_->currentIndex() != state_.envelopeIndex) {
        cboLMEnvelope_->setCurrentIndex(state_.envelopeIndex);
    }
    lblLMEnvSize_->setText(state_.sizeCaption);
    lblLMPosition_->setText(state_.positionCaption);
    lblLMPosition_->setVisible(state_.positionCaptionVisible);
    optLMLeftjust_->setChecked(state_.leftJustified);
    optLMCenter_->setChecked(state_.centered);
    optPortrait_->setChecked(state_.portrait);
    optLandscape_->setChecked(state_.landscape);
    chkBold_->setChecked(state_.bold);
    chkBold_->setVisible(state_.boldVisible);
    chkLargeFont_->setChecked(state_.largeFont);
    chkLargeFont_->setVisible(state_.largeFontVisible);
    cmdLMStart_->setVisible(!state_.returnAddressMode);
    cmdRetAddress_->setVisible(state_.returnAddressMode);

    switch (state_.focus) {
        case FocusTarget::Unchanged:
            break;
        case FocusTarget::Line1:
            lines_[0]->setFocus();
            break;
        case FocusTarget::Line4:
            lines_[3]->setFocus();
            break;
        case FocusTarget::PrintButton:
            cmdLMStart_->setFocus();
            break;
        case FocusTarget::EnvelopeList:
            cboLMEnvelope_->setFocus();
            break;
    }
    state_.focus = FocusTarget::Unchanged;
}

void MainWindow::printPreview() {
    readLines();
    // The checks are Print's own, on a copy of the state; printing from the
    // preview is the window's own print command.
    QPushButton* printButton = state_.returnAddressMode ? cmdRetAddress_ : cmdLMStart_;
    runCommand(platform_, policy::mainWindow(host_), [this, printButton] {
        showPrintPreview(platform_, previewJob(state_, platform_, host_.document().programFolder()),
                         [printButton] { printButton->click(); }, this);
    });
}

void MainWindow::setCommands(const Commands& commands) {
    commands_ = commands;
    showFileState();
}

void MainWindow::showFileState() {
    const ContactsDocument& document = host_.document();
    setWindowTitle(document.mainWindowTitle());
    txtFileNam_->setText(document.fileName());
    txtFileTitle_->setText(document.fileTitle());
    txtFileTitle_->setVisible(false);
    const bool items = document.hasFile();
    // An item without a command stays disabled.
    mnuAdd_->setEnabled(items && commands_.addContact);
    cmdAddContact_->setEnabled(items && commands_.addContact);
    for (QAction* a : {mnuEdit_, mnuDelete_, mnuFind_, mnuViewOne_}) {
        a->setEnabled(items && commands_.browser);
    }
    cmdFindContact_->setEnabled(items && commands_.browser);
    mnuViewAll_->setEnabled(items && commands_.contactList);
    mnuSrchContacts_->setEnabled(items && commands_.contactList);
    mnuImport_->setEnabled(items && commands_.importWindow);
    mnuExport_->setEnabled(items && commands_.exportWindow);
    mnuFileBdayOn_->setEnabled(document.reminders() == Reminders::Off &&
                               commands_.birthdayReminders);
    mnuFileBdayOff_->setEnabled(document.reminders() == Reminders::On &&
                                commands_.birthdayReminders);
    mnuSyncAccount_->setEnabled(items && commands_.syncAccount);
    showSyncState();
}

void MainWindow::showSyncState() {
    const QString status = commands_.syncStatus && host_.document().hasFile() ? commands_.syncStatus() : QString();
    lblLMLastSync_->setText(status);
    lblLMLastSync_->setVisible(!status.isEmpty());
    mnuFileSync_->setEnabled(!status.isEmpty() && commands_.syncNow);
    mnuSyncConflicts_->setEnabled(!status.isEmpty() && commands_.syncConflicts);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // The keypad's Enter key carries the keypad modifier.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            // Enter in Lines 1 to 4 moves to the next control, as Tab does.
            for (int i = 0; i < 4; ++i) {
                if (watched == lines_[i]) {
                    focusNextChild();
                    return true;
                }
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

std::array<QString, 5> MainWindow::lines() {
    readLines();
    return state_.lines;
}

void MainWindow::focusLine1() {
    lines_[0]->setFocus();
}

void MainWindow::takeAddressLines(const std::array<QString, 5>& lines) {
    readLines();
    state_.lines = lines;
    composition::setBold(state_, false);
    state_.boldVisible = false;
    applyState();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    event->accept();
}

}  // namespace tandor
