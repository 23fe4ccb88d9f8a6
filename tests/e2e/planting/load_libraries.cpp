// Stands in for a program of the suite that loads libraries by name after its start:
//   load_libraries /start name...   the programs' start-up guard, then each library loaded
//                                   by name as the system loads one on a program's behalf;
//   load_libraries /helper name...  each library through the system-library loader alone.
// The exit code counts the libraries that did not load. Only kernel32 is imported, so
// nothing but the names given is loaded after the start.
#include <windows.h>

#include <string>
#include <vector>

#include "win/system_libraries.h"

namespace {

std::vector<std::wstring> Words(const wchar_t* text) {
    std::vector<std::wstring> words;
    std::wstring word;
    bool quoted = false;
    for (; *text; ++text) {
        if (*text == L'"')
            quoted = !quoted;
        else if (*text == L' ' && !quoted) {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else
            word += *text;
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::vector<std::wstring> words = Words(GetCommandLineW());
    if (words.size() < 2)
        return -1;
    bool helper = words[1] == L"/helper";
    if (!helper)
        RestrictLibrarySearch();
    int missing = 0;
    for (size_t i = 2; i < words.size(); ++i) {
        HMODULE module = helper ? LoadSystemLibrary(words[i].c_str()) : LoadLibraryW(words[i].c_str());
        if (!module)
            ++missing;
    }
    return missing;
}
