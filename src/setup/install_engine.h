// The installation the data file describes, carried out in one pass without windows:
// folders, the uninstaller, files, shortcuts, registry entries, the uninstall record and
// the system's uninstall entry. The wizard (or a silent run, or a test) sees it only
// through InstallProgress: four bars, continue questions and a line per step.
// There is no rollback: what a stopped run made stays.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "files_in_use.h"
#include "path_macros.h"
#include "setup_data.h"
#include "win/handles.h"

// The four bars of the progress page.
enum InstallBar { FolderBar = 0, ProgramBar = 1, ShortcutBar = 2, RegistryBar = 3 };

class InstallProgress {
public:
    virtual ~InstallProgress() = default;
    // Called once per bar with position 0 before any step, then after every step of that bar.
    // A bar sized 0 counted nothing and is hidden.
    virtual void SetBar(InstallBar bar, int position, int max) = 0;
    // A failed folder or file step: the text names it and asks whether to go on. No ends the run.
    virtual bool AskContinue(const std::wstring& text) = 0;
    // What a step did ("created", "copied", "skipped", "written"), one line each.
    virtual void Log(const std::wstring& line) { (void)line; }
    // A step that did not do what the data file asks, named by the line; the run goes on.
    virtual void StepFailed(const std::wstring& line) { Log(line); }
    // Once at the end of a run that left files for the system to put in place at the next
    // restart (a running program held them): RestartNotice's text, shown in an information
    // box over the active window unless overridden.
    virtual void RestartNeeded(const std::wstring& notice);
};

// What the user is told about files a running program still held: each is put in place
// (or, for an uninstall, removed) when the computer next starts.
std::wstring RestartNotice(const std::vector<std::wstring>& files, bool removal);
// The information box of RestartNeeded, over the active window of the thread.
void ShowRestartNotice(const std::wstring& notice);

// The log a "/LOG=file" run keeps: one line per step in UTF-8, CR LF after each. The file
// is made afresh; an empty name keeps no log.
class InstallLog {
public:
    explicit InstallLog(const std::wstring& file);

    bool IsOpen() const;
    // Line breaks inside the text become blanks, so one step stays one line.
    void Line(const std::wstring& text);

private:
    UniqueHandle file_;
};

// A run without windows: there are no bars to show, and a continue question is answered No,
// which stops the run. Every line and question goes to the log.
class SilentProgress : public InstallProgress {
public:
    explicit SilentProgress(InstallLog& log) : log_(log) {}
    void SetBar(InstallBar, int, int) override {}
    bool AskContinue(const std::wstring& text) override;
    void Log(const std::wstring& line) override { log_.Line(line); }
    void StepFailed(const std::wstring& line) override;
    void RestartNeeded(const std::wstring& notice) override;
    // The steps that failed while the run went on.
    int Failures() const { return failures_; }
    // Files are left for the next restart to put in place.
    bool NeedsRestart() const { return needsRestart_; }

private:
    InstallLog& log_;
    int failures_ = 0;
    bool needsRestart_ = false;
};

// What the wizard's pages hold when the run starts.
struct InstallChoices {
    // The second folder choice: use the setup program's own folder and copy nothing.
    bool intoSetupFolder = false;
    PathContext paths; // the folder field and the program group field
    bool startMenu = false;
    bool desktop = false;
    bool sendTo = false;
};

// What the wizard first shows, and what a silent run installs with.
struct InstallProposal {
    InstallChoices choices;
    // A start-menu entry lies in the program group, so the group field is asked for.
    bool groupNeeded = false;
    // The first folder choice can be taken: the proposed folder is not empty.
    bool folderChoiceAvailable = false;
};

// The folder the record holds (else "Install" "Path" expanded); the second choice when
// that is the setup program's own folder or when there is no folder at all. The group the
// record holds (else "Install" "StartPath" expanded) when a start-menu entry needs one.
// Each shortcut box is ticked when its first "Install" entry is present.
InstallProposal ProposeInstallation(const SetupData& data);

// The platform folders the engine writes into, read once when the wizard starts.
struct InstallFolders {
    std::wstring windows; // uninstaller, its uninstall command, the favourites link
    std::wstring desktop;
    std::wstring sendTo;
    // With the Windows folder, where files are shared by products (SharedDLLs use counts).
    std::wstring system;

    static InstallFolders FromPlatform();
};

enum class CopyResult { Failed = 0, Copied = 1, Skipped = 2, SourceMissing = 3 };

// Copies unless the destination is as new or newer; the destination's folders are made
// with all missing parents.
CopyResult CopyIfNewer(const std::wstring& source, const std::wstring& destination);

// The installation folder the run works with: the setup program's folder for the second choice.
PathContext EffectivePaths(const SetupData& data, const InstallChoices& choices);

enum class InstallResult { Completed, Stopped, Refused };

// Runs every step in order. Stopped when a continue question was answered No: every
// later step, the uninstall record and the uninstall entry included, is skipped. Refused,
// before any step, when the data file names no product (no AppName): nothing could be
// recorded, so nothing could be uninstalled.
//
// Before the files are copied, the programs holding one that is to be replaced are asked
// to close, and started again afterwards, without a question. A file still held is copied
// beside its destination and put in place by the system at the next restart (a line per
// file, then RestartNeeded); only when that cannot be arranged either is the user asked.
InstallResult RunInstallation(const SetupData& data, const InstallChoices& choices,
                              const InstallFolders& folders, InstallProgress& progress);
InstallResult RunInstallation(const SetupData& data, const InstallChoices& choices,
                              const InstallFolders& folders, InstallProgress& progress, FilesInUse& inUse);

// "Favorites\Morivane Lounge.url" in the Windows folder; nothing when that folder is missing.
bool WriteFavouritesLink(const std::wstring& windowsFolder);
std::wstring FavouritesLinkFile(const std::wstring& windowsFolder);
// What the link holds, byte for byte.
Text FavouritesLinkText();

// The run page's programs, index 1 to 3 of "Run" for each ticked box, started through the
// shell after the run has completed.
void StartRunPrograms(const SetupData& data, const PathContext& paths, const std::array<bool, 3>& ticked);
