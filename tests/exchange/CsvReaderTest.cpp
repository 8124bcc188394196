// Reading CSV text: RFC 4180 records, line ends, encodings, block boundaries.
#include <gtest/gtest.h>

#include <QBuffer>

#include "ExchangeTestSupport.h"
#include "exchange/CsvReader.h"

namespace tandor {
namespace {

struct ReadResult {
    CsvEncoding encoding;
    QList<QStringList> records;
};

ReadResult readAll(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(buffer);
    ReadResult result{reader.encoding(), {}};
    while (auto record = reader.next()) {
        result.records.append(*record);
    }
    return result;
}

QList<QStringList> records(const QByteArray& bytes) {
    return readAll(bytes).records;
}

TEST(CsvReader, QuotesGroupCommasLineBreaksAndDoubledQuotes) {
    EXPECT_EQ(records("a,\"Smith, Jr.\",c\r\n"), (QList<QStringList>{{"a", "Smith, Jr.", "c"}}));
    EXPECT_EQ(records("\"12 Main St\r\nApt 4\",x\r\nnext\r\n"),
              (QList<QStringList>{{"12 Main St\r\nApt 4", "x"}, {"next"}}));
    EXPECT_EQ(records("\"say \"\"hi\"\"\",\"\"\r\n"), (QList<QStringList>{{"say \"hi\"", ""}}));
    // Lenient where files break the rules: a quote inside an unquoted value is
    // a character, text after a closing quote joins the value.
    EXPECT_EQ(records("5\" disk,\"ab\"cd,e\n"), (QList<QStringList>{{"5\" disk", "abcd", "e"}}));
}

TEST(CsvReader, QuoteThatNeverClosesIsAnOrdinaryCharacter) {
    // The records after a stray quote are kept, and from there on quotes do
    // not group commas.
    EXPECT_EQ(records("a,\"open\r\nb,c"), (QList<QStringList>{{"a", "\"open"}, {"b", "c"}}));
    EXPECT_EQ(records("First Name,Last Name\r\nAnn,\"Smith,a@x.com\r\nBob,Jones\r\n"
                      "Cy,Cole\r\n"),
              (QList<QStringList>{{"First Name", "Last Name"},
                                  {"Ann", "\"Smith", "a@x.com"},
                                  {"Bob", "Jones"},
                                  {"Cy", "Cole"}}));
    // Doubled quotes to the end of the file do not close the value either.
    EXPECT_EQ(records("x,\"a\"\"b\nc"), (QList<QStringList>{{"x", "\"a\"\"b"}, {"c"}}));

    // A quoted value that grows past the bound is given up at the bound, even
    // when a quote would close it later.
    QByteArray huge("\"");
    huge.append(QByteArray(CsvReader::kMaxRecordChars + 10, 'x'));
    huge.append("\r\nnext\r\n\"");
    const QList<QStringList> read = records(huge);
    ASSERT_EQ(read.size(), 3);
    EXPECT_EQ(read[0].size(), 1);
    EXPECT_EQ(read[0][0].size(), CsvReader::kMaxRecordChars);
    EXPECT_TRUE(read[0][0].startsWith(QStringLiteral("\"xxx")));
    EXPECT_EQ(read[1], QStringList{QStringLiteral("next")});
    EXPECT_EQ(read[2], QStringList{QStringLiteral("\"")});
}

TEST(CsvReader, RecordsEndAtCarriageReturnLineFeedOrBoth) {
    EXPECT_EQ(records("a,b\r\nc\rd\ne"), (QList<QStringList>{{"a", "b"}, {"c"}, {"d"}, {"e"}}));
    EXPECT_EQ(records("a\r\n\r\nb\r\n"), (QList<QStringList>{{"a"}, {""}, {"b"}}));
    EXPECT_EQ(records(",,\r\n"), (QList<QStringList>{{"", "", ""}}));
    EXPECT_TRUE(records("").isEmpty());
}

TEST(CsvReader, DecodesUtf8Utf16AndFallsBackToWindows1252) {
    const QString jose = QStringLiteral("Jos\u00e9,M\u00fcller");
    ReadResult plain = readAll(jose.toUtf8());
    EXPECT_EQ(plain.encoding, CsvEncoding::Utf8);
    EXPECT_EQ(plain.records, (QList<QStringList>{{"Jos\u00e9", "M\u00fcller"}}));

    ReadResult bom = readAll("\xEF\xBB\xBF" + QByteArray("First Name,Last Name"));
    EXPECT_EQ(bom.encoding, CsvEncoding::Utf8);
    EXPECT_EQ(bom.records.first().first(), QStringLiteral("First Name"));

    QByteArray le("\xFF\xFE");
    le.append(reinterpret_cast<const char*>(jose.utf16()), jose.size() * 2);
    ReadResult utf16 = readAll(le);
    EXPECT_EQ(utf16.encoding, CsvEncoding::Utf16LE);
    EXPECT_EQ(utf16.records, (QList<QStringList>{{"Jos\u00e9", "M\u00fcller"}}));

    QByteArray be("\xFE\xFF");
    for (const QChar c : jose) {
        be.append(static_cast<char>(c.unicode() >> 8))
            .append(static_cast<char>(c.unicode() & 0xFF));
    }
    EXPECT_EQ(readAll(be).records, utf16.records);

    ReadResult ansi = readAll("Jos\xE9,M\xFCller,\x80");
    EXPECT_EQ(ansi.encoding, CsvEncoding::Windows1252);
    EXPECT_EQ(ansi.records, (QList<QStringList>{{"Jos\u00e9", "M\u00fcller", "\u20ac"}}));

    // A UTF-8 byte-order mark before bytes that are not UTF-8: the mark is
    // still not part of the first column.
    ReadResult mixed = readAll("\xEF\xBB\xBFName,Jos\xE9");
    EXPECT_EQ(mixed.encoding, CsvEncoding::Windows1252);
    EXPECT_EQ(mixed.records, (QList<QStringList>{{"Name", "Jos\u00e9"}}));
}

TEST(CsvReader, ValidUtf8RejectsOverlongsSurrogatesAndCutSequences) {
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_TRUE(isValidUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));      // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xC3"));              // cut short
    EXPECT_FALSE(isValidUtf8("\xE9t\xE9"));         // Windows-1252 text
}

TEST(CsvReader, SequencesAndLineEndsSplitAcrossReadBlocksReadWhole) {
    // Each split point falls on the 64 KiB block boundary.
    const int block = 64 * 1024;
    QByteArray crlf(block - 1, 'x');
    crlf.append("\r\ny\r\n");
    EXPECT_EQ(records(crlf), (QList<QStringList>{{QString(block - 1, u'x')}, {"y"}}));

    QByteArray euro(block - 1, 'x');
    euro.append("\xE2\x82\xAC\r\n");  // the euro sign starts one byte before the boundary
    const ReadResult r = readAll(euro);
    EXPECT_EQ(r.encoding, CsvEncoding::Utf8);
    EXPECT_EQ(r.records.first().first().right(1), QStringLiteral("\u20ac"));

    QByteArray lateAnsi(3 * block, 'x');
    lateAnsi.append("\xE9");  // the only non-UTF-8 byte, far into the file
    EXPECT_EQ(readAll(lateAnsi).encoding, CsvEncoding::Windows1252);
}

TEST(CsvReader, ARecordKeepsAtMostItsBoundAndTheNextRecordReadsNormally) {
    const qsizetype bound = CsvReader::kMaxRecordChars;
    QByteArray bytes = "\"";
    bytes.append(QByteArray(bound + 5000, 'a'));
    bytes.append("\",b,c\r\nnext,line\r\n");
    const QList<QStringList> r = records(bytes);
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r[0].size(), 1);  // the commas past the bound went with the text
    EXPECT_EQ(r[0][0].size(), bound);
    EXPECT_EQ(r[1], (QStringList{"next", "line"}));

