#include "work_engine.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>

#include "file_transfer.h"
#include "paths.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/handles.h"
#include "win/path_identity.h"

struct FolderEntry {
    std::wstring name;
    bool folder;
    bool link; // entered by a copy only, and there only when it leads nowhere already copied
    unsigned long long size;
};

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

unsigned long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return UnknownSize;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The folder's entries but "." and ".."; listed first, so that moving entries away does not
// disturb the listing. False, with the platform's reason as the last error, when the folder
// cannot be read to its end.
bool ListEntries(const std::wstring& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileExW(JoinPath(folder, L"*.*").c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, 0));
    if (!search)
        return GetLastError() == ERROR_FILE_NOT_FOUND && DirectoryExists(folder); // an empty drive root
    do {
        if (!std::wcscmp(found.cFileName, L".") || !std::wcscmp(found.cFileName, L".."))
            continue;
        entries.push_back(
            {found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
             IsLink(found.dwFileAttributes, found.dwReserved0),
             (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
    } while (FindNextFileW(search.get(), &found));
    const DWORD error = GetLastError();
    search.reset();
    SetLastError(error);
    return error == ERROR_NO_MORE_FILES;
}

// The platform's reason for the error, in Japanese where the platform has it.
std::wstring Reason(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD flags =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    DWORD length = 0;
    for (DWORD language : {DWORD(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)), DWORD(0)}) {
        length =
            FormatMessageW(flags, nullptr, error, language, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        if (length)
            break;
    }
    std::wstring reason = length ? std::wstring(text, length) : L"ｴﾗｰ " + std::to_wstring(error);
    if (text)
        LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    return reason;
}

// Where deleted items can go to the Recycle Bin: local fixed drives whose bin the shell can
// open. Removable media and network shares have none, and a bin that cannot be opened (under
// Wine, a desktop trash folder that cannot be made) takes nothing; there the shell would
// destroy the item for good, or put its own question, so ours comes first.
bool HasRecycleBin(const std::wstring& path) {
    wchar_t volume[MAX_PATH];
    std::wstring full = CanonicalPath(path);
    if (!GetVolumePathNameW(full.c_str(), volume, MAX_PATH))
        return false;
    if (GetDriveTypeW(volume) != DRIVE_FIXED)
        return false;
    SHQUERYRBINFO bin = {};
    bin.cbSize = sizeof bin;
    return SUCCEEDED(SHQueryRecycleBinW(volume, &bin));
}

// The folder's own facts, read before its entries change it.
struct FolderFacts {
    bool known = false;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
};

FolderFacts ReadFolderFacts(const std::wstring& folder) {
    FolderFacts facts;
    facts.known = GetFileAttributesExW(folder.c_str(), GetFileExInfoStandard, &facts.data) != 0;
    return facts;
}

// Dates and attributes as the source folder had them; set once the contents are in place,
// since every entry written changes the folder's date.
void KeepFolderFacts(const std::wstring& folder, const FolderFacts& facts) {
    if (!facts.known)
        return;
    UniqueHandle handle(CreateFileW(folder.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle)
        SetFileTime(handle.get(), &facts.data.ftCreationTime, &facts.data.ftLastAccessTime,
                    &facts.data.ftLastWriteTime);
    handle.reset(); // closed before the attributes change
    const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                       FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (facts.data.dwFileAttributes & kept)
        SetFileAttributesW(folder.c_str(), facts.data.dwFileAttributes & kept);
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
    if (!stopped_)
        cancelRequested_ = true;
}

WorkResult WorkEngine::Run() {
    // A request made before an earlier run stopped went with that stop.
    cancelRequested_ = cancelRequested_ && !stopped_;
    stopped_ = false;
    lastChoice_ = OverwriteChoice::IfNewer;
    choiceForAll_.reset();
    copied_.clear();
    if (!DestinationIsUsable()) {
        stopped_ = true;
        return workResult();
    }
    for (const std::wstring& item : order_.items) {
        if (CancelCheck())
            break;
        bool link = false;
        DWORD attributes = ItemAttributes(item, link);
        bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            // Gone since it was given: nothing to do.
        } else if (order_.operation == Operation::Delete) {
            DeleteItem(item, folder, link);
        } else if (!folder || (link && order_.operation == Operation::Move)) {
            if (EnsureFolder(order_.destination)) {
                std::wstring landing = JoinPath(order_.destination, ExtractFileName(RemoveBackslash(item)));
                if (link && order_.operation == Operation::Move)
                    MoveLinkItself(item, landing);
                else
                    TransferFile(item, landing, FileSize(item));
            }
        } else if (link) {
            CopyThroughLink(item, JoinPath(order_.destination, ExtractFileName(RemoveBackslash(item))));
        } else {
            TransferFolder(item, JoinPath(order_.destination, ExtractFileName(RemoveBackslash(item))));
        }
        if (stopped_)
            break;
    }
    // The last item's cancel request is still answered, so the window knows whether to stay.
    CancelCheck();
    return workResult();
}

bool WorkEngine::DestinationIsUsable() {
    if (order_.operation == Operation::Delete)
        return true;
    // A folder copied into itself would copy its own copy again and again.
    std::wstring destination = CanonicalPath(order_.destination);
    if (order_.operation == Operation::Copy)
        copied_.push_back(destination); // a link into the copy would copy it again
    std::wstring what = order_.operation == Operation::Move ? L"移動" : L"ｺﾋﾟｰ";
    for (const std::wstring& item : order_.items) {
        if (!DirectoryExists(item))
            continue;
        std::wstring folder = CanonicalPath(item);
        // Into its own parent it would land on itself, every file a conflict with itself.
        if (SamePath(JoinPath(destination, ExtractFileName(folder)), folder)) {
            progress_.Ask(L"ﾌｫﾙﾀﾞ \"" + item + L"\" は既に" + what + L"先 \"" + order_.destination +
                              L"\" にあります。\nﾌｫﾙﾀﾞをそれ自身の上へ" + what +
                              L"することはできません。別の" + what + L"先を指定してください。",
                          Refusal);
            return false;
        }
        if (order_.operation == Operation::Copy) {
            // What a link must not lead back into: the folders being copied.
            std::wstring final = FinalPath(item);
            copied_.push_back(final.empty() ? folder : final);
        }
        if (!IsSameOrInside(destination, folder))
            continue;
        progress_.Ask(what + L"先のﾌｫﾙﾀﾞ \"" + order_.destination + L"\" は " + what + L"するﾌｫﾙﾀﾞ \"" +
                          item + L"\" の中にあります。\nﾌｫﾙﾀﾞをそれ自身の中へ" + what +
                          L"することはできません。別の" + what + L"先を指定してください。",
                      Refusal);
        return false;
    }
    return true;
}

bool WorkEngine::CancelCheck() {
    if (cancelRequested_ && !stopped_)
        stopped_ = progress_.Ask(L"作業を中止しますか？", AbortQuestion) == IDYES;
    cancelRequested_ = false;
    return stopped_;
}

void WorkEngine::Pause() {
    if (stepDelay_)
        progress_.Delay(stepDelay_);
}

bool WorkEngine::RunStep(const Text& caption, const std::wstring& item, const std::wstring& fromTo,
                         const std::function<bool()>& step) {
    progress_.ShowStep(caption, item, fromTo);
    progress_.SetProgress(0);
    Pause();
    if (!step())
        return false;
    progress_.SetProgress(100);
    progress_.ProcessMessages();
    return true;
}

bool WorkEngine::RetryAfterFailure(const std::wstring& text) {
    int answer = progress_.Ask(text, FailureQuestion);
    if (answer == IDRETRY)
        return true;
    if (answer == IDABORT)
        stopped_ = true;
    return false;
}

bool WorkEngine::EnsureFolder(const std::wstring& folder) {
    if (DirectoryExists(folder))
        return true;
    return RunStep("ﾌｫﾙﾀﾞを作成しています...", folder, L"", [&] {
        ForceDirectories(folder);
        while (!DirectoryExists(folder)) {
            if (!RetryAfterFailure(folder + L"\nﾌｫﾙﾀﾞの作成に失敗しました。処理を続行しますか？"))
                return false;
            ForceDirectories(folder);
        }
        return true;
    });
}

bool WorkEngine::SettleConflict(const std::wstring& source, std::wstring& destination) {
    if (choiceForAll_)
        return ApplyChoice(*choiceForAll_, source, destination);
    OverwriteAnswer answer =
        progress_.AskOverwrite({source, destination, order_.operation == Operation::Move, lastChoice_});
    lastChoice_ = answer.choice;
    if (answer.cancelled)
        return false; // this file stays as it is
    if (answer.forAll)
        choiceForAll_ = answer.choice;
    return ApplyChoice(answer.choice, source, destination);
}

void WorkEngine::TransferFile(const std::wstring& source, std::wstring destination, unsigned long long size) {
    bool move = order_.operation == Operation::Move;
    RunStep(move ? "移動しています..." : "ｺﾋﾟｰしています...", ExtractFileName(source),
            L"\"" + FolderName(source) + L"\"から\"" + FolderName(destination) + L"\"へ",
            [&] { return Transfer(source, destination, size); });
}

bool WorkEngine::Transfer(const std::wstring& source, std::wstring& destination, unsigned long long size) {
    bool move = order_.operation == Operation::Move;
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
                return false;
            replace = true;
            conflict = false;
            if (SamePath(source, destination))
                return true; // nothing to transfer
        }
        DWORD error = ERROR_SUCCESS;
        auto transfer = [&] {
            bool ok = move      ? MoveFileKeepingSource(source, destination, replace)
                      : replace ? CopyReplacing(source, destination)
                                : CopyFileW(source.c_str(), destination.c_str(), TRUE) != 0;
            if (!ok)
                error = GetLastError();
            return ok;
        };
        // A long copy runs while the window stays usable.
        if (size <= QuickTransferSize ? transfer() : progress_.RunBlocking(transfer))
            return true;
        if (!replace && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) &&
            FileExists(destination)) {
            conflict = true;
            continue;
        }
        if (!RetryAfterFailure(source + L" → " + destination + L"\n" +
                               (move ? L"ﾌｧｲﾙ移動に失敗しました。処理を続行しますか？"
                                     : L"ﾌｧｲﾙｺﾋﾟｰに失敗しました。処理を続行しますか？")))
            return false;
    }
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

