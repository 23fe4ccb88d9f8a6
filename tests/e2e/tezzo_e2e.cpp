// Tezzo: the run box's window, history, file-open dialog, drop, the start of what was
// entered (with its switches), the message for a name the shell cannot start, and the
// tray program's run entries reaching it.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "lumera_support.h"
#include "win/encoding.h"

using namespace lumera_e2e;

namespace {

const Text MainClass = "TTezzoMainForm";
const Text Title = "Tezzo (Lumera Deck for Windows)";
const Text Work = "C:\\tezzo-e2e";
const Text Runner = Work + "\\my tools\\runner.exe"; // a probe: logs how it was started

// The file-open dialog's controls.
constexpr int FilterCombo = 0x470;
constexpr int ReadOnlyBox = 0x410;
constexpr int FileNameEdit = 0x480;
constexpr int FileNameCombo = 0x47C;

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t item[2048] = L"";
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        items.push_back(item);
    }
    return items;
}

// A stored value as UTF-16, since the names go beyond CP932; "(missing)" when absent.
std::wstring WideSetting(const wchar_t* section, const std::wstring& name) {
    return ReadWideValue(HKEY_CURRENT_USER, "Software\\Morivane\\Lumera\\Tezzo\\" + Narrow(section),
                         Narrow(name))
        .value_or(L"(missing)");
}

std::wstring HistoryEntry(int n) {
    return WideSetting(L"History", L"Name" + std::to_wstring(n));
}

// The program's file-open dialog, once it shows.
HWND WaitForFileDialog(DWORD processId) {
    return robot::WaitForWindow("#32770", "ﾌｧｲﾙの参照", processId);
}

HWND FileNameBox(HWND dialog) {
    HWND edit = GetDlgItem(dialog, FileNameEdit);
    return edit ? edit : GetDlgItem(dialog, FileNameCombo);
}

class TezzoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        DeleteTree(Work);
        CreateDirectoryW(Widen(Work).c_str(), nullptr);
        CreateDirectoryW(Widen(Work + "\\my tools").c_str(), nullptr);
        CopyFileW(Widen(robot::ProgramFolder() + "probe.exe").c_str(), Widen(Runner).c_str(), FALSE);
    }
    void TearDown() override {
        DeleteTree(Work);
        ResetSettings();
    }

    // Starts Tezzo and waits for its window.
    HWND Start(const Text& arguments = "") {
        if (!tezzo.Start(BuiltProgram("Tezzo.exe"), arguments))
            return nullptr;
        form = robot::WaitForWindow(MainClass, "", tezzo.id());
        return form;
    }
    HWND Control(const Text& name) { return robot::FindControl(form, name); }
    ::testing::AssertionResult EndsWithZero() {
        std::optional<DWORD> code = tezzo.WaitForExit();
        if (!code)
            return ::testing::AssertionFailure() << "Tezzo.exe did not end";
        if (*code != 0)
            return ::testing::AssertionFailure() << "Tezzo.exe ended with 0x" << std::hex << *code;
        return ::testing::AssertionSuccess();
    }
    bool FocusIn(HWND control) {
        return robot::WaitUntil([&] {
            HWND focused = robot::FocusedControl(form);
            return focused == control || (focused && GetParent(focused) == control);
        });
    }

    robot::Process tezzo;
    HWND form = nullptr;
};

TEST_F(TezzoTest, WindowTextsTabOrderPlacementAndCancel) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(robot::TextOf(form), Title);
    const std::pair<const char*, const char*> texts[] = {
        {"Label1", "実行したいｱﾌﾟﾘｹｰｼｮﾝ名、または開きたいﾌｫﾙﾀﾞやﾄﾞｷｭﾒﾝﾄ名を入力してください。"},
        {"Label2", "名前(&O):"},
        {"ComboBox1", ""},
        {"Button1", "OK(&Y)"},
        {"Button2", "ｷｬﾝｾﾙ(&N)"},
        {"Button3", "参照(&B)..."}};
    for (const auto& [name, text] : texts)
        EXPECT_EQ(robot::TextOf(Control(name)), text) << name;
    EXPECT_TRUE(Control("Image1"));
    EXPECT_NE(GetWindowLongW(form, GWL_STYLE) & WS_MINIMIZEBOX, 0);
    // No stored position: 40 from the left, 36 above the bottom plus the window's height.
    RECT window = robot::ScreenRectOf(form);
    EXPECT_EQ(window.left, 40);
    EXPECT_EQ(window.top, GetSystemMetrics(SM_CYSCREEN) - (window.bottom - window.top) - 36);

    EXPECT_TRUE(FocusIn(Control("ComboBox1")));
    for (const char* next : {"Button1", "Button2", "Button3"}) {
        robot::PressKey(form, VK_TAB);
        EXPECT_TRUE(FocusIn(Control(next))) << next;
    }
    // The label's accelerator leads to the name box.
    robot::PressKey(form, 'O', robot::Alt);
    EXPECT_TRUE(FocusIn(Control("ComboBox1")));
    robot::Screenshot(form, "tezzo-main.bmp");

    robot::Click(Control("Button2"));
    EXPECT_TRUE(EndsWithZero());
    // The dialog's folder and filter are written on every close.
    EXPECT_EQ(SettingString("Tezzo\\History", "OpenDir"), Text());
    EXPECT_EQ(SettingInt("Tezzo\\History", "OpenFilter"), 1u);
    EXPECT_EQ(SettingInt("Tezzo\\Position", "MainLeft"), 40u);
    EXPECT_FALSE(SettingString("Tezzo\\History", "Name1"));
}

