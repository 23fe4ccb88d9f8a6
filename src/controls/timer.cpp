#include "timer.h"

#include <unordered_map>
#include <unordered_set>

#include "app.h"

namespace {

std::unordered_map<UINT_PTR, Timer*>& RunningTimers() {
    static std::unordered_map<UINT_PTR, Timer*> timers;
    return timers;
}

// Timers whose handler is running now; a timer destroyed by its own handler leaves here
// in its destructor.
std::unordered_set<const Timer*>& TickingTimers() {
    static std::unordered_set<const Timer*> timers;
    return timers;
}

} // namespace

Timer::Timer(unsigned intervalMs, bool enabled) : interval_(intervalMs), enabled_(enabled) {}

Timer::~Timer() {
    enabled_ = false;
    Update();
    TickingTimers().erase(this);
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

void CALLBACK Timer::Tick(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    auto found = RunningTimers().find(id);
    if (found == RunningTimers().end() || !found->second->onTimer_)
        return;
    Timer* timer = found->second;
    try {
        if (!TickingTimers().insert(timer).second)
            return; // still inside its own handler
        // Copy: the handler may change or destroy the timer.
        auto handler = timer->onTimer_;
        handler();
    } catch (...) {
        Application::HandlerFailed("a timer handler");
    }
    TickingTimers().erase(timer); // a no-op when the handler destroyed the timer
}
