// Which card addresses a server names lie directly inside the linked address
// book, and when a password would travel in the clear.
#include <gtest/gtest.h>

#include "sync/BookMembership.h"
#include "sync/ServerMessage.h"

namespace tandor::sync {
namespace {

TEST(BookMembership, OnlyCardsDirectlyInsideTheBookOnItsServer) {
    const QString book = QStringLiteral("http://127.0.0.1:5232/ann/my%20book/");
    struct Case {
        const char* href;
        const char* member;  // nullptr: refused
    };
    const std::vector<Case> cases{
        {"/ann/my%20book/a.vcf", "/ann/my%20book/a.vcf"},
        {"/ann/my book/a.vcf", "/ann/my%20book/a.vcf"},
        {"a.vcf", "/ann/my%20book/a.vcf"},
        {"http://127.0.0.1:5232/ann/my%20book/a.vcf", "/ann/my%20book/a.vcf"},
        {"HTTP://127.0.0.1:5232/ann/my%20book/a.vcf", "/ann/my%20book/a.vcf"},
        {"/ann/my%20book/./a%40b.vcf", "/ann/my%20book/a@b.vcf"},
        {"/ann/other/../my%20book/a.vcf", "/ann/my%20book/a.vcf"},
        {"/ann/my%20book/%C3%A9.vcf", "/ann/my%20book/%C3%A9.vcf"},
        // Decoded once only: an encoded percent sign is part of the name.
        {"/ann/my%20book/%252e%252e%252fother.vcf", "/ann/my%20book/%252e%252e%252fother.vcf"},
        {"/ann/my%20book/a%2541.vcf", "/ann/my%20book/a%2541.vcf"},
        // Out of the book by dot segments, plain or encoded.
        {"/ann/my%20book/../../../tmp/x/pwn.vcf", nullptr},
        {"/ann/my%20book/%2e%2e/other.vcf", nullptr},
        {"/ann/my%20book/%2E%2E/%2E%2E/etc/passwd", nullptr},
        {"../other/x.vcf", nullptr},
        // Encoded slashes and backslashes make a folder below, or something else.
        {"/ann/my%20book/sub%2Fx.vcf", nullptr},
        {"/ann/my%20book/%2F..%2F..%2Fetc%2Fpasswd", nullptr},
        {"/ann/my%20book/..%5Cx.vcf", nullptr},
        {"/ann/my%20book/a%00.vcf", nullptr},
        // Elsewhere on the same server.
        {"/other/collection/x.vcf", nullptr},
        {"/etc/passwd", nullptr},
        {"/ann/my%20bookish/x.vcf", nullptr},
        {"/ann/my%20book/sub/x.vcf", nullptr},
        {"/ann/my%20book//x.vcf", nullptr},
        // The book itself.
        {"/ann/my%20book/", nullptr},
        {"/ann/my%20book", nullptr},
        {"/ann/my%20book/.", nullptr},
        {"/ann/my%20book/x/..", nullptr},
        // Another server, port or scheme: refused, not cut down to a path.
        {"http://evil.example/ann/my%20book/a.vcf", nullptr},
        {"//evil.example/ann/my%20book/a.vcf", nullptr},
        {"http://127.0.0.1:5233/ann/my%20book/a.vcf", nullptr},
        {"https://127.0.0.1:5232/ann/my%20book/a.vcf", nullptr},
        {"http://127.0.0.2:5232/ann/my%20book/a.vcf", nullptr},
        {"file:///ann/my%20book/a.vcf", nullptr},
        // A query or fragment names something else than the card.
        {"/ann/my%20book/a.vcf?x=1", nullptr},
        {"/ann/my%20book/a.vcf#x", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.href);
        const std::optional<QString> member = memberPath(book, QString::fromUtf8(c.href));
        if (c.member) {
            ASSERT_TRUE(member.has_value());
            EXPECT_EQ(*member, QString::fromUtf8(c.member));
        } else {
            EXPECT_FALSE(member.has_value()) << member.value_or(QString()).toStdString();
        }
    }
    // The default port is the one the scheme implies, written or not.
    EXPECT_EQ(memberPath(QStringLiteral("https://dav.example/ann/b/"),
                         QStringLiteral("https://DAV.example:443/ann/b/x.vcf")),
              QStringLiteral("/ann/b/x.vcf"));
    EXPECT_FALSE(memberPath(QStringLiteral("https://dav.example/ann/b/"),
                            QStringLiteral("https://dav.example:8443/ann/b/x.vcf")));
    // A book named without its closing slash is the same folder.
    EXPECT_EQ(
        memberPath(QStringLiteral("https://dav.example/ann/b"), QStringLiteral("/ann/b/x.vcf")),
        QStringLiteral("/ann/b/x.vcf"));
}

TEST(CleartextPasswordWarning, OnlyOverPlainHttpToAnotherComputer) {
    struct Case {
        const char* url;
        bool warns;
    };
    const std::vector<Case> cases{
        {"http://dav.example.com/ann/", true},
        {"HTTP://192.168.1.20:5232/", true},
        {"http://localhost:5232/", true},
        {"http://[2001:db8::1]/", true},
        {"http://127.0.0.1:5232/ann/contacts/", false},
        {"http://[::1]:5232/", false},
        {"https://dav.example.com/", false},
        {"dav.example.com", false},  // taken as https://
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        const QString warning = cleartextPasswordWarning(QString::fromUtf8(c.url));
        EXPECT_EQ(!warning.isEmpty(), c.warns) << warning.toStdString();
    }
    EXPECT_EQ(cleartextPasswordWarning(QStringLiteral("http://dav.example.com:8080/ann/")),
              QStringLiteral(
                  "The password travels in the clear to dav.example.com: anyone on the network in "
                  "between can read it. Use an https:// address if the server offers one."));
}

}  // namespace
}  // namespace tandor::sync
