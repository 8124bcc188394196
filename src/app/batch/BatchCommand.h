#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>

#include "platform/AppError.h"

namespace tandor::batch {

// Exit codes of tandor-batch.
inline constexpr int kOk = 0;
inline constexpr int kFailure = 1;  // a failure: a clear message on stderr
inline constexpr int kRefused = 2;  // a refusal: the message the window would show, nothing written

struct Context {
    QString programFolder;  // the chosen program folder (see ProgramFolders.h) unless --program-folder DIR
    QTextStream& out;
    QTextStream& err;
};

// One command of tandor-batch. Each command lives in its own file and
// registers itself with a static Registration.
struct Command {
    QString name;
    QString usage;  // one line: "labels [--positions SPEC] ... -o OUT.pdf LINE1 [LINE2 ... LINE5]"
    QString help;   // a few lines of explanation
    std::function<int(const QStringList& args, Context& context)> run;
    // Whom the standard error text of an AppError the command lets out names.
    NotifyWhom notify = NotifyWhom::Author;
};

void registerCommand(Command command);
const QList<Command>& commands();

// Runs a command. An AppError it lets out ends it with the standard error
// text on stderr and kFailure: the one place the batch tool reports one.
int runBatchCommand(const Command& command, const QStringList& args, Context& context);

struct Registration {
    explicit Registration(Command command) { registerCommand(std::move(command)); }
};

// A small reader of a command's arguments: options with and without values,
// and the positional arguments left over.
class Arguments {
public:
    explicit Arguments(QStringList args);

    // Takes "--name VALUE" (or "--name=VALUE"); empty optional when absent.
    std::optional<QString> take(const QString& name);
    bool takeFlag(const QString& name);
    // The positional arguments; an unknown option left among them is an error
    // reported through error().
    QStringList positional();
    const QString& error() const { return error_; }

private:
    QStringList args_;
    QString error_;
};

// Parses a whole number for an option; sets ok to false on bad text.
int parseInt(const QString& text, bool* ok);

// The contact number N of "FILE.DAT N" in a file of `count` contacts, or 0 when
// N is no number from 1 to count: then stderr has "There is no contact number N
// in FILE: ..." up to its full stop, for the command to end.
int contactNumber(const QString& text, int count, const QString& path, Context& context);

}  // namespace tandor::batch
