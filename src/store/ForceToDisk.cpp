#include "store/ForceToDisk.h"

#include <cerrno>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#endif

namespace tandor::disk {
namespace {

std::function<void(const QString&)>& folderForceObserver() {
    static std::function<void(const QString&)> observer;
    return observer;
}

}  // namespace

bool forceFile(QFile& file) {
    if (!file.flush()) {
        return false;
    }
#if defined(Q_OS_UNIX)
    return ::fsync(file.handle()) == 0;
#elif defined(Q_OS_WIN)
    return ::_commit(file.handle()) == 0;
#else
    return true;
#endif
}

bool isNameless(QFile& file) {
#ifdef Q_OS_UNIX
    struct stat info {};
    return ::fstat(file.handle(), &info) == 0 && info.st_nlink == 0;
#else
    // Elsewhere a file that is open cannot be removed.
    Q_UNUSED(file);
    return false;
#endif
}

bool forceFileSystemOf(const QString& folder) {
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::syncfs(fd) == 0;
    ::close(fd);
    if (synced && folderForceObserver()) {
        folderForceObserver()(folder);
    }
    return synced;
#else
    Q_UNUSED(folder);
    return false;
#endif
}

void forceFolder(const QString& folder) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
    if (folderForceObserver()) {
        folderForceObserver()(folder);
    }
}

void setFolderForceObserver(std::function<void(const QString& folder)> observer) {
    folderForceObserver() = std::move(observer);
}

std::filesystem::path nativePath(const QString& path) {
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

int replaceFile(const QString& from, const QString& to) {
    std::error_code ec;
    std::filesystem::rename(nativePath(from), nativePath(to), ec);
    return ec ? (ec.value() != 0 ? ec.value() : EIO) : 0;
}

}  // namespace tandor::disk
