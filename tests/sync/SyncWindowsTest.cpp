#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QUuid>

#include "appshell/widgets/ApplicationShell.h"
#include "compose/widgets/MainWindow.h"
#include "ScriptedBook.h"
#include "ScriptedHttpServer.h"
#include "platform/ScriptedPlatform.h"
#include "store/ContactsDocument.h"
#include "support/DavTestServer.h"
#include "support/PlainDavClient.h"
#include "support/TestFiles.h"
#include "sync/CardMerge.h"
#include "sync/PasswordStore.h"
#include "sync/SyncSession.h"
#include "sync/SyncState.h"

namespace tandor {
namespace {

using test::PlainDavClient;

// The windows of the sync on the scripted platform, against the Radicale test
// server (scripts/dav-test-servers.sh): the account window finds and links the
// book, File > Sync Now brings a card added by a phone, a wrong password
// changes nothing, and the conflicts window puts this computer's value back.
class SyncWindowsTest : public ::testing::Test {
protected:
    SyncWindowsTest() : shell(platform, folder.withDefaultAdjustments()), main(shell.mainWindow()) {
        main.show();
        QApplication::setActiveWindow(&main);
    }
    void SetUp() override {
        url = qEnvironmentVariable("TANDOR_RADICALE_URL");
        radicaleUrl = url;
        user = qEnvironmentVariable("TANDOR_DAV_USER");
        password = qEnvironmentVariable("TANDOR_DAV_PASSWORD");
        bookName = qEnvironmentVariable("TANDOR_RADICALE_BOOK");
        if (url.isEmpty()) {
            const std::string why =
                "Radicale is not running, so the sync windows are not tested: " +
                qEnvironmentVariable("TANDOR_RADICALE_MISSING", QStringLiteral("TANDOR_RADICALE_URL is not set")).toStdString();
            if (qEnvironmentVariable("CI") == "true") {
                FAIL() << why;
            }
            GTEST_SKIP() << why;
        }
        phone = std::make_unique<PlainDavClient>(user, password);
        contactsPath = folder.write(QStringLiteral("Family.DAT"), {});
        platform.answerOpenFile(contactsPath);
        action("mnuFileOpen")->trigger();
        ASSERT_EQ(shell.document().fileName(), contactsPath);
    }
    void TearDown() override {
        for (const QUrl& card : written) {
            phone->remove(card);
        }
        if (window) {
            delete window.data();
        }
    }
    QAction* action(const char* name) { return main.findChild<QAction*>(QString::fromLatin1(name)); }
    QWidget* open(const char* item, const char* name) {
        action(item)->trigger();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QLatin1String(name) && w->isVisible()) {
                window = w;
            }
        }
        return window;
    }
    template <typename T>
    T* find(const char* name) {
        T* w = window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    // The book as the phone reaches it (plain HTTP, straight to the server).
    QUrl phoneBook() const { return QUrl(radicaleUrl).resolved(QUrl(QUrl(bookUrl).path())); }
    // A card on the server, written by the phone, removed after the test;
    // `more`: further lines of the card.
    void phoneWrites(const QString& uid, const QString& first, const QString& last, const QString& email,
                     const QString& more = {}) {
        const QUrl card = phoneBook().resolved(QUrl(uid + QStringLiteral(".vcf")));
        const QByteArray text = QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%1\r\nFN:%2 %3\r\nN:%3;%2;;;\r\n"
                                               "EMAIL:%4\r\n%5END:VCARD\r\n")
                                    .arg(uid, first, last, email, more)
                                    .toUtf8();
        ASSERT_LT(phone->put(card, text).status, 300);
        if (!written.contains(card)) {
            written << card;
        }
    }
    // The record of the file with this last name (0: none).
    int recordOf(const QString& last) {
        const ContactsFile& file = shell.document().file();
        for (int n = 1; n <= file.recordCount(); ++n) {
            if (file.read(n).field(Field::LName) == last) {
                return n;
            }
        }
        return 0;
    }
    void linkThroughTheAccountWindow() {
        ASSERT_FALSE(action("mnuFileSync")->isEnabled());
        chooseBookAndLink();
        EXPECT_TRUE(action("mnuFileSync")->isEnabled());
        EXPECT_EQ(main.findChild<QLabel*>(QStringLiteral("lblLMLastSync"))->text(), QStringLiteral("Not synced yet"));
    }
    void chooseBookAndLink() {
        ASSERT_NE(open("mnuSyncAccount", "frmSyncAccount"), nullptr);
        find<QLineEdit>("txtSyncServer")->setText(url);
        find<QLineEdit>("txtSyncUser")->setText(user);
        // Return in the password box finds the books, as a new user expects.
        auto* passwordBox = find<QLineEdit>("txtSyncPassword");
        passwordBox->setText(password);
        QTest::keyClick(passwordBox, Qt::Key_Return);
        auto* books = find<QListWidget>("lstSyncBooks");
        int row = -1;
        for (int i = 0; i < books->count(); ++i) {
            if (books->item(i)->text() == bookName) {
                row = i;
            }
        }
        ASSERT_GE(row, 0) << "no address book named " << bookName.toStdString();
        bookUrl = books->item(row)->toolTip();
        books->setCurrentRow(row);
        click("cmdSyncLink");
        ASSERT_TRUE(sync::SyncState::isLinked(contactsPath));
        EXPECT_EQ(sync::SyncState::load(contactsPath).url, bookUrl);
        EXPECT_TRUE(platform.messages().last().text.startsWith(
            QStringLiteral("This contacts file is now linked to the address book \"%1\"").arg(bookName)));
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
    ApplicationShell shell;
    MainWindow& main;
    QString url, radicaleUrl, user, password, bookName, bookUrl, contactsPath;
    std::unique_ptr<PlainDavClient> phone;
    QList<QUrl> written;
    QPointer<QWidget> window;
};

const QString uniqueName() {
    return QStringLiteral("Q") + QUuid::createUuid().toString(QUuid::Id128).left(10);
}

TEST_F(SyncWindowsTest, LinksSyncsAndAWrongPasswordChangesNothing) {
    linkThroughTheAccountWindow();
    const QString last = uniqueName();
    phoneWrites(QStringLiteral("ui-") + last, QStringLiteral("Zed"), last, QStringLiteral("zed@a.example"));

    action("mnuFileSync")->trigger();
    EXPECT_TRUE(platform.messages().last().text.startsWith(QStringLiteral("The sync is done.")))
        << platform.messages().last().text.toStdString();
    EXPECT_GT(recordOf(last), 0);
    EXPECT_TRUE(main.findChild<QLabel*>(QStringLiteral("lblLMLastSync"))->text().startsWith(QStringLiteral("Last synced: ")));

    // A wrong password typed at the prompt: the server's 401 in words, and
    // nothing changes here although the phone added a card meanwhile.
    const QString second = uniqueName();
    phoneWrites(QStringLiteral("ui-") + second, QStringLiteral("Amy"), second, QStringLiteral("amy@a.example"));
    sync::PasswordStore().forget(bookUrl, user);
    const QByteArray before = test::readAll(contactsPath);
    const qsizetype inputs = platform.inputs().size();
    platform.answerInput(QStringLiteral("not-the-password"));
    action("mnuFileSync")->trigger();
    EXPECT_EQ(platform.inputs().size(), inputs + 1);
    EXPECT_EQ(platform.messages().last().text, QStringLiteral("Wrong user name or password for %1.").arg(QUrl(url).host()));
    EXPECT_EQ(test::readAll(contactsPath), before);
    EXPECT_EQ(recordOf(second), 0);

    // The wrong password was forgotten: the next sync asks again.
    platform.answerInput(password);
    action("mnuFileSync")->trigger();
    EXPECT_EQ(platform.inputs().size(), inputs + 2);
    EXPECT_GT(recordOf(second), 0);
}

// A server that asks for no password: with none kept, Sync Now syncs without
// asking for one. The account window warns of a password over plain http to
// another computer, as the server address is typed.
TEST_F(SyncWindowsTest, NoPasswordForAServerThatAsksNoneAndAWarningForPlainHttp) {
    test::ScriptedBook book;
    book.store("/ann/book/zed.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:zed\r\nFN:Zed Open\r\nN:Open;Zed;;;\r\n"
                                    "END:VCARD\r\n");
    test::ScriptedHttpServer server(book.handler());
    const QString open = server.url(QLatin1String(test::ScriptedBook::kPath));
    ASSERT_TRUE(shell.syncSession().link(shell.syncSession().account(open, QStringLiteral("ann"), {}), open));
    sync::PasswordStore().forget(open, QStringLiteral("ann"));
    const qsizetype inputs = platform.inputs().size();
    action("mnuFileSync")->trigger();
    EXPECT_EQ(platform.inputs().size(), inputs);
    EXPECT_TRUE(platform.messages().last().text.startsWith(QStringLiteral("The sync is done.")))
        << platform.messages().last().text.toStdString();
    EXPECT_GT(recordOf(QStringLiteral("Open")), 0);

    ASSERT_NE(this->open("mnuSyncAccount", "frmSyncAccount"), nullptr);
    auto* warning = find<QLabel>("lblSyncCleartext");
    struct Case {
        const char* address;
        bool warns;
    };
    for (const Case& c : {Case{"http://dav.example.com/ann/", true}, Case{"https://dav.example.com/", false},
                          Case{"http://127.0.0.1:5232/", false}, Case{"http://192.168.1.20/", true}}) {
        SCOPED_TRACE(c.address);
        QLineEdit* box = find<QLineEdit>("txtSyncServer");
        box->clear();
        QTest::keyClicks(box, QLatin1String(c.address));
        EXPECT_EQ(warning->isVisibleTo(window), c.warns);
        EXPECT_EQ(warning->text().contains(QStringLiteral("travels in the clear")), c.warns);
    }
}

// Both sides change the e-mail address and the city; in the conflicts window
// "Use This Computer's Value" puts this computer's e-mail address back (and
// the next sync sends it), "Keep Server's Value" keeps the server's city and
// drops its entry for good.
TEST_F(SyncWindowsTest, TheConflictsWindowPutsThisComputersValueBack) {
    linkThroughTheAccountWindow();
    const QString last = uniqueName();
    const QString uid = QStringLiteral("ui-") + last;
    const auto address = [](const char* city) {
        return QStringLiteral("ADR;TYPE=HOME:;;1 Main St;%1;;;\r\n").arg(QLatin1String(city));
    };
    phoneWrites(uid, QStringLiteral("Zed"), last, QStringLiteral("zed@a.example"), address("Leeds"));
    action("mnuFileSync")->trigger();
    const int n = recordOf(last);
    ASSERT_GT(n, 0);
    ASSERT_EQ(shell.document().file().read(n).field(Field::City), QStringLiteral("Leeds"));

    ContactFields fields = shell.document().file().read(n).fields();
    fields[Field::Email] = QStringLiteral("zed@here.example");
    fields[Field::City] = QStringLiteral("Selby");
    shell.document().writeContact(n, ContactRecord::build(fields));
    phoneWrites(uid, QStringLiteral("Zed"), last, QStringLiteral("zed@there.example"), address("Ripon"));
    action("mnuFileSync")->trigger();
    EXPECT_TRUE(platform.messages().last().text.contains(QStringLiteral("Conflicts: 2")))
        << platform.messages().last().text.toStdString();
    EXPECT_EQ(shell.document().file().read(n).field(Field::Email), QStringLiteral("zed@there.example"));
    EXPECT_EQ(shell.document().file().read(n).field(Field::City), QStringLiteral("Ripon"));

    // Linked again to the same book (to type the password anew): the link,
    // its last sync and its conflicts stay. Another book is asked about first.
    const QString lastSync = main.findChild<QLabel*>(QStringLiteral("lblLMLastSync"))->text();
    chooseBookAndLink();
    EXPECT_EQ(main.findChild<QLabel*>(QStringLiteral("lblLMLastSync"))->text(), lastSync);
    const qsizetype messages = platform.messages().size();
    platform.answerMessage(MessageAnswer::No);
    const sync::Account other = shell.syncSession().account(url, user, password);
    EXPECT_FALSE(shell.syncSession().link(other, bookUrl + QStringLiteral("other/")));
    ASSERT_EQ(platform.messages().size(), messages + 1);
    EXPECT_TRUE(platform.messages().last().text.contains(QStringLiteral("matched against the other address book afresh")));
    EXPECT_EQ(sync::SyncState::load(contactsPath).url, bookUrl);

    ASSERT_NE(open("mnuSyncConflicts", "frmSyncConflicts"), nullptr);
    auto* table = find<QTableWidget>("tblSyncConflicts");
    const auto conflictsOfTheContact = [&] {
        int count = 0;
        for (const sync::SyncConflict& c : sync::SyncState::load(contactsPath).conflicts) {
            count += c.uid == uid ? 1 : 0;
        }
        return count;
    };
    ASSERT_EQ(conflictsOfTheContact(), 2);
    struct Case {
        Field field;
        const char* fieldName;
        const char* here;
        const char* server;
        const char* button;
        const char* kept;  // in the record, and on the server after the next sync
    };
    const Case cases[] = {
        {Field::Email, "Email Address", "zed@here.example", "zed@there.example", "cmdSyncUseLocal", "zed@here.example"},
        {Field::City, "City", "Selby", "Ripon", "cmdSyncKeepServer", "Ripon"},
    };
    int left = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        int row = -1;
        for (int i = 0; i < table->rowCount(); ++i) {
            if (table->item(i, 0)->text().endsWith(last) && table->item(i, 1)->text() == QLatin1String(c.fieldName)) {
                row = i;
            }
        }
        ASSERT_GE(row, 0);
        EXPECT_EQ(table->item(row, 2)->text(), QLatin1String(c.here));
        EXPECT_EQ(table->item(row, 3)->text(), QLatin1String(c.server));
        const int rows = table->rowCount();
        table->selectRow(row);
        click(c.button);
        EXPECT_EQ(table->rowCount(), rows - 1);
        EXPECT_EQ(conflictsOfTheContact(), --left);
        EXPECT_EQ(shell.document().file().read(n).field(c.field), QLatin1String(c.kept));
    }

