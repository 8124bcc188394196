// TDRPARAM.TXT of arbitrary bytes: reading the adjustment of each print path,
// then a Margins command that answers its two questions with texts of the
// input and rewrites the file.
//
// Input: one byte choosing the Margins command, the left answer up to a line
// feed, the top answer up to a line feed, then the bytes of the file.
#include <QByteArray>
#include <QDir>
#include <QFile>

#include "FuzzSupport.h"
#include "platform/Ansi.h"
#include "platform/AppError.h"
#include "platform/Numbers.h"
#include "sheets/AdjustmentFile.h"

using namespace tandor;

namespace {

constexpr qsizetype kSlot = 18;

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

bool slotNamed(const QByteArray& bytes, qsizetype n, const QString& name) {
    QByteArray field = bytes.mid(n * kSlot, 8);
    field.append(QByteArray(8 - field.size(), ' '));
    QString stored = fromAnsi(field);
    while (stored.endsWith(QLatin1Char(' '))) {
        stored.chop(1);
    }
    return stored == name;
}

// The adjustment of a name, or the error number reading it gave.
struct Read {
    Adjustment adjustment;
    int error = 0;
};
Read readNamed(const QString& folder, const QString& name) {
    Read read;
    try {
        read.adjustment = readAdjustment(folder, name);
    } catch (const AppError& e) {
        read.error = e.number();
    }
    return read;
}

bool accepted(const QString& entry) {
    return !entry.isEmpty() && entry.size() <= 3 && readsAsNumber(entry);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const auto kind = static_cast<MarginsKind>(data[0] % 3);
    const QList<QByteArray> parts = fuzz::splitBytes(
        QByteArray(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1)), 3);
    const QString left = QString::fromUtf8(parts.value(0));
    const QString top = QString::fromUtf8(parts.value(1));
    const QByteArray before = parts.value(2);

    const QString folder = fuzz::scratchFolder();
    const QString path = QDir(folder).filePath(kAdjustmentFileName);
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(before);
    }
    for (const QString& name : {kOnTheFly, kEnvelope, kBulkList}) {
        const Read read = readNamed(folder, name);
        fuzz::check(read.error == 0 || read.error == 13 || read.error == errors::kOverflow,
                    "a field that is not a number is a type mismatch or an overflow");
        if (read.error == 0) {
            const Adjustment in = adjustmentIn(before, name);
            fuzz::check(in.left == read.adjustment.left && in.top == read.adjustment.top,
                        "the file reads as its bytes do");
        }
    }

    // Each question is answered once with the input's text; asked again (after
    // a refusal) it is cancelled.
    const MarginsQuestions questions = marginsQuestions(kind);
    QStringList entries;
    const std::pair<QString, MarginsEntryQuestion> answers[] = {{left, questions.left},
                                                                {top, questions.top}};
    for (const auto& [text, question] : answers) {
        const bool refused = marginsEntryRefusal(text, question).has_value();
        fuzz::check(refused == (!text.isEmpty() && !accepted(text)),
                    "an answer is refused unless empty or a number of at most 3 characters");
        entries << (refused ? QString() : text);
    }
    try {
        if (!entries[0].isEmpty() || !entries[1].isEmpty()) {
            addToAdjustment(folder, adjustmentName(kind), entries[0], entries[1]);
        }
    } catch (const AppError& e) {
        fuzz::fail("the Margins command failed on a healthy disk", e.description());
    }

    const QString name = adjustmentName(kind);
    const QByteArray after = fileBytes(path);
    if (accepted(left) || accepted(top)) {
        // The other paths' slots keep their bytes.
        const qsizetype whole = std::min(before.size(), after.size()) / kSlot;
        for (qsizetype n = 0; n < whole; ++n) {
            if (!slotNamed(before, n, name)) {
                fuzz::check(before.mid(n * kSlot, kSlot) == after.mid(n * kSlot, kSlot),
                            "a slot of another path keeps its bytes", QString::number(n));
            }
        }
    } else {
        fuzz::check(after == before, "no answer, no change");
    }
    if (accepted(left) && accepted(top)) {
        const Read read = readNamed(folder, name);
        fuzz::check(read.error == 0, "an adjusted path reads as numbers",
                    QString::number(read.error));
        fuzz::check(read.adjustment.left >= -99 && read.adjustment.left <= 999 &&
                        read.adjustment.top >= -99 && read.adjustment.top <= 999,
                    "an adjustment fits its field");
    }
    return 0;
}
