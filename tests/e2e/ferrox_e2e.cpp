// The move/copy tool driven through its windows: the main window, the progress window and
// the overwrite question, with files whose names code page 932 cannot hold.
#include <windows.h>

#include <shellapi.h>
#include <winioctl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "robot.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/registry.h"

namespace {

const Text Title = "Ferrox (Lumera Deck for Windows)";
const Text MainClass = "TFerroxMainForm";
const wchar_t* const BlockKey = L"Software\\Morivane\\Lumera\\Ferrox";
const std::wstring Root = L"C:\\ferrox-e2e";

// ---- Files and registry ---------------------------------------------------------------

// A file of the given size that takes no room until written (sparse where the disk allows).
void MakeBigFile(const std::wstring& path, LONGLONG size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD returned = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = size;
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
}

void SetFileTime(const std::wstring& path, int dayOffset) {
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME time;
    SYSTEMTIME base = {2024, 5, 0, 1, 12, 0, 0, 0};
    SystemTimeToFileTime(&base, &time);
    ULARGE_INTEGER value = {{time.dwLowDateTime, time.dwHighDateTime}};
    value.QuadPart += static_cast<ULONGLONG>(dayOffset) * 864000000000ULL;
    time = {value.LowPart, value.HighPart};
    ::SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

std::wstring SectionKey(const wchar_t* section) {
    return BlockKey + std::wstring(L"\\") + section;
}

void WriteSetting(const wchar_t* section, const wchar_t* name, const std::wstring& text) {
    RegWriteString(HKEY_CURRENT_USER, SectionKey(section), name, text);
}

void WriteSetting(const wchar_t* section, const wchar_t* name, DWORD value) {
    SetSettingIntRaw("Ferrox\\" + Narrow(section), Narrow(name), value);
}

// The stored text, or "(absent)".
std::wstring ReadSetting(const wchar_t* section, const wchar_t* name) {
    return ReadWideValue(HKEY_CURRENT_USER, Narrow(SectionKey(section)), Narrow(name)).value_or(L"(absent)");
}

bool SectionExists(const wchar_t* section) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// ---- The program --------------------------------------------------------------------------

// Ferrox started with the items as parameters, each quoted where it holds a space.
class Ferrox : public robot::Process {
public:
    explicit Ferrox(const std::vector<std::wstring>& items) {
        std::wstring parameters;
        for (const std::wstring& item : items)
            parameters += (parameters.empty() ? L"" : L" ") +
                          (item.find(L' ') == std::wstring::npos ? item : L"\"" + item + L"\"");
        Start(Widen(BuiltProgram("Ferrox.exe")), parameters);
    }
    // The parameters as they stand.
    Ferrox(const std::wstring& rawParameters, bool) {
        Start(Widen(BuiltProgram("Ferrox.exe")), rawParameters);
    }

    HWND MainWindow() { return robot::WaitForWindow(MainClass, "", id()); }
};

// A radio button of a group by its caption.
HWND Radio(HWND form, const Text& caption) {
    return robot::FindControlByText(form, "Button", caption);
}

// The path box.
HWND PathBox(HWND form) {
    return robot::FindControl(form, "ComboBox1");
}

// The round trip of a message to the window in milliseconds, or -1 when it did not answer
// within the limit.
long RoundTrip(HWND window, UINT limit) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, limit, &result))
        return -1;
    QueryPerformanceCounter(&end);
    return static_cast<long>((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
}

class FerroxTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, BlockKey);
        RemoveFolderTree(Root);
        CreateDirectoryW(Root.c_str(), nullptr);
    }
    void TearDown() override {
        RemoveFolderTree(Root);
        RegDeleteTreeW(HKEY_CURRENT_USER, BlockKey);
    }
    static std::wstring At(const std::wstring& relative) { return Root + L"\\" + relative; }
    static std::wstring Folder(const std::wstring& relative) {
        CreateDirectoryW(At(relative).c_str(), nullptr);
        return At(relative);
    }
};

// ---- Start ------------------------------------------------------------------------------

TEST_F(FerroxTest, WithoutAUsableItemTheVersionBoxShowsAndNothingIsRemembered) {
    for (std::wstring parameters : {std::wstring(), At(L"missing.txt")}) {
        SCOPED_TRACE(Narrow(parameters));
        Ferrox ferrox(parameters, true);
        std::optional<robot::MessageBoxInfo> box = robot::WaitForMessageBox(ferrox.id());
        ASSERT_TRUE(box);
        EXPECT_EQ(box->caption, "ﾊﾞｰｼﾞｮﾝ情報");
        EXPECT_EQ(box->text.substr(0, Title.size()), Title);
        robot::AnswerMessageBox(box->window, IDOK);
        EXPECT_EQ(ferrox.WaitForExit(), 0u);
        EXPECT_FALSE(SectionExists(L"History"));
        EXPECT_FALSE(SectionExists(L"Position"));                 // the off-screen place is not remembered
        EXPECT_EQ(ReadSetting(L"Setup", L"Title"), Widen(Title)); // the frame ran
    }
}

