// Wallpaper, arrangement and screen saver from the tray menu, and the refresh that keeps
// their check marks and the tray icon in step with the system.
#include "desktop_marks.h"

#include "app.h"
#include "desktop_marks_rules.h"
#include "list_rules.h"
#include "paths.h"
#include "settings.h"
#include "win/encoding.h"
#include "win/folders.h"
#include "win/registry.h"

const char* const NotedScreenSaverValue = "SavedScreenSaver";

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
    bool Same(const std::wstring& a, const std::wstring& b) {
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
    std::wstring lastA_, lastB_;
    bool lastSame_ = false;
};

FileComparison wallpaperComparison;
FileComparison screenSaverComparison;

// Moves the mark of a wallpaper or screen-saver submenu to the item showing the file.
int MarkCurrentFile(MenuItem& submenu, int markedIndex, const std::wstring& current) {
    if (markedIndex >= 0 && static_cast<size_t>(markedIndex) < submenu.count())
        submenu[static_cast<size_t>(markedIndex)].SetChecked(false);
    // The listed names first, as they are: a folder of thousands then costs no file system
    // call per item. Only a file named otherwise (a short form, another spelling of the
    // folder) needs every item's short form.
    auto markedBy = [&submenu](const std::wstring& file, auto form) {
        std::vector<std::wstring> files;
        files.reserve(submenu.count());
        for (size_t i = 0; i < submenu.count(); ++i) {
            bool listed = i > 0 && i + 1 < submenu.count();
            files.push_back(listed && !file.empty() ? form(submenu[i].target) : std::wstring());
        }
        return MarkedItemIndex(file, files);
    };
    const int other = static_cast<int>(submenu.count()) - 1;
    std::wstring longForm = current.empty() ? current : GetLongPath(current);
    int index =
        markedBy(longForm.empty() ? current : longForm, [](const std::wstring& target) { return target; });
    if (index == other)
        index =
            markedBy(GetShortPath(current), [](const std::wstring& target) { return GetShortPath(target); });
    if (static_cast<size_t>(index) < submenu.count())
        submenu[static_cast<size_t>(index)].SetChecked(true);
    return index;
}

void SetCheckedIfChanged(MenuItem& item, bool checked) {
    if (item.checked() != checked)
        item.SetChecked(checked);
}

void SetEnabledIfChanged(MenuItem& item, bool enabled) {
    if (item.enabled() != enabled)
        item.SetEnabled(enabled);
}

std::vector<std::wstring> WidePatterns(const std::vector<Text>& patterns) {
    std::vector<std::wstring> wide;
    for (const Text& pattern : patterns)
        wide.push_back(Widen(pattern));
    return wide;
}

// The submenu lists its folders when it first opens after this: "(なし)" first, "(その他)"
// last, then the current file is marked. A big folder thus never delays the start.
void FillFileSubmenuLazily(MenuItem& submenu, std::wstring folderList, std::vector<std::wstring> patterns,
                           MenuItem::Handler choice, std::function<void(MenuItem&)> mark) {
    submenu.onPopulate = [folderList = std::move(folderList), patterns = std::move(patterns),
                          choice = std::move(choice), mark = std::move(mark)](MenuItem& self) {
        self.Add("(なし)", choice).tag = 0;
        AppendFolderItems(self, folderList, patterns, choice);
        MenuItem& other = self.Add("(その他)", choice);
        other.tag = static_cast<int>(self.count() - 1); // after the add: its own index
        mark(self);
    };
    submenu.Repopulate();
}

} // namespace

void DesktopMarks::BuildSubmenus(const TraySettings& settings, bool ntFamily,
                                 const MenuItem::Handler& wallChoice, const MenuItem::Handler& screenChoice) {
    // Marked from what the refresh knows, as the refresh would have marked them.
    FillFileSubmenuLazily(*menu_.WallRight, settings.wallPath, WidePatterns(WallpaperPatterns(ntFamily)),
                          wallChoice, [this](MenuItem& submenu) {
                              if (!FKnownWallpaper.empty())
                                  FWallIndex = MarkCurrentFile(submenu, FWallIndex, FKnownWallpaper);
                          });
    FillFileSubmenuLazily(*menu_.ScreenRight, settings.screenPath, {L"*.scr"}, screenChoice,
                          [this](MenuItem& submenu) {
                              if (!FKnownScreenSaver.empty())
                                  FScreenIndex = MarkCurrentFile(submenu, FScreenIndex, FKnownScreenSaver);
                          });
}

