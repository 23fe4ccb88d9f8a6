#include "install_engine.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "paths.h"
#include "publisher.h"
#include "record_twin.h"
#include "registry_entries.h"
#include "dialogs.h"
#include "shortcut_entry.h"
#include "uninstall_record.h"
#include "uninstall_run.h"
#include "win/elevation.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/launch.h"
#include "win/path_identity.h"
#include "win/registry.h"
#include "win/shortcut.h"

namespace {

const wchar_t* const GoOnQuestion = L"ｾｯﾄｱｯﾌﾟを続行しますか？";
const wchar_t* const FolderFailed = L"ﾌｫﾙﾀﾞの作成に失敗しました。";
const wchar_t* const CopyFailed = L"ﾌｧｲﾙｺﾋﾟｰに失敗しました。";
const wchar_t* const FileMissing = L"ﾌｧｲﾙが見つかりません。";
const char* const SystemUninstallKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t* const UninstallerName = L"Morivane.exe";

// The data file's lists, each read once per run: reading a key costs a pass over the file,
// and the bars count the same lists the steps then work through.
class DataLists {
public:
    explicit DataLists(const SetupData& data) : data_(data) {}
    const std::vector<Text>& Install(const char* stem) { return Get(SetupInstall, stem); }
    const std::vector<Text>& Uninstall(const char* stem) { return Get(SetupUninstall, stem); }
    int InstallCount(const char* stem) { return static_cast<int>(Install(stem).size()); }
    int UninstallCount(const char* stem) { return static_cast<int>(Uninstall(stem).size()); }

private:
    const std::vector<Text>& Get(const char* section, const char* stem) {
        const Text name = Text(section) + "|" + stem;
        auto found = lists_.find(name);
        if (found == lists_.end())
            found = lists_.emplace(name, data_.ReadList(section, stem)).first;
        return found->second;
    }

