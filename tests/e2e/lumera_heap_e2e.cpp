// The tray program started again and again with a click on its icon arriving as early as
// it can: as soon as the window the shell talks to exists, while the start-up still runs.
// CTest runs this with Wine's and glibc's heap checking on (LUMERA_HEAPCHECK=1), so a menu
// torn down or rebuilt under the user's hand shows as a heap abort or a bad exit code.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "lumera_support.h"

using namespace lumera_e2e;

namespace {

constexpr int Starts = 50;

// The window the shell talks to, looked for without pause: the message must beat the start-up.
HWND WaitForCallbackWindow(const robot::Process& process, DWORD timeout) {
    ULONGLONG end = GetTickCount64() + timeout;
    while (GetTickCount64() < end && process.running()) {
        if (HWND window = robot::FindTrayCallbackWindow(process.id()))
            return window;
        Sleep(0);
    }
    return nullptr;
}

// Wine with heap checking on now and then fails to create a process at all: the new process
// ends before any of its code runs, and CreateProcess fails with ERROR_INTERNAL_ERROR. Seen
// about once in 300 starts, of a program that does nothing too. Such a start is reported and
// made once more; any other failure to start counts.
bool StartProgram(robot::Process& process, const Installation& installation, int start) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (process.Start(installation.exe(), "", installation.folder()))
            return true;
        if (GetLastError() != ERROR_INTERNAL_ERROR)
            return false;
        std::printf("start %d: Wine could not create the process (error 1359); starting it again\n", start);
        std::fflush(stdout);
    }
    return false;
}

// One start: the early click, the start-up finished, every menu closed and the program
// ended as the shell ends it. Empty when all went well, else what went wrong.
Text StartClickAndEnd(const Installation& installation, int start) {
    robot::Process process;
    if (!StartProgram(process, installation, start))
        return "did not start (error " + std::to_string(GetLastError()) + ")";
    robot::MenuReader menus(process.id());
    HWND callback = WaitForCallbackWindow(process, 20000);
    if (!callback)
        return "no callback window";
    PostMessageW(callback, robot::TrayCallbackMessage, 1, WM_RBUTTONDOWN);

    bool ready =
        robot::WaitUntil([&] { return RunningLumera::IsReady(process.id()) || !process.running(); }, 20000);
    if (process.running()) {
        if (!ready)
            return "start-up did not finish";
        menus.CloseAll();
        if (!robot::WaitUntil(
                [&] { return robot::OpenMenuCount(process.id()) == 0 || !process.running(); })) {
            robot::SaveScreenshot("lumera-heap-menu-stuck.bmp"); // the last such start
            return "the menu did not close";
        }
        if (HWND form = MainForm(process.id()))
            PostMessageW(form, WM_CLOSE, 0, 0);
    }
    std::optional<DWORD> code = process.WaitForExit(15000);
    if (!code)
        return "did not end";
    if (*code != 0) {
        std::ostringstream text;
        text << "ended with exit code 0x" << std::hex << *code << (ready ? "" : " during the start-up");
        return text.str();
    }
    return "";
}

TEST(LumeraEarlyTrayMessage, NoHeapAbortInFiftyStarts) {
    ResetSettings();
    Installation installation("heap");
    int failures = 0;
    for (int start = 1; start <= Starts; ++start) {
        Text fault = StartClickAndEnd(installation, start);
        if (!fault.empty()) {
            ++failures;
            ADD_FAILURE() << "start " << start << ": " << fault;
        }
    }
    std::printf("%d of %d starts failed\n", failures, Starts);
    ResetSettings();
}

} // namespace
