// The help items of the tray menu and of the settings window's menu bar, and the about box.
#include "help_items.h"

#include "about_box.h"
#include "dialogs.h"
#include "help_topics.h"
#include "main_form.h"
#include "paths.h"
#include "win/folders.h"
#include "win/launch.h"

std::wstring ManualFile() {
    return JoinPath(RunningProgramFolder(), ManualFileName);
}

void TLumeraMainForm::AddHelpItems(MenuItem& helpMenu) {
    using Handler = void (TLumeraMainForm::*)(MenuItem&);
    auto add = [this, &helpMenu](const Text& caption, Handler method, const Text& shortcut = Text()) {
        MenuItem& item = helpMenu.Add(caption, [this, method](MenuItem& chosen) { (this->*method)(chosen); });
        item.shortcut = shortcut;
        item.helpContext = HelpMenus;
    };
    helpMenu.helpContext = HelpMenus;
    add("ﾄﾋﾟｯｸの検索(&H)", &TLumeraMainForm::HelpTopicItemClick, "F1");
    add("ﾍﾙﾌﾟの使い方(&U)", &TLumeraMainForm::HelpUseItemClick);
    helpMenu.AddSeparator().helpContext = HelpMenus;
    add("ｲﾝﾀｰﾈｯﾄ ﾛｰｶﾙﾌｧｲﾙ(&F)...", &TLumeraMainForm::HelpHomeItemClick);
    add("ｲﾝﾀｰﾈｯﾄ ｼｮｰﾄｶｯﾄ(&S)...", &TLumeraMainForm::HelpHome2ItemClick);
    helpMenu.AddSeparator().helpContext = HelpMenus;
    add("ﾊﾞｰｼﾞｮﾝ情報(&A)...", &TLumeraMainForm::HelpAboutItemClick, "F2");
}

void TLumeraMainForm::HelpTopicItemClick(MenuItem&) {
    ShowHelp(handle(), ManualFile(), HelpContents);
}

void TLumeraMainForm::HelpUseItemClick(MenuItem&) {
    ShowHelp(handle(), ManualFile(), HelpOnHelp);
}

void TLumeraMainForm::HelpHomeItemClick(MenuItem&) {
    ShellOpen(JoinPath(RunningProgramFolder(), L"Morivane.htm"), L"", L"");
}

void TLumeraMainForm::HelpHome2ItemClick(MenuItem&) {
    ShellOpen(JoinPath(RunningProgramFolder(), L"Morivane.url"), L"", L"");
}

void TLumeraMainForm::HelpAboutItemClick(MenuItem&) {
    if (FBusy)
        return;
    FBusy = true;
    {
        TAboutBox box;
        if (box.FormCreate(handle()))
            box.ShowModal();
    }
    FBusy = false;
}

bool HandleHelpShortcut(MenuItem* helpMenu, WPARAM key) {
    const char* shortcut = key == VK_F1 ? "F1" : key == VK_F2 ? "F2" : nullptr;
    if (!shortcut || !helpMenu)
        return false;
    for (size_t i = 0; i < helpMenu->count(); ++i) {
        MenuItem& item = (*helpMenu)[i];
        if (item.shortcut == shortcut && item.onClick) {
            item.onClick(item);
            return true;
        }
    }
    return false;
}