bool WorkEngine::AskUsableName(const std::wstring& destination, std::wstring& name, bool mayOverwrite) {
    for (;;) {
        if (!AskNewName(destination, name))
            return false;
        if (FileExists(name)) {
            if (!mayOverwrite) {
                progress_.Ask(name + L"\nﾌｧｲﾙは既に存在します。", Notice);
                continue;
            }
            if (progress_.Ask(name + L"\nﾌｧｲﾙは既に存在します。上書きしますか？", OverwriteConfirmation) !=
                IDYES)
                continue;
            if (order_.operation == Operation::Move)
                SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_ARCHIVE);
            return true;
        }
        if (!AskMissingFolder(name))
            continue;
        return !stopped_;
    }
}

bool WorkEngine::ApplyChoice(OverwriteChoice choice, const std::wstring& source, std::wstring& destination) {
    switch (choice) {
    case OverwriteChoice::IfNewer:
        return ModifiedLater(source, destination);
    case OverwriteChoice::NewName: {
        std::wstring name = destination;
        if (!AskUsableName(destination, name, true))
            return false;
        destination = name;
        return true;
    }
    case OverwriteChoice::Overwrite:
        // A copy resets them only once the new file is complete.
        if (order_.operation == Operation::Move)
            SetFileAttributesW(destination.c_str(), FILE_ATTRIBUTE_ARCHIVE);
        return true;
    case OverwriteChoice::RenameExisting: {
        std::wstring name = destination;
        if (!AskUsableName(destination, name, false))
            return false;
        while (!MoveFileW(destination.c_str(), name.c_str())) {
            if (!RetryAfterFailure(destination + L" → " + name +
                                   L"\nﾌｧｲﾙ名変更に失敗しました。処理を続行しますか？"))
                return false;
        }
        return true;
    }
    }
    return true;
}

