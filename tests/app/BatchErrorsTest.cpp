// A file error a tandor-batch command meets ends it with the standard error
// text on stderr (naming the author, or Tandor for import and sync), nothing
// on stdout, exit 1, and nothing written. Export and the import of a file
// that cannot be read are checked with their other cases.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <functional>
#include <map>
#include <string>

#include "support/PdfWords.h"
#include "support/RecordBytes.h"
#include "support/TestFiles.h"

namespace tandor {
namespace {

// Every file and folder under a folder, with the bytes of each file.
std::map<std::string, std::string> contentsOf(const QString& folder) {
    std::map<std::string, std::string> contents;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        contents[QDir(folder).relativeFilePath(path).toStdString()] =
            it.fileInfo().isDir() ? std::string("<folder>") : test::readAll(path).toStdString();
    }
    return contents;
}

struct FailureCase {
    const char* what;
    // Makes the files of the case in the folder and gives the command's arguments.
    std::function<QStringList(const test::TempFolder& folder)> arrange;
    const char* err;
};

const QByteArray kTwoContacts =
    test::fileBytes({test::personBytes("Ann", "Lee"), test::personBytes("Bob", "Ray")});

const FailureCase kCases[] = {
    {"add to a file in a folder that does not exist",
     [](const test::TempFolder& folder) {
         return QStringList{"add", folder.file("none/Family.DAT"), "--first", "Ann", "--last",
                            "Lee"};
     },
     "An error has occurred. Error number 76 -- Path not found.  Try again, or notify author.\n"},
    {"delete whose copy cannot be made (a folder has its name)",
     [](const test::TempFolder& folder) {
         const QString file = folder.write("Family.DAT", kTwoContacts);
         QDir(folder.path()).mkdir("Family.DAT.Tempf");
         return QStringList{"delete", file, "1"};
     },
     "An error has occurred. Error number 75 -- Path/File access error.  Try again, or notify "
     "author.\n"},
    {"import --dry-run into a folder",
     [](const test::TempFolder& folder) {
         QDir(folder.path()).mkdir("Family.DAT");
         const QString csv =
             folder.write("a.csv", "First Name,Last Name,Email\r\nAnn,Lee,a@x.com\r\n");
         return QStringList{"import", "--dry-run", folder.file("Family.DAT"), csv};
     },
     "An error has occurred. Error number 75 -- Path/File access error.  Try again, or notify "
     "Tandor.\n"},
    {"sync of a folder",
     [](const test::TempFolder& folder) {
         QDir(folder.path()).mkdir("Family.DAT");
         return QStringList{"sync",   folder.file("Family.DAT"),
                            "--url",  "http://127.0.0.1:9/book/",
                            "--user", "ann"};
     },
     "An error has occurred. Error number 75 -- Path/File access error.  Try again, or notify "
     "Tandor.\n"},
};

TEST(BatchErrors, AFileErrorEndsTheCommandWithTheStandardText) {
    const test::TempFolder program;
    for (const FailureCase& c : kCases) {
        SCOPED_TRACE(c.what);
        const test::TempFolder folder;
        const QStringList args = c.arrange(folder);
        const std::map<std::string, std::string> before = contentsOf(folder.path());
        const test::BatchRun run =
            test::runBatch(QStringList{"--program-folder", program.path()} + args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.toStdString(), c.err);
        EXPECT_EQ(run.out.toStdString(), "");
        EXPECT_EQ(contentsOf(folder.path()), before);
    }
}

}  // namespace
}  // namespace tandor
