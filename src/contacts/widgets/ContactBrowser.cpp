#include "contacts/widgets/ContactBrowser.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "contacts/DetailsSheet.h"
#include "contacts/PrintLabelLines.h"
#include "contacts/widgets/ContactBoxes.h"
#include "windowkit/widgets/CommandRunner.h"
#include "contacts/widgets/WindowParts.h"
#include "platform/Platform.h"
#include "print/widgets/PrintPreviewDialog.h"
#include "platform/widgets/WindowConventions.h"
#include "windowkit/widgets/ShellCommands.h"
#include "windowkit/widgets/WindowHost.h"
#include "store/ContactsDocument.h"

namespace tandor {

ContactBrowser::ContactBrowser(WindowHost& host) : host_(host) {
    setObjectName(QStringLiteral("frmEdDelViewContact"));
    setWindowTitle(QStringLiteral("Contact Information"));

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);

    // The find list looks like a text box with a drop-down; typing a listed
    // name and pressing Enter chooses it too.
    cboFindContact_ = named(new QComboBox(central), "cboFindContact");
    cboFindContact_->setEditable(true);
    cboFindContact_->setInsertPolicy(QComboBox::NoInsert);
    cboFindContact_->setPlaceholderText(kSelectContactText);  // no item chosen when filled
    cboFindContact_->setMinimumWidth(260);
    auto* top = new QHBoxLayout;
    top->addWidget(cboFindContact_);
    top->addStretch();
    layout->addLayout(top);

    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    boxes_ = new ContactBoxes(central, grid, QStringLiteral("Notes are limited to 80 characters"));

    auto* include = new QHBoxLayout;
    chkCompanyInclude_ = named(new QCheckBox(central), "chkCompanyInclude");
    chkCompanyInclude_->setToolTip(kIncludeCompanyTip);
    lblACCompOnLabel_ = named(new QLabel(kIncludeCompanyCaption, central), "lblACCompOnLabel");
    include->addWidget(chkCompanyInclude_);
    include->addWidget(lblACCompOnLabel_);
    include->addStretch();
    layout->addLayout(include);
    // Shown only for a contact with a company; the buttons below keep their place.
    keepPlaceWhenHidden({chkCompanyInclude_, lblACCompOnLabel_});

    auto* steps = new QHBoxLayout;
    QPushButton* first = button(central, "cmdFirst", "|<", "Jump to first contact in file");
    QPushButton* previous = button(central, "cmdPrevious", "<", "Previous contact");
    QPushButton* next = button(central, "cmdNext", ">", "Next contact");
    QPushButton* last = button(central, "cmdLast", ">|", "Jump to last contact in file");
    for (QPushButton* b : {first, previous, next, last}) {
        b->setMaximumWidth(48);
        steps->addWidget(b);
    }
    steps->addStretch();
    QPushButton* zip = button(central, "cmdZipFinder", "Zip Code Finder", "Look up Zip Code");
    QPushButton* people = button(central, "cmdPeopleFind", "People Finder", "");
    QPushButton* states = button(central, "cmdStateAbb", "?", "Look up State abbreviations");
    for (QPushButton* b : {zip, people, states}) {
        steps->addWidget(b);
    }
    layout->addLayout(steps);

    auto* actions = new QHBoxLayout;
    cmdSave_ = button(central, "cmdSave", "Save changes", "");
    cmdDelete_ = button(central, "cmdDelete", "Delete contact", "");
    cmdPrintLabel_ = button(central, "cmdPrintLabel", "Print Label", "");
    cmdCancel_ = button(central, "cmdCancel", "Close", "Return to main screen");
    for (QPushButton* b : {cmdSave_, cmdDelete_, cmdPrintLabel_, cmdCancel_}) {
        actions->addWidget(b);
    }
    actions->addStretch();
    layout->addLayout(actions);

    // Tab order: the find list, the 17 boxes, the check box, the commands, the
    // stepping buttons, the look-up buttons.
    setTabOrder(cboFindContact_, boxes_->first());
    QWidget* previousInOrder = boxes_->last();
    for (QWidget* w : std::initializer_list<QWidget*>{chkCompanyInclude_, cmdSave_, cmdDelete_,
                                                      cmdPrintLabel_, cmdCancel_, first, previous,
                                                      next, last, zip, people, states}) {
        setTabOrder(previousInOrder, w);
        previousInOrder = w;
    }

    connect(cboFindContact_, &QComboBox::activated, this, &ContactBrowser::choose);
    connect(boxes_->box(EntryBox::Company), &QLineEdit::textChanged, this,
            &ContactBrowser::companyChanged);
    connect(first, &QPushButton::clicked, this, [this] { step(BrowserStep::First); });
    connect(previous, &QPushButton::clicked, this, [this] { step(BrowserStep::Previous); });
    connect(next, &QPushButton::clicked, this, [this] { step(BrowserStep::Next); });
    connect(last, &QPushButton::clicked, this, [this] { step(BrowserStep::Last); });
    connect(cmdSave_, &QPushButton::clicked, this, &ContactBrowser::saveChanges);
    connect(cmdDelete_, &QPushButton::clicked, this, &ContactBrowser::deleteContact);
    connect(cmdPrintLabel_, &QPushButton::clicked, this, &ContactBrowser::printLabel);
    connect(cmdCancel_, &QPushButton::clicked, this, &QWidget::close);

