// Pinnet: desktop shortcuts for the items on its command line, one message per failure,
// the version box when nothing was usable, and the single-instance rule.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "robot.h"
#include "test_support.h"
#include "win/encoding.h"

namespace {

const Text Title = "Pinnet (Lumera Deck for Windows)";
const std::wstring Suffix = Widen("へのｼｮｰﾄｶｯﾄ.lnk");
const std::wstring Work = L"C:\\pinnet-e2e";

// The desktop the tests give Pinnet: a folder of their own whose name goes beyond CP932,
// so the user's real desktop is never touched.
const std::wstring Desktop = Work + L"\\Desk caf\u00E9";

std::wstring LinkOnDesktop(const std::wstring& name) {
    return Desktop + L"\\" + name + Suffix;
}

// A shortcut's target and working folder, as the shell's link object reads them.
struct LinkFacts {
    std::wstring target, folder;
};

std::optional<LinkFacts> ReadLink(const std::wstring& path) {
    std::optional<LinkFacts> facts;
    CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            // The item list holds the target whole; Wine's stored plain path is narrowed.
            wchar_t target[MAX_PATH] = L"", folder[MAX_PATH] = L"";
            PIDLIST_ABSOLUTE items = nullptr;
            if (SUCCEEDED(file->Load(path.c_str(), STGM_READ)) && SUCCEEDED(link->GetIDList(&items)) &&
                items && SHGetPathFromIDListW(items, target) &&
                SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH)))
                facts = LinkFacts{target, folder};
            CoTaskMemFree(items);
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return facts;
}

// Pinnet started with parameters as UTF-16 (names beyond CP932 included), each quoted or
// not as given; ended with the test whatever happens.
class Pinnet : public robot::Process {
public:
    bool Start(const std::wstring& parameters) {
        return robot::Process::Start(Widen(BuiltProgram("Pinnet.exe")), parameters);
    }
};

class PinnetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        DeleteTree(Work);
        CreateDirectoryW(Work.c_str(), nullptr);
        CreateDirectoryW(Desktop.c_str(), nullptr);
        desktop_.emplace("Desktop", Desktop);
        // Wine's menu builder, which would mirror desktop links into the Unix home, stays off.
        wchar_t overrides[1024] = L"";
        GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides, 1024);
        savedOverrides_ = overrides;
        std::wstring withoutMenus =
            (savedOverrides_.empty() ? L"" : savedOverrides_ + L";") + L"winemenubuilder.exe=d";
        SetEnvironmentVariableW(L"WINEDLLOVERRIDES", withoutMenus.c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"WINEDLLOVERRIDES", savedOverrides_.c_str());
        desktop_.reset();
        DeleteTree(Work);
        ResetSettings();
    }
    // The desktop shortcut the test expects for the name; removed afterwards.
    std::wstring Expect(const std::wstring& name) { return LinkOnDesktop(name); }

private:
    std::optional<ShellFolderOverride> desktop_;
    std::wstring savedOverrides_;
};

TEST_F(PinnetTest, ShortcutsForWideNamesSplitFoldersAndSeveralItems) {
    const std::wstring cafe = Work + L"\\caf\u00E9.txt";
    const std::wstring memo = Work + L"\\\uD55C\uAE00 \uBA54\uBAA8.txt";
    const std::wstring docs = Work + L"\\My Docs";
    MakeFile(cafe);
    MakeFile(memo);
    CreateDirectoryW(docs.c_str(), nullptr);
    const std::wstring cafeLink = Expect(L"caf\u00E9.txt");
    const std::wstring memoLink = Expect(L"\uD55C\uAE00 \uBA54\uBAA8.txt");
    const std::wstring docsLink = Expect(L"My Docs");

    // The folder arrives split at its blank, the memo quoted, and a trailing word names nothing.
    Pinnet pinnet;
    ASSERT_TRUE(pinnet.Start(cafe + L" " + Work + L"\\My Docs \"" + memo + L"\" nothing"));
    ASSERT_EQ(pinnet.WaitForExit(), 0u);
    EXPECT_TRUE(robot::FindTopWindows("#32770", "", pinnet.id()).empty());
    for (const auto& [link, target] : {std::pair{cafeLink, cafe}, {memoLink, memo}, {docsLink, docs}}) {
        std::optional<LinkFacts> facts = ReadLink(link);
        ASSERT_TRUE(facts) << Narrow(link);
        EXPECT_EQ(facts->target, target);
        EXPECT_EQ(facts->folder, Work);
    }
}

