// Wallpaper, arrangement and screen saver from the tray menu, and the refresh that keeps
// their check marks and the tray icon in step with the system.
#include "app.h"
#include "desktop_marks_rules.h"
#include "list_rules.h"
#include "main_form.h"
#include "paths.h"
#include "settings.h"
#include "win/folders.h"

namespace {

// Shared icons of the program file: the system keeps them, the tray icon takes copies.
HICON ScreenSaverOnIcon() {
    static HICON icon = LoadIconW(Application::Instance(), L"MAINICON");
    return icon ? icon : Application::MainIcon();
}

HICON ScreenSaverOffIcon() {
    static HICON icon = LoadIconW(Application::Instance(), L"SUBICON");
    return icon ? icon : ScreenSaverOnIcon();
}

// Compares two files on their upper-cased short forms. The refresh asks this every tick,
// mostly with the same two texts, so the last answer is kept: a tick then makes no file
// system call, which could wait on a network path.
class FileComparison {
public:
    bool Same(const Text& a, const Text& b) {
        if (a == b)
            return true;
        if (a != lastA_ || b != lastB_) {
            lastA_ = a;
            lastB_ = b;
            lastSame_ = SamePathForm(GetShortPath(a), GetShortPath(b));
        }
        return lastSame_;
    }

private:
    Text lastA_, lastB_;
    bool lastSame_ = false;
};

FileComparison wallpaperComparison;
FileComparison screenSaverComparison;

// Moves the mark of a wallpaper or screen-saver submenu to the item showing the file.
int MarkCurrentFile(MenuItem& submenu, int markedIndex, const Text& current) {
    if (markedIndex >= 0 && static_cast<size_t>(markedIndex) < submenu.count())
        submenu[static_cast<size_t>(markedIndex)].SetChecked(false);
    std::vector<Text> files;
    files.reserve(submenu.count());
    for (size_t i = 0; i < submenu.count(); ++i) {
        bool listed = i > 0 && i + 1 < submenu.count();
        files.push_back(listed && !current.empty() ? GetShortPath(submenu[i].hint) : Text());
    }
    int index = MarkedItemIndex(GetShortPath(current), files);
    if (static_cast<size_t>(index) < submenu.count())
        submenu[static_cast<size_t>(index)].SetChecked(true);
    return index;
}

void SetCheckedIfChanged(MenuItem& item, bool checked) {
    if (item.checked() != checked)
        item.SetChecked(checked);
}

} // namespace

void TLumeraMainForm::Wall0RightClick(MenuItem& item) {
    Text wallpaper;
    if (item.tag == static_cast<int>(WallRight->count()) - 1) {
        if (!ChooseFile(WallpaperFilter(GetPlatformFamily() == PlatformNT), "bmp", "壁紙参照",
                        GetLongPath(WinUtility1.GetWallpaper())))
            return;
        wallpaper = OpenDialog1.fileName;
    } else {
        wallpaper = GetShortPath(item.hint); // empty for "(なし)": no wallpaper
    }
    WinUtility1.SetWallpaperFile(wallpaper);
    WinUtility1.ApplyWallpaper();
}

namespace {

void ChooseArrangement(TLumeraMainForm& form, MenuItem& chosen, int style) {
    for (MenuItem* item : {form.WallTileRight, form.WallCenterRight, form.WallStretchRight})
        item->SetChecked(item == &chosen);
    form.WinUtility1.SetWallpaperStyle(style);
    form.WinUtility1.ApplyWallpaper();
}

} // namespace

void TLumeraMainForm::WallTileRightClick(MenuItem&) {
    ChooseArrangement(*this, *WallTileRight, 1);
}
void TLumeraMainForm::WallCenterRightClick(MenuItem&) {
    ChooseArrangement(*this, *WallCenterRight, 0);
}
void TLumeraMainForm::WallStretchRightClick(MenuItem&) {
    ChooseArrangement(*this, *WallStretchRight, 2);
}

