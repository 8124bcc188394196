#include "list/widgets/ContactListWindow.h"

#include "platform/widgets/NamedControls.h"
#include "platform/widgets/WindowConventions.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "list/widgets/BulkLabelsCommand.h"
#include "list/ContactLines.h"
#include "list/ListPrint.h"
#include "list/widgets/ContactListModel.h"
#include "list/widgets/TabStopDelegate.h"
#include "platform/AppError.h"
#include "platform/ColumnFont.h"
#include "platform/Platform.h"
#include "print/widgets/PrintPreviewDialog.h"
#include "windowkit/widgets/ActiveControl.h"
#include "windowkit/widgets/EditCommands.h"
#include "windowkit/widgets/ShellCommands.h"
#include "windowkit/widgets/CommandRunner.h"
#include "windowkit/widgets/WindowHost.h"
#include "store/ContactsDocument.h"

namespace tandor {
namespace {

// What a double-click on a line that has no focus reports.
constexpr int kInvalidArrayIndex = 381;

const QString kBrowserName = QStringLiteral("frmEdDelViewContact");

// The contact browser when it is open.
QWidget* openBrowser() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == kBrowserName && w->isVisible()) {
            return w;
        }
    }
    return nullptr;
}

// The list's scroll bars with a thumb darker than its track. The lines are
// only a little wider than the list, so the thumb takes most of the track;
// drawn lighter than the track, as the program's style draws it, the short
// rest of the track at the right end read as the thumb, and it moved left as
// the list scrolled right.
class ListScrollBarStyle : public QProxyStyle {
public:
    ListScrollBarStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        if (control != CC_ScrollBar) {
            return;
        }
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (bar == nullptr || bar->maximum == bar->minimum) {
            return;
        }
        const QRect thumb = subControlRect(control, option, SC_ScrollBarSlider, widget).adjusted(1, 1, -1, -1);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(option->palette.color(QPalette::Dark));
        painter->drawRoundedRect(thumb, 3, 3);
        painter->restore();
    }
};

}  // namespace

ContactListWindow::ContactListWindow(WindowHost& host, QWidget* parent)
    : QMainWindow(parent), host_(host) {
    setObjectName(QStringLiteral("frmViewAll"));
    setWindowTitle(QStringLiteral("View All Contacts"));
    buildControls();
    buildMenus();
    connectHandlers();

    // Loading: an empty list, nothing printable yet, the title of the current file.
    model_->clear();
    mnuPrint_->setEnabled(false);
    mnuPreview_->setEnabled(false);
    mnuLabelPreview_->setEnabled(false);
    cmdPrintLabels_->setEnabled(false);
    setWindowTitle(QStringLiteral("All Contacts  [") + host_.document().fileTitle() +
                   QLatin1Char(']'));
    txtViewAllHeader_->setVisible(true);
    lstAllContacts_->setVisible(true);
    cmdACGetReport_->setEnabled(true);
    lblTotContacts_->setText(QString());
    searchText_.clear();
    searchField_ = SearchField::All;
    sortOrder_ = SortOrder::FirstName;
    cmdACGetReport_->setFocus();

    attachShellCommands(this, host_);
    connect(&host_.document(), &ContactsDocument::recordsChanged, this, &ContactListWindow::recordsChanged);
}

ContactListWindow::~ContactListWindow() = default;

