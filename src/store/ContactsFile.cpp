#include "store/ContactsFile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <limits>

#include "platform/FaultPoint.h"
#include "store/Compaction.h"
#include "store/ForceToDisk.h"
#include "store/FileError.h"
#include "platform/OnFailure.h"

namespace tandor {
namespace {

// Records read ahead at a time, so that reading the file in order costs one
// system call per 64 records.
constexpr qint64 kReadAheadRecords = 64;

qint64 recordOffset(int n) {
    return static_cast<qint64>(n - 1) * kRecordSize;
}

// length / 513 to the nearest whole number. 513 is odd, so a whole length
// never lies exactly halfway between two counts and no tie can arise.
int countFor(qint64 length) {
    const qint64 count = (length + kRecordSize / 2) / kRecordSize;
    return static_cast<int>(std::min<qint64>(count, std::numeric_limits<int>::max() - 1));
}

}  // namespace

ContactsFile::ContactsFile() = default;

ContactsFile::~ContactsFile() {
    close();
}

void ContactsFile::open(const QString& path) {
    openFile(path, false, true);
    finishInterruptedDeletion();
}

void ContactsFile::openExisting(const QString& path) {
    const QFileInfo info(path);
    if (!path.isEmpty() && !info.exists()) {
        close();
        throw fileerror::make(info.dir().exists() ? errors::kFileNotFound : errors::kPathNotFound);
    }
    open(path);
}

void ContactsFile::openForReading(const QString& path) {
    openFile(path, false, false, true);
    hideMarkedRecords();
}

void ContactsFile::hideMarkedRecords() {
    const int count = recordCount();
    if (firstMarkedRecord(*file_, count) == 0) {
        return;
    }
    for (int n = 1; n <= count; ++n) {
        if (!readStored(n).isMarkedDeleted()) {
            shown_.push_back(n);
        }
    }
    hidesMarked_ = true;
}

void ContactsFile::openFile(const QString& path, bool mustWrite, bool create, bool readOnly) {
    close();
    fault::hit("contacts.open");
    if (path.isEmpty()) {
        throw fileerror::make(errors::kBadFileName);
    }
    if (QFileInfo(path).isDir()) {
        throw fileerror::make(errors::kPathFileAccess);
    }
    auto file = std::make_unique<QFile>(path);
    bool writable = true;
    // Only File New and File Open create a missing file; a reopening must not
    // put an empty file in the place of one that was removed meanwhile.
    const QIODevice::OpenMode existing = create ? QIODevice::NotOpen : QIODevice::ExistingOnly;
    const QIODevice::OpenMode access = readOnly ? QIODevice::ReadOnly : QIODevice::ReadWrite;
    if (!file->open(access | QIODevice::Unbuffered | existing)) {
        const int err = errno;
        if (!create && !file->exists()) {
            throw fileerror::make(QFileInfo(path).dir().exists() ? errors::kFileNotFound
                                                                 : errors::kPathNotFound);
        }
        if (mustWrite || readOnly || !file->exists() ||
            !file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            throw fileerror::openFailure(path, err);
        }
        writable = false;
    }
    file_ = std::move(file);
    path_ = path;
    writable_ = writable && !readOnly;
    cache_.clear();
    cacheStart_ = 0;
}

void ContactsFile::finishInterruptedDeletion() {
    if (!writable_) {
        return;
    }
    const QString path = path_;
    const int count = recordCount();
    if (firstMarkedRecord(*file_, count) == 0) {
        // A copy left by a compaction that never got as far as its rename.
        const QString leftover = compactionTempPath(path);
        if (QFile::exists(leftover)) {
            QFile::remove(leftover);
        }
        return;
    }
    close();
    try {
        compactContactsFile(path, count);
    } catch (const AppError&) {
        // The file opens as it is; the next opening tries again.
    }
    openFile(path, false);
}

void ContactsFile::close() {
    if (file_) {
        file_->close();
        file_.reset();
    }
    path_.clear();
    writable_ = false;
    hidesMarked_ = false;
    shown_.clear();
    cache_.clear();
    cacheStart_ = 0;
}

bool ContactsFile::isOpen() const {
    return file_ != nullptr;
}

bool ContactsFile::isWritable() const {
    return file_ != nullptr && writable_;
}

QString ContactsFile::path() const {
    return path_;
}

void ContactsFile::requireOpen() const {
    if (!file_) {
        throw fileerror::make(errors::kBadFileName);
    }
}

void ContactsFile::requireWritable() const {
    requireOpen();
    if (!writable_) {
        throw fileerror::make(errors::kPermissionDenied);
    }
}

int ContactsFile::recordCount() const {
    requireOpen();
    if (hidesMarked_) {
        return static_cast<int>(shown_.size());
    }
    return countFor(file_->size());
}

ContactRecord ContactsFile::read(int n) const {
    requireOpen();
    fault::hit("contacts.read");
    if (n < 1) {
        throw fileerror::make(errors::kBadRecordNumber);
    }
    if (hidesMarked_) {
        return n > static_cast<int>(shown_.size()) ? ContactRecord() : readStored(shown_[n - 1]);
    }
    return readStored(n);
}

ContactRecord ContactsFile::readStored(int n) const {
    const qint64 offset = recordOffset(n);
    const bool cached =
        offset >= cacheStart_ && offset + kRecordSize <= cacheStart_ + cache_.size();
    if (!cached) {
        cache_.clear();
        if (offset >= file_->size()) {
            return ContactRecord();
        }
        if (!file_->seek(offset)) {
            throw fileerror::make(errors::kDeviceIo);
        }
        cache_.resize(kReadAheadRecords * kRecordSize);
        const qint64 got = file_->read(cache_.data(), cache_.size());
        if (got < 0) {
            cache_.clear();
            throw fileerror::make(errors::kDeviceIo);
        }
        cache_.resize(got);
        cacheStart_ = offset;
        if (got == 0) {
            return ContactRecord();
        }
    }
    const qint64 at = offset - cacheStart_;
    return ContactRecord::fromBytes(
        QByteArrayView(cache_).sliced(at, std::min<qint64>(kRecordSize, cache_.size() - at)));
}

void ContactsFile::writeAt(qint64 offset, const char* data, qint64 size, bool wholeRecords) {
    cache_.clear();
    // A file removed (or replaced) since it was opened would take the write
    // and lose it with the last handle: the user is told instead.
    fault::hit("contacts.write.name");
    if (disk::isNameless(*file_)) {
        throw fileerror::make(errors::kFileNotFound);
    }
    fault::hit("contacts.write.seek");
    if (!file_->seek(offset)) {
        throw fileerror::make(errors::kDeviceIo);
    }
    const qint64 length = file_->size();
    fault::hit("contacts.write");
    errno = 0;
    const qint64 written = file_->write(data, size);
    if (written != size) {
        const int err = errno;
        // A disk that filled up in the middle of a new record leaves part of
        // it: the file is cut back to its former length, or to the end of
        // the last of the new records that fitted whole.
        if (offset + size > length) {
            const qint64 whole =
                wholeRecords && written > 0 ? offset + written / kRecordSize * kRecordSize : 0;
            file_->resize(std::max(length, whole));
        }
        throw fileerror::make(fileerror::numberForErrno(err));
    }
}

void ContactsFile::write(int n, const ContactRecord& record) {
    requireWritable();
    if (n < 1 || n > recordCount() + 1) {
        throw fileerror::make(errors::kBadRecordNumber);
    }
    const qint64 offset = recordOffset(n);
    const qint64 length = file_->size();
    if (offset > length) {
        // The partial last record of a damaged file first gets the blanks,
        // separators and CR LF it lacks, so that it reads as before and no
        // hole of NUL bytes is left between it and the new record.
        const QByteArray blank = ContactRecord().bytes();
        const qint64 have = length % kRecordSize;
        writeAt(length, blank.constData() + have, std::min(offset - length, kRecordSize - have));
    }
    writeAt(offset, record.bytes().constData(), kRecordSize);
}

void ContactsFile::writeField(int n, Field field, const QString& value) {
    requireWritable();
    if (n < 1 || n > recordCount()) {
        throw fileerror::make(errors::kBadRecordNumber);
    }
    ContactRecord laidOut;
    laidOut.setField(field, value);
    const FieldLayout& layout = layoutOf(field);
    const qint64 offset = recordOffset(n) + layout.offset;
    const qint64 size = std::min<qint64>(layout.width, file_->size() - offset);
    if (size > 0) {
        writeAt(offset, laidOut.bytes().constData() + layout.offset, size);
    }
}

int ContactsFile::append(const ContactRecord& record) {
    requireWritable();
    const int n = recordCount() + 1;
    write(n, record);
    return n;
}

void ContactsFile::flush() {
    requireOpen();
    fault::hit("contacts.flush");
    if (writable_ && !disk::forceFile(*file_)) {
        throw fileerror::make(fileerror::numberForErrno(errno));
    }
}

int ContactsFile::appendFlushed(const ContactRecord& record) {
    requireWritable();
    const qint64 length = file_->size();
    const int n = append(record);
    try {
        flush();
    } catch (const AppError&) {
        cache_.clear();
        file_->resize(length);
        throw;
    }
    return n;
}

ContactsFile::Appender::Appender(ContactsFile& file) : file_(file) {}

ContactsFile::Appender::~Appender() {
    try {
        writeOut();
    } catch (const AppError&) {
        // Whoever needs to know calls finish().
    }
}

void ContactsFile::Appender::begin() {
    file_.requireWritable();
    const qint64 length = file_.file_->size();
    next_ = countFor(length) + 1;
    bufferOffset_ = recordOffset(next_);
    // The partial last record of a damaged file is made whole (or written
    // over) by a write of the first record on its own.
    tailFirst_ = bufferOffset_ != length;
    buffer_.reserve(kBulkRecords * kRecordSize);
    begun_ = true;
}

int ContactsFile::Appender::append(const ContactRecord& record) {
    if (!begun_) {
        begin();
    }
    if (tailFirst_) {
        file_.write(next_, record);
        tailFirst_ = false;
        bufferOffset_ += kRecordSize;
        ++stored_;
        return next_++;
    }
    // The step at which the record is written, as far as a test failing it
    // is concerned.
    fault::hit("contacts.write");
    buffer_.append(record.bytes());
    ++gathered_;
    if (gathered_ == kBulkRecords) {
        writeOut();
    }
    return next_++;
}

void ContactsFile::Appender::writeOut() {
    if (gathered_ == 0) {
        return;
    }
    file_.requireWritable();
    const int gathered = gathered_;
    gathered_ = 0;
    try {
        file_.writeAt(bufferOffset_, buffer_.constData(), buffer_.size(), true);
        stored_ += gathered;
        bufferOffset_ += buffer_.size();
    } catch (const AppError&) {
        buffer_.resize(0);
        // The records that fitted whole stay; the ones after them are lost
        // and the next record goes where the first of them would have gone.
        const qint64 kept = std::clamp<qint64>(
            (file_.file_->size() - bufferOffset_) / kRecordSize, 0, gathered);
        stored_ += static_cast<int>(kept);
        bufferOffset_ += kept * kRecordSize;
        next_ -= gathered - static_cast<int>(kept);
        throw;
    }
    buffer_.resize(0);  // keeps its room for the next records
}

void ContactsFile::Appender::finish() {
    writeOut();
    if (stored_ > 0) {
        file_.flush();
    }
}

void ContactsFile::appendAll(const std::vector<ContactRecord>& records) {
    Appender appender(*this);
    for (const ContactRecord& record : records) {
        appender.append(record);
    }
    appender.finish();
}

void ContactsFile::deleteRecord(int n, const std::function<void()>& atConfirmation) {
    requireWritable();
    const QString path = path_;
    const int count = recordCount();
    if (n < 1 || n > count) {
        throw fileerror::make(errors::kBadRecordNumber);
    }
    // The file must still be there under its name and open to writing (it
    // may have become read-only or been removed since it was opened): else
    // nothing is marked. This handle also undoes the mark should the file
    // not reopen for writing further on.
    fault::hit("delete.check");
    QFile guard(path);
    if (!guard.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered)) {
        const int err = errno;
        if (!guard.exists()) {
            throw fileerror::make(errors::kFileNotFound);
        }
        throw fileerror::openFailure(path, err);
    }
    fault::hit("delete.read");
    const ContactRecord original = read(n);
    ContactRecord marked = original;
    marked.setField(Field::FName, QString::fromLatin1(kDeletedMark));

