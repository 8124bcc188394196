#include "store/Compaction.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <cerrno>
#include <cstring>

#include "platform/FaultPoint.h"
#include "store/ContactRecord.h"
#include "store/ForceToDisk.h"
#include "store/FileError.h"

namespace tandor {
namespace {

// Records moved per block: 1024 records, about 512 KB.
constexpr qint64 kBlockRecords = 1024;
constexpr qint64 kMarkLength = sizeof(kDeletedMark) - 1;

bool isMarked(const char* record) {
    return std::memcmp(record, kDeletedMark, kMarkLength) == 0;
}

// Reads up to `records` whole records; a short read is padded with blanks.
void readBlock(QFile& file, QByteArray& block, qint64 records) {
    const qint64 wanted = records * kRecordSize;
    block.resize(wanted);
    qint64 got = 0;
    while (got < wanted) {
        const qint64 n = file.read(block.data() + got, wanted - got);
        if (n < 0) {
            throw fileerror::make(errors::kDeviceIo);
        }
        if (n == 0) {
            break;
        }
        got += n;
    }
    if (got < wanted) {
        std::memset(block.data() + got, ' ', wanted - got);
    }
}

// The file a path names, following a symbolic link, so that the rename
// replaces the file and not the link.
QString resolvedPath(const QString& path) {
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : path;
}

}  // namespace

QString compactionTempPath(const QString& contactsPath) {
    return resolvedPath(contactsPath) + QStringLiteral(".Tempf");
}

int compactContactsFile(const QString& path, int count) {
    const QString target = resolvedPath(path);
    const QString tempPath = compactionTempPath(path);

    QFile source(target);
    QFile temp(tempPath);
    bool committed = false;
    auto cleanUp = qScopeGuard([&] {
        if (!committed) {
            temp.close();
            QFile::remove(tempPath);
        }
    });

    fault::hit("compact.source.open");
    if (!source.open(QIODevice::ReadOnly)) {
        throw fileerror::openFailure(target, errno);
    }
    fault::hit("compact.temp.create");
    if (!temp.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        throw fileerror::openFailure(tempPath, errno);
    }

    // Each block is written as the runs of records between marked ones,
    // straight from the block.
    QByteArray block;
    qint64 remaining = count;
    qint64 keptTotal = 0;
    const auto writeRun = [&](qint64 first, qint64 end) {
        if (end <= first) {
            return;
        }
        fault::hit("compact.write");
        const qint64 bytes = (end - first) * kRecordSize;
        if (temp.write(block.constData() + first * kRecordSize, bytes) != bytes) {
            throw fileerror::make(fileerror::numberForErrno(errno));
        }
        keptTotal += end - first;
    };
    while (remaining > 0) {
        const qint64 records = std::min(remaining, kBlockRecords);
        fault::hit("compact.read");
        readBlock(source, block, records);
        qint64 runStart = 0;
        for (qint64 i = 0; i < records; ++i) {
            if (isMarked(block.constData() + i * kRecordSize)) {
                writeRun(runStart, i);
                runStart = i + 1;
            }
        }
        writeRun(runStart, records);
        remaining -= records;
    }

    // The copy takes the file's permissions, so a rename does not change who may write it.
    fault::hit("compact.temp.permissions");
    temp.setPermissions(source.permissions());
    fault::hit("compact.temp.sync");
    if (!disk::forceFile(temp)) {
        throw fileerror::make(fileerror::numberForErrno(errno));
    }
    fault::hit("compact.temp.check");
    if (temp.size() != keptTotal * kRecordSize) {
        throw fileerror::make(errors::kDeviceIo);
    }
    fault::hit("compact.temp.close");
    temp.close();
    if (temp.error() != QFileDevice::NoError) {
        throw fileerror::make(errors::kDeviceIo);
    }
    source.close();

    fault::hit("compact.replace");
    if (const int err = disk::replaceFile(tempPath, target)) {
        throw fileerror::make(fileerror::numberForErrno(err, errors::kPathFileAccess));
    }
    committed = true;
    disk::forceFolder(QFileInfo(target).absolutePath());
    return static_cast<int>(count - keptTotal);
}

int firstMarkedRecord(QFile& file, int count) {
    if (!file.seek(0)) {
        throw fileerror::make(errors::kDeviceIo);
    }
    QByteArray block;
    qint64 done = 0;
    while (done < count) {
        const qint64 records = std::min<qint64>(count - done, kBlockRecords);
        readBlock(file, block, records);
        for (qint64 i = 0; i < records; ++i) {
            if (isMarked(block.constData() + i * kRecordSize)) {
                return static_cast<int>(done + i + 1);
            }
        }
        done += records;
    }
    return 0;
}

}  // namespace tandor
