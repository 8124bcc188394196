#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "list/BulkLabels.h"

namespace tandor {

class Platform;

// The checks of "Print labels" and of its preview (checkBulkLabels), told to
// the user: an unreadable adjustment or record shows the printer-error
// message, an empty list (also one left empty by leaving contacts out) shows
// kEmptyListText titled kEmptyListTitle, and the question about contacts
// without an address is asked (Yes leaves them out, No prints them as they
// are, Cancel prints nothing). None when refused; the reason goes to
// `refusal` when given.
std::optional<PrintJob> preparedBulkLabels(Platform& platform, const QString& programFolder,
                                          const std::vector<ListEntry>& lines,
                                          const std::function<ContactRecord(int)>& readRecord,
                                          const LabelSheet& sheet, BulkLabelsOutcome* refusal = nullptr);

// "Print labels": the checks above, then the job on the sheet. Never throws: a
// failure abandons the document being printed and shows the printer-error
// message; a job stopped in its progress counts as cancelled.
BulkLabelsOutcome runBulkLabelsCommand(Platform& platform, const QString& programFolder,
                                       const std::vector<ListEntry>& lines,
                                       const std::function<ContactRecord(int)>& readRecord,
                                       const LabelSheet& sheet = defaultLabelSheet());

}  // namespace tandor
