#include "DiskLimit.h"

#include <csignal>

namespace tandor::test {

DiskLimit::DiskLimit(qint64 bytes) {
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    if (::getrlimit(RLIMIT_FSIZE, &old_) != 0) {
        return;
    }
    rlimit limited = old_;
    limited.rlim_cur = static_cast<rlim_t>(bytes);
    effective_ = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
}

DiskLimit::~DiskLimit() {
    if (effective_) {
        ::setrlimit(RLIMIT_FSIZE, &old_);
    }
    std::signal(SIGXFSZ, oldHandler_);
}

}  // namespace tandor::test
