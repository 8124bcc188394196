// A long random run against a model: thousands of random operations on a
// contacts file (add through the save pass, edit, delete, import of generated
// CSV files, export and re-import, reminders on and off, closing and opening)
// and on a plain list of the records the file must hold. After every operation
// the file is compared with the model byte for byte; every 100 operations it
// is also read back field by field.
//
// The run is seeded, so a failure is reproducible. Its length, seed and folder
// come from the environment (defaults: 3000 operations, seed 20260301, a
// folder in /dev/shm when there is one, else in the temporary folder):
//
//   TANDOR_MODEL_OPS=100000 TANDOR_MODEL_SEED=7 TANDOR_MODEL_DIR=/var/tmp
//   build/bin/test_hardening --gtest_filter='ModelRun.*'
#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <iostream>
#include <map>

#include "ContactGenerator.h"
#include "WindowWorld.h"
#include "contacts/ContactEntry.h"
#include "exchange/ContactExport.h"
#include "exchange/ImportRun.h"
#include "platform/Ansi.h"
#include "platform/FaultPoint.h"
#include "store/ContactsDocument.h"
#include "support/RecordBytes.h"

namespace tandor {
namespace {

using test::ContactGenerator;
using test::GeneratedContact;

int operationsToRun() {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("TANDOR_MODEL_OPS", &ok);
    return ok && n > 0 ? n : 3000;
}

std::uint64_t runSeed() {
    bool ok = false;
    const qulonglong seed = qEnvironmentVariable("TANDOR_MODEL_SEED").toULongLong(&ok);
    return ok ? seed : 20260301;
}

QString runFolder() {
    const QString chosen = qEnvironmentVariable("TANDOR_MODEL_DIR");
    if (!chosen.isEmpty()) {
        return chosen;
    }
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                     : QDir::tempPath();
}

// The bytes of a record holding these values, laid out by the test's own table.
QByteArray expectedBytes(const ContactFields& fields) {
    QMap<QString, QByteArray> values;
    for (const FieldLayout& layout : recordLayout()) {
        values.insert(QString::fromLatin1(layout.name), toAnsi(fields[layout.field]));
    }
    return test::recordBytes(values);
}

// The model: the records the file must hold, in order.
struct Model {
    QList<ContactFields> fields;
    QList<QByteArray> bytes;

    int size() const { return static_cast<int>(fields.size()); }
    void append(const ContactFields& f) {
        fields.append(f);
        bytes.append(expectedBytes(f));
    }
    void replace(int n, const ContactFields& f) {
        fields[n - 1] = f;
        bytes[n - 1] = expectedBytes(f);
    }
    void remove(int n) {
        fields.removeAt(n - 1);
        bytes.removeAt(n - 1);
    }
    void setReminders(bool on) {
        for (int n = 1; n <= size(); ++n) {
            ContactFields f = fields[n - 1];
            f[Field::BirthdayReminder] = on ? QStringLiteral("1") : QStringLiteral("0");
            replace(n, f);
        }
    }
    QByteArray file() const { return bytes.join(); }
};

// The boxes an edit may change, with the fields they fill.
const std::pair<EntryBox, Field> kEditable[] = {
    {EntryBox::FName, Field::FName},       {EntryBox::MiddleInit, Field::MiddleInit},
    {EntryBox::LName, Field::LName},       {EntryBox::FStreet, Field::FStreet},
    {EntryBox::SStreet, Field::SStreet},   {EntryBox::City, Field::City},
    {EntryBox::State, Field::State},       {EntryBox::Zip, Field::Zip},
    {EntryBox::Country, Field::Country},   {EntryBox::HPhone, Field::HPhone},
    {EntryBox::CPhone, Field::CPhone},     {EntryBox::WPhone, Field::WPhone},
    {EntryBox::Email, Field::Email},       {EntryBox::Birthdate, Field::Birthdate},
    {EntryBox::Category, Field::Category}, {EntryBox::Notes, Field::Notes},
    {EntryBox::Company, Field::Company},
};

class ModelRun {
public:
    explicit ModelRun(std::uint64_t seed)
        : dir_(runFolder() + QStringLiteral("/tandor-model-XXXXXX")),
          session_(dir_.path()),
          gen_(seed) {
        path_ = dir_.filePath(QStringLiteral("Family.DAT"));
        reopen();
    }

    bool valid() const { return dir_.isValid(); }
    const std::map<std::string, int>& counts() const { return counts_; }
    int size() const { return model_.size(); }

