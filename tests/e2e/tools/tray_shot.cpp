// Opens the tray menu of a running Lumera.exe and saves a screenshot of it:
//   lumera_tray_shot <screenshot.bmp>
// The main job uses it to show, without a display, that the program works.
#include <windows.h>

#include <cstdio>

#include "robot.h"
#include "win/encoding.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: lumera_tray_shot <screenshot.bmp>\n");
        return 2;
    }
    Text path = Narrow(argv[1]);
    DWORD processId = 0;
    bool found = robot::WaitUntil(
        [&] {
            HWND form = FindWindowW(L"TLumeraMainForm", nullptr);
            if (!form)
                return false;
            GetWindowThreadProcessId(form, &processId);
            return robot::FindTrayCallbackWindow(processId) != nullptr;
        },
        60000);
    if (!found) {
        std::fprintf(stderr, "Lumera is not running\n");
        return 1;
    }
    robot::MenuReader menus(processId);
    bool saved = false;
    for (int attempt = 0; attempt < 10 && !saved; ++attempt) {
        robot::ParkMouse(); // the menu pops up at the cursor
        if (robot::OpenMenuCount(processId) == 0)
            robot::SendTrayCallback(processId, 1, WM_RBUTTONDOWN);
        if (menus.WaitForMenus(1, 3000).empty())
            continue;
        Sleep(500); // let the menu finish drawing
        // Keep the picture only if the menu was open before and after it was taken.
        saved = robot::OpenMenuCount(processId) > 0 && robot::WriteScreenBmp(path) &&
                robot::OpenMenuCount(processId) > 0;
    }
    if (!saved)
        std::fprintf(stderr, "the tray menu did not stay open\n");
    menus.CloseAll();
    return saved ? 0 : 1;
}