void DesktopMarks::ChooseWallpaper(MenuItem& item) {
    std::wstring wallpaper;
    if (item.tag == static_cast<int>(menu_.WallRight->count()) - 1) {
        wallpaper = host_.ChooseFile(WallpaperFilter(GetPlatformFamily() == PlatformNT), "bmp", "壁紙参照",
                                     GetLongPath(WinUtility1.GetWallpaperW()));
        if (wallpaper.empty())
            return;
    } else {
        wallpaper = GetShortPath(item.target); // empty for "(なし)": no wallpaper
    }
    WinUtility1.SetWallpaperFile(wallpaper);
    WinUtility1.ApplyWallpaper();
}

void DesktopMarks::ChooseArrangement(MenuItem& chosen, int style) {
    for (MenuItem* item : {menu_.WallTileRight, menu_.WallCenterRight, menu_.WallStretchRight})
        item->SetChecked(item == &chosen);
    WinUtility1.SetWallpaperStyle(style);
    WinUtility1.ApplyWallpaper();
}

void DesktopMarks::ChooseScreenSaver(MenuItem& item) {
    MenuItem& submenu = *menu_.ScreenRight;
    int last = static_cast<int>(submenu.count()) - 1;
    if (item.tag == 0) {
        if (static_cast<size_t>(FScreenIndex) < submenu.count())
            submenu[static_cast<size_t>(FScreenIndex)].SetChecked(false);
        FScreenIndex = 0;
        submenu[0].SetChecked(true);
        AllowSwitchOn(false);
        menu_.ScreenStartRight->SetEnabled(false);
        FKnownScreenSaver.clear();
        SwitchOff();
        // Under a policy the switch stays as it is, but the choice of none is the user's.
        if (FGoverned)
            WinUtility1.SetScreenSaver(std::wstring());
    } else if (item.tag == last) {
        std::wstring chosen = host_.ChooseFile("ｽｸﾘｰﾝｾｰﾊﾞｰ(*.SCR)|*.scr|すべてのﾌｧｲﾙ (*.*)|*.*", "scr",
                                               "ｽｸﾘｰﾝｾｰﾊﾞｰ参照", GetLongPath(WinUtility1.GetScreenSaverW()));
        if (!chosen.empty())
            WinUtility1.SetScreenSaver(chosen);
    } else {
        WinUtility1.SetScreenSaver(item.target);
    }
}

void DesktopMarks::StartNow() {
    SwitchOn();
    WinUtility1.LaunchScreenSaver(0);
}

void DesktopMarks::SwitchOn() {
    // The user's setting would change nothing the policy decides.
    if (FGoverned)
        return;
    if (FKnownScreenSaver.empty()) {
        SwitchOff();
        return;
    }
    host_.ShowTrayIcon(ScreenSaverOnIcon());
    menu_.ScreenTrueRight->SetChecked(true);
    menu_.ScreenFalseRight->SetChecked(false);
    WinUtility1.SetScreenSaver(GetShortPath(FKnownScreenSaver));
    SetSettingInt("Screen", "Enabled", 1);
    DeleteSetting("Screen", NotedScreenSaverValue);
}

void DesktopMarks::SwitchOff() {
    if (FGoverned)
        return;
    host_.ShowTrayIcon(ScreenSaverOffIcon());
    menu_.ScreenTrueRight->SetChecked(false);
    menu_.ScreenFalseRight->SetChecked(true);
    // The system forgets the user's screen saver now; the note outlives an abrupt end.
    if (FKnownScreenSaver.empty())
        DeleteSetting("Screen", NotedScreenSaverValue);
    else
        SetSettingWide("Screen", NotedScreenSaverValue, GetShortPath(FKnownScreenSaver));
    WinUtility1.SetScreenSaver(std::wstring());
    SetSettingInt("Screen", "Enabled", 0);
}

void DesktopMarks::AllowSwitchOn(bool allowed) {
    FSwitchOnAllowed = allowed;
    if (!FGoverned)
        menu_.ScreenTrueRight->SetEnabled(allowed);
}

