// The window layer under real windows: handlers that fail or take long, modal windows,
// DPI changes and names beyond code page 932.
#include <gtest/gtest.h>

#include <stdexcept>

#include "app.h"
#include "controls.h"
#include "dialogs.h"
#include "form.h"
#include "label_effects.h"
#include "timer.h"

#include <shellapi.h>
#include <shlobj.h>
#include "win/encoding.h"

namespace {

// Runs the message loop (timers included) for the given time.
void PumpFor(DWORD ms) {
    ULONGLONG end = GetTickCount64() + ms;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        Application::ProcessMessages();
    }
}

// Runs the message loop until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& condition, DWORD ms) {
    ULONGLONG end = GetTickCount64() + ms;
    while (!condition()) {
        ULONGLONG now = GetTickCount64();
        if (now >= end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 50)),
                                  QS_ALLINPUT);
        Application::ProcessMessages();
    }
    return true;
}

Text ClassOf(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return Narrow(name);
}

class TestForm : public Form {
public:
    explicit TestForm(int width = 300, int height = 200) {
        CreateForm({"TLayerTestForm", "layer test", WS_OVERLAPPEDWINDOW, width, height});
        Application::SetMainWindow(handle());
    }
    ~TestForm() override { Application::SetMainWindow(nullptr); }

    static constexpr UINT FailingMessage = WM_APP + 1;
    int handled = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == FailingMessage) {
            ++handled;
            throw std::runtime_error("handler failed");
        }
        return Form::HandleMessage(message, wParam, lParam);
    }
};

TEST(Handlers, AFailureInAnyHandlerLeavesTheProgramRunning) {
    TestForm form;
    // Window procedure.
    EXPECT_EQ(SendMessageW(form.handle(), TestForm::FailingMessage, 0, 0), 0);
    EXPECT_EQ(form.handled, 1);
    EXPECT_TRUE(IsWindow(form.handle()));

    // A control's handler, reached through the parent's reflection and the subclass.
    Button button;
    ASSERT_TRUE(button.Create(form, "OK", {10, 10, 80, 25}));
    int clicks = 0;
    button.onClick = [&] {
        ++clicks;
        throw std::runtime_error("click failed");
    };
    button.Click();
    button.Click();
    EXPECT_EQ(clicks, 2);

    // A timer handler: the failure is reported and the timer goes on ticking.
    int ticks = 0;
    Timer timer(10);
    timer.SetHandler([&] {
        ++ticks;
        throw 42;
    });
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }, 3000)) << ticks;
}

TEST(Timers, AHandlerNeverRunsInsideItself) {
    TestForm form;
    int depth = 0, deepest = 0, calls = 0;
    Timer timer(10);
    timer.SetHandler([&] {
        ++calls;
        deepest = std::max(deepest, ++depth);
        if (calls == 1)
            PumpFor(300); // as a message box would: its loop goes on dispatching the timer
        --depth;
    });
    EXPECT_TRUE(PumpUntil([&] { return calls >= 3; }, 3000)) << calls;
    EXPECT_EQ(deepest, 1);
}

TEST(Timers, AHandlerMayDestroyItsTimer) {
    auto timer = std::make_unique<Timer>(10);
    int calls = 0;
    timer->SetHandler([&] {
        ++calls;
        timer.reset();
    });
    EXPECT_TRUE(PumpUntil([&] { return !timer; }, 2000));
    PumpFor(60);
    EXPECT_EQ(calls, 1);
}

TEST(Timers, AMarqueeStepIsNotReenteredByItsOwnTicks) {
    TestForm form;
    TMarqueeLabel marquee;
    ASSERT_TRUE(marquee.Create(form, "流れる文字", {0, 0, 200, 20}));
    marquee.SetSpeed(10);
    marquee.SetSteps(4);
    std::vector<int> seen;
    int depth = 0, deepest = 0, ends = 0;
    marquee.OnStep = [&] {
        deepest = std::max(deepest, ++depth);
        seen.push_back(marquee.Counter());
        if (seen.size() == 1)
            PumpFor(200);
        --depth;
    };
    marquee.OnEnd = [&] { ++ends; };
    marquee.Start();
    EXPECT_TRUE(PumpUntil([&] { return ends == 1; }, 3000));
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
}

