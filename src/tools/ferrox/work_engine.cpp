#include "work_engine.h"

#include <shellapi.h>

#include <algorithm>

#include "file_transfer.h"
#include "paths.h"
#include "win/encoding.h"
#include "win/files.h"

namespace {

// Message styles of the engine's questions.
constexpr UINT AbortQuestion = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
constexpr UINT FailureQuestion = MB_ABORTRETRYIGNORE | MB_ICONSTOP;
constexpr UINT OverwriteConfirmation = MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2;
constexpr UINT FolderQuestion = MB_YESNO | MB_ICONQUESTION;
constexpr UINT Notice = MB_OK | MB_ICONEXCLAMATION;
constexpr UINT Refusal = MB_OK | MB_ICONSTOP;

const wchar_t* const NewNamePrompt = L" の新しい名前は？";

bool IsRemovableDrive(const std::wstring& path) {
    if (path.size() < 2 || path[1] != L':')
        return false;
    std::wstring root = path.substr(0, 2) + L'\\';
    return GetDriveTypeW(root.c_str()) == DRIVE_REMOVABLE;
}

// The last name of the folder holding path.
std::wstring FolderName(const std::wstring& path) {
    return ExtractFileName(RemoveBackslash(ExtractFileDir(path)));
}

bool ModifiedLater(const std::wstring& a, const std::wstring& b) {
    WIN32_FILE_ATTRIBUTE_DATA first, second;
    if (!GetFileAttributesExW(a.c_str(), GetFileExInfoStandard, &first) ||
        !GetFileAttributesExW(b.c_str(), GetFileExInfoStandard, &second))
        return false;
    return CompareFileTime(&first.ftLastWriteTime, &second.ftLastWriteTime) > 0;
}

// Files up to this size are transferred on the window's thread: they take a few
// milliseconds at most, less than handing them to another thread and back.
constexpr unsigned long long QuickTransferSize = 1 << 20;
constexpr unsigned long long UnknownSize = ~0ULL;

struct Entry {
    std::wstring name;
    bool folder;
    unsigned long long size;
};

unsigned long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return UnknownSize;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The folder's entries, dot-names left out; listed first, so that moving entries away
// does not disturb the listing.
std::vector<Entry> ListEntries(const std::wstring& folder) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(JoinPath(folder, L"*.*").c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        if (found.cFileName[0] == L'.')
            continue;
        entries.push_back(
            {found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
             (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return entries;
}

} // namespace

WorkEngine::WorkEngine(WorkOrder order, WorkProgress& progress)
    : order_(std::move(order)), progress_(progress) {
    // Slow removable media get a pause before every step; deletions a short one.
    if (IsRemovableDrive(order_.destination) ||
        (order_.operation != Operation::Copy && !order_.items.empty() &&
         IsRemovableDrive(order_.items.front())))
        stepDelay_ = 500;
    else
        stepDelay_ = order_.operation == Operation::Delete ? 50 : 0;
}

void WorkEngine::RequestCancel() {
    // A stop already decided stays a stop.
    if (workResult_ != WorkResult::Stop)
        workResult_ = WorkResult::CancelRequested;
}

int WorkEngine::Run() {
    if (workResult_ != WorkResult::CancelRequested)
        workResult_ = WorkResult::Normal;
    lastChoiceIndex_ = 0;
    applyAllChoice_ = 0;
    if (!DestinationIsUsable()) {
        workResult_ = WorkResult::Stop;
        return workResult_;
    }
    for (const std::wstring& item : order_.items) {
        if (CancelCheck())
            break;
        if (FileExists(item)) {
            if (order_.operation == Operation::Delete) {
                RecycleFile(item);
            } else if (EnsureFolder(order_.destination)) {
                TransferFile(item, JoinPath(order_.destination, ExtractFileName(item)), FileSize(item));
            }
        } else if (DirectoryExists(item)) {
            if (order_.operation == Operation::Delete)
                RecycleFolder(item);
            else
                TransferFolder(item, JoinPath(order_.destination, ExtractFileName(RemoveBackslash(item))));
        }
        if (workResult_ == WorkResult::Stop)
            break;
    }
    // The last item's cancel request is still answered, so the window knows whether to stay.
    CancelCheck();
    return workResult_;
}

bool WorkEngine::DestinationIsUsable() {
    if (order_.operation == Operation::Delete)
        return true;
    // A folder copied into itself would copy its own copy again and again.
    std::wstring destination = ComparablePath(order_.destination);
    for (const std::wstring& item : order_.items) {
        if (!DirectoryExists(item))
            continue;
        std::wstring folder = ComparablePath(item);
        if (!IsSameOrInside(destination, folder))
            continue;
        std::wstring what = order_.operation == Operation::Move ? L"移動" : L"ｺﾋﾟｰ";
        progress_.Ask(what + L"先のﾌｫﾙﾀﾞ \"" + order_.destination + L"\" は " + what + L"するﾌｫﾙﾀﾞ \"" +
                          item + L"\" の中にあります。\nﾌｫﾙﾀﾞをそれ自身の中へ" + what +
                          L"することはできません。別の" + what + L"先を指定してください。",
                      Refusal);
        return false;
    }
    return true;
}

bool WorkEngine::CancelCheck() {
    if (workResult_ == WorkResult::CancelRequested)
        workResult_ = progress_.Ask(L"作業を中止しますか？", AbortQuestion) == IDYES ? WorkResult::Stop
                                                                                     : WorkResult::Normal;
    return workResult_ == WorkResult::Stop;
}

void WorkEngine::Pause() {
    if (stepDelay_)
        progress_.Delay(stepDelay_);
}

bool WorkEngine::RetryAfterFailure(const std::wstring& text) {
    int answer = progress_.Ask(text, FailureQuestion);
    if (answer == IDRETRY)
        return true;
    if (answer == IDABORT)
        workResult_ = WorkResult::Stop;
    return false;
}

bool WorkEngine::EnsureFolder(const std::wstring& folder) {
    if (DirectoryExists(folder))
        return true;
    progress_.ShowStep("ﾌｫﾙﾀﾞを作成しています...", folder, L"");
    progress_.SetProgress(0);
    Pause();
    ForceDirectories(folder);
    while (!DirectoryExists(folder)) {
        if (!RetryAfterFailure(folder + L"\nﾌｫﾙﾀﾞの作成に失敗しました。処理を続行しますか？"))
            return false;
        ForceDirectories(folder);
    }
    progress_.SetProgress(100);
    progress_.ProcessMessages();
    return true;
}

bool WorkEngine::SettleConflict(const std::wstring& source, std::wstring& destination) {
    int choice = applyAllChoice_;
    if (!choice) {
        OverwriteAnswer answer = progress_.AskOverwrite(
            {source, destination, order_.operation == Operation::Move, lastChoiceIndex_});
        lastChoiceIndex_ = std::clamp(answer.selectedIndex, 0, 3);
        if (answer.result >= WorkResult::AllChoiceFirst && answer.result < WorkResult::AllChoiceFirst + 4) {
            choice = answer.result - WorkResult::AllChoiceFirst + 1;
            applyAllChoice_ = choice;
        } else if (answer.result >= WorkResult::ChoiceFirst && answer.result < WorkResult::ChoiceFirst + 4) {
            choice = answer.result - WorkResult::ChoiceFirst + 1;
        } else {
            return false; // cancelled: this file stays as it is
        }
    }
    return ApplyChoice(choice, source, destination);
}

void WorkEngine::TransferFile(const std::wstring& source, std::wstring destination, unsigned long long size) {
    bool move = order_.operation == Operation::Move;
    progress_.ShowStep(move ? "移動しています..." : "ｺﾋﾟｰしています...", ExtractFileName(source),
                       L"\"" + FolderName(source) + L"\"から\"" + FolderName(destination) + L"\"へ");
    progress_.SetProgress(0);
    Pause();
    // The first try never replaces: an existing D shows itself by the failure, which
    // saves a look-up per file (costly in large folders). Only a conflict the user
    // settled lets the transfer replace what is there.
    bool replace = false;
    // A file onto itself would pass as moved or fail as a sharing fault, whatever the
    // platform makes of it; it is a conflict like any other.
    bool conflict = SamePath(source, destination) && FileExists(destination);
    for (;;) {
        if (conflict) {
            if (!SettleConflict(source, destination))
                return;
            replace = true;
            conflict = false;
            if (SamePath(source, destination))
                break; // nothing to transfer
        }
        DWORD error = ERROR_SUCCESS;
        auto transfer = [&] {
            bool ok = move ? MoveFileKeepingSource(source, destination, replace)
                           : CopyFileW(source.c_str(), destination.c_str(), !replace) != 0;
            if (!ok)
                error = GetLastError();
            return ok;
        };
        // A long copy runs while the window stays usable.
        bool done = size <= QuickTransferSize ? transfer() : progress_.RunBlocking(transfer);
        if (done)
            break;
        if (!replace && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) &&
            FileExists(destination)) {
            conflict = true;
            continue;
        }
        if (!RetryAfterFailure(source + L" → " + destination + L"\n" +
                               (move ? L"ﾌｧｲﾙ移動に失敗しました。処理を続行しますか？"
                                     : L"ﾌｧｲﾙｺﾋﾟｰに失敗しました。処理を続行しますか？")))
            return;
    }
    progress_.SetProgress(100);
    progress_.ProcessMessages();
}

bool WorkEngine::AskNewName(const std::wstring& destination, std::wstring& name) {
    for (;;) {
        if (!progress_.AskName("名前を変更して複写", ExtractFileName(name) + NewNamePrompt, name))
            return false;
        name = RemoveBackslash(name);
        if (name.empty()) {
            name = destination;
            continue;
        }
        // A relative name stays beside the file, not in whatever folder the process is in.
        if (name.find(L':') == std::wstring::npos && name.front() != L'\\')
            name = JoinPath(ExtractFileDir(destination), name);
        return true;
    }
}

bool WorkEngine::AskMissingFolder(const std::wstring& name) {
    std::wstring folder = ExtractFileDir(name);
    if (folder.empty() || DirectoryExists(folder))
        return true;
    if (progress_.Ask(folder + L"\nﾌｫﾙﾀﾞは存在しません。作成しますか？", FolderQuestion) != IDYES)
        return false;
    EnsureFolder(folder);
    return true;
}

bool WorkEngine::ApplyChoice(int choice, const std::wstring& source, std::wstring& destination) {
    switch (choice) {
    case 1:
        return ModifiedLater(source, destination);
    case 2: {
        std::wstring name = destination;
        for (;;) {
            if (!AskNewName(destination, name))
                return false;
            if (FileExists(name)) {
                if (progress_.Ask(name + L"\nﾌｧｲﾙは既に存在します。上書きしますか？",
                                  OverwriteConfirmation) != IDYES)
                    continue;
                SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_ARCHIVE);
                break;
            }
            if (!AskMissingFolder(name))
                continue;
            if (workResult_ == WorkResult::Stop)
                return false;
            break;
        }
        destination = name;
        return true;
    }
    case 3:
        SetFileAttributesW(destination.c_str(), FILE_ATTRIBUTE_ARCHIVE);
        return true;
    case 4: {
        std::wstring name = destination;
        for (;;) {
            if (!AskNewName(destination, name))
                return false;
            if (FileExists(name)) {
                progress_.Ask(name + L"\nﾌｧｲﾙは既に存在します。", Notice);
                continue;
            }
            if (!AskMissingFolder(name))
                continue;
            if (workResult_ == WorkResult::Stop)
                return false;
            break;
        }
        while (!MoveFileW(destination.c_str(), name.c_str())) {
            if (!RetryAfterFailure(destination + L" → " + name +
                                   L"\nﾌｧｲﾙ名変更に失敗しました。処理を続行しますか？"))
                return false;
        }
        return true;
    }
    default:
        return true;
    }
}

void WorkEngine::TransferFolder(const std::wstring& source, const std::wstring& destination) {
    if (CancelCheck())
        return;
    Pause();
    if (!EnsureFolder(destination))
        return; // nowhere to put the entries; the source stays whole
    for (const Entry& entry : ListEntries(source)) {
        if (entry.folder)
            TransferFolder(JoinPath(source, entry.name), JoinPath(destination, entry.name));
        else
            TransferFile(JoinPath(source, entry.name), JoinPath(destination, entry.name), entry.size);
        if (CancelCheck())
            return;
    }
    if (order_.operation != Operation::Move || !DirectoryExists(source))
        return;
    progress_.ShowStep("ﾌｫﾙﾀﾞを削除しています...", source, L"");
    progress_.SetProgress(0);
    Pause();
    while (!RemoveDirectoryW(source.c_str())) {
        if (!RetryAfterFailure(source + L"\nﾌｫﾙﾀﾞの削除に失敗しました。処理を続行しますか？"))
            return;
    }
    progress_.SetProgress(100);
    progress_.ProcessMessages();
}

bool WorkEngine::RecycleWithQuestion(const std::wstring& path, bool folder) {
    // Any length the platform takes: the list is the path, its NUL and the closing NUL.
    std::wstring from = path;
    from.push_back(L'\0');
    from.push_back(L'\0');
    for (;;) {
        SHFILEOPSTRUCTW operation = {};
        operation.hwnd = progress_.window();
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SIMPLEPROGRESS;
        if (SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted)
            return true;
        if (!RetryAfterFailure(path + (folder ? L"\nﾌｫﾙﾀﾞの削除に失敗しました。処理を続行しますか？"
                                              : L"\nﾌｧｲﾙの削除に失敗しました。処理を続行しますか？")))
            return false;
    }
}

void WorkEngine::RecycleFile(const std::wstring& path) {
    progress_.ShowStep("削除しています...", path, L"");
    progress_.SetProgress(0);
    Pause();
    RecycleWithQuestion(path, false);
    progress_.SetProgress(100);
    progress_.ProcessMessages();
}

void WorkEngine::RecycleFolder(const std::wstring& folder) {
    if (CancelCheck())
        return;
    for (const Entry& entry : ListEntries(folder)) {
        if (entry.folder)
            RecycleFolder(JoinPath(folder, entry.name));
        else
            RecycleFile(JoinPath(folder, entry.name));
        if (CancelCheck())
            return;
    }
    if (!DirectoryExists(folder))
        return;
    progress_.ShowStep("ﾌｫﾙﾀﾞを削除しています...", folder, L"");
    progress_.SetProgress(0);
    Pause();
    RecycleWithQuestion(folder, true);
    progress_.SetProgress(100);
    progress_.ProcessMessages();
}
