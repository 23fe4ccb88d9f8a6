#include "dialogs.h"

#include <commdlg.h>

#include "app.h"
#include "help_topics.h"
#include "win/encoding.h"
#include "win/system_libraries.h"

int ShowMessageBox(const Text& text, const Text& caption, UINT flags, HWND owner) {
    return ShowMessageBox(Widen(text), caption, flags, owner);
}

int ShowMessageBox(const std::wstring& text, const Text& caption, UINT flags, HWND owner) {
    const Text& shownCaption = caption.empty() ? Application::Title() : caption;
    Application::ModalScope modal;
    return MessageBoxW(owner ? owner : Application::MainWindow(), text.c_str(), Widen(shownCaption).c_str(),
                       flags);
}

bool OpenFileDialog::Execute(HWND owner) {
    // The platform wants "desc\0pattern\0...\0\0".
    std::wstring filters = Widen(filter);
    for (auto& c : filters) {
        if (c == L'|')
            c = L'\0';
    }
    filters.append(2, L'\0');
    std::wstring file = fileName;
    file.resize(std::max<size_t>(file.size() + 1, 32768), L'\0');
    std::wstring wideTitle = Widen(title);
    std::wstring wideExt = Widen(defaultExt);

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.empty() ? nullptr : filters.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(filterIndex);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = wideTitle.empty() ? nullptr : wideTitle.c_str();
    dialog.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    dialog.lpstrDefExt = wideExt.empty() ? nullptr : wideExt.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING;
    if (fileMustExist)
        dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    {
        Application::ModalScope modal;
        if (!GetOpenFileNameW(&dialog))
            return false;
    }
    fileName = file.c_str();
    filterIndex = static_cast<int>(dialog.nFilterIndex);
    return true;
}

namespace {

class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner) : open_(OpenClipboard(owner)) {}
    ~ClipboardScope() {
        if (open_)
            CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    bool open() const { return open_; }

private:
    bool open_;
};

} // namespace

bool SetClipboardText(const Text& text, HWND owner) {
    return SetClipboardText(Widen(text), owner);
}

bool SetClipboardText(const std::wstring& wide, HWND owner) {
    size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory)
        return false;
    if (void* locked = GlobalLock(memory)) {
        memcpy(locked, wide.c_str(), bytes);
        GlobalUnlock(memory);
    }
    ClipboardScope clipboard(owner);
    if (!clipboard.open() || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory)) {
        GlobalFree(memory);
        return false;
    }
    return true; // the clipboard owns the memory now
}

Text GetClipboardText(HWND owner) {
    ClipboardScope clipboard(owner);
    if (!clipboard.open())
        return Text();
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data)
        return Text();
    const auto* locked = static_cast<const wchar_t*>(GlobalLock(data));
    Text text = locked ? Narrow(locked) : Text();
    GlobalUnlock(data);
    return text;
}

namespace {

using HtmlHelpFunction = HWND WINAPI(HWND, LPCWSTR, UINT, DWORD_PTR);

// HTML Help commands (htmlhelp.h).
constexpr UINT HhDisplayTopic = 0x0000;
constexpr UINT HhDisplayToc = 0x0001;
constexpr UINT HhHelpContext = 0x000F;
constexpr UINT HhCloseAll = 0x0012;

struct HelpViewer {
    bool tried = false;
    HtmlHelpFunction* htmlHelp = nullptr;
};

HelpViewer& Viewer() {
    static HelpViewer viewer;
    return viewer;
}

HtmlHelpFunction* HtmlHelpEntry() {
    HelpViewer& viewer = Viewer();
    if (!viewer.tried) {
        viewer.tried = true;
        // Loaded when first asked for, from the system folder only, and kept for the program's life.
        viewer.htmlHelp = SystemFunction<HtmlHelpFunction>(L"hhctrl.ocx", "HtmlHelpW");
    }
    return viewer.htmlHelp;
}

} // namespace

bool ShowHelp(HWND owner, const std::wstring& helpFile, HelpCommand command, ULONG_PTR data) {
    HtmlHelpFunction* htmlHelp = HtmlHelpEntry();
    if (!htmlHelp || helpFile.empty())
        return false;
    const std::wstring target = helpFile + L">" + ManualWindowType;
    switch (command) {
    case HelpContents:
        return htmlHelp(owner, target.c_str(), HhDisplayToc, 0) != nullptr;
    case HelpOnHelp:
        return htmlHelp(owner, target.c_str(), HhDisplayTopic, reinterpret_cast<DWORD_PTR>(HelpHowToPage)) !=
               nullptr;
    case HelpContext:
        return htmlHelp(owner, target.c_str(), HhHelpContext, data) != nullptr;
    }
    return false;
}

void CloseHelp() {
    // Nothing was opened when the viewer was never loaded: no library is loaded to close it.
    if (HtmlHelpFunction* htmlHelp = Viewer().htmlHelp)
        htmlHelp(nullptr, nullptr, HhCloseAll, 0);
}
