#include "sync/DavXml.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <functional>

#include "sync/AddressBookServer.h"

namespace tandor::sync::davxml {
namespace {

const QString kDav = QStringLiteral("DAV:");
const QString kCardDav = QStringLiteral("urn:ietf:params:xml:ns:carddav");

struct Writer {
    QByteArray text;
    QXmlStreamWriter xml{&text};
    Writer(const QString& name, const QString& ns) {
        xml.setAutoFormatting(false);
        xml.writeStartDocument();
        xml.writeNamespace(kDav, QStringLiteral("d"));
        xml.writeNamespace(kCardDav, QStringLiteral("card"));
        xml.writeStartElement(ns, name);
    }
    void prop(std::initializer_list<std::pair<QString, QString>> names) {
        xml.writeStartElement(kDav, QStringLiteral("prop"));
        for (const auto& [ns, name] : names) {
            xml.writeEmptyElement(ns, name);
        }
        xml.writeEndElement();
    }
    QByteArray finish() {
        xml.writeEndDocument();
        return text;
    }
};

bool is(const QXmlStreamReader& xml, const QString& ns, const char* name) {
    return xml.namespaceUri() == ns && xml.name() == QLatin1String(name);
}

// Reads the hrefs inside the current element, up to its end.
QStringList readHrefs(QXmlStreamReader& xml) {
    QStringList hrefs;
    int level = 1;
    while (level > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (is(xml, kDav, "href")) {
                hrefs << xml.readElementText().trimmed();
            } else {
                ++level;
            }
        } else if (xml.isEndElement()) {
            --level;
        }
    }
    return hrefs;
}

// Skips to the end of the current element, noting which elements it holds.
void readInside(QXmlStreamReader& xml, const std::function<void(QXmlStreamReader&)>& onStart) {
    int level = 1;
    while (level > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++level;
            onStart(xml);
        } else if (xml.isEndElement()) {
            --level;
        }
    }
}

QByteArray withCrLf(const QString& text) {
    QByteArray data = text.toUtf8();
    data.replace("\r\n", "\n");
    data.replace('\r', '\n');
    data.replace("\n", "\r\n");
    return data;
}

// Reads the children of <prop> into `found`.
void readProp(QXmlStreamReader& xml, Response& found) {
    while (xml.readNextStartElement()) {
        if (is(xml, kDav, "getetag")) {
            found.etag = xml.readElementText().trimmed();
        } else if (is(xml, kDav, "displayname")) {
            found.displayName = xml.readElementText().trimmed();
        } else if (is(xml, kDav, "sync-token")) {
            found.syncToken = xml.readElementText().trimmed();
        } else if (is(xml, kDav, "current-user-principal")) {
            const QStringList hrefs = readHrefs(xml);
            found.currentUserPrincipal = hrefs.value(0);
        } else if (is(xml, kCardDav, "addressbook-home-set")) {
            found.addressbookHomeSet = readHrefs(xml);
        } else if (is(xml, kDav, "resourcetype")) {
            readInside(xml, [&found](QXmlStreamReader& r) {
                found.isCollection |= is(r, kDav, "collection");
                found.isAddressBook |= is(r, kCardDav, "addressbook");
            });
        } else if (is(xml, kDav, "supported-report-set")) {
            // <supported-report><report><sync-collection/></report></supported-report>,
            // though some servers leave out the <report> level.
            readInside(xml, [&found](QXmlStreamReader& r) {
                found.offersSyncCollection |= is(r, kDav, "sync-collection");
            });
        } else if (is(xml, kCardDav, "address-data")) {
            found.addressData = withCrLf(xml.readElementText());
        } else {
            xml.skipCurrentElement();
        }
    }
}