TEST(ModalWindows, AMessageBoxIsTheModalWindowWhileItIsOpen) {
    TestForm form;
    EXPECT_EQ(Application::ActiveModalWindow(), nullptr);
    HWND seen = nullptr, owner = nullptr;
    Text seenClass;
    std::wstring shownText;
    Timer check(100);
    check.SetHandler([&] {
        HWND box = Application::ActiveModalWindow();
        if (!box)
            return;
        check.SetEnabled(false);
        seen = box;
        seenClass = ClassOf(box);
        owner = GetWindow(box, GW_OWNER);
        wchar_t text[128] = L"";
        GetDlgItemTextW(box, 0xFFFF, text, 128);
        shownText = text;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    const std::wstring text = L"Zo\u00EB.bmp \uAE40"; // "Zoë.bmp 김"
    ShowMessageBox(text, "", MB_OK, form.handle());
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seenClass, "#32770");
    EXPECT_EQ(owner, form.handle());
    EXPECT_EQ(shownText, text);
    EXPECT_EQ(Application::ActiveModalWindow(), nullptr);
}

TEST(ModalWindows, TheInnermostOpenOneCounts) {
    TestForm outer, inner;
    {
        Application::ModalScope first(outer.handle());
        EXPECT_EQ(Application::ActiveModalWindow(), outer.handle());
        {
            Application::ModalScope second(inner.handle());
            EXPECT_EQ(Application::ActiveModalWindow(), inner.handle());
        }
        EXPECT_EQ(Application::ActiveModalWindow(), outer.handle());
        // A scope still waiting for its window leaves the open one in front.
        Application::ModalScope waiting;
        EXPECT_EQ(Application::ActiveModalWindow(), outer.handle());
    }
    EXPECT_EQ(Application::ActiveModalWindow(), nullptr);
}

// A folder for one test under the temporary folder, removed with what is in it.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& name) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + name;
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        for (const std::wstring& file : files_)
            DeleteFileW(file.c_str());
        RemoveDirectoryW(path_.c_str());
    }
    std::wstring AddFile(const std::wstring& name) {
        std::wstring file = path_ + L"\\" + name;
        HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        files_.push_back(file);
        return file;
    }
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
    std::vector<std::wstring> files_;
};