void ContactListWindow::buildControls() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    setCentralWidget(central);

    auto* top = new QHBoxLayout;
    frSearch_ = named(new QGroupBox(QStringLiteral("Search")), "frSearch");
    auto* searchGrid = new QGridLayout(frSearch_);
    int i = 0;
    for (const SearchOption& option : searchOptions()) {
        QRadioButton* button =
            named(new QRadioButton(QString::fromLatin1(option.caption)), option.control);
        searchButtons_[static_cast<std::size_t>(i)] = button;
        searchGrid->addWidget(button, i % 5, i / 5);
        ++i;
    }
    frSearch_->setVisible(false);  // shown by the command that opens the window
    top->addWidget(frSearch_);

    frSortOrder_ = named(new QGroupBox(QStringLiteral("Sort")), "frSortOrder");
    auto* sortLayout = new QVBoxLayout(frSortOrder_);
    optFnameSort_ = named(new QRadioButton(QStringLiteral("Sort by first name")), "optFnameSort");
    optLnameSort_ = named(new QRadioButton(QStringLiteral("Sort by last name")), "optLnameSort");
    sortLayout->addWidget(optFnameSort_);
    sortLayout->addWidget(optLnameSort_);
    sortLayout->addStretch();
    top->addWidget(frSortOrder_);

    auto* buttons = new QVBoxLayout;
    cmdACGetReport_ = named(new QPushButton(QStringLiteral("Get report")), "cmdACGetReport");
    cmdACNewSearch_ = named(new QPushButton(QStringLiteral("New Search")), "cmdACNewSearch");
    cmdACNewSearch_->setToolTip(QStringLiteral("Choose another search and sort order"));
    cmdACNewSearch_->setVisible(false);  // shown once a report is in the list
    cmdPrintLabels_ = named(new QPushButton(QStringLiteral("Print labels")), "cmdPrintLabels");
    cmdPrintLabels_->setToolTip(QStringLiteral("Print a label for each contact in list"));
    cmdViewAllClose_ = named(new QPushButton(QStringLiteral("Close")), "cmdViewAllClose");
    buttons->addWidget(cmdACGetReport_);
    buttons->addWidget(cmdACNewSearch_);
    buttons->addWidget(cmdPrintLabels_);
    buttons->addWidget(cmdViewAllClose_);
    buttons->addStretch();
    top->addLayout(buttons);
    top->addStretch();
    layout->addLayout(top);

    auto* labels = new QHBoxLayout;
    lblSearchDisplay_ = named(new QLabel, "lblSearchDisplay");
    lblSearchDisplay_->setVisible(false);
    lblTotContacts_ = named(new QLabel, "lblTotContacts");
    labels->addWidget(lblSearchDisplay_);
    labels->addStretch();
    labels->addWidget(lblTotContacts_);
    layout->addLayout(labels);

    txtViewAllHeader_ = named(new QLineEdit, "txtViewAllHeader");
    layout->addWidget(txtViewAllHeader_);

    buildList(layout);

    resize(980, 620);
}

// The list of contacts with its heading line above it.
void ContactListWindow::buildList(QVBoxLayout* layout) {
    model_ = new ContactListModel(this);
    delegate_ = new TabStopDelegate(this);
    lstAllContacts_ = named(new QListView, "lstAllContacts");
    lstAllContacts_->setModel(model_);
    lstAllContacts_->setItemDelegate(delegate_);
    lstAllContacts_->setUniformItemSizes(true);
    lstAllContacts_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstAllContacts_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstAllContacts_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lstAllContacts_->setToolTip(QStringLiteral("Double-click contact to view or edit details"));
    // One column font for the list and its header, at the size of the
    // program's other text, and the header's text starting where the lines do.
    lstAllContacts_->setFont(columnFont(QApplication::font().pointSizeF()));
    txtViewAllHeader_->setTextMargins(TabStopDelegate::kTextMargin - 2, 0, 0, 0);
    auto* barStyle = new ListScrollBarStyle;
    barStyle->setParent(lstAllContacts_);
    lstAllContacts_->horizontalScrollBar()->setStyle(barStyle);
    lstAllContacts_->verticalScrollBar()->setStyle(barStyle);
    layout->addWidget(lstAllContacts_, 1);
    // The headings scroll sideways with the lines, so they stay over their columns.
    connect(lstAllContacts_->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int offset) {
        txtViewAllHeader_->setTextMargins(TabStopDelegate::kTextMargin - 2 - offset, 0, 0, 0);
    });
}

void ContactListWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mnuPrint_ = menuItem(file, QStringLiteral("Print"), "mnuPrint", QKeySequence::Print);
    mnuPreview_ = menuItem(file, QStringLiteral("Print Preview..."), "mnuPreview");
    mnuLabelPreview_ = menuItem(file, QStringLiteral("Print Preview of Labels..."), "mnuLabelPreview");

    mnuVAEdit_ = menuBar()->addMenu(QStringLiteral("Edit"));
    mnuVAEdit_->setObjectName(QStringLiteral("mnuVAEdit"));
    mnuVAEditCut_ = menuItem(mnuVAEdit_, QStringLiteral("Cut"), "mnuVAEditCut",
                           QKeySequence(QStringLiteral("Ctrl+X")));
    mnuVAEditCopy_ = menuItem(mnuVAEdit_, QStringLiteral("Copy"), "mnuVAEditCopy",
                            QKeySequence(QStringLiteral("Ctrl+C")));
    mnuVAEditPaste_ = menuItem(mnuVAEdit_, QStringLiteral("Paste"), "mnuVAEditPaste",
                             QKeySequence(QStringLiteral("Ctrl+V")));
    mnuVAEditSelAll_ = menuItem(mnuVAEdit_, QStringLiteral("Select All"), "mnuVAEditSelAll",
                              QKeySequence(QStringLiteral("Ctrl+A")));

    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("mnuVAHelp"));
    mnuVAManual_ =
        menuItem(help, QStringLiteral("User Manual"), "mnuVAManual", QKeySequence(Qt::Key_F1));
    mnuVAAbout_ = menuItem(help, QStringLiteral("About Tandor"), "mnuVAAbout");

    giveMenuMnemonics(menuBar());
    active_ =
        new ActiveControl(this, {mnuVAEditCut_, mnuVAEditCopy_, mnuVAEditPaste_, mnuVAEditSelAll_});
}

void ContactListWindow::connectHandlers() {
    for (std::size_t i = 0; i < searchButtons_.size(); ++i) {
        const SearchField code = searchOptions()[i].code;
        connect(searchButtons_[i], &QRadioButton::clicked, this,
                [this, code] { chooseSearch(code); });
    }
    connect(optFnameSort_, &QRadioButton::clicked, this,
            [this] { chooseSort(SortOrder::FirstName); });
    connect(optLnameSort_, &QRadioButton::clicked, this,
            [this] { chooseSort(SortOrder::LastName); });
    connect(cmdACGetReport_, &QPushButton::clicked, this,
            [this] { runGuarded([this] { getReport(); }); });
    connect(cmdACNewSearch_, &QPushButton::clicked, this, &ContactListWindow::newSearch);
    connect(cmdPrintLabels_, &QPushButton::clicked, this, [this] { runGuarded([this] { printLabels(); }); });
    connect(cmdViewAllClose_, &QPushButton::clicked, this, &ContactListWindow::closeAndShowMain);
    connect(lstAllContacts_, &QListView::doubleClicked, this,
            [this] { runGuarded([this] { openFocusedContact(); }); });
    connect(mnuPrint_, &QAction::triggered, this, [this] { runGuarded([this] { printList(); }); });
    connect(mnuPreview_, &QAction::triggered, this, [this] { runGuarded([this] { previewList(); }); });
    connect(mnuLabelPreview_, &QAction::triggered, this, [this] { runGuarded([this] { previewLabels(); }); });
    closeOnEscape(this, cmdViewAllClose_);

    connect(mnuVAEdit_, &QMenu::aboutToShow, this, &ContactListWindow::editMenuOpening);
    connect(mnuVAEditCut_, &QAction::triggered, this, &ContactListWindow::editCut);
    connect(mnuVAEditCopy_, &QAction::triggered, this, &ContactListWindow::editCopy);
    connect(mnuVAEditPaste_, &QAction::triggered, this, &ContactListWindow::editPaste);
    connect(mnuVAEditSelAll_, &QAction::triggered, this, &ContactListWindow::editSelectAll);
}

void ContactListWindow::showSearchFrame() {
    frSearch_->setVisible(true);
}

void ContactListWindow::chooseSearch(SearchField field) {
    for (std::size_t i = 0; i < searchButtons_.size(); ++i) {
        if (searchOptions()[i].code == field) {
            searchButtons_[i]->setChecked(true);
        }
    }
    searchField_ = field;
    if (field == SearchField::All) {
        lblSearchDisplay_->setVisible(false);
        return;
    }
    const SearchOption& option = searchOption(field);
    searchText_ =
        host_.platform().input(kSearchPrompt, QString::fromLatin1(option.inputTitle), QString());
    lblSearchDisplay_->setVisible(true);
    lblSearchDisplay_->setText(searchText_);
    cmdACGetReport_->setFocus();
}

void ContactListWindow::chooseSort(SortOrder order) {
    (order == SortOrder::FirstName ? optFnameSort_ : optLnameSort_)->setChecked(true);
    sortOrder_ = order;
    cmdACGetReport_->setFocus();
}

