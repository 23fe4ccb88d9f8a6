// The robot's hook DLL. Installed into a program's UI thread, it runs inside that process
// and can therefore read the thread's open pop-up menus, and measure its controls' texts
// with their own fonts, which another process cannot.
// The robot sends the registered trigger message to a window of the thread; the hook
// answers in the shared block named after the process id.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "menu_protocol.h"
#include "text_room.h"

namespace {

using namespace menu_protocol;

constexpr UINT GetMenuHandleMessage = 0x01E1; // MN_GETHMENU

struct Found {
    HWND window;
    HMENU menu;
};

BOOL CALLBACK CollectMenuWindow(HWND window, LPARAM param) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (lstrcmpW(className, L"#32768") != 0 || !IsWindowVisible(window))
        return TRUE;
    auto menu = reinterpret_cast<HMENU>(SendMessageW(window, GetMenuHandleMessage, 0, 0));
    if (menu)
        reinterpret_cast<std::vector<Found>*>(param)->push_back({window, menu});
    return TRUE;
}

// A submenu's level is one more than that of the open menu holding it as a submenu.
int LevelOf(const Found& found, const std::vector<Found>& all, int depth = 0) {
    if (depth > MaxMenus)
        return depth;
    for (const Found& other : all) {
        int count = GetMenuItemCount(other.menu);
        for (int i = 0; i < count; ++i) {
            if (GetSubMenu(other.menu, i) == found.menu)
                return 1 + LevelOf(other, all, depth + 1);
        }
    }
    return 0;
}

void ReadItem(HWND window, HMENU menu, int index, Item& item) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = item.text;
    info.cch = MaxText - 1;
    item.text[0] = 0;
    item.flags = 0;
    if (GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &info)) {
        item.text[MaxText - 1] = 0;
        if (info.fType & MFT_SEPARATOR)
            item.flags |= Separator;
        if (info.fState & MFS_CHECKED)
            item.flags |= Checked;
        if (info.fState & MFS_GRAYED)
            item.flags |= Grayed;
        if (info.fState & MFS_HILITE)
            item.flags |= Highlighted;
        if (info.hSubMenu)
            item.flags |= HasSubmenu;
    }
    if (!GetMenuItemRect(window, menu, static_cast<UINT>(index), &item.rect))
        SetRectEmpty(&item.rect);
}

void ReadMenusInto(Block& block) {
    std::vector<Found> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectMenuWindow, reinterpret_cast<LPARAM>(&found));
    std::vector<std::pair<int, Found>> ordered;
    for (const Found& menu : found)
        ordered.emplace_back(LevelOf(menu, found), menu);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    int count = std::min<int>(static_cast<int>(ordered.size()), MaxMenus);
    for (int m = 0; m < count; ++m) {
        OpenMenu& out = block.menus[m];
        const Found& menu = ordered[m].second;
        out.window = reinterpret_cast<std::uint64_t>(menu.window);
        out.level = ordered[m].first;
        GetWindowRect(menu.window, &out.windowRect);
        out.itemCount = std::min(std::max(GetMenuItemCount(menu.menu), 0), MaxItems);
        for (int i = 0; i < out.itemCount; ++i)
            ReadItem(menu.window, menu.menu, i, out.items[i]);
    }
    block.menuCount = count;
}

BOOL CALLBACK MeasureControl(HWND control, LPARAM param) {
    Block& block = *reinterpret_cast<Block*>(param);
    if (block.textCount >= MaxTexts || !(GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE))
        return TRUE;
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(
        std::max(GetWindowTextW(control, text.data(), static_cast<int>(text.size())), 0)));
    RECT client;
    GetClientRect(control, &client);
    SIZE need = {};
    if (!MeasureTextRoom(control, need))
        return TRUE;
    MeasuredText& out = block.texts[block.textCount++];
    out.window = reinterpret_cast<std::uint64_t>(control);
    lstrcpynW(out.className, className, 32);
    lstrcpynW(out.text, text.c_str(), MaxText);
    GetWindowRect(control, &out.rect);
    out.needWidth = need.cx;
    out.needHeight = need.cy;
    out.haveWidth = client.right;
    out.haveHeight = client.bottom;
    return TRUE;
}

void MeasureTextsInto(Block& block) {
    block.textCount = 0;
    auto target = reinterpret_cast<HWND>(static_cast<UINT_PTR>(block.target));
    if (IsWindow(target))
        EnumChildWindows(target, MeasureControl, reinterpret_cast<LPARAM>(&block));
}

void Answer() {
    std::wstring name = BlockNamePrefix + std::to_wstring(GetCurrentProcessId());
    HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
    if (!mapping)
        return;
    if (auto* block = static_cast<Block*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Block)))) {
        std::int32_t request = block->request;
        if (block->answered != request) {
            block->menuCount = 0;
            if (block->command == ReadMenus)
                ReadMenusInto(*block);
            else if (block->command == EndMenus)
                EndMenu();
            else if (block->command == MeasureTexts)
                MeasureTextsInto(*block);
            MemoryBarrier();
            block->answered = request;
        }
        UnmapViewOfFile(block);
    }
    CloseHandle(mapping);
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK LumeraMenuHookProc(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT trigger = RegisterWindowMessageW(TriggerMessageName);
    if (code == HC_ACTION && lParam) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == trigger && trigger != 0)
            Answer();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
