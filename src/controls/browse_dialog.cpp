#include "browse_dialog.h"

#include <shlobj.h>

#include <vector>

#include "app.h"
#include "dialogs.h"
#include "paths.h"
#include "win/encoding.h"
#include "win/handles.h"

namespace {

// An item list from the shell's allocator.
struct ItemList {
    PIDLIST_ABSOLUTE items = nullptr;
    ItemList() = default;
    ~ItemList() { CoTaskMemFree(items); }
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;
};

std::wstring PathOfItems(PCIDLIST_ABSOLUTE items) {
    wchar_t path[MAX_PATH * 2] = L"";
    return items && SHGetPathFromIDListW(items, path) ? std::wstring(path) : std::wstring();
}

// Makes the dialog modal for the whole thread, as the forms' own modal windows are, and
// puts the activation back afterwards.
class ThreadWindowsDisabled {
public:
    explicit ThreadWindowsDisabled(HWND keepEnabled) : active_(GetActiveWindow()) {
        EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(this));
        keep_ = keepEnabled;
        if (keep_)
            EnableWindow(keep_, TRUE);
    }
    ~ThreadWindowsDisabled() {
        for (HWND window : disabled_)
            EnableWindow(window, TRUE);
        if (active_ && IsWindow(active_))
            SetActiveWindow(active_);
    }
    ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
    ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK DisableOne(HWND window, LPARAM self) noexcept {
        if (IsWindowVisible(window) && IsWindowEnabled(window)) {
            try {
                reinterpret_cast<ThreadWindowsDisabled*>(self)->disabled_.push_back(window);
            } catch (...) {
                return FALSE; // out of memory: leave the rest enabled rather than lose track
            }
            EnableWindow(window, FALSE);
        }
        return TRUE;
    }

    HWND active_;
    HWND keep_ = nullptr;
    std::vector<HWND> disabled_;
};

} // namespace

Text InitialSelectionPath(const Text& directory) {
    if (directory.size() > 3 && EndsWithChar(directory, '\\'))
        return directory.substr(0, directory.size() - 1);
    return directory;
}

std::wstring InitialSelectionPath(const std::wstring& directory) {
    if (directory.size() > 3 && directory.back() == L'\\')
        return directory.substr(0, directory.size() - 1);
    return directory;
}

bool TBrowseDialog::Execute() {
    ComInit com;
    ItemList root;
    if (!Root.empty()) {
        ComPtr<IShellFolder> desktop;
        if (FAILED(SHGetDesktopFolder(reinterpret_cast<IShellFolder**>(desktop.receive())))) {
            ShowMessageBox("TBrowseDialog: SHGetDesktopFolder Failed.", "", MB_ICONSTOP);
            return false;
        }
        std::wstring rootPath = Root;
        PIDLIST_RELATIVE parsed = nullptr;
        // An unparsable root leaves the desktop as the top.
        if (SUCCEEDED(desktop->ParseDisplayName(Application::MainWindow(), nullptr, rootPath.data(), nullptr,
                                                &parsed, nullptr)))
            root.items = reinterpret_cast<PIDLIST_ABSOLUTE>(parsed);
    }

    wchar_t displayName[MAX_PATH] = L"";
    std::wstring title = Widen(Caption);
    BROWSEINFOW info = {};
    info.hwndOwner = Application::MainWindow();
    info.pidlRoot = root.items;
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = Options;
    info.lpfn = Callback;
    info.lParam = reinterpret_cast<LPARAM>(this);

    ItemList chosen;
    {
        ThreadWindowsDisabled modal(nullptr);
        Application::ModalScope open;
        chosen.items = SHBrowseForFolderW(&info);
    }
    if (!chosen.items)
        return false;
    DisplayName = displayName;
    Directory = PathOfItems(chosen.items);
    return true;
}

int CALLBACK TBrowseDialog::Callback(HWND wnd, UINT message, LPARAM parameter, LPARAM data) noexcept {
    auto* self = reinterpret_cast<TBrowseDialog*>(data);
    if (!self)
        return 0;
    try {
        std::wstring showText;
        TOKButtonState okState = okLeaveAsIs;
        if (message == BFFM_INITIALIZED) {
            std::wstring path = InitialSelectionPath(self->Directory);
            if (!path.empty())
                SendMessageW(wnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
            if (self->OnInitialized)
                self->OnInitialized(*self, wnd, path, showText, okState);
        } else if (message == BFFM_SELCHANGED) {
            std::wstring path = PathOfItems(reinterpret_cast<PCIDLIST_ABSOLUTE>(parameter));
            if (self->OnSelectionChanged)
                self->OnSelectionChanged(*self, wnd, path, showText, okState);
        }
        // The status line is cleared unless a handler set it.
        SendMessageW(wnd, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(showText.c_str()));
        if (okState == okEnable)
            SendMessageW(wnd, BFFM_ENABLEOK, 0, TRUE);
        else if (okState == okDisable)
            SendMessageW(wnd, BFFM_ENABLEOK, 0, FALSE);
    } catch (...) {
        Application::HandlerFailed("the folder chooser's callback");
    }
    return 0;
}
