// Pop-up menus of another process, read by the hook DLL inside it. The robot creates the
// shared block, installs the hook into the thread that shows the menu, sends the trigger
// message to the menu's window and reads the answer.
#include <algorithm>
#include <cwchar>
#include <string>

#include "menu_protocol.h"
#include "robot.h"
#include "win/encoding.h"

namespace robot {

namespace {

BOOL CALLBACK CollectMenuWindow(HWND window, LPARAM param) {
    auto& found = *reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(param);
    if (ProcessOf(window) != found.first || !IsWindowVisible(window))
        return TRUE;
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (lstrcmpW(className, L"#32768") == 0)
        found.second.push_back(window);
    return TRUE;
}

std::vector<HWND> MenuWindows(DWORD processId) {
    std::pair<DWORD, std::vector<HWND>> found(processId, {});
    EnumWindows(CollectMenuWindow, reinterpret_cast<LPARAM>(&found));
    return found.second;
}

MenuEntry EntryOf(const menu_protocol::Item& item) {
    using namespace menu_protocol;
    MenuEntry entry;
    wchar_t text[MaxText];
    std::copy(item.text, item.text + MaxText, text);
    text[MaxText - 1] = 0;
    entry.text = Narrow(text);
    size_t tab = entry.text.find('\t'); // a tab is never a trail byte in CP932
    entry.caption = entry.text.substr(0, tab);
    if (tab != Text::npos)
        entry.shortcut = entry.text.substr(tab + 1);
    entry.separator = (item.flags & Separator) != 0;
    entry.checked = (item.flags & Checked) != 0;
    entry.enabled = (item.flags & Grayed) == 0;
    entry.hasSubmenu = (item.flags & HasSubmenu) != 0;
    entry.highlighted = (item.flags & Highlighted) != 0;
    entry.rect = item.rect;
    return entry;
}

BOOL CALLBACK FindStableWindow(HWND window, LPARAM param) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (lstrcmpW(className, L"#32768") == 0)
        return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

HWND StableWindowOf(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(thread, FindStableWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

Text DllPath() {
    return ProgramFolder() + "robot_menu_hook.dll";
}

} // namespace

const MenuEntry* PopupMenu::Find(const Text& caption) const {
    for (const MenuEntry& item : items) {
        if (!item.separator && (item.caption == caption || item.text == caption))
            return &item;
    }
    return nullptr;
}

std::vector<Text> PopupMenu::Captions() const {
    std::vector<Text> captions;
    for (const MenuEntry& item : items) {
        if (!item.separator)
            captions.push_back(item.caption);
    }
    return captions;
}

int OpenMenuCount(DWORD processId) {
    return static_cast<int>(MenuWindows(processId).size());
}

MenuReader::MenuReader(DWORD processId) : processId_(processId) {
    dll_ = LoadLibraryW(Widen(DllPath()).c_str());
    if (dll_)
        hookProc_ = reinterpret_cast<HOOKPROC>(
            reinterpret_cast<void*>(GetProcAddress(dll_, menu_protocol::HookProcName)));
    std::wstring name = menu_protocol::BlockNamePrefix + std::to_wstring(processId);
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                  sizeof(menu_protocol::Block), name.c_str());
    if (mapping_)
        block_ = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(menu_protocol::Block));
}

MenuReader::~MenuReader() {
    for (auto& [thread, hook] : hooks_)
        UnhookWindowsHookEx(hook);
    if (block_)
        UnmapViewOfFile(block_);
    if (mapping_)
        CloseHandle(mapping_);
    if (dll_)
        FreeLibrary(dll_);
}

bool MenuReader::HookThread(DWORD threadId) {
    if (hooks_.count(threadId))
        return true;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, hookProc_, dll_, threadId);
    if (!hook)
        return false;
    hooks_[threadId] = hook;
    return true;
}

bool MenuReader::Ask(HWND menuWindow, int command) {
    DWORD thread = GetWindowThreadProcessId(menuWindow, nullptr);
    if (!ready() || !HookThread(thread))
        return false;
    auto& block = *static_cast<menu_protocol::Block*>(block_);
    block.command = command;
    block.menuCount = 0;
    MemoryBarrier();
    block.request = ++request_;
    // Any window of the thread will do; one that is not a menu does not vanish while a
    // submenu closes.
    HWND target = StableWindowOf(thread);
    static const UINT trigger = RegisterWindowMessageW(menu_protocol::TriggerMessageName);
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(target ? target : menuWindow, trigger, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored))
        return false;
    // The hook has answered before the window saw the message.
    return block.answered == request_;
}

