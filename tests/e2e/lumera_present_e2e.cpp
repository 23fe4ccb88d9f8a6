// The tray program's presentation: the splash while the first instance starts, and the
// about box opened from the help submenu of the tray menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "lumera_support.h"

namespace {

using namespace lumera_e2e;

// Many pictures in the wallpaper folder keep the start-up busy long enough to watch the
// splash (and to notice one that should not be there).
void FillWallpaperFolder(const Installation& installation, int count) {
    Text folder = installation.file("walls");
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    for (int i = 0; i < count; ++i) {
        HANDLE file = CreateFileW(Widen(folder + "\\pic" + std::to_string(i) + ".bmp").c_str(), GENERIC_WRITE,
                                  0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        CloseHandle(file);
    }
    SetSettingStringRaw("Wall", "Path", folder);
}

bool IsTopmost(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// Watches for splash windows while a program starts, from a thread of its own so that the
// start itself goes through RunningLumera::Start.
class SplashWatch {
public:
    explicit SplashWatch(std::function<void(HWND splash)> onFirstSplash = nullptr)
        : onFirstSplash_(std::move(onFirstSplash)), thread_([this] { Watch(); }) {}
    ~SplashWatch() { Stop(); }

    void Stop() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    // True when a visible splash of that process was seen.
    bool SeenFor(DWORD processId) {
        Stop();
        return std::find(owners_.begin(), owners_.end(), processId) != owners_.end();
    }

private:
    void Watch() {
        while (!stop_) {
            for (HWND splash : robot::FindTopWindows("TSplashWindow")) {
                DWORD owner = robot::ProcessOf(splash);
                if (!IsWindowVisible(splash) ||
                    std::find(owners_.begin(), owners_.end(), owner) != owners_.end())
                    continue;
                owners_.push_back(owner);
                if (onFirstSplash_ && owners_.size() == 1)
                    onFirstSplash_(splash);
            }
            Sleep(2);
        }
    }

    std::function<void(HWND)> onFirstSplash_;
    std::vector<DWORD> owners_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST(LumeraSplash, ShowsWhileTheFirstInstanceStartsAndGoesAfterwards) {
    ResetSettings();
    Installation installation("present-splash");
    FillWallpaperFolder(installation, 1000);
    RECT splashRect = {};
    bool topmost = false;
    Text label3, label4;
    SplashWatch watch([&](HWND splash) {
        // The splash's thread is busy starting up and answers no messages until the
        // splash goes, so only what needs no answer is read: the place, the style, the
        // names and the texts the windows keep themselves.
        splashRect = robot::ScreenRectOf(splash);
        topmost = IsTopmost(splash);
        struct Labels {
            Text* label3;
            Text* label4;
        } labels{&label3, &label4};
        EnumChildWindows(
            splash,
            [](HWND child, LPARAM found) {
                auto* labels = reinterpret_cast<Labels*>(found);
                wchar_t text[128] = L"";
                InternalGetWindowText(child, text, 128);
                Text name = robot::NameOf(child);
                if (name == "Label3")
                    *labels->label3 = Narrow(text);
                if (name == "Label4")
                    *labels->label4 = Narrow(text);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&labels));
    });
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    EXPECT_TRUE(watch.SeenFor(lumera.process.id()));
    // Borderless, so the window is its client area, centred on the screen.
    EXPECT_EQ(splashRect.right - splashRect.left, 369);
    EXPECT_EQ(splashRect.bottom - splashRect.top, 135);
    EXPECT_EQ(splashRect.left, (GetSystemMetrics(SM_CXSCREEN) - 369) / 2);
    EXPECT_EQ(splashRect.top, (GetSystemMetrics(SM_CYSCREEN) - 135) / 2);
    EXPECT_TRUE(topmost);
    EXPECT_EQ(label3, "Copyright (C) 1997-2026");
    EXPECT_EQ(label4, "Morivane Software Works");
    // Released at the end of the start-up, not merely hidden.
    EXPECT_TRUE(robot::WaitUntil(
        [&] { return robot::FindTopWindows("TSplashWindow", "", lumera.process.id()).empty(); }));
    EXPECT_TRUE(lumera.Exit());
}

TEST(LumeraSplash, NotShownWhenSwitchedOffNorByASecondInstance) {
    ResetSettings();
    Installation installation("present-nosplash");
    FillWallpaperFolder(installation, 1000);
    SetSettingIntRaw("OtherSet", "SplashVisible", 0);
    {
        SplashWatch watch;
        RunningLumera lumera;
        ASSERT_TRUE(lumera.Start(installation));
        EXPECT_FALSE(watch.SeenFor(lumera.process.id()));
        EXPECT_TRUE(lumera.Exit());
    }

    SetSettingIntRaw("OtherSet", "SplashVisible", 1);
    SetSettingIntRaw("OtherSet", "2ndStart", 1);
    RunningLumera first, second;
    {
        SplashWatch watch;
        ASSERT_TRUE(first.Start(installation));
        EXPECT_TRUE(watch.SeenFor(first.process.id()));
    }
    // The tray menu can answer before the start-up has run; the second start waits for it.
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::FindTopWindows("TSplashWindow").empty(); }));
    SplashWatch watch;
    ASSERT_TRUE(second.Start(installation));
    EXPECT_FALSE(watch.SeenFor(second.process.id()));
    EXPECT_TRUE(second.Exit());
    EXPECT_TRUE(first.Exit());
}

HWND AboutBoxOf(DWORD processId) {
    std::vector<HWND> boxes = robot::FindTopWindows("TAboutBox", "ﾊﾞｰｼﾞｮﾝ情報", processId);
    return boxes.size() == 1 ? boxes.front() : nullptr;
}

TEST(LumeraAbout, OpensFromTheHelpMenuBlinksAndStoresItsPlaceOnClosing) {
    ResetSettings();
    Installation installation("present-about");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    DWORD id = lumera.process.id();

    std::vector<robot::PopupMenu> seen = lumera.Choose({"ﾍﾙﾌﾟ(&H)", "ﾊﾞｰｼﾞｮﾝ情報(&A)..."});
    ASSERT_EQ(seen.size(), 2u);
    const robot::PopupMenu& help = seen[1];
    std::vector<Text> texts;
    for (const robot::MenuEntry& entry : help.items)
        texts.push_back(entry.separator ? "-" : entry.text);
    EXPECT_EQ(texts,
              (std::vector<Text>{"ﾄﾋﾟｯｸの検索(&H)\tF1", "ﾍﾙﾌﾟの使い方(&U)", "-", "ｲﾝﾀｰﾈｯﾄ ﾛｰｶﾙﾌｧｲﾙ(&F)...",
                                 "ｲﾝﾀｰﾈｯﾄ ｼｮｰﾄｶｯﾄ(&S)...", "-", "ﾊﾞｰｼﾞｮﾝ情報(&A)...\tF2"}));

    HWND box = robot::WaitForWindow("TAboutBox", "ﾊﾞｰｼﾞｮﾝ情報", id);
    ASSERT_NE(box, nullptr);
    RECT client;
    GetClientRect(box, &client);
    EXPECT_EQ(client.right, 354);
    EXPECT_EQ(client.bottom, 125);
    RECT rect = robot::ScreenRectOf(box);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2);
    EXPECT_EQ(robot::TextOf(robot::FindControl(box, "BitBtn1")), "OK(&Y)");