TEST_F(FerroxTest, MainWindowShowsItsControlsInOrderAndTheRememberedOperation) {
    std::wstring item = At(L"caf\u00e9.txt");
    WriteBytes(item, "x");
    WriteSetting(L"History", L"Division", 3);
    WriteSetting(L"History", L"Path1", At(L"Jos\u00e9"));
    WriteSetting(L"History", L"Path2", At(L"second"));
    Ferrox ferrox({item});
    HWND form = ferrox.MainWindow();
    ASSERT_TRUE(form);
    EXPECT_EQ(robot::TextOf(form), Title);

    std::vector<Text> named;
    for (const robot::ControlInfo& control : robot::ListControls(form)) {
        if (!control.name.empty())
            named.push_back(control.name);
    }
    EXPECT_EQ(named, (std::vector<Text>{"Image1", "Label1", "ComboBox1", "RadioGroup1", "Button1", "Button2",
                                        "Button3"}));
    EXPECT_EQ(robot::TextOf(robot::FindControl(form, "RadioGroup1")), "区分");
    EXPECT_EQ(robot::TextOf(robot::FindControl(form, "Label1")), "ﾊﾟｽ(&O):");
    EXPECT_EQ(robot::TextOf(robot::FindControl(form, "Button1")), "OK(&Y)");
    EXPECT_EQ(robot::TextOf(robot::FindControl(form, "Button2")), "ｷｬﾝｾﾙ(&N)");
    EXPECT_EQ(robot::TextOf(robot::FindControl(form, "Button3")), "参照(&B)...");

    // Delete remembered: the destination controls are off until another operation is chosen.
    HWND move = Radio(form, "移動(&M)"), copy = Radio(form, "ｺﾋﾟｰ(&C)"), remove = Radio(form, "削除(&D)");
    ASSERT_TRUE(move && copy && remove);
    EXPECT_TRUE(robot::IsChecked(remove));
    EXPECT_FALSE(robot::IsChecked(move) || robot::IsChecked(copy));
    HWND path = PathBox(form);
    EXPECT_EQ(robot::WideTextOf(path), At(L"Jos\u00e9"));
    EXPECT_EQ(SendMessageW(path, CB_GETCOUNT, 0, 0), 2);
    for (const char* name : {"ComboBox1", "Label1", "Button3"})
        EXPECT_FALSE(IsWindowEnabled(robot::FindControl(form, name))) << name;
    robot::Click(copy);
    EXPECT_TRUE(robot::WaitUntil([&] { return IsWindowEnabled(path) != FALSE; }));
    EXPECT_TRUE(IsWindowEnabled(robot::FindControl(form, "Button3")));
    EXPECT_TRUE(IsWindowEnabled(robot::FindControl(form, "Label1")));
    // "&O" of the label takes the focus to the path box.
    HWND pathEdit = FindWindowExW(PathBox(form), nullptr, L"Edit", nullptr);
    robot::Focus(robot::FindControl(form, "Button2"));
    robot::PressKey(form, 'O', robot::Alt);
    EXPECT_TRUE(robot::WaitUntil([&] { return robot::FocusedControl(form) == pathEdit; }));
    // Three items side by side in one row.
    EXPECT_EQ(robot::ScreenRectOf(move).top, robot::ScreenRectOf(remove).top);
    EXPECT_LT(robot::ScreenRectOf(move).left, robot::ScreenRectOf(copy).left);
    robot::SaveScreenshot("ferrox-main.bmp");

    // Esc without "EscToClose": the window stays.
    robot::PressKey(form, VK_ESCAPE);
    EXPECT_FALSE(robot::WaitUntil([&] { return !IsWindow(form); }, 1000));
    robot::Click(robot::FindControl(form, "Button2"));
    EXPECT_EQ(ferrox.WaitForExit(), 0u);
    EXPECT_EQ(ReadSetting(L"History", L"Path1"), At(L"Jos\u00e9")); // Cancel writes no history
}

TEST_F(FerroxTest, EscClosesTheMainWindowWhenEscToCloseIsSet) {
    std::wstring item = At(L"a.txt");
    WriteBytes(item, "x");
    WriteSetting(L"OtherSet", L"EscToClose", 1);
    Ferrox ferrox({item});
    HWND form = ferrox.MainWindow();
    ASSERT_TRUE(form);
    // The path box has the focus first.
    EXPECT_TRUE(robot::WaitUntil([&] {
        return robot::FocusedControl(form) == FindWindowExW(PathBox(form), nullptr, L"Edit", nullptr);
    }));
    robot::PressKey(form, VK_ESCAPE);
    EXPECT_EQ(ferrox.WaitForExit(), 0u);
}

