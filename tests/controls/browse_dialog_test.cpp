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
        CreateForm("TBrowseTestForm", "browse test", WS_OVERLAPPEDWINDOW, 200, 100);
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
}

TEST(BrowseDialog, OpensAtTheGivenFolderAndReturnsIt) {
    OwnerForm owner;
    TBrowseDialog dialog;
    Text windows = GetWindowsDir();
    dialog.Directory = windows + "\\";
    dialog.Caption = "基本ﾌｫﾙﾀﾞ [壁紙]";
    Text initialPath;
    dialog.OnInitialized = [&](TBrowseDialog&, HWND wnd, const Text& path, Text& showText, TOKButtonState&) {
        initialPath = path;
        showText = "状態";
        PressLater(wnd, IDOK);
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(initialPath, windows);
    EXPECT_TRUE(SameText(dialog.Directory, windows)) << dialog.Directory;
    EXPECT_FALSE(dialog.DisplayName.empty());
    EXPECT_TRUE(IsWindowEnabled(owner.handle())); // the owner works again afterwards
}

TEST(BrowseDialog, CancelKeepsTheDirectory) {
    OwnerForm owner;
    TBrowseDialog dialog;
    dialog.Directory = "C:\\";
    dialog.OnInitialized = [](TBrowseDialog&, HWND wnd, const Text&, Text&, TOKButtonState&) {
        PressLater(wnd, IDCANCEL);
    };
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Directory, "C:\\");
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
    dialog.Directory = GetWindowsDir();
    ChooserRequests requests;
    HWND chooser = nullptr;
    dialog.OnInitialized = [&](TBrowseDialog&, HWND wnd, const Text&, Text&, TOKButtonState&) {
        chooser = wnd;
        SetWindowSubclass(wnd, ChooserRequests::Watch, 1, reinterpret_cast<DWORD_PTR>(&requests));
    };
    std::vector<Text> selections;
    dialog.OnSelectionChanged = [&](TBrowseDialog&, HWND, const Text& path, Text& showText,
                                    TOKButtonState& ok) {
        selections.push_back(path);
        showText = "選択中";
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

} // namespace
