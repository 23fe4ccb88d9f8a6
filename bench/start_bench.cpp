// Start-up time and idle memory of the tray program beside a minimal tray program
// (tray_baseline.exe) under the same Wine: the time from the process start until the
// window the shell talks to exists (the baseline: its window), best of three, and the
// private memory once started and idle, read as RssAnon from /proc/<pid>/status through
// Wine's Z: drive (the Unix process shows the started path as its command line).
//
// Usage: start_bench.exe [Lumera.exe tray_baseline.exe]; without arguments both are taken
// from the build (bin\Lumera.exe and the baseline beside the benchmark).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int Rounds = 5;
constexpr DWORD IdleMilliseconds = 2000;

double Seconds() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::wstring Beside(const std::wstring& relative) {
    wchar_t self[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self, length);
    folder.erase(folder.find_last_of(L'\\') + 1);
    wchar_t full[MAX_PATH];
    GetFullPathNameW((folder + relative).c_str(), MAX_PATH, full, nullptr);
    return full;
}

std::string ReadWholeFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        content.append(buffer, read);
    CloseHandle(file);
    return content;
}

// The Unix process whose command line starts with the program's Windows path.
std::wstring UnixProcessFolder(const std::wstring& program) {
    std::string wanted(program.size(), '\0');
    for (size_t i = 0; i < program.size(); ++i)
        wanted[i] = program[i] < 0x80 ? static_cast<char>(program[i]) : '?';
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    std::wstring found;
    do {
        std::wstring name = entry.cFileName;
        if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos)
            continue;
        std::wstring folder = L"Z:\\proc\\" + name + L"\\";
        std::string commandLine = ReadWholeFile(folder + L"cmdline");
        if (commandLine.size() >= wanted.size() &&
            _strnicmp(commandLine.c_str(), wanted.c_str(), wanted.size()) == 0 &&
            (commandLine.size() == wanted.size() || commandLine[wanted.size()] == '\0' ||
             commandLine[wanted.size()] == ' ')) {
            found = folder;
            break;
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return found;
}

// RssAnon in kB, or -1.
long RssAnonKb(const std::wstring& processFolder) {
    std::string status = ReadWholeFile(processFolder + L"status");
    size_t at = status.find("RssAnon:");
    return at == std::string::npos ? -1 : std::strtol(status.c_str() + at + 8, nullptr, 10);
}

struct Search {
    DWORD processId;
    const wchar_t* className;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || (search.visibleOnly && !IsWindowVisible(window)))
        return TRUE;
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (lstrcmpW(className, search.className) != 0)
        return TRUE;
    search.found = window;
    return FALSE;
}

HWND FindWindowOf(DWORD processId, const wchar_t* className, bool visibleOnly) {
    Search search = {processId, className, visibleOnly, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct Program {
    const char* label;
    std::wstring path;
    const wchar_t* startedClass; // the window the shell talks to
    bool startedVisible;
    const wchar_t* mainClass; // closed to end the program; the baseline shows it once the icon is in
    bool waitForReadyMark;    // the tray program marks the end of its deferred start-up instead
};

struct Round {
    double startSeconds = -1; // to the first window
    double readySeconds = -1; // to the end of the start-up, the icon in the tray
    long rssAnonKb = -1;
};

Round MeasureOnce(const Program& program) {
    Round round;
    std::wstring commandLine = L"\"" + program.path + L"\"";
    std::wstring folder = program.path.substr(0, program.path.find_last_of(L'\\'));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    double start = Seconds();
    if (!CreateProcessW(program.path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        return round;
    ULONGLONG deadline = GetTickCount64() + 20000;
    HWND main = nullptr;
    while (GetTickCount64() < deadline && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        if (FindWindowOf(process.dwProcessId, program.startedClass, program.startedVisible)) {
            round.startSeconds = Seconds() - start;
            break;
        }
        Sleep(1);
    }
    while (round.startSeconds >= 0 && GetTickCount64() < deadline) {
        main = FindWindowOf(process.dwProcessId, program.mainClass, !program.waitForReadyMark);
        if (main && (!program.waitForReadyMark || GetPropW(main, L"LumeraReady"))) {
            round.readySeconds = Seconds() - start;
            break;
        }
        main = nullptr;
        Sleep(1);
    }
    if (main) {
        Sleep(IdleMilliseconds);
        round.rssAnonKb = RssAnonKb(UnixProcessFolder(program.path));
        PostMessageW(main, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return round;
}

Round Measure(const Program& program) {
    Round best;
    for (int i = 0; i < Rounds; ++i) {
        Round round = MeasureOnce(program);
        if (round.startSeconds >= 0 && (best.startSeconds < 0 || round.startSeconds < best.startSeconds))
            best.startSeconds = round.startSeconds;
        if (round.readySeconds >= 0 && (best.readySeconds < 0 || round.readySeconds < best.readySeconds))
            best.readySeconds = round.readySeconds;
        if (round.rssAnonKb >= 0 && (best.rssAnonKb < 0 || round.rssAnonKb < best.rssAnonKb))
            best.rssAnonKb = round.rssAnonKb;
    }
    return best;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    Program lumera = {"Lumera.exe",       argc > 1 ? argv[1] : Beside(L"..\\bin\\Lumera.exe"),
                      L"TCallbackWindow", false,
                      L"TLumeraMainForm", true};
    Program baseline = {"baseline",           argc > 2 ? argv[2] : Beside(L"tray_baseline.exe"),
                        L"TBaselineCallback", false,
                        L"TBaselineWindow",   false};
    Round ours = Measure(lumera);
    Round theirs = Measure(baseline);
    if (ours.startSeconds < 0 || theirs.startSeconds < 0 || ours.rssAnonKb < 0 || theirs.rssAnonKb < 0) {
        std::printf("start_bench: could not measure (start %.3f / %.3f s, RssAnon %ld / %ld kB)\n",
                    ours.startSeconds, theirs.startSeconds, ours.rssAnonKb, theirs.rssAnonKb);
        return 1;
    }
    std::printf("start-up, process start to tray window (best of %d): Lumera.exe %.3f s, baseline %.3f s, "
                "ratio %.2f\n",
                Rounds, ours.startSeconds, theirs.startSeconds, ours.startSeconds / theirs.startSeconds);
    std::printf(
        "start-up, process start to the icon in the tray (best of %d): Lumera.exe %.3f s, baseline %.3f s, "
        "ratio %.2f\n",
        Rounds, ours.readySeconds, theirs.readySeconds, ours.readySeconds / theirs.readySeconds);
    std::printf(
        "idle private memory (RssAnon, least of %d): Lumera.exe %.1f MB, baseline %.1f MB, ratio %.2f\n",
        Rounds, ours.rssAnonKb / 1024.0, theirs.rssAnonKb / 1024.0,
        static_cast<double>(ours.rssAnonKb) / static_cast<double>(theirs.rssAnonKb));
    return 0;
}
