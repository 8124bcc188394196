#pragma once

#include <QString>
#include <optional>

#include "batch/BatchCommand.h"
#include "sync/AddressBookServer.h"

namespace tandor::batch {

// What both forms of the sync command take to reach the server: --url URL,
// --user NAME, the password (the first line of --password-file FILE, else
// TANDOR_PASSWORD, else none: a server that asks for none needs none; never
// --password on the command line, where other users could read it) and
// --timeout SECONDS (how long the server may send nothing; 30 unless given).
struct SyncOptions {
    sync::Account account;
    int silenceSeconds = sync::kSilenceLimitSeconds;
};

// Takes those options out of `arguments`. Nothing, with the message in
// `error`, for a password on the command line, an unreadable password file
// or a timeout that is not a whole number of seconds from 1 to 86400; --url
// and --user missing are left to the caller's usage line (empty values).
std::optional<SyncOptions> takeSyncOptions(Arguments& arguments, bool& urlGiven, QString& error);

// Writes to stderr that the password travels in the clear, when one is sent
// over plain http:// to another computer.
void warnOfCleartext(const SyncOptions& options, Context& context);

// A server failure's message, with how to give a password when the server
// asked for one and none was given.
QString failureText(const sync::ServerError& failure, const SyncOptions& options);

}  // namespace tandor::batch
