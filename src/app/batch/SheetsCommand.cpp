#include "batch/BatchCommand.h"
#include "sheets/LabelSheet.h"
#include "sheets/SheetSearch.h"

#include <algorithm>
#include <array>

namespace tandor::batch {
namespace {

constexpr int kColumns = 7;
// The widest each column may be: the name for --sheet, last, is never cut and
// starts at column 100 at the latest, so that a row with a name of up to 21
// characters (nearly every sheet's) reads in 120 columns.
constexpr std::array<qsizetype, kColumns> kWidest{13, 24, 21, 6, 18, 5, 0};
// A cell cut to its column's width, ending in "..." when cut.
QString cell(const QString& text, int column) {
    const qsizetype widest = kWidest[static_cast<std::size_t>(column)];
    if (widest == 0 || text.size() <= widest) {
        return text;
    }
    return text.left(widest - 3).trimmed() + QStringLiteral("...");
}

int runSheets(const QStringList& args, Context& context) {
    Arguments arguments(args);
    const std::optional<QString> search = arguments.take(QStringLiteral("--search"));
    const QStringList extra = arguments.positional();
    if (!arguments.error().isEmpty()) {
        context.err << arguments.error() << "\n";
        return kFailure;
    }
    if (!extra.isEmpty()) {
        context.err << "sheets takes only --search TEXT (the words of TEXT all must match)\n";
        return kFailure;
    }
    const QList<const LabelSheet*> found = searchSheets(search.value_or(QString()));
    if (found.isEmpty()) {
        context.err << "no label sheet matches " << *search
                    << ": search for a part number (5160), a maker (Avery) or a word of the description\n";
        return kFailure;
    }
    // One row a sheet, in columns as wide as their widest entry, up to kWidest.
    using Row = std::array<QString, kColumns>;
    QList<Row> rows{{QStringLiteral("Maker"), QStringLiteral("Part"), QStringLiteral("Description"),
                     QStringLiteral("Paper"), QStringLiteral("Label size"), QStringLiteral("Count"),
                     QStringLiteral("Name for --sheet")}};
    for (const LabelSheet* sheet : found) {
        Row row{sheet->maker, shortPartNumbers(*sheet), sheet->detail, sheet->paperName(), labelSizeText(*sheet),
                QString::number(sheet->count()), sheet->name};
        for (int c = 0; c < kColumns; ++c) {
            row[static_cast<std::size_t>(c)] = cell(row[static_cast<std::size_t>(c)], c);
        }
        rows.append(row);
    }
    std::array<qsizetype, kColumns> widths{};
    for (const Row& row : rows) {
        for (int c = 0; c < kColumns; ++c) {
            widths[c] = std::max(widths[c], row[c].size());
        }
    }
    for (const Row& row : rows) {
        QString line;
        for (int c = 0; c < kColumns; ++c) {
            // The count stands right-aligned; the last column takes no padding.
            line += c == 5 ? row[c].rightJustified(widths[c]) : c == kColumns - 1 ? row[c] : row[c].leftJustified(widths[c]);
            if (c < kColumns - 1) {
                line += QStringLiteral("  ");
            }
        }
        context.out << line << "\n";
    }
    return kOk;
}

const Registration registration{Command{
    QStringLiteral("sheets"), QStringLiteral("sheets [--search TEXT]"),
    QStringLiteral("Lists the label sheets: maker, part numbers, description, paper, label size,\n"
                   "labels a sheet and, last, the NAME that --sheet takes. --search TEXT lists\n"
                   "the sheets whose maker, part number or description holds every word of TEXT\n"
                   "(any case). --sheet also takes a part number, alone or after the maker\n"
                   "(\"Avery 5160\"); one that several sheets share is refused with their names."),
    runSheets}};

}  // namespace
}  // namespace tandor::batch
