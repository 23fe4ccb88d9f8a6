// The tray menu: its fixed skeleton, which items are shown, and the submenus built from
// folders and lists.
#include "main_form.h"

#include "list_rules.h"
#include "paths.h"
#include "settings.h"
#include "win/encoding.h"
#include "win/folders.h"
#include "win/handles.h"

namespace {

using Handler = void (TLumeraMainForm::*)(MenuItem&);

} // namespace

void TLumeraMainForm::CreateTrayMenuSkeleton() {
    MenuItem& root = TrayMenu.items();
    auto handler = [this](Handler method) {
        return [this, method](MenuItem& item) { (this->*method)(item); };
    };

    WallRight = &root.Add("壁紙(&B)");
    WallRight->Add("(なし)", handler(&TLumeraMainForm::Wall0RightClick));
    WallTileRight = &root.Add("全体(&T)", handler(&TLumeraMainForm::WallTileRightClick));
    WallCenterRight = &root.Add("中央(&C)", handler(&TLumeraMainForm::WallCenterRightClick));
    WallStretchRight = &root.Add("ｽｸﾘｰﾝの大きさ(&W)", handler(&TLumeraMainForm::WallStretchRightClick));
    Separator1 = &root.AddSeparator();

    ScreenRight = &root.Add("ｽｸﾘｰﾝｾｰﾊﾞｰ(&S)");
    ScreenRight->Add("(なし)", handler(&TLumeraMainForm::Screen0RightClick));
    ScreenTrueRight = &root.Add("有効(&T)", handler(&TLumeraMainForm::ScreenTrueRightClick));
    ScreenTrueRight->SetEnabled(false);
    ScreenFalseRight = &root.Add("無効(&F)", handler(&TLumeraMainForm::ScreenFalseRightClick));
    ScreenStartRight = &root.Add("即起動(&D)   [DblClick]", handler(&TLumeraMainForm::ScreenStartRightClick));
    ScreenStartRight->SetEnabled(false);
    Separator2 = &root.AddSeparator();

    LogoRight = &root.Add("起動ﾛｺﾞ(&L)");
    LogoRight->Add("(標準)", handler(&TLumeraMainForm::Logo0RightClick));
    LogowRight = &root.Add("再起動ﾛｺﾞ(&R)");
    LogowRight->Add("(なし)", handler(&TLumeraMainForm::Logow0RightClick));
    LogosRight = &root.Add("終了ﾛｺﾞ(&E)");
    LogosRight->Add("(なし)", handler(&TLumeraMainForm::Logos0RightClick));
    Separator3 = &root.AddSeparator();

    AutoRight = &root.Add("AUTORUN監視(&A)");
    KickonRight = &root.Add("AUTORUN実行(&R)");
    AutoEjectRight = &root.Add("ｲｼﾞｪｸﾄ(&E)");
    Separator4 = &root.AddSeparator();

    RunRight = &root.Add("実行(&R)");
    Run0Right = &RunRight->Add("ﾌｧｲﾙ名を指定して実行(&R)...", handler(&TLumeraMainForm::Run0RightClick));
    ClipRight = &root.Add("ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ(&C)");
    StartUpRight = &root.Add("ｽﾀｰﾄｱｯﾌﾟ(&S)");
    StartUpTrueRight = &StartUpRight->Add("有効(&T)", handler(&TLumeraMainForm::StartUpTrueRightClick));
    StartUpFalseRight = &StartUpRight->Add("無効(&F)", handler(&TLumeraMainForm::StartUpFalseRightClick));
    HaltoRight = &root.Add("Windowsの終了(&U)");
    const char* const shutdownCaptions[] = {"選択(&U)", "電源を切る(&S)", "再起動(&R)", "ﾛｸﾞｵﾌ(&C)"};
    for (int i = 0; i < 4; ++i)
        HaltoRight->Add(shutdownCaptions[i], handler(&TLumeraMainForm::Halto0RightClick)).tag = i;
    Separator5 = &root.AddSeparator();

    ScreenProRight = &root.Add("画面のﾌﾟﾛﾊﾟﾃｨ(&P)", handler(&TLumeraMainForm::ScreenProRightClick));
    SetRight = &root.Add("設定(&S)", handler(&TLumeraMainForm::SetRightClick));
    HelpRight = &root.Add("ﾍﾙﾌﾟ(&H)");
    HelpRight->helpContext = 100;
    AddHelpItems(*HelpRight);
    ExitRight = &root.Add("終了(&X)", handler(&TLumeraMainForm::ExitRightClick));
}

