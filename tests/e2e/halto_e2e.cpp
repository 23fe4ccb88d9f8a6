// Halto ends the session without ending the test run: a window of this test process
// records the session-end requests that reach it and vetoes them, so the session end
// stops there. Under Wine the request is wineboot asking every window; which end was
// asked for shows in wineboot's command line (a restart has no "--shutdown").
#include <windows.h>

#include <winternl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "lumera_support.h"

using namespace lumera_e2e;

namespace {

const Text HaltoKey = "Software\\Morivane\\Lumera\\Halto";

std::optional<DWORD> HaltoInt(const Text& section, const Text& name) {
    return robot::ReadRegistryDword(HKEY_CURRENT_USER, HaltoKey + "\\" + section, name);
}

void SetHaltoInt(const Text& section, const Text& name, DWORD value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Widen(HaltoKey + "\\" + section).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExW(key, Widen(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
        RegCloseKey(key);
    }
}

// Another process's command line, read from its process parameters.
std::wstring CommandLineOf(DWORD processId) {
    using Query = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process || !query)
        return L"";
    std::wstring result;
    PROCESS_BASIC_INFORMATION basic = {};
    PEB peb = {};
    RTL_USER_PROCESS_PARAMETERS parameters = {};
    SIZE_T read = 0;
    if (query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) == 0 &&
        ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, &read) &&
        ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, &read)) {
        result.resize(parameters.CommandLine.Length / sizeof(wchar_t));
        ReadProcessMemory(process, parameters.CommandLine.Buffer, result.data(),
                          parameters.CommandLine.Length, &read);
    }
    CloseHandle(process);
    return result;
}

// A top-level window on its own thread that answers FALSE to WM_QUERYENDSESSION and notes,
// at that moment, who asks (the running wineboot, its parent and command line), whether a
// Halto window is still visible and whether Halto's position was already written.
class SessionProbe {
public:
    struct Request {
        UINT message = 0;
        LPARAM lParam = 0;
        DWORD askerParent = 0;
        std::wstring askerCommandLine;
        bool haltoVisible = false;
        bool positionWritten = false;
    };

    SessionProbe() {
        thread_ = std::thread([this] { Run(); });
        robot::WaitUntil([this] { return window_.load() != nullptr; });
    }
    ~SessionProbe() {
        if (HWND window = window_.load())
            PostMessageW(window, WM_CLOSE, 0, 0);
        thread_.join();
    }