TEST_F(TezzoTest, ATypedProgramStartsWithItsSwitchesAndLeadsTheHistory) {
    const Text typed = Runner + " -x \"a b\"";
    Text shouted = typed; // ASCII only
    for (char& c : shouted)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    SetSettingStringRaw("Tezzo\\History", "Name1", Work + "\\other.txt");
    SetSettingStringRaw("Tezzo\\History", "Name2", shouted);
    SetSettingStringRaw("Tezzo\\History", "Name3", "notepad.exe");
    SetSettingStringRaw("Tezzo\\History", "Name5", "after a gap: never read");
    ASSERT_TRUE(Start());
    EXPECT_EQ(ComboItems(Control("ComboBox1")),
              (std::vector<std::wstring>{Widen(Work + "\\other.txt"), Widen(shouted), L"notepad.exe"}));

    ASSERT_TRUE(FocusIn(Control("ComboBox1")));
    robot::TypeText(form, typed);
    ASSERT_TRUE(robot::WaitForText(Control("ComboBox1"), typed));
    robot::PressKey(form, VK_RETURN); // OK is the default button
    EXPECT_TRUE(EndsWithZero());
    ASSERT_TRUE(robot::WaitUntil([] { return !ProbeLog(Runner).empty(); })) << "the program was not started";
    std::wstring log = ProbeLog(Runner);
    EXPECT_NE(log.find(L"runner.exe\" -x \"a b\"|"), std::wstring::npos) << Narrow(log);

    // Written as typed, the other letter case gone, the rest in order.
    EXPECT_EQ(HistoryEntry(1), Widen(typed));
    EXPECT_EQ(HistoryEntry(2), Widen(Work + "\\other.txt"));
    EXPECT_EQ(HistoryEntry(3), L"notepad.exe");
    EXPECT_TRUE(HistoryEntry(4) == L"" || HistoryEntry(4) == L"(missing)") << Narrow(HistoryEntry(4));
}

TEST_F(TezzoTest, EmptyAndUnstartableNamesAreReportedAndTheWindowStays) {
    ASSERT_TRUE(Start());
    robot::Click(Control("Button1"));
    std::optional<robot::MessageBoxInfo> box = robot::WaitForMessageBox(tezzo.id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, Title);
    EXPECT_EQ(box->text, "「名前」を入力してください。");
    ASSERT_TRUE(robot::AnswerMessageBox(box->window, IDOK));
    EXPECT_FALSE(SettingString("Tezzo\\History", "Name1"));

    const std::wstring missing = Widen(Work) + L"\\caf\u00E9 nowhere\\tool.exe";
    robot::SetText(Control("ComboBox1"), missing + L" -a");
    robot::Click(Control("Button1"));
    box = robot::WaitForMessageBox(tezzo.id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, Title);
    std::wstring message = robot::WideMessage(box->window);
    EXPECT_EQ(message.find(missing + L"\n"), 0u) << Narrow(message);
    EXPECT_GT(message.size(), missing.size() + 12) << "no reason given: " << Narrow(message);
    robot::Screenshot(box->window, "tezzo-unstartable.bmp");
    ASSERT_TRUE(robot::AnswerMessageBox(box->window, IDOK));
    // Still open with the text to correct; the history already holds it.
    ASSERT_TRUE(tezzo.running());
    EXPECT_EQ(robot::WideTextOf(Control("ComboBox1")), missing + L" -a");
    EXPECT_EQ(HistoryEntry(1), missing + L" -a");
    EXPECT_EQ(ComboItems(Control("ComboBox1")).front(), missing + L" -a");

    // Corrected: a quoted program followed by its switch.
    robot::SetText(Control("ComboBox1"), "\"" + Runner + "\" -p");
    robot::Click(Control("Button1"));
    EXPECT_TRUE(EndsWithZero());
    ASSERT_TRUE(robot::WaitUntil([] { return !ProbeLog(Runner).empty(); }));
    EXPECT_NE(ProbeLog(Runner).find(L"runner.exe\" -p|"), std::wstring::npos) << Narrow(ProbeLog(Runner));
    EXPECT_EQ(HistoryEntry(2), missing + L" -a");
}

