// Copying with Ferrox's engine beside a plain CopyFileW loop under the same Wine: one big
// file, and many small files in many folders. The engine reports to a hidden window that
// does what the progress window does (caption and label texts, progress bar, pending
// messages, each copy on a worker thread while the window thread waits for messages).
//
// Usage: copy_bench.exe [--big-mib N] [--files N] [--folders N] [--rounds N] [--keep-source]
// Defaults: 512 MiB, 10000 files of 4 KiB in 100 folders, five rounds that alternate which goes first;
// the median of each counts (the best of a few swings with the load of a shared machine). With
// --keep-source the source tree stays and its Unix path is printed ("unix source: ..."), for timing cp -r on
// it.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "median.h"
#include "paths.h"
#include "win/encoding.h"
#include "step_display.h"
#include "work_engine.h"
#include "win/files.h"

namespace {

double Seconds() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// One worker thread for the whole run; each blocking operation is handed to it while the
// window thread keeps handling its messages.
class Worker {
public:
    Worker() {
        job_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        done_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &Worker::Main, this, 0, nullptr);
    }
    ~Worker() {
        operation_ = nullptr;
        SetEvent(job_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(job_);
        CloseHandle(done_);
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    bool Run(const std::function<bool()>& operation) {
        operation_ = &operation;
        SetEvent(job_);
        while (MsgWaitForMultipleObjects(1, &done_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
            PumpMessages();
        return result_;
    }

private:
    static DWORD WINAPI Main(void* self) {
        Worker& worker = *static_cast<Worker*>(self);
        for (;;) {
            WaitForSingleObject(worker.job_, INFINITE);
            if (!worker.operation_)
                return 0;
            worker.result_ = (*worker.operation_)();
            SetEvent(worker.done_);
        }
    }

    HANDLE job_, done_, thread_;
    const std::function<bool()>* operation_ = nullptr;
    bool result_ = false;
};

// The progress window's work, on a window that is never shown, with the same step display
// as the real window (latest step at the screen's pace, see step_display.h).
class HiddenWorkBox : public WorkProgress {
public:
    HiddenWorkBox() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        window_ = CreateWindowExW(0, L"STATIC", Caption, WS_OVERLAPPEDWINDOW, 100, 100, 437, 148, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        label1_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 8, 64, 425, 16, window_, nullptr,
                                  nullptr, nullptr);
        label2_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 8, 88, 425, 16, window_, nullptr,
                                  nullptr, nullptr);
        bar_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 8, 109, 337, 14, window_,
                               nullptr, nullptr, nullptr);
        SendMessageW(bar_, PBM_SETRANGE32, 0, 100);
    }
    ~HiddenWorkBox() override { DestroyWindow(window_); }

    void ShowStep(const Text& caption, const std::wstring& item, const std::wstring& fromTo) override {
        display_.ShowStep(Widen(caption), item, fromTo);
    }
    void SetProgress(int percent) override { display_.SetProgress(percent); }
    void ProcessMessages() override {
        if (display_.PumpDue())
            PumpMessages();
    }
    void Delay(unsigned milliseconds) override {
        display_.Update();
        ULONGLONG end = GetTickCount64() + milliseconds;
        for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
            PumpMessages();
        }
    }
    bool RunBlocking(const std::function<bool()>& operation) override {
        display_.Update();
        return worker_.Run(operation);
    }
    int Ask(const std::wstring& text, UINT) override {
        display_.Update();
        std::fprintf(stderr, "unexpected question: %s\n", Narrow(text).c_str());
        ++questions;
        return IDABORT;
    }
    OverwriteAnswer AskOverwrite(const OverwriteQuestion&) override {
        ++questions;
        return {};
    }
    bool AskName(const Text&, const std::wstring&, std::wstring&) override { return false; }
    HWND window() const override { return window_; }

    int questions = 0;

private:
    static constexpr const wchar_t* Caption = L"Ferrox (Lumera Deck for Windows)";

    HWND window_, label1_, label2_, bar_;
    StepDisplay display_{{[this](const std::wstring& text) { SetWindowTextW(window_, text.c_str()); },
                          [this](const std::wstring& text) { SetWindowTextW(label1_, text.c_str()); },
                          [this](const std::wstring& text) { SetWindowTextW(label2_, text.c_str()); },
                          [this](int percent) { SendMessageW(bar_, PBM_SETPOS, percent, 0); }},
                         Caption};
    Worker worker_;
};

bool WriteFilled(const std::wstring& path, unsigned long long size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    static const std::vector<char> block = [] {
        std::vector<char> bytes(1 << 20);
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(i * 31 + 7);
        return bytes;
    }();
    bool ok = true;
    while (ok && size) {
        DWORD part = static_cast<DWORD>(size < block.size() ? size : block.size()), written = 0;
        ok = WriteFile(file, block.data(), part, &written, nullptr) && written == part;
        size -= part;
    }
    CloseHandle(file);
    return ok;
}