    std::vector<Request> requests() {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }
    std::optional<Request> WaitForQuery(DWORD timeout = 15000) {
        if (!robot::WaitUntil([&] { return !requests().empty(); }, timeout))
            return std::nullopt;
        return requests().front();
    }

private:
    static Request Observe(UINT message, LPARAM lParam) {
        Request request;
        request.message = message;
        request.lParam = lParam;
        for (const robot::RunningProcess& process : robot::RunningProcesses()) {
            if (_wcsicmp(process.exeName.c_str(), L"wineboot.exe") == 0) {
                request.askerParent = process.parent;
                request.askerCommandLine = CommandLineOf(process.id);
            }
        }
        for (HWND halto : robot::FindTopWindows("THaltoMainForm"))
            request.haltoVisible = request.haltoVisible || IsWindowVisible(halto);
        request.positionWritten = HaltoInt("Position", "MainTop").has_value();
        return request;
    }

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<SessionProbe*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        switch (message) {
        case WM_QUERYENDSESSION:
        case WM_ENDSESSION: {
            Request request = Observe(message, lParam);
            std::lock_guard<std::mutex> lock(self->mutex_);
            self->requests_.push_back(request);
            return message == WM_QUERYENDSESSION ? FALSE : 0;
        }
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    void Run() {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"HaltoSessionProbe";
        RegisterClassW(&windowClass);
        HWND window = CreateWindowExW(0, L"HaltoSessionProbe", L"probe", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        window_ = window;
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    std::thread thread_;
    std::atomic<HWND> window_{nullptr};
    std::mutex mutex_;
    std::vector<Request> requests_;
};

bool AsksForRestart(const std::wstring& commandLine) {
    return commandLine.find(L"--shutdown") == std::wstring::npos;
}

bool IsForced(const std::wstring& commandLine) {
    return commandLine.find(L"--force") != std::wstring::npos ||
           commandLine.find(L"--kill") != std::wstring::npos;
}

class HaltoE2E : public ::testing::Test {
protected:
    void SetUp() override { ResetSettings(); }
    void TearDown() override { ResetSettings(); }

    // Starts Halto in asking mode and waits for its window.
    HWND StartAsking(const Text& arguments = "") {
        if (!halto.Start(BuiltProgram("Halto.exe"), arguments))
            return nullptr;
        return robot::WaitForWindow("THaltoMainForm", "Halto (Lumera Deck for Windows)", halto.id());
    }
    HWND Control(HWND form, const Text& name) { return robot::FindControl(form, name); }

    ::testing::AssertionResult EndedWithZero() {
        auto code = halto.WaitForExit(15000);
        if (!code)
            return ::testing::AssertionFailure() << "Halto did not end";
        if (*code != 0)
            return ::testing::AssertionFailure() << "Halto ended with 0x" << std::hex << *code;
        return ::testing::AssertionSuccess();
    }

    // No session end reaches the probe within a while after Halto ended.
    bool NoRequest() { return !probe.WaitForQuery(1500); }

    SessionProbe probe;
    robot::Process halto;
};

TEST_F(HaltoE2E, ASwitchInAnyCaseActsAtOnceWithItsRequestAfterThePosition) {
    struct Case {
        const char* argument;
        bool restart;
    } cases[] = {{"-R", true}, {"-s", false}, {"-l", false}, {"-L", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument);
        ResetSettings();
        SessionProbe probe;
        robot::Process halto;
        ASSERT_TRUE(halto.Start(BuiltProgram("Halto.exe"), c.argument));
        auto code = halto.WaitForExit(15000);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0u);

        auto request = probe.WaitForQuery();
        ASSERT_TRUE(request.has_value());
        EXPECT_EQ(request->message, static_cast<UINT>(WM_QUERYENDSESSION));
        EXPECT_EQ(request->askerParent, halto.id());
        EXPECT_EQ(AsksForRestart(request->askerCommandLine), c.restart) << Narrow(request->askerCommandLine);
        EXPECT_FALSE(IsForced(request->askerCommandLine)) << Narrow(request->askerCommandLine);
        EXPECT_TRUE(request->positionWritten);
        EXPECT_FALSE(request->haltoVisible);
        // Vetoed: the session goes on, and the probe is told so.
        ASSERT_TRUE(robot::WaitUntil([&] { return probe.requests().size() >= 2; }));
        EXPECT_EQ(probe.requests()[1].message, static_cast<UINT>(WM_ENDSESSION));
        // A switch start never changes the remembered choice.
        EXPECT_FALSE(HaltoInt("History", "Position").has_value());
    }
}

TEST_F(HaltoE2E, AnyOtherFirstParameterAsksAndNoEndsTheToolWithoutARequest) {
    for (const char* argument : {"/S", "S", "-SX", ""}) {
        SCOPED_TRACE(argument);
        ResetSettings();
        SessionProbe probe;
        robot::Process halto;
        ASSERT_TRUE(halto.Start(BuiltProgram("Halto.exe"), argument));
        HWND form = robot::WaitForWindow("THaltoMainForm", "Halto (Lumera Deck for Windows)", halto.id());
        ASSERT_TRUE(form);
        EXPECT_FALSE(IsWindowVisible(robot::FindControl(form, "Panel1")));
        EXPECT_TRUE(robot::IsChecked(robot::FindControl(form, "RadioButton1")));
        EXPECT_FALSE(robot::IsChecked(robot::FindControl(form, "RadioButton2")));
        EXPECT_EQ(robot::TextOf(robot::FindControl(form, "Label2")), "次の方法で終了してもよろしいですか？");
        if (*argument == '\0')
            robot::SaveScreenshot("halto-asking.bmp");
        robot::Click(robot::FindControl(form, "Button2"));
        auto code = halto.WaitForExit();
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0u);
        EXPECT_FALSE(probe.WaitForQuery(1500));
        EXPECT_TRUE(HaltoInt("Position", "MainTop").has_value());
        EXPECT_FALSE(HaltoInt("History", "Position").has_value());
    }
}

TEST_F(HaltoE2E, TheRememberedChoiceIsPreselectedAndAConfirmationRemembersAndRequests) {
    struct Case {
        DWORD stored;
        const char* preselected;
        DWORD confirmed;
        bool restart;
    } cases[] = {{3, "RadioButton3", 3, false}, {2, "RadioButton2", 2, false}, {7, "RadioButton1", 1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        ResetSettings();
        SetHaltoInt("History", "Position", c.stored);
        SessionProbe probe;
        robot::Process halto;
        ASSERT_TRUE(halto.Start(BuiltProgram("Halto.exe")));
        HWND form = robot::WaitForWindow("THaltoMainForm", "", halto.id());
        ASSERT_TRUE(form);
        for (const char* choice : {"RadioButton1", "RadioButton2", "RadioButton3"})
            EXPECT_EQ(robot::IsChecked(robot::FindControl(form, choice)), Text(choice) == c.preselected)
                << choice;
        robot::Click(robot::FindControl(form, "Button1"));
        auto code = halto.WaitForExit(15000);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0u);
        auto request = probe.WaitForQuery();
        ASSERT_TRUE(request.has_value());
        EXPECT_EQ(request->askerParent, halto.id());
        EXPECT_EQ(AsksForRestart(request->askerCommandLine), c.restart) << Narrow(request->askerCommandLine);
        EXPECT_EQ(HaltoInt("History", "Position"), c.confirmed);
    }
}

TEST_F(HaltoE2E, ADoubleClickOnAChoiceConfirmsIt) {
    HWND form = StartAsking();
    ASSERT_TRUE(form);
    HWND logOff = Control(form, "RadioButton3");
    ASSERT_TRUE(robot::ClickMouse(logOff));
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::IsChecked(logOff); }));
    // The second click of a double click.
    RECT area;
    GetClientRect(logOff, &area);
    PostMessageW(logOff, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(area.right / 4, area.bottom / 2));
    EXPECT_TRUE(EndedWithZero());
    auto request = probe.WaitForQuery();
    ASSERT_TRUE(request.has_value());
    EXPECT_FALSE(AsksForRestart(request->askerCommandLine));
    EXPECT_FALSE(request->haltoVisible);
    EXPECT_EQ(HaltoInt("History", "Position"), 3u);
}

