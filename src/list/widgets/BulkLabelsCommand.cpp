#include "list/widgets/BulkLabelsCommand.h"

#include "platform/Platform.h"
#include "print/PrinterProblem.h"

namespace tandor {
namespace {

NoAddressChoice choiceOf(MessageAnswer answer) {
    switch (answer) {
        case MessageAnswer::Yes:
            return NoAddressChoice::LeaveOut;
        case MessageAnswer::No:
            return NoAddressChoice::PrintAsTheyAre;
        default:
            return NoAddressChoice::PrintNothing;
    }
}

}  // namespace

std::optional<PrintJob> preparedBulkLabels(Platform& platform, const QString& programFolder,
                                          const std::vector<ListEntry>& lines,
                                          const std::function<ContactRecord(int)>& readRecord,
                                          const LabelSheet& sheet, BulkLabelsOutcome* refusal) {
    BulkLabelsCheck check = checkBulkLabels(programFolder, lines, readRecord);
    NoAddressChoice choice = NoAddressChoice::PrintAsTheyAre;
    if (!check.refusal && check.noAddressQuestion) {
        choice = choiceOf(platform.message(*check.noAddressQuestion, kNoAddressTitle, MessageIcon::Exclamation,
                                           MessageButtons::YesNoCancel));
    }
    BulkLabelsOutcome why = BulkLabelsOutcome::PrinterProblem;
    std::optional<PrintJob> job = bulkLabelsJobAfter(std::move(check), lines, readRecord, sheet, choice, &why);
    if (job) {
        return job;
    }
    if (why == BulkLabelsOutcome::PrinterProblem) {
        reportPrinterProblem(platform, nullptr);
    } else if (why == BulkLabelsOutcome::EmptyList) {
        platform.message(kEmptyListText, kEmptyListTitle, MessageIcon::None, MessageButtons::Ok);
    }
    if (refusal != nullptr) {
        *refusal = why;
    }
    return std::nullopt;
}

BulkLabelsOutcome runBulkLabelsCommand(Platform& platform, const QString& programFolder,
                                       const std::vector<ListEntry>& lines,
                                       const std::function<ContactRecord(int)>& readRecord,
                                       const LabelSheet& sheet) {
    BulkLabelsOutcome refusal = BulkLabelsOutcome::PrinterProblem;
    const std::optional<PrintJob> job = preparedBulkLabels(platform, programFolder, lines, readRecord, sheet, &refusal);
    if (!job) {
        return refusal;
    }
    switch (runPrintJob(platform, *job).outcome) {
        case JobOutcome::Printed:
            return BulkLabelsOutcome::Printed;
        case JobOutcome::DialogCancelled:
        case JobOutcome::Stopped:
            return BulkLabelsOutcome::Cancelled;
        case JobOutcome::Failed:
            break;
    }
    return BulkLabelsOutcome::PrinterProblem;
}

}  // namespace tandor
