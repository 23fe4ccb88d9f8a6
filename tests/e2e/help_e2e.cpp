// The manual: F1 in each tool's window and the tray program's help items open the HTML
// Help viewer on "Lumera.chm", the viewer goes when the program ends, and a missing manual
// opens nothing and harms nothing. Wine's viewer renders no page without its Gecko, but its
// window carries the manual's title, and a context number the manual does not map opens
// no window at all, so a window on F1 shows that the page was found.
#include <windows.h>

#include <gtest/gtest.h>

#include "lumera_support.h"
#include "win/encoding.h"

using namespace lumera_e2e;

namespace {

const Text ViewerClass = "HH Parent";
const Text ManualTitle = "Lumera Deck ヘルプ";

HWND WaitForViewer(DWORD processId, DWORD timeout = robot::DefaultTimeout) {
    return robot::WaitForWindow(ViewerClass, ManualTitle, processId, timeout);
}

struct ToolCase {
    const char* exe;
    const char* mainClass;
    const char* arguments;
};

TEST(Help, F1InEachToolWindowOpensTheManualAndTheViewerEndsWithTheTool) {
    ResetSettings();
    const ToolCase tools[] = {
        {"Ferrox.exe", "TFerroxMainForm", "C:\\windows\\win.ini"},
        {"Slumbo.exe", "TSlumboMainForm", ""},
        {"Kickon.exe", "TKickonMainForm", ""},
        {"Tezzo.exe", "TTezzoMainForm", ""},
        {"Halto.exe", "THaltoMainForm", ""},
    };
    for (const ToolCase& tool : tools) {
        SCOPED_TRACE(tool.exe);
        robot::Process process;
        ASSERT_TRUE(process.Start(BuiltProgram(tool.exe), tool.arguments));
        HWND form = robot::WaitForWindow(tool.mainClass, "", process.id());
        ASSERT_NE(form, nullptr);
        // Ferrox and Halto name their manual at their first timer tick, and a key queued
        // before it is read first: a press that found no manual yet is repeated.
        HWND viewer = nullptr;
        for (int press = 0; press < 3 && !viewer; ++press) {
            ASSERT_TRUE(robot::PressKey(form, VK_F1));
            viewer = WaitForViewer(process.id(), 4000);
        }
        EXPECT_NE(viewer, nullptr);

        PostMessageW(form, WM_CLOSE, 0, 0);
        std::optional<DWORD> code = process.WaitForExit();
        ASSERT_TRUE(code.has_value()) << "did not end with the viewer open";
        EXPECT_EQ(*code, 0u);
    }
    ResetSettings();
}

TEST(Help, TheTrayHelpItemsOpenTheManualAndAMissingManualOpensNothing) {
    for (bool withManual : {true, false}) {
        SCOPED_TRACE(withManual ? "with the manual" : "without the manual");
        ResetSettings();
        Installation installation("help");
        if (withManual)
            ASSERT_TRUE(CopyFileW(Widen(BuiltProgram("Lumera.chm")).c_str(),
                                  Widen(installation.file("Lumera.chm")).c_str(), FALSE));
        RunningLumera lumera;
        ASSERT_TRUE(lumera.Start(installation));
        DWORD id = lumera.process.id();

        ASSERT_TRUE(Choose(lumera, {"ﾍﾙﾌﾟ(&H)", "ﾄﾋﾟｯｸの検索(&H)"}));
        if (withManual) {
            HWND viewer = WaitForViewer(id);
            ASSERT_NE(viewer, nullptr);
            robot::Screenshot(viewer, "help-viewer.bmp");
            // The page on using the manual opens in the same viewer.
            ASSERT_TRUE(Choose(lumera, {"ﾍﾙﾌﾟ(&H)", "ﾍﾙﾌﾟの使い方(&U)"}));
            EXPECT_TRUE(
                robot::WaitUntil([&] { return robot::FindTopWindows(ViewerClass, "", id).size() == 1; }));
        } else {
            ASSERT_TRUE(Choose(lumera, {"ﾍﾙﾌﾟ(&H)", "ﾍﾙﾌﾟの使い方(&U)"}));
            EXPECT_EQ(WaitForViewer(id, 2000), nullptr);
        }
        // The program still answers, and ends cleanly with its viewer.
        EXPECT_TRUE(lumera.Exit());
    }
    ResetSettings();
}

} // namespace
