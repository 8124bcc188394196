#include <gtest/gtest.h>

#include <QFile>

#include "sync/AddressBookServer.h"
#include "sync/DavXml.h"

using namespace tandor::sync;

namespace {

QByteArray captured(const char* name) {
    QFile file(QStringLiteral(TANDOR_SOURCE_DIR "/tests/data/dav/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

}  // namespace

// Answers captured from the test servers: Xandikos's prefixes (ns0, ns1), its
// supported-report-set without the <report> level and a 404 propstat beside
// the 200 one; Radicale's default namespace, a removed card (response status
// 404) and a percent-encoded href.
TEST(DavXml, ReadsCapturedAnswers) {
    {
        const davxml::Multistatus home = davxml::parseMultistatus(captured("xandikos-home-listing.xml"));
        ASSERT_EQ(home.responses.size(), 2u);
        const davxml::Response& folder = home.responses[0];
        EXPECT_EQ(folder.href, "/tandor/contacts/");
        EXPECT_TRUE(folder.isCollection);
        EXPECT_FALSE(folder.isAddressBook);
        EXPECT_EQ(folder.currentUserPrincipal, "/tandor/");
        EXPECT_TRUE(folder.addressbookHomeSet.isEmpty());  // in the 404 propstat
        const davxml::Response& book = home.responses[1];
        EXPECT_EQ(book.href, "/tandor/contacts/addressbook/");
        EXPECT_TRUE(book.isAddressBook);
        EXPECT_EQ(book.displayName, "Tandor Contacts");
        EXPECT_TRUE(book.offersSyncCollection);
        EXPECT_EQ(book.propStatus, 200);
    }
    {
        const davxml::Multistatus sync = davxml::parseMultistatus(captured("radicale-sync-collection.xml"));
        EXPECT_EQ(sync.syncToken,
                  "http://radicale.org/ns/sync/4d242349447bb2fd51ecbbc383b2492c56c087b9f4e957f9738f1eeb40c191e8");
        ASSERT_EQ(sync.responses.size(), 3u);
        EXPECT_EQ(sync.responses[0].href, "/tandor/contacts/ann.vcf");
        EXPECT_EQ(sync.responses[0].status, 404);
        EXPECT_TRUE(sync.responses[0].etag.isEmpty());
        EXPECT_EQ(sync.responses[1].etag, "\"360c198c10361859ed39d52fec61c29e4e15ea41afd29eeb29cc938d3f40082b\"");
        EXPECT_EQ(sync.responses[2].href, "/tandor/contacts/cy%40home.vcf");
        EXPECT_EQ(sync.responses[2].status, 0);
    }
    {
        const davxml::Multistatus cards = davxml::parseMultistatus(captured("radicale-multiget.xml"));
        ASSERT_EQ(cards.responses.size(), 3u);
        EXPECT_EQ(cards.responses[0].status, 404);
        EXPECT_TRUE(cards.responses[0].addressData.isEmpty());
        EXPECT_EQ(cards.responses[2].href, "/tandor/contacts/bob.vcf");
        // vCard lines end with CRLF, whatever the XML reader made of them.
        EXPECT_EQ(cards.responses[2].addressData,
                  "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:bob\r\nFN:Bob Baker-Smith\r\nN:Bob Baker-Smith;;;;\r\nEND:VCARD\r\n");
    }
}

TEST(DavXml, RefusesWhatIsNotAMultistatus) {
    for (const QByteArray& text : {QByteArray(), QByteArray("<html><body>Login</body></html>"),
                                   QByteArray("<multistatus xmlns=\"DAV:\"><response><href>/a</href>")}) {
        try {
            davxml::parseMultistatus(text);
            ADD_FAILURE() << "read: " << text.constData();
        } catch (const ServerError& error) {
            EXPECT_EQ(error.kind(), ServerError::Kind::Protocol) << text.constData();
        }
    }
    EXPECT_TRUE(davxml::errorNames("<e:error xmlns:e=\"DAV:\"><e:valid-sync-token/></e:error>",
                                   QStringLiteral("valid-sync-token")));
    EXPECT_FALSE(davxml::errorNames("<error xmlns=\"urn:other\"><valid-sync-token/></error>",
                                    QStringLiteral("valid-sync-token")));
}