TEST_F(HaltoE2E, EscClosesOnlyWhenAllowedAndThenAsksForNothing) {
    HWND form = StartAsking();
    ASSERT_TRUE(form);
    robot::PressKey(form, VK_ESCAPE);
    EXPECT_FALSE(robot::WaitUntil([&] { return !halto.running(); }, 1500));
    robot::Click(Control(form, "Button2"));
    EXPECT_TRUE(EndedWithZero());

    SetHaltoInt("OtherSet", "EscToClose", 1);
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(HaltoKey + "\\Position").c_str());
    robot::Process again;
    ASSERT_TRUE(again.Start(BuiltProgram("Halto.exe")));
    form = robot::WaitForWindow("THaltoMainForm", "", again.id());
    ASSERT_TRUE(form);
    robot::PressKey(form, VK_ESCAPE);
    auto code = again.WaitForExit();
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(NoRequest());
    EXPECT_TRUE(HaltoInt("Position", "MainTop").has_value());
    EXPECT_FALSE(HaltoInt("History", "Position").has_value());
}

// A second start, even with a switch, only brings the asking copy forward: nothing ends.
TEST_F(HaltoE2E, ASecondStartHandsOverWithoutActing) {
    HWND form = StartAsking();
    ASSERT_TRUE(form);
    robot::Process second;
    ASSERT_TRUE(second.Start(BuiltProgram("Halto.exe"), "-R"));
    auto code = second.WaitForExit();
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(robot::FindTopWindows("THaltoMainForm").size(), 1u);
    EXPECT_TRUE(NoRequest());
    robot::Click(Control(form, "Button2"));
    EXPECT_TRUE(EndedWithZero());
}

TEST_F(HaltoE2E, TheWindowComesBackWhereItWasLeft) {
    SetHaltoInt("Position", "MainTop", 120);
    SetHaltoInt("Position", "MainLeft", 90);
    HWND form = StartAsking();
    ASSERT_TRUE(form);
    RECT placed = robot::ScreenRectOf(form);
    EXPECT_EQ(placed.top, 120);
    EXPECT_EQ(placed.left, 90);
    robot::Click(Control(form, "Button2"));
    EXPECT_TRUE(EndedWithZero());
}

// The tray program's shutdown entries start the real Halto from its own folder.
class HaltoFromTheTray : public HaltoE2E {
protected:
    void SetUp() override {
        HaltoE2E::SetUp();
        CopyFileW(Widen(BuiltProgram("Halto.exe")).c_str(), Widen(installation.file("Halto.exe")).c_str(),
                  FALSE);
        SetSettingIntRaw("OtherSet", "SplashVisible", 0);
    }
    Installation installation{"halto"};
};

TEST_F(HaltoFromTheTray, RestartReachesHaltoWithItsSwitch) {
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    ASSERT_TRUE(Choose(lumera, {"Windowsの終了(&U)", "再起動(&R)"}));
    auto request = probe.WaitForQuery();
    ASSERT_TRUE(request.has_value());
    EXPECT_TRUE(AsksForRestart(request->askerCommandLine)) << Narrow(request->askerCommandLine);
    // The Halto that asked is the one beside the tray program.
    auto exePath = robot::ReadRegistryString(HKEY_CURRENT_USER, HaltoKey + "\\Setup", "ExePath");
    ASSERT_TRUE(exePath.has_value());
    EXPECT_EQ(*exePath, installation.file("Halto.exe"));
    // The session end may have reached the tray program before the probe vetoed it.
    if (lumera.process.running())
        EXPECT_TRUE(lumera.Exit());
    else
        EXPECT_TRUE(lumera.ExpectExitCodeZero());
}

TEST_F(HaltoFromTheTray, TheChoiceEntryOpensHaltoAsking) {
    RunningLumera lumera;
    ASSERT_TRUE(lumera.Start(installation));
    ASSERT_TRUE(Choose(lumera, {"Windowsの終了(&U)", "選択(&U)"}));
    HWND form = robot::WaitForWindow("THaltoMainForm", "Halto (Lumera Deck for Windows)");
    ASSERT_TRUE(form);
    HANDLE process =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, robot::ProcessOf(form));
    ASSERT_TRUE(process);
    EXPECT_FALSE(IsWindowVisible(robot::FindControl(form, "Panel1")));
    robot::Click(robot::FindControl(form, "Button2"));
    EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(NoRequest());
    EXPECT_TRUE(lumera.Exit());
}

} // namespace
