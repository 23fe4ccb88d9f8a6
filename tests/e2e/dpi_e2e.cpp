// The programs at 144 DPI: a window is started once at 96 DPI and once at 144 (Wine reads
// the setting when a program starts), and every named control must come out 1.5 times as
// large, its pictures included. The prefix's setting is put back exactly afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <optional>

#include "font_choice.h"
#include "lumera_support.h"
#include "test_support.h"

using namespace lumera_e2e;

namespace {

// Sets the DPI programs started from now on get, and restores the setting (or its absence)
// when it goes, whatever the test did. Wine notes the DPI its font cache was built for in a
// value of its own at each start; that one is put back too.
class DpiSetting {
public:
    DpiSetting() {
        for (Value& value : values_) {
            DWORD data = 0, size = sizeof data;
            if (RegGetValueW(HKEY_CURRENT_USER, value.key, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &data,
                             &size) == ERROR_SUCCESS)
                value.saved = data;
        }
    }
    ~DpiSetting() {
        for (const Value& value : values_) {
            if (value.saved)
                Write(value.key, *value.saved);
            else
                RegDeleteKeyValueW(HKEY_CURRENT_USER, value.key, L"LogPixels");
        }
    }
    DpiSetting(const DpiSetting&) = delete;
    DpiSetting& operator=(const DpiSetting&) = delete;

    static bool Set(DWORD dpi) { return Write(DesktopKey, dpi); }

private:
    static constexpr const wchar_t* DesktopKey = L"Control Panel\\Desktop";
    static bool Write(const wchar_t* key, DWORD dpi) {
        return RegSetKeyValueW(HKEY_CURRENT_USER, key, L"LogPixels", REG_DWORD, &dpi, sizeof dpi) ==
               ERROR_SUCCESS;
    }

    struct Value {
        const wchar_t* key;
        std::optional<DWORD> saved;
    };
    Value values_[2] = {{DesktopKey, {}}, {L"Software\\Wine\\Fonts", {}}};
};

struct Measured {
    Text className;
    SIZE size;
};
using Sizes = std::map<Text, Measured>;

// The size of every visible named control of the window.
Sizes NamedSizes(HWND form) {
    Sizes sizes;
    for (const robot::ControlInfo& control : robot::ListControls(form)) {
        if (control.visible && !control.name.empty())
            sizes[control.name] = {
                control.className,
                {control.rect.right - control.rect.left, control.rect.bottom - control.rect.top}};
    }
    return sizes;
}

// Each control at 144 DPI is 1.5 times its 96-DPI size; rounding allows a pixel or two.
// A combo box and the spin edit take the height of their font, which does not grow in
// proportion; a tab page is its tab control less a frame the platform does not scale.
void ExpectScaled(const Sizes& at96, const Sizes& at144) {
    ASSERT_FALSE(at96.empty());
    for (const auto& [name, measured] : at96) {
        if (name.rfind("TabSheet", 0) == 0)
            continue;
        auto scaled = at144.find(name);
        ASSERT_NE(scaled, at144.end()) << name;
        EXPECT_NEAR(scaled->second.size.cx, measured.size.cx * 1.5, 2) << name;
        if (measured.className != "ComboBox" && name.rfind("SpinEdit", 0) != 0) {
            EXPECT_NEAR(scaled->second.size.cy, measured.size.cy * 1.5, 2) << name;
        }
    }
}

// The bounding box of the screen pixels of one colour inside a window.
RECT PixelsOfColour(HWND window, COLORREF colour) {
    RECT area = robot::ScreenRectOf(window), found = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    HDC screen = GetDC(nullptr);
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x)
            if (GetPixel(screen, x, y) == colour) {
                found = {std::min(found.left, x), std::min(found.top, y), std::max(found.right, x + 1),
                         std::max(found.bottom, y + 1)};
            }
    ReleaseDC(nullptr, screen);
    return found;
}

class DpiE2E : public ::testing::Test {
protected:
    // Runs the measurement once at 96 DPI and once at 144.
    template <typename Measure> void AtBothDpis(Measure measure) {
        for (DWORD dpi : {96u, 144u}) {
            SCOPED_TRACE(dpi);
            ASSERT_TRUE(DpiSetting::Set(dpi));
            measure(dpi);
        }
    }