    // The icon alternates between the two pictures.
    HWND image1 = robot::FindControl(box, "Image1");
    HWND image2 = robot::FindControl(box, "Image2");
    ASSERT_NE(image1, nullptr);
    ASSERT_NE(image2, nullptr);
    EXPECT_TRUE(IsWindowVisible(image1) != IsWindowVisible(image2));
    EXPECT_TRUE(robot::WaitUntil([&] { return !IsWindowVisible(image1) && IsWindowVisible(image2); }, 3000));
    EXPECT_TRUE(robot::WaitUntil([&] { return IsWindowVisible(image1) && !IsWindowVisible(image2); }, 3000));
    robot::SaveScreenshot("lumera-about.bmp");

    // While the box is open a tray click brings it forward instead of opening the menu, so
    // no second request (nor "終了(&X)") can run underneath it.
    EXPECT_TRUE(lumera.OpenMenu(1500).empty());
    EXPECT_TRUE(robot::WaitUntil([&] { return GetForegroundWindow() == box; }));
    EXPECT_EQ(robot::FindTopWindows("TAboutBox", "", id).size(), 1u);

    // Moved by the user, then closed with OK: the place is stored.
    SetWindowPos(box, nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::ScreenRectOf(box).left == 100; }));
    ASSERT_TRUE(robot::Click(robot::FindControl(box, "BitBtn1")));
    EXPECT_TRUE(robot::WaitUntil([&] { return robot::FindTopWindows("TAboutBox", "", id).empty(); }));
    EXPECT_EQ(SettingInt("Position", "AboutLeft"), std::optional<DWORD>(100));
    EXPECT_EQ(SettingInt("Position", "AboutTop"), std::optional<DWORD>(50));

    // Opens again once the first has closed, where it was left; Esc closes it.
    lumera.Choose({"ﾍﾙﾌﾟ(&H)", "ﾊﾞｰｼﾞｮﾝ情報(&A)..."});
    box = robot::WaitForWindow("TAboutBox", "ﾊﾞｰｼﾞｮﾝ情報", id);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(robot::ScreenRectOf(box).left, 100);
    EXPECT_EQ(robot::ScreenRectOf(box).top, 50);
    ASSERT_TRUE(robot::PressKey(box, VK_ESCAPE));
    EXPECT_TRUE(robot::WaitUntil([&] { return AboutBoxOf(id) == nullptr; }));
    EXPECT_TRUE(lumera.Exit());
}

