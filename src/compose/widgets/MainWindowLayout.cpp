#include "compose/widgets/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

#include "compose/Composition.h"
#include "platform/widgets/NamedControls.h"
#include "platform/widgets/WindowConventions.h"
#include "sheets/LabelSheet.h"

// The controls and menus of the main window, as laid out on the form.
namespace tandor {

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

    // Left column: the lines, the margin boxes and the captions, kept together
    // at the top whatever height the right panel takes.
    auto* left = new QGridLayout;
    static const char* lineNames[5] = {"txtLMLine1", "txtLMLine2", "txtLMline3", "txtLMLine4", "txtLMLine5"};
    for (int i = 0; i < 5; ++i) {
        lines_[i] = named(new QLineEdit, lineNames[i]);
        auto* label = new QLabel(QStringLiteral("Line #%1:").arg(i + 1));
        label->setBuddy(lines_[i]);
        left->addWidget(label, i, 0);
        left->addWidget(lines_[i], i, 1, 1, 2);
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
    left->addLayout(pads, 5, 1, 1, 2);

    lblLMPosition_ = named(new QLabel, "lblLMPosition");
    lblLMEnvSize_ = named(new QLabel, "lblLMEnvSize");
    // The size caption has room for the longest envelope size from the start,
    // so that choosing one widens nothing.
    int longestSize = 0;
    for (const EnvelopeSize& size : envelopeSizes()) {
        longestSize = std::max(longestSize, lblLMEnvSize_->fontMetrics().horizontalAdvance(QString::fromLatin1(size.text)));
    }
    for (QLabel* caption : {lblLMPosition_, lblLMEnvSize_}) {
        caption->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        caption->setMinimumWidth(longestSize + 4);
    }
    left->addWidget(lblLMPosition_, 6, 1, 1, 2);
    left->addWidget(lblLMEnvSize_, 7, 1, 1, 2);
    left->setRowStretch(8, 1);
    left->setColumnStretch(1, 1);
    left->setColumnStretch(2, 1);
    grid->addLayout(left, 2, 0, 1, 3);

    // Right column: medium, envelope size, alignment, orientation, font options.
    // It keeps one width, that of its widest list entry, whatever is chosen.
    auto* panel = named(new QWidget, "pnlLMOptions");
    auto* options = new QVBoxLayout(panel);
    options->setContentsMargins(0, 0, 0, 0);
    frLMMediaType_ = named(new QGroupBox(QStringLiteral("Media")), "frLMMediaType");
    optLMLabel_ = named(new QRadioButton(QStringLiteral("Label stock")), "optLMLabel");
    optLMEnvelope_ = named(new QRadioButton(QStringLiteral("Envelope")), "optLMEnvelope");
    auto* mediaLayout = new QVBoxLayout(frLMMediaType_);
    mediaLayout->addWidget(optLMLabel_);
    // The label sheet, under Label stock: the 30-up sheet unless another was
    // chosen before (the choice is kept in the settings). Its caption carries
    // the lines a label of the sheet takes when they are fewer than five.
    cboLMSheet_ = named(new QComboBox, "cboLMSheet");
    auto* sheetCaption = new QLabel(QStringLiteral("Label sheet (t&ype to find):"));
    sheetCaption->setBuddy(cboLMSheet_);
    lblLMSheetLines_ = named(new QLabel, "lblLMSheetLines");
    auto* sheetCaptions = new QHBoxLayout;
    sheetCaptions->addWidget(sheetCaption);
    sheetCaptions->addStretch();
    sheetCaptions->addWidget(lblLMSheetLines_);
    mediaLayout->addLayout(sheetCaptions);
    mediaLayout->addWidget(cboLMSheet_);
    buildSheetPicker();
    mediaLayout->addWidget(optLMEnvelope_);
    cboLMEnvelope_ = named(new QComboBox, "cboLMEnvelope");
    cboLMEnvelope_->setPlaceholderText(QStringLiteral("Select Envelope Size"));
    // The sizes are there before the window takes its size: the list is as
    // wide as the longest.
    for (const EnvelopeSize& size : envelopeSizes()) {
        cboLMEnvelope_->addItem(QString::fromLatin1(size.text));
    }
    cboLMEnvelope_->setCurrentIndex(-1);
    mediaLayout->addWidget(cboLMEnvelope_);
    cboLMEnvelope_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (QComboBox* list : {cboLMSheet_, cboLMEnvelope_}) {
        list->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
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
    options->addSpacing(grid->spacing() > 0 ? 2 * grid->spacing() : 12);  // a gap above the buttons
    options->addStretch();
    panel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Minimum);
    grid->addWidget(panel, 2, 3, 1, 1, Qt::AlignTop);
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
    grid->addLayout(buttons, 3, 0, 1, 4);

    auto* lookups = new QHBoxLayout;
    cmdPeopleFind_ = named(new QPushButton(QStringLiteral("People Finder")), "cmdPeopleFind");
    cmdZipFinder_ = named(new QPushButton(QStringLiteral("Zip Code Finder")), "cmdZipFinder");
    cmdZipFinder_->setToolTip(QStringLiteral("Look up Zip Code"));
    lookups->addWidget(cmdPeopleFind_);
    lookups->addWidget(cmdZipFinder_);
    lookups->addStretch();
    // When the open file was last synced with its address book (hidden for a
    // file that is not linked).
    lblLMLastSync_ = named(new QLabel, "lblLMLastSync");
    lblLMLastSync_->hide();
    lookups->addWidget(lblLMLastSync_);
    txtFileTitle_ = named(new QLineEdit, "txtFileTitle");
    txtFileNam_ = named(new QLineEdit, "txtFileNam");
    txtFileTitle_->setReadOnly(true);
    txtFileNam_->setReadOnly(true);
    txtFileTitle_->hide();
    txtFileNam_->hide();
    lookups->addWidget(txtFileTitle_);
    lookups->addWidget(txtFileNam_);
    grid->addLayout(lookups, 4, 0, 1, 4);

    // Lines 1 to 5, then the margin boxes, follow each other in tab order.
    setTabOrder(lines_[0], lines_[1]);
    setTabOrder(lines_[1], lines_[2]);
    setTabOrder(lines_[2], lines_[3]);
    setTabOrder(lines_[3], lines_[4]);
    setTabOrder(lines_[4], txtLMLeftPad_);
    setTabOrder(txtLMLeftPad_, txtLMToppad_);
    setTabOrder(txtLMToppad_, optLMLabel_);

    grid->setColumnStretch(0, 0);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(3, 0);
    resize(sizeHint().expandedTo(QSize(760, 480)));
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
    mnuFileSync_ = menuItem(file, QStringLiteral("S&ync Now"), "mnuFileSync");
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
    contacts->addSeparator();
    mnuSyncAccount_ = menuItem(contacts, QStringLiteral("Address &Book Account..."), "mnuSyncAccount");
    mnuSyncConflicts_ = menuItem(contacts, QStringLiteral("Sync C&onflicts..."), "mnuSyncConflicts");

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    mnuViewOne_ = menuItem(view, QStringLiteral("One Contact"), "mnuViewOne");
    mnuViewAll_ = menuItem(view, QStringLiteral("All Contacts"), "mnuViewAll");

    QMenu* margins = menuBar()->addMenu(QStringLiteral("&Margins"));
    margins->setObjectName(QStringLiteral("mnuMargins"));
    mnuMarginOnTheFly_ = menuItem(margins, QStringLiteral("On-The-Fly label"), "mnuMarginOnTheFly");
    mnuMarginSearch_ = menuItem(margins, QStringLiteral("Search-result labels"), "mnuMarginSearch");
    mnuMarginEnvelope_ = menuItem(margins, QStringLiteral("Envelope"), "mnuMarginEnvelope");
    mnuPlaceByPaperEdge_ = menuItem(margins, QStringLiteral("Place by Paper Edge"), "mnuPlaceByPaperEdge");
    mnuPlaceByPaperEdge_->setCheckable(true);
    margins->addSeparator();
    mnuMarginAlign_ = menuItem(margins, QStringLiteral("Print Alignment Sheet..."), "mnuMarginAlign");
    mnuMarginNewSheet_ = menuItem(margins, QStringLiteral("New Label Sheet..."), "mnuMarginNewSheet");

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    mnuManual_ = menuItem(help, QStringLiteral("User Manual"), "mnuManual", QKeySequence(Qt::Key_F1));
    mnuAbout_ = menuItem(help, QStringLiteral("About Tandor"), "mnuAbout");
}

}  // namespace tandor
