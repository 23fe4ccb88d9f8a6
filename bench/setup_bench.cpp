// The install engine copying 1,000 files of 64 KiB into 10 folders beside a plain loop of
// CreateDirectoryW and CopyFileW making the same folders and files, under the same Wine.
// Each round starts from an empty destination; the rounds alternate which goes first, and the
// median of each counts (the best of a few swings with the load of a shared machine).
//
// Usage: setup_bench.exe [--rounds N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "install_engine.h"
#include "median.h"
#include "paths.h"
#include "win/encoding.h"
#include "win/files.h"

namespace {

constexpr unsigned Folders = 10;
constexpr unsigned Files = 1000;
constexpr DWORD FileSize = 64 * 1024;

double Seconds() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool WriteWhole(const std::wstring& path, const void* bytes, DWORD size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes, size, &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

std::wstring FileName(unsigned file) {
    wchar_t name[32];
    std::swprintf(name, 32, L"file%04u.bin", file);
    return name;
}

std::wstring FolderName(unsigned folder) {
    wchar_t name[32];
    std::swprintf(name, 32, L"dir%02u", folder);
    return name;
}

// The setup folder: the files side by side (the engine takes each by its name) and the data file.
bool MakeSetupFolder(const std::wstring& setup) {
    CreateDirectoryW(setup.c_str(), nullptr);
    std::vector<char> bytes(FileSize);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 31 + 7);
    Text data = "[Infomation]\r\nAppName=Lumera Setup Bench\r\n[Install]\r\n";
    for (unsigned folder = 1; folder <= Folders; ++folder)
        data += "Dir" + std::to_string(folder) + "=<Setup>\\" + Narrow(FolderName(folder)) + "\r\n";
    for (unsigned file = 1; file <= Files; ++file) {
        if (!WriteWhole(JoinPath(setup, FileName(file)), bytes.data(), FileSize))
            return false;
        data += "File" + std::to_string(file) + "=<Setup>\\" + Narrow(FolderName((file - 1) % Folders + 1)) +
                "\\" + Narrow(FileName(file)) + "\r\n";
    }
    data += "[UnInstall]\r\nVisible=0\r\n";
    return WriteWhole(JoinPath(setup, L"Setup.dat"), data.data(), static_cast<DWORD>(data.size()));
}

class CountingProgress : public InstallProgress {
public:
    void SetBar(InstallBar, int, int) override {}
    bool AskContinue(const std::wstring& text) override {
        std::fprintf(stderr, "unexpected question: %s\n", Narrow(text).c_str());
        return false;
    }
};

bool PlainInstall(const std::wstring& setup, const std::wstring& target) {
    if (!CreateDirectoryW(target.c_str(), nullptr))
        return false;
    for (unsigned folder = 1; folder <= Folders; ++folder)
        if (!CreateDirectoryW(JoinPath(target, FolderName(folder)).c_str(), nullptr))
            return false;
    for (unsigned file = 1; file <= Files; ++file) {
        const std::wstring destination =
            JoinPath(JoinPath(target, FolderName((file - 1) % Folders + 1)), FileName(file));
        if (!CopyFileW(JoinPath(setup, FileName(file)).c_str(), destination.c_str(), FALSE))
            return false;
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int rounds = 5;
    for (int i = 1; i < argc; ++i) {
        if (!std::wcscmp(argv[i], L"--rounds") && i + 1 < argc) {
            rounds = std::max(1, _wtoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: setup_bench.exe [--rounds N]\n");
            return 2;
        }
    }
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = JoinPath(std::wstring(temp), L"setup_bench");
    const std::wstring setup = JoinPath(root, L"disc"), target = JoinPath(root, L"target");
    RemoveFolderTree(root);
    CreateDirectoryW(root.c_str(), nullptr);
    if (!MakeSetupFolder(setup)) {
        std::fprintf(stderr, "could not make the setup folder\n");
        return 1;
    }

    const SetupData data(setup);
    InstallChoices choices;
    choices.paths.installFolder = target;
    const InstallFolders folders{JoinPath(root, L"windows"), JoinPath(root, L"desktop"),
                                 JoinPath(root, L"sendto"), JoinPath(root, L"system")};
    std::vector<double> times[2];
    bool ok = true;
    auto timed = [&](int which) {
        RemoveFolderTree(target);
        CountingProgress progress;
        const double start = Seconds();
        const bool done = which == 0
                              ? RunInstallation(data, choices, folders, progress) == InstallResult::Completed
                              : PlainInstall(setup, target);
        times[which].push_back(Seconds() - start);
        ok = ok && done;
    };
    for (int round = 0; round < rounds && ok; ++round) {
        timed(round % 2);
        timed(1 - round % 2);
    }
    RemoveFolderTree(root);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Morivane\\BrisaSetup\\Lumera Setup Bench");
    if (!ok) {
        std::fprintf(stderr, "an installation failed\n");
        return 1;
    }
    const double engine = Median(times[0]), plain = Median(times[1]);
    std::printf(
        "install %u files of 64 KiB in %u folders: engine %.3f s, plain CopyFileW loop %.3f s, ratio %.2f "
        "(median of %d)\n",
        Files, Folders, engine, plain, engine / plain, rounds);
    return 0;
}
