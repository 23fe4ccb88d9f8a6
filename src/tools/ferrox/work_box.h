// The progress window: runs the work at its first timer tick, shows each step (caption,
// item line, from/to line, bar, animation), asks the engine's questions and offers the
// cancel button, which takes effect at the engine's next cancel check.
#pragma once

#include "controls.h"
#include "file_flight.h"
#include "step_display.h"
#include "timer.h"
#include "tool_form.h"
#include "work_engine.h"

class TWorkBox : public ToolForm, private WorkProgress {
public:
    explicit TWorkBox(WorkOrder order);

    // Shows the window modally above the owner, runs the work and closes; the work's result.
    WorkResult Execute(HWND owner);

protected:
    // Closing while the work runs asks for the stop, as the cancel button does.
    void OnCloseRequest() override;

private:
    void Timer1Timer();
    void Button1Click();

    void ShowStep(const Text& caption, const std::wstring& item, const std::wstring& fromTo) override;
    void SetProgress(int percent) override;
    void ProcessMessages() override;
    void Delay(unsigned milliseconds) override;
    bool RunBlocking(const std::function<bool()>& operation) override;
    int Ask(const std::wstring& text, UINT style) override;
    OverwriteAnswer AskOverwrite(const OverwriteQuestion& question) override;
    bool AskName(const Text& caption, const std::wstring& prompt, std::wstring& name) override;
    HWND window() const override { return handle(); }

    Operation operation_;
    WorkEngine engine_;
    // Drawn rather than the platform's clip: Wine plays a "Searching" placeholder for the
    // copy and recycle clips.
    FileFlight Animate1;
    Label Label1, Label2;
    ProgressBar ProgressBar1;
    Button Button1;
    Timer Timer1{1, false};
    StepDisplay display_;
    bool working_ = false;
    WorkResult result_ = WorkResult::Normal;
};
