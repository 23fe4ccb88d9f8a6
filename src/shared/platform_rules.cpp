#include "platform_rules.h"

#include "paths.h"

Text ReplaceAdministrator(const Text& value, const Text& userName) {
    static const Text administrator = "Administrator";
    size_t p = Pos(administrator, value);
    if (userName == administrator || p == 0)
        return value;
    return value.substr(0, p - 1) + userName + value.substr(p - 1 + administrator.size());
}

Text ShellFolderFallback(PlatformFamily family, const Text& windowsDir, const Text& userName,
                         const Text& folderName) {
    Text base = family == PlatformNT ? JoinPath(windowsDir, "Profiles\\" + userName + "\\")
                                     : AddBackslash(windowsDir);
    static const struct {
        const char* name;
        const char* folder;
    } fallbacks[] = {
        {"Start Menu", "ｽﾀｰﾄ ﾒﾆｭｰ"},
        {"Programs", "ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ"},
        {"Startup", "ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ\\ｽﾀｰﾄｱｯﾌﾟ"},
        {"Desktop", "ﾃﾞｽｸﾄｯﾌﾟ"},
        {"SendTo", "SendTo"},
        {"Recent", "Recent"},
    };
    for (const auto& fallback : fallbacks) {
        if (folderName == fallback.name)
            return base + fallback.folder;
    }
    return Text();
}

Text SystemDirFromAnswer(PlatformFamily family, const Text& answer) {
    Text dir = RemoveBackslash(answer);
    if (family == PlatformNT && !dir.empty() && RightBytes(dir, 2) != "32")
        dir += "32";
    return dir;
}
