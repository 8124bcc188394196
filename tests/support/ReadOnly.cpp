#include "support/ReadOnly.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace tandor::test {
namespace {

#ifdef Q_OS_LINUX
bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}
#else
bool setImmutable(const QString&, bool) {
    return false;
}
#endif

bool writingRefused(const QString& path, bool isFolder) {
    if (isFolder) {
        const QString probe = path + QStringLiteral("/.write-probe");
        QFile f(probe);
        if (f.open(QIODevice::WriteOnly)) {
            f.close();
            QFile::remove(probe);
            return false;
        }
        return true;
    }
    QFile f(path);
    const bool opened = f.open(QIODevice::ReadWrite | QIODevice::Append);
    return !opened;
}

}  // namespace

ReadOnly::ReadOnly(QString path) : path_(std::move(path)) {
    const QFileInfo info(path_);
    isFolder_ = info.isDir();
    oldPermissions_ = static_cast<int>(QFile::permissions(path_));
    QFile::setPermissions(
        path_, QFile::permissions(path_) &
                   ~(QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther));
    if (!writingRefused(path_, isFolder_)) {
        immutableSet_ = setImmutable(path_, true);
    }
    effective_ = writingRefused(path_, isFolder_);
}

ReadOnly::~ReadOnly() {
    if (immutableSet_) {
        setImmutable(path_, false);
    }
    QFile::setPermissions(path_, QFile::Permissions(oldPermissions_));
}

}  // namespace tandor::test
