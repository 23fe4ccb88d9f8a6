#include "uninstall_run.h"

#include <algorithm>
#include <memory>

#include <windows.h>
#include <shellapi.h>

#include "install_engine.h"
#include "path_macros.h"
#include "paths.h"
#include "record_twin.h"
#include "registry_entries.h"
#include "remove_files.h"
#include "uninstall_record.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/handles.h"
#include "win/path_identity.h"
#include "win/launch.h"
#include "win/registry.h"

const char* const SetupTitle = "Brisa Setup for Windows";

namespace {

const Text SystemUninstallKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const Text RecordParentKey = "\\Software\\Morivane\\BrisaSetup";

bool SameTextIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

bool IsSwitch(const std::wstring& parameter, const wchar_t* name) {
    return SameTextIgnoringCase(parameter, name);
}

bool StartsWithIgnoringCase(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() && SameTextIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::wstring Quoted(const std::wstring& name) {
    return L"\"" + name + L"\"";
}

// One run: the record it works from, the folders it must keep, the window it reports to.
class Uninstaller {
public:
    Uninstaller(const std::wstring& appName, const UninstallRecord& record, UninstallProgress& progress,
                FilesInUse& inUse)
        : appName_(appName), record_(record), progress_(progress), inUse_(inUse),
          keep_(ProtectedFolders::ForCurrentUser()), claims_(ReadFileClaims(appName, record.files.size())) {}

    UninstallOutcome Run(const Text& narrowName) {
        const UninstallOutcome outcome = Steps(narrowName);
        // After every file, so the system finds them empty then.
        for (const std::wstring& folder : FoldersLeftEmptyBy(pendingRestart_, keep_))
            if (inUse_.MoveAtRestart(folder, std::wstring()))
                progress_.Log(L"Folder removed at restart: " + folder);
        if (!pendingRestart_.empty())
            progress_.RestartNeeded(RestartNotice(pendingRestart_, true));
        return outcome;
    }

private:
    UninstallOutcome Steps(const Text& narrowName) {
        SizeBars();
        RunRecordedPrograms();
        CloseUsers();
        if (!DeleteProgramFiles())
            return UninstallOutcome::Stopped;
        for (const std::wstring& dir : record_.dirs) {
            if (!IsFullPath(dir)) {
                progress_.Log(L"Skipped, not a full path: " + dir);
            } else {
                RemoveEmptyFolders(dir, keep_);
                progress_.Log((DirectoryExists(dir) ? L"Kept folder " : L"Removed folder ") + dir);
            }
            progress_.StepBar(UninstallBar::Folders);
        }
        if (!DeleteFiles(record_.startNames, UninstallBar::Shortcuts, true) ||
            !DeleteFiles(record_.deskTopNames, UninstallBar::Shortcuts, false) ||
            !DeleteFiles(record_.sendToNames, UninstallBar::Shortcuts, false))
            return UninstallOutcome::Stopped;
        UndoRegistry();
        RemoveFavouritesLink();
        if (leftBehind_) {
            progress_.Log(L"Kept the uninstall entry and record of " + appName_ +
                          L" for a repeat: a file could not be removed.");
            return UninstallOutcome::Stopped;
        }
        // The system's own list of entries stays even when this was its last one.
        if (DeleteKeyTree(HKEY_LOCAL_MACHINE, SystemUninstallKey, narrowName))
            progress_.Log(L"Removed uninstall entry " + appName_);
        else
            progress_.StepFailed(L"Failed: uninstall entry not removed: " + appName_);
        progress_.StepBar(UninstallBar::Registry);
        DeleteKeyAndPrune(HKEY_CURRENT_USER, RecordParentKey, narrowName);
        progress_.Log(L"Removed uninstall record " + appName_);
        progress_.StepBar(UninstallBar::Registry);
        return UninstallOutcome::Completed;
    }

    // The programs holding a file this run removes are asked to close first; they are not
    // started again, their files being gone.
    void CloseUsers() {
        std::vector<std::wstring> removed;
        for (size_t i = 0; i < record_.files.size(); ++i)
            if (IsFullPath(record_.files[i]) && FileExists(record_.files[i]) &&
                ReasonToKeep(record_.files[i], claims_[i]).empty())
                removed.push_back(record_.files[i]);
        if (removed.empty() || !inUse_.Register(removed))
            return;
        std::wstring running;
        for (const std::wstring& name : inUse_.Users())
            running += (running.empty() ? L"" : L", ") + name;
        if (running.empty())
            return;
        progress_.Log((inUse_.AskToClose() ? L"Closed before their files are removed: "
                                           : L"Asked to close, not every one did: ") +
                      running);
    }

    void SizeBars() {
        const UninstallRecord& r = record_;
        progress_.SetBarMaximum(UninstallBar::Programs, static_cast<int>(r.files.size()));
        progress_.SetBarMaximum(UninstallBar::Folders, static_cast<int>(r.dirs.size()));
        progress_.SetBarMaximum(
            UninstallBar::Shortcuts,
            static_cast<int>(r.startNames.size() + r.deskTopNames.size() + r.sendToNames.size()));
        // One step per entry, then the uninstall entry and the record: the bar ends full.
        size_t entries = r.regWrites.size() + r.regDeletes.size() + r.regStrings.size() +
                         r.regIntegers.size() + r.regSecs.size() + r.regKeys.size();
        progress_.SetBarMaximum(UninstallBar::Registry, static_cast<int>(entries + 2));
    }

    // Why a recorded file stays, or empty when it is this product's to remove.
    std::wstring ReasonToKeep(const std::wstring& path, const FileOwnership& ownership) const {
        switch (ownership.claim) {
        case FileClaim::None:
            return L"Kept, not put there by this product: ";
        case FileClaim::Copied:
            // The file an update replaces at the restart is the version it replaced: ours.
            if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES ||
                IsClaimedFile(path, ownership) || !WaitingCopy(path, ownership).empty())
                return std::wstring();
            return L"Kept, another file stands there since the install: ";
        case FileClaim::Shared: {
            const unsigned long users = SharedUseCount(path);
            if (users == 0)
                return L"Kept, shared file without a use count: ";
            if (users > 1)
                return L"Kept, still used by " + std::to_wstring(users - 1) + L" other product(s): ";
            return std::wstring();
        }
        case FileClaim::Later:
            break;
        }
        return std::wstring();
    }

    // The record's File list. False when the user chose to stop after a file that stayed.
    bool DeleteProgramFiles() {
        for (size_t i = 0; i < record_.files.size(); ++i) {
            const std::wstring& path = record_.files[i];
            const FileOwnership& ownership = claims_[i];
            const std::wstring keep = ReasonToKeep(path, ownership);
            // The waiting copy goes first, so the restart has nothing to put back.
            const std::wstring waiting = keep.empty() ? WaitingCopy(path, ownership) : std::wstring();
            if (!keep.empty()) {
                progress_.Log(keep + path);
            } else if ((!waiting.empty() && !DeleteOne(waiting, false)) || !DeleteOne(path, false)) {
                return false;
            }
            // This product no longer uses a shared file it kept or removed; the claim goes with
            // the count, so a repeated run does not count it off twice.
            unsigned long left = 0;
            if (ownership.claim == FileClaim::Shared && (!keep.empty() || !FileExists(path)) &&
                ReleaseSharedUse(path, left))
                DropFileClaim(appName_, static_cast<int>(i + 1));
            progress_.StepBar(UninstallBar::Programs);
        }
        return true;
    }

    // False when the user chose to stop after a file that stayed.
    bool DeleteOne(const std::wstring& path, bool programGroup) {
        // Never resolved against the current folder, which is the Windows folder here.
        if (!IsFullPath(path)) {
            progress_.Log(L"Skipped, not a full path: " + path);
            return true;
        }
        DeleteFileAndFolders(path, keep_);
        if (FileExists(path)) {
            // Still held by a program that would not close: the system removes it at the
            // next restart (this takes the administrator rights the uninstaller runs with).
            if (inUse_.MoveAtRestart(path, std::wstring())) {
                progress_.Log(L"Removed at restart, in use: " + path);
                pendingRestart_.push_back(path);
                return true;
            }
            progress_.Log(L"Could not remove " + path);
            if (!progress_.AskContinue(DeleteFailedQuestion(path)))
                return false;
            leftBehind_ = true;
        } else {
            progress_.Log(L"Removed " + path);
        }
        // The Start menu shows the group as it is now; the folder itself is never
        // renamed to make it notice.
        if (programGroup)
            NotifyFolderChanged(ExtractFileDir(path));
        return true;
    }

    // False when the user chose to stop after a file that stayed.
    bool DeleteFiles(const std::vector<std::wstring>& paths, UninstallBar bar, bool programGroup) {
        for (const std::wstring& path : paths) {
            if (!DeleteOne(path, programGroup))
                return false;
            progress_.StepBar(bar);
        }
        return true;
    }

    // A program of this installation that takes back what it made itself (Kickon its file
    // association), run while it is still there. Only a file the record lists is run.
    void RunRecordedPrograms() {
        for (const std::wstring& command : record_.executes) {
            const WideCommandLineParts parts = SplitCommandLine(command);
            const bool listed =
                std::any_of(record_.files.begin(), record_.files.end(),
                            [&](const std::wstring& file) { return SamePath(file, parts.program); });
            if (!IsFullPath(parts.program) || !listed) {
                progress_.Log(L"Not run, not a file of this installation: " + command);
                continue;
            }
            progress_.Log((RunAndWait(parts.program, parts.parameters) ? L"Ran " : L"Could not run ") +
                          command);
        }
    }

    static bool RunAndWait(const std::wstring& program, const std::wstring& parameters) {
        std::wstring line = Quoted(program) + (parameters.empty() ? L"" : L" " + parameters);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            return false;
        UniqueHandle thread(process.hThread), running(process.hProcess);
        return WaitForSingleObject(running.get(), 60000) == WAIT_OBJECT_0;
    }

    // The maker's favourites link, shared by every product installed with this installer:
    // the last product that wrote it takes it, when it still holds what was written.
    void RemoveFavouritesLink() {
        const std::wstring link = FavouritesLinkFile(GetWindowsDirWide());
        if (record_.favourites.empty() || !SamePath(record_.favourites, link))
            return;
        const std::wstring parent = L"Software\\Morivane\\BrisaSetup";
        for (const std::wstring& other : RegSubkeyNames(HKEY_CURRENT_USER, parent))
            if (!SameTextIgnoringCase(other, appName_) &&
                SamePath(RegReadString(HKEY_CURRENT_USER, parent + L"\\" + other, L"Favorites", L""), link)) {
                progress_.Log(L"Kept for another product: " + link);
                return;
            }
        if (ReadFileBytes(link) == std::optional<Text>(FavouritesLinkText()) && DeleteFileW(link.c_str()))
            progress_.Log(L"Removed " + link);
    }

    void UndoRegistry() {
        auto each = [this](const std::vector<Text>& entries, auto apply) {
            for (const Text& entry : entries) {
                if (apply(entry))
                    progress_.Log(L"Registry " + Widen(entry));
                else
                    progress_.StepFailed(L"Failed: registry " + Widen(entry));
                progress_.StepBar(UninstallBar::Registry);
            }
        };
        auto remove = [this](const Text& entry) {
            if (!IsRefusedDeleteEntry(entry))
                return DeleteRegistryEntry(entry);
            progress_.Log(L"Refused: registry key every program shares, not deleted: " + Widen(entry));
            return false;
        };
        // An old record's string entries carry no result; a legacy write is taken as done.
        each(record_.regWrites, [](const Text& e) { return WriteRegistryEntry(e); });
        each(record_.regDeletes, remove);
        each(record_.regStrings,
             [](const Text& e) { return ConvertLegacyEntry(e, LegacyKind::String), true; });
        each(record_.regIntegers,
             [](const Text& e) { return ConvertLegacyEntry(e, LegacyKind::Integer), true; });
        each(record_.regSecs, [&](const Text& e) { return remove("<Key>" + e); });
        each(record_.regKeys, [&](const Text& e) { return remove("<Value>" + e); });
    }

    const std::wstring& appName_;
    const UninstallRecord& record_;
    UninstallProgress& progress_;
    FilesInUse& inUse_;
    // Read once: the shell folders do not move during a run.
    ProtectedFolders keep_;
    std::vector<FileOwnership> claims_;        // one per recorded file
    std::vector<std::wstring> pendingRestart_; // files the next restart removes
    bool leftBehind_ = false;                  // a file stayed, and nothing will remove it
};

} // namespace