TEST_F(TezzoTest, SplitParametersAreJoinedADropReplacesTheNameAndEscCloses) {
    CreateDirectoryW(Widen(Work + "\\Program Files").c_str(), nullptr);
    MakeFile(Widen(Work + "\\Program Files\\x.txt"));
    const std::wstring dropped = Widen(Work) + L"\\\uD55C\uAE00 \uBA54\uBAA8.txt";
    MakeFile(dropped);

    SetSettingIntRaw("Tezzo\\OtherSet", "EscToClose", 1);
    ASSERT_TRUE(Start(Work + "\\Program Files\\x.txt"));
    EXPECT_EQ(robot::TextOf(Control("ComboBox1")), Work + "\\Program Files\\x.txt");

    ASSERT_TRUE(robot::PostDrop(form, {dropped, Widen(Work + "\\other.txt")}));
    EXPECT_TRUE(robot::WaitUntil([&] { return robot::WideTextOf(Control("ComboBox1")) == dropped; }))
        << Narrow(robot::WideTextOf(Control("ComboBox1")));
    // Esc typed into the name box closes the window when the setting says so.
    ASSERT_TRUE(FocusIn(Control("ComboBox1")));
    robot::PressKey(form, VK_ESCAPE);
    EXPECT_TRUE(EndsWithZero());
}

TEST_F(TezzoTest, TheFileDialogRemembersItsFolderAndFilterOnEveryClose) {
    const Text first = Work + "\\first";
    const std::wstring second = Widen(Work) + L"\\second \u00E9";
    CreateDirectoryW(Widen(first).c_str(), nullptr);
    CreateDirectoryW(second.c_str(), nullptr);
    const std::wstring chosen = second + L"\\\u5F20\u4F1F.dat";
    MakeFile(chosen);
    SetSettingStringRaw("Tezzo\\History", "OpenDir", first);
    SetSettingIntRaw("Tezzo\\History", "OpenFilter", 4);

    ASSERT_TRUE(Start());
    // Cancelled: nothing changes.
    robot::Click(Control("Button3"));
    HWND dialog = WaitForFileDialog(tezzo.id());
    ASSERT_TRUE(dialog);
    HWND filters = GetDlgItem(dialog, FilterCombo);
    std::vector<std::wstring> items = ComboItems(filters);
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items.front(), Widen("実行ﾌｧｲﾙ(*.EXE)"));
    EXPECT_EQ(items.back(), Widen("すべてのﾌｧｲﾙ (*.*)"));
    EXPECT_EQ(SendMessageW(filters, CB_GETCURSEL, 0, 0), 3);
    HWND readOnly = GetDlgItem(dialog, ReadOnlyBox);
    EXPECT_TRUE(!readOnly || !IsWindowVisible(readOnly));
    robot::Screenshot(dialog, "tezzo-browse.bmp");
    robot::Click(GetDlgItem(dialog, IDCANCEL));
    ASSERT_TRUE(robot::WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_EQ(robot::TextOf(Control("ComboBox1")), "");

    // Confirmed: the chosen file becomes the name, its folder the dialog's next start.
    robot::Click(Control("Button3"));
    dialog = WaitForFileDialog(tezzo.id());
    ASSERT_TRUE(dialog);
    robot::SetText(FileNameBox(dialog), chosen);
    robot::Click(GetDlgItem(dialog, IDOK));
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::WideTextOf(Control("ComboBox1")) == chosen; }))
        << Narrow(robot::WideTextOf(Control("ComboBox1")));
    robot::Click(Control("Button2"));
    EXPECT_TRUE(EndsWithZero());
    EXPECT_EQ(WideSetting(L"History", L"OpenDir"), second);
    EXPECT_EQ(SettingInt("Tezzo\\History", "OpenFilter"), 4u);
}

TEST_F(TezzoTest, TheTrayProgramsRunEntriesReachTheRealTezzoAndQuotedPrograms) {
    Installation installation("tezzo");
    CopyFileW(Widen(BuiltProgram("Tezzo.exe")).c_str(), Widen(installation.file("Tezzo.exe")).c_str(), FALSE);
    SetSettingIntRaw("Run", "Visible", 1);
    SetSettingStringRaw("Run", "Name1", "Quoted");
    SetSettingStringRaw("Run", "File1", "\"" + Runner + "\" -x 1");
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));

    ASSERT_TRUE(Choose(lumera, {"実行(&R)", "Quoted"}));
    ASSERT_TRUE(robot::WaitUntil([] { return !ProbeLog(Runner).empty(); })) << "the program was not started";
    EXPECT_NE(ProbeLog(Runner).find(L"runner.exe\" -x 1|"), std::wstring::npos) << Narrow(ProbeLog(Runner));

    ASSERT_TRUE(Choose(lumera, {"実行(&R)", "ﾌｧｲﾙ名を指定して実行(&R)..."}));
    HWND started = robot::WaitForWindow(MainClass);
    ASSERT_TRUE(started);
    HANDLE process =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, robot::ProcessOf(started));
    ASSERT_TRUE(process);
    robot::Click(robot::FindControl(started, "Button2"));
    EXPECT_EQ(WaitForSingleObject(process, robot::DefaultTimeout), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(lumera.Exit());
}

} // namespace
