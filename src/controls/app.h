// The program as a whole: its title (default caption of message boxes), instance, main
// icon and main window, and the message loop with keyboard navigation for forms.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "jjstring.h"

namespace Application {

void Initialize(HINSTANCE instance, const Text& title);
HINSTANCE Instance();
const Text& Title();
void SetTitle(const Text& title);
// The program's "MAINICON" resource, or the platform's application icon.
HICON MainIcon();
// The program's help file (none when empty): F1 in its forms opens its contents.
void SetHelpFile(const std::wstring& path);
const std::wstring& HelpFile();
// Also the owner of the shell windows the shared library opens.
void SetMainWindow(HWND window);
HWND MainWindow();

// Files dropped on any window of the program (registered with AcceptDroppedFiles) go to
// this handler, full paths as the shell gave them; the drop is released afterwards.
using DropHandler = std::function<void(const std::vector<std::wstring>& paths)>;
void SetDropHandler(DropHandler handler);
void AcceptDroppedFiles(HWND window);

// Runs until WM_QUIT; returns its exit code.
int Run();
// A nested loop for as long as the condition holds (a modal window is open). A WM_QUIT on
// the way ends it and is posted again, so the program's own loop ends too.
void RunWhile(const std::function<bool()>& open);
// Handles every message waiting now, then returns (also used while work goes on).
void ProcessMessages();
// Keeps the thread's windows repainting and answering while long work runs on the thread.
// Each fetch of messages is a trip to the server under Wine, so they are fetched at most
// once per interval rather than per step of the work.
class PacedMessagePump {
public:
    explicit PacedMessagePump(ULONGLONG interval) : interval_(interval) {}
    // True at most once per interval (the first call always).
    bool Due();
    // Handles the waiting messages when due.
    void Pump();

private:
    ULONGLONG interval_;
    ULONGLONG last_ = 0;
    bool started_ = false;
};
// Gives one message the forms' keyboard handling and dispatches it.
void DispatchOne(MSG& message);

// Called from the catch-all of a window procedure, subclass procedure or callback: a
// failing handler must not end the program, so the failure is only reported to a
// debugger and the message counts as handled.
void HandlerFailed(const char* where) noexcept;

// The program's modal window that is open now (the innermost when they stack): a message
// box, a file or folder dialog, or a modal form; nullptr when none is open.
HWND ActiveModalWindow();

// Registers a modal window for as long as it lives. A modal form passes its window; for
// the platform's boxes and dialogs, which make their window inside the call, the scope
// takes the first dialog window the thread creates while it lives.
class ModalScope {
public:
    explicit ModalScope(HWND window = nullptr);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    HWND window() const { return window_; }

private:
    static LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam) noexcept;

    HWND window_;
    DWORD thread_;
    HHOOK hook_ = nullptr;
};

} // namespace Application