TEST_F(FerroxTest, ASecondStartRunsAsAnotherCopyByDefault) {
    std::wstring item = At(L"a.txt");
    WriteBytes(item, "x");
    Ferrox first({item});
    ASSERT_TRUE(first.MainWindow());
    Ferrox second({item});
    HWND other = second.MainWindow();
    ASSERT_TRUE(other);
    EXPECT_EQ(robot::FindTopWindows(MainClass).size(), 2u);
    robot::Click(robot::FindControl(other, "Button2"));
    EXPECT_EQ(second.WaitForExit(), 0u);
    EXPECT_TRUE(first.running());
    robot::Click(robot::FindControl(first.MainWindow(), "Button2"));
    EXPECT_EQ(first.WaitForExit(), 0u);
}

TEST_F(FerroxTest, TheMainWindowReturnsToItsRememberedPlace) {
    std::wstring item = At(L"a.txt");
    WriteBytes(item, "x");
    struct Case {
        long top, left; // -1: absent
        long expectedTop, expectedLeft;
    } cases[] = {{200, 300, 200, 300}, {-1, -1, 100, 100}, {0, 5000, 0, 100}};
    for (const Case& test : cases) {
        SCOPED_TRACE(std::to_string(test.top) + "," + std::to_string(test.left));
        RegDeleteTreeW(HKEY_CURRENT_USER, BlockKey);
        if (test.top >= 0) {
            WriteSetting(L"Position", L"MainTop", static_cast<DWORD>(test.top));
            WriteSetting(L"Position", L"MainLeft", static_cast<DWORD>(test.left));
        }
        Ferrox ferrox({item});
        HWND form = ferrox.MainWindow();
        ASSERT_TRUE(form);
        RECT place = robot::ScreenRectOf(form);
        EXPECT_EQ(place.top, test.expectedTop);
        EXPECT_EQ(place.left, test.expectedLeft);
        SetWindowPos(form, nullptr, 120, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        robot::Click(robot::FindControl(form, "Button2"));
        EXPECT_EQ(ferrox.WaitForExit(), 0u);
        auto position = [](const char* name) {
            return robot::ReadRegistryDword(HKEY_CURRENT_USER, "Software\\Morivane\\Lumera\\Ferrox\\Position",
                                            name);
        };
        EXPECT_EQ(position("MainTop"), 140u);
        EXPECT_EQ(position("MainLeft"), 120u);
    }
}

// ---- Destination --------------------------------------------------------------------------

TEST_F(FerroxTest, OkRewritesTheHistoryWithTheNewEntryFirst) {
    std::wstring a = Folder(L"A"), b = Folder(L"B"), c = Folder(L"C");
    std::wstring lowerB = Root + L"\\b";
    struct Case {
        const char* name;
        bool pick; // picked from the list, else typed
        std::wstring chosen;
        std::vector<std::wstring> expected;
    } cases[] = {
        {"B picked", true, b, {b, a, c}},
        {"b typed", false, lowerB, {lowerB, a, c}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        RegDeleteTreeW(HKEY_CURRENT_USER, BlockKey);
        WriteSetting(L"History", L"Path1", a);
        WriteSetting(L"History", L"Path2", b);
        WriteSetting(L"History", L"Path3", c);
        WriteSetting(L"History", L"Division", 2);
        std::wstring item = At(L"\ud55c\uae00 \uba54\ubaa8.txt");
        WriteBytes(item, "memo");
        Ferrox ferrox({item});
        HWND form = ferrox.MainWindow();
        ASSERT_TRUE(form);
        HWND path = PathBox(form);
        if (test.pick)
            SendMessageW(path, CB_SETCURSEL, 1, 0);
        else
            robot::SetText(path, test.chosen);
        EXPECT_EQ(robot::WideTextOf(path), test.chosen);
        robot::Click(robot::FindControl(form, "Button1"));
        EXPECT_EQ(ferrox.WaitForExit(), 0u);
        EXPECT_EQ(ReadFileBytes(b + L"\\\ud55c\uae00 \uba54\ubaa8.txt"), "memo");
        for (size_t i = 0; i < 4; ++i) {
            std::wstring name = L"Path" + std::to_wstring(i + 1);
            std::wstring stored = ReadSetting(L"History", name.c_str());
            if (i < test.expected.size())
                EXPECT_EQ(stored, test.expected[i]) << Narrow(name);
            else
                EXPECT_TRUE(stored == L"(absent)" || stored.empty()) << Narrow(name);
        }
        EXPECT_TRUE(robot::ReadRegistryDword(HKEY_CURRENT_USER, "Software\\Morivane\\Lumera\\Ferrox\\History",
                                             "Division") == 2u);
        RemoveFolderTree(b);
        CreateDirectoryW(b.c_str(), nullptr);
    }
}

TEST_F(FerroxTest, ADroppedFileGivesItsFolderAndADroppedFolderItself) {
    std::wstring item = At(L"a.txt");
    WriteBytes(item, "x");
    std::wstring folder = Folder(L"\u5f20\u4f1f \U0001F600");
    std::wstring file = folder + L"\\caf\u00e9.txt";
    WriteBytes(file, "x");
    std::wstring inner = Folder(L"\u5f20\u4f1f \U0001F600\\Jos\u00e9");
    Ferrox ferrox({item});
    HWND form = ferrox.MainWindow();
    ASSERT_TRUE(form);
    HWND path = PathBox(form);
    ASSERT_TRUE(robot::PostDrop(form, {file, item}));
    EXPECT_TRUE(robot::WaitUntil([&] { return robot::WideTextOf(path) == folder; }))
        << Narrow(robot::WideTextOf(path));
    ASSERT_TRUE(robot::PostDrop(robot::FindControl(form, "Button1"), {inner}));
    EXPECT_TRUE(robot::WaitUntil([&] { return robot::WideTextOf(path) == inner; }))
        << Narrow(robot::WideTextOf(path));
    robot::Click(robot::FindControl(form, "Button2"));
    EXPECT_EQ(ferrox.WaitForExit(), 0u);
}

TEST_F(FerroxTest, AnEmptyDestinationIsRefusedForMoveAndCopyButNotForDelete) {
    std::wstring item = At(L"\u00e9t\u00e9.txt");
    WriteBytes(item, "x");
    Ferrox ferrox({item});
    HWND form = ferrox.MainWindow();
    ASSERT_TRUE(form);
    struct Case {
        const char *operation, *destinationWord;
    } cases[] = {{"移動(&M)", "移動先"}, {"ｺﾋﾟｰ(&C)", "ｺﾋﾟｰ先"}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.operation);
        robot::Click(Radio(form, test.operation));
        robot::SetText(PathBox(form), L"  ");
        robot::Click(robot::FindControl(form, "Button1"));
        std::optional<robot::MessageBoxInfo> box = robot::WaitForMessageBox(ferrox.id());
        ASSERT_TRUE(box);
        EXPECT_EQ(box->caption, Title);
        EXPECT_NE(box->text.find("ﾌｫﾙﾀﾞを入力してください。"), Text::npos) << box->text;
        EXPECT_NE(box->text.find(test.destinationWord), Text::npos) << box->text;
        robot::AnswerMessageBox(box->window, IDOK);
        EXPECT_TRUE(ferrox.running());
        EXPECT_FALSE(SectionExists(L"History"));
    }
    // Delete needs no destination: the work starts at once and the item goes.
    robot::Click(Radio(form, "削除(&D)"));
    robot::SetText(PathBox(form), L"");
    robot::Click(robot::FindControl(form, "Button1"));
    EXPECT_EQ(ferrox.WaitForExit(20000), 0u);
    EXPECT_FALSE(Exists(item));
    EXPECT_EQ(ReadSetting(L"History", L"Path1"), L"");
}

TEST_F(FerroxTest, BrowseAsksForTheDestinationOfTheChosenOperation) {
    std::wstring item = At(L"a.txt");
    WriteBytes(item, "x");
    Ferrox ferrox({item});
    HWND form = ferrox.MainWindow();
    ASSERT_TRUE(form);
    robot::SetText(PathBox(form), Root);
    struct Case {
        const char *operation, *title;
    } cases[] = {{"移動(&M)", "移動先を選択してください。"}, {"ｺﾋﾟｰ(&C)", "ｺﾋﾟｰ先を選択してください。"}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.operation);
        robot::Click(Radio(form, test.operation));
        ASSERT_TRUE(robot::WaitUntil([&] { return robot::IsChecked(Radio(form, test.operation)); }));
        robot::Click(robot::FindControl(form, "Button3"));
        HWND chooser = robot::WaitForWindow("#32770", "", ferrox.id());
        ASSERT_TRUE(chooser);
        EXPECT_TRUE(
            robot::WaitUntil([&] { return robot::FindControlByText(chooser, "Static", test.title); }));
        PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(robot::WaitUntil([&] { return !IsWindow(chooser); }));
        EXPECT_EQ(robot::WideTextOf(PathBox(form)), Root); // cancelled: the path box keeps its text
    }
    robot::Click(robot::FindControl(form, "Button2"));
    EXPECT_EQ(ferrox.WaitForExit(), 0u);
}

