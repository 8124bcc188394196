#pragma once

#include <sys/resource.h>
#include <QtGlobal>

namespace tandor::test {

// A full disk, simulated without special rights: while the object lives, no
// file of this process may grow past `bytes` bytes (RLIMIT_FSIZE). A write
// that crosses the limit is cut short at it and the next one fails with
// EFBIG, as on a disk that fills up in the middle of a write. The signal the
// system sends then (SIGXFSZ) is ignored meanwhile.
class DiskLimit {
public:
    explicit DiskLimit(qint64 bytes);
    ~DiskLimit();
    DiskLimit(const DiskLimit&) = delete;
    DiskLimit& operator=(const DiskLimit&) = delete;

    bool effective() const { return effective_; }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
    bool effective_ = false;
};

}  // namespace tandor::test