void ContactListWindow::getReport() {
    delegate_->setTabStops({});
    // The columns are measured on the header, so each starts under its heading.
    delegate_->setTabStops(std::vector<int>(kListTabStops.begin(), kListTabStops.end()), kListHeaderText);
    frSearch_->setVisible(false);
    frSortOrder_->setVisible(false);
    txtViewAllHeader_->setVisible(true);
    // The headings stand over their columns: the header has the list's font.
    txtViewAllHeader_->setFont(lstAllContacts_->font());
    txtViewAllHeader_->setText(kListHeaderText);
    txtViewAllHeader_->setCursorPosition(0);

    fillReport(true);
}

void ContactListWindow::newSearch() {
    model_->clear();
    reportShown_ = false;
    txtViewAllHeader_->clear();
    frSearch_->setVisible(true);
    frSortOrder_->setVisible(true);
    cmdACNewSearch_->setVisible(false);
    cmdACGetReport_->setEnabled(true);
    cmdPrintLabels_->setEnabled(false);
    mnuPrint_->setEnabled(false);
    mnuPreview_->setEnabled(false);
    mnuLabelPreview_->setEnabled(false);
    lblTotContacts_->setText(QString());
    lblSearchDisplay_->setVisible(searchField_ != SearchField::All);
    lblSearchDisplay_->setText(searchText_);
    cmdACGetReport_->setFocus();
}

void ContactListWindow::recordsChanged() {
    if (reportShown_) {
        runGuarded([this] { fillReport(false); });
    }
}

void ContactListWindow::fillReport(bool sayWhenEmpty) {
    Platform& platform = host_.platform();
    platform.setBusy(true);  // cleared by the runner when the search fails
    FoundContacts found = findContacts(host_.document().file(), searchField_, searchText_, sortOrder_);
    const int count = found.found;
    if (!sayWhenEmpty) {
        model_->clear();  // the lines of the report before the change
    }
    model_->addEntries(std::move(found.entries));
    platform.setBusy(false);
    reportShown_ = true;
    if (!sayWhenEmpty) {
        lblSearchDisplay_->setText(resultCaption(found, searchText_));
        lblTotContacts_->setText(countCaption(count));
        return;
    }

    lblSearchDisplay_->setVisible(searchField_ != SearchField::All);
    lblSearchDisplay_->setText(resultCaption(found, searchText_));
    cmdACNewSearch_->setVisible(true);
    cmdPrintLabels_->setEnabled(true);
    lblTotContacts_->setVisible(true);
    lblTotContacts_->setText(countCaption(count));
    mnuPrint_->setEnabled(true);
    mnuPreview_->setEnabled(true);
    mnuLabelPreview_->setEnabled(true);
    cmdViewAllClose_->setFocus();
    if (count != 0) {
        cmdACGetReport_->setEnabled(false);
    } else {
        platform.message(QStringLiteral("No contacts found."),
                         QStringLiteral("Contact file empty."), MessageIcon::None,
                         MessageButtons::Ok);
        cmdViewAllClose_->setFocus();
    }
}

void ContactListWindow::openFocusedContact() {
    ContactsDocument& document = host_.document();
    document.reopen();
    const QModelIndex focused = lstAllContacts_->currentIndex();
    if (!focused.isValid()) {
        throw AppError(kInvalidArrayIndex, QStringLiteral("Invalid property array index"));
    }
    const int n = focused.data(ContactListModel::kRecordNumberRole).toInt();
    document.file().read(n);  // a line without a record number fails here (63)
    document.setCurrentRecord(n);
    model_->clear();
    reportShown_ = false;
    host_.openBrowser(n);
    close();
}

void ContactListWindow::printLabels() {
    const ContactsDocument& document = host_.document();
    const BulkLabelsOutcome outcome =
        runBulkLabelsCommand(host_.platform(), document.programFolder(), model_->entries(),
                             [&document](int n) { return document.file().read(n); },
                             host_.chosenSheet());
    if (outcome == BulkLabelsOutcome::Printed || outcome == BulkLabelsOutcome::EmptyList) {
        cmdViewAllClose_->setFocus();
    }
}

ListPrintRequest ContactListWindow::listRequest() const {
    ListPrintRequest request;
    request.lines = &model_->entries();
    request.selectedRows = selectedRows();
    request.headerBoxActive = activeTextBox() == txtViewAllHeader_;
    request.headerSelectedText = txtViewAllHeader_->selectedText();
    request.fileTitle = host_.document().fileTitle();
    return request;
}

