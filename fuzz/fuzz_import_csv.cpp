// The CSV import from the first byte to the records written: encoding,
// reading, header recognition, each layout's taking and cleaning of values,
// the duplicate test, and the appending of records to a contacts file. The
// input is imported into an empty file, then a second time into the same file
// (so that the duplicate test meets the contacts of the first run); each time
// the preview of the run must show exactly the records the run writes.
#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>

#include "FuzzSupport.h"
#include "exchange/DuplicateCheck.h"
#include "exchange/ImportRun.h"
#include "exchange/ImportValues.h"
#include "store/ContactsFile.h"

using namespace tandor;

namespace {

// The shared checks of an imported record, and the file's reminder setting.
void checkRecords(const ContactsFile& file, int from) {
    fuzz::checkImportedRecords(file, from);
    for (int n = from; n <= file.recordCount(); ++n) {
        fuzz::check(file.read(n).rawField(Field::BirthdayReminder) == QLatin1String("1"),
                    "the reminder setting of the file");
    }
}

void importOnce(const QByteArray& data, ContactsFile& file) {
    const int before = file.recordCount();
    // The preview (tandor-batch import --dry-run) tells the records the run writes.
    QList<QByteArray> previewed;
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    const ImportOutcome preview =
        previewCsv(buffer, DuplicateCheck(file, before),
                   [&previewed](const ContactRecord& r) { previewed.append(r.bytes()); });

    const ImportOutcome outcome = importCsv(data, file);
    fuzz::check(preview.result == outcome.result && preview.written == outcome.written &&
                    preview.duplicates == outcome.duplicates &&
                    preview.withoutName == outcome.withoutName &&
                    preview.skippedByLayout == outcome.skippedByLayout,
                "the preview counts as the run does",
                QStringLiteral("written %1/%2").arg(preview.written).arg(outcome.written));
    fuzz::check(previewed.size() == outcome.written, "one previewed record for each written");
    for (int i = 0; i < previewed.size(); ++i) {
        fuzz::check(file.read(before + 1 + i).bytes() == previewed[i],
                    "the run writes the records the preview showed", QString::number(i));
    }
    if (outcome.result == ImportResult::Failed) {
        // The only failure of a run on a healthy disk: a file without a first line.
        fuzz::check(outcome.error && outcome.error->number() == errors::kInputPastEnd,
                    "an import fails only on an empty file",
                    outcome.error ? outcome.error->description() : QString());
    }
    if (outcome.result == ImportResult::NoRecognisedHeader ||
        outcome.result == ImportResult::NotCompatible) {
        fuzz::check(outcome.written == 0, "nothing written without a usable header");
    }
    const qint64 length = QFileInfo(file.path()).size();
    fuzz::check(length == static_cast<qint64>(before + outcome.written) * kRecordSize,
                "the file grows by whole records, one for each contact written",
                QStringLiteral("length %1, written %2").arg(length).arg(outcome.written));
    checkRecords(file, before + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray csv(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ContactsFile file;
    file.open(fuzz::scratchFile(QStringLiteral("import.DAT")));
    importOnce(csv, file);
    importOnce(csv, file);
    return 0;
}
