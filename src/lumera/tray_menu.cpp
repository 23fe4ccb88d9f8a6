// The tray menu: its fixed skeleton, which items are shown, and the submenus built from
// the settings' lists.
#include "tray_menu.h"

#include <algorithm>
#include <cwchar>

#include "desktop_marks_rules.h"
#include "help_topics.h"
#include "list_rules.h"
#include "main_form.h"
#include "paths.h"
#include "settings.h"
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
    // The wallpaper, screen-saver and Run submenus are filled when they open.
    {"壁紙(&B)", &TrayMenu::WallRight, WallpaperSwitch, nullptr, nullptr, nullptr},
    {"全体(&T)", &TrayMenu::WallTileRight, ArrangementSwitch, &TLumeraMainForm::WallTileRightClick, nullptr,
     nullptr},
    {"中央(&C)", &TrayMenu::WallCenterRight, ArrangementSwitch, &TLumeraMainForm::WallCenterRightClick,
     nullptr, nullptr},
    {"ｽｸﾘｰﾝの大きさ(&W)", &TrayMenu::WallStretchRight, ArrangementSwitch,
     &TLumeraMainForm::WallStretchRightClick, nullptr, nullptr},
    {"-", &TrayMenu::Separator1, AlwaysShown, nullptr, nullptr, nullptr},
    {"ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)", &TrayMenu::ScreenRight, ScreenSaverSwitch, nullptr, nullptr, nullptr},
    {"有効(&T)", &TrayMenu::ScreenTrueRight, SaverOnOffSwitch, &TLumeraMainForm::ScreenTrueRightClick,
     nullptr, nullptr},
    {"無効(&F)", &TrayMenu::ScreenFalseRight, SaverOnOffSwitch, &TLumeraMainForm::ScreenFalseRightClick,
     nullptr, nullptr},
    {"即起動(&D)   [DblClick]", &TrayMenu::ScreenStartRight, SaverStartSwitch,
     &TLumeraMainForm::ScreenStartRightClick, nullptr, nullptr},
    {"-", &TrayMenu::Separator2, AlwaysShown, nullptr, nullptr, nullptr},
    {"起動ﾛｺﾞ(&L)", &TrayMenu::LogoRight, StartupLogoSwitch, nullptr, "(標準)",
     &TLumeraMainForm::Logo0RightClick},
    {"再起動ﾛｺﾞ(&R)", &TrayMenu::LogowRight, RestartLogoSwitch, nullptr, "(なし)",
     &TLumeraMainForm::Logow0RightClick},
    {"終了ﾛｺﾞ(&E)", &TrayMenu::LogosRight, ShutdownLogoSwitch, nullptr, "(なし)",
     &TLumeraMainForm::Logos0RightClick},
    {"-", &TrayMenu::Separator3, AlwaysShown, nullptr, nullptr, nullptr},
    {"AUTORUN監視(&A)", &TrayMenu::AutoRight, WatchSwitch, nullptr, nullptr, nullptr},
    {"AUTORUN実行(&R)", &TrayMenu::KickonRight, AutorunSwitch, nullptr, nullptr, nullptr},
    {"ｲｼﾞｪｸﾄ(&E)", &TrayMenu::AutoEjectRight, EjectSwitch, nullptr, nullptr, nullptr},
    {"-", &TrayMenu::Separator4, AlwaysShown, nullptr, nullptr, nullptr},
    {"実行(&R)", &TrayMenu::RunRight, RunSwitch, nullptr, nullptr, nullptr},
    {"ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ(&C)", &TrayMenu::ClipRight, ClipboardSwitch, nullptr, nullptr, nullptr},
    {"ｽﾀｰﾄｱｯﾌﾟ(&S)", &TrayMenu::StartUpRight, StartUpSwitch, nullptr, nullptr, nullptr},
    {"Windowsの終了(&U)", &TrayMenu::HaltoRight, HaltoSwitch, nullptr, nullptr, nullptr},
    {"-", &TrayMenu::Separator5, AlwaysShown, nullptr, nullptr, nullptr},
    {"画面のﾌﾟﾛﾊﾟﾃｨ(&P)", &TrayMenu::ScreenProRight, DisplayPropertiesSwitch,
     &TLumeraMainForm::ScreenProRightClick, nullptr, nullptr},
    {"設定(&S)", &TrayMenu::SetRight, AlwaysShown, &TLumeraMainForm::SetRightClick, nullptr, nullptr},
    {"ﾍﾙﾌﾟ(&H)", &TrayMenu::HelpRight, AlwaysShown, nullptr, nullptr, nullptr},
    {"終了(&X)", &TrayMenu::ExitRight, AlwaysShown, &TLumeraMainForm::ExitRightClick, nullptr, nullptr},
};