void UninstallProgress::Log(const std::wstring&) {}

void UninstallProgress::RestartNeeded(const std::wstring& notice) {
    ShowRestartNotice(notice);
}

bool IsUninstallerFolder(const std::wstring& programFolder, const std::wstring& windowsFolder) {
    if (programFolder.empty() || windowsFolder.empty())
        return false;
    return SamePath(CanonicalPath(programFolder), CanonicalPath(windowsFolder));
}

bool RunsAsUninstaller() {
    std::wstring folder = RunningProgramFolder();
    return !folder.empty() && IsUninstallerFolder(folder, GetWindowsDirWide());
}

UninstallCommand ParseUninstallCommand(const std::vector<std::wstring>& parameters) {
    UninstallCommand command;
    for (const std::wstring& parameter : parameters) {
        if (IsSwitch(parameter, L"/SILENT")) {
            command.silent = true;
        } else if (StartsWithIgnoringCase(parameter, L"/LOG=")) {
            command.logFile = parameter.substr(5);
        } else if (!parameter.empty()) {
            if (!command.appName.empty())
                command.appName += L' ';
            command.appName += parameter;
        }
    }
    return command;
}

UninstallCommand ParseUninstallCommandLine(const wchar_t* commandLine) {
    std::vector<std::wstring> parameters;
    if (commandLine && *commandLine) {
        int count = 0;
        LPWSTR* args = CommandLineToArgvW(commandLine, &count);
        if (args) {
            for (int i = 1; i < count; ++i)
                parameters.emplace_back(args[i]);
            LocalFree(args);
        }
    }
    return ParseUninstallCommand(parameters);
}

