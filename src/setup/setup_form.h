// The installer's wizard: up to six settings pages in front of the background window,
// then the engine's progress with its four bars and the optional run page.
#pragma once

#include <string>

#include "install_engine.h"
#include "licence_page.h"
#include "method_page.h"
#include "readme_page.h"
#include "run_page.h"
#include "setup_data.h"
#include "setup_frame.h"
#include "shortcut_page.h"
#include "start_page.h"
#include "welcome_page.h"
#include "wizard_pages.h"

class TSetupMainForm : public SetupFrame, private InstallProgress {
public:
    TSetupMainForm(const SetupData& data, InstallLog& log);

    // Builds the window and every page from the data file, starting on the welcome page.
    bool FormCreate(HWND owner);
    // Shows the page (None hides every settings page), with its caption and button texts.
    void ShowPage(WizardPage page, bool forward);

    void BitBtn1Click(); // Back
    void BitBtn2Click(); // Next
    void BitBtn4Click(); // Browse
    void Edit1Change();
    void Edit2Change();
    void ListBox1Click();

    WizardPage Page() const { return page_; }
    bool Completed() const { return installStarted_ && result_ == InstallResult::Completed; }
    bool Stopped() const { return installStarted_ && result_ == InstallResult::Stopped; }

    WelcomePage Welcome;    // page 1
    LicencePage Licence;    // page 2
    ReadmePage Readme;      // page 3
    MethodPage Method;      // page 4
    ShortcutPage Shortcuts; // page 5
    StartSetupPage Start;   // page 6
    RunPage Run;            // over the progress page

protected:
    // On a settings page the user is asked; once the run started, only its end lets it close.
    bool CloseAllowed() override;

private:
    void SetBar(InstallBar bar, int position, int max) override;
    bool AskContinue(const std::wstring& text) override { return AskToContinue(text); }
    void Log(const std::wstring& line) override { log_.Line(line); }
    void RestartNeeded(const std::wstring& notice) override { KeepRestartNotice(notice); }

    Panel* PagePanel(WizardPage page);
    // The method page's Next: a first folder choice must name a full path on a drive with
    // room, and exist or be made; false stays on the page.
    bool MethodFolderReady();
    // What the pages chose, over what the data file proposed.
    InstallChoices Choices() const;
    void RunInstallation();
    void Finish();

    const SetupData& data_;
    Text appName_;
    std::wstring programsFolder_;
    InstallProposal proposal_;
    PageAvailability offered_;
    WizardPage page_ = WizardPage::None;
    bool running_ = false;
    InstallResult result_ = InstallResult::Stopped;
    bool installStarted_ = false;
};

enum class WizardOutcome { Cancelled, Stopped, Completed };
// Runs the wizard modally over its owner until it closes.
WizardOutcome RunSetupWizard(HWND owner, const SetupData& data, InstallLog& log);
