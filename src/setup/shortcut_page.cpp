#include "shortcut_page.h"

#include <vector>

#include "win/handles.h"
#include "win/path_identity.h"
#include "wizard_pages.h"

namespace {

// Folder names in the Programs folder, as the platform lists them.
std::vector<std::wstring> ExistingGroups(const std::wstring& programs) {
    std::vector<std::wstring> names;
    if (programs.empty())
        return names;
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW((programs + L"\\*.*").c_str(), &found));
    if (!search)
        return names;
    do {
        if (found.cFileName[0] != L'.' && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(found.cFileName);
    } while (FindNextFileW(search.get(), &found));
    return names;
}

} // namespace

bool ShortcutPage::Create(Widget& parent, const Bounds& bounds, const SetupData& data,
                          const InstallProposal& proposal, const std::wstring& programsFolder) {
    if (!Panel::Create(parent, bounds))
        return false;
    const int w = bounds.width;
    ShortcutLabel.Create(
        *this,
        "ｾｯﾄｱｯﾌﾟは、以下のﾌﾟﾛｸﾞﾗﾑ ﾌｫﾙﾀﾞｰにﾌﾟﾛｸﾞﾗﾑ ｱｲｺﾝを追加します。   新しいﾌｫﾙﾀﾞｰ名を入力するか、"
        "既存のﾌｫﾙﾀﾞｰ ﾘｽﾄから選択することもできます。   [次へ]をｸﾘｯｸして続行して下さい。",
        {0, 0, w, 52});
    CheckBox1.Create(*this, "ｽﾀｰﾄﾒﾆｭｰに登録する(&S)", {0, 54, w, 18});
    CheckBox1.SetName("CheckBox1");
    GroupGroup.Create(*this, "ﾌﾟﾛｸﾞﾗﾑ ﾌｫﾙﾀﾞｰ(&P)", {0, 74, w, 132});
    Edit2.Create(*this, "", {10, 90, w - 20, 22});
    Edit2.SetName("Edit2");
    ListLabel.Create(*this, "既存のﾌｫﾙﾀﾞｰ(&X):", {10, 115, w - 20, 16});
    ListBox1.Create(*this, {10, 131, w - 20, 68});
    ListBox1.SetName("ListBox1");
    CheckBox2.Create(*this, "ﾃﾞｽｸﾄｯﾌﾟにｼｮｰﾄｶｯﾄｱｲｺﾝを作成する(&D)", {0, 210, w, 18});
    CheckBox2.SetName("CheckBox2");
    CheckBox3.Create(*this, "「送る」ｺﾝﾃﾝﾂにｼｮｰﾄｶｯﾄを作成する(&T)", {0, 230, w, 18});
    CheckBox3.SetName("CheckBox3");
    Edit2.SetText(proposal.choices.paths.programGroup);
    const auto groups = ExistingGroups(programsFolder);
    for (const auto& name : groups)
        ListBox1.AddItem(name);
    for (size_t i = 0; i < groups.size(); ++i)
        if (proposal.groupNeeded && SamePath(groups[i], proposal.choices.paths.programGroup)) {
            ListBox1.SetItemIndex(static_cast<int>(i));
            break;
        }
    startMenu_ = !data.ReadString(SetupInstall, "StartMenu1", "").empty();
    desktop_ = !data.ReadString(SetupInstall, "DeskTop1", "").empty();
    sendTo_ = !data.ReadString(SetupInstall, "SendTo1", "").empty();
    CheckBox1.SetChecked(startMenu_);
    CheckBox1.SetEnabled(startMenu_);
    CheckBox2.SetChecked(desktop_);
    CheckBox2.SetEnabled(desktop_);
    CheckBox3.SetChecked(sendTo_);
    CheckBox3.SetEnabled(sendTo_);
    return true;
}