TEST(ModalWindows, TheFileDialogIsOneAndGivesBackAWideName) {
    TestForm form;
    TempFolder folder(L"Zo\u00EB \u5F20\u4F1F");
    std::wstring file = folder.AddFile(L"\uD55C\uAE00 \uBA54\uBAA8.txt");
    OpenFileDialog dialog;
    dialog.filter = "すべてのﾌｧｲﾙ (*.*)|*.*";
    dialog.title = "参照";
    dialog.initialDir = folder.path();
    dialog.fileName = file;
    HWND seen = nullptr;
    Text seenClass;
    Timer check(200);
    check.SetHandler([&] {
        HWND open = Application::ActiveModalWindow();
        if (!open || !IsWindowVisible(open))
            return;
        check.SetEnabled(false);
        seen = open;
        seenClass = ClassOf(open);
        PostMessageW(open, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(dialog.Execute(form.handle()));
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seenClass, "#32770");
    EXPECT_EQ(dialog.fileName, file);
    EXPECT_EQ(Application::ActiveModalWindow(), nullptr);
}

TEST(WideText, NamesBeyondCodePage932PassThroughControlsWhole) {
    TestForm form;
    const std::wstring name = L"C:\\Users\\Jos\u00E9\\\u5915\u713C\u3051 caf\u00E9 \U0001F600.jpg";
    Edit edit;
    ASSERT_TRUE(edit.Create(form, "", {10, 10, 200, 22}));
    edit.SetText(name);
    EXPECT_EQ(edit.wideText(), name);
    edit.SetText("表示"); // the Text form still takes the programs' own CP932 texts
    EXPECT_EQ(edit.text(), "表示");
    EXPECT_EQ(edit.wideText(), L"\u8868\u793A");

    ComboBox combo;
    ASSERT_TRUE(combo.Create(form, {10, 40, 200, 22}));
    ListBox list;
    ASSERT_TRUE(list.Create(form, {10, 70, 200, 80}));
    for (ItemListControl* items :
         {static_cast<ItemListControl*>(&combo), static_cast<ItemListControl*>(&list)}) {
        items->AddItem(name);
        items->AddItem("壁紙");
        ASSERT_EQ(items->itemCount(), 2u);
        EXPECT_EQ(items->wideItem(0), name);
        EXPECT_EQ(items->item(1), "壁紙");
        EXPECT_EQ(items->wideItem(5), L""); // no such item
        items->ClearItems();
        EXPECT_EQ(items->itemCount(), 0u);
    }

    // The history keeps one entry per name, newest first, within its size, and leaves
    // the edit field as it was.
    combo.SetText(L"typed");
    combo.AddToHistory(L"Zo\u00EB", 3);
    combo.AddToHistory(L"\uAE40\uBBFC\uC900", 3);
    combo.AddToHistory(L"Zo\u00EB", 3);
    combo.AddToHistory(L"d", 3);
    combo.AddToHistory(L"e", 3);
    ASSERT_EQ(combo.itemCount(), 3u);
    EXPECT_EQ(combo.wideItem(0), L"e");
    EXPECT_EQ(combo.wideItem(1), L"d");
    EXPECT_EQ(combo.wideItem(2), L"Zo\u00EB");
    EXPECT_EQ(combo.wideText(), L"typed");
}

// What a move to a monitor of twice the DPI does to a form laid out at the current one.
TEST(Dpi, AFormFollowsADpiChangeWithItsWindowFontAndControls) {
    TestForm form(300, 200);
    Button button;
    ASSERT_TRUE(button.Create(form, "OK", {10, 20, 80, 25}));
    Panel panel;
    ASSERT_TRUE(panel.Create(form, {100, 10, 150, 100}));
    Edit inPanel;
    ASSERT_TRUE(inPanel.Create(panel, "", {5, 6, 60, 22}));
    ComboBox combo;
    ASSERT_TRUE(combo.Create(form, {10, 60, 80, 22}, 100));

    auto rectIn = [](HWND window) {
        RECT rect;
        GetWindowRect(window, &rect);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    auto fontHeight = [](HWND window) {
        LOGFONTW font = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
        return std::abs(font.lfHeight);
    };
    RECT buttonBefore = rectIn(button.handle()), inPanelBefore = rectIn(inPanel.handle());
    for (int i = 0; i < 40; ++i)
        combo.AddItem(std::to_wstring(i)); // more than the list can show
    // The height of the list as it drops down.
    auto droppedHeight = [](HWND combo) {
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        GetComboBoxInfo(combo, &info);
        SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
        RECT list;
        GetWindowRect(info.hwndList, &list);
        SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
        return list.bottom - list.top;
    };
    int droppedBefore = droppedHeight(combo.handle());
    int fontBefore = fontHeight(button.handle());
    int dpi = form.dpi().dpi();

    RECT suggested = {40, 30, 40 + 700, 30 + 500};
    SendMessageW(form.handle(), WM_DPICHANGED, MAKEWPARAM(dpi * 2, dpi * 2),
                 reinterpret_cast<LPARAM>(&suggested));

    RECT window;
    GetWindowRect(form.handle(), &window);
    EXPECT_EQ(window.left, 40);
    EXPECT_EQ(window.right - window.left, 700);
    EXPECT_EQ(window.bottom - window.top, 500);
    RECT buttonAfter = rectIn(button.handle()), inPanelAfter = rectIn(inPanel.handle());
    EXPECT_EQ(buttonAfter.left, buttonBefore.left * 2);
    EXPECT_EQ(buttonAfter.top, buttonBefore.top * 2);
    EXPECT_EQ(buttonAfter.right - buttonAfter.left, (buttonBefore.right - buttonBefore.left) * 2);
    EXPECT_EQ(inPanelAfter.left, inPanelBefore.left * 2); // inside a panel too
    EXPECT_EQ(inPanelAfter.bottom - inPanelAfter.top, (inPanelBefore.bottom - inPanelBefore.top) * 2);
    EXPECT_NEAR(droppedHeight(combo.handle()), droppedBefore * 2, 4);
    // The controls share the form's new font, made for the new DPI.
    EXPECT_NEAR(fontHeight(button.handle()), fontBefore * 2, 1);
    EXPECT_EQ(SendMessageW(inPanel.handle(), WM_GETFONT, 0, 0),
              SendMessageW(form.handle(), WM_GETFONT, 0, 0));
}

} // namespace

namespace {

// A drop as the shell posts it: a DROPFILES block with the wide paths, double-NUL ended.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const std::wstring& path : paths)
        list += path + L'\0';
    list += L'\0';
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    memcpy(header + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

TEST(Drops, EveryDroppedPathReachesTheHandlerWhole) {
    TestForm form;
    Application::AcceptDroppedFiles(form.handle());
    std::vector<std::wstring> received;
    Application::SetDropHandler([&](const std::vector<std::wstring>& paths) { received = paths; });
    const std::vector<std::wstring> dropped = {L"C:\\" + std::wstring(300, L'x') + L"\\deep.txt",
                                               L"C:\\\ud55c\uae00 \uba54\ubaa8.txt"};
    PostMessageW(form.handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(dropped)), 0);
    EXPECT_TRUE(PumpUntil([&] { return !received.empty(); }, 2000));
    EXPECT_EQ(received, dropped);
    Application::SetDropHandler(nullptr);
}

TEST(ModalWindows, AModalFormDisablesItsOwnerUntilItIsGone) {
    TestForm owner;
    owner.Show();
    Form modal;
    ASSERT_TRUE(
        modal.CreateForm({"TLayerModalForm", "modal", WS_POPUP | WS_CAPTION, 200, 100, owner.handle()}));
    bool ownerWasDisabled = false;
    Timer closer;
    closer.SetInterval(50);
    closer.SetHandler([&] {
        ownerWasDisabled = !IsWindowEnabled(owner.handle());
        EXPECT_EQ(Application::ActiveModalWindow(), modal.handle());
        DestroyWindow(modal.handle());
    });
    closer.SetEnabled(true);
    modal.ShowModal();
    closer.SetEnabled(false);
    EXPECT_TRUE(ownerWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner.handle()));
    EXPECT_EQ(modal.handle(), nullptr);
}

} // namespace
