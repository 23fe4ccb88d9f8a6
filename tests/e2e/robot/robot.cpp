// The robot's windows, input, message boxes, tray, registry, files and screenshots. The
// pop-up menus are in menus.cpp.
#include "robot.h"

#include <commctrl.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>

#include "win/encoding.h"
#include "test_support.h"
#include "win/files.h"

namespace robot {

namespace {

constexpr DWORD PollInterval = 20;
constexpr DWORD SendTimeout = 5000;

// SendMessage that gives up on a hung program instead of hanging the test.
LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, SendTimeout, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

struct TopSearch {
    std::vector<HWND>* found;
    const std::wstring* className;
    const std::wstring* caption;
    DWORD processId;
};

BOOL CALLBACK CollectTop(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<TopSearch*>(param);
    if (search.processId != 0 && ProcessOf(window) != search.processId)
        return TRUE;
    if (!search.className->empty()) {
        wchar_t className[256] = {};
        GetClassNameW(window, className, 256);
        if (*search.className != className)
            return TRUE;
    }
    if (!search.caption->empty()) {
        wchar_t caption[512] = {};
        GetWindowTextW(window, caption, 512);
        if (*search.caption != caption)
            return TRUE;
    }
    search.found->push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

// Absolute SendInput coordinates address 65536 steps across the screen; round up so the
// position maps back into the intended pixel.
LONG Normalized(LONG position, int size) {
    if (size <= 0)
        return 0;
    return static_cast<LONG>((static_cast<std::int64_t>(position) * 65536 + size - 1) / size);
}

INPUT MouseInput(DWORD flags, POINT at) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = Normalized(at.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = Normalized(at.y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return input;
}

bool IsExtendedKey(WORD key) {
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_INSERT:
    case VK_DELETE:
    case VK_RMENU:
    case VK_RCONTROL:
        return true;
    default:
        return false;
    }
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(key) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

bool Send(std::vector<INPUT>& inputs) {
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

// Keys go to the foreground thread: make sure that is the target's thread.
bool PrepareKeyboard(HWND target) {
    HWND foreground = GetForegroundWindow();
    if (foreground &&
        GetWindowThreadProcessId(foreground, nullptr) == GetWindowThreadProcessId(target, nullptr))
        return true;
    return BringToFront(target);
}

// Memory inside another process, for the messages whose argument points at a structure:
// common-control messages are not carried across processes.
class RemoteBuffer {
public:
    RemoteBuffer(DWORD processId, size_t size) : size_(size) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_)
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool valid() const { return address_ != nullptr; }
    char* address() const { return static_cast<char*>(address_); }
    bool Write(size_t offset, const void* data, size_t size) {
        return offset + size <= size_ &&
               WriteProcessMemory(process_, address() + offset, data, size, nullptr);
    }
    bool Read(size_t offset, void* data, size_t size) const {
        return offset + size <= size_ && ReadProcessMemory(process_, address() + offset, data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
};

// Wine hands Unix paths through the environment unchanged; the Windows side needs the
// drive that maps them.
std::wstring WindowsPathOf(const std::wstring& path) {
    if (path.empty() || path[0] != L'/')
        return path;
    using ToDos = WCHAR*(CDECL*)(const char*);
    auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (toDos) {
        int size = WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string unixPath(static_cast<size_t>(size), '\0');
        WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, unixPath.data(), size, nullptr, nullptr);
        if (WCHAR* dos = toDos(unixPath.c_str())) {
            std::wstring result = dos;
            HeapFree(GetProcessHeap(), 0, dos);
            return result;
        }
    }
    std::wstring result = L"Z:" + path;
    for (wchar_t& c : result) {
        if (c == L'/')
            c = L'\\';
    }
    return result;
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout) {
    ULONGLONG deadline = GetTickCount64() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        // Keeps the robot's own queue empty while it waits (it owns no windows, but input
        // attachment and hooks can send it messages).
        MsgWaitForMultipleObjects(0, nullptr, FALSE, PollInterval, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
}

Text ProgramFolder() {
    wchar_t path[MAX_PATH * 2] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    std::wstring folder(path, length);
    size_t slash = folder.find_last_of(L"\\/");
    folder = slash == std::wstring::npos ? L".\\" : folder.substr(0, slash + 1);
    return Narrow(folder);
}

// ---- Processes ---------------------------------------------------------------------------

Process::~Process() {
    if (!process_)
        return;
    if (running()) {
        CloseWindows();
        if (WaitForSingleObject(process_, 3000) != WAIT_OBJECT_0)
            Terminate();
    }
    CloseHandle(process_);
}

bool Process::Start(const Text& path, const Text& arguments, const Text& workingFolder, int showCommand) {
    return Start(Widen(path), Widen(arguments), Widen(workingFolder), showCommand);
}

bool Process::Start(const std::wstring& path, const std::wstring& arguments,
                    const std::wstring& workingFolder, int showCommand) {
    if (process_)
        return false;
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (showCommand >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
    }
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    return true;
}

std::vector<RunningProcess> RunningProcesses() {
    std::vector<RunningProcess> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return found;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        found.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
    CloseHandle(snapshot);
    return found;
}

bool Process::running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitForExit(DWORD timeout) {
    if (!process_ || WaitForSingleObject(process_, timeout) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void Process::CloseWindows() {
    for (HWND window : FindTopWindows("", "", id_)) {
        if (IsWindowVisible(window))
            PostMessageW(window, WM_CLOSE, 0, 0);
    }
}

void Process::Terminate() {
    if (running()) {
        TerminateProcess(process_, 255);
        WaitForSingleObject(process_, 5000);
    }
}

// ---- Windows and controls ----------------------------------------------------------------

Text ClassOf(HWND window) {
    wchar_t className[256] = {};
    GetClassNameW(window, className, 256);
    return Narrow(className);
}

Text TextOf(HWND window) {
    auto length = SendWithTimeout(window, WM_GETTEXTLENGTH);
    std::wstring buffer(static_cast<size_t>(length) + 64, L'\0');
    SendWithTimeout(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return Narrow(buffer.c_str());
}

bool SetText(HWND window, const Text& text) {
    return SetText(window, Widen(text));
}

std::wstring WideTextOf(HWND window) {
    auto length = SendWithTimeout(window, WM_GETTEXTLENGTH);
    std::wstring buffer(static_cast<size_t>(length) + 64, L'\0');
    SendWithTimeout(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.c_str();
}

bool SetText(HWND window, const std::wstring& text) {
    return SendWithTimeout(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

Text NameOf(HWND window) {
    auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(window, L"Lumera.Name")));
    wchar_t name[256] = {};
    if (atom == 0 || GlobalGetAtomNameW(atom, name, 256) == 0)
        return Text();
    return Narrow(name);
}

DWORD ProcessOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

RECT ScreenRectOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

std::vector<HWND> FindTopWindows(const Text& className, const Text& caption, DWORD processId) {
    std::vector<HWND> found;
    std::wstring wideClass = Widen(className), wideCaption = Widen(caption);
    TopSearch search = {&found, &wideClass, &wideCaption, processId};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
    return found;
}

HWND WaitForWindow(const Text& className, const Text& caption, DWORD processId, DWORD timeout) {
    HWND result = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : FindTopWindows(className, caption, processId)) {
                if (IsWindowVisible(window)) {
                    result = window;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return result;
}

std::vector<ControlInfo> ListControls(HWND parent) {
    std::vector<ControlInfo> controls;
    for (HWND window : Descendants(parent)) {
        ControlInfo info;
        info.window = window;
        info.className = ClassOf(window);
        info.text = TextOf(window);
        info.name = NameOf(window);
        info.id = GetDlgCtrlID(window);
        info.visible = IsWindowVisible(window) != FALSE;
        info.enabled = IsWindowEnabled(window) != FALSE;
        info.checked = info.className == "Button" && IsChecked(window);
        info.rect = ScreenRectOf(window);
        controls.push_back(info);
    }
    return controls;
}

HWND FindControl(HWND parent, const Text& name) {
    for (HWND window : Descendants(parent)) {
        if (NameOf(window) == name)
            return window;
    }
    return nullptr;
}

HWND FindControlByText(HWND parent, const Text& className, const Text& text) {
    for (HWND window : Descendants(parent)) {
        if (ClassOf(window) == className && TextOf(window) == text)
            return window;
    }
    return nullptr;
}

HWND FindControlByIndex(HWND parent, const Text& className, int index) {
    for (HWND window : Descendants(parent)) {
        if (ClassOf(window) == className && index-- == 0)
            return window;
    }
    return nullptr;
}

HWND WaitForControl(HWND parent, const Text& name, DWORD timeout) {
    HWND result = nullptr;
    WaitUntil([&] { return (result = FindControl(parent, name)) != nullptr; }, timeout);
    return result;
}

int CheckState(HWND button) {
    return static_cast<int>(SendWithTimeout(button, BM_GETCHECK));
}

bool IsChecked(HWND button) {
    return CheckState(button) == BST_CHECKED;
}

HWND FocusedControl(HWND anyWindowOfThread) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(anyWindowOfThread, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

bool WaitForText(HWND window, const Text& text, DWORD timeout) {
    return WaitUntil([&] { return TextOf(window) == text; }, timeout);
}

std::vector<Text> TabCaptions(HWND tabControl) {
    std::vector<Text> captions;
    constexpr int TextLength = 256;
    RemoteBuffer buffer(ProcessOf(tabControl), sizeof(TCITEMW) + TextLength * sizeof(wchar_t));
    if (!buffer.valid())
        return captions;
    auto count = static_cast<int>(SendWithTimeout(tabControl, TCM_GETITEMCOUNT));
    for (int i = 0; i < count; ++i) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(buffer.address() + sizeof(TCITEMW));
        item.cchTextMax = TextLength;
        wchar_t text[TextLength] = {};
        buffer.Write(0, &item, sizeof item);
        buffer.Write(sizeof(TCITEMW), text, sizeof text);
        SendWithTimeout(tabControl, TCM_GETITEMW, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(buffer.address()));
        buffer.Read(sizeof(TCITEMW), text, sizeof text);
        text[TextLength - 1] = 0;
        captions.push_back(Narrow(text));
    }
    return captions;
}

bool SelectTab(HWND tabControl, const Text& caption) {
    std::vector<Text> captions = TabCaptions(tabControl);
    for (size_t i = 0; i < captions.size(); ++i) {
        if (captions[i] != caption)
            continue;
        auto index = static_cast<LRESULT>(i);
        // Without TCS_BUTTONS, moving the focus selects the tab and notifies the parent,
        // as a click does; TCM_SETCURSEL would change the tab silently.
        SendWithTimeout(tabControl, TCM_SETCURFOCUS, i);
        return WaitUntil([&] { return SendWithTimeout(tabControl, TCM_GETCURSEL) == index; }, 3000);
    }
    return false;
}

// ---- Input -------------------------------------------------------------------------------

bool BringToFront(HWND window) {
    HWND top = GetAncestor(window, GA_ROOT);
    if (!top)
        return false;
    if (GetForegroundWindow() == top)
        return true;
    SetForegroundWindow(top);
    return WaitUntil([&] { return GetForegroundWindow() == top; }, 3000);
}

bool Click(HWND button) {
    return PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

bool ClickMouse(HWND window) {
    RECT rect = ScreenRectOf(window);
    if (IsRectEmpty(&rect))
        return false;
    return ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

bool MoveMouse(POINT screen) {
    // Wine moves the X pointer only when the cursor changes position, and while the cursor
    // has been still for 100 ms GetCursorPos reports the X pointer itself. So: go through a
    // neighbouring point, then wait until the X pointer is seen at the target.
    POINT beside = {screen.x > 0 ? screen.x - 1 : screen.x + 1, screen.y};
    for (int attempt = 0; attempt < 5; ++attempt) {
        std::vector<INPUT> inputs = {MouseInput(MOUSEEVENTF_MOVE, beside),
                                     MouseInput(MOUSEEVENTF_MOVE, screen)};
        if (!Send(inputs))
            return false;
        ULONGLONG sent = GetTickCount64();
        if (WaitUntil(
                [&] {
                    POINT at = {};
                    return GetTickCount64() - sent > 150 && GetCursorPos(&at) && at.x == screen.x &&
                           at.y == screen.y;
                },
                600))
            return true;
    }
    return false;
}

bool ParkMouse() {
    return MoveMouse({0, 0});
}

bool ClickAt(POINT screen, bool rightButton) {
    // Every event carries the position: under Wine the X server echoes each move of the
    // pointer back as input, and a late echo of an earlier move can otherwise carry the
    // press to where the cursor was before.
    const DWORD move = MOUSEEVENTF_MOVE;
    std::vector<INPUT> inputs = {
        MouseInput(move, screen),
        MouseInput(move | (rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN), screen),
        MouseInput(move | (rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP), screen),
    };
    return Send(inputs);
}

bool Focus(HWND control) {
    if (!BringToFront(control))
        return false;
    DWORD own = GetCurrentThreadId();
    DWORD target = GetWindowThreadProcessId(control, nullptr);
    if (!AttachThreadInput(own, target, TRUE))
        return false;
    SetFocus(control);
    AttachThreadInput(own, target, FALSE);
    return WaitUntil([&] { return FocusedControl(control) == control; }, 3000);
}

bool PressKey(HWND target, WORD virtualKey, unsigned modifiers) {
    if (!PrepareKeyboard(target))
        return false;
    std::vector<WORD> held;
    if (modifiers & Control)
        held.push_back(VK_CONTROL);
    if (modifiers & Shift)
        held.push_back(VK_SHIFT);
    if (modifiers & Alt)
        held.push_back(VK_MENU);
    std::vector<INPUT> inputs;
    for (WORD key : held)
        inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(virtualKey, false));
    inputs.push_back(KeyInput(virtualKey, true));
    for (auto key = held.rbegin(); key != held.rend(); ++key)
        inputs.push_back(KeyInput(*key, true));
    return Send(inputs);
}

bool TypeText(HWND target, const Text& text) {
    return TypeText(target, Widen(text));
}

bool TypeText(HWND target, const std::wstring& text) {
    if (!PrepareKeyboard(target))
        return false;
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        for (bool up : {false, true}) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = c;
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(input);
        }
    }
    return inputs.empty() || Send(inputs);
}

// ---- Message boxes -----------------------------------------------------------------------

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD processId, DWORD timeout) {
    HWND box = WaitForWindow("#32770", "", processId, timeout);
    if (!box)
        return std::nullopt;
    MessageBoxInfo info;
    info.window = box;
    info.caption = TextOf(box);
    if (HWND message = GetDlgItem(box, 0xFFFF))
        info.text = TextOf(message);
    return info;
}

bool AnswerMessageBox(HWND box, int buttonId, DWORD timeout) {
    if (HWND button = GetDlgItem(box, buttonId))
        PostMessageW(button, BM_CLICK, 0, 0);
    else if (buttonId == IDCANCEL) // a box without a Cancel button still closes on Escape
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    else
        return false;
    return WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, timeout);
}

std::wstring WideMessage(HWND box) {
    HWND message = GetDlgItem(box, 0xFFFF);
    return message ? WideTextOf(message) : std::wstring();
}

// ---- Drops -------------------------------------------------------------------------------

bool PostDrop(HWND target, const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const std::wstring& path : paths)
        list += path + L'\0';
    list += L'\0';
    std::vector<char> block(sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    memcpy(block.data() + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, ProcessOf(target));
    if (!process)
        return false;
    // A fixed global block is its own address, so memory in the program serves as the drop.
    void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool written = remote && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
    CloseHandle(process);
    return written && PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

// ---- Tray --------------------------------------------------------------------------------

HWND FindTrayCallbackWindow(DWORD processId) {
    std::vector<HWND> found = FindTopWindows("TCallbackWindow", "", processId);
    return found.empty() ? nullptr : found.front();
}

bool SendTrayCallback(DWORD processId, UINT iconId, UINT mouseMessage) {
    HWND window = FindTrayCallbackWindow(processId);
    return window && PostMessageW(window, TrayCallbackMessage, iconId, mouseMessage);
}

namespace {

// The pixels (0xRRGGBB, rows top down) of a width x height bitmap that draw painted.
std::vector<uint32_t> Paint(int width, int height, const std::function<void(HDC)>& draw) {
    std::vector<uint32_t> pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    if (!screen)
        return pixels;
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        draw(memory);
        GdiFlush();
        const uint32_t* first = static_cast<const uint32_t*>(bits);
        pixels.assign(first, first + static_cast<size_t>(width) * static_cast<size_t>(height));
        for (uint32_t& pixel : pixels)
            pixel &= 0xFFFFFF;
        SelectObject(memory, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// An icon as drawn on any background: the offsets and colours of its opaque pixels, found
// as those that come out alike on black and on white.
std::vector<std::pair<POINT, uint32_t>> OpaquePixels(HICON icon, int width, int height) {
    auto onBackground = [&](int brush) {
        return Paint(width, height, [&](HDC dc) {
            RECT all = {0, 0, width, height};
            FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(brush)));
            DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
        });
    };
    std::vector<uint32_t> black = onBackground(BLACK_BRUSH), white = onBackground(WHITE_BRUSH);
    std::vector<std::pair<POINT, uint32_t>> opaque;
    if (black.size() != white.size())
        return opaque;
    for (size_t i = 0; i < black.size(); ++i) {
        if (black[i] == white[i])
            opaque.push_back({POINT{static_cast<LONG>(i % width), static_cast<LONG>(i / width)}, black[i]});
    }
    return opaque;
}

} // namespace

std::vector<uint32_t> ScreenPixels(const RECT& area) {
    int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return {};
    return Paint(width, height, [&](HDC dc) {
        HDC screen = GetDC(nullptr);
        BitBlt(dc, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}

int TrayShownIcon(const std::vector<HICON>& candidates) {
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!tray)
        return -1;
    RECT rect = ScreenRectOf(tray);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    int iconWidth = GetSystemMetrics(SM_CXSMICON), iconHeight = GetSystemMetrics(SM_CYSMICON);
    if (width < iconWidth || height < iconHeight)
        return -1;
    std::vector<uint32_t> shown = ScreenPixels(rect);
    if (shown.empty())
        return -1;

    int found = -1;
    for (size_t candidate = 0; candidate < candidates.size(); ++candidate) {
        auto opaque = OpaquePixels(candidates[candidate], iconWidth, iconHeight);
        // An icon of hardly any opaque pixels would be found anywhere.
        if (opaque.size() < static_cast<size_t>(iconWidth * iconHeight / 4))
            return -1;
        bool seen = false;
        for (int y = 0; y + iconHeight <= height && !seen; ++y) {
            for (int x = 0; x + iconWidth <= width && !seen; ++x) {
                seen =
                    std::all_of(opaque.begin(), opaque.end(), [&](const std::pair<POINT, uint32_t>& pixel) {
                        return shown[static_cast<size_t>(y + pixel.first.y) * width + x + pixel.first.x] ==
                               pixel.second;
                    });
            }
        }
        if (seen) {
            if (found >= 0)
                return -1;
            found = static_cast<int>(candidate);
        }
    }
    return found;
}

HICON LoadTrayIcon(const Text& programPath, const Text& resourceName) {
    HMODULE module = LoadLibraryExW(Widen(programPath).c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return nullptr;
    HICON icon =
        static_cast<HICON>(LoadImageW(module, Widen(resourceName).c_str(), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    FreeLibrary(module);
    return icon;
}

// ---- Registry and files ------------------------------------------------------------------

std::optional<Text> ReadRegistryString(HKEY root, const Text& key, const Text& valueName) {
    std::optional<std::wstring> value = ReadWideValue(root, key, valueName);
    if (!value)
        return std::nullopt;
    return Narrow(*value);
}

std::optional<DWORD> ReadRegistryDword(HKEY root, const Text& key, const Text& valueName) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(root, Widen(key).c_str(), Widen(valueName).c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

std::optional<std::string> ReadFileBytes(const Text& path) {
    return ::ReadFileBytes(path);
}

bool FileExists(const Text& path) {
    return ::FileExists(path);
}

// ---- Screenshots -------------------------------------------------------------------------

Text ScreenshotFolder() {
    wchar_t value[MAX_PATH * 2] = {};
    DWORD length = GetEnvironmentVariableW(L"LUMERA_SCREENSHOTS", value, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2)
        return ProgramFolder();
    std::wstring folder = WindowsPathOf(value);
    CreateDirectoryW(folder.c_str(), nullptr);
    if (folder.back() != L'\\' && folder.back() != L'/')
        folder += L'\\';
    return Narrow(folder);
}

namespace {

BOOL CALLBACK FindPendingPaint(HWND window, LPARAM found) {
    if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

// True when some visible window on the screen, or one of its controls, still has to paint.
bool PaintPending() {
    bool found = false;
    EnumWindows(
        [](HWND window, LPARAM found) -> BOOL {
            if (!FindPendingPaint(window, found))
                return FALSE;
            EnumChildWindows(window, FindPendingPaint, found);
            return !*reinterpret_cast<bool*>(found);
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

Text SaveScreenshot(const Text& fileName) {
    // A window that has just appeared or changed may not have painted yet; the picture is
    // for looking at, so it waits a moment for that (and is taken anyway afterwards).
    WaitUntil([] { return !PaintPending(); }, 2000);
    Text path = ScreenshotFolder() + fileName;
    return WriteScreenBmp(path) ? path : Text();
}

Text Screenshot(HWND window, const Text& fileName) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // Its surface reaches the X server a moment after painting.
    Sleep(500);
    return SaveScreenshot(fileName);
}

bool WriteScreenBmp(const Text& path) {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (width <= 0 || height <= 0)
        return false;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height; // bottom-up, as BMP files store rows
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    header.biSizeImage = stride * static_cast<DWORD>(height);

    HDC screen = GetDC(nullptr);
    if (!screen)
        return false;
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap =
        CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT) != FALSE;
        GdiFlush();
        SelectObject(memory, old);
    }
    bool written = false;
    if (copied) {
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42; // "BM"
        file.bfOffBits = sizeof file + sizeof header;
        file.bfSize = file.bfOffBits + header.biSizeImage;
        HANDLE out = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out != INVALID_HANDLE_VALUE) {
            DWORD done = 0;
            written = WriteFile(out, &file, sizeof file, &done, nullptr) && done == sizeof file &&
                      WriteFile(out, &header, sizeof header, &done, nullptr) && done == sizeof header &&
                      WriteFile(out, bits, header.biSizeImage, &done, nullptr) && done == header.biSizeImage;
            CloseHandle(out);
        }
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

} // namespace robot
