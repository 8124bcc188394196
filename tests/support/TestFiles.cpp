#include "support/TestFiles.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tandor::test {

TempFolder::TempFolder() {
    EXPECT_TRUE(dir_.isValid());
}

QString TempFolder::write(const QString& name, const QByteArray& bytes) const {
    const QString path = file(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
    return path;
}

QString TempFolder::withDefaultAdjustments() const {
    write(QStringLiteral("TDRPARAM.TXT"), readAll(sourcePath(QStringLiteral("data/TDRPARAM.TXT"))));
    return path();
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

QString sourcePath(const QString& relative) {
    return QStringLiteral(TANDOR_SOURCE_DIR "/") + relative;
}

QString samplePath(const QString& relative) {
    return QStringLiteral(TANDOR_SAMPLES_DIR "/") + relative;
}

QString batchExecutable() {
    const QString fromEnv = qEnvironmentVariable("TANDOR_BATCH");
    return fromEnv.isEmpty() ? QStringLiteral(TANDOR_PROGRAM_DIR "/tandor-batch") : fromEnv;
}

}  // namespace tandor::test
