// Speed of the address-book sync against a real Radicale (scripts/dav-test-servers.sh):
// the first sync of 10,000 contacts from the server into an empty file, and a
// sync with 10 changes on each side. Each line gives the wall time and
// Tandor's own processor time (this process: the server runs in its own),
// and, when Radicale logs its answers (TANDOR_RADICALE_LOG_LEVEL=info), the
// time Radicale itself took for them: the sum of "in N seconds" of its log.
// The load of the machine (/proc/loadavg) is printed before and after.
//
//   TANDOR_RADICALE_LOG_LEVEL=info eval "$(bash scripts/dav-test-servers.sh start)"
//   export TANDOR_DAV_DIR TANDOR_RADICALE_URL TANDOR_DAV_USER TANDOR_DAV_PASSWORD
//   build/bench/sync_bench [CONTACTS]
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUuid>
#include <cstdio>

#include "store/ContactsDocument.h"
#include "sync/CardDavClient.h"
#include "sync/CardMerge.h"
#include "sync/SyncState.h"
#include "sync/Synchronizer.h"

using namespace tandor;
using namespace tandor::sync;

namespace {

// The time Radicale took for the answers it logged past `from` bytes of its log.
double radicaleSeconds(const QString& log, qint64 from, int& answers) {
    QFile file(log);
    answers = 0;
    if (!file.open(QIODevice::ReadOnly) || !file.seek(from)) {
        return 0;
    }
    static const QRegularExpression took(QStringLiteral(" response status for .* in ([0-9.]+) seconds"));
    double seconds = 0;
    while (!file.atEnd()) {
        const QRegularExpressionMatch m = took.match(QString::fromUtf8(file.readLine()));
        if (m.hasMatch()) {
            seconds += m.captured(1).toDouble();
            ++answers;
        }
    }
    return seconds;
}

void printLoad(const char* when) {
    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly)) {
        std::printf("load %s: %s", when, load.readAll().constData());
    }
}

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

ContactRecord contact(int i) {
    ContactFields values;
    values[Field::FName] = QStringLiteral("First%1").arg(i % 1000);
    values[Field::LName] = QStringLiteral("Last%1").arg(i);
    values[Field::FStreet] = QStringLiteral("%1 Main Street").arg(i % 9000 + 1);
    values[Field::City] = QStringLiteral("Springfield");
    values[Field::State] = QStringLiteral("IL");
    values[Field::Zip] = QStringLiteral("62704");
    values[Field::HPhone] = QStringLiteral("217-555-%1").arg(i % 10000, 4, 10, QLatin1Char('0'));
    values[Field::Email] = QStringLiteral("person%1@example.com").arg(i);
    values[Field::Birthdate] = QStringLiteral("19800410");
    values[Field::Notes] = QStringLiteral("Met at the %1th meeting").arg(i % 50);
    values[Field::IncludeCompany] = QStringLiteral("0");
    values[Field::BirthdayReminder] = QStringLiteral("0");
    return ContactRecord::build(values);
}

struct Timing {
    double wall = 0;
    double cpu = 0;
    int requests = 0;
    double server = -1;  // Radicale's own time for its answers; -1 when its log does not say
    int answers = 0;
    SyncSummary summary;
};

Timing timedSync(const QString& program, const QString& path, const Account& account, const QString& book) {
    const QString log = qEnvironmentVariable("TANDOR_DAV_DIR") + QStringLiteral("/radicale/log");
    const qint64 logFrom = QFileInfo(log).size();
    QElapsedTimer wall;
    wall.start();
    const double cpu = processorSeconds();
    CardDavClient client(account, book);
    client.setTimeoutSeconds(600);
    ContactsDocument document(program);
    document.openPath(path, true);
    SyncStateKeeper keeper(document);
    if (!keeper.state()) {
        keeper.link(book, account.user);
    }
    Synchronizer synchronizer(document, keeper, client);
    Timing timing;
    timing.summary = synchronizer.run();
    timing.wall = double(wall.nsecsElapsed()) / 1e9;
    timing.cpu = processorSeconds() - cpu;
    timing.requests = client.requestCount();
    const double server = radicaleSeconds(log, logFrom, timing.answers);
    if (timing.answers > 0) {
        timing.server = server;
    }
    return timing;
}