// ---- The work -----------------------------------------------------------------------------

TEST_F(FerroxTest, APathSplitAtItsBlankIsMovedWhole) {
    std::wstring folder = Folder(L"My Documents");
    WriteBytes(folder + L"\\caf\u00e9.txt", "inside");
    std::wstring destination = At(L"\u5f20\u4f1f");
    WriteSetting(L"History", L"Division", 1);
    WriteSetting(L"History", L"Path1", destination);
    Ferrox ferrox(folder, true); // unquoted: two parameters
    HWND form = ferrox.MainWindow();
    ASSERT_TRUE(form);
    EXPECT_TRUE(robot::IsChecked(Radio(form, "移動(&M)")));
    robot::Click(robot::FindControl(form, "Button1"));
    EXPECT_EQ(ferrox.WaitForExit(20000), 0u);
    EXPECT_EQ(ReadFileBytes(destination + L"\\My Documents\\caf\u00e9.txt"), "inside");
    EXPECT_FALSE(Exists(folder));
}

TEST_F(FerroxTest, RenamingOnAConflictAsksForTheNameInTheInputBox) {
    std::wstring source = Folder(L"src"), destination = Folder(L"dst");
    WriteBytes(source + L"\\\u00e9t\u00e9.txt", "new");
    WriteBytes(destination + L"\\\u00e9t\u00e9.txt", "old");
    WriteSetting(L"History", L"Division", 2);
    WriteSetting(L"History", L"Path1", destination);
    Ferrox ferrox({source + L"\\\u00e9t\u00e9.txt"});
    HWND form = ferrox.MainWindow();
    ASSERT_TRUE(form);
    robot::Click(robot::FindControl(form, "Button1"));
    HWND question = robot::WaitForWindow("TOWriteBox", "", ferrox.id(), 20000);
    ASSERT_TRUE(question);
    robot::Click(Radio(question, "名前を変更して複写(&N)"));
    ASSERT_TRUE(
        robot::WaitUntil([&] { return robot::IsChecked(Radio(question, "名前を変更して複写(&N)")); }));
    robot::Click(robot::FindControl(question, "Button1"));

    HWND input = robot::WaitForWindow("TInputBox", "", ferrox.id());
    ASSERT_TRUE(input);
    EXPECT_EQ(robot::TextOf(input), "名前を変更して複写");
    EXPECT_EQ(robot::WideTextOf(robot::FindControl(input, "Label1")), L"\u00e9t\u00e9.txt の新しい名前は？");
    HWND edit = robot::FindControl(input, "Edit1");
    EXPECT_EQ(robot::WideTextOf(edit), destination + L"\\\u00e9t\u00e9.txt");
    EXPECT_EQ(robot::TextOf(robot::FindControl(input, "Button1")), "OK");
    EXPECT_EQ(robot::TextOf(robot::FindControl(input, "Button2")), "ｷｬﾝｾﾙ");
    robot::SaveScreenshot("ferrox-input.bmp");
    robot::SetText(edit, destination + L"\\\ud55c\uae00.txt");
    robot::Click(robot::FindControl(input, "Button1"));
    EXPECT_EQ(ferrox.WaitForExit(20000), 0u);
    EXPECT_EQ(ReadFileBytes(destination + L"\\\ud55c\uae00.txt"), "new");
    EXPECT_EQ(ReadFileBytes(destination + L"\\\u00e9t\u00e9.txt"), "old");
}