    // One random operation; the name of what was done.
    std::string step() {
        const int n = model_.size();
        // The file is kept between about 20 and 150 contacts: adding and
        // deleting balance out around that.
        const int addWeight = n < 20 ? 50 : n > 150 ? 10 : 30;
        const int deleteWeight = n == 0 ? 0 : n < 20 ? 10 : n > 150 ? 50 : 22;
        const int editWeight = n == 0 ? 0 : 25;
        const std::vector<int> weights = {addWeight, editWeight, deleteWeight, 8, 6, 2, 2};
        std::discrete_distribution<int> pick(weights.begin(), weights.end());
        std::string name;
        switch (pick(gen_.engine())) {
            case 0:
                name = add();
                break;
            case 1:
                name = edit();
                break;
            case 2:
                name = erase();
                break;
            case 3:
                name = import();
                break;
            case 4:
                name = reminders();
                break;
            case 5:
                name = exportAndReimport();
                break;
            default:
                name = reopen();
                break;
        }
        ++counts_[name];
        return name;
    }

    // The file as the model says, byte for byte.
    void expectFileIsModel() const {
        const QByteArray onDisk = test::bytesOf(path_);
        ASSERT_EQ(onDisk.size(), static_cast<qsizetype>(model_.size()) * kRecordSize);
        ASSERT_EQ(session_.file().recordCount(), model_.size());
        if (onDisk != model_.file()) {
            for (int n = 1; n <= model_.size(); ++n) {
                ASSERT_EQ(onDisk.mid((n - 1) * kRecordSize, kRecordSize), model_.bytes[n - 1])
                    << "record " << n;
            }
        }
    }

    // Every record read back through the file, field by field.
    void expectRecordsReadAsModel() const {
        for (int n = 1; n <= model_.size(); ++n) {
            ASSERT_EQ(session_.file().read(n).fields(), model_.fields[n - 1]) << "record " << n;
        }
    }

private:
    QString reminderValue() const {
        return session_.remindersOn() ? QStringLiteral("1") : QStringLiteral("0");
    }

    std::string add() {
        GeneratedContact c = gen_.contact();
        // Now and then a box the save pass refuses: nothing may be written then.
        const bool refused = gen_.chance(0.1);
        if (refused) {
            if (gen_.chance(0.5)) {
                c.entry.fName = QStringLiteral("Maximiliana");
                c.entry.fName += QStringLiteral("x");  // 12 characters
            } else {
                c.entry.lName.clear();
            }
        }
        const SaveResult result =
            saveContactEntry(c.entry, EntryWindow::NewContactForm, session_.remindersOn());
        EXPECT_EQ(result.record.has_value(), !refused);
        if (!result.record) {
            return "add refused";
        }
        c.stored[Field::BirthdayReminder] = reminderValue();
        session_.appendContact(*result.record);
        model_.append(c.stored);
        return "add";
    }

    std::string edit() {
        const int n = gen_.number(1, model_.size());
        ContactEntry entry = entryFromRecord(session_.file().read(n));
        ContactFields expected = model_.fields[n - 1];
        const GeneratedContact fresh = gen_.contact();
        for (const auto& [box, field] : kEditable) {
            if (gen_.chance(0.3)) {
                entry.text(box) = fresh.entry.text(box);
                expected[field] = fresh.stored[field];
            }
        }
        if (gen_.chance(0.3)) {
            entry.includeCompany = !entry.includeCompany;
        }
        const bool include = entry.includeCompany && !entry.company.isEmpty();
        expected[Field::IncludeCompany] = include ? QStringLiteral("1") : QStringLiteral("0");
        expected[Field::BirthdayReminder] = reminderValue();
        const SaveResult result =
            saveContactEntry(entry, EntryWindow::Browser, session_.remindersOn());
        EXPECT_TRUE(result.record.has_value()) << "an edit of clean values refused";
        if (!result.record) {
            return "edit refused";
        }
        session_.writeContact(n, *result.record);
        model_.replace(n, expected);
        return "edit";
    }

    std::string erase() {
        const int n = gen_.number(1, model_.size());
        int confirmations = 0;
        session_.deleteContact(n, [&confirmations] { ++confirmations; });
        EXPECT_EQ(confirmations, 1);
        model_.remove(n);
        return "delete";
    }

