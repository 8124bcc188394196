#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace tandor::test {

// A fresh temporary folder (removed with the object), used as the program
// folder or to hold contacts files.
class TempFolder {
public:
    TempFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    // Writes bytes to a file in the folder and returns its full path.
    QString write(const QString& name, const QByteArray& bytes) const;
    // A program folder: the folder with the default TDRPARAM.TXT copied into it.
    QString withDefaultAdjustments() const;

private:
    QTemporaryDir dir_;
};

QByteArray readAll(const QString& path);
QString sourcePath(const QString& relative);   // a file of the source tree
QString samplePath(const QString& relative);   // a file of the shared sample folder
QString batchExecutable();                     // the tandor-batch program

}  // namespace tandor::test
