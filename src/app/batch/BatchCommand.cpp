#include "batch/BatchCommand.h"

namespace tandor::batch {

namespace {
QList<Command>& registry() {
    static QList<Command> list;
    return list;
}
}  // namespace

void registerCommand(Command command) {
    registry().append(std::move(command));
}

const QList<Command>& commands() {
    return registry();
}

int runBatchCommand(const Command& command, const QStringList& args, Context& context) {
    try {
        return command.run(args, context);
    } catch (const AppError& error) {
        context.err << standardErrorText(error, command.notify) << "\n";
        return kFailure;
    }
}

Arguments::Arguments(QStringList args) : args_(std::move(args)) {}

std::optional<QString> Arguments::take(const QString& name) {
    for (qsizetype i = 0; i < args_.size(); ++i) {
        if (args_[i] == QLatin1String("--")) {
            break;
        }
        if (args_[i] == name) {
            if (i + 1 >= args_.size()) {
                error_ = name + QStringLiteral(" needs a value");
                args_.removeAt(i);
                return std::nullopt;
            }
            const QString value = args_[i + 1];
            args_.remove(i, 2);
            return value;
        }
        if (args_[i].startsWith(name + QLatin1Char('='))) {
            const QString value = args_[i].mid(name.size() + 1);
            args_.removeAt(i);
            return value;
        }
    }
    return std::nullopt;
}

bool Arguments::takeFlag(const QString& name) {
    for (qsizetype i = 0; i < args_.size(); ++i) {
        if (args_[i] == QLatin1String("--")) {
            break;
        }
        if (args_[i] == name) {
            args_.removeAt(i);
            return true;
        }
    }
    return false;
}

QStringList Arguments::positional() {
    QStringList out;
    bool literal = false;
    for (const QString& a : args_) {
        if (!literal && a == QLatin1String("--")) {
            literal = true;
            continue;
        }
        if (!literal && a.startsWith(QLatin1String("--")) && error_.isEmpty()) {
            error_ = QStringLiteral("unknown option ") + a;
        }
        out.append(a);
    }
    return out;
}

int parseInt(const QString& text, bool* ok) {
    return text.trimmed().toInt(ok);
}

int contactNumber(const QString& text, int count, const QString& path, Context& context) {
    bool isNumber = false;
    const int n = parseInt(text, &isNumber);
    if (isNumber && n >= 1 && n <= count) {
        return n;
    }
    context.err << "There is no contact number " << text << " in " << path;
    if (count == 0) {
        context.err << ": the file holds no contacts.";
    } else {
        context.err << ": its contacts are numbered 1 to " << count << ".";
    }
    return 0;
}

}  // namespace tandor::batch
