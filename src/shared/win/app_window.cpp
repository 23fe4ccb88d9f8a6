#include "app_window.h"

namespace {

HWND applicationWindow = nullptr;

} // namespace

void SetApplicationWindow(HWND window) {
    applicationWindow = window;
}

HWND ApplicationWindow() {
    return applicationWindow;
}
