// Every window of every program, once with the face most users have (IPA P Gothic, of
// ＭＳ Ｐゴシック's metrics, standing in for it) and once with a taller Japanese font, as a
// Windows without that face falls back to: each control's text, measured inside the program
// with the control's own font, fits the room the control gives it, and a window placed from
// its size (centred, or kept off the screen's bottom) is there at the size it grew to.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "font_choice.h"
#include "lumera_support.h"
#include "robot.h"
#include "win/encoding.h"

using namespace lumera_e2e;

namespace {

const Text AppName = "Fit Check";

// Where a window without a stored place shows, from its size.
using Placement = POINT (*)(SIZE window);
POINT Centred(SIZE window) {
    return {(GetSystemMetrics(SM_CXSCREEN) - window.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - window.cy) / 2};
}
POINT AboveTheBottom(SIZE window) { // 40 from the left, 36 above the screen's bottom
    return {40, GetSystemMetrics(SM_CYSCREEN) - window.cy - 36};
}
const Text Work = "C:\\fit-e2e";

class TextFitE2e : public ::testing::TestWithParam<JapaneseFace> {
protected:
    void SetUp() override {
        ResetSettings();
        DeleteTree(Work);
        CreateDirectoryW(Widen(Work).c_str(), nullptr);
    }
    void TearDown() override {
        DeleteTree(Work);
        ResetSettings();
    }

    const char* fontName() const { return GetParam() == JapaneseFace::Ipa ? "ipa" : "tall"; }

    void ExpectPlaced(HWND window, Placement placement, const Text& what) {
        const RECT is = robot::ScreenRectOf(window);
        const POINT expected = placement({is.right - is.left, is.bottom - is.top});
        EXPECT_EQ(is.left, expected.x) << what;
        EXPECT_EQ(is.top, expected.y) << what;
    }

    // Measures every top-level window of the process, keeps a screenshot of the screen as it
    // is and notes each text that does not fit.
    void Measure(DWORD processId, const Text& what) {
        robot::MenuReader reader(processId);
        ASSERT_TRUE(reader.ready());
        robot::SaveScreenshot(Text("fit-") + fontName() + "-" + what + ".bmp");
        size_t measured = 0;
        for (HWND window : robot::FindTopWindows("", "", processId)) {
            for (const robot::TextFit& fit : reader.MeasureTexts(window)) {
                ++measured;
                if (!fit.fits())
                    misfits_.push_back(what + " " + robot::ClassOf(window) + " " + fit.name + " (" +
                                       fit.className + ") \"" + fit.text + "\" needs " +
                                       std::to_string(fit.need.cx) + "x" + std::to_string(fit.need.cy) +
                                       ", has " + std::to_string(fit.have.cx) + "x" +
                                       std::to_string(fit.have.cy));
            }
        }
        EXPECT_GT(measured, 0u) << what;
    }

    void ExpectEndsWith(robot::Process& process, DWORD code, DWORD timeout = 20000) {
        EXPECT_EQ(process.WaitForExit(timeout), std::optional<DWORD>(code));
    }

    void TrayProgram() {
        Installation installation("fit");
        RunningLumera lumera;
        ASSERT_TRUE(lumera.Start(installation));
        DWORD id = lumera.process.id();
        robot::ParkMouse();
        lumera.Choose({"設定(&S)"});
        HWND settings = robot::WaitForWindow("TLumeraMainForm", "", id);
        ASSERT_TRUE(settings);
        Measure(id, "lumera-settings");
        ExpectPlaced(settings, Centred, "lumera-settings");
        robot::PressKey(settings, VK_ESCAPE);
        ASSERT_TRUE(robot::WaitUntil([&] { return !IsWindowVisible(settings); }));
        robot::ParkMouse();
        lumera.Choose({"ﾍﾙﾌﾟ(&H)", "ﾊﾞｰｼﾞｮﾝ情報(&A)..."});
        HWND about = robot::WaitForWindow("TAboutBox", "", id);
        ASSERT_TRUE(about);
        Measure(id, "lumera-about");
        ExpectPlaced(about, Centred, "lumera-about");
        robot::PressKey(about, VK_ESCAPE);
        ASSERT_TRUE(robot::WaitUntil([&] { return robot::FindTopWindows("TAboutBox", "", id).empty(); }));
        EXPECT_TRUE(lumera.Exit());
    }

    // A tool whose one window shows at a start without parameters, closed again.
    void Tool(const Text& exe, const Text& formClass, Placement placement) {
        robot::Process tool;
        ASSERT_TRUE(tool.Start(BuiltProgram(exe)));
        HWND form = robot::WaitForWindow(formClass, "", tool.id());
        ASSERT_TRUE(form) << exe;
        Measure(tool.id(), exe);
        ExpectPlaced(form, placement, exe);
        PostMessageW(form, WM_CLOSE, 0, 0);
        ExpectEndsWith(tool, 0);
    }

