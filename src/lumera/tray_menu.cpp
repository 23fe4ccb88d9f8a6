// The tray menu: its fixed skeleton, which items are shown, and the submenus built from
// folders and lists.
#include "main_form.h"

#include "desktop_marks_rules.h"
#include "list_rules.h"
#include "paths.h"
#include "settings.h"
#include "tray_settings.h"
#include "win/encoding.h"
#include "win/folders.h"
#include "win/handles.h"

namespace {

using Handler = void (TLumeraMainForm::*)(MenuItem&);
using Slot = MenuItem* TLumeraMainForm::*;
constexpr int AlwaysShown = -1;

// The skeleton of the tray menu, top to bottom: where the form keeps each item, the switch
// of the settings window that shows it, its handler and the first item of its submenu.
// A separator is shown when an item of the group above it is.
struct SkeletonItem {
    const char* caption; // "-" for a separator
    Slot slot;
    int shownBy; // MenuSwitch, or AlwaysShown
    Handler onClick;
    const char* firstSubitem;
    Handler onSubitemClick;
};

const SkeletonItem Skeleton[] = {
    {"壁紙(&B)", &TLumeraMainForm::WallRight, WallpaperSwitch, nullptr, "(なし)",
     &TLumeraMainForm::Wall0RightClick},
    {"全体(&T)", &TLumeraMainForm::WallTileRight, ArrangementSwitch, &TLumeraMainForm::WallTileRightClick},
    {"中央(&C)", &TLumeraMainForm::WallCenterRight, ArrangementSwitch,
     &TLumeraMainForm::WallCenterRightClick},
    {"ｽｸﾘｰﾝの大きさ(&W)", &TLumeraMainForm::WallStretchRight, ArrangementSwitch,
     &TLumeraMainForm::WallStretchRightClick},
    {"-", &TLumeraMainForm::Separator1, AlwaysShown},
    {"ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)", &TLumeraMainForm::ScreenRight, ScreenSaverSwitch, nullptr, "(なし)",
     &TLumeraMainForm::Screen0RightClick},
    {"有効(&T)", &TLumeraMainForm::ScreenTrueRight, SaverOnOffSwitch, &TLumeraMainForm::ScreenTrueRightClick},
    {"無効(&F)", &TLumeraMainForm::ScreenFalseRight, SaverOnOffSwitch,
     &TLumeraMainForm::ScreenFalseRightClick},
    {"即起動(&D)   [DblClick]", &TLumeraMainForm::ScreenStartRight, SaverStartSwitch,
     &TLumeraMainForm::ScreenStartRightClick},
    {"-", &TLumeraMainForm::Separator2, AlwaysShown},
    {"起動ﾛｺﾞ(&L)", &TLumeraMainForm::LogoRight, StartupLogoSwitch, nullptr, "(標準)",
     &TLumeraMainForm::Logo0RightClick},
    {"再起動ﾛｺﾞ(&R)", &TLumeraMainForm::LogowRight, RestartLogoSwitch, nullptr, "(なし)",
     &TLumeraMainForm::Logow0RightClick},
    {"終了ﾛｺﾞ(&E)", &TLumeraMainForm::LogosRight, ShutdownLogoSwitch, nullptr, "(なし)",
     &TLumeraMainForm::Logos0RightClick},
    {"-", &TLumeraMainForm::Separator3, AlwaysShown},
    {"AUTORUN監視(&A)", &TLumeraMainForm::AutoRight, WatchSwitch},
    {"AUTORUN実行(&R)", &TLumeraMainForm::KickonRight, AutorunSwitch},
    {"ｲｼﾞｪｸﾄ(&E)", &TLumeraMainForm::AutoEjectRight, EjectSwitch},
    {"-", &TLumeraMainForm::Separator4, AlwaysShown},
    {"実行(&R)", &TLumeraMainForm::RunRight, RunSwitch, nullptr, "ﾌｧｲﾙ名を指定して実行(&R)...",
     &TLumeraMainForm::Run0RightClick},
    {"ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ(&C)", &TLumeraMainForm::ClipRight, ClipboardSwitch},
    {"ｽﾀｰﾄｱｯﾌﾟ(&S)", &TLumeraMainForm::StartUpRight, StartUpSwitch},
    {"Windowsの終了(&U)", &TLumeraMainForm::HaltoRight, HaltoSwitch},
    {"-", &TLumeraMainForm::Separator5, AlwaysShown},
    {"画面のﾌﾟﾛﾊﾟﾃｨ(&P)", &TLumeraMainForm::ScreenProRight, DisplayPropertiesSwitch,
     &TLumeraMainForm::ScreenProRightClick},
    {"設定(&S)", &TLumeraMainForm::SetRight, AlwaysShown, &TLumeraMainForm::SetRightClick},
    {"ﾍﾙﾌﾟ(&H)", &TLumeraMainForm::HelpRight, AlwaysShown},
    {"終了(&X)", &TLumeraMainForm::ExitRight, AlwaysShown, &TLumeraMainForm::ExitRightClick},
};

} // namespace

