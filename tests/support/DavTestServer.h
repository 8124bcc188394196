#pragma once

#include <QString>
#include <string>

#include "sync/CardDavClient.h"

namespace tandor::test {

// One of the test servers of scripts/dav-test-servers.sh, as scripts/test.sh
// started it: TANDOR_<NAME>_URL and _BOOK, the user and password, or why it
// could not start (TANDOR_<NAME>_MISSING).
struct DavTestServer {
    QString name;
    QString url;
    QString book;
    QString user;
    QString password;
    QString missing;
};
DavTestServer davTestServer(const std::string& name);

// In a test's SetUp: skips the test when the server is not running (fails it
// with CI=true).
#define TANDOR_REQUIRE_DAV_SERVER(server)                                                      \
    if ((server).url.isEmpty()) {                                                              \
        const std::string why = (server).name.toStdString() + " is not running: " +            \
                                (server).missing.toStdString();                                \
        if (qEnvironmentVariable("CI") == "true") {                                            \
            FAIL() << why;                                                                     \
        }                                                                                      \
        GTEST_SKIP() << why;                                                                   \
    }

// The server's address book (TANDOR_<NAME>_BOOK) as discovery finds it from
// the server's URL. Fails the test (ADD_FAILURE) and gives no URL when the
// server has no book of that name.
sync::AddressBookInfo namedAddressBook(const DavTestServer& server);

// A new, empty address book of its own on the server (made with MKCOL beside
// the server's address book), for a test that needs to know every card in
// it; its collection URL. Fails the test (ADD_FAILURE) and returns "" when
// the server refuses.
QString freshAddressBook(const DavTestServer& server, const QString& label);

}  // namespace tandor::test
