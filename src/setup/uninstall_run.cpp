#include "uninstall_run.h"

#include <algorithm>

#include <windows.h>
#include <shellapi.h>

#include "install_engine.h"
#include "path_macros.h"
#include "paths.h"
#include "registry_entries.h"
#include "remove_files.h"
#include "uninstall_record.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/launch.h"
#include "win/registry.h"

const char* const SetupTitle = "Brisa Setup for Windows";

namespace {

const Text SystemUninstallKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const Text RecordParentKey = "\\Software\\Morivane\\BrisaSetup";

// Full, long, without a trailing backslash: the form two spellings of one folder share.
std::wstring CanonicalFolder(const std::wstring& folder) {
    if (folder.empty())
        return folder;
    wchar_t buffer[MAX_PATH * 4];
    DWORD length = GetFullPathNameW(folder.c_str(), MAX_PATH * 4, buffer, nullptr);
    std::wstring full = length > 0 && length < MAX_PATH * 4 ? std::wstring(buffer, length) : folder;
    std::wstring longForm = GetLongPath(full);
    if (!longForm.empty())
        full = longForm;
    // "C:\" keeps its backslash, "C:\Windows\" loses it.
    while (full.size() > 3 && full.back() == L'\\')
        full.pop_back();
    return full;
}

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
    Uninstaller(const std::wstring& appName, const UninstallRecord& record, UninstallProgress& progress)
        : appName_(appName), record_(record), progress_(progress), keep_(ProtectedFolders::ForCurrentUser()) {
    }

    UninstallOutcome Run(const Text& narrowName) {
        SizeBars();
        RunRecordedPrograms();
        if (!DeleteFiles(record_.files, UninstallBar::Programs, false))
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
        // The system's own list of entries stays even when this was its last one.
        DeleteKeyTree(HKEY_LOCAL_MACHINE, SystemUninstallKey, narrowName);
        progress_.Log(L"Removed uninstall entry " + appName_);
        progress_.StepBar(UninstallBar::Registry);
        DeleteKeyAndPrune(HKEY_CURRENT_USER, RecordParentKey, narrowName);
        progress_.Log(L"Removed uninstall record " + appName_);
        progress_.StepBar(UninstallBar::Registry);
        return UninstallOutcome::Completed;
    }

private:
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

    // False when the user chose to stop after a file that stayed.
    bool DeleteFiles(const std::vector<std::wstring>& paths, UninstallBar bar, bool programGroup) {
        for (const std::wstring& path : paths) {
            // Never resolved against the current folder, which is the Windows folder here.
            if (!IsFullPath(path)) {
                progress_.Log(L"Skipped, not a full path: " + path);
                progress_.StepBar(bar);
                continue;
            }
            DeleteFileAndFolders(path, keep_);
            if (FileExists(path)) {
                progress_.Log(L"Could not remove " + path);
                if (!progress_.AskContinue(DeleteFailedQuestion(path)))
                    return false;
            } else {
                progress_.Log(L"Removed " + path);
            }
            // The Start menu shows the group as it is now; the folder itself is never
            // renamed to make it notice.
            if (programGroup)
                NotifyFolderChanged(ExtractFileDir(path));
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
                std::any_of(record_.files.begin(), record_.files.end(), [&](const std::wstring& file) {
                    return SameTextIgnoringCase(file, parts.program);
                });
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
        const bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return ended;
    }

    // The maker's favourites link, shared by every product installed with this installer:
    // the last product that wrote it takes it, when it still holds what was written.
    void RemoveFavouritesLink() {
        const std::wstring link = FavouritesLinkFile(GetWindowsDirWide());
        if (record_.favourites.empty() || !SameTextIgnoringCase(record_.favourites, link))
            return;
        const std::wstring parent = L"Software\\Morivane\\BrisaSetup";
        for (const std::wstring& other : RegSubkeyNames(HKEY_CURRENT_USER, parent))
            if (!SameTextIgnoringCase(other, appName_) &&
                SameTextIgnoringCase(
                    RegReadString(HKEY_CURRENT_USER, parent + L"\\" + other, L"Favorites", L""), link)) {
                progress_.Log(L"Kept for another product: " + link);
                return;
            }
        if (ReadFileBytes(link) == std::optional<Text>(FavouritesLinkText()) && DeleteFileW(link.c_str()))
            progress_.Log(L"Removed " + link);
    }

    void UndoRegistry() {
        auto each = [this](const std::vector<Text>& entries, auto apply) {
            for (const Text& entry : entries) {
                apply(entry);
                progress_.Log(L"Registry " + Widen(entry));
                progress_.StepBar(UninstallBar::Registry);
            }
        };
        each(record_.regWrites, [](const Text& e) { WriteRegistryEntry(e); });
        each(record_.regDeletes, [](const Text& e) { DeleteRegistryEntry(e); });
        each(record_.regStrings, [](const Text& e) { ConvertLegacyEntry(e, LegacyKind::String); });
        each(record_.regIntegers, [](const Text& e) { ConvertLegacyEntry(e, LegacyKind::Integer); });
        each(record_.regSecs, [](const Text& e) { DeleteRegistryEntry("<Key>" + e); });
        each(record_.regKeys, [](const Text& e) { DeleteRegistryEntry("<Value>" + e); });
    }

    const std::wstring& appName_;
    const UninstallRecord& record_;
    UninstallProgress& progress_;
    // Read once: the shell folders do not move during a run.
    ProtectedFolders keep_;
};

} // namespace

void UninstallProgress::Log(const std::wstring&) {}

bool IsUninstallerFolder(const std::wstring& programFolder, const std::wstring& windowsFolder) {
    if (programFolder.empty() || windowsFolder.empty())
        return false;
    return SameTextIgnoringCase(CanonicalFolder(programFolder), CanonicalFolder(windowsFolder));
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

std::wstring UninstallQuestion(const std::wstring& appName) {
    return Widen("ﾌﾟﾛｸﾞﾗﾑ ") + Quoted(appName) +
           Widen(" をｱﾝｲﾝｽﾄｰﾙしますか？\nｱﾝｲﾝｽﾄｰﾙする場合はすべてのｱﾌﾟﾘｹｰｼｮﾝを終了してください。");
}

std::wstring DeleteFailedQuestion(const std::wstring& path) {
    return path + Widen("\nﾌｧｲﾙの削除に失敗しました。ｱﾝｲﾝｽﾄｰﾙを続行しますか？");
}

UninstallOutcome RunUninstall(const std::wstring& appName, UninstallProgress& progress) {
    // The record's key names come from the CP932 data file; a name beyond it has none.
    Text narrowName;
    if (appName.empty() || !NarrowExact(appName, narrowName))
        return UninstallOutcome::NoRecord;
    UninstallRecord record = ReadUninstallRecord(appName);
    if (!record.present())
        return UninstallOutcome::NoRecord;
    if (!progress.ConfirmUninstall(UninstallQuestion(appName)))
        return UninstallOutcome::Declined;
    // Nothing of the product's folders stays busy as the current directory.
    std::wstring windows = GetWindowsDirWide();
    if (!windows.empty())
        SetCurrentDirectoryW(windows.c_str());
    return Uninstaller(appName, record, progress).Run(narrowName);
}