    std::string import() {
        // New contacts, copies of contacts on file (duplicates, left out) and
        // empty lines (nothing to keep), in a random order.
        QStringList lines = {exportColumnNames().join(QLatin1Char(','))};
        QList<ContactFields> added;
        const int count = gen_.number(1, 6);
        for (int i = 0; i < count; ++i) {
            const int kind = gen_.number(0, 9);
            if (kind < 6 || model_.size() == 0) {
                GeneratedContact c = gen_.uniqueContact();
                lines << test::exportLayoutLine(c.stored);
                c.stored[Field::BirthdayReminder] = reminderValue();
                added.append(c.stored);
            } else if (kind < 9) {
                lines << test::exportLayoutLine(model_.fields[gen_.number(0, model_.size() - 1)]);
            } else {
                lines << (gen_.chance(0.5) ? QString() : QStringLiteral(",,,,,,,,,,,,,,,,,"));
            }
        }
        const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        const QByteArray csv = gen_.chance(0.5) ? text.toUtf8() : toAnsi(text);
        ImportSettings settings;
        settings.remindersOn = [this] { return session_.remindersOn(); };
        const ImportOutcome outcome =
            session_.appendMany([&](ContactsFile& file) { return importCsv(csv, file, settings); });
        EXPECT_EQ(outcome.result, ImportResult::Done);
        EXPECT_EQ(outcome.written, added.size());
        for (const ContactFields& f : added) {
            model_.append(f);
        }
        return "import";
    }

    std::string reminders() {
        if (session_.reminders() == Reminders::Off) {
            session_.switchReminders(true);
            model_.setReminders(true);
            return "reminders on";
        }
        if (session_.reminders() == Reminders::On) {
            session_.switchReminders(false);
            model_.setReminders(false);
            return "reminders off";
        }
        return "reminders (none enabled)";
    }

    // The export read back into an empty file holds the same records; read
    // back into the file itself it adds nothing (every line is a duplicate).
    std::string exportAndReimport() {
        const ExportOutcome out =
            exportContacts(session_.file(), ExportKind::Csv, path_, dir_.path());
        EXPECT_EQ(out.linesWritten, model_.size());
        const QString copyPath = dir_.filePath(QStringLiteral("Copy.DAT"));
        QFile::remove(copyPath);
        {
            ContactsFile copy;
            copy.open(copyPath);
            ImportSettings settings;
            settings.remindersOn = [this] { return session_.remindersOn(); };
            const ImportOutcome again = importCsvFile(out.path, copy, settings);
            EXPECT_EQ(again.written, model_.size());
            bool sameSetting = true;
            for (const ContactFields& f : model_.fields) {
                sameSetting = sameSetting && f[Field::BirthdayReminder] == reminderValue();
            }
            EXPECT_TRUE(sameSetting) << "the records disagree on the reminder setting";
            EXPECT_TRUE(test::bytesOf(copyPath) == model_.file())
                << "the export did not read back as the file";
        }
        QFile::remove(copyPath);
        const ImportOutcome none =
            session_.appendMany([&](ContactsFile& file) { return importCsvFile(out.path, file); });
        EXPECT_EQ(none.result, ImportResult::Done);
        EXPECT_EQ(none.written, 0);
        QFile::remove(out.path);
        return "export and re-import";
    }

    // File Close, then File Open of the same file.
    std::string reopen() {
        session_.fileClose();
        session_.openChosen(FileChoice::Open, path_);
        return "reopen";
    }

    QTemporaryDir dir_;
    ContactsDocument session_;
    ContactGenerator gen_;
    Model model_;
    QString path_;
    std::map<std::string, int> counts_;
};

TEST(ModelRun, TheFileReadsBackAsTheModelAfterEveryOperation) {
    fault::disarmAll();
    const int operations = operationsToRun();
    const std::uint64_t seed = runSeed();
    ModelRun run(seed);
    ASSERT_TRUE(run.valid());
    QElapsedTimer timer;
    timer.start();
    std::string last;
    for (int i = 1; i <= operations; ++i) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", operation " + std::to_string(i));
        last = run.step();
        SCOPED_TRACE(last);
        ASSERT_NO_FATAL_FAILURE(run.expectFileIsModel());
        if (i % 100 == 0 || i == operations) {
            ASSERT_NO_FATAL_FAILURE(run.expectRecordsReadAsModel());
        }
        if (::testing::Test::HasFailure()) {
            FAIL() << "stopped at the first difference";
        }
    }
    std::cout << "[ model run ] " << operations << " operations, seed " << seed << ", in "
              << runFolder().toStdString() << ", " << timer.elapsed() / 1000.0 << " s, "
              << run.size() << " contacts at the end:";
    for (const auto& [name, count] : run.counts()) {
        std::cout << " " << name << " " << count << ";";
    }
    std::cout << std::endl;
}

}  // namespace
}  // namespace tandor
