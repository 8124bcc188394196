#include "contacts/widgets/NewContactForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "contacts/BrowserRules.h"
#include "contacts/widgets/ContactBoxes.h"
#include "windowkit/widgets/CommandRunner.h"
#include "contacts/widgets/WindowParts.h"
#include "platform/Platform.h"
#include "platform/widgets/WindowConventions.h"
#include "windowkit/widgets/ShellCommands.h"
#include "windowkit/widgets/WindowHost.h"
#include "store/ContactsDocument.h"

namespace tandor {

NewContactForm::NewContactForm(WindowHost& host) : host_(host) {
    setObjectName(QStringLiteral("frmNewContact"));
    setWindowTitle(QStringLiteral("Add Contact"));

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    boxes_ = new ContactBoxes(central, grid, QStringLiteral("Notes are limited to 80 characters."));

    auto* include = new QHBoxLayout;
    chkIncComp_ = named(new QCheckBox(central), "chkIncComp");
    chkIncComp_->setToolTip(kIncludeCompanyTip);
    lblIncCompName_ = named(new QLabel(kIncludeCompanyCaption, central), "lblIncCompName");
    include->addWidget(chkIncComp_);
    include->addWidget(lblIncCompName_);
    include->addStretch();
    layout->addLayout(include);

    auto* buttons = new QHBoxLayout;
    cmdSave_ = button(central, "cmdSave", "Save", "Saves contact to file");
    cmdCancel_ = button(central, "cmdCancel", "Close", "Return to main screen");
    QPushButton* zip = button(central, "cmdZipFinder", "Zip Code Finder", "");
    QPushButton* people = button(central, "cmdPeopleFind", "People Finder", "");
    QPushButton* states = button(central, "cmdStateAbb", "?", "Look up State abbreviations");
    for (QPushButton* b : {cmdSave_, cmdCancel_, zip, people, states}) {
        buttons->addWidget(b);
    }
    buttons->addStretch();
    layout->addLayout(buttons);

    // Tab order: the 17 boxes, Save, Close, the look-up buttons, the check box.
    setTabOrder(boxes_->last(), cmdSave_);
    setTabOrder(cmdSave_, cmdCancel_);
    setTabOrder(cmdCancel_, zip);
    setTabOrder(zip, people);
    setTabOrder(people, states);
    setTabOrder(states, chkIncComp_);

    lblIncCompName_->hide();
    chkIncComp_->hide();
    // The include-company controls appear as soon as the company changes; the
    // check box keeps its value.
    connect(boxes_->box(EntryBox::Company), &QLineEdit::textChanged, this, [this] {
        lblIncCompName_->show();
        chkIncComp_->show();
    });
    connect(cmdSave_, &QPushButton::clicked, this, &NewContactForm::save);
    connect(cmdCancel_, &QPushButton::clicked, this, &QWidget::close);

    buildMenus();
    giveMenuMnemonics(menuBar());
    closeOnEscape(this, cmdCancel_);
    keepPlaceWhenHidden({chkIncComp_, lblIncCompName_});
    resize(720, 420);
    attachShellCommands(this, host_);
}

void NewContactForm::buildMenus() {
    QMenu* edit = namedMenu(menuBar(), "Edit", "mnuNewEdit");
    menuItem(edit, "Cut", "mnuNewEditCut", QKeySequence(QStringLiteral("Ctrl+X")));
    menuItem(edit, "Copy", "mnuNewEditCopy", QKeySequence(QStringLiteral("Ctrl+C")));
    menuItem(edit, "Paste", "mnuNewEditPaste", QKeySequence(QStringLiteral("Ctrl+V")));
    QMenu* help = namedMenu(menuBar(), "Help", "mnuNewHelp");
    menuItem(help, "User Manual", "mnuNewManual", QKeySequence(Qt::Key_F1));
    menuItem(help, "About Tandor", "mnuNewAbout");
}

void NewContactForm::setTexts(const ContactEntry& entry) {
    boxes_->writeTexts(entry);
}

void NewContactForm::open() {
    setWindowTitle(QStringLiteral("Add Contact  [") + host_.document().fileTitle() +
                   QLatin1Char(']'));
    host_.showInPlaceOfMain(this);
    activateWindow();
    boxes_->focus(EntryBox::FName);
    asOpened_ = boxes_->read(chkIncComp_);
}

void NewContactForm::closeEvent(QCloseEvent* event) {
    if (saved_ || unloadingAfterError(this) || boxes_->read(chkIncComp_) == asOpened_) {
        event->accept();
        return;
    }
    switch (host_.platform().message(kUnsavedNewContactText, kNotSavedTitle, MessageIcon::None,
                                     MessageButtons::YesNoCancel)) {
        case MessageAnswer::Yes:
            save();  // stays open when the contact is refused or not written
            event->setAccepted(saved_);
            break;
        case MessageAnswer::No:
            event->accept();
            break;
        default:
            event->ignore();
            break;
    }
}

void NewContactForm::save() {
    ContactsDocument& document = host_.document();
    Platform& platform = host_.platform();
    ContactEntry entry = boxes_->read(chkIncComp_);
    const SaveResult result =
        saveContactEntry(entry, EntryWindow::NewContactForm, document.remindersOn());
    if (result.refusal) {
        platform.message(result.refusal->text, result.refusal->title, MessageIcon::None,
                         MessageButtons::Ok);
    }
    // The cleaning shows in the boxes, after a refusal too.
    boxes_->writeTexts(entry);
    chkIncComp_->setChecked(entry.includeCompany);
    if (result.refusal) {
        boxes_->focus(result.refusal->focus);
        return;
    }
    const bool written = runCommand(platform, policy::secondaryWindow(this), [&] {
        document.appendContact(*result.record);
    });
    if (!written) {
        return;
    }
    saved_ = true;
    platform.message(kSavedText, kContactSavedTitle, MessageIcon::None, MessageButtons::Ok);
    close();
}

}  // namespace tandor