    // The next sync sends this computer's e-mail address and leaves the
    // server's city; neither conflict comes back.
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    action("mnuFileSync")->trigger();
    const QByteArray card = phone->get(written.first()).body;
    for (const Case& c : cases) {
        EXPECT_TRUE(card.contains(c.kept)) << card.toStdString();
        EXPECT_EQ(shell.document().file().read(n).field(c.field), QLatin1String(c.kept));
    }
    EXPECT_FALSE(card.contains("Selby")) << card.toStdString();
    EXPECT_EQ(conflictsOfTheContact(), 0);
}

// A contact edited here and deleted on the server is kept with the edit and
// listed in the conflicts window; "Keep Server's Value" deletes it here, and
// the next sync deletes its card on the server.
TEST_F(SyncWindowsTest, TheConflictsWindowListsAContactKeptWithAnEdit) {
    linkThroughTheAccountWindow();
    const QString last = uniqueName();
    phoneWrites(QStringLiteral("kept-") + last, QStringLiteral("Zed"), last, QStringLiteral("zed@a.example"));
    action("mnuFileSync")->trigger();
    const int n = recordOf(last);
    ASSERT_GT(n, 0);
    ContactFields fields = shell.document().file().read(n).fields();
    fields[Field::Email] = QStringLiteral("zed@here.example");
    shell.document().writeContact(n, ContactRecord::build(fields));
    ASSERT_LT(phone->remove(written.first()).status, 300);
    action("mnuFileSync")->trigger();
    EXPECT_TRUE(platform.messages().last().text.contains(QStringLiteral("Conflicts: 1")))
        << platform.messages().last().text.toStdString();
    ASSERT_EQ(phone->get(written.first()).status, 200);

    ASSERT_NE(open("mnuSyncConflicts", "frmSyncConflicts"), nullptr);
    auto* table = find<QTableWidget>("tblSyncConflicts");
    int row = -1;
    for (int i = 0; i < table->rowCount(); ++i) {
        row = table->item(i, 0)->text() == QStringLiteral("Zed ") + last ? i : row;
    }
    ASSERT_GE(row, 0);
    EXPECT_EQ(table->item(row, 1)->text(), QStringLiteral("deleted on the server, kept with this computer's edit"));
    EXPECT_EQ(table->columnSpan(row, 1), 3);
    EXPECT_TRUE(find<QLabel>("lblSyncConflicts")->text().contains(QStringLiteral("choosing the side that deleted it")));
    // The choice that deletes the contact asks first: No keeps it and its row.
    table->selectRow(row);
    platform.answerMessage(MessageAnswer::No);
    click("cmdSyncKeepServer");
    EXPECT_TRUE(platform.messages().last().text.startsWith(QStringLiteral("Delete Zed ") + last));
    EXPECT_GT(recordOf(last), 0);
    table->selectRow(row);
    platform.answerMessage(MessageAnswer::Yes);
    click("cmdSyncKeepServer");
    EXPECT_EQ(recordOf(last), 0);
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    action("mnuFileSync")->trigger();
    EXPECT_EQ(phone->get(written.first()).status, 404);
}