size_t TLumeraMainForm::ScanFolders(MenuItem& submenu, const Text& folderList, const Text& pattern,
                                    const MenuItem::Handler& onClick) {
    size_t added = 0;
    for (const Text& folder : SplitFolderList(folderList)) {
        WIN32_FIND_DATAW found;
        UniqueFind search(FindFirstFileExW(Widen(JoinPath(folder, pattern)).c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
        if (!search)
            continue;
        do {
            if (found.cFileName[0] == L'.')
                continue;
            Text name = Narrow(found.cFileName);
            MenuItem& item = submenu.Add(FileNameWithoutExt(name), onClick);
            item.hint = JoinPath(folder, name);
            item.tag = static_cast<int>(submenu.count() - 1);
            ++added;
        } while (FindNextFileW(search.get(), &found));
    }
    return added;
}

void TLumeraMainForm::BuildTrayMenu() {
    long interval = GetSettingInt("OtherSet", "Interval", 0);
    if (interval >= 1 && interval <= 10000)
        Timer2.SetInterval(static_cast<unsigned>(interval));

    bool ntFamily = GetPlatformFamily() == PlatformNT;
    auto shown = [](const char* section, const char* name) { return GetSettingFlag(section, name, true); };
    WallRight->visible = shown("Wall", "Visible");
    WallTileRight->visible = WallCenterRight->visible = WallStretchRight->visible =
        shown("Wall", "SetVisible");
    Separator1->visible = WallRight->visible || WallTileRight->visible;
    ScreenRight->visible = shown("Screen", "Visible");
    ScreenTrueRight->visible = ScreenFalseRight->visible = shown("Screen", "SetVisible");
    ScreenStartRight->visible = shown("Screen", "StartVisible");
    Separator2->visible = ScreenRight->visible || ScreenTrueRight->visible || ScreenStartRight->visible;
    LogoRight->visible = !ntFamily && shown("Logo", "Visible");
    LogowRight->visible = !ntFamily && shown("Logo", "wVisible");
    LogosRight->visible = !ntFamily && shown("Logo", "sVisible");
    Separator3->visible = LogoRight->visible || LogowRight->visible || LogosRight->visible;
    AutoRight->visible = !ntFamily && shown("Kickon", "Visible");
    KickonRight->visible = !ntFamily && shown("Kickon", "RunVisible");
    AutoEjectRight->visible = !ntFamily && shown("Kickon", "EjectVisible");
    Separator4->visible = AutoRight->visible || KickonRight->visible || AutoEjectRight->visible;
    RunRight->visible = shown("Run", "Visible");
    ClipRight->visible = shown("Clipboard", "Visible");
    StartUpRight->visible = shown("StartUp", "Visible");
    HaltoRight->visible = shown("BootRight", "Visible");
    Separator5->visible =
        RunRight->visible || ClipRight->visible || StartUpRight->visible || HaltoRight->visible;
    ScreenProRight->visible = shown("OtherSet", "ScreenProVisible");

    auto wallChoice = [this](MenuItem& item) { Wall0RightClick(item); };
    (*WallRight)[0].SetChecked(false);
    WallRight->DeleteFrom(1);
    if (WallRight->visible)
        ScanFolders(*WallRight, GetSettingString("Wall", "Path", GetWindowsDir()), "*.bmp", wallChoice);
    WallRight->Add("(その他)", wallChoice).tag = static_cast<int>(WallRight->count() - 1);

    auto screenChoice = [this](MenuItem& item) { Screen0RightClick(item); };
    (*ScreenRight)[0].SetChecked(false);
    ScreenRight->DeleteFrom(1);
    if (ScreenRight->visible)
        ScanFolders(*ScreenRight, GetSettingString("Screen", "Path", GetSystemDir()), "*.scr", screenChoice);
    ScreenRight->Add("(その他)", screenChoice).tag = static_cast<int>(ScreenRight->count() - 1);

    BuildLogoSubmenus();
    BuildDriveSubmenus();

    RunRight->DeleteFrom(1);
    if (RunRight->visible) {
        auto run = [this](MenuItem& item) { Run0RightClick(item); };
        for (int n = 1;; ++n) {
            Text file = GetSettingString("Run", "File" + std::to_string(n), "");
            if (file.empty())
                break;
            // An empty stored name counts as none.
            Text name = GetSettingString("Run", "Name" + std::to_string(n), "");
            MenuItem& item = RunRight->Add(name.empty() ? FileNameWithoutExt(file) : name, run);
            item.hint = file;
            item.tag = n;
        }
    }
    ClipRight->Clear();
    if (ClipRight->visible) {
        auto clip = [this](MenuItem& item) { Clip0RightClick(item); };
        for (int n = 1;; ++n) {
            Text snippet = GetSettingString("Clipboard", "Clip" + std::to_string(n), "");
            if (snippet.empty())
                break;
            Text name = GetSettingString("Clipboard", "Name" + std::to_string(n), "");
            MenuItem& item = ClipRight->Add(name.empty() ? snippet : name, clip);
            item.hint = snippet;
            item.tag = n - 1;
        }
    }
    if (StartUpRight->visible)
        ShowStartUpState();
    TrayMenu.Realize();
}

void TLumeraMainForm::TrayIconDblClick(TTrayIcon&) {
    ScreenStartRightClick(*ScreenStartRight);
}