std::wstring NoAppNameMessage() {
    return Widen(Text("このﾌﾟﾛｸﾞﾗﾑは「") + SetupTitle +
                 "」のｱﾝｲﾝｽﾄｰﾗです。\n「ｺﾝﾄﾛｰﾙﾊﾟﾈﾙ」の「ｱﾌﾟﾘｹｰｼｮﾝの追加と削除」で使用しています。\n"
                 "削除されますと正常にｱﾝｲﾝｽﾄｰﾙできなくなりますので注意してください。");
}

std::wstring NoRecordMessage(const std::wstring& appName) {
    return Widen("「") + appName +
           Widen(Text("」のｱﾝｲﾝｽﾄｰﾙ情報がありません。\n「") + SetupTitle +
                 "」でｲﾝｽﾄｰﾙされたﾌﾟﾛｸﾞﾗﾑ以外はｱﾝｲﾝｽﾄｰﾙできません。");
}

std::wstring RefusedRecordMessage(const std::wstring& appName) {
    return Widen("「") + appName +
           Widen("」のｱﾝｲﾝｽﾄｰﾙ情報が、ｲﾝｽﾄｰﾙ時に記録された内容と一致しません。\n"
                 "ｲﾝｽﾄｰﾙ後に書き換えられた情報ではｱﾝｲﾝｽﾄｰﾙできません。何も削除していません。");
}