void report(const char* what, const Timing& t) {
    std::printf("%-58s wall %7.2f s  Tandor's processor time %6.2f s  %4d requests  (here +%d ~%d -%d, server +%d ~%d -%d)\n",
                what, t.wall, t.cpu, t.requests, t.summary.addedHere, t.summary.changedHere, t.summary.deletedHere,
                t.summary.addedOnServer, t.summary.changedOnServer, t.summary.deletedOnServer);
    if (t.server >= 0) {
        std::printf("%-58s Radicale's own time for its %d answers %.2f s: Tandor's wall time is %.2fx\n", "",
                    t.answers, t.server, t.wall / t.server);
    }
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int contacts = argc > 1 ? std::atoi(argv[1]) : 10000;
    const QString root = qEnvironmentVariable("TANDOR_RADICALE_URL");
    if (root.isEmpty()) {
        std::fprintf(stderr, "TANDOR_RADICALE_URL is not set: eval \"$(bash scripts/dav-test-servers.sh start)\" and "
                             "export its TANDOR_* variables\n");
        return 77;
    }
    const Account account{root, qEnvironmentVariable("TANDOR_DAV_USER"), qEnvironmentVariable("TANDOR_DAV_PASSWORD"), {}};
    // A new address book of its own, filled by writing the cards straight
    // into Radicale's storage folder (sending 10,000 cards one PUT at a time
    // takes Radicale most of an hour: it reads the whole collection for each).
    const QString davDir = qEnvironmentVariable("TANDOR_DAV_DIR");
    const QString name = QStringLiteral("bench-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString book = root + account.user + QLatin1Char('/') + name + QLatin1Char('/');
    QNetworkAccessManager network;
    const auto request = [&](const QByteArray& verb, const QString& url, const QByteArray& body) {
        QNetworkRequest r{QUrl(url)};
        r.setRawHeader("Authorization",
                       "Basic " + (account.user + QLatin1Char(':') + account.password).toUtf8().toBase64());
        r.setRawHeader("Content-Type", verb == "PUT" ? "text/vcard; charset=utf-8" : "application/xml");
        QNetworkReply* reply = network.sendCustomRequest(r, verb, body);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        const bool ok = reply->error() == QNetworkReply::NoError;
        if (!ok) {
            std::fprintf(stderr, "%s %s: %s\n", verb.constData(), qPrintable(url), qPrintable(reply->errorString()));
        }
        delete reply;
        return ok;
    };
    if (davDir.isEmpty() ||
        !request("MKCOL", book,
                 "<?xml version=\"1.0\"?><d:mkcol xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\">"
                 "<d:set><d:prop><d:resourcetype><d:collection/><c:addressbook/></d:resourcetype></d:prop></d:set>"
                 "</d:mkcol>")) {
        std::fprintf(stderr, "TANDOR_DAV_DIR is not set, or the address book cannot be made\n");
        return 1;
    }
    const QString storage = davDir + QStringLiteral("/radicale/collections/collection-root/") + account.user +
                            QLatin1Char('/') + name + QLatin1Char('/');
    for (int i = 0; i < contacts; ++i) {
        const QString uid = QStringLiteral("bench-%1").arg(i);
        QFile file(storage + uid + QStringLiteral(".vcf"));
        if (!file.open(QIODevice::WriteOnly) || file.write(cardForNewContact(contact(i), uid)) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    QTemporaryDir folder;
    const QString program = folder.path();
    const QString pulled = folder.filePath(QStringLiteral("Pulled.DAT"));
    {
        ContactsDocument empty(program);
        empty.openPath(pulled);
    }
    std::printf("%d contacts, Radicale at %s\n", contacts, qPrintable(root));
    printLoad("before");
    try {
        report("first sync, every card from the server into an empty file", timedSync(program, pulled, account, book));
        report("a sync with nothing to do", timedSync(program, pulled, account, book));
        // 10 changes in the file, 10 on the server (a phone rewriting cards).
        {
            ContactsDocument document(program);
            document.openPath(pulled, true);
            SyncStateKeeper keeper(document);
            for (int n = 1; n <= 10; ++n) {
                ContactRecord record = document.file().read(n * 97);
                record.setField(Field::City, QStringLiteral("Shelbyville"));
                document.writeContact(n * 97, record);
            }
        }
        for (int n = 1; n <= 10; ++n) {
            const int i = (n * 89 + contacts / 2) % contacts;
            ContactRecord record = contact(i);
            record.setField(Field::Email, QStringLiteral("moved%1@example.org").arg(n));
            const QString uid = QStringLiteral("bench-%1").arg(i);
            if (!request("PUT", book + uid + QStringLiteral(".vcf"), cardForNewContact(record, uid))) {
                return 1;
            }
        }
        report("a sync with 10 changes on each side", timedSync(program, pulled, account, book));
        printLoad("after");
    } catch (const ServerError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
