#include "tool_params.h"

#include <windows.h>

#include <shellapi.h>

#include "win/files.h"
#include "win/folders.h"

std::vector<std::wstring> ToolParameters() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> parameters;
    if (!arguments)
        return parameters;
    for (int i = 1; i < count; ++i)
        parameters.emplace_back(arguments[i]);
    LocalFree(arguments);
    return parameters;
}

std::wstring TrimBlanks(const std::wstring& text) {
    size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    size_t last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

std::vector<std::wstring> AccumulateExistingPaths(const std::vector<std::wstring>& parameters) {
    std::vector<std::wstring> items;
    std::wstring accumulated;
    for (const std::wstring& parameter : parameters) {
        accumulated += L' ';
        accumulated += parameter;
        std::wstring candidate = TrimBlanks(accumulated);
        if (candidate.empty() || (!FileExists(candidate) && !DirectoryExists(candidate)))
            continue;
        items.push_back(GetLongPath(candidate));
        accumulated.clear();
    }
    return items;
}