// Cancel pressed in the progress window at several moments of a sync with
// work on both sides: what was done is kept, and the next sync brings the
// file and the address book to the same contacts, none lost and none twice.
TEST_F(SyncWindowsTest, CancelLeavesBothSidesToAgreeAfterTheNextSync) {
    const QString book = test::freshAddressBook(test::davTestServer("Radicale"), QStringLiteral("cancel"));
    ASSERT_FALSE(book.isEmpty());
    bookName = QUrl(book).path().section(QLatin1Char('/'), -2, -2);
    linkThroughTheAccountWindow();

    // The contacts of both sides as "First Last", sorted.
    const auto here = [&] {
        QStringList names;
        const ContactsFile& file = shell.document().file();
        for (int n = 1; n <= file.recordCount(); ++n) {
            names << file.read(n).field(Field::FName) + u' ' + file.read(n).field(Field::LName);
        }
        names.sort();
        return names;
    };
    const auto there = [&] {
        QStringList names;
        for (const QString& href : phone->list(phoneBook())) {
            const ContactFields values = sync::cardRecordValues(phone->get(phoneBook().resolved(QUrl(href))).body);
            names << values[Field::FName] + u' ' + values[Field::LName];
        }
        names.sort();
        return names;
    };
    // Cancel is pressed when the progress reaches this share of the steps:
    // while the phone's cards come in, and while the new contacts go out.
    int expected = 0;
    for (const double share : {0.25, 0.75}) {
        SCOPED_TRACE(share);
        const QString tag = uniqueName();
        for (int i = 0; i < 30; ++i) {
            phoneWrites(QStringLiteral("ui-%1-%2").arg(tag).arg(i), QStringLiteral("Phone"),
                        QStringLiteral("%1-%2").arg(tag).arg(i), QStringLiteral("p%1@a.example").arg(i));
        }
        for (int i = 0; i < 30; ++i) {
            ContactFields fields;
            fields[Field::FName] = QStringLiteral("Desk");
            fields[Field::LName] = QStringLiteral("%1-%2").arg(tag).arg(i);
            shell.document().appendContact(ContactRecord::build(fields));
        }
        expected += 60;
        bool pressed = false;
        QTimer presser;
        presser.setInterval(1);
        QObject::connect(&presser, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::allWidgets()) {
                auto* progress = qobject_cast<QProgressDialog*>(w);
                if (!pressed && progress && progress->objectName() == QLatin1String("dlgSyncProgress") &&
                    progress->maximum() > 0 && progress->value() >= progress->maximum() * share) {
                    pressed = true;
                    progress->findChild<QPushButton*>()->click();
                }
            }
        });
        presser.start();
        action("mnuFileSync")->trigger();
        presser.stop();
        ASSERT_TRUE(pressed);
        EXPECT_TRUE(platform.messages().last().text.startsWith(QStringLiteral("The sync was cancelled.")))
            << platform.messages().last().text.toStdString();
        EXPECT_NE(here(), there());

        action("mnuFileSync")->trigger();
        EXPECT_TRUE(platform.messages().last().text.startsWith(QStringLiteral("The sync is done.")))
            << platform.messages().last().text.toStdString();
        const QStringList names = here();
        EXPECT_EQ(names, there());
        EXPECT_EQ(names.size(), expected);
        EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), expected);
    }
    for (const QString& href : phone->list(phoneBook())) {
        written << phoneBook().resolved(QUrl(href));
    }
}

