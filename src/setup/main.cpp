// The installer's entry: started from the Windows folder it is the uninstaller of the
// product its parameters name, anywhere else it installs from "Setup.dat" beside it.
// "/SILENT" runs either mode without a window; "/LOG=file" keeps a line per step.
#include <windows.h>

#include "app.h"
#include "back_form.h"
#include "dialogs.h"
#include "install_engine.h"
#include "record_twin.h"
#include "setup_data.h"
#include "setup_form.h"
#include "uninstall_form.h"
#include "uninstall_record.h"
#include "uninstall_run.h"
#include "win/encoding.h"
#include "win/folders.h"
#include "win/handles.h"
#include "win/path_identity.h"
#include "win/process.h"
#include "win/system_libraries.h"

namespace {

// Exit codes, for scripts that run the silent modes (README.md lists them).
constexpr int ExitDone = 0;         // every step succeeded
constexpr int ExitStopped = 1;      // a question was answered No: the run stopped part-way
constexpr int ExitNothingDone = 2;  // no usable data file, no product named or no record: nothing touched
constexpr int ExitWithFailures = 3; // completed, but steps failed; each is named in the log
constexpr int ExitRefused = 4;      // the record is not what the install wrote: nothing touched
constexpr int ExitAtRestart = 5;    // done, but files a running program held change at the next restart

// The uninstall run with no window: it goes ahead without asking, and a file that stays
// (not even removable at the next restart) ends the run as a No would, so the record
// remains for another try.
class SilentUninstall : public UninstallProgress {
public:
    explicit SilentUninstall(InstallLog& log) : log_(log) {}
    void StepFailed(const std::wstring& line) override {
        ++failures;
        log_.Line(line);
    }
    void SetBarMaximum(UninstallBar, int) override {}
    void StepBar(UninstallBar) override {}
    bool ConfirmUninstall(const std::wstring&) override { return true; }
    bool AskContinue(const std::wstring& question) override {
        log_.Line(L"Answered No: " + question);
        return false;
    }
    void Log(const std::wstring& line) override { log_.Line(line); }
    void RestartNeeded(const std::wstring& notice) override {
        needsRestart = true;
        log_.Line(L"Restart needed: " + notice);
    }