// A listing by pattern also returns long names whose short (8.3) form matched ("a.jpeg"
// for "*.jpg"); only the pattern's own extension counts.
bool HasWidePatternExtension(const std::wstring& name, const std::wstring& pattern) {
    std::wstring wanted = ExtractFileExt(pattern);
    if (wanted.empty() || wanted == L".*")
        return true;
    std::wstring ext = ExtractFileExt(name);
    return CompareStringOrdinal(ext.c_str(), static_cast<int>(ext.size()), wanted.c_str(),
                                static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL;
}

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
    StartUpTrueRight = &StartUpRight->Add("有効(&T)", handler(&TLumeraMainForm::StartUpTrueRightClick));
    StartUpFalseRight = &StartUpRight->Add("無効(&F)", handler(&TLumeraMainForm::StartUpFalseRightClick));
    const char* const shutdownCaptions[] = {"選択(&U)", "電源を切る(&S)", "再起動(&R)", "ﾛｸﾞｵﾌ(&C)"};
    for (int i = 0; i < 4; ++i)
        HaltoRight->Add(shutdownCaptions[i], handler(&TLumeraMainForm::Halto0RightClick)).tag = i;
    HelpRight->helpContext = HelpMenus;
    form.AddHelpItems(*HelpRight);
}

void TrayMenu::ApplyVisibility(const TraySettings& settings, bool ntFamily) {
    for (const SkeletonItem& entry : Skeleton) {
        if (entry.shownBy == AlwaysShown)
            continue;
        auto which = static_cast<MenuSwitch>(entry.shownBy);
        (this->*entry.slot)->visible = ShownOnPlatform(which, settings.shown[which], ntFamily);
    }
}

void TrayMenu::BuildLists(const MenuItem::Handler& run, const MenuItem::Handler& clip) {
    Run0Right = nullptr;
    RunRight->onPopulate = [this, run](MenuItem& submenu) {
        MenuItem& dialog = submenu.Add("ﾌｧｲﾙ名を指定して実行(&R)...", run);
        dialog.target = runDialogFile_;
        Run0Right = &dialog;
        int n = 0;
        RegistrySettings store;
        for (ListRow& entry : ReadNumberedList(store, "Run", "File")) {
            MenuItem& item =
                submenu.Add(entry.name.empty() ? FileNameWithoutExt(entry.content) : entry.name, run);
            item.target = std::move(entry.content);
            item.tag = ++n;
        }
    };
    RunRight->Repopulate();
    ClipRight->onPopulate = [clip](MenuItem& submenu) {
        RegistrySettings store;
        int n = 0;
        for (ListRow& entry : ReadNumberedList(store, "Clipboard", "Clip")) {
            MenuItem& item = submenu.Add(entry.name.empty() ? entry.content : entry.name, clip);
            item.target = std::move(entry.content);
            item.tag = n++;
        }
    };
    ClipRight->Repopulate();
}

size_t AppendFolderItems(MenuItem& submenu, const std::wstring& folderList,
                         const std::vector<std::wstring>& patterns, const MenuItem::Handler& onClick) {
    size_t added = 0;
    for (const std::wstring& folder : SplitFolderList(folderList)) {
        for (const std::wstring& pattern : patterns) {
            WIN32_FIND_DATAW found;
            UniqueFind search(FindFirstFileExW(JoinPath(folder, pattern).c_str(), FindExInfoBasic, &found,
                                               FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
            if (!search)
                continue;
            do {
                if (found.cFileName[0] == L'.' || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    continue;
                std::wstring name = found.cFileName;
                if (!HasWidePatternExtension(name, pattern))
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