    QByteArray commas(bound * 2, ',');
    const QList<QStringList> many = records(commas);
    ASSERT_EQ(many.size(), 1);
    EXPECT_LE(many[0].size(), bound + 1);
}

TEST(CsvReader, SemicolonFilesAreReadAgainWithTheirSeparator) {
    EXPECT_EQ(separatorOfHeader({"First Name;Last Name;E-mail Address"}), QChar(u';'));
    EXPECT_EQ(separatorOfHeader({"First Name", "Last Name"}), QChar(u','));
    EXPECT_EQ(separatorOfHeader({"Name", "Categories;Groups"}), QChar(u','));
    EXPECT_EQ(separatorOfHeader({"a;b;c", "d"}), QChar(u';'));
    EXPECT_EQ(separatorOfHeader({""}), QChar(u','));

    // Restarting goes back past the byte-order mark, in the new separator;
    // quotes still group separators, commas are ordinary characters.
    QBuffer buffer;
    buffer.setData("\xEF\xBB\xBF\"Name\";Street\r\n\"Lee; Ann\";\"1 Main St, Apt 4\"\r\n");
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(buffer);
    EXPECT_EQ(reader.next(), (QStringList{"Name;Street"}));
    reader.restart(u';');
    EXPECT_EQ(reader.separator(), QChar(u';'));
    EXPECT_EQ(reader.next(), (QStringList{"Name", "Street"}));
    EXPECT_EQ(reader.next(), (QStringList{"Lee; Ann", "1 Main St, Apt 4"}));
    EXPECT_EQ(reader.next(), std::nullopt);
    reader.restart(u';');
    EXPECT_EQ(reader.next(), (QStringList{"Name", "Street"}));
}

}  // namespace
}  // namespace tandor
