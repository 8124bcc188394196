// The Add Contact parse of the main window's five lines, then the new-contact
// form's save pass over the boxes it filled and the record that save writes.
//
// Input: the five lines, separated by line feeds (UTF-8).
#include <QByteArray>

#include "FuzzSupport.h"
#include "contacts/ContactEntry.h"
#include "contacts/LineParser.h"

using namespace tandor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList parts = fuzz::splitLines(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), 5);
    std::array<QString, 5> lines;
    for (qsizetype i = 0; i < parts.size() && i < 5; ++i) {
        lines[i] = parts[i];
    }

    const LabelLinesParse parse = parseLabelLines(lines);
    if (parse.refused) {
        for (const ParsedText& box : parse.boxes) {
            fuzz::check(!box.written, "a refused parse writes nothing");
        }
        fuzz::check(!lines[0].contains(QLatin1Char(' ')),
                    "only a line 1 without a space is refused");
    }
    // What the form shows: the parsed texts over an empty form.
    ContactEntry form;
    const bool shown = fillFormFromLabelLines(lines, form);
    fuzz::check(shown == !parse.refused, "the form is shown unless refused");
    if (!shown) {
        return 0;
    }
    ContactEntry expected;
    parse.applyTo(expected);
    fuzz::check(form == expected, "the form holds the parsed texts");

    // Saving the form as it was filled (the user adds a last name when there is none).
    if (form.lName.isEmpty()) {
        form.lName = QStringLiteral("Lee");
    }
    if (runSavePass(form, EntryWindow::NewContactForm)) {
        return 0;
    }
    const ContactRecord record = buildContactRecord(form, true);
    fuzz::check(record.bytes().size() == kRecordSize, "a record of 513 bytes");
    fuzz::check(record.bytes().endsWith("1\r\n"), "the reminder byte and the line end");
    fuzz::check(!record.isMarkedDeleted(), "a saved contact is not marked deleted",
                record.field(Field::FName));
    fuzz::check(!record.bytes().contains(','), "a saved record holds no comma");
    return 0;
}
