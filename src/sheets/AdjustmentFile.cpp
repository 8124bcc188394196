#include "sheets/AdjustmentFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

#include "platform/Ansi.h"
#include "platform/AppError.h"
#include "platform/FaultPoint.h"
#include "platform/Numbers.h"

namespace tandor {
namespace {

// Slot layout: name 0-7, separator 8, left 9-11, separator 12, top 13-15,
// two bytes the program never sets.
constexpr qsizetype kSlotSize = 18;
constexpr qsizetype kRecordSize = 16;
constexpr qsizetype kNameWidth = 8;
constexpr qsizetype kLeftOffset = 9;
constexpr qsizetype kTopOffset = 13;
constexpr qsizetype kFieldWidth = 3;

constexpr int kTypeMismatch = 13;
constexpr double kFieldMin = -99.0;
constexpr double kFieldMax = 999.0;

QString filePath(const QString& programFolder) {
    return QDir(programFolder).filePath(kAdjustmentFileName);
}

// The number of records: the length over 18, an exact half to the even neighbour.
qsizetype slotCount(qsizetype length) {
    return static_cast<qsizetype>(roundHalfEven(static_cast<double>(length) / kSlotSize));
}

// Slot n (from 0); the bytes a short last slot lacks read as blanks.
QByteArray slotAt(const QByteArray& bytes, qsizetype n) {
    QByteArray slot = bytes.mid(n * kSlotSize, kSlotSize);
    if (slot.size() < kSlotSize) {
        slot.append(QByteArray(kSlotSize - slot.size(), ' '));
    }
    return slot;
}

bool nameMatches(const QByteArray& slot, const QString& name) {
    QString stored = fromAnsi(QByteArrayView(slot).first(kNameWidth));
    while (stored.endsWith(QLatin1Char(' '))) {
        stored.chop(1);
    }
    return stored == name;
}

QString fieldText(const QByteArray& slot, qsizetype offset) {
    return fromAnsi(QByteArrayView(slot).sliced(offset, kFieldWidth));
}

int readField(const QByteArray& slot, qsizetype offset) {
    const QString text = fieldText(slot, offset);
    if (!readsAsNumber(text)) {
        throw AppError(kTypeMismatch, QStringLiteral("Type mismatch"));
    }
    return toInt16(leadingNumber(text));
}

// A decimal text that fits the field if it can: a fraction too long with its
// leading zero drops it ("-0.5" -> "-.5").
QString fittingDecimal(double value) {
    QString text = shortestDecimal(value);
    if (text.size() > kFieldWidth) {
        if (text.startsWith(QLatin1String("0."))) {
            text.remove(0, 1);
        } else if (text.startsWith(QLatin1String("-0."))) {
            text.remove(1, 1);
        }
    }
    return text;
}

// The text stored for a new adjustment: its shortest decimal form when that
// fits the field, else the nearest value that fits (whole numbers are kept
// within -99..999, fractions lose decimals).
QString storedText(double value) {
    value = std::clamp(value, kFieldMin, kFieldMax);
    QString text = fittingDecimal(value);
    for (int decimals = 2; text.size() > kFieldWidth && decimals >= 0; --decimals) {
        const double scale = std::pow(10.0, decimals);
        text = fittingDecimal(static_cast<double>(roundHalfEven(value * scale)) / scale);
    }
    return text;
}

void addEntry(QByteArray& slot, qsizetype offset, const QString& entry) {
    if (entry.isEmpty()) {
        return;
    }
    const double sum = leadingNumber(fieldText(slot, offset)) + leadingNumber(entry);
    const QByteArray field =
        toAnsi(storedText(sum).leftJustified(kFieldWidth, QLatin1Char(' '), true));
    slot.replace(offset, kFieldWidth, field);
}

QByteArray defaultSlot(const QString& name) {
    QByteArray slot = toAnsi(name.leftJustified(kNameWidth, QLatin1Char(' '), true));
    slot += " 0   0  \r\n";
    return slot;
}

QByteArray readWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw AppError(errors::kPathFileAccess, QStringLiteral("Path/File access error"));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw AppError(errors::kDeviceIo, QStringLiteral("Device I/O error"));
    }
    return bytes;
}

void writeWholeFile(const QString& path, const QByteArray& bytes) {
    fault::hit("adjustments.open");
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        throw AppError(errors::kPathFileAccess, QStringLiteral("Path/File access error"));
    }
    fault::hit("adjustments.write");
    // The bytes are flushed before the commit: a commit that meets a full disk
    // while it flushes still puts the short copy in the file's place.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        throw AppError(errors::kDeviceIo, QStringLiteral("Device I/O error"));
    }
    fault::hit("adjustments.commit");
    if (!file.commit()) {
        throw AppError(errors::kDeviceIo, QStringLiteral("Device I/O error"));
    }
}

struct MarginsTexts {
    QString leftIntro;
    QString topIntro;
};