TEST_F(FerroxTest, DeletingAFolderThatHoldsALinkLeavesWhatTheLinkLeadsTo) {
    std::wstring folder = Folder(L"\u5f20\u4f1f .git"), elsewhere = Folder(L"elsewhere");
    WriteBytes(folder + L"\\.env", "own");
    WriteBytes(elsewhere + L"\\caf\u00e9.txt", "not chosen");
    UnixLink link(folder + L"\\linked", elsewhere);
    if (!link.made())
        GTEST_SKIP() << "no Unix-side links here";
    WriteSetting(L"History", L"Division", 3);
    Ferrox ferrox({folder});
    HWND form = ferrox.MainWindow();
    ASSERT_TRUE(form);
    EXPECT_TRUE(robot::IsChecked(Radio(form, "削除(&D)")));
    robot::Click(robot::FindControl(form, "Button1"));
    EXPECT_EQ(ferrox.WaitForExit(20000), 0u);
    EXPECT_FALSE(Exists(folder));
    EXPECT_EQ(ReadFileBytes(elsewhere + L"\\caf\u00e9.txt"), "not chosen");
}

// The overwrite question of the running program, waited for.
HWND WaitForQuestion(DWORD processId) {
    return robot::WaitForWindow("TOWriteBox", "", processId, 20000);
}

