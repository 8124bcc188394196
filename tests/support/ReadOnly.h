#pragma once

#include <QString>

namespace tandor::test {

// Makes a file or a folder read-only for as long as the object lives: its
// write permissions are removed and, for the superuser (whom permissions do
// not stop), the file system's immutable flag is set. effective() tells
// whether writing is really refused now; a test that needs it skips when not.
class ReadOnly {
public:
    explicit ReadOnly(QString path);
    ~ReadOnly();
    ReadOnly(const ReadOnly&) = delete;
    ReadOnly& operator=(const ReadOnly&) = delete;

    bool effective() const { return effective_; }

private:
    QString path_;
    bool isFolder_ = false;
    bool immutableSet_ = false;
    bool effective_ = false;
    int oldPermissions_ = 0;
};

}  // namespace tandor::test