MarginsTexts marginsTexts(MarginsKind kind) {
    const QString leftExample = QStringLiteral(
        "  Example: -1 to move printing one character to left, -2 to move printing two characters "
        "to left, 1 to move printing one character to right, etc.");
    const QString topExample = QStringLiteral(
        "  Example: -1 to move printing one row higher, -2 to move printing two rows higher, 1 to "
        "move printing one row lower, etc.");
    const QString leftStart = QStringLiteral(
        "In the next box, enter a positive or negative number indicating how many characters to "
        "the "
        "right or left you want to move the print for ");
    const QString topStart = QStringLiteral(
        "In the next box, enter a positive or negative number indicating how many rows down or up "
        "you want to move the print for ");
    switch (kind) {
        case MarginsKind::OnTheFly:
            return {leftStart + QStringLiteral("an on-the-fly label.") + leftExample,
                    topStart + QStringLiteral("an on-the-fly label.") + topExample};
        case MarginsKind::SearchResultLabels:
            return {
                leftStart +
                    QStringLiteral("Search-result labels (labels found via 'Search Contacts').") +
                    leftExample,
                topStart + QStringLiteral("Search-result labels.") + topExample};
        case MarginsKind::Envelope:
            return {leftStart + QStringLiteral("an envelope.") + leftExample +
                        QStringLiteral(
                            " Note: some printers print envelopes sideways, which may cause left "
                            "and top margins to be reversed.  If you find that to be the case, "
                            "simply reverse them here accordingly."),
                    topStart + QStringLiteral("an envelope.") + topExample};
    }
    return {};
}

}  // namespace

QByteArray defaultAdjustmentFile() {
    return defaultSlot(kOnTheFly) + defaultSlot(kEnvelope) + defaultSlot(kBulkList);
}

Adjustment adjustmentIn(const QByteArray& fileBytes, const QString& name) {
    Adjustment adjustment;
    const qsizetype count = slotCount(fileBytes.size());
    for (qsizetype n = 0; n < count; ++n) {
        const QByteArray slot = slotAt(fileBytes, n);
        if (nameMatches(slot, name)) {
            adjustment.left = readField(slot, kLeftOffset);
            adjustment.top = readField(slot, kTopOffset);
        }
    }
    return adjustment;
}

bool adjustmentsAllZero(const QString& programFolder) {
    const QString path = filePath(programFolder);
    if (!QFile::exists(path)) {
        return true;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = file.readAll();
    try {
        for (const QString& name : {kOnTheFly, kEnvelope, kBulkList}) {
            const Adjustment a = adjustmentIn(bytes, name);
            if (a.left != 0 || a.top != 0) {
                return false;
            }
        }
    } catch (const AppError&) {
        return false;  // a field that is not a number
    }
    return true;
}

Adjustment readAdjustment(const QString& programFolder, const QString& name) {
    const QString path = filePath(programFolder);
    if (!QFile::exists(path)) {
        QFile created(path);
        if (!created.open(QIODevice::WriteOnly)) {
            throw AppError(errors::kPathFileAccess, QStringLiteral("Path/File access error"));
        }
        return {};
    }
    return adjustmentIn(readWholeFile(path), name);
}

void addToAdjustment(const QString& programFolder, const QString& name, const QString& leftEntry,
                     const QString& topEntry) {
    const QString path = filePath(programFolder);
    QByteArray bytes = QFile::exists(path) ? readWholeFile(path) : defaultAdjustmentFile();

    const qsizetype count = slotCount(bytes.size());
    bool found = false;
    for (qsizetype n = 0; n < count; ++n) {
        QByteArray slot = slotAt(bytes, n);
        if (!nameMatches(slot, name)) {
            continue;
        }
        found = true;
        addEntry(slot, kLeftOffset, leftEntry);
        addEntry(slot, kTopOffset, topEntry);
        // The record part only: separators come back as read, the last two
        // bytes of the slot are left alone.
        const qsizetype offset = n * kSlotSize;
        const qsizetype present = std::min(bytes.size() - offset, kRecordSize);
        bytes.replace(offset, present, slot.first(kRecordSize));
    }
    if (!found) {
        // A new slot after the last one; stray bytes beyond the last whole
        // slot are covered, a short last slot is filled out with blanks.
        QByteArray slot = defaultSlot(name);
        addEntry(slot, kLeftOffset, leftEntry);
        addEntry(slot, kTopOffset, topEntry);
        const qsizetype offset = count * kSlotSize;
        if (bytes.size() < offset) {
            bytes.append(QByteArray(offset - bytes.size(), ' '));
        }
        bytes.truncate(offset);
        bytes.append(slot);
    }
    writeWholeFile(path, bytes);
}

QString adjustmentName(MarginsKind kind) {
    switch (kind) {
        case MarginsKind::OnTheFly:
            return kOnTheFly;
        case MarginsKind::SearchResultLabels:
            return kBulkList;
        case MarginsKind::Envelope:
            return kEnvelope;
    }
    return kOnTheFly;
}

MarginsQuestions marginsQuestions(MarginsKind kind) {
    const MarginsTexts texts = marginsTexts(kind);
    return {
        {texts.leftIntro, QStringLiteral("Left margin adjustment"),
         QStringLiteral("Enter number of characters, positive or negative, to move right or left, "
                        "respectively:"),
         QStringLiteral("How many characters right or left?"),
         QStringLiteral("Enter no. of characters to move right or left.")},
        {texts.topIntro, QStringLiteral("Top margin adjustment"),
         QStringLiteral(
             "Enter number of characters, positive or negative, to move down or up, respectively:"),
         QStringLiteral("How many characters down or up?"),
         QStringLiteral("Enter no. of characters to move down or up.")},
    };
}

std::optional<QString> marginsEntryRefusal(const QString& entry,
                                           const MarginsEntryQuestion& question) {
    if (entry.isEmpty()) {
        return std::nullopt;
    }
    if (entry.size() > kFieldWidth) {
        return QStringLiteral("Number too high.");
    }
    if (!readsAsNumber(entry)) {
        return question.notNumber;
    }
    return std::nullopt;
}

}  // namespace tandor
