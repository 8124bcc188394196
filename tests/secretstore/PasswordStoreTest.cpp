// Runs inside a private D-Bus session with its own gnome-keyring (run.sh), or
// with no session bus at all (TANDOR_NO_SECRET_STORE=1).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <qt6keychain/keychain.h>

#include "sync/PasswordStore.h"

using tandor::sync::PasswordStore;

namespace {

const QString kServer = QStringLiteral("https://dav.example.org/");
const QString kUser = QStringLiteral("ann");
const QString kPassword = QStringLiteral("Très-secret 42");

bool noSecretStore() {
    return qEnvironmentVariableIsSet("TANDOR_NO_SECRET_STORE");
}

// The password as the secret store holds it, read with a job of its own.
QString storedPassword(const QString& key, QKeychain::Error& error) {
    QKeychain::ReadPasswordJob job(QStringLiteral("Tandor address book"));
    job.setAutoDelete(false);
    job.setKey(key);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    error = job.error();
    return job.textData();
}

// Every file under a folder that holds the text, in UTF-8 or Latin-1.
QStringList filesHolding(const QString& folder, const QString& text) {
    QStringList found;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            if (bytes.contains(text.toUtf8()) || bytes.contains(text.toLatin1())) {
                found.append(file.fileName());
            }
        }
    }
    return found;
}

}  // namespace

TEST(PasswordStoreTest, KeepsThePasswordInTheSecretStoreAndNowhereInTheProgramFolder) {
    if (noSecretStore()) {
        GTEST_SKIP() << "runs with the private secret store";
    }
    PasswordStore store;
    ASSERT_EQ(store.write(kServer, kUser, kPassword), PasswordStore::Kept::InSecretStore)
        << store.lastProblem().toStdString();

    QKeychain::Error error = QKeychain::OtherError;
    EXPECT_EQ(storedPassword(PasswordStore::keyFor(kServer, kUser), error), kPassword);
    EXPECT_EQ(error, QKeychain::NoError);
    // Another user on the same server has no password.
    storedPassword(PasswordStore::keyFor(kServer, QStringLiteral("bob")), error);
    EXPECT_EQ(error, QKeychain::EntryNotFound);

    const QString home = QDir::homePath();
    EXPECT_EQ(filesHolding(home, kPassword), QStringList{}) << "the password is in a plain file";

    store.forget(kServer, kUser);
    storedPassword(PasswordStore::keyFor(kServer, kUser), error);
    EXPECT_EQ(error, QKeychain::EntryNotFound);
    EXPECT_EQ(store.read(kServer, kUser), std::nullopt);
}

// A secret store slower than the program waits (the desktop asks the user to
// make a keyring, and the user takes their time): the answer that comes later
// finds its job still there, and the password is stored all the same.
TEST(PasswordStoreTest, AnAnswerAfterTheWaitIsTakenSafely) {
    if (noSecretStore()) {
        GTEST_SKIP() << "runs with the private secret store";
    }
    const QString user = QStringLiteral("slow");
    PasswordStore hasty(0);
    EXPECT_EQ(hasty.write(kServer, user, kPassword), PasswordStore::Kept::ForThisSession);
    EXPECT_EQ(hasty.lastProblem(), QStringLiteral("The desktop's secret store did not answer."));
    QKeychain::Error error = QKeychain::OtherError;
    QString stored;
    for (int i = 0; i < 50 && stored != kPassword; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        stored = storedPassword(PasswordStore::keyFor(kServer, user), error);
    }
    EXPECT_EQ(stored, kPassword);
    hasty.forget(kServer, user);
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    }
    PasswordStore().forget(kServer, user);
}

TEST(PasswordStoreTest, WithoutASecretStoreThePasswordIsKeptForTheSessionOnly) {
    if (!noSecretStore()) {
        GTEST_SKIP() << "runs with no session bus";
    }
    PasswordStore store;
    EXPECT_EQ(store.read(kServer, kUser), std::nullopt);
    EXPECT_EQ(store.write(kServer, kUser, kPassword), PasswordStore::Kept::ForThisSession);
    EXPECT_FALSE(store.lastProblem().isEmpty());
    EXPECT_EQ(PasswordStore().read(kServer, kUser), kPassword);
    EXPECT_EQ(filesHolding(QDir::homePath(), kPassword), QStringList{});
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
