// The installer's wizard: up to six settings pages in front of the background window,
// then the engine's progress with its four bars and the optional run page.
#pragma once

#include <array>
#include <string>

#include "app.h"
#include "controls.h"
#include "form.h"
#include "gdi.h"
#include "install_engine.h"
#include "licence_page.h"
#include "method_page.h"
#include "progress_page.h"
#include "readme_page.h"
#include "run_page.h"
#include "shortcut_page.h"
#include "start_page.h"
#include "timer.h"
#include "uninstall_run.h"
#include "setup_data.h"
#include "welcome_page.h"
#include "wizard_pages.h"

// The uninstaller's credit line: lime text on the window's face.
class CreditText : public Label {
public:
    HBRUSH OnControlColor(HDC dc) override;
};

class TSetupMainForm : public Form, private InstallProgress {
public:
    explicit TSetupMainForm(const SetupData& data, InstallLog& log);
    ~TSetupMainForm() override;

    // Builds the window and every page from the data file, starting on the welcome page.
    bool FormCreate(HWND owner);
    // The same window as the uninstaller's progress: the run starts on the first timer tick
    // after the window shows.
    bool FormCreateUninstall(const std::wstring& appName);
    void Timer1Timer();
    UninstallOutcome UninstallResult() const { return uninstallOutcome_; }
    // Shows the page (None hides every settings page), with its caption and button texts.
    void ShowPage(WizardPage page, bool forward);

    void BitBtn1Click(); // Back
    void BitBtn2Click(); // Next
    void BitBtn3Click(); // Cancel
    void BitBtn4Click(); // Browse
    void Edit1Change();
    void Edit2Change();
    void ListBox1Click();
    bool FormKeyDown(WPARAM key);
    // Whether the window may close now; asks the user on a settings page.
    bool FormCloseQuery();

    WizardPage Page() const { return page_; }
    bool Completed() const { return installStarted_ && result_ == InstallResult::Completed; }
    bool Stopped() const { return installStarted_ && result_ == InstallResult::Stopped; }

    Image PictureImage;
    Bevel Divider;
    Button BitBtn1, BitBtn2, BitBtn3;
    WelcomePage Welcome;    // page 1
    LicencePage Licence;    // page 2
    ReadmePage Readme;      // page 3
    MethodPage Method;      // page 4
    ShortcutPage Shortcuts; // page 5
    StartSetupPage Start;   // page 6
    ProgressPage Progress;
    RunPage Run; // over the progress page
    CreditText CreditLabel;
    Timer Timer1{1, false};

protected:
    void OnCloseRequest() override;

private:
    void SetBar(InstallBar bar, int position, int max) override;
    bool AskContinue(const std::wstring& text) override;
    void Log(const std::wstring& line) override { log_.Line(line); }

    class UninstallBars;
    bool CreateFrame(HWND owner, const Text& caption);
    void LoadPicture();
    void CreateProgressPage(const std::wstring& text, const std::array<const char*, 4>& barNames,
                            const Text& completion);
    Panel* PagePanel(WizardPage page);
    void RunInstallation();
    void Finish();

    const SetupData& data_;
    InstallLog& log_;
    Text appName_;
    std::wstring recordName_; // the record "EscToClose" is read from
    bool uninstallMode_ = false;
    UninstallOutcome uninstallOutcome_ = UninstallOutcome::Declined;
    std::wstring programsFolder_;
    InstallProposal proposal_;
    PageAvailability offered_;
    WizardPage page_ = WizardPage::None;
    bool running_ = false;
    InstallResult result_ = InstallResult::Stopped;
    bool installStarted_ = false;
    UniqueGdiObject picture_;
    UniqueGdiObject boldFont_;
    UniqueGdiObject creditFont_;
    // The engine runs inside the Next handler; the window keeps painting and answering
    // through this pump. Its handlers refuse a second run and closing while it works.
    Application::PacedMessagePump pump_{20};
};

enum class WizardOutcome { Cancelled, Stopped, Completed };
// Runs the uninstaller's window until it closes; its outcome.
UninstallOutcome RunUninstallWindow(const std::wstring& appName, InstallLog& log);

// Runs the wizard modally over its owner until it closes.
WizardOutcome RunSetupWizard(HWND owner, const SetupData& data, InstallLog& log);
