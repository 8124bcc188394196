#include "sync/PasswordStore.h"

#include <QEventLoop>
#include <QHash>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace tandor::sync {
namespace {

const QString kService = QStringLiteral("Tandor address book");
// A secret store that does not answer within this time counts as none.
constexpr int kSecretStoreWaitMs = 10000;

// The passwords typed in this session, by key.
QHash<QString, QString>& sessionPasswords() {
    static QHash<QString, QString> passwords;
    return passwords;
}

// Runs a keychain job to its end; true when it finished without error.
bool runJob(QKeychain::Job& job, QString& problem) {
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    QEventLoop loop;
    bool finished = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(kSecretStoreWaitMs, &loop, &QEventLoop::quit);
    job.start();
    if (!finished) {
        loop.exec();
    }
    if (!finished) {
        problem = QStringLiteral("The desktop's secret store did not answer.");
        return false;
    }
    if (job.error() != QKeychain::NoError) {
        problem = job.errorString();
        return false;
    }
    problem.clear();
    return true;
}

}  // namespace

QString PasswordStore::keyFor(const QString& serverUrl, const QString& user) {
    return user + QLatin1Char('@') + serverUrl;
}

std::optional<QString> PasswordStore::read(const QString& serverUrl, const QString& user) {
    const QString key = keyFor(serverUrl, user);
    const auto known = sessionPasswords().constFind(key);
    if (known != sessionPasswords().cend()) {
        return *known;
    }
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(key);
    if (!runJob(job, lastProblem_)) {
        return std::nullopt;
    }
    sessionPasswords().insert(key, job.textData());
    return job.textData();
}

PasswordStore::Kept PasswordStore::write(const QString& serverUrl, const QString& user,
                                         const QString& password) {
    const QString key = keyFor(serverUrl, user);
    sessionPasswords().insert(key, password);
    QKeychain::WritePasswordJob job(kService);
    job.setKey(key);
    job.setTextData(password);
    return runJob(job, lastProblem_) ? Kept::InSecretStore : Kept::ForThisSession;
}

void PasswordStore::forget(const QString& serverUrl, const QString& user) {
    const QString key = keyFor(serverUrl, user);
    sessionPasswords().remove(key);
    QKeychain::DeletePasswordJob job(kService);
    job.setKey(key);
    QString ignored;
    runJob(job, ignored);
}

}  // namespace tandor::sync