// A self-signed certificate made now with openssl, written over `cert` and
// `key`; its SHA-256 fingerprint as openssl shows it ("AB:CD:...").
QString makeCertificate(const QString& cert, const QString& key) {
    const QString newCert = cert + QStringLiteral(".new");
    const QString newKey = key + QStringLiteral(".new");
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                   QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                   QStringLiteral("/CN=tandor.test/O=Tandor Test"), QStringLiteral("-keyout"), newKey,
                   QStringLiteral("-out"), newCert});
    if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0) {
        ADD_FAILURE() << "openssl: " << openssl.errorString().toStdString() << openssl.readAllStandardError().toStdString();
        return {};
    }
    for (const auto& [from, to] : {std::pair{newCert, cert}, std::pair{newKey, key}}) {
        QFile::remove(to);
        EXPECT_TRUE(QFile::rename(from, to));
    }
    openssl.start(QStringLiteral("openssl"), {QStringLiteral("x509"), QStringLiteral("-in"), cert,
                                              QStringLiteral("-noout"), QStringLiteral("-fingerprint"),
                                              QStringLiteral("-sha256")});
    openssl.waitForFinished(60000);
    return QString::fromLatin1(openssl.readAllStandardOutput()).trimmed().section(QLatin1Char('='), 1);
}

