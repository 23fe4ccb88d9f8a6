// A message-driven timer on the user-interface thread. It ticks while it is enabled,
// has an interval above zero and a handler; it needs no window of its own. A handler never
// runs inside itself: ticks that come while it still runs (a message box it shows runs a
// message loop) are dropped.
#pragma once

#include <windows.h>

#include <functional>

class Timer {
public:
    explicit Timer(unsigned intervalMs = 1000, bool enabled = true);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    unsigned interval() const { return interval_; }
    void SetInterval(unsigned intervalMs);
    bool enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    void SetHandler(std::function<void()> handler);

private:
    void Update();
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) noexcept;

    unsigned interval_;
    bool enabled_;
    std::function<void()> onTimer_;
    UINT_PTR id_ = 0;
};