void readPropstat(QXmlStreamReader& xml, Response& response) {
    Response found;
    int status = 0;
    while (xml.readNextStartElement()) {
        if (is(xml, kDav, "prop")) {
            readProp(xml, found);
        } else if (is(xml, kDav, "status")) {
            status = statusCode(xml.readElementText());
        } else {
            xml.skipCurrentElement();
        }
    }
    if (response.propStatus == 0 || (status / 100 == 2 && response.propStatus / 100 != 2)) {
        response.propStatus = status;
    }
    if (status / 100 != 2) {
        return;  // 404: properties the resource does not have
    }
    const auto take = [](auto& into, const auto& from) {
        if (!from.isEmpty()) {
            into = from;
        }
    };
    take(response.etag, found.etag);
    take(response.displayName, found.displayName);
    take(response.syncToken, found.syncToken);
    take(response.currentUserPrincipal, found.currentUserPrincipal);
    take(response.addressbookHomeSet, found.addressbookHomeSet);
    take(response.addressData, found.addressData);
    response.isCollection |= found.isCollection;
    response.isAddressBook |= found.isAddressBook;
    response.offersSyncCollection |= found.offersSyncCollection;
}

Response readResponse(QXmlStreamReader& xml) {
    Response response;
    while (xml.readNextStartElement()) {
        if (is(xml, kDav, "href")) {
            response.href = xml.readElementText().trimmed();
        } else if (is(xml, kDav, "status")) {
            response.status = statusCode(xml.readElementText());
        } else if (is(xml, kDav, "propstat")) {
            readPropstat(xml, response);
        } else {
            xml.skipCurrentElement();
        }
    }
    return response;
}

[[noreturn]] void unreadable(const QString& why) {
    throw ServerError(ServerError::Kind::Protocol,
                      QStringLiteral("The server's answer could not be read: %1").arg(why));
}

}  // namespace

QByteArray discoveryPropfind() {
    Writer w(QStringLiteral("propfind"), kDav);
    w.prop({{kDav, QStringLiteral("resourcetype")},
            {kDav, QStringLiteral("displayname")},
            {kDav, QStringLiteral("supported-report-set")},
            {kDav, QStringLiteral("current-user-principal")},
            {kCardDav, QStringLiteral("addressbook-home-set")}});
    return w.finish();
}

QByteArray etagPropfind() {
    Writer w(QStringLiteral("propfind"), kDav);
    w.prop({{kDav, QStringLiteral("resourcetype")},
            {kDav, QStringLiteral("getetag")},
            {kDav, QStringLiteral("sync-token")}});
    return w.finish();
}

QByteArray syncCollectionReport(const QString& token) {
    Writer w(QStringLiteral("sync-collection"), kDav);
    w.xml.writeTextElement(kDav, QStringLiteral("sync-token"), token);
    w.xml.writeTextElement(kDav, QStringLiteral("sync-level"), QStringLiteral("1"));
    w.prop({{kDav, QStringLiteral("getetag")}});
    return w.finish();
}

QByteArray multigetReport(const QStringList& hrefs) {
    Writer w(QStringLiteral("addressbook-multiget"), kCardDav);
    w.prop({{kDav, QStringLiteral("getetag")}, {kCardDav, QStringLiteral("address-data")}});
    for (const QString& href : hrefs) {
        w.xml.writeTextElement(kDav, QStringLiteral("href"), href);
    }
    return w.finish();
}

Multistatus parseMultistatus(const QByteArray& xml) {
    QXmlStreamReader reader(xml);
    Multistatus result;
    if (!reader.readNextStartElement()) {
        unreadable(reader.hasError() ? reader.errorString() : QStringLiteral("it is empty"));
    }
    if (!is(reader, kDav, "multistatus")) {
        unreadable(QStringLiteral("it is not a WebDAV multistatus answer"));
    }
    while (reader.readNextStartElement()) {
        if (is(reader, kDav, "response")) {
            result.responses.push_back(readResponse(reader));
        } else if (is(reader, kDav, "sync-token")) {
            result.syncToken = reader.readElementText().trimmed();
        } else {
            reader.skipCurrentElement();
        }
    }
    if (reader.hasError()) {
        unreadable(reader.errorString());
    }
    return result;
}

bool errorNames(const QByteArray& xml, const QString& precondition) {
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.namespaceUri() == kDav && reader.name() == precondition) {
            return true;
        }
    }
    return false;
}

int statusCode(const QString& statusLine) {
    const QStringList parts = statusLine.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() < 2) {
        return 0;
    }
    bool ok = false;
    const int code = parts[1].toInt(&ok);
    return ok ? code : 0;
}

}  // namespace tandor::sync::davxml