    int failures = 0;
    bool needsRestart = false;

private:
    InstallLog& log_;
};

void ShowStartMessage(const std::wstring& text) {
    ShowMessageBox(text, SetupTitle, MessageStop);
}

std::wstring NoAppNameDataMessage(const std::wstring& dataFile) {
    return Widen(Text("ｾｯﾄｱｯﾌﾟﾃﾞｰﾀに製品名 (AppName) がありません。ｾｯﾄｱｯﾌﾟを中止します。")) + L"\r\n" +
           dataFile;
}

int RunUninstallMode(const UninstallCommand& command) {
    InstallLog log(command.logFile);
    if (command.appName.empty()) {
        if (command.silent)
            log.Line(NoAppNameMessage());
        else
            ShowStartMessage(NoAppNameMessage());
        return ExitNothingDone;
    }
    EnableBackupPrivilege();
    ComInit com;
    UninstallOutcome outcome;
    int failures = 0;
    bool needsRestart = false;
    if (command.silent) {
        SilentUninstall progress(log);
        outcome = RunUninstall(command.appName, progress);
        failures = progress.failures;
        needsRestart = progress.needsRestart;
    } else if (!ReadUninstallRecord(command.appName).present()) {
        outcome = UninstallOutcome::NoRecord; // said before any window shows
    } else if (CheckRecordTwin(command.appName) != TwinCheck::Matches) {
        outcome = UninstallOutcome::Refused;
    } else {
        outcome = RunUninstallWindow(command.appName, log);
    }
    switch (outcome) {
    case UninstallOutcome::NoRecord:
        if (command.silent)
            log.Line(NoRecordMessage(command.appName));
        else
            ShowStartMessage(NoRecordMessage(command.appName));
        return ExitNothingDone;
    case UninstallOutcome::Refused:
        if (command.silent)
            log.Line(RefusedRecordMessage(command.appName));
        else
            ShowStartMessage(RefusedRecordMessage(command.appName));
        return ExitRefused;
    case UninstallOutcome::Declined:
        return ExitNothingDone;
    case UninstallOutcome::Stopped:
        return ExitStopped;
    case UninstallOutcome::Completed:
        if (failures > 0) {
            log.Line(L"Completed with " + std::to_wstring(failures) + L" failed step(s).");
            return ExitWithFailures;
        }
        return needsRestart ? ExitAtRestart : ExitDone;
    }
    return ExitStopped;
}

// "/SILENT": what the wizard would propose, installed without a window.
int RunSilentInstall(const SetupData& data, const std::wstring& logFile) {
    InstallLog log(logFile);
    if (!data.Exists()) {
        log.Line(MissingSetupDataMessage(data.File()));
        return ExitNothingDone;
    }
    if (data.AppName().empty()) {
        log.Line(NoAppNameDataMessage(data.File()));
        return ExitNothingDone;
    }
    ComInit com;
    SilentProgress progress(log);
    InstallProposal proposal = ProposeInstallation(data);
    const std::wstring& folder = proposal.choices.paths.installFolder;
    if (!proposal.choices.intoSetupFolder && !IsFullPath(folder)) {
        log.Line(L"Refused: " + folder + L" " + Widen(Text(NotFullPathMessage)));
        return ExitNothingDone;
    }
    InstallResult result = RunInstallation(data, proposal.choices, InstallFolders::FromPlatform(), progress);
    if (result == InstallResult::Refused)
        return ExitNothingDone;
    if (result != InstallResult::Completed)
        return ExitStopped;
    if (progress.Failures() > 0) {
        log.Line(L"Completed with " + std::to_wstring(progress.Failures()) + L" failed step(s).");
        return ExitWithFailures;
    }
    if (progress.NeedsRestart()) {
        log.Line(L"Completed; the next restart puts the files in use in place.");
        return ExitAtRestart;
    }
    log.Line(L"Completed");
    return ExitDone;
}

// The folder Setup was started in (downloads, an unpacked archive, a disc) stops being the
// current one before anything is started or removed: neither the uninstall run nor a
// program Setup starts finds anything that lies there by name. A log named relative to
// it still goes there.
void LeaveStartFolder(UninstallCommand& command) {
    command.logFile = FullPath(command.logFile);
    std::wstring system = GetSystemDirWide();
    if (!system.empty())
        SetCurrentDirectoryW(system.c_str());
}

} // namespace

int WINAPI wWinMain(HINSTANCE instanceHandle, HINSTANCE, PWSTR, int) {
    RestrictLibrarySearch();
    Application::Initialize(instanceHandle, SetupTitle);
    // The same switches in both modes; the product name matters only to the uninstaller.
    UninstallCommand command = ParseUninstallCommandLine(GetCommandLineW());
    LeaveStartFolder(command);
    if (RunsAsUninstaller())
        return RunUninstallMode(command);

    SetupData data = SetupData::BesideProgram();
    if (command.silent)
        return RunSilentInstall(data, command.logFile);
    // A data file that names no product (empty, not a data file, no "[Infomation]") would
    // install what could never be uninstalled.
    if (data.Exists() && data.AppName().empty()) {
        ShowStartMessage(NoAppNameDataMessage(data.File()));
        return ExitNothingDone;
    }
    ComInit com;
    int exitCode = ExitDone;
    RunBackForm(data, [&](TBackForm& owner) {
        InstallLog log(command.logFile);
        switch (RunSetupWizard(owner.handle(), data, log)) {
        case WizardOutcome::Completed:
            exitCode = ExitDone;
            break;
        case WizardOutcome::Stopped:
            exitCode = ExitStopped;
            break;
        case WizardOutcome::Cancelled:
            exitCode = ExitNothingDone;
            break;
        }
    });
    return data.Exists() ? exitCode : ExitNothingDone;
}