TEST_F(PinnetTest, AFailureGivesOneMessageAndThePassGoesOn) {
    const std::wstring blocked = Work + L"\\blocked \u00E9.txt";
    const std::wstring fine = Work + L"\\fine.txt";
    MakeFile(blocked);
    MakeFile(fine);
    // A folder where the shortcut file would go: the shell cannot save the link there.
    const std::wstring blockedLink = Expect(L"blocked \u00E9.txt");
    ASSERT_TRUE(CreateDirectoryW(blockedLink.c_str(), nullptr));
    const std::wstring fineLink = Expect(L"fine.txt");

    Pinnet pinnet;
    ASSERT_TRUE(pinnet.Start(L"\"" + blocked + L"\" \"" + fine + L"\""));
    std::optional<robot::MessageBoxInfo> box = robot::WaitForMessageBox(pinnet.id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, Title);
    EXPECT_EQ(robot::WideMessage(box->window), blocked + L"\n" + Widen("ｼｮｰﾄｶｯﾄの作成に失敗しました。"));
    EXPECT_TRUE(robot::AnswerMessageBox(box->window, IDOK));
    ASSERT_EQ(pinnet.WaitForExit(), 0u);
    EXPECT_TRUE(Exists(fineLink));
}

TEST_F(PinnetTest, NothingUsableShowsTheVersionBox) {
    for (const std::wstring& parameters : {std::wstring(), Work + L"\\none.txt"}) {
        Pinnet pinnet;
        ASSERT_TRUE(pinnet.Start(parameters));
        std::optional<robot::MessageBoxInfo> box = robot::WaitForMessageBox(pinnet.id());
        ASSERT_TRUE(box) << Narrow(parameters);
        EXPECT_EQ(box->caption, "ﾊﾞｰｼﾞｮﾝ情報");
        EXPECT_EQ(box->text.substr(0, Title.size() + 1), Title + "\n");
        EXPECT_TRUE(robot::AnswerMessageBox(box->window, IDOK));
        EXPECT_EQ(pinnet.WaitForExit(), 0u);
    }
}

TEST_F(PinnetTest, ASecondCopyEndsAtOnceWhenOnlyOneMayRun) {
    const std::wstring file = Work + L"\\second.txt";
    MakeFile(file);
    const std::wstring link = Expect(L"second.txt");
    SetSettingIntRaw("Pinnet\\OtherSet", "2ndStart", 0);
    {
        // A running copy holds the mutex.
        HANDLE running = CreateMutexW(nullptr, FALSE, L"MorivanePinnet");
        Pinnet pinnet;
        ASSERT_TRUE(pinnet.Start(file));
        EXPECT_EQ(pinnet.WaitForExit(), 0u);
        CloseHandle(running);
    }
    EXPECT_FALSE(Exists(link));
    EXPECT_FALSE(
        robot::ReadRegistryString(HKEY_CURRENT_USER, "Software\\Morivane\\Lumera\\Pinnet\\Setup", "Title"));

    // Several copies by default.
    ResetSettings();
    HANDLE running = CreateMutexW(nullptr, FALSE, L"MorivanePinnet");
    Pinnet pinnet;
    ASSERT_TRUE(pinnet.Start(file));
    EXPECT_EQ(pinnet.WaitForExit(), 0u);
    CloseHandle(running);
    EXPECT_TRUE(Exists(link));
}

} // namespace
