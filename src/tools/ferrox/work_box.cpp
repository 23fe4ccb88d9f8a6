#include "work_box.h"

#include "app.h"
#include "dialogs.h"
#include "help_topics.h"
#include "input_box.h"
#include "owrite_box.h"
#include "tool_settings.h"
#include "win/encoding.h"
#include "win/handles.h"

TWorkBox::TWorkBox(WorkOrder order)
    : operation_(order.operation), engine_(std::move(order), *this),
      display_({[this](const std::wstring& text) { SetText(text); },
                [this](const std::wstring& text) { Label1.SetText(text); },
                [this](const std::wstring& text) { Label2.SetText(text); },
                [this](int percent) { ProgressBar1.SetPosition(percent); }},
               Widen(CurrentTool().title)) {}

WorkResult TWorkBox::Execute(HWND owner) {
    helpContext_ = HelpFerroxWork;
    if (!CreateForm({"TWorkBox", CurrentTool().title, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 437,
                     148, owner, WS_EX_DLGMODALFRAME}))
        return WorkResult::Normal;
    Animate1.Create(*this, {10, 2, 417, 60}, operation_ == Operation::Delete);
    Animate1.SetName("Animate1");
    const DWORD lineStyle = SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS;
    Label1.Create(*this, "", {8, 64, 425, 16}, lineStyle);
    Label1.SetName("Label1");
    Label2.Create(*this, "", {8, 88, 425, 16}, lineStyle);
    Label2.SetName("Label2");
    ProgressBar1.Create(*this, {8, 109, 337, 14});
    ProgressBar1.SetName("ProgressBar1");
    ProgressBar1.SetRange(0, 100);
    Button1.Create(*this, "ｷｬﾝｾﾙ", {354, 110, 75, 25});
    Button1.SetName("Button1");
    SetDefaultButton(Button1);
    Button1.onClick = [this] { Button1Click(); };
    RestorePosition({100, 100, Placement::PlatformDefault}, "WorkTop", "WorkLeft", true);
    Timer1.SetHandler([this] { Timer1Timer(); });
    Timer1.SetEnabled(true);
    ShowModal();
    return result_;
}

void TWorkBox::Timer1Timer() {
    Timer1.SetEnabled(false);
    Animate1.Play();
    working_ = true;
    result_ = engine_.Run();
    working_ = false;
    Animate1.Stop();
    Label1.SetText(Text());
    Label2.SetText(Text());
    ProgressBar1.SetPosition(0);
    Close();
}

void TWorkBox::Button1Click() {
    engine_.RequestCancel();
}

void TWorkBox::OnCloseRequest() {
    if (working_) {
        engine_.RequestCancel();
        return;
    }
    SavePosition("WorkTop", "WorkLeft", true);
    DestroyWindow(handle());
}

void TWorkBox::ShowStep(const Text& caption, const std::wstring& item, const std::wstring& fromTo) {
    display_.ShowStep(Widen(caption), item, fromTo);
}

void TWorkBox::SetProgress(int percent) {
    display_.SetProgress(percent);
}

void TWorkBox::ProcessMessages() {
    if (display_.PumpDue())
        Application::ProcessMessages();
}

namespace {

// Waits for the handle (or for the time) while the thread's windows keep working.
void WaitWithMessages(HANDLE handle, unsigned milliseconds) {
    ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        ULONGLONG now = GetTickCount64();
        DWORD wait = milliseconds == INFINITE ? INFINITE : now >= end ? 0 : static_cast<DWORD>(end - now);
        DWORD woken = MsgWaitForMultipleObjectsEx(handle ? 1 : 0, handle ? &handle : nullptr, wait,
                                                  QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (handle && woken == WAIT_OBJECT_0)
            return;
        if (woken == WAIT_TIMEOUT || woken == WAIT_FAILED)
            return;
        Application::ProcessMessages();
        if (milliseconds != INFINITE && GetTickCount64() >= end)
            return;
    }
}

struct BlockingJob {
    const std::function<bool()>* operation;
    bool result = false;
};

DWORD WINAPI RunJob(LPVOID parameter) {
    auto* job = static_cast<BlockingJob*>(parameter);
    try {
        job->result = (*job->operation)();
    } catch (...) {
        job->result = false;
    }
    return 0;
}

} // namespace

void TWorkBox::Delay(unsigned milliseconds) {
    display_.Update();
    if (milliseconds == 0) {
        Application::ProcessMessages();
        return;
    }
    WaitWithMessages(nullptr, milliseconds);
}

bool TWorkBox::RunBlocking(const std::function<bool()>& operation) {
    // The file operation runs on a worker thread while this thread keeps the window
    // repainting and the cancel button answering.
    display_.Update();
    BlockingJob job{&operation};
    UniqueHandle thread(CreateThread(nullptr, 0, RunJob, &job, 0, nullptr));
    if (!thread)
        return operation();
    WaitWithMessages(thread.get(), INFINITE);
    WaitForSingleObject(thread.get(), INFINITE);
    return job.result;
}

int TWorkBox::Ask(const std::wstring& text, UINT style) {
    display_.Update();
    return ShowMessageBox(text, CurrentTool().title, style, handle());
}

OverwriteAnswer TWorkBox::AskOverwrite(const OverwriteQuestion& question) {
    display_.Update();
    TOWriteBox box;
    return box.Execute(handle(), question);
}

bool TWorkBox::AskName(const Text& caption, const std::wstring& prompt, std::wstring& name) {
    display_.Update();
    return InputQuery(handle(), caption, prompt, name);
}
