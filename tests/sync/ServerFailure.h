#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <functional>

#include "sync/AddressBookServer.h"

namespace tandor::sync {

// The kind of ServerError a call throws (and its message into `message`);
// a call that throws none fails the test.
inline ServerError::Kind failureOf(const std::function<void()>& call, QString* message = nullptr) {
    try {
        call();
    } catch (const ServerError& error) {
        if (message) {
            *message = error.message();
        }
        return error.kind();
    }
    ADD_FAILURE() << "no ServerError";
    return ServerError::Kind::Protocol;
}

}  // namespace tandor::sync
