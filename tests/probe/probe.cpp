// Appends one line per start to "<its own path>.log": the command line and the working
// folder, as UTF-16 text, so tests can check exactly how the suite started a program.
// "<its own path>.show.log" gets the show command it was asked for, one line per start
// ("-" when none was given).
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t self[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    std::wstring logPath = std::wstring(self) + L".log";
    wchar_t directory[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, directory);
    std::wstring line = std::wstring(GetCommandLineW()) + L"|" + directory + L"\n";

    HANDLE log = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(log);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    std::string show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? std::to_string(startup.wShowWindow) : "-";
    show += "\n";
    HANDLE showLog =
        CreateFileW((std::wstring(self) + L".show.log").c_str(), FILE_APPEND_DATA,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (showLog == INVALID_HANDLE_VALUE)
        return 1;
    WriteFile(showLog, show.data(), static_cast<DWORD>(show.size()), &written, nullptr);
    CloseHandle(showLog);
    return 0;
}
