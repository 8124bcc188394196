#pragma once

#include <exception>
#include <utility>

namespace tandor {

// Runs `undo` when the scope it guards is left by an exception, of whatever
// type, and lets the exception go on. `undo` must not throw.
template <typename Undo>
class OnFailure {
public:
    explicit OnFailure(Undo undo) : undo_(std::move(undo)) {}
    ~OnFailure() {
        if (std::uncaught_exceptions() > entered_) {
            undo_();
        }
    }
    OnFailure(const OnFailure&) = delete;
    OnFailure& operator=(const OnFailure&) = delete;

private:
    Undo undo_;
    int entered_ = std::uncaught_exceptions();
};

}  // namespace tandor
