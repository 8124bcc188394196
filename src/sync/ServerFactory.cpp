#include "sync/ServerFactory.h"

#include "sync/CardDavClient.h"

namespace tandor::sync {

std::unique_ptr<AddressBookServer> openAddressBook(const Account& account, const QString& collectionUrl,
                                                   int silenceSeconds) {
    auto client = std::make_unique<CardDavClient>(account, collectionUrl);
    client->setTimeoutSeconds(silenceSeconds);
    return client;
}

}  // namespace tandor::sync
