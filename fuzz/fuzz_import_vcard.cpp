// The vCard import from the first byte to the records written: unfolding,
// quoted-printable, character sets, parameters, the choice of each field, the
// cleaning and the duplicate test. The input is made a vCard file (a first
// line BEGIN:VCARD is put in front when it has none), imported into an empty
// contacts file, then a second time into the same file; each time the preview
// of the run must show exactly the records the run writes, and every card
// must be counted once.
#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>

#include "FuzzSupport.h"
#include "exchange/DuplicateCheck.h"
#include "exchange/ImportRun.h"
#include "exchange/ImportValues.h"
#include "exchange/VcardReader.h"
#include "store/ContactsFile.h"

using namespace tandor;

namespace {

// The cards the reader finds, counted apart from the import.
int cardsIn(const QByteArray& data) {
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    VcardReader reader(buffer);
    int cards = 0;
    while (reader.next()) {
        ++cards;
    }
    return cards;
}

void importOnce(const QByteArray& data, ContactsFile& file, int cards) {
    const int before = file.recordCount();
    QList<QByteArray> previewed;
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    const ImportOutcome preview =
        previewContacts(buffer, DuplicateCheck(file, before),
                        [&previewed](const ContactRecord& r) { previewed.append(r.bytes()); });

    const ImportOutcome outcome = importContacts(data, file);
    fuzz::check(outcome.result == ImportResult::Done, "a vCard run always ends",
                outcome.error ? outcome.error->description() : QString());
    fuzz::check(outcome.layout == QLatin1String("vCard"), "the file is read as vCard");
    fuzz::check(preview.result == outcome.result && preview.written == outcome.written &&
                    preview.duplicates == outcome.duplicates &&
                    preview.withoutName == outcome.withoutName &&
                    preview.unreadable == outcome.unreadable,
                "the preview counts as the run does");
    fuzz::check(
        outcome.written + outcome.duplicates + outcome.withoutName + outcome.unreadable == cards,
        "every card is counted once",
        QStringLiteral("%1 cards, written %2").arg(cards).arg(outcome.written));
    fuzz::check(previewed.size() == outcome.written, "one previewed record for each written");
    for (int i = 0; i < previewed.size(); ++i) {
        fuzz::check(file.read(before + 1 + i).bytes() == previewed[i],
                    "the run writes the records the preview showed", QString::number(i));
    }
    const qint64 length = QFileInfo(file.path()).size();
    fuzz::check(length == static_cast<qint64>(before + outcome.written) * kRecordSize,
                "the file grows by whole records, one for each contact written");
    fuzz::checkImportedRecords(file, before + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray vcf(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer probe(&vcf);
    probe.open(QIODevice::ReadOnly);
    if (!isVcard(probe)) {
        vcf.prepend("BEGIN:VCARD\r\n");
    }
    const int cards = cardsIn(vcf);
    ContactsFile file;
    file.open(fuzz::scratchFile(QStringLiteral("import.DAT")));
    importOnce(vcf, file, cards);
    importOnce(vcf, file, cards);
    return 0;
}
