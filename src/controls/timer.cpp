#include "timer.h"

#include <unordered_map>

namespace {

std::unordered_map<UINT_PTR, Timer*>& RunningTimers() {
    static std::unordered_map<UINT_PTR, Timer*> timers;
    return timers;
}

} // namespace

Timer::Timer(unsigned intervalMs, bool enabled) : interval_(intervalMs), enabled_(enabled) {}

Timer::~Timer() {
    enabled_ = false;
    Update();
}

void Timer::SetInterval(unsigned intervalMs) {
    if (intervalMs == interval_)
        return;
    interval_ = intervalMs;
    if (id_ != 0) {
        // Restart, so the new interval counts from now.
        KillTimer(nullptr, id_);
        RunningTimers().erase(id_);
        id_ = 0;
    }
    Update();
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Update();
}

void Timer::SetHandler(std::function<void()> handler) {
    onTimer_ = std::move(handler);
    Update();
}

void Timer::Update() {
    bool shouldRun = enabled_ && interval_ > 0 && onTimer_;
    if (shouldRun && id_ == 0) {
        id_ = SetTimer(nullptr, 0, interval_, Tick);
        if (id_ != 0)
            RunningTimers()[id_] = this;
    } else if (!shouldRun && id_ != 0) {
        KillTimer(nullptr, id_);
        RunningTimers().erase(id_);
        id_ = 0;
    }
}

void CALLBACK Timer::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = RunningTimers().find(id);
    if (found != RunningTimers().end() && found->second->onTimer_) {
        // Copy: the handler may change or destroy the timer.
        auto handler = found->second->onTimer_;
        handler();
    }
}