std::vector<PopupMenu> MenuReader::ReadAll() {
    std::vector<PopupMenu> menus;
    std::vector<HWND> windows = MenuWindows(processId_);
    if (windows.empty() || !Ask(windows.front(), menu_protocol::ReadMenus))
        return menus;
    const auto& block = *static_cast<const menu_protocol::Block*>(block_);
    for (int m = 0; m < block.menuCount && m < menu_protocol::MaxMenus; ++m) {
        const menu_protocol::OpenMenu& open = block.menus[m];
        PopupMenu menu;
        menu.window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(open.window));
        menu.level = open.level;
        menu.rect = open.windowRect;
        for (int i = 0; i < open.itemCount && i < menu_protocol::MaxItems; ++i)
            menu.items.push_back(EntryOf(open.items[i]));
        menus.push_back(std::move(menu));
    }
    return menus;
}

std::optional<PopupMenu> MenuReader::ReadInnermost() {
    std::vector<PopupMenu> menus = ReadAll();
    if (menus.empty())
        return std::nullopt;
    return menus.back();
}

std::vector<PopupMenu> MenuReader::WaitForMenus(int count, DWORD timeout) {
    std::vector<PopupMenu> menus;
    WaitUntil(
        [&] {
            if (OpenMenuCount(processId_) < count)
                return false;
            menus = ReadAll();
            // A menu is measured when it opens; wait until its items have their places.
            return static_cast<int>(menus.size()) >= count && !menus.back().items.empty() &&
                   !IsRectEmpty(&menus.back().items.front().rect);
        },
        timeout);
    return menus;
}

bool MenuReader::Choose(const Text& caption) {
    std::vector<PopupMenu> menus = ReadAll();
    for (auto menu = menus.rbegin(); menu != menus.rend(); ++menu) {
        const MenuEntry* item = menu->Find(caption);
        if (!item)
            continue;
        if (!item->enabled || IsRectEmpty(&item->rect))
            return false;
        return ClickAt({(item->rect.left + item->rect.right) / 2, (item->rect.top + item->rect.bottom) / 2});
    }
    return false;
}

std::vector<TextFit> MenuReader::MeasureTexts(HWND topWindow) {
    std::vector<TextFit> texts;
    if (!ready())
        return texts;
    auto& block = *static_cast<menu_protocol::Block*>(block_);
    block.target = reinterpret_cast<std::uint64_t>(topWindow);
    block.textCount = 0;
    if (!Ask(topWindow, menu_protocol::MeasureTexts))
        return texts;
    for (int i = 0; i < block.textCount && i < menu_protocol::MaxTexts; ++i) {
        const menu_protocol::MeasuredText& measured = block.texts[i];
        TextFit fit;
        fit.window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(measured.window));
        wchar_t text[menu_protocol::MaxText];
        std::copy(measured.text, measured.text + menu_protocol::MaxText, text);
        text[menu_protocol::MaxText - 1] = 0;
        fit.text = Narrow(text);
        fit.className = Narrow(std::wstring(measured.className, wcsnlen(measured.className, 32)));
        fit.name = NameOf(fit.window);
        fit.rect = measured.rect;
        fit.need = {measured.needWidth, measured.needHeight};
        fit.have = {measured.haveWidth, measured.haveHeight};
        texts.push_back(std::move(fit));
    }
    return texts;
}

int MenuReader::OpenCount() const {
    return OpenMenuCount(processId_);
}

bool MenuReader::CloseAll(DWORD timeout) {
    std::vector<HWND> windows = MenuWindows(processId_);
    if (windows.empty())
        return true;
    HWND owner = GetForegroundWindow();
    if (owner && ProcessOf(owner) == processId_) {
        for (size_t i = 0; i < windows.size(); ++i)
            PressKey(owner, VK_ESCAPE);
        if (WaitUntil([&] { return OpenMenuCount(processId_) == 0; }, timeout / 2))
            return true;
    }
    windows = MenuWindows(processId_);
    if (!windows.empty())
        Ask(windows.front(), menu_protocol::EndMenus);
    return WaitUntil([&] { return OpenMenuCount(processId_) == 0; }, timeout / 2);
}

} // namespace robot