TEST(LumeraAbout, StoredPlaceOutsideTheScreenCentresAndEscObeysTheSetting) {
    ResetSettings();
    Installation installation("present-about-place");
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    SetSettingIntRaw("Position", "AboutLeft", static_cast<DWORD>(screenWidth));
    SetSettingIntRaw("Position", "AboutTop", 30);
    SetSettingIntRaw("OtherSet", "EscToClose", 0);
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    DWORD id = lumera.process.id();

    lumera.Choose({"ﾍﾙﾌﾟ(&H)", "ﾊﾞｰｼﾞｮﾝ情報(&A)..."});
    HWND box = robot::WaitForWindow("TAboutBox", "ﾊﾞｰｼﾞｮﾝ情報", id);
    ASSERT_NE(box, nullptr);
    RECT rect = robot::ScreenRectOf(box);
    EXPECT_EQ(rect.left, (screenWidth - (rect.right - rect.left)) / 2);
    EXPECT_EQ(rect.top, 30);

    // With "EscToClose" = 0 Esc leaves the box open; Enter presses the default button.
    ASSERT_TRUE(robot::PressKey(box, VK_ESCAPE));
    EXPECT_FALSE(robot::WaitUntil([&] { return !IsWindow(box); }, 1500));
    ASSERT_TRUE(robot::PressKey(box, VK_RETURN));
    EXPECT_TRUE(robot::WaitUntil([&] { return robot::FindTopWindows("TAboutBox", "", id).empty(); }));
    EXPECT_EQ(SettingInt("Position", "AboutLeft"), std::optional<DWORD>(rect.left));
    EXPECT_EQ(SettingInt("Position", "AboutTop"), std::optional<DWORD>(30));
    EXPECT_TRUE(lumera.Exit());
}

} // namespace