void TLumeraMainForm::Screen0RightClick(MenuItem& item) {
    int last = static_cast<int>(ScreenRight->count()) - 1;
    if (item.tag == 0) {
        if (static_cast<size_t>(FScreenIndex) < ScreenRight->count())
            (*ScreenRight)[static_cast<size_t>(FScreenIndex)].SetChecked(false);
        FScreenIndex = 0;
        (*ScreenRight)[0].SetChecked(true);
        ScreenTrueRight->SetEnabled(false);
        ScreenStartRight->SetEnabled(false);
        FKnownScreenSaver.clear();
        SwitchScreenSaverOff();
    } else if (item.tag == last) {
        if (ChooseFile("ｽｸﾘｰﾝｾｰﾊﾞｰ(*.SCR)|*.scr|すべてのﾌｧｲﾙ (*.*)|*.*", "scr", "ｽｸﾘｰﾝｾｰﾊﾞｰ参照",
                       GetLongPath(WinUtility1.GetScreenSaver())))
            WinUtility1.SetScreenSaver(OpenDialog1.fileName);
    } else {
        WinUtility1.SetScreenSaver(item.hint);
    }
}

void TLumeraMainForm::ScreenTrueRightClick(MenuItem&) {
    SwitchScreenSaverOn();
}
void TLumeraMainForm::ScreenFalseRightClick(MenuItem&) {
    SwitchScreenSaverOff();
}

void TLumeraMainForm::ScreenStartRightClick(MenuItem&) {
    SwitchScreenSaverOn();
    WinUtility1.LaunchScreenSaver(0);
}

void TLumeraMainForm::SwitchScreenSaverOn() {
    if (FKnownScreenSaver.empty()) {
        SwitchScreenSaverOff();
        return;
    }
    TrayIcon1.SetIcon(ScreenSaverOnIcon());
    ScreenTrueRight->SetChecked(true);
    ScreenFalseRight->SetChecked(false);
    WinUtility1.SetScreenSaver(GetShortPath(FKnownScreenSaver));
    SetSettingInt("Screen", "Enabled", 1);
    DeleteSetting("Screen", NotedScreenSaverValue);
}

void TLumeraMainForm::SwitchScreenSaverOff() {
    TrayIcon1.SetIcon(ScreenSaverOffIcon());
    ScreenTrueRight->SetChecked(false);
    ScreenFalseRight->SetChecked(true);
    // The system forgets the user's screen saver now; the note outlives an abrupt end.
    if (FKnownScreenSaver.empty())
        DeleteSetting("Screen", NotedScreenSaverValue);
    else
        SetSettingString("Screen", NotedScreenSaverValue, GetShortPath(FKnownScreenSaver));
    WinUtility1.SetScreenSaver("");
    SetSettingInt("Screen", "Enabled", 0);
}

void TLumeraMainForm::RestoreNotedScreenSaver() {
    Text noted = GetSettingString("Screen", NotedScreenSaverValue, "");
    if (noted.empty())
        return;
    WinUtility1.SetScreenSaver(noted);
    SetSettingInt("Screen", "Enabled", 1);
    DeleteSetting("Screen", NotedScreenSaverValue);
}

void TLumeraMainForm::RefreshDesktopMarks() {
    Text wallpaper = WinUtility1.GetWallpaper();
    if (!wallpaperComparison.Same(FKnownWallpaper, wallpaper)) {
        FWallIndex = MarkCurrentFile(*WallRight, FWallIndex, wallpaper);
        FKnownWallpaper = wallpaper;
    }

    int style = WinUtility1.GetWallpaperStyle();
    SetCheckedIfChanged(*WallCenterRight, style == 0);
    SetCheckedIfChanged(*WallTileRight, style == 1);
    SetCheckedIfChanged(*WallStretchRight, style == 2);

    Text screenSaver = WinUtility1.GetScreenSaver();
    if (!screenSaver.empty() && !screenSaverComparison.Same(FKnownScreenSaver, screenSaver)) {
        FScreenIndex = MarkCurrentFile(*ScreenRight, FScreenIndex, screenSaver);
        if (FScreenIndex != 0) {
            ScreenTrueRight->SetEnabled(true);
            ScreenStartRight->SetEnabled(true);
        }
        FKnownScreenSaver = screenSaver;
        SwitchScreenSaverOn();
    }

    switch (SwitchForEnabledValue(GetSettingInt("Screen", "Enabled", 0), ScreenTrueRight->checked(),
                                  ScreenFalseRight->checked())) {
    case SaverSwitch::On:
        SwitchScreenSaverOn();
        break;
    case SaverSwitch::Off:
        SwitchScreenSaverOff();
        break;
    case SaverSwitch::Keep:
        break;
    }
}
