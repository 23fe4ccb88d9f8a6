#include "launcher.h"

#include <shellapi.h>

#include "app.h"
#include "dialogs.h"
#include "paths.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"

namespace Launchers {

const Launcher HaltoL = {L"Halto.exe", L"-L", "Halto (Lumera Deck for Windows)"};
const Launcher HaltoS = {L"Halto.exe", L"-S", "Halto (Lumera Deck for Windows)"};
const Launcher SlumboS = {L"Slumbo.exe", L"1", "Slumbo (Lumera Deck for Windows)"};
const Launcher LumeraRun = {L"Lumera.exe", L"-", "Lumera Deck for Windows"};

} // namespace Launchers

std::wstring LauncherTargetPath(const std::wstring& folder, const std::wstring& target) {
    std::wstring path = folder;
    if (path.size() > 3)
        path += L'\\';
    return path + target;
}

int StartShowCommand(const STARTUPINFOW& startup) {
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWNORMAL;
}

int RunLauncher(HINSTANCE instance, const Launcher& launcher) {
    Application::Initialize(instance, launcher.caption);
    std::wstring self = RunningProgramPath();
    if (self.empty())
        return 1;
    std::wstring folder = ExtractFileDir(self);
    std::wstring path = LauncherTargetPath(folder, launcher.target);
    if (FileExists(path)) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        GetStartupInfoW(&startup);
        ShellExecuteW(nullptr, L"open", path.c_str(), launcher.parameter, folder.c_str(),
                      StartShowCommand(startup));
    } else {
        ShowMessageBox(path + L"\n" + Widen("ﾌﾟﾛｸﾞﾗﾑが存在しません。"), launcher.caption, MessageStop);
    }
    return 0;
}