    bool markOnDisk = true;
    {
        // On any failure the mark is undone and the file is open again; the
        // failure goes on to the caller.
        const OnFailure recover([&] {
            if (markOnDisk) {
                undoMark(path, n, original, guard);
            }
            if (!isOpen()) {
                try {
                    openFile(path, false);
                    // A mark that could not be undone in a file that can only be
                    // read stays out of sight until an opening can finish it.
                    if (!writable_) {
                        hideMarkedRecords();
                    }
                } catch (const AppError&) {
                    // The failure being thrown is the one the user needs to see.
                }
            }
        });
        write(n, marked);
        fault::hit("delete.close");
        close();
        fault::hit("delete.reopen");
        openFile(path, true);
        if (atConfirmation) {
            atConfirmation();
        }
        fault::hit("delete.close.compaction");
        close();
        // The copy is to take the file's name: nothing may hold the file open.
        guard.close();
        compactContactsFile(path, count);
        markOnDisk = false;
    }
    fault::hit("delete.reopen.compacted");
    openFile(path, false);
}

void ContactsFile::undoMark(const QString& path, int n, const ContactRecord& original,
                            QFile& guard) {
    try {
        if (!isWritable() && guard.isOpen()) {
            fault::hit("delete.undo.write");
            if (guard.seek(static_cast<qint64>(n - 1) * kRecordSize) &&
                guard.write(original.bytes().constData(), kRecordSize) == kRecordSize) {
                return;
            }
        }
        if (!isWritable()) {
            fault::hit("delete.undo.reopen");
            openFile(path, true);
        }
        fault::hit("delete.undo.write");
        write(n, original);
    } catch (const AppError&) {
        // The record stays marked; the next opening of the file finishes the
        // deletion the user asked for.
    }
}

bool remindersOnInFile(const ContactsFile& file) {
    if (file.recordCount() == 0) {
        return false;
    }
    return file.read(1).rawField(Field::BirthdayReminder) == QLatin1String("1");
}

}  // namespace tandor
