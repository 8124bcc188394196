#pragma once

#include <QMainWindow>
#include <vector>

#include "sync/AddressBookServer.h"
#include "sync/ConflictChoice.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace tandor {
class WindowHost;
}

namespace tandor::sync {

class SyncSession;

// Contacts > "Address Book Account...": the server address, user name and
// password; Find Address Books lists the account's address books, Link links
// the open contacts file to the chosen one.
class AccountWindow : public QMainWindow {
    Q_OBJECT

public:
    AccountWindow(WindowHost& host, SyncSession& session);

private:
    void connectControls();
    void findBooks();
    void linkBook();
    // The error of a search: a certificate the system does not trust is
    // offered for acceptance (true: accepted, search again).
    bool tellFailure(const ServerError& error);

    WindowHost& host_;
    SyncSession& session_;
    std::vector<AddressBookInfo> books_;

    QLineEdit* txtSyncServer_ = nullptr;
    QLineEdit* txtSyncUser_ = nullptr;
    QLineEdit* txtSyncPassword_ = nullptr;
    QLabel* lblSyncCleartext_ = nullptr;
    QPushButton* cmdSyncFind_ = nullptr;
    QListWidget* lstSyncBooks_ = nullptr;
    QPushButton* cmdSyncLink_ = nullptr;
    QCheckBox* chkSyncAtStart_ = nullptr;
    QLabel* lblSyncMessage_ = nullptr;
    QPushButton* cmdSyncClose_ = nullptr;
};

// Contacts > "Sync Conflicts...": the fields changed on both sides, with the
// value of this computer and the server's; the server's is in the record.
// And the contacts deleted on one side and edited on the other, kept with the
// edit (chooseConflict tells what each button does with them).
class ConflictsWindow : public QMainWindow {
    Q_OBJECT

public:
    ConflictsWindow(WindowHost& host, SyncSession& session);

private:
    void fill();
    void useLocal();
    void keepServer();
    void choose(ConflictSide side);

    WindowHost& host_;
    SyncSession& session_;
    QTableWidget* tblSyncConflicts_ = nullptr;
    QLabel* lblSyncConflicts_ = nullptr;
    QPushButton* cmdSyncUseLocal_ = nullptr;
    QPushButton* cmdSyncKeepServer_ = nullptr;
    QPushButton* cmdSyncConflictsClose_ = nullptr;
};

// File > "Sync Now" (and the sync at start and on opening): syncs with the
// kept password, or with none when none is kept and asks for one only when
// the server asks; shows a progress dialog with Cancel (and how much of the
// server's answer came in) when the sync takes more than a second, then the
// summary or what went wrong.
// `quiet`: a sync the program started itself says nothing when it went well.
void runSyncNow(WindowHost& host, SyncSession& session, bool quiet = false);

}  // namespace tandor::sync