bool WorkEngine::ReadEntries(const std::wstring& folder, std::vector<FolderEntry>& entries) {
    while (!ListEntries(folder, entries)) {
        if (!RetryAfterFailure(folder + L"\n" + Reason(GetLastError()) +
                               L"\nﾌｫﾙﾀﾞの内容を読み取れませんでした。処理を続行しますか？"))
            return false;
    }
    return true;
}

void WorkEngine::TransferFolder(const std::wstring& source, const std::wstring& destination) {
    if (CancelCheck())
        return;
    FolderFacts facts = ReadFolderFacts(source);
    std::vector<FolderEntry> entries;
    if (!ReadEntries(source, entries))
        return; // nothing is made of a folder that cannot be read
    Pause();
    bool made = !DirectoryExists(destination);
    if (!EnsureFolder(destination))
        return; // nowhere to put the entries; the source stays whole
    bool move = order_.operation == Operation::Move;
    for (const FolderEntry& entry : entries) {
        std::wstring from = JoinPath(source, entry.name), to = JoinPath(destination, entry.name);
        if (entry.link && move)
            MoveLinkItself(from, to);
        else if (entry.link && entry.folder)
            CopyThroughLink(from, to);
        else if (entry.folder)
            TransferFolder(from, to);
        else
            TransferFile(from, to, entry.size);
        if (CancelCheck())
            return;
    }
    if (made)
        KeepFolderFacts(destination, facts);
    if (!move || !DirectoryExists(source))
        return;
    RunStep("ﾌｫﾙﾀﾞを削除しています...", source, L"", [&] {
        while (!RemoveDirectoryW(source.c_str())) {
            if (!RetryAfterFailure(source + L"\nﾌｫﾙﾀﾞの削除に失敗しました。処理を続行しますか？"))
                return false;
        }
        return true;
    });
}

