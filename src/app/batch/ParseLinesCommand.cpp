#include <array>

#include "batch/BatchCommand.h"
#include "contacts/LineParser.h"

namespace tandor::batch {
namespace {

int runParseLines(const QStringList& args, Context& context) {
    Arguments arguments(args);
    const QStringList lines = arguments.positional();
    if (!arguments.error().isEmpty() || lines.isEmpty() || lines.size() > 5) {
        context.err << "Usage: tandor-batch parse-lines LINE1 [LINE2 LINE3 LINE4 LINE5]\n";
        if (!arguments.error().isEmpty()) {
            context.err << arguments.error() << "\n";
        }
        return kRefused;
    }
    std::array<QString, 5> typed;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        typed[i] = lines[i];
    }
    const LabelLinesParse parse = parseLabelLines(typed);
    if (parse.refused) {
        context.err << kLineOneNeedsSpaceText << "\n";
        return kRefused;
    }
    for (ParsedBox box : kParsedBoxes) {
        if (parse[box].written) {
            context.out << parsedBoxName(box) << ": " << parse[box].text << "\n";
        }
    }
    return kOk;
}

const Registration registration({
    QStringLiteral("parse-lines"),
    QStringLiteral("parse-lines LINE1 [LINE2 LINE3 LINE4 LINE5]"),
    QStringLiteral(
        "Splits label lines into the new contact's boxes as Add Contact does and prints\n"
        "\"name: value\" for each box it fills (FName, MiddleInit, LName, FStreet,\n"
        "SStreet, City, State, Zip). A line 1 without a space is refused."),
    runParseLines,
});

}  // namespace
}  // namespace tandor::batch