    DpiSetting setting;
    // A label that needs more room grows by whole lines, not by 1.5: compared in the face
    // whose texts fit at both sizes.
    FontChoice font{JapaneseFace::Ipa};
};

TEST_F(DpiE2E, SettingsWindowScalesEveryControlOfItsFirstPage) {
    Installation installation{"dpi"};
    CreateDirectoryW(Widen(installation.file("LogoDir")).c_str(), nullptr);
    std::map<DWORD, Sizes> sizes;
    AtBothDpis([&](DWORD dpi) {
        ResetSettings();
        RunningLumera lumera;
        ASSERT_TRUE(lumera.Start(installation));
        ASSERT_TRUE(Choose(lumera, {"設定(&S)"}));
        HWND form = robot::WaitForWindow("TLumeraMainForm", "", lumera.process.id());
        ASSERT_TRUE(form);
        sizes[dpi] = NamedSizes(form);
        if (dpi == 144)
            robot::SaveScreenshot("dpi-settings.bmp");
        robot::PressKey(form, VK_ESCAPE);
        ASSERT_TRUE(robot::WaitUntil([form] { return !IsWindowVisible(form); }));
        EXPECT_TRUE(lumera.Exit());
    });
    ResetSettings();
    ExpectScaled(sizes[96], sizes[144]);
}

// The wizard's picture and its buttons' glyphs are bitmaps drawn at 96 DPI; at 144 they must
// grow with the controls that show them rather than sit small inside them.
TEST_F(DpiE2E, SetupWizardScalesItsPictureAndButtonGlyphs) {
    const Text source = "C:\\dpi-e2e-setup";
    DeleteTree(source);
    CreateDirectoryW(Widen(source).c_str(), nullptr);
    ASSERT_TRUE(
        CopyFileW(Widen(BuiltProgram("Setup.exe")).c_str(), Widen(source + "\\Setup.exe").c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(source + "\\Setup.dat",
                           "[Infomation]\r\nAppName=DPI E2E App\r\n[Install]\r\nPath=C:\\dpi-e2e-app\r\n"));

    std::map<DWORD, Sizes> sizes;
    std::map<DWORD, RECT> arrows;
    AtBothDpis([&](DWORD dpi) {
        robot::Process setup;
        ASSERT_TRUE(setup.Start(source + "\\Setup.exe"));
        HWND wizard = robot::WaitForWindow("TSetupMainForm", "", setup.id(), 20000);
        ASSERT_TRUE(wizard);
        sizes[dpi] = NamedSizes(wizard);
        HWND next = robot::FindControl(wizard, "BitBtn2");
        // The green arrow of "次へ", once the window has painted.
        ASSERT_TRUE(robot::WaitUntil([&] {
            arrows[dpi] = PixelsOfColour(next, RGB(0, 112, 0));
            return arrows[dpi].right > arrows[dpi].left;
        }));
        // The picture fills its frame: its bottom-right corner is not the form's face.
        RECT picture = robot::ScreenRectOf(robot::FindControl(wizard, "Image1"));
        HDC screen = GetDC(nullptr);
        COLORREF corner = GetPixel(screen, picture.right - 3, picture.bottom - 3);
        ReleaseDC(nullptr, screen);
        EXPECT_NE(corner, GetSysColor(COLOR_BTNFACE));
        if (dpi == 144)
            robot::SaveScreenshot("dpi-setup.bmp");
        robot::Click(robot::FindControl(wizard, "BitBtn3"));
        if (auto ask = robot::WaitForMessageBox(setup.id()))
            robot::AnswerMessageBox(ask->window, IDYES);
        EXPECT_TRUE(setup.WaitForExit().has_value());
    });
    ExpectScaled(sizes[96], sizes[144]);
    EXPECT_NEAR(arrows[144].right - arrows[144].left, (arrows[96].right - arrows[96].left) * 1.5, 1);
    EXPECT_NEAR(arrows[144].bottom - arrows[144].top, (arrows[96].bottom - arrows[96].top) * 1.5, 1);
    DeleteTree(source);
}

} // namespace
