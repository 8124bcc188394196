#include "platform/FaultPoint.h"

#include <QHash>
#include <atomic>

#include "platform/AppError.h"

namespace tandor::fault {
namespace {

struct State {
    QHash<QString, int> armed;  // name -> hits still to let through
    bool recording = false;
    QStringList hits;
};

std::atomic<bool> active{false};

State& state() {
    static State s;
    return s;
}

}  // namespace

void hit(const char* name) {
    if (!active.load(std::memory_order_relaxed)) {
        return;
    }
    State& s = state();
    const QString key = QString::fromLatin1(name);
    if (s.recording) {
        s.hits.append(key);
    }
    auto it = s.armed.find(key);
    if (it == s.armed.end()) {
        return;
    }
    if (it.value() > 0) {
        --it.value();
        return;
    }
    s.armed.erase(it);
    throw AppError(errors::kDeviceIo, QStringLiteral("Device I/O error"));
}

void arm(const QString& name, int skipHits) {
    state().armed.insert(name, skipHits);
    active = true;
}

void disarmAll() {
    State& s = state();
    s.armed.clear();
    s.recording = false;
    s.hits.clear();
    active = false;
}

void startRecording() {
    State& s = state();
    s.recording = true;
    s.hits.clear();
    active = true;
}

QStringList recordedHits() {
    return state().hits;
}

}  // namespace tandor::fault
