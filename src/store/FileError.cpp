#include "store/FileError.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>

namespace tandor::fileerror {

QString description(int number) {
    switch (number) {
        case errors::kBadFileName:
            return QStringLiteral("Bad file name or number");
        case errors::kFileNotFound:
            return QStringLiteral("File not found");
        case errors::kDeviceIo:
            return QStringLiteral("Device I/O error");
        case errors::kDiskFull:
            return QStringLiteral("Disk full");
        case errors::kInputPastEnd:
            return QStringLiteral("Input past end of file");
        case errors::kBadRecordNumber:
            return QStringLiteral("Bad record number");
        case errors::kPermissionDenied:
            return QStringLiteral("Permission denied");
        case errors::kPathFileAccess:
            return QStringLiteral("Path/File access error");
        case errors::kPathNotFound:
            return QStringLiteral("Path not found");
        default:
            return QStringLiteral("Application-defined or object-defined error");
    }
}

AppError make(int number) {
    return AppError(number, description(number));
}

int numberForErrno(int err, int otherwise) {
    switch (err) {
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
        case EFBIG:
            return errors::kDiskFull;
        case EACCES:
        case EPERM:
        case EROFS:
#ifdef ETXTBSY
        case ETXTBSY:
#endif
            return errors::kPermissionDenied;
        case ENOENT:
        case ENOTDIR:
            return errors::kPathNotFound;
        default:
            return otherwise;
    }
}

AppError openFailure(const QString& path, int err) {
    const QFileInfo info(path);
    if (path.isEmpty()) {
        return make(errors::kBadFileName);
    }
    if (!info.dir().exists()) {
        return make(errors::kPathNotFound);
    }
    if (info.isDir()) {
        return make(errors::kPathFileAccess);
    }
    const int number = numberForErrno(err, errors::kPathFileAccess);
    return make(number == errors::kPathNotFound ? errors::kPathFileAccess : number);
}

}  // namespace tandor::fileerror
