// The tray menu: its fixed skeleton, which items are shown, and the submenus built from
// the settings' lists.
#include "tray_menu.h"

#include "desktop_marks_rules.h"
#include "list_rules.h"
#include "main_form.h"
#include "paths.h"
#include "win/encoding.h"
#include "win/handles.h"

namespace {

using Handler = void (TLumeraMainForm::*)(MenuItem&);
using Slot = MenuItem* TrayMenu::*;
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
    {"壁紙(&B)", &TrayMenu::WallRight, WallpaperSwitch, nullptr, "(なし)", &TLumeraMainForm::Wall0RightClick},
    {"全体(&T)", &TrayMenu::WallTileRight, ArrangementSwitch, &TLumeraMainForm::WallTileRightClick},
    {"中央(&C)", &TrayMenu::WallCenterRight, ArrangementSwitch, &TLumeraMainForm::WallCenterRightClick},
    {"ｽｸﾘｰﾝの大きさ(&W)", &TrayMenu::WallStretchRight, ArrangementSwitch,
     &TLumeraMainForm::WallStretchRightClick},
    {"-", &TrayMenu::Separator1, AlwaysShown},
    {"ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)", &TrayMenu::ScreenRight, ScreenSaverSwitch, nullptr, "(なし)",
     &TLumeraMainForm::Screen0RightClick},
    {"有効(&T)", &TrayMenu::ScreenTrueRight, SaverOnOffSwitch, &TLumeraMainForm::ScreenTrueRightClick},
    {"無効(&F)", &TrayMenu::ScreenFalseRight, SaverOnOffSwitch, &TLumeraMainForm::ScreenFalseRightClick},
    {"即起動(&D)   [DblClick]", &TrayMenu::ScreenStartRight, SaverStartSwitch,
     &TLumeraMainForm::ScreenStartRightClick},
    {"-", &TrayMenu::Separator2, AlwaysShown},
    {"起動ﾛｺﾞ(&L)", &TrayMenu::LogoRight, StartupLogoSwitch, nullptr, "(標準)",
     &TLumeraMainForm::Logo0RightClick},
    {"再起動ﾛｺﾞ(&R)", &TrayMenu::LogowRight, RestartLogoSwitch, nullptr, "(なし)",
     &TLumeraMainForm::Logow0RightClick},
    {"終了ﾛｺﾞ(&E)", &TrayMenu::LogosRight, ShutdownLogoSwitch, nullptr, "(なし)",
     &TLumeraMainForm::Logos0RightClick},
    {"-", &TrayMenu::Separator3, AlwaysShown},
    {"AUTORUN監視(&A)", &TrayMenu::AutoRight, WatchSwitch},
    {"AUTORUN実行(&R)", &TrayMenu::KickonRight, AutorunSwitch},
    {"ｲｼﾞｪｸﾄ(&E)", &TrayMenu::AutoEjectRight, EjectSwitch},
    {"-", &TrayMenu::Separator4, AlwaysShown},
    {"実行(&R)", &TrayMenu::RunRight, RunSwitch, nullptr, "ﾌｧｲﾙ名を指定して実行(&R)...",
     &TLumeraMainForm::Run0RightClick},
    {"ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ(&C)", &TrayMenu::ClipRight, ClipboardSwitch},
    {"ｽﾀｰﾄｱｯﾌﾟ(&S)", &TrayMenu::StartUpRight, StartUpSwitch},
    {"Windowsの終了(&U)", &TrayMenu::HaltoRight, HaltoSwitch},
    {"-", &TrayMenu::Separator5, AlwaysShown},
    {"画面のﾌﾟﾛﾊﾟﾃｨ(&P)", &TrayMenu::ScreenProRight, DisplayPropertiesSwitch,
     &TLumeraMainForm::ScreenProRightClick},
    {"設定(&S)", &TrayMenu::SetRight, AlwaysShown, &TLumeraMainForm::SetRightClick},
    {"ﾍﾙﾌﾟ(&H)", &TrayMenu::HelpRight, AlwaysShown},
    {"終了(&X)", &TrayMenu::ExitRight, AlwaysShown, &TLumeraMainForm::ExitRightClick},
};

} // namespace

void TrayMenu::CreateSkeleton(TLumeraMainForm& form) {
    MenuItem& root = menu_.items();
    auto handler = [&form](Handler method) -> MenuItem::Handler {
        if (!method)
            return nullptr;
        return [&form, method](MenuItem& item) { (form.*method)(item); };
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
    form.AddHelpItems(*HelpRight);
}

void TrayMenu::ApplyVisibility(const TraySettings& settings, bool ntFamily) {
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
            item.visible = ShownOnPlatform(which, settings.shown[which], ntFamily);
        }
        groupShown = groupShown || item.visible;
    }
}

void TrayMenu::BuildLists(const TraySettings& settings, const MenuItem::Handler& run,
                          const MenuItem::Handler& clip) {
    RunRight->DeleteFrom(1);
    if (RunRight->visible) {
        int n = 0;
        for (const ListRow& entry : settings.run) {
            MenuItem& item =
                RunRight->Add(entry.name.empty() ? FileNameWithoutExt(entry.content) : entry.name, run);
            item.target = entry.content;
            item.tag = ++n;
        }
    }
    ClipRight->Clear();
    if (ClipRight->visible) {
        int n = 0;
        for (const ListRow& entry : settings.clipboard) {
            MenuItem& item = ClipRight->Add(entry.name.empty() ? entry.content : entry.name, clip);
            item.target = entry.content;
            item.tag = n++;
        }
    }
}

bool TrayMenu::Realize() {
    if (open_) {
        realizePending_ = true;
        return false;
    }
    realizePending_ = false;
    menu_.Realize();
    return true;
}

bool TrayMenu::Closed() {
    open_ = false;
    return realizePending_;
}

size_t AppendFolderItems(MenuItem& submenu, const std::wstring& folderList, const std::vector<Text>& patterns,
                         const MenuItem::Handler& onClick) {
    size_t added = 0;
    for (const std::wstring& folder : SplitFolderList(folderList)) {
        for (const Text& pattern : patterns) {
            WIN32_FIND_DATAW found;
            UniqueFind search(FindFirstFileExW(JoinPath(folder, Widen(pattern)).c_str(), FindExInfoBasic,
                                               &found, FindExSearchNameMatch, nullptr,
                                               FIND_FIRST_EX_LARGE_FETCH));
            if (!search)
                continue;
            do {
                if (found.cFileName[0] == L'.')
                    continue;
                std::wstring name = found.cFileName;
                if (!HasPatternExtension(Narrow(name), pattern)) // the extensions are ASCII
                    continue;
                MenuItem& item = submenu.Add(FileNameWithoutExt(name), onClick);
                item.target = JoinPath(folder, name);
                item.tag = static_cast<int>(submenu.count() - 1);
                ++added;
            } while (FindNextFileW(search.get(), &found));
        }
    }
    return added;
}