    const SetupData& data_;
    std::map<Text, std::vector<Text>> lists_;
};

// The three places a shortcut goes: its data-file list, its record list, its box on the
// shortcut page and, beside the start menu, the platform folder it lies in.
struct ShortcutPlace {
    const char* stem;
    RecordList list;
    bool InstallChoices::*chosen;
    std::wstring InstallFolders::*folder; // none: the start menu, in the program group
};

const ShortcutPlace ShortcutPlaces[] = {
    {"StartMenu", RecordList::StartName, &InstallChoices::startMenu, nullptr},
    {"DeskTop", RecordList::DeskTopName, &InstallChoices::desktop, &InstallFolders::desktop},
    {"SendTo", RecordList::SendToName, &InstallChoices::sendTo, &InstallFolders::sendTo},
};

std::array<int, 4> CountSteps(const SetupData& data, DataLists& lists, const InstallChoices& choices) {
    const bool visible = data.UninstallVisible();
    const bool copying = !choices.intoSetupFolder;
    std::array<int, 4> counts{};
    counts[FolderBar] = lists.InstallCount("Dir");
    counts[ProgramBar] = (copying ? lists.InstallCount("File") : 0) + (visible ? 1 : 0);
    int registry = 1 + (copying ? 1 : 0) + (choices.startMenu ? 1 : 0) + lists.InstallCount("RegWrite") +
                   lists.InstallCount("RegDelete");
    if (visible)
        registry += 2 + (copying ? lists.UninstallCount("File") : 0) + lists.UninstallCount("Dir") +
                    lists.UninstallCount("RegWrite") + lists.UninstallCount("RegDelete") +
                    lists.UninstallCount("Execute");
    for (const ShortcutPlace& place : ShortcutPlaces) {
        if (!(choices.*place.chosen))
            continue;
        counts[ShortcutBar] += lists.InstallCount(place.stem);
        if (visible)
            registry += lists.UninstallCount(place.stem);
    }
    counts[RegistryBar] = registry;
    return counts;
}

unsigned long long SizeOf(const WIN32_FILE_ATTRIBUTE_DATA& facts) {
    return (static_cast<unsigned long long>(facts.nFileSizeHigh) << 32) | facts.nFileSizeLow;
}

unsigned long long TimeOf(const WIN32_FILE_ATTRIBUTE_DATA& facts) {
    return (static_cast<unsigned long long>(facts.ftLastWriteTime.dwHighDateTime) << 32) |
           facts.ftLastWriteTime.dwLowDateTime;
}

// The file a destination holds after its copy step.
struct DestinationFile {
    CopyResult result = CopyResult::Failed;
    bool existed = false; // a file stood there before the step
    unsigned long long size = 0, writeTime = 0;
    std::wstring beside; // the copy's name in the folder while it waits for the restart
};

std::wstring UpperCase(std::wstring text) {
    if (!text.empty())
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The file lies in (or is) the folder; case-blind.
bool IsWithin(const std::wstring& path, const std::wstring& folder) {
    return !folder.empty() && IsSameOrInside(path, folder);
}

// CopyIfNewer, also giving what the destination holds afterwards. The destination's folder
// is made only when asked, or when the copy failed without it.
CopyResult CopyFileIfNewer(const std::wstring& source, const std::wstring& destination, bool makeFolder,
                           DestinationFile& file) {
    // One look at each file: a run copies hundreds of them.
    WIN32_FILE_ATTRIBUTE_DATA from, to;
    if (!GetFileAttributesExW(source.c_str(), GetFileExInfoStandard, &from) ||
        (from.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return CopyResult::SourceMissing;
    if (makeFolder)
        ForceDirectories(ExtractFileDir(destination));
    if (GetFileAttributesExW(destination.c_str(), GetFileExInfoStandard, &to) &&
        !(to.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        file.existed = true;
        if (CompareFileTime(&to.ftLastWriteTime, &from.ftLastWriteTime) >= 0) {
            file.size = SizeOf(to);
            file.writeTime = TimeOf(to);
            return file.result = CopyResult::Skipped;
        }
    }
    if (!CopyFileW(source.c_str(), destination.c_str(), FALSE)) {
        if (makeFolder)
            return file.result = CopyResult::Failed;
        return CopyFileIfNewer(source, destination, true, file);
    }
    // The copy brings the package's streams along, its "downloaded from the internet" mark
    // too, which would make the system warn at each installed program's first start.
    DeleteFileW((destination + L":Zone.Identifier").c_str());
    // The copy keeps the source's time stamp.
    file.size = SizeOf(from);
    file.writeTime = TimeOf(from);
    return file.result = CopyResult::Copied;
}

// The copy would overwrite a file that stands there: the destination is older than the source.
bool WillOverwrite(const std::wstring& source, const std::wstring& destination) {
    WIN32_FILE_ATTRIBUTE_DATA from, to;
    return GetFileAttributesExW(source.c_str(), GetFileExInfoStandard, &from) &&
           !(from.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           GetFileAttributesExW(destination.c_str(), GetFileExInfoStandard, &to) &&
           !(to.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           CompareFileTime(&to.ftLastWriteTime, &from.ftLastWriteTime) < 0;
}

// A destination a running program still holds: the new file goes beside it under a name
// of its own, and the system puts it in place at the next restart (which takes the
// administrator rights the installer runs with). The file is then what the restart leaves.
bool ReplaceAtRestart(const std::wstring& source, const std::wstring& destination, FilesInUse& inUse,
                      DestinationFile& file) {
    WIN32_FILE_ATTRIBUTE_DATA from;
    if (!GetFileAttributesExW(source.c_str(), GetFileExInfoStandard, &from))
        return false;
    // A name an earlier pending replacement still uses is left to it.
    std::wstring beside;
    for (int n = 1; n <= 99 && beside.empty(); ++n) {
        const std::wstring name = destination + L".new" + (n > 1 ? std::to_wstring(n) : std::wstring());
        if (CopyFileW(source.c_str(), name.c_str(), TRUE))
            beside = name;
        else if (GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    if (beside.empty())
        return false;
    DeleteFileW((beside + L":Zone.Identifier").c_str());
    if (!inUse.MoveAtRestart(beside, destination)) {
        DeleteFileW(beside.c_str());
        return false;
    }
    file.result = CopyResult::Copied;
    file.size = SizeOf(from);
    file.writeTime = TimeOf(from);
    file.beside = beside.substr(beside.rfind(L'\\') + 1);
    return true;
}

// One copy step: the uninstaller or an "Install" file.
struct FileCopy {
    std::wstring source, destination;
    bool installed; // one of the product's files, counted and claimed
};

std::wstring JoinedNames(const std::vector<std::wstring>& names) {
    std::wstring text;
    for (const std::wstring& name : names)
        text += (text.empty() ? L"" : L", ") + name;
    return text;
}

// One bar's position, reported after every step it counts.
class Bar {
public:
    Bar(InstallProgress& progress, InstallBar bar, int max) : progress_(progress), bar_(bar), max_(max) {
        progress_.SetBar(bar_, 0, max_);
    }
    void Advance() {
        // A bar never runs past its end, even when a list reads differently the second time.
        if (position_ < max_)
            ++position_;
        progress_.SetBar(bar_, position_, max_);
    }

private:
    InstallProgress& progress_;
    InstallBar bar_;
    int max_;
    int position_ = 0;
};

class Installation {
public:
    Installation(const SetupData& data, const InstallChoices& choices, const InstallFolders& folders,
                 InstallProgress& progress, FilesInUse& inUse)
        : data_(data), choices_(choices), folders_(folders), progress_(progress), inUse_(inUse),
          paths_(EffectivePaths(data, choices)), appName_(Widen(data.AppName())) {}

    InstallResult Run() {
        const InstallResult result = Steps();
        // Said once, after the last step, for a run that stopped too: the files are in the
        // system's hands either way.
        if (!pendingRestart_.empty())
            progress_.RestartNeeded(RestartNotice(pendingRestart_, false));
        return result;
    }

private:
    InstallResult Steps() {
        // Without a name there is no record, so nothing of the run could be uninstalled.
        if (appName_.empty()) {
            progress_.Log(L"Refused: the data file names no product (no AppName in [Infomation]); nothing "
                          L"was installed.");
            return InstallResult::Refused;
        }
        const std::array<int, 4> counts = CountSteps(data_, lists_, choices_);
        Bar folderBar(progress_, FolderBar, counts[FolderBar]);
        Bar programBar(progress_, ProgramBar, counts[ProgramBar]);
        Bar shortcutBar(progress_, ShortcutBar, counts[ShortcutBar]);
        Bar registryBar(progress_, RegistryBar, counts[RegistryBar]);

        // Before the copies, which deal with what an earlier update left waiting.
        ReadEarlierClaims();
        if (!MakeFolders(folderBar) || !ReplaceFiles(programBar))
            return InstallResult::Stopped;
        for (const ShortcutPlace& place : ShortcutPlaces)
            if (choices_.*place.chosen)
                MakeShortcuts(place, shortcutBar);
        ApplyRegistryEntries(registryBar);
        // Written before the record, so the record can name it and the uninstaller take it.
        favouritesWritten_ = WriteFavouritesLink(folders_.windows);
        WriteRecord(registryBar);
        if (data_.UninstallVisible())
            WriteUninstallInformation(registryBar);
        return InstallResult::Completed;
    }

    bool Ask(const std::wstring& what, const wchar_t* failure) {
        progress_.Log(L"Failed: " + what + L" (" + failure + L")");
        if (progress_.AskContinue(what + L"\r\n" + failure + GoOnQuestion))
            return true;
        progress_.Log(L"Stopped.");
        return false;
    }

    bool MakeFolders(Bar& bar) {
        for (const Text& raw : lists_.Install("Dir")) {
            const std::wstring folder = ExpandPath(raw, paths_);
            if (folder.empty())
                break;
            ForceDirectories(folder);
            if (DirectoryExists(folder))
                progress_.Log(L"Folder: " + folder);
            else if (!Ask(folder, FolderFailed))
                return false;
            bar.Advance();
        }
        return true;
    }

    // An earlier update left its copy beside the file for the restart to move over it. Its
    // pending move would undo this step at the restart, or outlive an uninstall that takes
    // only the copy this run claims; with its copy gone the system skips the move. A copy
    // no longer as claimed is not ours to remove.
    void DropWaitingCopy(const std::wstring& destination) {
        const auto earlier = earlierClaims_.find(UpperCase(destination));
        if (earlier == earlierClaims_.end())
            return;
        const std::wstring waiting = WaitingCopy(destination, earlier->second);
        if (waiting.empty())
            return;
        if (DeleteFileW(waiting.c_str()))
            progress_.Log(L"Removed the copy an earlier update left for the restart: " + waiting);
        else
            progress_.StepFailed(L"Failed: the copy an earlier update left for the restart stays: " +
                                 waiting);
    }

    // False when the run is to stop.
    // Installed files count towards the size the system's list of programs shows.
    bool Copy(const std::wstring& source, const std::wstring& destination, bool installed) {
        // Each destination folder is made once per run; a copy failing without it makes it again.
        const std::wstring folder = ExtractFileDir(destination);
        // A step that skips the file, as new or newer, leaves the earlier update's copy to the restart.
        if (installed && (!FileExists(destination) || WillOverwrite(source, destination)))
            DropWaitingCopy(destination);
        DestinationFile file;
        const CopyResult result = CopyFileIfNewer(source, destination, !madeFolders_.count(folder), file);
        const bool atRestart = result == CopyResult::Failed && file.existed &&
                               ReplaceAtRestart(source, destination, inUse_, file);
        if (result == CopyResult::Copied || result == CopyResult::Skipped || atRestart) {
            madeFolders_.insert(folder);
            if (installed) {
                installedBytes_ += file.size;
                installedFiles_[UpperCase(destination)] = file;
            }
        }
        if (atRestart) {
            pendingRestart_.push_back(destination);
            progress_.Log(L"Replaced at restart, in use: " + destination);
            return true;
        }
        switch (result) {
        case CopyResult::Copied:
            progress_.Log(L"Copied: " + source + L" -> " + destination);
            return true;
        case CopyResult::Skipped:
            progress_.Log(L"Skipped, as new or newer: " + destination);
            return true;
        case CopyResult::Failed:
            return Ask(source + L" -> " + destination, CopyFailed);
        case CopyResult::SourceMissing:
            return Ask(source, FileMissing);
        }
        return true;
    }

    // The uninstaller, then the "Install" files (first folder choice only), each from the
    // setup folder by its file name; the list ends at the first empty destination.
    std::vector<FileCopy> Copies() {
        std::vector<FileCopy> copies;
        if (data_.UninstallVisible())
            copies.push_back({JoinPath(data_.SetupFolder(), std::wstring(L"Setup.exe")),
                              JoinPath(folders_.windows, std::wstring(UninstallerName)), false});
        if (choices_.intoSetupFolder)
            return copies;
        for (const Text& raw : lists_.Install("File")) {
            const std::wstring destination = ExpandPath(raw, paths_);
            if (destination.empty())
                break;
            const std::wstring name = destination.substr(destination.rfind(L'\\') + 1);
            copies.push_back({JoinPath(data_.SetupFolder(), name), destination, true});
        }
        return copies;
    }

    // Asks the programs holding a file the copies overwrite to close; true when any was asked.
    bool CloseUsers(const std::vector<FileCopy>& copies) {
        std::vector<std::wstring> overwritten;
        for (const FileCopy& copy : copies)
            if (WillOverwrite(copy.source, copy.destination))
                overwritten.push_back(copy.destination);
        if (overwritten.empty() || !inUse_.Register(overwritten))
            return false;
        const std::wstring running = JoinedNames(inUse_.Users());
        if (running.empty())
            return false;
        progress_.Log((inUse_.AskToClose() ? L"Closed while their files are replaced: "
                                           : L"Asked to close, not every one did: ") +
                      running);
        closedNames_ = running;
        return true;
    }

    // The copies, with the programs that hold their files closed meanwhile and started
    // again afterwards, also when the run stops.
    bool ReplaceFiles(Bar& bar) {
        const std::vector<FileCopy> copies = Copies();
        const bool closed = CloseUsers(copies);
        bool goOn = true;
        for (const FileCopy& copy : copies) {
            goOn = Copy(copy.source, copy.destination, copy.installed);
            if (!goOn)
                break;
            bar.Advance();
        }
        if (closed) {
            if (inUse_.Restart())
                progress_.Log(L"Started again: " + closedNames_);
            else
                progress_.StepFailed(L"Failed: not started again: " + closedNames_);
        }
        return goOn;
    }

    std::wstring ShortcutFile(const ShortcutPlace& place, const Text& location) const {
        return place.folder ? ShortcutFileIn(folders_.*place.folder, location)
                            : ExpandShortcutPath(location, paths_);
    }

    void MakeShortcuts(const ShortcutPlace& place, Bar& bar) {
        for (const Text& raw : lists_.Install(place.stem)) {
            if (std::optional<ShortcutEntry> entry = ParseShortcutEntry(raw)) {
                const std::wstring file = ShortcutFile(place, entry->location);
                if (!file.empty()) {
                    ForceDirectories(ExtractFileDir(file));
                    const bool made = CreateShortcut(
                        file, ExpandPath(entry->target, paths_), ExpandPath(entry->workDir, paths_),
                        ExpandPath(entry->iconFile, paths_), static_cast<int>(entry->iconIndex),
                        static_cast<int>(entry->showMode));
                    if (made)
                        progress_.Log(L"Shortcut: " + file);
                    else
                        progress_.StepFailed(L"Failed: shortcut " + file);
                }
            }
            bar.Advance();
        }
    }

    void ApplyRegistryEntries(Bar& bar) {
        for (const Text& raw : lists_.Install("RegWrite")) {
            if (WriteRegistryEntry(raw))
                progress_.Log(L"Registry written: " + Widen(raw));
            else
                progress_.StepFailed(L"Failed: registry not written: " + Widen(raw));
            bar.Advance();
        }
        for (const Text& raw : lists_.Install("RegDelete")) {
            if (IsRefusedDeleteEntry(raw))
                progress_.StepFailed(L"Refused: registry key every program shares, not deleted: " +
                                     Widen(raw));
            else if (DeleteRegistryEntry(raw))
                progress_.Log(L"Registry deleted: " + Widen(raw));
            else
                progress_.StepFailed(L"Failed: registry not deleted: " + Widen(raw));
            bar.Advance();
        }
    }

    void Record(const std::wstring& name, const std::wstring& text) {
        if (record_->Write(name, text))
            progress_.Log(L"Recorded " + name + L": " + text);
        else
            progress_.StepFailed(L"Failed: not recorded " + name + L": " + text);
    }

    // What an earlier install of the product claimed, read before its record is replaced.
    void ReadEarlierClaims() {
        const UninstallRecord earlier = ReadRecordTwin(appName_);
        const std::vector<FileOwnership> claims = ReadFileClaims(appName_, earlier.files.size());
        for (size_t i = 0; i < earlier.files.size(); ++i)
            earlierClaims_[UpperCase(earlier.files[i])] = claims[i];
    }

    // Whether the recorded file is this product's to remove at uninstall (see FileClaim).
    FileOwnership Ownership(const std::wstring& path) {
        const std::wstring key = UpperCase(path);
        const auto earlier = earlierClaims_.find(key);
        const FileOwnership before = earlier == earlierClaims_.end() ? FileOwnership() : earlier->second;
        const auto installed = installedFiles_.find(key);
        const bool copied = installed != installedFiles_.end();
        if (before.claim == FileClaim::Shared)
            return before; // counted once, by the install that first put it there
        if (copied && (IsWithin(path, folders_.windows) || IsWithin(path, folders_.system))) {
            if (AddSharedUse(path, installed->second.existed))
                return {FileClaim::Shared};
            progress_.StepFailed(L"Failed: use count of the shared file not raised: " + path);
            return {};
        }
        unsigned long long size = 0, time = 0;
        if (copied) {
            if (installed->second.result == CopyResult::Copied)
                return {FileClaim::Copied, installed->second.size, installed->second.writeTime,
                        installed->second.beside};
            size = installed->second.size;
            time = installed->second.writeTime;
        } else {
            WIN32_FILE_ATTRIBUTE_DATA facts;
            if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &facts))
                return {FileClaim::Later}; // the product makes it as it runs
            size = SizeOf(facts);
            time = TimeOf(facts);
        }
        // Already in place: ours only when an earlier install of the product put this very file there.
        if (before.claim == FileClaim::Later)
            return before;
        // Left as it is, and the copy an earlier update left beside it still waits for the restart.
        if (!WaitingCopy(path, before).empty())
            return before;
        // The very file: any copy that waited beside it has been moved over it since.
        if (before.claim == FileClaim::Copied && before.size == size && before.writeTime == time)
            return {FileClaim::Copied, size, time, std::wstring()};
        return {};
    }

    void WriteRecord(Bar& bar) {
        record_ = std::make_unique<RecordWriter>(appName_, data_.UninstallVisible());
        SYSTEMTIME now;
        GetLocalTime(&now);
        Record(L"DateTime", RecordDateTimeText(now));
        bar.Advance();
        if (!choices_.intoSetupFolder) {
            Record(L"SetupPath", paths_.installFolder);
            bar.Advance();
        }
        if (choices_.startMenu) {
            Record(L"StartPath", paths_.programGroup);
            bar.Advance();
        }
        // Not counted on the bar, which counts what the data file asks for.
        if (favouritesWritten_)
            Record(L"Favorites", FavouritesLinkFile(folders_.windows));
    }

    // Expanded paths: the list ends at the first one that expands to nothing.
    void RecordPaths(const char* stem, RecordList list, Bar& bar) {
        int index = 0;
        for (const Text& raw : lists_.Uninstall(stem)) {
            const std::wstring path = ExpandPath(raw, paths_);
            if (path.empty())
                return;
            Record(RecordValueName(list, ++index), path);
            if (list == RecordList::File) {
                const FileOwnership ownership = Ownership(path);
                if (ownership.claim == FileClaim::None)
                    progress_.Log(L"Not this product's file, kept at uninstall: " + path);
                if (!record_->Claim(index, ownership))
                    progress_.StepFailed(L"Failed: not recorded whose file it is: " + path);
            }
            bar.Advance();
        }
    }

    void RecordShortcuts(const ShortcutPlace& place, Bar& bar) {
        int index = 0;
        for (const Text& raw : lists_.Uninstall(place.stem)) {
            Record(RecordValueName(place.list, ++index), ShortcutFile(place, ShortcutEntryLocation(raw)));
            bar.Advance();
        }
    }

    void RecordEntries(const char* stem, RecordList list, Bar& bar) {
        int index = 0;
        for (const Text& raw : lists_.Uninstall(stem)) {
            Record(RecordValueName(list, ++index), Widen(raw));
            bar.Advance();
        }
    }

    static void WriteOptionalRow(const Text& key, const Text& name, const Text& value) {
        if (value.empty())
            RegDeleteValue(HKEY_LOCAL_MACHINE, key, name);
        else
            RegWriteString(HKEY_LOCAL_MACHINE, key, name, value);
    }

    void WriteUninstallInformation(Bar& bar) {
        // An empty AppName would address the key holding every product's entry.
        if (!appName_.empty()) {
            const Text key = Text(SystemUninstallKey) + data_.AppName();
            if (!RegWriteString(HKEY_LOCAL_MACHINE, key, "DisplayName", appName_))
                progress_.StepFailed(L"Failed: uninstall entry DisplayName not written");
            bar.Advance();
            const std::wstring command =
                JoinPath(folders_.windows, std::wstring(UninstallerName)) + L" " + appName_;
            if (RegWriteString(HKEY_LOCAL_MACHINE, key, "UninstallString", command))
                progress_.Log(L"Uninstall entry: " + command);
            else
                progress_.StepFailed(L"Failed: uninstall entry UninstallString not written");
            bar.Advance();
            // What the system's list of programs shows beyond the two values above; not counted
            // on the bar, which counts the values the data file asks for.
            RegWriteString(HKEY_LOCAL_MACHINE, key, "QuietUninstallString", command + L" /SILENT");
            RegWriteString(HKEY_LOCAL_MACHINE, key, "DisplayIcon",
                           JoinPath(folders_.windows, std::wstring(UninstallerName)));
            const unsigned long long kib = (installedBytes_ + 1023) / 1024;
            RegWriteInteger(HKEY_LOCAL_MACHINE, key, "EstimatedSize",
                            static_cast<long>(std::min(kib, 0x7fffffffULL)));
            // Optional data-file keys. An empty one leaves its row out rather than showing a
            // blank, and drops a row an earlier version of the product left behind.
            WriteOptionalRow(key, "DisplayVersion", data_.DisplayVersion());
            WriteOptionalRow(key, "Publisher", data_.Publisher());
        }
        if (!choices_.intoSetupFolder)
            RecordPaths("File", RecordList::File, bar);
        RecordPaths("Dir", RecordList::Dir, bar);
        for (const ShortcutPlace& place : ShortcutPlaces)
            if (choices_.*place.chosen)
                RecordShortcuts(place, bar);
        RecordEntries("RegWrite", RecordList::RegWrite, bar);
        RecordEntries("RegDelete", RecordList::RegDelete, bar);
        RecordPaths("Execute", RecordList::Execute, bar);
    }

    const SetupData& data_;
    const InstallChoices& choices_;
    const InstallFolders& folders_;
    InstallProgress& progress_;
    FilesInUse& inUse_;
    const PathContext paths_;
    const std::wstring appName_;
    DataLists lists_{data_};
    std::set<std::wstring> madeFolders_;
    unsigned long long installedBytes_ = 0; // the files copied or found up to date
    bool favouritesWritten_ = false;
    // By upper-cased destination: what each "Install" file step left there.
    std::map<std::wstring, DestinationFile> installedFiles_;
    std::map<std::wstring, FileOwnership> earlierClaims_;
    std::unique_ptr<RecordWriter> record_;
    std::vector<std::wstring> pendingRestart_; // destinations the next restart puts in place
    std::wstring closedNames_;                 // the programs asked to close
};

} // namespace

InstallLog::InstallLog(const std::wstring& file) {
    if (!file.empty())
        file_.reset(CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool InstallLog::IsOpen() const {
    return static_cast<bool>(file_);
}

void InstallLog::Line(const std::wstring& text) {
    if (!IsOpen())
        return;
    std::wstring line;
    for (wchar_t c : text) {
        if (c == L'\n' && !line.empty() && line.back() == L' ')
            continue; // CR LF becomes one blank
        line += (c == L'\r' || c == L'\n') ? L' ' : c;
    }
    line += L"\r\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), bytes.data(), size, nullptr,
                        nullptr);
    DWORD written = 0;
    WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void SilentProgress::RestartNeeded(const std::wstring& notice) {
    needsRestart_ = true;
    log_.Line(L"Restart needed: " + notice);
}

void SilentProgress::StepFailed(const std::wstring& line) {
    ++failures_;
    log_.Line(line);
}

bool SilentProgress::AskContinue(const std::wstring& text) {
    log_.Line(L"Answered No: " + text);
    return false;
}

InstallFolders InstallFolders::FromPlatform() {
    return {GetWindowsDirWide(), GetShellFolderWide("Desktop"), GetShellFolderWide("SendTo"),
            GetSystemDirWide()};
}

CopyResult CopyIfNewer(const std::wstring& source, const std::wstring& destination) {
    DestinationFile file;
    return CopyFileIfNewer(source, destination, true, file);
}

PathContext EffectivePaths(const SetupData& data, const InstallChoices& choices) {
    PathContext paths = choices.paths;
    if (choices.intoSetupFolder)
        paths.installFolder = data.SetupFolder();
    return paths;
}

InstallProposal ProposeInstallation(const SetupData& data) {
    InstallProposal proposal;
    InstallChoices& choices = proposal.choices;
    const std::wstring appName = Widen(data.AppName());
    const std::wstring record = appName.empty() ? std::wstring() : UninstallRecordKey(appName);
    const PathContext bare{data.SetupFolder(), std::wstring()};

    std::wstring folder = ExpandPath(data.InstallPath(), bare);
    if (!record.empty())
        folder = RegReadString(HKEY_CURRENT_USER, record, L"SetupPath", folder);
    choices.paths.installFolder = folder;
    proposal.folderChoiceAvailable = !folder.empty();
    const std::wstring longFolder = GetLongPath(folder), longSetup = GetLongPath(data.SetupFolder());
    choices.intoSetupFolder = folder.empty() || SamePath(longFolder, longSetup);

    for (const Text& entry : data.ReadList(SetupInstall, "StartMenu")) {
        if (entry[0] != '<' || entry.rfind("<Default>", 0) == 0) {
            proposal.groupNeeded = true;
            std::wstring group = ExpandPath(data.StartPath(), PathContext{folder, std::wstring()});
            if (!record.empty())
                group = RegReadString(HKEY_CURRENT_USER, record, L"StartPath", group);
            choices.paths.programGroup = group;
            break;
        }
    }

    for (const ShortcutPlace& place : ShortcutPlaces)
        choices.*place.chosen = !data.ReadString(SetupInstall, Text(place.stem) + "1", Text()).empty();
    return proposal;
}

InstallResult RunInstallation(const SetupData& data, const InstallChoices& choices,
                              const InstallFolders& folders, InstallProgress& progress) {
    const std::unique_ptr<FilesInUse> inUse = SystemFilesInUse();
    return RunInstallation(data, choices, folders, progress, *inUse);
}

InstallResult RunInstallation(const SetupData& data, const InstallChoices& choices,
                              const InstallFolders& folders, InstallProgress& progress, FilesInUse& inUse) {
    return Installation(data, choices, folders, progress, inUse).Run();
}

void InstallProgress::RestartNeeded(const std::wstring& notice) {
    ShowRestartNotice(notice);
}

void ShowRestartNotice(const std::wstring& notice) {
    ShowMessageBox(notice, SetupTitle, MessageInformation, GetActiveWindow());
}

std::wstring RestartNotice(const std::vector<std::wstring>& files, bool removal) {
    std::wstring text = Widen(removal ? "次のﾌｧｲﾙは使用中のため、ｺﾝﾋﾟｭｰﾀの再起動後に削除されます。"
                                      : "次のﾌｧｲﾙは使用中のため、ｺﾝﾋﾟｭｰﾀの再起動後に置き換えられます。");
    for (const std::wstring& file : files)
        text += L"\r\n" + file;
    return text + L"\r\n" +
           Widen(removal ? "ｱﾝｲﾝｽﾄｰﾙを完了するには、ｺﾝﾋﾟｭｰﾀを再起動してください。"
                         : "ｾｯﾄｱｯﾌﾟを完了するには、ｺﾝﾋﾟｭｰﾀを再起動してください。");
}

std::wstring FavouritesLinkFile(const std::wstring& windowsFolder) {
    return windowsFolder.empty() ? std::wstring()
                                 : JoinPath(windowsFolder, std::wstring(L"Favorites\\Morivane Lounge.url"));
}

Text FavouritesLinkText() {
    return Text("[InternetShortcut]\r\nURL=") + Publisher::HomePage + "\r\n";
}

bool WriteFavouritesLink(const std::wstring& windowsFolder) {
    const std::wstring file = FavouritesLinkFile(windowsFolder);
    if (file.empty() || !DirectoryExists(ExtractFileDir(file)))
        return false;
    return WriteFileBytes(file, FavouritesLinkText());
}

void StartRunPrograms(const SetupData& data, const PathContext& paths, const std::array<bool, 3>& ticked) {
    for (int index = 1; index <= 3; ++index) {
        if (!ticked[index - 1])
            continue;
        const std::wstring command = ExpandPath(data.ReadRunOption(index).program, paths);
        if (command.empty())
            continue;
        const WideCommandLineParts parts = SplitCommandLine(command);
        // Started from the elevated installer they would run elevated too (the tray program
        // then deaf to Explorer, and all it starts elevated): the desktop starts them as the
        // user's own where it can.
        if (!ProcessIsElevated() || !ShellOpenThroughDesktop(parts.program, parts.parameters))
            ShellOpen(parts.program, parts.parameters, L"");
    }
}