TEST_F(FerroxTest, TheOverwriteQuestionShowsBothFilesAndAppliesItsChoiceToAllThatFollow) {
    std::wstring source = Folder(L"src"), destination = Folder(L"\ud55c\uae00");
    const std::wstring names[] = {L"1 caf\u00e9.txt", L"2 \u5f20\u4f1f.lnk", L"3 plain.txt"};
    for (const std::wstring& name : names) {
        WriteBytes(source + L"\\" + name, "new " + Narrow(name));
        WriteBytes(destination + L"\\" + name, "old");
    }
    SetFileTime(source + L"\\" + names[0], 2); // the source is newer
    SetFileTime(destination + L"\\" + names[0], 0);
    WriteSetting(L"History", L"Division", 2);
    WriteSetting(L"History", L"Path1", destination);
    Ferrox ferrox({source + L"\\" + names[0], source + L"\\" + names[1], source + L"\\" + names[2]});
    HWND form = ferrox.MainWindow();
    ASSERT_TRUE(form);
    robot::Click(robot::FindControl(form, "Button1"));

    // First conflict: answered with Esc (EscToClose absent reads 1 here): the file is skipped.
    HWND question = WaitForQuestion(ferrox.id());
    ASSERT_TRUE(question);
    EXPECT_EQ(robot::TextOf(question), "同名のﾌｧｲﾙが存在します");
    EXPECT_EQ(robot::TextOf(robot::FindControl(question, "Label1")), "ｺﾋﾟｰ元");
    EXPECT_EQ(robot::TextOf(robot::FindControl(question, "Label4")), "ｺﾋﾟｰ先");
    EXPECT_EQ(robot::WideTextOf(robot::FindControl(question, "Label2")), source + L"\\" + names[0]);
    EXPECT_EQ(robot::WideTextOf(robot::FindControl(question, "Label5")), destination + L"\\" + names[0]);
    EXPECT_NE(robot::TextOf(robot::FindControl(question, "Label3")).find(" byte "), Text::npos);
    EXPECT_NE(robot::TextOf(robot::FindControl(question, "Label6")).find("3 byte "), Text::npos);
    EXPECT_EQ(robot::TextOf(robot::FindControl(question, "RadioGroup1")), "複写方法");
    EXPECT_EQ(robot::TextOf(robot::FindControl(question, "Button1")), "OK(&Y)");
    EXPECT_EQ(robot::TextOf(robot::FindControl(question, "Button2")), "ｷｬﾝｾﾙ(&N)");
    EXPECT_EQ(robot::TextOf(robot::FindControl(question, "Button3")), "以降全て(&A)");
    // Not a shortcut; the source is the newer file.
    EXPECT_FALSE(IsWindowVisible(robot::FindControl(question, "Image2")));
    EXPECT_FALSE(IsWindowVisible(robot::FindControl(question, "Image5")));
    EXPECT_TRUE(IsWindowVisible(robot::FindControl(question, "Image3")));
    EXPECT_FALSE(IsWindowVisible(robot::FindControl(question, "Image6")));
    // Four choices in two columns, the first preselected.
    HWND choices[4];
    const char* captions[] = {"新しい時に複写(&T)", "名前を変更して複写(&N)", "上書きで複写(&O)",
                              "複写先の名前を変更(&R)"};
    for (int i = 0; i < 4; ++i) {
        choices[i] = Radio(question, captions[i]);
        ASSERT_TRUE(choices[i]) << captions[i];
    }
    EXPECT_TRUE(robot::IsChecked(choices[0]));
    EXPECT_EQ(robot::FocusedControl(question), choices[0]);
    EXPECT_EQ(robot::ScreenRectOf(choices[0]).left, robot::ScreenRectOf(choices[1]).left);
    EXPECT_EQ(robot::ScreenRectOf(choices[0]).top, robot::ScreenRectOf(choices[2]).top);
    EXPECT_LT(robot::ScreenRectOf(choices[0]).left, robot::ScreenRectOf(choices[2]).left);
    robot::SaveScreenshot("ferrox-overwrite.bmp");
    robot::PressKey(question, VK_ESCAPE);
    ASSERT_TRUE(robot::WaitUntil([&] { return !IsWindow(question); }));

    // Second conflict: a shortcut shows the arrow on both icons; "上書きで複写" for all.
    question = WaitForQuestion(ferrox.id());
    ASSERT_TRUE(question);
    EXPECT_EQ(robot::WideTextOf(robot::FindControl(question, "Label2")), source + L"\\" + names[1]);
    EXPECT_TRUE(IsWindowVisible(robot::FindControl(question, "Image2")));
    EXPECT_TRUE(IsWindowVisible(robot::FindControl(question, "Image5")));
    robot::Click(Radio(question, "上書きで複写(&O)"));
    EXPECT_TRUE(robot::WaitUntil([&] { return robot::IsChecked(Radio(question, "上書きで複写(&O)")); }));
    robot::Click(robot::FindControl(question, "Button3"));

    // The third conflict is overwritten without a question, and the tool ends.
    EXPECT_EQ(ferrox.WaitForExit(20000), 0u);
    EXPECT_EQ(ReadFileBytes(destination + L"\\" + names[0]), "old");
    EXPECT_EQ(ReadFileBytes(destination + L"\\" + names[1]), "new " + Narrow(names[1]));
    EXPECT_EQ(ReadFileBytes(destination + L"\\" + names[2]), "new " + Narrow(names[2]));
    auto top = robot::ReadRegistryDword(HKEY_CURRENT_USER, "Software\\Morivane\\Lumera\\Ferrox\\Position",
                                        "OWriteTop");
    EXPECT_TRUE(top.has_value());
}

