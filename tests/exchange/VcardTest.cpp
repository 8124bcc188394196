// vCard files: what each form of the format gives in the record, bad input,
// the written cards and their way back through the import.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringEncoder>

#include "ExchangeTestSupport.h"
#include "exchange/ContactExport.h"
#include "exchange/VcardExport.h"
#include "exchange/VcardReader.h"

namespace tandor {
namespace {

// The contacts a vCard file gives, each as its nineteen fields joined by "|"
// (FName|MiddleInit|LName|FStreet|SStreet|City|State|Zip|Country|HPhone|
// CPhone|WPhone|Email|Birthdate|Category|Notes|Company|IncludeCompany|
// BirthdayReminder).
QStringList imported(const QByteArray& vcf, ImportOutcome* outcome = nullptr) {
    test::ImportTarget target;
    const ImportOutcome run = importContacts(vcf, target.file());
    EXPECT_EQ(run.result, ImportResult::Done);
    EXPECT_EQ(run.layout, QStringLiteral("vCard"));
    if (outcome) {
        *outcome = run;
    }
    return target.lines();
}

struct Case {
    const char* what;
    QByteArray vcf;
    QStringList contacts;
};

TEST(Vcard, EachFormOfTheFormatGivesItsFields) {
    const std::vector<Case> cases = {
        {"3.0: groups, names in any case, every form of type, escapes, folding",
         "begin:vcard\r\n"
         "version:3.0\r\n"
         "n:Lee;Ann;Marie,Jo;;\r\n"
         "fn:Ann Lee\r\n"
         "item1.adr;type=work:;;1 Work Rd;Austin;tx;73301;USA\r\n"
         "item2.ADR;TYPE=home:;Apt 4;12 Oak St\\nBack door;Springfield;il;62704;USA\r\n"
         "TEL;TYPE=home;TYPE=pref:217-555-0101\r\n"
         "TEL;TYPE=CELL:217-555-0102\r\n"
         "TEL;TYPE=WORK,VOICE:217-555-0103\r\n"
         "TEL;TYPE=HOME,FAX:217-555-0199\r\n"
         "EMAIL;TYPE=INTERNET:second@example.com\r\n"
         "EMAIL;TYPE=INTERNET;TYPE=pref:ann@exam\r\n"
         " ple.com\r\n"
         "BDAY:1980-04-10T00:00:00Z\r\n"
         "NOTE:Line one\\nLine two\\, with comma\\; and semicolon \\\\ back\r\n"
         "CATEGORIES:Family,Friends\r\n"
         "ORG:Acme\\; Inc;Sales\r\n"
         "END:VCARD\r\n",
         {"Ann|M|Lee|12 Oak St|Back door|Springfield|IL|62704|USA|217-555-0101|217-555-0102|"
          "217-555-0103|ann@example.com|19800410|Family;Friends|Line one Line two  with comma; "
          "and semicolon \\ back|Acme; Inc|1|1"}},
        {"2.1: quoted-printable with soft breaks, CHARSET, bare types, an unindented photo",
         "BEGIN:VCARD\r\n"
         "VERSION:2.1\r\n"
         "N;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:M=FCller;J=FCrgen;;;\r\n"
         "TEL;HOME;VOICE:555-1234\r\n"
         "TEL;CELL;PREF:555-9876\r\n"
         "TEL;WORK:555-4321\r\n"
         "ADR;POSTAL:;;2 Other Way;Cologne;;50667;Germany\r\n"
         "ADR;WORK;PREF:;;1 Work Way;Bonn;;53111;Germany\r\n"
         "EMAIL;INTERNET:j@example.de\r\n"
         "NOTE;ENCODING=QUOTED-PRINTABLE:First=0D=0ASecond li=\r\n"
         "ne,=\r\n"
         " third=\r\n"
         "\tline\r\n"
         "PHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n"
         "/9j/4AAQSkZJRgABAQAAAQABAAD\r\n"
         "AAAAAAAAAAAAAAAAAAAAAAAAAA==\r\n"
         "\r\n"
         "BDAY:19700102\r\n"
         "END:VCARD\r\n",
         {QString::fromUtf8("J\u00fcrgen||M\u00fcller|1 Work Way||Bonn||53111|Germany|555-1234|"
                            "555-9876|555-4321|j@example.de|19700102||First Second line  third line||1|1")}},
        {"4.0: a UTF-8 byte-order mark, CR line ends, no N, PREF=n, a tel: URI, no year",
         "\xEF\xBB\xBF"
         "BEGIN:VCARD\rVERSION:4.0\rFN:Mary Ann Smith\r"
         "TEL;VALUE=uri;TYPE=\"work,voice\";PREF=1:tel:+1-418-656-9254;ext=102\r"
         "EMAIL;PREF=2:b@example.org\rEMAIL;PREF=1:a@example.org\rBDAY:--0410\r"
         "NOTE:Z\xC3\xB6\xC3\xAB\rEND:VCARD\r"
         // A card of a company: FN is its name, not a person's.
         "BEGIN:VCARD\nVERSION:3.0\nN:;;;;\nFN:Acme Corp\nORG:Acme Corp\nEND:VCARD\n",
         {"Mary Ann||Smith|||||||||+1-418-656-92|a@example.org|00000410||" +
              QString::fromUtf8("Z\u00f6\u00eb") + "||1|1",
          "||||||||||||||||Acme Corp|1|1"}},
        {"Windows-1252 text without CHARSET, tab folding, the program's own property",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Fran\xE7ois;Ren\xE9;;;\r\nNOTE:tab\r\n\tfolded\r\n"
         "X-TANDOR-INCLUDE-COMPANY:0\r\nEND:VCARD\r\n",
         {QString::fromUtf8("Ren\u00e9||Fran\u00e7ois|||||||||||||tabfolded||0|1")}},
        {"2.1: an agent's card inside the card is passed over, the card goes on after it",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Lee;Ann\r\nAGENT:\r\nBEGIN:VCARD\r\nVERSION:2.1\r\n"
         "N:Agent;Bob\r\nEND:VCARD\r\nEMAIL:ann@example.com\r\nEND:VCARD\r\n",
         {"Ann||Lee||||||||||ann@example.com|||||1|1"}},
        {"A line folded before its colon after a photo, a logo or a key is read",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann\r\n"
         "PHOTO;VALUE=uri:http://example.com/ann.jpg\r\nTEL;TYPE=CE\r\n LL:555-0199\r\n"
         "EMAIL:ann@example.com\r\nEND:VCARD\r\n"
         "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Ray;Bob\r\nLOGO:data:image/png;base64,iVBORw0K\r\n"
         "ADR;LABEL=\"12 Oak St\\nReno NV\";TY\r\n PE=home:;;12 Oak St;Reno;NV;89501;\r\n"
         "END:VCARD\r\n"
         // In 2.1 the unindented base64 ends at a line base64 does not write.
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Fox;Cy\r\nKEY;ENCODING=BASE64:\r\nMIIB/jCC\r\n"
         "AWugAw==\r\nTEL;CE\r\n LL:555-0188\r\nEND:VCARD\r\n",
         {"Ann||Lee||||||||555-0199||ann@example.com|||||1|1",
          "Bob||Ray|12 Oak St||Reno|NV|89501||||||||||1|1",
          "Cy||Fox||||||||555-0188|||||||1|1"}},
        {"A street as a comma list, numbers of several types, a short number, a spaced date",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann\r\n"
         "ADR;TYPE=HOME:;;12 Oak Lane,Apt 5;Reno;NV;89501;\r\n"
         "TEL;TYPE=HOME,WORK:555-0100\r\nTEL;TYPE=CELL:911\r\nBDAY: 1980-04-10 \r\n"
         "END:VCARD\r\n"
         // A second line already there keeps the list whole; a number of one
         // type wins its field over one that names it second.
         "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Ray;Bob\r\n"
         "ADR;TYPE=HOME:;Suite 9;1 Elm St,Unit 2;Reno;NV;89501;\r\n"
         "TEL;TYPE=CELL,WORK,HOME:555-0101\r\nTEL;TYPE=WORK:555-0102\r\nEND:VCARD\r\n"
         // In 2.1 a comma is a character of the street.
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Fox;Cy\r\nADR;HOME:;;3 Bay Rd,Unit 2;Reno;NV;89501;\r\n"
         "END:VCARD\r\n",
         {"Ann||Lee|12 Oak Lane|Apt 5|Reno|NV|89501||555-0100|911|555-0100||19800410||||1|1",
          "Bob||Ray|1 Elm St Unit 2|Suite 9|Reno|NV|89501||555-0101|555-0101|555-0102|||||"
          "|1|1",
          "Cy||Fox|3 Bay Rd Unit 2||Reno|NV|89501||||||||||1|1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(imported(c.vcf), c.contacts);
    }

    // UTF-16 with its byte-order mark.
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray wide = utf16.encode(
        QString::fromUtf8("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Zo\u00eb;Ada\r\nEND:VCARD\r\n"));
    EXPECT_EQ(imported(wide), QStringList{QString::fromUtf8("Ada||Zo\u00eb|||||||||||||||1|1")});
}

// The lines of a card as the reader unfolds them, and the bytes each line
// came in: every byte of the text, folds, empty lines and base64 data
// included, belongs to one line, so a card edited line by line keeps the
// lines it does not change byte for byte.
TEST(Vcard, EachLineKeepsTheBytesItCameIn) {
    struct LineCase {
        const char* what;
        QByteArray text;
        QList<QByteArray> lines;  // unfolded
        QList<QByteArray> bytes;  // as they came
    };
    const std::vector<LineCase> cases = {
        {"folds by space and tab, CR LF, LF and CR ends",
         "BEGIN:VCARD\r\nNOTE:a\r\n b\n\tc\rEND:VCARD", {"BEGIN:VCARD", "NOTE:abc", "END:VCARD"},
         {"BEGIN:VCARD\r\n", "NOTE:a\r\n b\n\tc\r", "END:VCARD"}},
        {"a fold before the colon; empty lines go with the line after them",
         "N\r\n :Lee\r\n\r\n\r\nFN:Ann\r\n\r\n", {"N:Lee", "FN:Ann"},
         {"N\r\n :Lee\r\n", "\r\n\r\nFN:Ann\r\n\r\n"}},
        {"quoted-printable soft breaks, up to an empty line",
         "NOTE;ENCODING=QUOTED-PRINTABLE:one=\r\ntwo=\r\n\r\nX:1\r\n",
         {"NOTE;ENCODING=QUOTED-PRINTABLE:onetwo", "X:1"},
         {"NOTE;ENCODING=QUOTED-PRINTABLE:one=\r\ntwo=\r\n", "\r\nX:1\r\n"}},
        {"2.1 base64 lines not indented belong to the photo; the line after them does not",
         "PHOTO;ENCODING=BASE64:\r\nAAAA\r\nBB==\r\nTEL:1\r\n", {"PHOTO;ENCODING=BASE64:", "TEL:1"},
         {"PHOTO;ENCODING=BASE64:\r\nAAAA\r\nBB==\r\n", "TEL:1\r\n"}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray text = c.text;
        QBuffer buffer(&text);
        buffer.open(QIODevice::ReadOnly);
        VcardLineReader reader(buffer);
        reader.setKeepBytes(true);
        QList<QByteArray> lines;
        QList<QByteArray> bytes;
        QByteArray line;
        while (reader.next(line)) {
            lines.append(line);
            bytes.append(reader.takeBytes());
        }
        ASSERT_FALSE(bytes.isEmpty());
        bytes.back() += reader.takeBytes();  // the empty lines at the end
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(bytes, c.bytes);
    }
}

// A birthday without a year arrives as 0000MMDD, in each form cards write it,
// and the export writes it back so.
TEST(Vcard, ABirthdayWithoutAYearIsKept) {
    const std::vector<std::pair<QByteArray, QString>> forms = {
        {"BDAY:--0412", "00000412"},
        {"BDAY:--04-12", "00000412"},
        {"BDAY;VALUE=date-and-or-time:--0229T0800", "00000229"},
        {"BDAY;X-APPLE-OMIT-YEAR=1604:1604-04-12", "00000412"},
        {"bday;x-apple-omit-year=1604;value=date:16040229", "00000229"},
        // Apple's parameter naming another year: the date has its year.
        {"BDAY;X-APPLE-OMIT-YEAR=1604:1980-04-12", "19800412"},
        // Without the parameter the year 1604 is taken, and the import's
        // cleaning leaves out a year beginning with neither 19 nor 20.
        {"BDAY:1604-04-12", ""},
        // No such day, a month alone, a day alone.
        {"BDAY:--0230", ""},
        {"BDAY:--1304", ""},
        {"BDAY:--04", ""},
        {"BDAY:---12", ""},
    };
    for (const auto& [line, stored] : forms) {
        SCOPED_TRACE(line.constData());
        const QStringList contacts =
            imported("BEGIN:VCARD\r\nVERSION:4.0\r\nN:Lee;Ann\r\n" + line + "\r\nEND:VCARD\r\n");
        ASSERT_EQ(contacts.size(), 1);
        EXPECT_EQ(contacts[0].split(u'|').value(13), stored);
    }
    const ContactRecord record = ContactRecord::build(test::contact({{"FName", "Ann"},
                                                                    {"Birthdate", "00000412"},
                                                                    {"IncludeCompany", "1"},
                                                                    {"BirthdayReminder", "1"}}));
    ExportRun run{"Family.DAT", {}};
    const QByteArray card = vcardCard(exportedRecord(record), run);
    EXPECT_TRUE(card.contains("\r\nBDAY:--04-12\r\n")) << card.constData();
    test::ImportTarget target;
    importContacts(card, target.file());
    EXPECT_EQ(QString::fromLatin1(target.bytes()), QString::fromLatin1(record.bytes()));
}

TEST(Vcard, TheReaderTakesNamesInAnyCase) {
    QByteArray vcf =
        "BEGIN:VCARD\r\nVersion:3.0\r\n"
        "tel;Type=home;x-Foo=\"a:b\";Pref=2:555\r\n"
        "note;encoding=quoted-printable;charset=utf-8:Gr=C3=BC=C3=9Fe\r\n"
        "Note;Encoding=b:QUJD\r\n"
        "NOTE;quoted-printable:a=3Db\r\n"
        "x-Tandor-Include-Company:0\r\n"
        "URL:https://example.com\r\n"
        "N\xC3\xA9:not a property\r\n";
    vcf += QByteArray(70, 'N') + ":a long name\r\nEND:VCARD\r\n";
    QBuffer buffer(&vcf);
    buffer.open(QIODevice::ReadOnly);
    VcardReader reader(buffer, {"TEL", "NOTE", "X-TANDOR-INCLUDE-COMPANY", QByteArray(70, 'N')});
    const std::optional<VcardCard> card = reader.next();
    ASSERT_TRUE(card);
    EXPECT_EQ(card->version, "3.0");
    EXPECT_EQ(card->propertyLines, 8);  // all but the line of a name in UTF-8
    ASSERT_EQ(card->properties.size(), 7u);  // VERSION is always kept
    EXPECT_EQ(card->properties[0].name, "VERSION");
    const VcardProperty& tel = card->properties[1];
    EXPECT_EQ(tel.name, "TEL");
    EXPECT_EQ(tel.params, (QList<QPair<QByteArray, QByteArray>>{
                              {"TYPE", "home"}, {"X-FOO", "a:b"}, {"PREF", "2"}}));
    EXPECT_TRUE(tel.hasType("HOME"));
    EXPECT_EQ(tel.preference(), 2);
    EXPECT_EQ(tel.value, "555");
    EXPECT_EQ(card->properties[2].name, "NOTE");
    EXPECT_EQ(card->properties[2].value, QString::fromUtf8("Gr\u00fc\u00dfe"));
    EXPECT_EQ(card->properties[3].value, "");  // base64 is not read as text
    EXPECT_EQ(card->properties[4].param("ENCODING"), "quoted-printable");
    EXPECT_EQ(card->properties[4].value, "a=b");
    EXPECT_EQ(card->properties[5].name, "X-TANDOR-INCLUDE-COMPANY");
    EXPECT_EQ(card->properties[6].name, QByteArray(70, 'N'));
    EXPECT_EQ(card->properties[6].value, "a long name");
    EXPECT_FALSE(reader.next());
}

TEST(Vcard, BadInputLosesNoReadableCard) {
    QByteArray vcf = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:One;Ann\r\n";     // never ends
    vcf += "BEGIN:VCARD\r\nVERSION:5.0\r\nN:Two;Bob\r\nEND:VCARD\r\n";  // unknown version
    vcf += QByteArray("\x00\x01 stray bytes between cards\r\n", 30);
    vcf += "BEGIN:VCARD\r\n" + QByteArray("\x00\xFF\xFE\x80 binary\r\n", 13) +
           "END:VCARD\r\n";  // no property
    vcf += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Three;Cy\r\nNOTE:";
    vcf += QByteArray(3 * 1024 * 1024, 'x') + "\r\nEND:VCARD\r\n";  // a line of 3 MB
    vcf += "BEGIN:VCARD\r\nVERSION:2.1\r\nEMAIL:only@example.com\r\nEND:VCARD\r\n";  // no name
    vcf += "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Four;Di";  // the file ends
    ImportOutcome outcome;
    const QStringList contacts = imported(vcf, &outcome);
    EXPECT_EQ(outcome.written, 3);
    EXPECT_EQ(outcome.unreadable, 2);
    EXPECT_EQ(outcome.withoutName, 1);
    ASSERT_EQ(contacts.size(), 3);
    EXPECT_TRUE(contacts[0].startsWith("Ann||One|"));
    EXPECT_EQ(contacts[1], "Cy||Three|||||||||||||" + QString(160, 'x') + "||1|1");
    EXPECT_TRUE(contacts[2].startsWith("Di||Four|"));
    EXPECT_EQ(importDoneText(outcome),
              "D O N E !  3 contacts successfully imported.  2 cards could not be read.\n"
              "1 contact had no name and was skipped.");
}

TEST(Vcard, TheFormatIsKnownByItsContent) {
    QByteArray vcf = "  \r\nBegin:VCard\r\nN:Lee;Ann\r\nEnd:VCard\r\n";
    QBuffer buffer(&vcf);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_TRUE(isVcard(buffer));
    EXPECT_EQ(buffer.pos(), 0);
    EXPECT_EQ(imported(vcf).size(), 1);

    test::ImportTarget target;
    const ImportOutcome csv = importContacts(
        QByteArray("First Name,Last Name,Email,Phone\r\nAnn,Lee,ann@x.com,\r\n"), target.file());
    EXPECT_EQ(csv.layout, "generic");
    EXPECT_EQ(csv.written, 1);

    // Only a first line that is "BEGIN:VCARD" makes a vCard file.
    for (QByteArray text : {QByteArray("BEGIN:VCARD,Last Name\r\nAnn,Lee\r\n"),
                            QByteArray("BEGIN:VCARDS\r\n"), QByteArray("BEGIN:VCARD;x\r\n")}) {
        QBuffer other(&text);
        other.open(QIODevice::ReadOnly);
        EXPECT_FALSE(isVcard(other)) << text.constData();
    }
    const ImportOutcome notVcard = importContacts(
        QByteArray("BEGIN:VCARD,Last Name\r\nAnn,Lee\r\n"), target.file());
    EXPECT_EQ(notVcard.result, ImportResult::NoRecognisedHeader);
    QByteArray spaced = "\xEF\xBB\xBF BEGIN:VCARD \t\nN:Lee;Ann\nEND:VCARD";
    QBuffer card(&spaced);
    card.open(QIODevice::ReadOnly);
    EXPECT_TRUE(isVcard(card));
}

TEST(Vcard, LinesAreFoldedAt75OctetsWithoutPartingACharacter) {
    const QByteArray line = QByteArray(74, 'a') + "\xC3\xA9" + QByteArray(80, 'b');
    EXPECT_EQ(foldedLine(line), QByteArray(74, 'a') + "\r\n \xC3\xA9" + QByteArray(72, 'b') +
                                    "\r\n " + QByteArray(8, 'b') + "\r\n");
    EXPECT_EQ(foldedLine(QByteArray(75, 'c')), QByteArray(75, 'c') + "\r\n");
}

TEST(Vcard, ACardWrittenAndReadBack) {
    ContactFields fields = test::contact({{"FName", "Ann"},
                                          {"MiddleInit", "Q"},
                                          {"LName", "O;Lee"},
                                          {"FStreet", "12 Oak St"},
                                          {"SStreet", "Apt 4"},
                                          {"City", "Springfield"},
                                          {"State", "IL"},
                                          {"Zip", "62704"},
                                          {"Country", "USA"},
                                          {"HPhone", "217-555-0101"},
                                          {"WPhone", "217-555-0103"},
                                          {"Email", "ann@example.com"},
                                          {"Birthdate", "19800410"},
                                          {"Category", "Family;Friends"},
                                          {"Notes", "Likes \\ backslashes: many"},
                                          {"Company", "Acme"},
                                          {"IncludeCompany", "0"},
                                          {"BirthdayReminder", "1"}});
    const ContactRecord record = ContactRecord::build(fields);
    ExportRun run{"Family.DAT", {}};
    const QByteArray card = vcardCard(record, run);
    EXPECT_EQ(card,
              "BEGIN:VCARD\r\n"
              "VERSION:3.0\r\n"
              "N:O\\;Lee;Ann;Q;;\r\n"
              "FN:Ann Q O\\;Lee\r\n"
              "ORG:Acme\r\n"
              "ADR;TYPE=HOME:;Apt 4;12 Oak St;Springfield;IL;62704;USA\r\n"
              "TEL;TYPE=HOME:217-555-0101\r\n"
              "TEL;TYPE=WORK:217-555-0103\r\n"
              "EMAIL;TYPE=INTERNET:ann@example.com\r\n"
              "BDAY:1980-04-10\r\n"
              "NOTE:Likes \\\\ backslashes: many\r\n"
              "CATEGORIES:Family,Friends\r\n"
              "X-TANDOR-INCLUDE-COMPANY:0\r\n"
              "UID:619dac6d-23f2-5d30-84ed-9bf1a1ea3302\r\n"  // Family.DAT, lines above
              "END:VCARD\r\n");

    test::ImportTarget target;
    importContacts(card + card, target.file());
    EXPECT_EQ(target.bytes(), record.bytes() + record.bytes());
}

TEST(Vcard, TheExportWritesEveryContactIntoTheProgramFolder) {
    test::TempFolder folder;
    const ContactRecord ann = ContactRecord::build(
        test::contact({{"FName", "Ann"}, {"LName", "Lee"}, {"IncludeCompany", "0"}}));
    const ContactRecord zoe =
        ContactRecord::build(test::contact({{"LName", "Zo\u00eb"},
                                            {"Notes",
                                             "A long note that is folded once it passes the "
                                             "seventy-five octets of a line"}}));
    const QString path = folder.write("Family.DAT", ann.bytes() + zoe.bytes());
    ContactsFile file;
    file.open(path);
    const ExportOutcome outcome = exportContacts(file, ExportKind::Vcard, path, folder.path());
    EXPECT_EQ(outcome.fileName, "TDRV_Family.vcf");
    EXPECT_EQ(outcome.linesWritten, 2);
    const QByteArray written = test::readAll(folder.file("TDRV_Family.vcf"));
    ExportRun run{"Family.DAT", {}};
    EXPECT_EQ(written, vcardCard(ann, run) + vcardCard(zoe, run));
    EXPECT_TRUE(written.contains("N:Zo\xC3\xAB;;;;\r\n"));  // UTF-8
    for (const QByteArray& line : written.split('\n')) {
        EXPECT_LE(line.size(), 76);  // 75 octets and the CR
    }
    EXPECT_EQ(exportDoneText(ExportKind::Vcard, outcome),
              "D O N E !  A vCard file of contacts has been created and stored in your Tandor "
              "folder.  This file is named TDRV_Family.vcf\nFull path: " +
                  QDir::toNativeSeparators(folder.file("TDRV_Family.vcf")));
}

TEST(Vcard, EveryCardHasAUidThatAnUnchangedContactKeeps) {
    const auto uid = [](ExportRun& run, const char* first, const char* phone) {
        const QByteArray card = vcardCard(
            ContactRecord::build(test::contact({{"FName", first}, {"HPhone", phone}})), run);
        return card.mid(card.indexOf("\r\nUID:") + 2);
    };
    ExportRun family{"Family.DAT", {}};
    const QByteArray ann = uid(family, "Ann", "555-0101");
    const QByteArray bob = uid(family, "Bob", "555-0102");
    const QByteArray copy = uid(family, "Ann", "555-0101");  // the same contact twice
    EXPECT_EQ(QSet<QByteArray>({ann, bob, copy}).size(), 3);
    // The next export, with a contact added before them, gives them the same.
    ExportRun later{"Family.DAT", {}};
    uid(later, "Cy", "555-0103");
    EXPECT_EQ(uid(later, "Bob", "555-0102"), bob);
    EXPECT_EQ(uid(later, "Ann", "555-0101"), ann);
    // A changed contact, or the same one in another file, gets another.
    EXPECT_NE(uid(later, "Ann", "555-0109"), ann);
    ExportRun office{"Office.DAT", {}};
    EXPECT_NE(uid(office, "Ann", "555-0101"), ann);
}

}  // namespace
}  // namespace tandor

namespace tandor {
namespace {

// What each real vCard file of the sample folder gives: its contacts (as the
// "|"-joined fields) and the counts of a first and a second run, compared
// with a golden file checked by hand against the samples. TANDOR_UPDATE_GOLDEN=1 writes the file
// anew.
TEST(VcardSamples, EachFileGivesTheContactsItHolds) {
    const QDir folder(QFileInfo(test::samplePath("vcf/SOURCES.md")).path());
    const QStringList files = folder.entryList({"*.vcf"}, QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 17);
    QString report;
    for (const QString& name : files) {
        test::ImportTarget target;
        const ImportOutcome first = importContactsFile(folder.filePath(name), target.file());
        report += "== " + name + "\n";
        for (const QString& line : target.lines()) {
            report += line + "\n";
        }
        report += QStringLiteral("written %1, without a name %2, not read %3\n")
                      .arg(first.written)
                      .arg(first.withoutName)
                      .arg(first.unreadable);
        // A second run finds the contacts on file (but for one whose last
        // name is longer than the record holds, and which has no e-mail).
        const ImportOutcome second = importContactsFile(folder.filePath(name), target.file());
        report += QStringLiteral("again: written %1, duplicates %2\n")
                      .arg(second.written)
                      .arg(second.duplicates);
    }
    const QString golden = QStringLiteral(TANDOR_SOURCE_DIR "/tests/exchange/vcf-samples.golden");
    if (qEnvironmentVariableIsSet("TANDOR_UPDATE_GOLDEN")) {
        QFile out(golden);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(report.toUtf8());
    }
    EXPECT_EQ(report, QString::fromUtf8(test::readAll(golden)));
}

}  // namespace
}  // namespace tandor
