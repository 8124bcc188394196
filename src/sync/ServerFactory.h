#pragma once

#include <QString>
#include <memory>

#include "sync/AddressBookServer.h"

namespace tandor::sync {

// The address book at a collection URL ("https://dav.example.com/ann/contacts/"),
// reached with the account's user and password; a request fails when the
// server sent nothing for `silenceSeconds`. Throws ServerError when it cannot
// be reached.
std::unique_ptr<AddressBookServer> openAddressBook(const Account& account, const QString& collectionUrl,
                                                   int silenceSeconds = kSilenceLimitSeconds);

}  // namespace tandor::sync