TEST_F(FerroxTest, TheQuestionReadsItsEscRuleAtEachPress) {
    std::wstring source = Folder(L"src"), destination = Folder(L"dst");
    WriteBytes(source + L"\\a.txt", "new");
    WriteBytes(destination + L"\\a.txt", "old");
    WriteSetting(L"History", L"Division", 2);
    WriteSetting(L"History", L"Path1", destination);
    WriteSetting(L"OtherSet", L"EscToClose", 0);
    Ferrox ferrox({source + L"\\a.txt"});
    HWND form = ferrox.MainWindow();
    ASSERT_TRUE(form);
    robot::Click(robot::FindControl(form, "Button1"));
    HWND question = WaitForQuestion(ferrox.id());
    ASSERT_TRUE(question);
    robot::PressKey(question, VK_ESCAPE);
    EXPECT_FALSE(robot::WaitUntil([&] { return !IsWindow(question); }, 1000));
    WriteSetting(L"OtherSet", L"EscToClose", 1); // the main window read 0 at start; the question reads now
    robot::PressKey(question, VK_ESCAPE);
    EXPECT_TRUE(robot::WaitUntil([&] { return !IsWindow(question); }));
    EXPECT_EQ(ferrox.WaitForExit(20000), 0u);
    EXPECT_EQ(ReadFileBytes(destination + L"\\a.txt"), "old"); // cancelled: skipped
}

TEST_F(FerroxTest, AMoveQuestionNamesItsSidesAndMarksTheNewerDestination) {
    std::wstring source = Folder(L"src"), destination = Folder(L"dst");
    WriteBytes(source + L"\\a.txt", "new");
    WriteBytes(destination + L"\\a.txt", "old");
    SetFileTime(source + L"\\a.txt", 0);
    SetFileTime(destination + L"\\a.txt", 1);
    WriteSetting(L"History", L"Division", 1);
    WriteSetting(L"History", L"Path1", destination);
    WriteSetting(L"Position", L"OWriteTop", 220);
    WriteSetting(L"Position", L"OWriteLeft", 330);
    Ferrox ferrox({source + L"\\a.txt"});
    HWND form = ferrox.MainWindow();
    ASSERT_TRUE(form);
    robot::Click(robot::FindControl(form, "Button1"));
    HWND question = WaitForQuestion(ferrox.id());
    ASSERT_TRUE(question);
    EXPECT_EQ(robot::TextOf(robot::FindControl(question, "Label1")), "移動元");
    EXPECT_EQ(robot::TextOf(robot::FindControl(question, "Label4")), "移動先");
    EXPECT_FALSE(IsWindowVisible(robot::FindControl(question, "Image3")));
    EXPECT_TRUE(IsWindowVisible(robot::FindControl(question, "Image6")));
    EXPECT_EQ(robot::ScreenRectOf(question).top, 220);
    EXPECT_EQ(robot::ScreenRectOf(question).left, 330);
    robot::Click(robot::FindControl(question, "Button2")); // ｷｬﾝｾﾙ: this file is skipped
    EXPECT_EQ(ferrox.WaitForExit(20000), 0u);
    EXPECT_EQ(ReadFileBytes(source + L"\\a.txt"), "new");
    EXPECT_EQ(ReadFileBytes(destination + L"\\a.txt"), "old");
}

// A long copy: a folder holding one big file, then a folder of small ones.
class LongCopyTest : public FerroxTest {
protected:
    void SetUp() override {
        FerroxTest::SetUp();
        big = Folder(L"big \u00e9t\u00e9");
        MakeBigFile(big + L"\\big.bin", BigSize);
        small = Folder(L"small \ud55c");
        for (int i = 1; i <= 20; ++i)
            WriteBytes(small + L"\\" + std::to_wstring(i) + L".txt", "small");
        destination = Folder(L"to");
        WriteSetting(L"History", L"Division", 2);
        WriteSetting(L"History", L"Path1", destination);
    }
    static constexpr LONGLONG BigSize = 512LL << 20;
    std::wstring big, small, destination;
};

