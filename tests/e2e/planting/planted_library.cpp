// Stands in for a library planted beside a program: when a process loads it, under
// whatever name it was copied to, it leaves "<its own path>.loaded" beside itself.
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t self[MAX_PATH];
    DWORD length = GetModuleFileNameW(module, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return TRUE;
    HANDLE mark = CreateFileW((std::wstring(self) + L".loaded").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (mark != INVALID_HANDLE_VALUE)
        CloseHandle(mark);
    return TRUE;
}
