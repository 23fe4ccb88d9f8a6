// The end-to-end test programs' main: Google Test, plus a report of the desktop when a test
// runs far longer than any should. A test that hangs is otherwise only "timed out" in the
// log; the windows then open and a screenshot say what it waits for.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "robot.h"
#include "win/encoding.h"

namespace {

BOOL CALLBACK PrintTopLevelWindow(HWND window, LPARAM) {
    wchar_t className[64] = {}, title[128] = {};
    GetClassNameW(window, className, 64);
    // Every thread has these; they say nothing about what a test waits for.
    if (lstrcmpW(className, L"IME") == 0 || lstrcmpW(className, L"tooltips_class32") == 0)
        return TRUE;
    // InternalGetWindowText reads the caption without sending the (maybe hung) owner a message.
    InternalGetWindowText(window, title, 128);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    RECT rect = {};
    GetWindowRect(window, &rect);
    std::printf("  %p pid %lu %s class \"%s\" \"%s\" (%ld,%ld %ldx%ld)%s\n", static_cast<void*>(window),
                static_cast<unsigned long>(processId), IsWindowVisible(window) ? "shown " : "hidden",
                Narrow(className).c_str(), Narrow(title).c_str(), rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top, IsHungAppWindow(window) ? " NOT RESPONDING" : "");
    return TRUE;
}

class HangReporter : public ::testing::EmptyTestEventListener {
public:
    explicit HangReporter(std::chrono::seconds limit) : limit_(limit), watcher_([this] { Watch(); }) {}

    ~HangReporter() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ending_ = true;
        }
        changed_.notify_all();
        watcher_.join();
    }

    void OnTestStart(const ::testing::TestInfo& test) override {
        std::lock_guard<std::mutex> lock(mutex_);
        name_ = std::string(test.test_suite_name()) + "." + test.name();
        ++serial_;
        changed_.notify_all();
    }

    void OnTestEnd(const ::testing::TestInfo&) override {
        std::lock_guard<std::mutex> lock(mutex_);
        name_.clear();
        ++serial_;
        changed_.notify_all();
    }

private:
    void Watch() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!ending_) {
            if (name_.empty()) {
                changed_.wait(lock);
                continue;
            }
            const unsigned serial = serial_;
            if (changed_.wait_for(lock, limit_, [&] { return ending_ || serial_ != serial; }))
                continue;
            Report(name_);
            changed_.wait(lock, [&] { return ending_ || serial_ != serial; });
        }
    }

    void Report(const std::string& name) const {
        std::printf("[ HANGING  ] %s has run %lld s; the desktop's windows:\n", name.c_str(),
                    static_cast<long long>(limit_.count()));
        EnumWindows(PrintTopLevelWindow, 0);
        Text picture = robot::SaveScreenshot("hang-" + name + ".bmp");
        std::printf("  screenshot: %s\n", picture.empty() ? "(none)" : picture.c_str());
        std::fflush(stdout);
    }

    const std::chrono::seconds limit_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string name_;
    unsigned serial_ = 0;
    bool ending_ = false;
    std::thread watcher_;
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // No test case comes near this; the test command allows a whole program 300 s.
    long seconds = 120;
    if (const char* set = std::getenv("LUMERA_HANG_REPORT_SECONDS"))
        seconds = std::strtol(set, nullptr, 10) > 0 ? std::strtol(set, nullptr, 10) : seconds;
    ::testing::UnitTest::GetInstance()->listeners().Append(new HangReporter(std::chrono::seconds(seconds)));
    return RUN_ALL_TESTS();
}
