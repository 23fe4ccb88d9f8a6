#include "platform_rules.h"

#include "paths.h"

// An unknown (empty) user name never cuts the word out of the path.
Text ReplaceAdministrator(const Text& value, const Text& userName) {
    static const Text administrator = "Administrator";
    size_t p = Pos(administrator, value);
    if (userName.empty() || userName == administrator || p == 0)
        return value;
    return value.substr(0, p - 1) + userName + value.substr(p - 1 + administrator.size());
}

namespace {

// The Japanese edition's folder names, in CP932 and in UTF-16 (half-width katakana).
struct FallbackFolder {
    const char* name;
    const char* folder;
    const wchar_t* wideFolder;
};

const FallbackFolder* FindFallback(const Text& folderName) {
    static const FallbackFolder fallbacks[] = {
        {"Start Menu", "ｽﾀｰﾄ ﾒﾆｭｰ", L"\uFF7D\uFF80\uFF70\uFF84 \uFF92\uFF86\uFF6D\uFF70"},
        {"Programs", "ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ",
         L"\uFF7D\uFF80\uFF70\uFF84 \uFF92\uFF86\uFF6D\uFF70\\\uFF8C\uFF9F\uFF9B\uFF78\uFF9E\uFF97\uFF91"},
        {"Startup", "ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ\\ｽﾀｰﾄｱｯﾌﾟ",
         L"\uFF7D\uFF80\uFF70\uFF84 \uFF92\uFF86\uFF6D\uFF70\\\uFF8C\uFF9F\uFF9B\uFF78\uFF9E\uFF97\uFF91\\"
         L"\uFF7D\uFF80\uFF70\uFF84\uFF71\uFF6F\uFF8C\uFF9F"},
        {"Desktop", "ﾃﾞｽｸﾄｯﾌﾟ", L"\uFF83\uFF9E\uFF7D\uFF78\uFF84\uFF6F\uFF8C\uFF9F"},
        {"SendTo", "SendTo", L"SendTo"},
        {"Recent", "Recent", L"Recent"},
    };
    for (const auto& fallback : fallbacks) {
        if (folderName == fallback.name)
            return &fallback;
    }
    return nullptr;
}

} // namespace

Text ShellFolderFallback(PlatformFamily family, const Text& windowsDir, const Text& userName,
                         const Text& folderName) {
    const FallbackFolder* fallback = FindFallback(folderName);
    if (!fallback)
        return Text();
    Text base = family == PlatformNT ? JoinPath(windowsDir, "Profiles\\" + userName + "\\")
                                     : AddBackslash(windowsDir);
    return base + fallback->folder;
}

std::wstring ShellFolderFallback(PlatformFamily family, const std::wstring& windowsDir,
                                 const std::wstring& userName, const Text& folderName) {
    const FallbackFolder* fallback = FindFallback(folderName);
    if (!fallback)
        return std::wstring();
    std::wstring base = family == PlatformNT ? JoinPath(windowsDir, L"Profiles\\" + userName + L"\\")
                                             : AddBackslash(windowsDir);
    return base + fallback->wideFolder;
}

std::wstring ReplaceAdministrator(const std::wstring& value, const std::wstring& userName) {
    static const std::wstring administrator = L"Administrator";
    size_t p = value.find(administrator);
    if (userName.empty() || userName == administrator || p == std::wstring::npos)
        return value;
    return value.substr(0, p) + userName + value.substr(p + administrator.size());
}

std::wstring SystemDirFromAnswer(PlatformFamily family, const std::wstring& answer) {
    std::wstring dir = RemoveBackslash(answer);
    if (family == PlatformNT && !dir.empty() &&
        (dir.size() < 2 || dir.compare(dir.size() - 2, 2, L"32") != 0))
        dir += L"32";
    return dir;
}

Text SystemDirFromAnswer(PlatformFamily family, const Text& answer) {
    Text dir = RemoveBackslash(answer);
    if (family == PlatformNT && !dir.empty() && RightBytes(dir, 2) != "32")
        dir += "32";
    return dir;
}