std::wstring UninstallQuestion(const std::wstring& appName) {
    return Widen("ﾌﾟﾛｸﾞﾗﾑ ") + Quoted(appName) +
           Widen(" をｱﾝｲﾝｽﾄｰﾙしますか？\nｱﾝｲﾝｽﾄｰﾙする場合はすべてのｱﾌﾟﾘｹｰｼｮﾝを終了してください。");
}

std::wstring DeleteFailedQuestion(const std::wstring& path) {
    return path + Widen("\nﾌｧｲﾙの削除に失敗しました。ｱﾝｲﾝｽﾄｰﾙを続行しますか？");
}

UninstallOutcome RunUninstall(const std::wstring& appName, UninstallProgress& progress) {
    const std::unique_ptr<FilesInUse> inUse = SystemFilesInUse();
    return RunUninstall(appName, progress, *inUse);
}

UninstallOutcome RunUninstall(const std::wstring& appName, UninstallProgress& progress, FilesInUse& inUse) {
    // The record's key names come from the CP932 data file; a name beyond it has none.
    Text narrowName;
    if (appName.empty() || !NarrowExact(appName, narrowName))
        return UninstallOutcome::NoRecord;
    if (!ReadUninstallRecord(appName).present())
        return UninstallOutcome::NoRecord;
    // The user's record may have been changed by any program the user ran; only what the
    // install wrote, kept where the user cannot write, is carried out.
    const TwinCheck check = CheckRecordTwin(appName);
    if (check != TwinCheck::Matches) {
        progress.Log(
            check == TwinCheck::Missing
                ? L"Refused: the uninstall record of " + appName + L" has no copy kept by its install."
                : L"Refused: the uninstall record of " + appName + L" differs from what its install wrote.");
        return UninstallOutcome::Refused;
    }
    const UninstallRecord record = ReadRecordTwin(appName);
    if (!record.present())
        return UninstallOutcome::Refused;
    if (!progress.ConfirmUninstall(UninstallQuestion(appName)))
        return UninstallOutcome::Declined;
    // Nothing of the product's folders stays busy as the current directory.
    std::wstring windows = GetWindowsDirWide();
    if (!windows.empty())
        SetCurrentDirectoryW(windows.c_str());
    return Uninstaller(appName, record, progress, inUse).Run(narrowName);
}