    buildMenus();
    giveMenuMnemonics(menuBar());
    closeOnEscape(this, cmdCancel_);
    resize(760, 480);
    attachShellCommands(this, host_);
    connect(&host_.document(), &ContactsDocument::recordsChanged, this, &ContactBrowser::recordsChanged);
}

void ContactBrowser::recordsChanged() {
    // What another window wrote shows in the find list; the contact on screen
    // stays. The browser's own Save and Delete leave the list as it is.
    if (writing_) {
        return;
    }
    runCommand(host_.platform(), policy::secondaryWindow(this), [this] { fillFindList(); });
}

void ContactBrowser::buildMenus() {
    QMenu* file = namedMenu(menuBar(), "File", "mnuEDVFile");
    QAction* print = menuItem(file, "Print", "mnuEDVPrint", QKeySequence::Print);
    connect(print, &QAction::triggered, this,
            [this] { runCommand(host_.platform(), policy::secondaryWindow(this), [this] { printDetails(); }); });
    QAction* preview = menuItem(file, "Print Preview...", "mnuEDVPreview");
    connect(preview, &QAction::triggered, this, [this] {
        Platform& platform = host_.platform();
        runCommand(platform, policy::secondaryWindow(this), [this, &platform] {
            showPrintPreview(platform, detailsJob(shown(), {}, platform.today()), [this] { printDetails(); }, this);
        });
    });
    QMenu* edit = namedMenu(menuBar(), "Edit", "mnuEDVEdit");
    menuItem(edit, "Cut", "mnuEDVEditCut", QKeySequence(QStringLiteral("Ctrl+X")));
    menuItem(edit, "Copy", "mnuEDVEditCopy", QKeySequence(QStringLiteral("Ctrl+C")));
    menuItem(edit, "Paste", "mnuEDVEditPaste", QKeySequence(QStringLiteral("Ctrl+V")));
    QMenu* help = namedMenu(menuBar(), "Help", "mnuEDVHelp");
    menuItem(help, "User Manual", "mnuEDVManual", QKeySequence(Qt::Key_F1));
    menuItem(help, "About Tandor", "mnuEDVAbout");
}

void ContactBrowser::open() {
    setWindowTitle(QStringLiteral("Contact Information  [") + host_.document().fileTitle() +
                   QLatin1Char(']'));
    host_.showInPlaceOfMain(this);
    activateWindow();
    lblACCompOnLabel_->hide();
    chkCompanyInclude_->hide();
    // No contact is shown yet: nothing can be edited, saved, deleted or printed.
    setEditing(false);
    cboFindContact_->setFocus(Qt::OtherFocusReason);
    runCommand(host_.platform(), policy::secondaryWindow(this), [this] { fillFindList(); });
}

void ContactBrowser::openOnRecord(int n) {
    open();
    if (!isVisible()) {
        return;  // the opening failed and the user cancelled
    }
    runCommand(host_.platform(), policy::secondaryWindow(this), [this, n] {
        if (n < 1 || n > host_.document().file().recordCount()) {
            return;  // no such contact: the browser stays as opened, nothing shown
        }
        display(n);
        host_.document().setCurrentRecord(n);
        setEditing(true);
        cboFindContact_->setFocus(Qt::OtherFocusReason);
    });
}

void ContactBrowser::fillFindList() {
    const QSignalBlocker quiet(cboFindContact_);
    cboFindContact_->clear();
    for (const FindListItem& item : findListItems(host_.document().file())) {
        cboFindContact_->addItem(item.text, item.recordNumber);
    }
    cboFindContact_->setCurrentIndex(-1);
    cboFindContact_->setEditText(kSelectContactText);
}

void ContactBrowser::display(int n) {
    const ContactEntry entry = entryFromRecord(host_.document().file().read(n));
    // Setting the company runs its change rule when the text changes.
    boxes_->writeTexts(entry);
    chkCompanyInclude_->setChecked(entry.includeCompany);
    if (entry.company.isEmpty()) {
        lblACCompOnLabel_->hide();
        chkCompanyInclude_->hide();
    }
    asShown_ = shown();
}

bool ContactBrowser::hasUnsavedChanges() const {
    return host_.document().currentRecord() != 0 && cmdSave_->isEnabled() && shown() != asShown_;
}

bool ContactBrowser::mayLeaveContact() {
    if (!hasUnsavedChanges()) {
        return true;
    }
    switch (host_.platform().message(kUnsavedChangesText, kNotSavedTitle, MessageIcon::None,
                                     MessageButtons::YesNoCancel)) {
        case MessageAnswer::Yes:
            return saveChanges();
        case MessageAnswer::No:
            return true;
        default:
            return false;
    }
}

void ContactBrowser::setEditing(bool on) {
    boxes_->setEnabled(on);
    chkCompanyInclude_->setEnabled(on);
    cmdSave_->setEnabled(on);
    cmdDelete_->setEnabled(on);
    cmdPrintLabel_->setEnabled(on);
}