void TLumeraMainForm::CreateTrayMenuSkeleton() {
    MenuItem& root = TrayMenu.items();
    auto handler = [this](Handler method) -> MenuItem::Handler {
        if (!method)
            return nullptr;
        return [this, method](MenuItem& item) { (this->*method)(item); };
    };
    for (const SkeletonItem& entry : Skeleton) {
        MenuItem& item = Text(entry.caption) == "-" ? root.AddSeparator()
                                                    : root.Add(entry.caption, handler(entry.onClick));
        this->*entry.slot = &item;
        if (entry.firstSubitem)
            item.Add(entry.firstSubitem, handler(entry.onSubitemClick));
    }
    // Nothing to switch on or start until a screen saver is known.
    ScreenTrueRight->SetEnabled(false);
    ScreenStartRight->SetEnabled(false);
    Run0Right = &(*RunRight)[0];
    StartUpTrueRight = &StartUpRight->Add("有効(&T)", handler(&TLumeraMainForm::StartUpTrueRightClick));
    StartUpFalseRight = &StartUpRight->Add("無効(&F)", handler(&TLumeraMainForm::StartUpFalseRightClick));
    const char* const shutdownCaptions[] = {"選択(&U)", "電源を切る(&S)", "再起動(&R)", "ﾛｸﾞｵﾌ(&C)"};
    for (int i = 0; i < 4; ++i)
        HaltoRight->Add(shutdownCaptions[i], handler(&TLumeraMainForm::Halto0RightClick)).tag = i;
    HelpRight->helpContext = 100;
    AddHelpItems(*HelpRight);
}

void TLumeraMainForm::ApplyMenuVisibility() {
    bool ntFamily = GetPlatformFamily() == PlatformNT;
    bool groupShown = false;
    for (const SkeletonItem& entry : Skeleton) {
        MenuItem& item = *(this->*entry.slot);
        if (item.isSeparator()) {
            item.visible = groupShown;
            groupShown = false;
            continue;
        }
        if (entry.shownBy != AlwaysShown) {
            auto which = static_cast<MenuSwitch>(entry.shownBy);
            item.visible = ShownOnPlatform(which, menuSettings.shown[which], ntFamily);
        }
        groupShown = groupShown || item.visible;
    }
}

size_t TLumeraMainForm::ScanFolders(MenuItem& submenu, const Text& folderList,
                                    const std::vector<Text>& patterns, const MenuItem::Handler& onClick) {
    size_t added = 0;
    for (const Text& folder : SplitFolderList(folderList)) {
        for (const Text& pattern : patterns) {
            WIN32_FIND_DATAW found;
            UniqueFind search(FindFirstFileExW(Widen(JoinPath(folder, pattern)).c_str(), FindExInfoBasic,
                                               &found, FindExSearchNameMatch, nullptr,
                                               FIND_FIRST_EX_LARGE_FETCH));
            if (!search)
                continue;
            do {
                if (found.cFileName[0] == L'.')
                    continue;
                Text name = Narrow(found.cFileName);
                if (!HasPatternExtension(name, pattern))
                    continue;
                MenuItem& item = submenu.Add(FileNameWithoutExt(name), onClick);
                item.hint = JoinPath(folder, name);
                item.tag = static_cast<int>(submenu.count() - 1);
                ++added;
            } while (FindNextFileW(search.get(), &found));
        }
    }
    return added;
}

void TLumeraMainForm::BuildTrayMenu() {
    RegistrySettings store;
    menuSettings = LoadTraySettings(store, MachineFolderDefaults());
    if (menuSettings.interval >= 1 && menuSettings.interval <= 10000)
        Timer2.SetInterval(static_cast<unsigned>(menuSettings.interval));
    ApplyMenuVisibility();
    bool ntFamily = GetPlatformFamily() == PlatformNT;

    auto wallChoice = [this](MenuItem& item) { Wall0RightClick(item); };
    (*WallRight)[0].SetChecked(false);
    WallRight->DeleteFrom(1);
    if (WallRight->visible)
        ScanFolders(*WallRight, menuSettings.wallPath, WallpaperPatterns(ntFamily), wallChoice);
    WallRight->Add("(その他)", wallChoice).tag = static_cast<int>(WallRight->count() - 1);

    auto screenChoice = [this](MenuItem& item) { Screen0RightClick(item); };
    (*ScreenRight)[0].SetChecked(false);
    ScreenRight->DeleteFrom(1);
    if (ScreenRight->visible)
        ScanFolders(*ScreenRight, menuSettings.screenPath, Text("*.scr"), screenChoice);
    ScreenRight->Add("(その他)", screenChoice).tag = static_cast<int>(ScreenRight->count() - 1);

    BuildLogoSubmenus();
    BuildDriveSubmenus();

    RunRight->DeleteFrom(1);
    if (RunRight->visible) {
        auto run = [this](MenuItem& item) { Run0RightClick(item); };
        int n = 0;
        for (const ListRow& entry : menuSettings.run) {
            MenuItem& item =
                RunRight->Add(entry.name.empty() ? FileNameWithoutExt(entry.content) : entry.name, run);
            item.hint = entry.content;
            item.tag = ++n;
        }
    }
    ClipRight->Clear();
    if (ClipRight->visible) {
        auto clip = [this](MenuItem& item) { Clip0RightClick(item); };
        int n = 0;
        for (const ListRow& entry : menuSettings.clipboard) {
            MenuItem& item = ClipRight->Add(entry.name.empty() ? entry.content : entry.name, clip);
            item.hint = entry.content;
            item.tag = n++;
        }
    }
    if (StartUpRight->visible)
        ShowStartUpState();
    RealizeTrayMenu();
}

void TLumeraMainForm::TrayIconDblClick(TTrayIcon&) {
    ScreenStartRightClick(*ScreenStartRight);
}