void ContactListWindow::printList() {
    runListPrintCommand(host_.platform(), listRequest());
}

void ContactListWindow::previewList() {
    showPrintPreview(host_.platform(), listPrintJob(listRequest()), [this] { printList(); }, this);
}

void ContactListWindow::previewLabels() {
    Platform& platform = host_.platform();
    const ContactsDocument& document = host_.document();
    const std::function<ContactRecord(int)> read = [&document](int n) { return document.file().read(n); };
    showPrintPreview(platform,
                     preparedBulkLabels(platform, document.programFolder(), model_->entries(), read,
                                        host_.chosenSheet()),
                     [this] { runGuarded([this] { printLabels(); }); }, this);
}

QLineEdit* ContactListWindow::activeTextBox() const {
    return qobject_cast<QLineEdit*>(active_->control());
}

std::vector<int> ContactListWindow::selectedRows() const {
    std::vector<int> rows;
    const QModelIndexList selected = lstAllContacts_->selectionModel()->selectedRows();
    rows.reserve(static_cast<std::size_t>(selected.size()));
    for (const QModelIndex& index : selected) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

QStringList ContactListWindow::selectedLineTexts() const {
    QStringList texts;
    for (int row : selectedRows()) {
        texts.append(model_->entries()[static_cast<std::size_t>(row)].text);
    }
    return texts;
}

void ContactListWindow::editMenuOpening() {
    mnuVAEditCut_->setEnabled(true);
    mnuVAEditCopy_->setEnabled(true);
    if (qobject_cast<QLineEdit*>(active_->widget()) != nullptr && !active_->hasSelectedText()) {
        mnuVAEditCut_->setEnabled(false);
        mnuVAEditCopy_->setEnabled(false);
    }
}

void ContactListWindow::editCut() {
    Platform& platform = host_.platform();
    if (QLineEdit* box = activeTextBox()) {
        edit::cut(box, platform);
        return;
    }
    editCopy();
    model_->removeRows(selectedRows());
}

void ContactListWindow::editCopy() {
    Platform& platform = host_.platform();
    if (QLineEdit* box = activeTextBox()) {
        edit::copy(box, platform);
        return;
    }
    platform.clearClipboard();
    const QStringList lines = selectedLineTexts();
    if (!lines.isEmpty()) {
        platform.setClipboardText(copiedLinesText(lines));
    }
}

void ContactListWindow::editPaste() {
    Platform& platform = host_.platform();
    if (QLineEdit* box = activeTextBox()) {
        edit::paste(box, platform);
        return;
    }
    for (const QString& line : pastedLines(platform.clipboardText())) {
        model_->addLine(line);
    }
}

void ContactListWindow::editSelectAll() {
    if (QLineEdit* box = activeTextBox()) {
        edit::selectAll(box);
        return;
    }
    lstAllContacts_->selectAll();
}

void ContactListWindow::runGuarded(const std::function<void()>& command) {
    ErrorPolicy policy;
    policy.onCancel = [this] { closeAndShowMain(); };
    runCommand(host_.platform(), policy, command);
}

void ContactListWindow::closeAndShowMain() {
    model_->clear();
    reportShown_ = false;
    close();
    host_.showMain();
}

void ContactListWindow::closeEvent(QCloseEvent* event) {
    // Unloading, by any road: the list is emptied; the contact browser comes
    // back when a contact has been chosen, else the main window.
    model_->clear();
    reportShown_ = false;
    bool browserShown = false;
    if (host_.document().currentRecord() != 0) {
        QWidget* browser = openBrowser();
        if (browser == nullptr) {
            host_.openBrowser(0);
            browser = openBrowser();
        }
        if (browser != nullptr) {
            browser->raise();
            browser->activateWindow();
            if (auto* find = browser->findChild<QWidget*>(QStringLiteral("cboFindContact"))) {
                find->setFocus();
            }
            browserShown = true;
        }
    }
    if (!browserShown) {
        host_.showMain();
    }
    event->accept();
}

ContactListWindow* openContactList(WindowHost& host) {
    auto* window = new ContactListWindow(host);
    window->setAttribute(Qt::WA_DeleteOnClose);
    host.hideMainFor(window);
    window->show();
    window->showSearchFrame();
    window->chooseSearch(SearchField::All);
    window->chooseSort(SortOrder::FirstName);
    return window;
}

}  // namespace tandor
