#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef TANDOR_INSTALL_DATA_RELATIVE
#define TANDOR_INSTALL_DATA_RELATIVE "../share/tandor"
#endif

namespace tandor {
namespace {
const QString kAdjustmentFile = QStringLiteral("TDRPARAM.TXT");
}

QString installedDataFolder(const QString& executableFolder) {
    return QDir::cleanPath(executableFolder + QLatin1Char('/') + QStringLiteral(TANDOR_INSTALL_DATA_RELATIVE));
}

QString perUserProgramFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Tandor");
}

bool isWritableFolder(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

ProgramFolders chooseProgramFolders(const QString& executableFolder, const QString& perUserFolder) {
    const QString installed = installedDataFolder(executableFolder);
    // An installed copy shares bin/ with other programs: even a user who may
    // write there (the superuser) keeps their files in their own folder.
    if (QFileInfo(installed + QLatin1Char('/') + kAdjustmentFile).isFile()) {
        return {perUserFolder, installed, installed};
    }
    if (isWritableFolder(executableFolder)) {
        return {executableFolder, executableFolder, {}};
    }
    return {perUserFolder, executableFolder, executableFolder};
}

QString prepareProgramFolder(const ProgramFolders& folders) {
    if (!folders.perUser()) {
        return {};
    }
    const QString folder = folders.programFolder;
    if (!QDir().mkpath(folder)) {
        return QStringLiteral("The folder %1 cannot be created, so Tandor cannot keep its print "
                              "adjustments and exports there.")
            .arg(QDir::toNativeSeparators(folder));
    }
    const QString target = folder + QLatin1Char('/') + kAdjustmentFile;
    if (QFileInfo::exists(target)) {
        return {};
    }
    const QString source = folders.defaultsFolder + QLatin1Char('/') + kAdjustmentFile;
    if (!QFileInfo::exists(source)) {
        return QStringLiteral("The default print-adjustment file %1 is missing: reinstall Tandor.")
            .arg(QDir::toNativeSeparators(source));
    }
    QFile::remove(target + QStringLiteral(".part"));
    // Copied under a temporary name first, so that a failed copy leaves no
    // short adjustment file behind.
    if (!QFile::copy(source, target + QStringLiteral(".part")) ||
        !QFile::rename(target + QStringLiteral(".part"), target)) {
        QFile::remove(target + QStringLiteral(".part"));
        return QStringLiteral("The print-adjustment file cannot be copied into %1.")
            .arg(QDir::toNativeSeparators(folder));
    }
    // A copy of a read-only installed file would stay read-only; the Margins
    // menu writes this one.
    QFile(target).setPermissions(QFile(target).permissions() | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    return {};
}

}  // namespace tandor
