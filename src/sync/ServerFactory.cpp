#include "sync/ServerFactory.h"

#include "sync/CardDavClient.h"

namespace tandor::sync {

std::unique_ptr<AddressBookServer> openAddressBook(const Account& account, const QString& collectionUrl) {
    return std::make_unique<CardDavClient>(account, collectionUrl);
}

}  // namespace tandor::sync