    // The main window, then a copy onto a file of the same name: the progress window and the
    // overwrite question.
    void Ferrox() {
        const Text from = Work + "\\from", to = Work + "\\to";
        CreateDirectoryW(Widen(from).c_str(), nullptr);
        CreateDirectoryW(Widen(to).c_str(), nullptr);
        ASSERT_TRUE(WriteBytes(from + "\\same.txt", "new"));
        ASSERT_TRUE(WriteBytes(to + "\\same.txt", "old"));
        const std::wstring history = L"Software\\Morivane\\Lumera\\Ferrox\\History";
        DWORD copy = 2;
        RegSetKeyValueW(HKEY_CURRENT_USER, history.c_str(), L"Division", REG_DWORD, &copy, sizeof copy);
        const std::wstring path = Widen(to);
        RegSetKeyValueW(HKEY_CURRENT_USER, history.c_str(), L"Path1", REG_SZ, path.c_str(),
                        static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
        robot::Process ferrox;
        ASSERT_TRUE(ferrox.Start(BuiltProgram("Ferrox.exe"), from + "\\same.txt"));
        HWND form = robot::WaitForWindow("TFerroxMainForm", "", ferrox.id());
        ASSERT_TRUE(form);
        Measure(ferrox.id(), "ferrox-main");
        robot::Click(robot::FindControl(form, "Button1"));
        HWND question = robot::WaitForWindow("TOWriteBox", "", ferrox.id(), 20000);
        ASSERT_TRUE(question);
        EXPECT_FALSE(robot::FindTopWindows("TWorkBox", "", ferrox.id()).empty());
        Measure(ferrox.id(), "ferrox-overwrite");
        robot::PressKey(question, VK_ESCAPE);
        ExpectEndsWith(ferrox, 0);
    }

    // The installer's wizard with the suite's own package, left with Cancel.
    void Wizard() {
        robot::Process setup;
        ASSERT_TRUE(setup.Start(Text("Z:") + LUMERA_PACKAGE_DIR "\\Setup.exe"));
        HWND wizard = robot::WaitForWindow("TSetupMainForm", "", setup.id(), 20000);
        ASSERT_TRUE(wizard);
        Measure(setup.id(), "setup-wizard");
        robot::Click(robot::FindControl(wizard, "BitBtn3"));
        if (auto ask = robot::WaitForMessageBox(setup.id(), 3000))
            robot::AnswerMessageBox(ask->window, IDYES);
        ExpectEndsWith(setup, 2); // cancelled: nothing done
    }

    // The uninstaller's window over its first question, for a small installed product.
    void Uninstaller() {
        const Text source = Work + "\\package", target = Work + "\\installed";
        CreateDirectoryW(Widen(source).c_str(), nullptr);
        ASSERT_TRUE(CopyFileW(Widen(BuiltProgram("Setup.exe")).c_str(), Widen(source + "\\Setup.exe").c_str(),
                              FALSE));
        ASSERT_TRUE(WriteBytes(source + "\\tool.txt", "the tool"));
        ASSERT_TRUE(
            WriteBytes(source + "\\Setup.dat",
                       "[Infomation]\r\nAppName=" + AppName + "\r\n[Install]\r\nPath=" + target +
                           "\r\nDir1=<Setup>\r\nFile1=<Setup>\\tool.txt\r\n"
                           "[UnInstall]\r\nVisible=1\r\nFile1=<Setup>\\tool.txt\r\nDir1=<Setup>\r\n"));
        const Text uninstaller = WindowsFolder() + "\\Morivane.exe";
        const bool uninstallerWasThere = robot::FileExists(uninstaller);
        {
            robot::Process install;
            ASSERT_TRUE(install.Start(source + "\\Setup.exe", "/SILENT"));
            ExpectEndsWith(install, 0, 60000);
        }
        {
            robot::Process uninstall;
            ASSERT_TRUE(uninstall.Start(uninstaller, "\"" + AppName + "\""));
            auto ask = robot::WaitForMessageBox(uninstall.id());
            ASSERT_TRUE(ask);
            ASSERT_TRUE(robot::WaitForWindow("TSetupMainForm", "", uninstall.id()));
            Measure(uninstall.id(), "uninstaller");
            robot::AnswerMessageBox(ask->window, IDNO);
            ExpectEndsWith(uninstall, 2);
        }
        robot::Process silent;
        ASSERT_TRUE(silent.Start(uninstaller, "\"" + AppName + "\" /SILENT"));
        ExpectEndsWith(silent, 0, 60000);
        if (!uninstallerWasThere)
            DeleteFileW(Widen(uninstaller).c_str());
    }

    std::vector<Text> misfits_;
};

TEST_P(TextFitE2e, EveryTextFitsItsControl) {
    ASSERT_TRUE(FontChoice::Installed(GetParam() == JapaneseFace::Ipa ? L"IPAPGothic" : TallFace))
        << "fonts-ipafont-gothic or fonts-noto-cjk is not installed";
    FontChoice font(GetParam());
    TrayProgram();
    Tool("Kickon.exe", "TKickonMainForm", Centred);
    Tool("Tezzo.exe", "TTezzoMainForm", AboveTheBottom);
    Tool("Halto.exe", "THaltoMainForm", Centred);
    Tool("Slumbo.exe", "TSlumboMainForm", Centred);
    Ferrox();
    Wizard();
    Uninstaller();
    Text list;
    for (const Text& misfit : misfits_)
        list += "\n  " + misfit;
    EXPECT_TRUE(misfits_.empty()) << misfits_.size() << " texts do not fit:" << list;
}

INSTANTIATE_TEST_SUITE_P(Fonts, TextFitE2e, ::testing::Values(JapaneseFace::Ipa, JapaneseFace::Tall),
                         [](const auto& info) {
                             return info.param == JapaneseFace::Ipa ? "IpaPGothic" : "Tall";
                         });

} // namespace