void DesktopMarks::ShowPolicy(const ScreenSaverPolicy& policy, bool userFileSet) {
    bool lifted = FGoverned && !policy.governed;
    FGoverned = policy.governed;
    SetEnabledIfChanged(*menu_.ScreenTrueRight, !FGoverned && FSwitchOnAllowed);
    SetEnabledIfChanged(*menu_.ScreenFalseRight, !FGoverned);
    SetEnabledIfChanged(*menu_.ScreenRight, !policy.fileFixed);
    // Without a named one, the policy's "on" runs the user's screen saver, if any.
    bool on = policy.on && (policy.fileFixed || userFileSet);
    Text note = FGoverned ? ScreenSaverPolicyNote(on, policy.secure) : Text();
    if (FPolicyNote == note)
        return;
    FPolicyNote = note;
    host_.ShowTrayNote(note);
    if (!FGoverned) {
        // Unmarked, the stored switch takes over again in this refresh and applies itself.
        if (lifted) {
            menu_.ScreenTrueRight->SetChecked(false);
            menu_.ScreenFalseRight->SetChecked(false);
        }
        return;
    }
    host_.ShowTrayIcon(on ? ScreenSaverOnIcon() : ScreenSaverOffIcon());
    menu_.ScreenTrueRight->SetChecked(on);
    menu_.ScreenFalseRight->SetChecked(!on);
}

void DesktopMarks::Forget() {
    FPolicyNote.reset();
    FWallIndex = FScreenIndex = 0;
    FKnownWallpaper.clear();
    FKnownScreenSaver.clear();
}

void DesktopMarks::RestoreNoted() {
    std::wstring noted = GetSettingWide("Screen", NotedScreenSaverValue, L"");
    if (noted.empty())
        return;
    WinUtility1.SetScreenSaver(noted);
    SetSettingInt("Screen", "Enabled", 1);
    DeleteSetting("Screen", NotedScreenSaverValue);
}

void DesktopMarks::RestoreAtEnd() {
    WinUtility1.SetScreenSaver(GetShortPath(FKnownScreenSaver));
    SetSettingInt("Screen", "Enabled", 1);
    DeleteSetting("Screen", NotedScreenSaverValue);
}

void DesktopMarks::Refresh() {
    std::wstring wallpaper = WinUtility1.GetWallpaperW();
    // A submenu not listed yet is marked when it is.
    if (!wallpaperComparison.Same(FKnownWallpaper, wallpaper)) {
        if (menu_.WallRight->populated())
            FWallIndex = MarkCurrentFile(*menu_.WallRight, FWallIndex, wallpaper);
        FKnownWallpaper = wallpaper;
    }

    int style = WinUtility1.GetWallpaperStyle();
    SetCheckedIfChanged(*menu_.WallCenterRight, style == 0);
    SetCheckedIfChanged(*menu_.WallTileRight, style == 1);
    SetCheckedIfChanged(*menu_.WallStretchRight, style == 2);

    std::wstring screenSaver = WinUtility1.GetScreenSaverW();
    ShowPolicy(WinUtility1.GetScreenSaverPolicy(), !screenSaver.empty());
    if (!screenSaver.empty() && !screenSaverComparison.Same(FKnownScreenSaver, screenSaver)) {
        bool listed = menu_.ScreenRight->populated();
        if (listed)
            FScreenIndex = MarkCurrentFile(*menu_.ScreenRight, FScreenIndex, screenSaver);
        // A known file marks an item other than "(なし)" once the submenu is listed.
        if (!listed || FScreenIndex != 0) {
            AllowSwitchOn(true);
            menu_.ScreenStartRight->SetEnabled(true);
        }
        FKnownScreenSaver = screenSaver;
        SwitchOn();
    }

    switch (SwitchForEnabledValue(GetSettingInt("Screen", "Enabled", 0), menu_.ScreenTrueRight->checked(),
                                  menu_.ScreenFalseRight->checked())) {
    case SaverSwitch::On:
        SwitchOn();
        break;
    case SaverSwitch::Off:
        SwitchOff();
        break;
    case SaverSwitch::Keep:
        break;
    }
}