void ContactBrowser::companyChanged() {
    lblACCompOnLabel_->show();
    chkCompanyInclude_->show();
    chkCompanyInclude_->setChecked(!boxes_->box(EntryBox::Company)->text().isEmpty());
}

ContactEntry ContactBrowser::shown() const {
    return boxes_->read(chkCompanyInclude_);
}

void ContactBrowser::choose(int index) {
    // The record number is the item's own, whatever its place in the sorted list.
    const int n = cboFindContact_->itemData(index).toInt();
    if (index < 0 || n < 1) {
        return;
    }
    if (!mayLeaveContact()) {
        return;
    }
    // The number is stored once the contact is shown, so that after a failed
    // read Save changes cannot write the contact on screen over another.
    runCommand(host_.platform(), policy::secondaryWindow(this), [this, n] {
        display(n);
        host_.document().setCurrentRecord(n);
        setEditing(true);
    });
}

void ContactBrowser::step(BrowserStep which) {
    if (!mayLeaveContact()) {
        return;
    }
    ContactsDocument& document = host_.document();
    runCommand(host_.platform(), policy::secondaryWindow(this), [&] {
        const StepOutcome outcome =
            stepOutcome(which, document.currentRecord(), document.file().recordCount());
        if (outcome.message) {
            host_.platform().message(outcome.message->text, outcome.message->title,
                                     MessageIcon::None, MessageButtons::Ok);
            return;
        }
        if (outcome.show < 1) {
            return;  // an empty file: nothing to show
        }
        display(outcome.show);
        document.setCurrentRecord(outcome.show);  // the contact now on screen
        fillFindList();
    });
}

bool ContactBrowser::saveChanges() {
    ContactsDocument& document = host_.document();
    Platform& platform = host_.platform();
    ContactEntry entry = shown();
    const SaveResult result = saveContactEntry(entry, EntryWindow::Browser, document.remindersOn());
    if (result.refusal) {
        platform.message(result.refusal->text, result.refusal->title, MessageIcon::None,
                         MessageButtons::Ok);
    }
    {
        // The cleaned texts go back into the boxes; the include box keeps the
        // value the record was built with.
        const QSignalBlocker quiet(boxes_->box(EntryBox::Company));
        boxes_->writeTexts(entry);
    }
    chkCompanyInclude_->setChecked(entry.includeCompany);
    if (result.refusal) {
        boxes_->focus(result.refusal->focus);
        return false;
    }
    writing_ = true;
    const bool written = runCommand(platform, policy::secondaryWindow(this), [&] {
        document.writeContact(document.currentRecord(), *result.record);
    });
    writing_ = false;
    if (!written) {
        return false;
    }
    asShown_ = shown();
    platform.message(kSavedText, kChangesSavedTitle, MessageIcon::None, MessageButtons::Ok);
    return true;
}

void ContactBrowser::deleteContact() {
    ContactsDocument& document = host_.document();
    Platform& platform = host_.platform();
    const MessageAnswer answer = platform.message(kDeleteQuestionText, kDeleteQuestionTitle,
                                                  MessageIcon::None, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) {
        platform.message(kNothingDeletedText, kNothingDeletedTitle, MessageIcon::None,
                         MessageButtons::Ok);
        cmdCancel_->setFocus(Qt::OtherFocusReason);
        return;
    }
    writing_ = true;
    const bool deleted = runCommand(platform, policy::secondaryWindow(this), [&] {
        document.deleteContact(document.currentRecord(), [&platform] {
            platform.message(kContactDeletedText, kContactDeletedTitle, MessageIcon::None,
                             MessageButtons::Ok);
        });
    });
    writing_ = false;
    if (!deleted) {
        return;
    }
    if (cboFindContact_->currentIndex() >= 0) {
        cboFindContact_->removeItem(cboFindContact_->currentIndex());
    }
    boxes_->writeTexts(ContactEntry{});
    cmdCancel_->setFocus(Qt::OtherFocusReason);
    leaveWithoutAsking_ = true;
    close();
}

void ContactBrowser::printLabel() {
    const ContactEntry contact = shown();
    leaveWithoutAsking_ = true;
    hide();
    host_.printLabel(this, printLabelLines(contact));
    close();
}

void ContactBrowser::printDetails() {
    // Only one of the 17 boxes counts as a text box; the find list does not.
    FocusedControl focused;
    auto* edit = qobject_cast<QLineEdit*>(focusWidget());
    if (edit && boxes_->isBox(edit)) {
        focused.isTextBox = true;
        focused.selectedText = edit->selectedText();
    }
    Platform& platform = host_.platform();
    runDetailsPrint(shown(), focused, platform.today(), platform);
}

void ContactBrowser::closeEvent(QCloseEvent* event) {
    if (!leaveWithoutAsking_ && !unloadingAfterError(this) && !mayLeaveContact()) {
        event->ignore();
        return;
    }
    host_.document().setCurrentRecord(0);
    event->accept();
}

}  // namespace tandor