void WorkEngine::CopyThroughLink(const std::wstring& link, const std::wstring& destination) {
    // Copied as the shell copies it, through the link, unless it leads back into what is
    // being copied or to a folder already copied in this run: that would never end.
    std::wstring target = FinalPath(link);
    if (!target.empty()) {
        for (const std::wstring& folder : copied_) {
            if (!IsSameOrInside(target, folder) && !IsSameOrInside(folder, target))
                continue;
            progress_.Ask(link + L"\nﾘﾝｸ先 \"" + target +
                              L"\" はｺﾋﾟｰ中のﾌｫﾙﾀﾞに含まれるため、ﾘﾝｸ先はｺﾋﾟｰしません。",
                          Notice);
            return;
        }
        copied_.push_back(target);
    }
    TransferFolder(link, destination); // a link that leads nowhere fails at its listing
}

void WorkEngine::MoveLinkItself(const std::wstring& link, const std::wstring& destination) {
    RunStep("移動しています...", ExtractFileName(link),
            L"\"" + FolderName(link) + L"\"から\"" + FolderName(destination) + L"\"へ", [&] {
                while (!MoveLink(link, destination, false)) {
                    if (!RetryAfterFailure(
                            link + L" → " + destination + L"\n" + Reason(GetLastError()) +
                            L"\nﾘﾝｸの移動に失敗しました。ﾘﾝｸ先には触れていません。処理を続行しますか？"))
                        return false;
                }
                return true;
            });
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
        // The shell asks itself before destroying what the bin cannot take (too big for it).
        operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SIMPLEPROGRESS | FOF_WANTNUKEWARNING;
        // Gone already: a failure, not a question of the shell's about what it cannot recycle.
        bool there = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (there && SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted)
            return true;
        if (!RetryAfterFailure(path + (folder ? L"\nﾌｫﾙﾀﾞの削除に失敗しました。処理を続行しますか？"
                                              : L"\nﾌｧｲﾙの削除に失敗しました。処理を続行しますか？")))
            return false;
    }
}

void WorkEngine::DeleteItem(const std::wstring& item, bool folder, bool link) {
    if (link) {
        if (progress_.Ask(item + L"\nﾘﾝｸだけを完全に削除します。ﾘﾝｸ先はそのまま残ります。削除しますか？",
                          OverwriteConfirmation) == IDYES)
            RemoveForGood(item, folder, true);
        return;
    }
    if (!HasRecycleBin(item)) {
        if (progress_.Ask(item + L"\nごみ箱に移動できないため、完全に削除されます。削除しますか？",
                          OverwriteConfirmation) == IDYES)
            RemoveForGood(item, folder, false);
        return;
    }
    if (folder)
        RecycleFolder(item);
    else
        RecycleFile(item);
}

void WorkEngine::RecycleFile(const std::wstring& path) {
    RunStep("削除しています...", path, L"", [&] {
        RecycleWithQuestion(path, false);
        return true;
    });
}

void WorkEngine::RecycleFolder(const std::wstring& folder) {
    if (CancelCheck())
        return;
    std::vector<FolderEntry> entries;
    if (!ReadEntries(folder, entries))
        return;
    for (const FolderEntry& entry : entries) {
        // A link stays where it is and goes to the bin inside its folder, as itself: handed
        // to the shell on its own, it may take what it leads to.
        if (entry.link)
            continue;
        if (entry.folder)
            RecycleFolder(JoinPath(folder, entry.name));
        else
            RecycleFile(JoinPath(folder, entry.name));
        if (CancelCheck())
            return;
    }
    if (!DirectoryExists(folder))
        return;
    RunStep("ﾌｫﾙﾀﾞを削除しています...", folder, L"", [&] {
        RecycleWithQuestion(folder, true);
        return true;
    });
}

void WorkEngine::RemoveForGood(const std::wstring& path, bool folder, bool link) {
    if (CancelCheck())
        return;
    if (folder && !link) {
        std::vector<FolderEntry> entries;
        if (!ReadEntries(path, entries))
            return;
        for (const FolderEntry& entry : entries) {
            RemoveForGood(JoinPath(path, entry.name), entry.folder, entry.link);
            if (stopped_)
                return;
        }
    }
    RunStep(folder ? "ﾌｫﾙﾀﾞを削除しています..." : "削除しています...", path, L"", [&] {
        for (;;) {
            if (!link)
                SetFileAttributesW(path.c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL);
            // A link is removed as itself, never through what it leads to.
            bool removed = link     ? RemoveLink(path)
                           : folder ? RemoveDirectoryW(path.c_str())
                                    : DeleteFileW(path.c_str());
            if (removed)
                return true;
            if (!RetryAfterFailure(
                    path + L"\n" + Reason(GetLastError()) +
                    (link ? L"\nﾘﾝｸの削除に失敗しました。ﾘﾝｸ先には触れていません。処理を続行しますか？"
                     : folder ? L"\nﾌｫﾙﾀﾞの削除に失敗しました。処理を続行しますか？"
                              : L"\nﾌｧｲﾙの削除に失敗しました。処理を続行しますか？")))
                return false;
        }
    });
}
