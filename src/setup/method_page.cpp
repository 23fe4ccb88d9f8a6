#include "method_page.h"

#include "win/encoding.h"
#include "wizard_pages.h"

bool MethodPage::Create(Widget& parent, const Bounds& bounds, const Text& capacity,
                        const InstallProposal& proposal) {
    if (!Panel::Create(parent, bounds))
        return false;
    const int w = bounds.width;
    MethodLabel.Create(*this, "希望するｾｯﾄｱｯﾌﾟ方法を選んで、[次へ]をｸﾘｯｸします。", {0, 0, w, 30});
    RadioButton1.Create(*this, "指定のﾌｫﾙﾀﾞへｲﾝｽﾄｰﾙ(&C):", {0, 40, w, 18}, true);
    RadioButton1.SetName("RadioButton1");
    CapacityLabel.Create(*this, "必要容量 (" + (capacity.empty() ? Text("不明") : capacity) + ")",
                         {0, 60, w, 16}, SS_RIGHT);
    FolderGroup.Create(*this, "", {0, 80, w, 60});
    Edit1.Create(*this, "", {10, 104, w - 100, 22});
    Edit1.SetName("Edit1");
    BitBtn4.Create(*this, "参照(&A)", {w - 84, 102, 76, 25});
    BitBtn4.SetName("BitBtn4");
    RadioButton2.Create(*this, "ﾌｧｲﾙのｺﾋﾟｰは行わず、現在のﾌｨﾙﾀﾞにｲﾝｽﾄｰﾙ(&O)", {0, 150, w, 18});
    RadioButton2.SetName("RadioButton2");
    Edit1.SetText(proposal.choices.paths.installFolder);
    RadioButton1.SetEnabled(proposal.folderChoiceAvailable);
    RadioButton1.SetChecked(!proposal.choices.intoSetupFolder);
    RadioButton2.SetChecked(proposal.choices.intoSetupFolder);
    return true;
}

void MethodPage::RefreshFreeSpace() {
    FolderGroup.SetText(Widen(Text("ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞ(&F) - 空き容量 (")) +
                        FreeSpaceText(FreeSpaceOfField(Edit1.wideText())) + L"KB)");
}
