#include "browse_dialog.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

#include "app.h"
#include "form.h"
#include "paths.h"
#include "timer.h"
#include "win/encoding.h"
#include "win/folders.h"

namespace {

class OwnerForm : public Form {
public:
    OwnerForm() {
        CreateForm({"TBrowseTestForm", "browse test", WS_OVERLAPPEDWINDOW, 200, 100});
        Application::SetMainWindow(handle());
    }
    ~OwnerForm() override { Application::SetMainWindow(nullptr); }
};

// Presses a button of the chooser once the message loop runs again.
void PressLater(HWND dialog, int button) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

TEST(BrowseRules, TrailingBackslashGoesExceptAtARoot) {
    EXPECT_EQ(InitialSelectionPath("C:\\WINDOWS\\"), "C:\\WINDOWS");
    EXPECT_EQ(InitialSelectionPath("C:\\"), "C:\\");
    EXPECT_EQ(InitialSelectionPath("C:\\ソ"), "C:\\ソ"); // a trail byte 0x5C is no backslash
    EXPECT_EQ(InitialSelectionPath(""), "");
    EXPECT_EQ(InitialSelectionPath(L"C:\\Zo\u00EB\\"), L"C:\\Zo\u00EB");
    EXPECT_EQ(InitialSelectionPath(L"D:\\"), L"D:\\");
}

TEST(BrowseDialog, OpensAtTheGivenFolderAndReturnsIt) {
    OwnerForm owner;
    TBrowseDialog dialog;
    Text windows = GetWindowsDir();
    dialog.Directory = Widen(windows + "\\");
    dialog.Caption = "基本ﾌｫﾙﾀﾞ [壁紙]";
    std::wstring initialPath;
    dialog.OnInitialized = [&](TBrowseDialog&, HWND wnd, const std::wstring& path, std::wstring& showText,
                               TOKButtonState&) {
        initialPath = path;
        showText = L"\u72B6\u614B";
        PressLater(wnd, IDOK);
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(initialPath, Widen(windows));
    EXPECT_TRUE(SameText(Narrow(dialog.Directory), windows)) << Narrow(dialog.Directory);
    EXPECT_FALSE(dialog.DisplayName.empty());
    EXPECT_TRUE(IsWindowEnabled(owner.handle())); // the owner works again afterwards
}

TEST(BrowseDialog, CancelKeepsTheDirectory) {
    OwnerForm owner;
    TBrowseDialog dialog;
    dialog.Directory = L"C:\\";
    dialog.OnInitialized = [](TBrowseDialog&, HWND wnd, const std::wstring&, std::wstring&, TOKButtonState&) {
        PressLater(wnd, IDCANCEL);
    };
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Directory, L"C:\\");
}

// What the dialog asked of the chooser: Wine's chooser enables OK again by itself after
// each selection callback, so the requests are watched rather than the button.
struct ChooserRequests {
    std::vector<LPARAM> enableOk;
    std::vector<std::wstring> statusTexts;

    static LRESULT CALLBACK Watch(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data) {
        auto* self = reinterpret_cast<ChooserRequests*>(data);
        if (message == BFFM_ENABLEOK)
            self->enableOk.push_back(lParam);
        if (message == BFFM_SETSTATUSTEXTW)
            self->statusTexts.push_back(reinterpret_cast<const wchar_t*>(lParam));
        return DefSubclassProc(wnd, message, wParam, lParam);
    }
};

TEST(BrowseDialog, HandlersSetTheStatusLineAndTheOkButton) {
    OwnerForm owner;
    TBrowseDialog dialog;
    dialog.Directory = Widen(GetWindowsDir());
    ChooserRequests requests;
    HWND chooser = nullptr;
    dialog.OnInitialized = [&](TBrowseDialog&, HWND wnd, const std::wstring&, std::wstring&,
                               TOKButtonState&) {
        chooser = wnd;
        SetWindowSubclass(wnd, ChooserRequests::Watch, 1, reinterpret_cast<DWORD_PTR>(&requests));
    };
    std::vector<Text> selections;
    dialog.OnSelectionChanged = [&](TBrowseDialog&, HWND, const std::wstring& path, std::wstring& showText,
                                    TOKButtonState& ok) {
        selections.push_back(Narrow(path));
        showText = L"\u9078\u629E\u4E2D";
        ok = okDisable;
    };
    Text system = GetSystemDir();
    Timer check(300);
    check.SetHandler([&] {
        check.SetEnabled(false);
        requests = ChooserRequests();
        SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(Widen(system).c_str()));
        RemoveWindowSubclass(chooser, ChooserRequests::Watch, 1);
        PressLater(chooser, IDCANCEL);
    });
    EXPECT_FALSE(dialog.Execute());
    ASSERT_FALSE(selections.empty());
    EXPECT_TRUE(SameText(selections.back(), system)) << selections.back();
    // Wine's chooser follows with a request of its own; ours is the disabling one.
    EXPECT_NE(std::find(requests.enableOk.begin(), requests.enableOk.end(), FALSE), requests.enableOk.end());
    ASSERT_FALSE(requests.statusTexts.empty());
    EXPECT_EQ(requests.statusTexts.back(), Widen("選択中"));
}

// A folder whose name code page 932 cannot hold, made for one test and removed after it.
class WideFolder {
public:
    explicit WideFolder(const std::wstring& name) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + name;
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~WideFolder() { RemoveDirectoryW(path_.c_str()); }
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

TEST(BrowseDialog, KeepsAFolderNameBeyondCodePage932AndIsTheModalWindowWhileOpen) {
    OwnerForm owner;
    WideFolder folder(L"Zo\u00EB \uAE40\uBBFC\uC900");
    ASSERT_NE(GetFileAttributesW(folder.path().c_str()), INVALID_FILE_ATTRIBUTES);
    TBrowseDialog dialog;
    dialog.Directory = folder.path() + L"\\";
    std::wstring initialPath;
    HWND modalWhileOpen = nullptr;
    dialog.OnInitialized = [&](TBrowseDialog&, HWND wnd, const std::wstring& path, std::wstring&,
                               TOKButtonState&) {
        initialPath = path;
        modalWhileOpen = Application::ActiveModalWindow();
        EXPECT_EQ(modalWhileOpen, wnd);
    };
    // OK once the chooser shows the folder selected (its tree fills in on its own time).
    dialog.OnSelectionChanged = [&](TBrowseDialog&, HWND wnd, const std::wstring& path, std::wstring&,
                                    TOKButtonState&) {
        if (path == folder.path())
            PressLater(wnd, IDOK);
    };
    Timer giveUp(10000);
    giveUp.SetHandler([&] {
        giveUp.SetEnabled(false);
        if (HWND open = Application::ActiveModalWindow())
            PressLater(open, IDCANCEL);
    });
    EXPECT_EQ(Application::ActiveModalWindow(), nullptr);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(initialPath, folder.path());
    EXPECT_EQ(dialog.Directory, folder.path());
    // Wine names the item by its whole path, Windows by the folder's name.
    std::wstring name = L"Zo\u00EB \uAE40\uBBFC\uC900"; // "Zoë 김민준"
    ASSERT_GE(dialog.DisplayName.size(), name.size());
    EXPECT_EQ(dialog.DisplayName.substr(dialog.DisplayName.size() - name.size()), name);
    EXPECT_NE(modalWhileOpen, nullptr);
    EXPECT_EQ(Application::ActiveModalWindow(), nullptr);
}

} // namespace
