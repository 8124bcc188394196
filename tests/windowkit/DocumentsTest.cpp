#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "support/TestFiles.h"

namespace {

QString programFile(const QString& name) {
    return QStringLiteral(TANDOR_PROGRAM_DIR "/") + name;
}

QString pdfText(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

TEST(Documents, TheManualAndTheStateSheetStandBesideTheProgramAsPdfFiles) {
    for (const char* name : {"tdrUman.pdf", "tdr_state_abbreviations.pdf"}) {
        QFile f(programFile(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(f.read(5) == "%PDF-") << name;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    const QString manual = pdfText(programFile(QStringLiteral("tdrUman.pdf")));
    for (const char* section : {"Printing labels", "Printing an envelope", "Printing return-address labels",
                                "Margins", "Adding a contact", "Importing contacts", "Exporting contacts",
                                "Searching contacts"}) {
        EXPECT_TRUE(manual.contains(QString::fromLatin1(section))) << section;
    }
    const QString states = pdfText(programFile(QStringLiteral("tdr_state_abbreviations.pdf")));
    for (const char* line : {"Alabama", "Wyoming", "District of Columbia", "Puerto Rico", "Guam"}) {
        EXPECT_TRUE(states.contains(QString::fromLatin1(line))) << line;
    }
    EXPECT_TRUE(states.contains(QRegularExpression(QStringLiteral("Wyoming\\s+WY"))));
}
