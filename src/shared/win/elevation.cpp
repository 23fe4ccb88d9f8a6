#include "elevation.h"

#include <exdisp.h>
#include <shldisp.h>
#include <shlobj.h>

#include "handles.h"
#include "system_libraries.h"

namespace {

// The identifiers are spelled here: naming them from the uuid library would link its
// thousands of others into every program.
constexpr GUID TopLevelBrowserService = {
    0x4c96be40, 0x915c, 0x11cf, {0x99, 0xd3, 0x00, 0xaa, 0x00, 0x4a, 0xe8, 0x37}};

// A VARIANT that clears itself.
struct Variant : VARIANT {
    Variant() { VariantInit(this); }
    ~Variant() { VariantClear(this); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

// The desktop's own shell dispatch: desktop window → its browser → its view → the view's
// automation object → the shell application behind it.
bool DesktopShellDispatch(ComPtr<IShellDispatch2>& shell) {
    ComPtr<IShellWindows> windows;
    if (FAILED(CoCreateInstance(__uuidof(ShellWindows), nullptr, CLSCTX_LOCAL_SERVER, __uuidof(IShellWindows),
                                windows.receive())))
        return false;
    Variant location, root;
    location.vt = VT_I4;
    location.lVal = CSIDL_DESKTOP;
    long window = 0;
    ComPtr<IDispatch> desktop;
    if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                              reinterpret_cast<IDispatch**>(desktop.receive())) != S_OK ||
        !desktop)
        return false;
    ComPtr<IServiceProvider> services;
    ComPtr<IShellBrowser> browser;
    ComPtr<IShellView> view;
    ComPtr<IDispatch> background;
    ComPtr<IShellFolderViewDual> folderView;
    ComPtr<IDispatch> application;
    return SUCCEEDED(desktop->QueryInterface(__uuidof(IServiceProvider), services.receive())) &&
           SUCCEEDED(
               services->QueryService(TopLevelBrowserService, __uuidof(IShellBrowser), browser.receive())) &&
           SUCCEEDED(browser->QueryActiveShellView(reinterpret_cast<IShellView**>(view.receive()))) &&
           SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, __uuidof(IDispatch), background.receive())) &&
           SUCCEEDED(background->QueryInterface(__uuidof(IShellFolderViewDual), folderView.receive())) &&
           SUCCEEDED(folderView->get_Application(reinterpret_cast<IDispatch**>(application.receive()))) &&
           SUCCEEDED(application->QueryInterface(__uuidof(IShellDispatch2), shell.receive()));
}

} // namespace

bool ProcessIsElevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    UniqueHandle owned(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

bool NamedMutexExists(const std::wstring& name) {
    // Waiting is all a copy may ask of another's mutex; an elevated copy's refuses even that
    // to an ordinary one, which still tells that it runs.
    UniqueHandle mutex(OpenMutexW(SYNCHRONIZE, FALSE, name.c_str()));
    return mutex || GetLastError() == ERROR_ACCESS_DENIED;
}

bool AllowMessagesFromDesktop(HWND window, std::initializer_list<UINT> messages) {
    using Filter = BOOL WINAPI(HWND, UINT, DWORD, void*);
    static Filter* const allow = SystemFunction<Filter>(L"user32.dll", "ChangeWindowMessageFilterEx");
    if (!allow)
        return true;
    bool allAllowed = true;
    for (UINT message : messages)
        allAllowed = allow(window, message, 1 /* MSGFLT_ALLOW */, nullptr) && allAllowed;
    return allAllowed;
}

bool ShellOpenThroughDesktop(const std::wstring& program, const std::wstring& parameters) {
    ComInit com;
    ComPtr<IShellDispatch2> shell;
    if (!DesktopShellDispatch(shell))
        return false;
    BSTR file = SysAllocString(program.c_str());
    if (!file)
        return false;
    Variant arguments, folder, verb, show;
    arguments.vt = VT_BSTR;
    arguments.bstrVal = SysAllocString(parameters.c_str());
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    const HRESULT result = shell->ShellExecute(file, arguments, folder, verb, show);
    SysFreeString(file);
    return SUCCEEDED(result);
}