// A server whose certificate this computer does not trust: Radicale behind a
// TLS front on 127.0.0.1 (scripts/dav-tls-front.py) with a self-signed
// certificate made now. The account window asks about it with its details;
// refused, nothing changes; accepted, the file links and syncs and the
// fingerprint is kept for that host only; another certificate on the same
// host is refused again.
TEST_F(SyncWindowsTest, ACertificateNotTrustedIsAcceptedForItsHostOnly) {
    const QString cert = folder.file(QStringLiteral("cert.pem"));
    const QString key = folder.file(QStringLiteral("key.pem"));
    const QString first = makeCertificate(cert, key);
    ASSERT_FALSE(first.isEmpty());
    QProcess front;
    front.start(QStringLiteral("python3"),
                {QStringLiteral(TANDOR_SOURCE_DIR "/scripts/dav-tls-front.py"), cert, key,
                 QString::number(QUrl(radicaleUrl).port())});
    ASSERT_TRUE(front.waitForReadyRead(10000)) << front.readAllStandardError().toStdString();
    const int port = front.readLine().trimmed().toInt();
    ASSERT_GT(port, 0);
    const auto stopFront = qScopeGuard([&front] {
        front.kill();
        front.waitForFinished();
    });
    const auto secure = [port](const char* host) { return QStringLiteral("https://%1:%2/").arg(QLatin1String(host)).arg(port); };
    const QString settingKey = QStringLiteral("SyncCertificates/127.0.0.1");
    const QByteArray emptyFile = test::readAll(contactsPath);

    const QString kept = QString(first).remove(u':');
    struct Step {
        const char* what;
        const char* host;
        MessageAnswer answer;
        bool listed;
        QString accepted;  // kept for 127.0.0.1 afterwards
    };
    for (const Step& step : {Step{"refused", "127.0.0.1", MessageAnswer::No, false, {}},
                             Step{"accepted", "127.0.0.1", MessageAnswer::Yes, true, kept},
                             Step{"another name of the same server", "localhost", MessageAnswer::No, false, kept}}) {
        SCOPED_TRACE(step.what);
        ASSERT_NE(open("mnuSyncAccount", "frmSyncAccount"), nullptr);
        find<QLineEdit>("txtSyncServer")->setText(secure(step.host));
        find<QLineEdit>("txtSyncUser")->setText(user);
        find<QLineEdit>("txtSyncPassword")->setText(password);
        const qsizetype asked = platform.messages().size();
        platform.answerMessage(step.answer);
        click("cmdSyncFind");
        ASSERT_GT(platform.messages().size(), asked);
        const RecordedMessage question = platform.messages().at(asked);
        EXPECT_EQ(question.buttons, MessageButtons::YesNo);
        for (const QString& words :
             {QStringLiteral("Accept this certificate for %1 only?").arg(QLatin1String(step.host)),
              QStringLiteral("Subject: CN=tandor.test, O=Tandor Test"), QStringLiteral("SHA-256 fingerprint: ") + first}) {
            EXPECT_TRUE(question.text.contains(words)) << question.text.toStdString();
        }
        EXPECT_EQ(find<QListWidget>("lstSyncBooks")->count() > 0, step.listed);
        EXPECT_EQ(platform.settings().value(settingKey), step.accepted);
        EXPECT_FALSE(platform.settings().contains(QStringLiteral("SyncCertificates/localhost")));
        if (!step.listed) {
            EXPECT_TRUE(platform.messages().last().text.contains(QStringLiteral("does not trust")));
            EXPECT_TRUE(platform.messages().last().text.contains(first));
            EXPECT_FALSE(sync::SyncState::isLinked(contactsPath));
            EXPECT_EQ(test::readAll(contactsPath), emptyFile);
        }
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Accepted: the file links to the book over TLS and syncs.
    url = secure("127.0.0.1");
    const qsizetype before = platform.messages().size();
    linkThroughTheAccountWindow();
    for (const RecordedMessage& m : platform.messages().mid(before)) {
        EXPECT_FALSE(m.text.contains(QStringLiteral("does not trust"))) << m.text.toStdString();
    }
    EXPECT_TRUE(bookUrl.startsWith(url)) << bookUrl.toStdString();
    const QString last = uniqueName();
    phoneWrites(QStringLiteral("ui-") + last, QStringLiteral("Tess"), last, QStringLiteral("tess@a.example"));
    action("mnuFileSync")->trigger();
    EXPECT_TRUE(platform.messages().last().text.startsWith(QStringLiteral("The sync is done.")))
        << platform.messages().last().text.toStdString();
    EXPECT_GT(recordOf(last), 0);

    // The same host shows another certificate: the sync is refused with its
    // details and changes nothing; the account window asks again.
    const QString other = makeCertificate(cert, key);
    ASSERT_NE(other, first);
    const QString later = uniqueName();
    phoneWrites(QStringLiteral("ui-") + later, QStringLiteral("Uma"), later, QStringLiteral("uma@a.example"));
    const QByteArray file = test::readAll(contactsPath);
    const QByteArray state = test::readAll(sync::SyncState::folderOf(contactsPath) + QStringLiteral("/state"));
    action("mnuFileSync")->trigger();
    EXPECT_TRUE(platform.messages().last().text.contains(QStringLiteral("does not trust")))
        << platform.messages().last().text.toStdString();
    EXPECT_TRUE(platform.messages().last().text.contains(QStringLiteral("SHA-256 fingerprint: ") + other));
    EXPECT_EQ(test::readAll(contactsPath), file);
    EXPECT_EQ(test::readAll(sync::SyncState::folderOf(contactsPath) + QStringLiteral("/state")), state);
    EXPECT_EQ(recordOf(later), 0);
    EXPECT_EQ(platform.settings().value(settingKey), kept);

    ASSERT_NE(open("mnuSyncAccount", "frmSyncAccount"), nullptr);
    find<QLineEdit>("txtSyncPassword")->setText(password);
    const qsizetype asked = platform.messages().size();
    platform.answerMessage(MessageAnswer::No);
    click("cmdSyncFind");
    ASSERT_GT(platform.messages().size(), asked);
    EXPECT_TRUE(platform.messages().at(asked).text.contains(QStringLiteral("SHA-256 fingerprint: ") + other));
    EXPECT_EQ(find<QListWidget>("lstSyncBooks")->count(), 0);
    EXPECT_EQ(platform.settings().value(settingKey), kept);
}

}  // namespace
}  // namespace tandor
