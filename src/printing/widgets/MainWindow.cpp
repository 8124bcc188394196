#include "printing/widgets/MainWindow.h"

#include "platform/widgets/NamedControls.h"
#include "platform/widgets/WindowConventions.h"

#include <QAction>
#include <algorithm>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/PrinterProblem.h"
#include "platform/widgets/PrintPreviewDialog.h"
#include "printing/AdjustmentFile.h"
#include "printing/AlignmentSheet.h"
#include "printing/Composition.h"
#include "printing/LabelSheet.h"
#include "printing/PrintCommand.h"
#include "store/Session.h"

namespace tandor {
namespace {

}  // namespace

MainWindow::MainWindow(Session& session, Platform& platform, QWidget* parent)
    : QMainWindow(parent), session_(session), platform_(platform) {
    setObjectName(QStringLiteral("frmLMaker"));
    installKeyboardConventions();
    buildControls();
    buildMenus();
    connectHandlers();

    // Start-up state, on the sheet chosen last time.
    composition::startUp(state_);
    state_.sheetName =
        addressSheetOr(platform_.readSetting(QStringLiteral("Settings"), kSheetSettingKey)).name;
    lblLMInstruct_->setText(composition::kInstructions);
    for (const EnvelopeSize& size : envelopeSizes()) {
        cboLMEnvelope_->addItem(QString::fromLatin1(size.text));
    }
    cboLMEnvelope_->setCurrentIndex(-1);
    applyState();
    refreshFileState();
    fitInstructions();
}

MainWindow::~MainWindow() = default;

void MainWindow::fitInstructions() {
    // At the window's smallest size the instructions still show whole: the
    // label keeps the height its wrapped text needs at that width.
    centralWidget()->layout()->activate();
    const int smallest = std::max(minimumSizeHint().width(), 640);
    setMinimumWidth(smallest);
    const int margins = 2 * centralWidget()->layout()->contentsMargins().left() + 8;
    lblLMInstruct_->setMinimumHeight(lblLMInstruct_->heightForWidth(smallest - margins));
}

void MainWindow::buildControls() {
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    setCentralWidget(central);

    lblLMHeader_ = named(new QLabel(QStringLiteral("Tandor")), "lblLMHeader");
    QFont headerFont = lblLMHeader_->font();
    headerFont.setPointSize(headerFont.pointSize() + 10);
    headerFont.setBold(true);
    lblLMHeader_->setFont(headerFont);
    lblLMInstruct_ = named(new QLabel, "lblLMInstruct");
    lblLMInstruct_->setWordWrap(true);
    grid->addWidget(lblLMHeader_, 0, 0, 1, 4);
    grid->addWidget(lblLMInstruct_, 1, 0, 1, 4);

    static const char* lineNames[5] = {"txtLMLine1", "txtLMLine2", "txtLMline3", "txtLMLine4", "txtLMLine5"};
    for (int i = 0; i < 5; ++i) {
        lines_[i] = named(new QLineEdit, lineNames[i]);
        auto* label = new QLabel(QStringLiteral("Line #%1:").arg(i + 1));
        label->setBuddy(lines_[i]);
        grid->addWidget(label, 2 + i, 0);
        grid->addWidget(lines_[i], 2 + i, 1, 1, 2);
        lines_[i]->installEventFilter(this);
    }

    auto* pads = new QHBoxLayout;
    txtLMLeftPad_ = named(new QLineEdit, "txtLMLeftPad");
    txtLMToppad_ = named(new QLineEdit, "txtLMToppad");
    txtLMLeftPad_->setMaximumWidth(60);
    txtLMToppad_->setMaximumWidth(60);
    pads->addWidget(new QLabel(QStringLiteral("Left margin:")));
    pads->addWidget(txtLMLeftPad_);
    pads->addWidget(new QLabel(QStringLiteral("Top margin:")));
    pads->addWidget(txtLMToppad_);
    pads->addStretch();
    grid->addLayout(pads, 7, 1, 1, 2);

    lblLMPosition_ = named(new QLabel, "lblLMPosition");
    lblLMEnvSize_ = named(new QLabel, "lblLMEnvSize");
    grid->addWidget(lblLMPosition_, 8, 1, 1, 2);
    grid->addWidget(lblLMEnvSize_, 9, 1, 1, 2);

    // Right column: medium, envelope size, alignment, orientation, font options.
    auto* options = new QVBoxLayout;
    frLMMediaType_ = named(new QGroupBox(QStringLiteral("Media")), "frLMMediaType");
    optLMLabel_ = named(new QRadioButton(QStringLiteral("Label stock")), "optLMLabel");
    optLMEnvelope_ = named(new QRadioButton(QStringLiteral("Envelope")), "optLMEnvelope");
    auto* mediaLayout = new QVBoxLayout(frLMMediaType_);
    mediaLayout->addWidget(optLMLabel_);
    // The label sheet, under Label stock: the 30-up sheet unless another was
    // chosen before (the choice is kept in the settings).
    cboLMSheet_ = named(new QComboBox, "cboLMSheet");
    cboLMSheet_->setToolTip(QStringLiteral("The sheet of labels in the printer"));
    for (const LabelSheet* sheet : addressSheets()) {
        cboLMSheet_->addItem(sheet->description(), sheet->name);
    }
    mediaLayout->addWidget(cboLMSheet_);
    mediaLayout->addWidget(optLMEnvelope_);
    cboLMEnvelope_ = named(new QComboBox, "cboLMEnvelope");
    cboLMEnvelope_->setPlaceholderText(QStringLiteral("Select Envelope Size"));
    mediaLayout->addWidget(cboLMEnvelope_);
    options->addWidget(frLMMediaType_);

    frLMJust_ = named(new QGroupBox(QStringLiteral("Text")), "frLMJust");
    optLMLeftjust_ = named(new QRadioButton(QStringLiteral("Left-Justified")), "optLMLeftjust");
    optLMCenter_ = named(new QRadioButton(QStringLiteral("Centered")), "optLMCenter");
    auto* justLayout = new QVBoxLayout(frLMJust_);
    justLayout->addWidget(optLMLeftjust_);
    justLayout->addWidget(optLMCenter_);
    options->addWidget(frLMJust_);

    frPortLand_ = named(new QGroupBox(QStringLiteral("Orientation")), "frPortLand");
    optPortrait_ = named(new QRadioButton(QStringLiteral("Portrait")), "optPortrait");
    optLandscape_ = named(new QRadioButton(QStringLiteral("Landscape")), "optLandscape");
    auto* orientLayout = new QVBoxLayout(frPortLand_);
    orientLayout->addWidget(optPortrait_);
    orientLayout->addWidget(optLandscape_);
    options->addWidget(frPortLand_);

    chkBold_ = named(new QCheckBox(QStringLiteral("Bold")), "chkBold");
    chkBold_->setToolTip(QStringLiteral("If checked, will print envelope in bold"));
    chkLargeFont_ = named(new QCheckBox(QStringLiteral("Large Font")), "chkLargeFont");
    chkLargeFont_->setToolTip(QStringLiteral("If checked, will print envelope in larger, italicized font"));
    options->addWidget(chkBold_);
    options->addWidget(chkLargeFont_);
    options->addStretch();
    grid->addLayout(options, 2, 3, 8, 1);
    // Choosing the medium shows and hides these; the lines and buttons stay put.
    keepPlaceWhenHidden({cboLMEnvelope_, chkBold_, chkLargeFont_, lblLMPosition_});

    for (QRadioButton* r : {optLMLabel_, optLMEnvelope_, optLMLeftjust_, optLMCenter_, optPortrait_, optLandscape_}) {
        r->setAutoExclusive(false);  // the handlers keep each pair exclusive; both may be off
    }

    // Buttons.
    auto* buttons = new QHBoxLayout;
    cmdLMStart_ = named(new QPushButton(QStringLiteral("Print")), "cmdLMStart");
    cmdRetAddress_ = named(new QPushButton(QStringLiteral("Print")), "cmdRetAddress");
    cmdRetAddress_->setToolTip(
        QStringLiteral("Prints 80 return address labels on Avery 5167 (1/2\" x 1 3/4\") labels"));
    cmdAddContact_ = named(new QPushButton(QStringLiteral("Add Contact")), "cmdAddContact");
    cmdAddContact_->setToolTip(QStringLiteral("Add a new contact to file"));
    cmdFindContact_ = named(new QPushButton(QStringLiteral("Find Contact")), "cmdFindContact");
    cmdFindContact_->setToolTip(QStringLiteral("Retrieve a contact from file"));
    cmdLMClear_ = named(new QPushButton(QStringLiteral("Clear Form")), "cmdLMClear");
    cmdLMExit_ = named(new QPushButton(QStringLiteral("Exit")), "cmdLMExit");
    for (QPushButton* b : {cmdLMStart_, cmdRetAddress_, cmdAddContact_, cmdFindContact_, cmdLMClear_, cmdLMExit_}) {
        buttons->addWidget(b);
    }
    grid->addLayout(buttons, 10, 0, 1, 4);

    auto* lookups = new QHBoxLayout;
    cmdPeopleFind_ = named(new QPushButton(QStringLiteral("People Finder")), "cmdPeopleFind");
    cmdZipFinder_ = named(new QPushButton(QStringLiteral("Zip Code Finder")), "cmdZipFinder");
    cmdZipFinder_->setToolTip(QStringLiteral("Look up Zip Code"));
    lookups->addWidget(cmdPeopleFind_);
    lookups->addWidget(cmdZipFinder_);
    lookups->addStretch();
    txtFileTitle_ = named(new QLineEdit, "txtFileTitle");
    txtFileNam_ = named(new QLineEdit, "txtFileNam");
    txtFileTitle_->setReadOnly(true);
    txtFileNam_->setReadOnly(true);
    txtFileTitle_->hide();
    txtFileNam_->hide();
    lookups->addWidget(txtFileTitle_);
    lookups->addWidget(txtFileNam_);
    grid->addLayout(lookups, 11, 0, 1, 4);

    // Lines 1 to 5, then the margin boxes, follow each other in tab order.
    setTabOrder(lines_[0], lines_[1]);
    setTabOrder(lines_[1], lines_[2]);
    setTabOrder(lines_[2], lines_[3]);
    setTabOrder(lines_[3], lines_[4]);
    setTabOrder(lines_[4], txtLMLeftPad_);
    setTabOrder(txtLMLeftPad_, txtLMToppad_);
    setTabOrder(txtLMToppad_, optLMLabel_);

    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    resize(760, 480);
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mnuFileNew_ = menuItem(file, QStringLiteral("New"), "mnuFileNew", QKeySequence::New);
    mnuFileOpen_ = menuItem(file, QStringLiteral("Open"), "mnuFileOpen", QKeySequence(QStringLiteral("Ctrl+O")));
    mnuFileClose_ = menuItem(file, QStringLiteral("Close"), "mnuFileClose");
    file->addSeparator();
    mnuFileBdayOn_ = menuItem(file, QStringLiteral("Enable Birthday Reminders"), "mnuFileBdayOn");
    mnuFileBdayOff_ = menuItem(file, QStringLiteral("Disable Birthday Reminders"), "mnuFileBdayOff");
    file->addSeparator();
    mnuRetAddress_ = menuItem(file, QStringLiteral("Return Address Labels"), "mnuRetAddress");
    mnuStates_ = menuItem(file, QStringLiteral("State Abbreviations"), "mnuStates");
    file->addSeparator();
    mnuFilePreview_ = menuItem(file, QStringLiteral("Print Preview..."), "mnuFilePreview");
    mnuFilePrint_ = menuItem(file, QStringLiteral("Print"), "mnuFilePrint", QKeySequence(QStringLiteral("Ctrl+P")));
    file->addSeparator();
    mnuFileExit_ = menuItem(file, QStringLiteral("Exit"), "mnuFileExit", QKeySequence::Quit);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuLMEdit"));
    mnuLMEditCut_ = menuItem(edit, QStringLiteral("Cut"), "mnuLMEditCut", QKeySequence(QStringLiteral("Ctrl+X")));
    mnuLMEditCopy_ = menuItem(edit, QStringLiteral("Copy"), "mnuLMEditCopy", QKeySequence(QStringLiteral("Ctrl+C")));
    mnuLMEditPaste_ = menuItem(edit, QStringLiteral("Paste"), "mnuLMEditPaste", QKeySequence(QStringLiteral("Ctrl+V")));

    QMenu* contacts = menuBar()->addMenu(QStringLiteral("&Contacts"));
    contacts->setObjectName(QStringLiteral("mnuContacts"));
    mnuAdd_ = menuItem(contacts, QStringLiteral("Add Contact"), "mnuAdd");
    mnuEdit_ = menuItem(contacts, QStringLiteral("Edit Contact"), "mnuEdit");
    mnuFind_ = menuItem(contacts, QStringLiteral("Find Contact"), "mnuFind");
    mnuDelete_ = menuItem(contacts, QStringLiteral("Delete Contact"), "mnuDelete");
    contacts->addSeparator();
    mnuSrchContacts_ = menuItem(contacts, QStringLiteral("Search Contacts"), "mnuSrchContacts");
    contacts->addSeparator();
    mnuImport_ = menuItem(contacts, QStringLiteral("Import Contacts"), "mnuImport");
    mnuExport_ = menuItem(contacts, QStringLiteral("Export Contacts"), "mnuExport");

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    mnuViewOne_ = menuItem(view, QStringLiteral("One Contact"), "mnuViewOne");
    mnuViewAll_ = menuItem(view, QStringLiteral("All Contacts"), "mnuViewAll");

    QMenu* margins = menuBar()->addMenu(QStringLiteral("&Margins"));
    margins->setObjectName(QStringLiteral("mnuMargins"));
    mnuMarginOnTheFly_ = menuItem(margins, QStringLiteral("On-The-Fly label"), "mnuMarginOnTheFly");
    mnuMarginSearch_ = menuItem(margins, QStringLiteral("Search-result labels"), "mnuMarginSearch");
    mnuMarginEnvelope_ = menuItem(margins, QStringLiteral("Envelope"), "mnuMarginEnvelope");
    margins->addSeparator();
    mnuMarginAlign_ = menuItem(margins, QStringLiteral("Print Alignment Sheet..."), "mnuMarginAlign");

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    mnuManual_ = menuItem(help, QStringLiteral("User Manual"), "mnuManual", QKeySequence(Qt::Key_F1));
    mnuAbout_ = menuItem(help, QStringLiteral("About Tandor"), "mnuAbout");
}

template <typename Handler>
void MainWindow::handle(Handler handler) {
    readLines();
    handler();
    applyState();
}

void MainWindow::connectHandlers() {
    connect(optLMLabel_, &QRadioButton::clicked, this, [this] {
        handle([this] { composition::clickLabel(state_, platform_); });
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
        handle([this] { runPrintCommand(state_, platform_, session_.programFolder()); });
    };
    connect(cmdLMStart_, &QPushButton::clicked, this, print);
    connect(mnuFilePrint_, &QAction::triggered, this, print);
    connect(mnuFilePreview_, &QAction::triggered, this, &MainWindow::printPreview);
    auto returnAddress = [this] { handle([this] { runReturnAddressCommand(state_, platform_); }); };
    connect(cmdRetAddress_, &QPushButton::clicked, this, returnAddress);
    connect(mnuRetAddress_, &QAction::triggered, this, returnAddress);

    auto margins = [this](MarginsKind kind) {
        return [this, kind] {
            runGuarded([this, kind] { runMarginsCommand(platform_, session_.programFolder(), kind); });
        };
    };
    connect(mnuMarginOnTheFly_, &QAction::triggered, this, margins(MarginsKind::OnTheFly));
    connect(mnuMarginSearch_, &QAction::triggered, this, margins(MarginsKind::SearchResultLabels));
    connect(mnuMarginEnvelope_, &QAction::triggered, this, margins(MarginsKind::Envelope));
    connect(mnuMarginAlign_, &QAction::triggered, this, [this] {
        // The sheet is shown in the preview first; its Print goes through the sheet's job.
        handle([this] {
            const LabelSheet& sheet = sheetOf(state_);
            Adjustment adjustment;
            try {
                adjustment = readAdjustment(session_.programFolder(), kOnTheFly);
            } catch (...) {
                reportPrinterProblem(platform_, nullptr);
                return;
            }
            showPrintPreview(
                platform_, alignmentSheetJob(sheet, adjustment),
                [this, &sheet] { runAlignmentSheetCommand(platform_, session_.programFolder(), sheet); }, this);
        });
    });
    connect(cboLMSheet_, &QComboBox::activated, this, [this](int index) {
        const QString name = cboLMSheet_->itemData(index).toString();
        platform_.writeSetting(QStringLiteral("Settings"), kSheetSettingKey, name);
        handle([this, name] { composition::chooseSheet(state_, name, platform_); });
    });

    connect(mnuFileNew_, &QAction::triggered, this, &MainWindow::fileNew);
    connect(mnuFileOpen_, &QAction::triggered, this, &MainWindow::fileOpen);
    connect(mnuFileClose_, &QAction::triggered, this, &MainWindow::fileClose);
    connect(mnuFileExit_, &QAction::triggered, this, &MainWindow::fileExit);
    connect(cmdLMExit_, &QPushButton::clicked, this, &MainWindow::fileExit);

    // Commands of the contact windows, help and the Edit menu, when installed.
    auto opener = [this](auto member) {
        return [this, member] {
            if (const auto& fn = openers_.*member) {
                readLines();
                fn(*this);
            }
        };
    };
    connect(cmdAddContact_, &QPushButton::clicked, this, opener(&Openers::addContact));
    connect(mnuAdd_, &QAction::triggered, this, opener(&Openers::addContact));
    auto browser = [this](bool focusFind) {
        return [this, focusFind] {
            if (openers_.browser) {
                openers_.browser(*this, focusFind);
            }
        };
    };
    connect(cmdFindContact_, &QPushButton::clicked, this, browser(true));
    for (QAction* a : {mnuEdit_, mnuFind_, mnuDelete_, mnuViewOne_}) {
        connect(a, &QAction::triggered, this, browser(false));
    }
    connect(mnuSrchContacts_, &QAction::triggered, this, opener(&Openers::contactList));
    connect(mnuViewAll_, &QAction::triggered, this, opener(&Openers::contactList));
    connect(mnuImport_, &QAction::triggered, this, opener(&Openers::importWindow));
    connect(mnuExport_, &QAction::triggered, this, opener(&Openers::exportWindow));
    auto reminders = [this](bool on) {
        return [this, on] {
            if (openers_.birthdayReminders) {
                openers_.birthdayReminders(*this, on);
                refreshFileState();
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
    const QSignalBlocker blockSheets(cboLMSheet_);
    if (cboLMSheet_->currentData().toString() != state_.sheetName) {
        cboLMSheet_->setCurrentIndex(cboLMSheet_->findData(state_.sheetName));
    }
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
    std::optional<PrintJob> job;
    try {
        job = previewJob(state_, platform_, session_.programFolder());
    } catch (...) {
        reportPrinterProblem(platform_, nullptr);
        return;
    }
    if (!job) {
        return;
    }
    // Printing from the preview is the window's own print command.
    QPushButton* printButton = state_.returnAddressMode ? cmdRetAddress_ : cmdLMStart_;
    showPrintPreview(platform_, *job, [printButton] { printButton->click(); }, this);
}

void MainWindow::setOpeners(const Openers& openers) {
    openers_ = openers;
    refreshFileState();
}

void MainWindow::refreshFileState() {
    setWindowTitle(session_.mainWindowTitle());
    txtFileNam_->setText(session_.fileName());
    txtFileTitle_->setText(session_.fileTitle());
    txtFileTitle_->setVisible(false);
    const bool items = session_.contactItemsEnabled();
    // An item whose window is not part of this build stays disabled.
    mnuAdd_->setEnabled(items && openers_.addContact);
    cmdAddContact_->setEnabled(items && openers_.addContact);
    for (QAction* a : {mnuEdit_, mnuDelete_, mnuFind_, mnuViewOne_}) {
        a->setEnabled(items && openers_.browser);
    }
    cmdFindContact_->setEnabled(items && openers_.browser);
    mnuViewAll_->setEnabled(items && openers_.contactList);
    mnuSrchContacts_->setEnabled(items && openers_.contactList);
    mnuImport_->setEnabled(items && openers_.importWindow);
    mnuExport_->setEnabled(items && openers_.exportWindow);
    mnuFileBdayOn_->setEnabled(session_.birthdayOnEnabled() && openers_.birthdayReminders);
    mnuFileBdayOff_->setEnabled(session_.birthdayOffEnabled() && openers_.birthdayReminders);
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

void MainWindow::runGuarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const AppError& e) {
        const MessageAnswer answer = platform_.message(standardErrorText(e), QStringLiteral("Error"),
                                                       MessageIcon::None, MessageButtons::RetryCancel);
        if (answer == MessageAnswer::Retry) {
            session_.fileClose();
            refreshFileState();
        } else {
            close();
        }
    }
}

void MainWindow::fileNew() {
    runGuarded([this] {
        session_.fileNew(platform_);
        refreshFileState();
    });
    refreshFileState();
}

void MainWindow::fileOpen() {
    runGuarded([this] {
        session_.fileOpen(platform_, [this](Session&) {
            refreshFileState();
            if (openers_.birthdayCheck) {
                openers_.birthdayCheck(*this);
            }
        });
        refreshFileState();
    });
    refreshFileState();
}

void MainWindow::fileClose() {
    session_.fileClose();
    refreshFileState();
}

void MainWindow::fileExit() {
    fileClose();
    close();
}

void MainWindow::hideForSecondary(QWidget* window) {
    if (isVisible()) {
        placeBeforeHiding_ = pos();
    }
    // The other window opens where this one was, inside the screen. A window
    // not shown yet is placed by its inside; the frame is this window's.
    const QRect frame = frameGeometry();
    const QRect inside = geometry();
    const QMargins margins(inside.left() - frame.left(), inside.top() - frame.top(),
                           frame.right() - inside.right(), frame.bottom() - inside.bottom());
    QPoint at = inside.topLeft();
    if (const QScreen* screen = this->screen()) {
        // Inside the screen whether the window manager takes the place as the
        // frame's or as the inside's.
        const QRect area = screen->availableGeometry();
        const int right = area.right() - window->width() - margins.left() - margins.right();
        const int bottom = area.bottom() - window->height() - margins.top() - margins.bottom();
        at.setX(std::clamp(at.x(), area.left() + margins.left(), std::max(area.left() + margins.left(), right)));
        at.setY(std::clamp(at.y(), area.top() + margins.top(), std::max(area.top() + margins.top(), bottom)));
    }
    window->move(at);
    hide();
}

void MainWindow::showSecondary(QWidget* window) {
    secondary_ = window;
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &QObject::destroyed, this, [this](QObject* gone) {
        // A window that handed over to another one (the contact list opening
        // the browser) does not bring this window back.
        if (gone == handedBack_) {
            handedBack_ = nullptr;  // this window is shown already
            return;
        }
        if (!closing_ && (secondary_.isNull() || secondary_.data() == gone)) {
            showWithFocusInLine1();
        }
    });
    hideForSecondary(window);
    window->show();
}

void MainWindow::showWithFocusInLine1() {
    // The window comes back where it was before the other window opened.
    const bool comingBack = !isVisible() && placeBeforeHiding_;
    if (comingBack) {
        move(*placeBeforeHiding_);
    }
    show();
    if (comingBack) {
        // A window manager may place a window shown again as a new one; it
        // goes back when the window manager has placed it (moveEvent), for
        // a second or so.
        returningTo_ = placeBeforeHiding_;
        for (int delay : {100, 400, 1000}) {
            QTimer::singleShot(delay, this, [this, last = delay == 1000] {
                goBackIfMoved();
                if (last) {
                    returningTo_.reset();
                }
            });
        }
    }
    activateWindow();
    lines_[0]->setFocus();
}

void MainWindow::goBackIfMoved() {
    if (returningTo_ && isVisible() && frameGeometry().topLeft() != *returningTo_) {
        move(*returningTo_);
    }
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    goBackIfMoved();
}

void MainWindow::takeAddressLines(QWidget* browser, const std::array<QString, 5>& lines) {
    handedBack_ = browser;
    showWithFocusInLine1();
    readLines();
    state_.lines = lines;
    composition::setBold(state_, false);
    state_.boldVisible = false;
    applyState();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    closing_ = true;
    // Closing sequence: files closed, the installer's data file renamed back,
    // the other windows closed, the placement saved unless minimized.
    session_.file().close();
    try {
        session_.restoreInstallerFile();
    } catch (const AppError&) {
        // The program still closes; the file keeps its hidden name, and the
        // next File New or Open names it back.
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible() && !qobject_cast<QMenu*>(w)) {
            w->close();
        }
    }
    if (!isMinimized()) {
        const double twipsX = 1440.0 / logicalDpiX();
        const double twipsY = 1440.0 / logicalDpiY();
        const QRect r = frameGeometry();  // the outer window, title bar and borders included
        const QString section = QStringLiteral("Settings");
        platform_.writeSetting(section, QStringLiteral("MainLeft"), QString::number(qRound(r.x() * twipsX)));
        platform_.writeSetting(section, QStringLiteral("MainTop"), QString::number(qRound(r.y() * twipsY)));
        platform_.writeSetting(section, QStringLiteral("MainWidth"), QString::number(qRound(r.width() * twipsX)));
        platform_.writeSetting(section, QStringLiteral("MainHeight"), QString::number(qRound(r.height() * twipsY)));
    }
    event->accept();
}

}  // namespace tandor
