// The uninstaller: which mode a start means, its start messages, and the removal of one
// product from its uninstall record. The removal talks to its window only through
// UninstallProgress, so the program's window, a silent run and tests all drive it alike.
#pragma once

#include <string>
#include <vector>

#include "files_in_use.h"
#include "jjstring.h"

// Caption of every message box of the installer and the uninstaller.
extern const char* const SetupTitle;

// The program is the uninstaller copy when it runs from the Windows folder itself (its
// file name plays no part). Case-blind; a trailing backslash, short names and "." or ".."
// segments do not matter.
bool IsUninstallerFolder(const std::wstring& programFolder, const std::wstring& windowsFolder);
// IsUninstallerFolder for the running program and this machine's Windows folder.
bool RunsAsUninstaller();

// What the uninstaller's command line asks for.
struct UninstallCommand {
    std::wstring appName; // the parameters joined with one blank each
    bool silent = false;  // "/SILENT": no window and no questions
    std::wstring logFile; // "/LOG=file", empty for none
};
// The parameters after the program name, as the platform split them. "/SILENT" and
// "/LOG=..." (any case) are switches, never part of the name.
UninstallCommand ParseUninstallCommand(const std::vector<std::wstring>& parameters);
// The same for a whole command line, program name first (GetCommandLineW).
UninstallCommand ParseUninstallCommandLine(const wchar_t* commandLine);

// The start message when no product is named: this program is an uninstaller.
std::wstring NoAppNameMessage();
// The start message when the named product has no record.
std::wstring NoRecordMessage(const std::wstring& appName);
// The start message when the record is not what the install wrote (see record_twin.h).
std::wstring RefusedRecordMessage(const std::wstring& appName);
// The first question of a run, and the question after a file that would not go.
std::wstring UninstallQuestion(const std::wstring& appName);
std::wstring DeleteFailedQuestion(const std::wstring& path);

enum class UninstallBar { Programs, Folders, Shortcuts, Registry };

// What a run needs from its window (or from a silent run, or a test).
class UninstallProgress {
public:
    virtual ~UninstallProgress() = default;
    // Once before the first step. A bar with maximum 0 has nothing to do and is hidden;
    // the registry bar always has work (the uninstall entry and the record).
    virtual void SetBarMaximum(UninstallBar bar, int maximum) = 0;
    virtual void StepBar(UninstallBar bar) = 0;
    // The first question (Yes/No, question icon): true goes ahead.
    virtual bool ConfirmUninstall(const std::wstring& question) = 0;
    // A file that stayed (Yes/No, stop icon, No the default): true goes on with the next.
    virtual bool AskContinue(const std::wstring& question) = 0;
    // One line per thing removed or kept, for a log file; ignored by default.
    virtual void Log(const std::wstring& line);
    // A step that did not undo what the record lists, named by the line; the run goes on.
    virtual void StepFailed(const std::wstring& line) { Log(line); }
    // Once at the end of a run that left files a running program held for the system to
    // remove at the next restart: RestartNotice's text (install_engine.h), shown in an
    // information box over the active window unless overridden.
    virtual void RestartNeeded(const std::wstring& notice);
};

enum class UninstallOutcome {
    NoRecord,  // nothing to undo; nothing was touched
    Refused,   // the record is not what the install wrote; nothing was touched
    Declined,  // No to the first question; nothing was touched
    Stopped,   // No to a continue question, or a file stayed after Yes: record and
               // uninstall entry stay for a repeat
    Completed, // everything recorded was undone, the record and the uninstall entry are gone
};

// Undoes what the record of appName lists, once the record has been found equal to its
// twin (record_twin.h) and working from the twin, in order: files, folders, Start menu, Desktop
// and Send To shortcuts, registry entries (old records' lists too), then the system's
// uninstall entry and the record itself. A recorded file goes only when this product put it
// there and it is still that file; a shared one only when its use count says this was its
// last user. Empty folders left behind go as well, but never a folder the user or the system
// owns. The Windows folder becomes the current directory.
//
// Before the files go, the programs holding one of them are asked to close, without a
// question. A file still held is left for the system to remove at the next restart (a line
// per file, then RestartNeeded); one that cannot even be scheduled asks whether to go on,
// and going on keeps the record and the uninstall entry for a repeat.
UninstallOutcome RunUninstall(const std::wstring& appName, UninstallProgress& progress);
UninstallOutcome RunUninstall(const std::wstring& appName, UninstallProgress& progress, FilesInUse& inUse);
