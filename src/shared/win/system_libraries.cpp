#include "system_libraries.h"

#include <string>

#include "../paths.h"
#include "ask_platform.h"

void RestrictLibrarySearch() {
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Also drops the current folder where the call above is missing.
    SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
    std::wstring name = fileName ? fileName : L"";
    if (name.empty() || name.find_first_of(L"\\/:") != std::wstring::npos)
        return nullptr;
    std::wstring folder = AskPlatform([](wchar_t* b, DWORD n) { return GetSystemDirectoryW(b, n); });
    if (folder.empty())
        return nullptr;
    return LoadLibraryExW(JoinPath(folder, name).c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}
