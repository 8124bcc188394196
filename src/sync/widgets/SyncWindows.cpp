#include "sync/widgets/SyncWindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/Platform.h"
#include "platform/widgets/NamedControls.h"
#include "platform/widgets/WindowConventions.h"
#include "windowkit/widgets/CommandRunner.h"
#include "windowkit/widgets/ShellCommands.h"
#include "windowkit/widgets/WindowHost.h"
#include "store/ContactRecord.h"
#include "store/ContactsDocument.h"
#include "sync/ConflictChoice.h"
#include "sync/ServerMessage.h"
#include "sync/SyncSession.h"

namespace tandor::sync {
namespace {

const QString kAccountTitle = QStringLiteral("Address Book Account");
const QString kSyncTitle = QStringLiteral("Sync Now");

QLabel* captionFor(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

// The Help menu every window carries (attachShellCommands gives its items their work).
void addHelpMenu(QMainWindow* window, const char* menu, const char* manual, const char* about) {
    QMenu* help = window->menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QString::fromLatin1(menu));
    menuItem(help, QStringLiteral("User Manual"), manual, QKeySequence(Qt::Key_F1));
    help->addSeparator();
    menuItem(help, QStringLiteral("About Tandor"), about);
}

}  // namespace

AccountWindow::AccountWindow(WindowHost& host, SyncSession& session) : host_(host), session_(session) {
    setObjectName(QStringLiteral("frmSyncAccount"));
    setWindowTitle(kAccountTitle + QStringLiteral("  [") + host_.document().fileTitle() + QStringLiteral("]"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    setCentralWidget(central);

    auto* intro = new QLabel(QStringLiteral(
        "Keep this contacts file in step with an address book on a CardDAV server (Nextcloud, "
        "Fastmail, iCloud, Radicale, ...). Type the server's address, your user name and password, "
        "then find the address books and link this file to one."));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* form = new QFormLayout;
    txtSyncServer_ = named(new QLineEdit, "txtSyncServer");
    txtSyncServer_->setPlaceholderText(QStringLiteral("https://dav.example.com"));
    txtSyncUser_ = named(new QLineEdit, "txtSyncUser");
    txtSyncPassword_ = named(new QLineEdit, "txtSyncPassword");
    txtSyncPassword_->setEchoMode(QLineEdit::Password);
    form->addRow(captionFor(QStringLiteral("&Server address:"), txtSyncServer_), txtSyncServer_);
    form->addRow(captionFor(QStringLiteral("&User name:"), txtSyncUser_), txtSyncUser_);
    form->addRow(captionFor(QStringLiteral("&Password:"), txtSyncPassword_), txtSyncPassword_);
    layout->addLayout(form);
    // Says when the password would travel in the clear (plain http:// to another computer).
    lblSyncCleartext_ = named(new QLabel, "lblSyncCleartext");
    lblSyncCleartext_->setWordWrap(true);
    lblSyncCleartext_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    lblSyncCleartext_->setFocusPolicy(Qt::TabFocus);
    lblSyncCleartext_->hide();
    layout->addWidget(lblSyncCleartext_);

    cmdSyncFind_ = named(new QPushButton(QStringLiteral("&Find Address Books")), "cmdSyncFind");
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(cmdSyncFind_);
    findRow->addStretch();
    layout->addLayout(findRow);

    lstSyncBooks_ = named(new QListWidget, "lstSyncBooks");
    lstSyncBooks_->setMinimumHeight(90);
    layout->addWidget(captionFor(QStringLiteral("&Address books:"), lstSyncBooks_));
    layout->addWidget(lstSyncBooks_);

    chkSyncAtStart_ = named(
        new QCheckBox(QStringLiteral("S&ync when the program starts and when this file is opened")), "chkSyncAtStart");
    chkSyncAtStart_->setChecked(session_.syncAtStart());
    layout->addWidget(chkSyncAtStart_);

    lblSyncMessage_ = named(new QLabel, "lblSyncMessage");
    lblSyncMessage_->setWordWrap(true);
    lblSyncMessage_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(lblSyncMessage_);

    cmdSyncLink_ = named(new QPushButton(QStringLiteral("&Link")), "cmdSyncLink");
    cmdSyncLink_->setEnabled(false);
    cmdSyncClose_ = named(new QPushButton(QStringLiteral("&Close")), "cmdSyncClose");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSyncLink_);
    buttons->addWidget(cmdSyncClose_);
    layout->addLayout(buttons);

    connectControls();
    // A linked file shows its account (and, through the connection above,
    // the warning its address calls for).
    if (const SyncState* state = session_.keeper().state()) {
        txtSyncServer_->setText(state->url);
        txtSyncUser_->setText(state->user);
        lblSyncMessage_->setText(QStringLiteral("This file is linked to %1.").arg(state->url));
    }
    if (!session_.keeper().problem().isEmpty()) {
        lblSyncMessage_->setText(session_.keeper().problem());
    }
    closeOnEscape(this, cmdSyncClose_);
    addHelpMenu(this, "mnuSAHelp", "mnuSAHelpUM", "mnuSAHelpAbout");
    attachShellCommands(this, host_);
    resize(sizeHint().expandedTo(QSize(520, 420)));
}

void AccountWindow::connectControls() {
    connect(cmdSyncFind_, &QPushButton::clicked, this, [this] {
        runCommand(host_.platform(), policy::secondaryWindow(this), [this] { findBooks(); });
    });
    connect(cmdSyncLink_, &QPushButton::clicked, this, [this] {
        runCommand(host_.platform(), policy::secondaryWindow(this), [this] { linkBook(); });
    });
    connect(txtSyncServer_, &QLineEdit::textChanged, this, [this](const QString& text) {
        const QString warning = cleartextPasswordWarning(text);
        lblSyncCleartext_->setText(warning);
        lblSyncCleartext_->setVisible(!warning.isEmpty());
    });
    // Return in a box finds the address books, as the window's first step.
    for (QLineEdit* box : {txtSyncServer_, txtSyncUser_, txtSyncPassword_}) {
        connect(box, &QLineEdit::returnPressed, cmdSyncFind_, &QPushButton::click);
    }
    connect(lstSyncBooks_, &QListWidget::currentRowChanged, this,
            [this](int row) { cmdSyncLink_->setEnabled(row >= 0); });
    connect(chkSyncAtStart_, &QCheckBox::toggled, this, [this](bool on) { session_.setSyncAtStart(on); });
    connect(cmdSyncClose_, &QPushButton::clicked, this, &QWidget::close);
}

void AccountWindow::findBooks() {
    lstSyncBooks_->clear();
    books_.clear();
    cmdSyncLink_->setEnabled(false);
    if (txtSyncServer_->text().trimmed().isEmpty() || txtSyncUser_->text().trimmed().isEmpty()) {
        lblSyncMessage_->setText(QStringLiteral("Type the server's address and your user name first."));
        return;
    }
    lblSyncMessage_->setText(QStringLiteral("Looking for address books..."));
    for (;;) {
        const Account account =
            session_.account(txtSyncServer_->text(), txtSyncUser_->text(), txtSyncPassword_->text());
        try {
            host_.platform().setBusy(true);
            books_ = session_.findAddressBooks(account);
            host_.platform().setBusy(false);
            break;
        } catch (const ServerError& error) {
            host_.platform().setBusy(false);
            if (!tellFailure(error)) {
                return;
            }
        }
    }
    for (const AddressBookInfo& book : books_) {
        auto* item = new QListWidgetItem(book.displayName, lstSyncBooks_);
        item->setToolTip(book.url);
    }
    if (books_.empty()) {
        lblSyncMessage_->setText(QStringLiteral("The account has no address book."));
        return;
    }
    lstSyncBooks_->setCurrentRow(0);
    lblSyncMessage_->setText(
        QStringLiteral("Choose the address book to keep this file in step with, then press Link."));
}

bool AccountWindow::tellFailure(const ServerError& error) {
    Platform& platform = host_.platform();
    if (error.kind() == ServerError::Kind::CertificateRefused && !error.certificateFingerprint().isEmpty()) {
        const QString host = QUrl::fromUserInput(txtSyncServer_->text().trimmed()).host();
        const QString question =
            QStringLiteral("The server %1 showed a certificate that this computer does not trust:\n\n%2\n\n"
                           "Accept this certificate for %1 only? Accept it only when you know it is the "
                           "server's own.")
                .arg(host, error.certificateDetails());
        if (platform.message(question, kAccountTitle, MessageIcon::Exclamation, MessageButtons::YesNo) ==
            MessageAnswer::Yes) {
            session_.acceptCertificate(txtSyncServer_->text(), error.certificateFingerprint());
            return true;
        }
    }
    const QString text = SyncSession::messageFor(error);
    lblSyncMessage_->setText(text);
    platform.message(text, kAccountTitle, MessageIcon::Exclamation);
    return false;
}

void AccountWindow::linkBook() {
    const int row = lstSyncBooks_->currentRow();
    if (row < 0 || row >= static_cast<int>(books_.size())) {
        return;
    }
    const AddressBookInfo& book = books_[static_cast<std::size_t>(row)];
    const Account account = session_.account(txtSyncServer_->text(), txtSyncUser_->text(), txtSyncPassword_->text());
    const std::optional<PasswordStore::Kept> kept = session_.link(account, book.url);
    if (!kept) {
        const SyncState* state = session_.keeper().state();
        lblSyncMessage_->setText(state ? QStringLiteral("This file stays linked to %1.").arg(state->url)
                                       : session_.keeper().loadError());
        return;
    }
    QString text = QStringLiteral("This contacts file is now linked to the address book \"%1\". "
                                  "File > Sync Now keeps the two in step.")
                       .arg(book.displayName);
    if (*kept == PasswordStore::Kept::ForThisSession) {
        text += QStringLiteral(" The desktop's secret store did not keep the password: it is kept until the "
                               "program ends, and the program asks for it again next time.");
    }
    lblSyncMessage_->setText(text);
    host_.platform().message(text, kAccountTitle, MessageIcon::Information);
}

ConflictsWindow::ConflictsWindow(WindowHost& host, SyncSession& session) : host_(host), session_(session) {
    setObjectName(QStringLiteral("frmSyncConflicts"));
    setWindowTitle(QStringLiteral("Sync Conflicts  [") + host_.document().fileTitle() + QStringLiteral("]"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    setCentralWidget(central);

    lblSyncConflicts_ = named(new QLabel, "lblSyncConflicts");
    lblSyncConflicts_->setWordWrap(true);
    layout->addWidget(lblSyncConflicts_);
    tblSyncConflicts_ = named(new QTableWidget(0, 4), "tblSyncConflicts");
    tblSyncConflicts_->setHorizontalHeaderLabels({QStringLiteral("Contact"), QStringLiteral("Field"),
                                                  QStringLiteral("This computer's value"),
                                                  QStringLiteral("Server's value")});
    tblSyncConflicts_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblSyncConflicts_->setSelectionMode(QAbstractItemView::SingleSelection);
    tblSyncConflicts_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblSyncConflicts_->verticalHeader()->hide();
    tblSyncConflicts_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(tblSyncConflicts_);

    cmdSyncUseLocal_ = named(new QPushButton(QStringLiteral("&Use This Computer's Value")), "cmdSyncUseLocal");
    cmdSyncKeepServer_ = named(new QPushButton(QStringLiteral("&Keep Server's Value")), "cmdSyncKeepServer");
    cmdSyncConflictsClose_ = named(new QPushButton(QStringLiteral("&Close")), "cmdSyncConflictsClose");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSyncUseLocal_);
    buttons->addWidget(cmdSyncKeepServer_);
    buttons->addStretch();
    buttons->addWidget(cmdSyncConflictsClose_);
    layout->addLayout(buttons);

    connect(cmdSyncUseLocal_, &QPushButton::clicked, this, [this] {
        runCommand(host_.platform(), policy::secondaryWindow(this), [this] { useLocal(); });
    });
    connect(cmdSyncKeepServer_, &QPushButton::clicked, this, [this] {
        runCommand(host_.platform(), policy::secondaryWindow(this), [this] { keepServer(); });
    });
    connect(cmdSyncConflictsClose_, &QPushButton::clicked, this, &QWidget::close);
    closeOnEscape(this, cmdSyncConflictsClose_);
    addHelpMenu(this, "mnuSCHelp", "mnuSCHelpUM", "mnuSCHelpAbout");
    attachShellCommands(this, host_);
    fill();
    resize(QSize(680, 360));
}

void ConflictsWindow::fill() {
    const int keep = std::max(0, tblSyncConflicts_->currentRow());
    tblSyncConflicts_->clearSpans();
    tblSyncConflicts_->setRowCount(0);
    const SyncState* state = session_.keeper().state();
    const std::vector<SyncConflict> none;
    const std::vector<SyncConflict>& conflicts = state ? listConflicts(*state) : none;
    tblSyncConflicts_->setRowCount(static_cast<int>(conflicts.size()));
    int row = 0;
    bool anyKept = false;
    for (const SyncConflict& c : conflicts) {
        // A contact kept with an edit: its name and what became of it.
        const bool kept = c.kind != SyncConflict::Kind::Field;
        anyKept = anyKept || kept;
        const QStringList cells = kept ? QStringList{c.contact, keptText(c.kind)}
                                       : QStringList{c.contact, fieldCaption(c.field), c.localValue,
                                                     c.serverValue};
        for (int column = 0; column < cells.size(); ++column) {
            tblSyncConflicts_->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
        if (kept) {
            tblSyncConflicts_->setSpan(row, 1, 1, 3);
        }
        ++row;
    }
    tblSyncConflicts_->resizeColumnsToContents();
    const bool any = !conflicts.empty();
    if (any) {
        tblSyncConflicts_->selectRow(std::min(keep, row - 1));
    }
    cmdSyncUseLocal_->setEnabled(any);
    cmdSyncKeepServer_->setEnabled(any);
    QString text =
        any ? QStringLiteral("These fields were changed both on this computer and on the server. The server's "
                             "value is in the contact now. \"Use This Computer's Value\" puts yours back "
                             "and sends it to the server with the next sync.")
            : QStringLiteral("There are no sync conflicts.");
    if (anyKept) {
        text += QStringLiteral(" A contact deleted on one side and edited on the other was kept with the edit; "
                               "choosing the side that deleted it deletes it here, and the next sync deletes "
                               "it on the server.");
    }
    lblSyncConflicts_->setText(text);
}

void ConflictsWindow::useLocal() {
    choose(ConflictSide::ThisComputer);
}

void ConflictsWindow::keepServer() {
    choose(ConflictSide::Server);
}

// A choice that deletes a contact kept with an edit is asked first.
void ConflictsWindow::choose(ConflictSide side) {
    const int row = tblSyncConflicts_->currentRow();
    const SyncState* state = session_.keeper().state();
    if (row < 0 || !state || static_cast<std::size_t>(row) >= state->conflicts.size()) {
        return;
    }
    const SyncConflict& conflict = state->conflicts[static_cast<std::size_t>(row)];
    if (choiceDeletes(conflict, side) &&
        host_.platform().message(QStringLiteral("Delete %1 from this file? The next sync deletes the contact "
                                                "on the server too.")
                                     .arg(conflict.contact),
                                 windowTitle(), MessageIcon::Exclamation,
                                 MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    chooseConflict(host_.document(), session_.keeper(), static_cast<std::size_t>(row), side);
    fill();
}

namespace {

// One sync under a progress dialog shown when it runs longer than a second:
// the step, how much of the server's answer came in while a request waits,
// and Cancel.
SyncSession::Outcome syncWithProgress(SyncSession& session, const QString& password) {
    QProgressDialog progress(QStringLiteral("Syncing with the address book..."), QStringLiteral("Cancel"), 0, 0,
                             QApplication::activeWindow());
    progress.setObjectName(QStringLiteral("dlgSyncProgress"));
    progress.setWindowTitle(kSyncTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(1000);
    // Wide enough for every step's text ("Taking in deletions from the server"),
    // which changes while the dialog is shown, at any scale.
    progress.setMinimumWidth(progress.fontMetrics().averageCharWidth() * 48);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.setValue(0);
    QString step = progress.labelText();
    const auto show = [&progress, &step](const QString& received) {
        const QString text = received.isEmpty() ? step : step + QLatin1Char('\n') + received;
        if (progress.labelText() != text) {
            progress.setLabelText(text);
        }
    };
    const SyncSession::Outcome outcome = session.sync(
        password,
        [&progress, &step, &show](int done, int total, const QString& text) {
            progress.setMaximum(std::max(total, 0));
            progress.setValue(std::min(done, std::max(total, 0)));
            if (!text.isEmpty()) {
                step = text;
            }
            show({});
        },
        [&progress] {
            QApplication::processEvents();
            return progress.wasCanceled();
        },
        [&show](qint64 received) { show(SyncSession::receivedText(received)); });
    progress.close();
    return outcome;
}

}  // namespace

void runSyncNow(WindowHost& host, SyncSession& session, bool quiet) {
    Platform& platform = host.platform();
    if (!session.linked()) {
        // A linked file whose state cannot be read says why.
        if (!session.keeper().loadError().isEmpty()) {
            platform.message(session.keeper().loadError(), kSyncTitle, MessageIcon::Exclamation);
        }
        return;
    }
    // Without a kept password the server is asked without one: a server that
    // asks for none needs none. It is asked for only when the server asks.
    const std::optional<QString> kept = session.password();
    SyncSession::Outcome outcome = syncWithProgress(session, kept.value_or(QString()));
    if (!kept && outcome.failure == ServerError::Kind::WrongCredentials) {
        const SyncState* state = session.keeper().state();
        const QString typed = platform.password(
            QStringLiteral("The password of %1 for %2:").arg(state->user, QUrl(state->url).host()), kSyncTitle);
        if (typed.isEmpty()) {
            return;
        }
        session.keepPassword(typed);
        outcome = syncWithProgress(session, typed);
    }
    if (!outcome.done) {
        platform.message(outcome.message, kSyncTitle, MessageIcon::Exclamation);
        return;
    }
    if (!quiet || outcome.summary.conflicts > 0 || !outcome.summary.refused.isEmpty() ||
        !outcome.summary.outsideBook.isEmpty()) {
        QString text = QStringLiteral("The sync is done.\n\n") + SyncSession::summaryText(outcome.summary);
        if (outcome.summary.conflicts > 0) {
            text += QStringLiteral("\n\nContacts > Sync Conflicts... shows the conflicts.");
        }
        platform.message(text, kSyncTitle, MessageIcon::Information);
    }
}

}  // namespace tandor::sync