TEST_F(LongCopyTest, TheProgressWindowAnswersWhileABigFileIsCopied) {
    Ferrox ferrox({big, small});
    HWND form = ferrox.MainWindow();
    ASSERT_TRUE(form);
    robot::Click(robot::FindControl(form, "Button1"));
    HWND box = robot::WaitForWindow("TWorkBox", "", ferrox.id());
    ASSERT_TRUE(box);
    HWND label = robot::FindControl(box, "Label1");
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::TextOf(label) == "big.bin"; }));
    EXPECT_EQ(robot::TextOf(box), "ｺﾋﾟｰしています...");
    EXPECT_TRUE(IsWindowVisible(robot::FindControl(box, "Animate1")));
    EXPECT_EQ(robot::TextOf(robot::FindControl(box, "Button1")), "ｷｬﾝｾﾙ");
    robot::SaveScreenshot("ferrox-progress.bmp");
    long worst = 0;
    int samples = 0;
    while (robot::TextOf(label) == "big.bin" && samples < 2000) {
        long trip = RoundTrip(box, 2000);
        ASSERT_GE(trip, 0) << "the progress window did not answer within 2 s";
        worst = std::max(worst, trip);
        ++samples;
        Sleep(20);
    }
    EXPECT_LT(worst, 500) << samples << " samples";
    std::printf("progress window during the big copy: %d round trips, slowest %ld ms\n", samples, worst);
    EXPECT_GT(samples, 0);
    EXPECT_EQ(ferrox.WaitForExit(60000), 0u);
    WIN32_FILE_ATTRIBUTE_DATA copied;
    ASSERT_TRUE(GetFileAttributesExW((destination + L"\\big \u00e9t\u00e9\\big.bin").c_str(),
                                     GetFileExInfoStandard, &copied));
    EXPECT_EQ(copied.nFileSizeLow, static_cast<DWORD>(BigSize));
    EXPECT_EQ(copied.nFileSizeHigh, 0u);
    EXPECT_TRUE(Exists(destination + L"\\small \ud55c\\20.txt"));
    EXPECT_TRUE(
        robot::ReadRegistryDword(HKEY_CURRENT_USER, "Software\\Morivane\\Lumera\\Ferrox\\Position", "WorkTop")
            .has_value());
}

TEST_F(LongCopyTest, AStopAskedDuringTheCopyIsAnsweredAfterTheFileInProgress) {
    struct Case {
        const char* name;
        bool closeBox; // the window's close box instead of its cancel button
        int answer;
    } cases[] = {{"cancel, Yes", false, IDYES}, {"close box, Yes", true, IDYES}, {"cancel, No", false, IDNO}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        RemoveFolderTree(destination);
        CreateDirectoryW(destination.c_str(), nullptr);
        Ferrox ferrox({big, small});
        HWND form = ferrox.MainWindow();
        ASSERT_TRUE(form);
        robot::Click(robot::FindControl(form, "Button1"));
        HWND box = robot::WaitForWindow("TWorkBox", "", ferrox.id());
        ASSERT_TRUE(box);
        ASSERT_TRUE(
            robot::WaitUntil([&] { return robot::TextOf(robot::FindControl(box, "Label1")) == "big.bin"; }));
        // The request is taken while the big file is still being copied; the question comes
        // once that file is complete.
        if (test.closeBox)
            PostMessageW(box, WM_CLOSE, 0, 0);
        else
            robot::Click(robot::FindControl(box, "Button1"));
        std::optional<robot::MessageBoxInfo> stop = robot::WaitForMessageBox(ferrox.id(), 60000);
        ASSERT_TRUE(stop);
        EXPECT_EQ(stop->caption, Title);
        EXPECT_EQ(stop->text, "作業を中止しますか？");
        WIN32_FILE_ATTRIBUTE_DATA copied = {};
        GetFileAttributesExW((destination + L"\\big \u00e9t\u00e9\\big.bin").c_str(), GetFileExInfoStandard,
                             &copied);
        EXPECT_EQ(copied.nFileSizeLow, static_cast<DWORD>(BigSize));
        robot::AnswerMessageBox(stop->window, test.answer);
        if (test.answer == IDNO) {
            // The work goes on to its end, and the tool ends with it.
            EXPECT_EQ(ferrox.WaitForExit(60000), 0u);
            EXPECT_TRUE(Exists(destination + L"\\small \ud55c\\20.txt"));
            continue;
        }
        EXPECT_TRUE(robot::WaitUntil([&] { return !IsWindow(box); }, 20000));
        EXPECT_TRUE(ferrox.running());
        EXPECT_TRUE(IsWindowEnabled(form));
        EXPECT_FALSE(Exists(destination + L"\\small \ud55c")); // stopped before the next item
        robot::Click(robot::FindControl(form, "Button2"));
        EXPECT_EQ(ferrox.WaitForExit(), 0u);
    }
}

} // namespace
