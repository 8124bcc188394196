#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpServer>

namespace tandor::test {

// A loopback HTTP/1.1 proxy in front of a test server that, on demand, fails
// the way real servers do: it answers 500, stalls without answering, or cuts
// a sync-collection answer with 507. One request per connection.
class FaultProxy : public QObject {
public:
    enum class Fault {
        None,         // relays every request
        Error500,     // answers every request with 500 Internal Server Error
        Stall,        // reads the request and never answers
        Truncate507,  // answers a REPORT sync-collection with a 507 multistatus; relays the rest
        RefuseToken,  // answers a REPORT sync-collection with 403 valid-sync-token; relays the rest
        BearerOnly,   // answers 401 asking only for an OAuth (Bearer) sign-in
    };
    // Relays to the server of `target` (http://127.0.0.1:PORT/...).
    explicit FaultProxy(const QString& target);

    // The fault from the request after the first `afterRequests`, which are
    // relayed (a sync that fails part-way).
    void setFault(Fault fault, int afterRequests = 0) {
        fault_ = fault;
        relayFirst_ = afterRequests;
    }
    // This proxy's URL for the target URL: the same path at the proxy's port.
    QString url(const QString& targetUrl) const;
    int faultsInjected() const { return faultsInjected_; }

private:
    void answer(class QTcpSocket* client, const QByteArray& request);

    QTcpServer server_;
    QString targetHost_;
    quint16 targetPort_;
    Fault fault_ = Fault::None;
    int relayFirst_ = 0;
    int faultsInjected_ = 0;
};

}  // namespace tandor::test
