// The uninstaller's window: the installer's frame with its progress page, the credit line
// and one OK button. The run starts on the first timer tick after the window shows.
#pragma once

#include <string>

#include "controls.h"
#include "gdi.h"
#include "setup_frame.h"
#include "timer.h"
#include "uninstall_run.h"

// The credit line: lime text on the window's face.
class CreditText : public Label {
public:
    HBRUSH OnControlColor(HDC dc) override;
};

class TUninstallForm : public SetupFrame, private UninstallProgress {
public:
    TUninstallForm(const std::wstring& appName, InstallLog& log);

    bool FormCreate();
    void Timer1Timer();
    UninstallOutcome Outcome() const { return outcome_; }

    CreditText CreditLabel;
    Timer Timer1{1, false};

protected:
    // Only once the run ended.
    bool CloseAllowed() override { return Progress.CompleteLabel.visible(); }

private:
    void SetBarMaximum(UninstallBar bar, int maximum) override;
    void StepBar(UninstallBar bar) override;
    bool ConfirmUninstall(const std::wstring& question) override;
    bool AskContinue(const std::wstring& question) override { return AskToContinue(question); }
    void Log(const std::wstring& line) override { log_.Line(line); }
    void RestartNeeded(const std::wstring& notice) override { KeepRestartNotice(notice); }

    std::wstring appName_;
    UninstallOutcome outcome_ = UninstallOutcome::Declined;
    UniqueGdiObject creditFont_;
};

// Runs the uninstaller's window until it closes; its outcome.
UninstallOutcome RunUninstallWindow(const std::wstring& appName, InstallLog& log);
