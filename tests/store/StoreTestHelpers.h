#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QStringList>

#include "platform/FaultPoint.h"

namespace tandor::test {

// Every test starts and ends with no fault point armed.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override { fault::disarmAll(); }
    void TearDown() override { fault::disarmAll(); }
};

// The names of the files in a folder.
inline QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

}  // namespace tandor::test
