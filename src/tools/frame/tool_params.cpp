#include "tool_params.h"

#include <windows.h>

#include <shellapi.h>

#include "win/files.h"
#include "win/folders.h"
#include "win/path_identity.h"

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

namespace {

bool Names(const std::wstring& candidate) {
    return !candidate.empty() && (FileExists(candidate) || DirectoryExists(candidate));
}

} // namespace

std::vector<std::wstring> AccumulateExistingPaths(const std::vector<std::wstring>& parameters) {
    std::vector<std::wstring> items;
    size_t first = 0;
    while (first < parameters.size()) {
        // The shortest run of parameters from here that names something is one item.
        std::wstring accumulated;
        size_t last = first;
        for (; last < parameters.size(); ++last) {
            accumulated += L' ';
            accumulated += parameters[last];
            std::wstring candidate = TrimBlanks(accumulated);
            if (Names(candidate)) {
                // Absolute: the shell ignores "undo" for relative paths, and the item must not
                // depend on the folder the process happens to be in.
                items.push_back(GetLongPath(FullPath(candidate)));
                break;
            }
        }
        // A parameter that names nothing, even joined with those after it, is passed over on
        // its own, and the joining starts again at the next one.
        first = last < parameters.size() ? last + 1 : first + 1;
    }
    return items;
}
