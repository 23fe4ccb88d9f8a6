#include "pinnet_core.h"

#include "paths.h"
#include "win/encoding.h"
#include "win/shortcut.h"

std::wstring ShortcutFileName(const std::wstring& item) {
    return ExtractFileName(WithoutTrailingBackslash(item)) + Widen("へのｼｮｰﾄｶｯﾄ.lnk");
}

bool MakeShortcutIn(const std::wstring& folder, const std::wstring& item) {
    if (folder.empty())
        return false;
    std::wstring target = WithoutTrailingBackslash(item);
    return CreateShortcut(JoinPath(folder, ShortcutFileName(target)), target, ExtractFileDir(target), L"", 0,
                          0);
}

size_t MakeShortcuts(const std::wstring& folder, const std::vector<std::wstring>& items,
                     const std::function<void(const std::wstring& item)>& onFailure) {
    for (const std::wstring& item : items) {
        bool made = false;
        try {
            made = MakeShortcutIn(folder, item);
        } catch (...) {
            // A failure on the way counts as a shortcut not made; the pass goes on.
        }
        if (!made)
            onFailure(item);
    }
    return items.size();
}

std::wstring ShortcutFailureText(const std::wstring& item) {
    return item + L"\n" + Widen("ｼｮｰﾄｶｯﾄの作成に失敗しました。");
}
