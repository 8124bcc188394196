#pragma once

#include <QString>
#include <optional>

namespace tandor::sync {

// Where an address-book password is kept: the desktop's secret store (through
// Qt Keychain), never a file of the program's. Where no secret store runs, the
// password lives only in memory for the rest of the session, and the program
// asks for it again next time.
class PasswordStore {
public:
    // A secret store that does not answer within this time counts as none
    // for that call; the store may still answer it later.
    static constexpr int kDefaultWaitMs = 10000;
    explicit PasswordStore(int waitMs = kDefaultWaitMs) : waitMs_(waitMs) {}

    enum class Kept {
        InSecretStore,  // saved in the desktop's secret store
        ForThisSession  // no secret store answered: kept in memory only
    };

    // The key of an account's password: user and server, so two accounts on
    // one server, or one user on two servers, never share it.
    static QString keyFor(const QString& serverUrl, const QString& user);

    // The password of an account: from this session's memory, else from the
    // secret store; nothing when neither has it (the caller asks the user).
    std::optional<QString> read(const QString& serverUrl, const QString& user);
    // Keeps a password the user typed: in the secret store when one runs,
    // and in this session's memory in any case.
    Kept write(const QString& serverUrl, const QString& user, const QString& password);
    // Forgets an account's password (a wrong password, an account removed).
    void forget(const QString& serverUrl, const QString& user);

    // Why the secret store last failed, for the account window ("" when it worked).
    const QString& lastProblem() const { return lastProblem_; }

private:
    int waitMs_;
    QString lastProblem_;
};

}  // namespace tandor::sync
