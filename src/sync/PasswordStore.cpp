#include "sync/PasswordStore.h"

#include <QEventLoop>
#include <QHash>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <qt6keychain/keychain.h>

namespace tandor::sync {
namespace {

const QString kService = QStringLiteral("Tandor address book");
// The passwords typed in this session, by key.
QHash<QString, QString>& sessionPasswords() {
    static QHash<QString, QString> passwords;
    return passwords;
}

struct JobResult {
    bool finished = false;
    QKeychain::Error error = QKeychain::NoError;
    QString errorString;
    QString text;
};

// Runs a keychain job for at most `waitMs`; the result when it finished in
// time. A job the secret store has not answered by then (it may still show
// the desktop's own prompt, such as the one for a new keyring) is left to
// finish on its own and deletes itself then: the store answers it later, and
// its answer must not reach a job that is gone.
std::optional<JobResult> runJob(QKeychain::Job* job, int waitMs, QString& problem) {
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    auto result = std::make_shared<JobResult>();
    QEventLoop loop;
    QPointer<QEventLoop> waiting(&loop);
    QObject::connect(job, &QKeychain::Job::finished, job, [result, waiting, job] {
        result->finished = true;
        result->error = job->error();
        result->errorString = job->errorString();
        if (auto* read = qobject_cast<QKeychain::ReadPasswordJob*>(job)) {
            result->text = read->textData();
        }
        if (waiting) {
            waiting->quit();
        }
    });
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    job->start();
    if (!result->finished) {
        loop.exec();
    }
    if (!result->finished) {
        problem = QStringLiteral("The desktop's secret store did not answer.");
        return std::nullopt;
    }
    if (result->error != QKeychain::NoError) {
        problem = result->errorString;
        return std::nullopt;
    }
    problem.clear();
    return *result;
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
    auto* job = new QKeychain::ReadPasswordJob(kService);
    job->setKey(key);
    const std::optional<JobResult> done = runJob(job, waitMs_, lastProblem_);
    if (!done) {
        return std::nullopt;
    }
    sessionPasswords().insert(key, done->text);
    return done->text;
}

PasswordStore::Kept PasswordStore::write(const QString& serverUrl, const QString& user,
                                         const QString& password) {
    const QString key = keyFor(serverUrl, user);
    sessionPasswords().insert(key, password);
    auto* job = new QKeychain::WritePasswordJob(kService);
    job->setKey(key);
    job->setTextData(password);
    return runJob(job, waitMs_, lastProblem_) ? Kept::InSecretStore : Kept::ForThisSession;
}

void PasswordStore::forget(const QString& serverUrl, const QString& user) {
    const QString key = keyFor(serverUrl, user);
    sessionPasswords().remove(key);
    auto* job = new QKeychain::DeletePasswordJob(kService);
    job->setKey(key);
    QString ignored;
    runJob(job, waitMs_, ignored);
}

}  // namespace tandor::sync