// The plain loop: the same walk, CreateDirectoryW and CopyFileW and nothing else.
bool PlainCopyTree(const std::wstring& source, const std::wstring& destination) {
    if (!CreateDirectoryW(destination.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(JoinPath(source, L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    do {
        if (found.cFileName[0] == L'.')
            continue;
        std::wstring from = JoinPath(source, found.cFileName), to = JoinPath(destination, found.cFileName);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ok = PlainCopyTree(from, to) && ok;
        else
            ok = CopyFileW(from.c_str(), to.c_str(), FALSE) && ok;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return ok;
}

struct Tally {
    unsigned long long files = 0, bytes = 0;
};

void Count(const std::wstring& folder, Tally& tally) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(JoinPath(folder, L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (found.cFileName[0] == L'.')
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            Count(JoinPath(folder, found.cFileName), tally);
        } else {
            ++tally.files;
            tally.bytes += (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

std::string UnixPath(const std::wstring& path) {
    using Convert = char*(CDECL*)(const wchar_t*);
    auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert)
        return {};
    char* unix = convert(path.c_str());
    if (!unix)
        return {};
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

double TimePlain(const std::wstring& item, const std::wstring& target, bool& ok) {
    double start = Seconds();
    ok = CreateDirectoryW(target.c_str(), nullptr) != 0;
    std::wstring to = JoinPath(target, ExtractFileName(item));
    if (GetFileAttributesW(item.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
        ok = ok && PlainCopyTree(item, to);
    else
        ok = ok && CopyFileW(item.c_str(), to.c_str(), FALSE);
    return Seconds() - start;
}

double TimeEngine(const std::wstring& item, const std::wstring& target, bool& ok) {
    HiddenWorkBox box;
    double start = Seconds();
    WorkEngine engine({Operation::Copy, target, {item}}, box);
    ok = engine.Run() == WorkResult::Normal;
    double seconds = Seconds() - start;
    ok = ok && box.questions == 0;
    return seconds;
}

// Times the engine and the plain loop on one part of the source, in alternating order,
// the median of the rounds each; false when either did not copy everything.
bool Compare(const char* what, const std::wstring& root, const std::wstring& item, const Tally& expected,
             int rounds) {
    std::vector<double> times[2]; // engine, plain
    bool complete = true;
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            bool engineTurn = (turn == 0) == (round % 2 == 1);
            std::wstring target = JoinPath(root, engineTurn ? L"engine" : L"plain");
            RemoveFolderTree(target);
            bool ok = false;
            double seconds = engineTurn ? TimeEngine(item, target, ok) : TimePlain(item, target, ok);
            Tally copied;
            Count(target, copied);
            complete = complete && ok && copied.files == expected.files && copied.bytes == expected.bytes;
            times[engineTurn ? 0 : 1].push_back(seconds);
            RemoveFolderTree(target);
        }
    }
    double engine = Median(times[0]), plain = Median(times[1]);
    std::printf("%s: engine %.3f s, plain CopyFileW loop %.3f s, ratio %.2f (median of %d)%s\n", what, engine,
                plain, engine / plain, rounds, complete ? "" : "  (INCOMPLETE COPY)");
    std::fflush(stdout);
    return complete;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    unsigned long long bigMiB = 512;
    unsigned files = 10000, folders = 100;
    int rounds = 5;
    bool keepSource = false;
    for (int i = 1; i < argc; ++i) {
        std::wstring option = argv[i];
        if (option == L"--keep-source")
            keepSource = true;
        else if (i + 1 < argc && option == L"--big-mib")
            bigMiB = std::wcstoull(argv[++i], nullptr, 10);
        else if (i + 1 < argc && option == L"--files")
            files = static_cast<unsigned>(std::wcstoul(argv[++i], nullptr, 10));
        else if (i + 1 < argc && option == L"--rounds")
            rounds = std::max(1, _wtoi(argv[++i]));
        else if (i + 1 < argc && option == L"--folders")
            folders = static_cast<unsigned>(std::wcstoul(argv[++i], nullptr, 10));
        else {
            std::fprintf(stderr, "usage: copy_bench.exe [--big-mib N] [--files N] [--folders N] [--rounds N] "
                                 "[--keep-source]\n");
            return 2;
        }
    }
    if (!folders)
        folders = 1;

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring root = JoinPath(temp, L"copy-bench-" + std::to_wstring(GetCurrentProcessId()));
    std::wstring source = JoinPath(root, L"source");
    RemoveFolderTree(root);
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW(source.c_str(), nullptr);

    std::wstring bigFolder = JoinPath(source, L"big"), big = JoinPath(bigFolder, L"big.bin");
    std::wstring small = JoinPath(source, L"small");
    CreateDirectoryW(bigFolder.c_str(), nullptr);
    CreateDirectoryW(small.c_str(), nullptr);
    bool ready = WriteFilled(big, bigMiB << 20);
    for (unsigned folder = 0; ready && folder < folders; ++folder) {
        wchar_t name[32];
        std::swprintf(name, 32, L"dir%03u", folder);
        std::wstring path = JoinPath(small, name);
        CreateDirectoryW(path.c_str(), nullptr);
        unsigned count = files / folders + (folder < files % folders ? 1 : 0);
        for (unsigned file = 0; ready && file < count; ++file) {
            std::swprintf(name, 32, L"file%05u.bin", file);
            ready = WriteFilled(JoinPath(path, name), 4096);
        }
    }
    if (!ready) {
        std::fprintf(stderr, "could not make the source tree\n");
        RemoveFolderTree(root);
        return 1;
    }

    Tally bigTally{1, bigMiB << 20}, smallTally;
    Count(small, smallTally);
    char bigWhat[64], smallWhat[96];
    std::snprintf(bigWhat, sizeof bigWhat, "one file of %llu MiB", bigMiB);
    std::snprintf(smallWhat, sizeof smallWhat, "%llu files of 4 KiB in %u folders", smallTally.files,
                  folders);
    bool ok = Compare(bigWhat, root, big, bigTally, rounds);
    ok = Compare(smallWhat, root, small, smallTally, rounds) && ok;

    if (keepSource) {
        std::printf("unix source: %s\n", UnixPath(source).c_str());
    } else {
        RemoveFolderTree(root);
    }
    return ok ? 0 : 1;
}
