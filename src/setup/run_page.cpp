#include "run_page.h"

#include "wizard_pages.h"

bool RunPage::Create(Widget& parent, const Bounds& bounds, const SetupData& data, HFONT boldFont) {
    if (!Panel::Create(parent, bounds))
        return false;
    const int w = bounds.width;
    RunCompleteLabel.Create(*this, "ｾｯﾄｱｯﾌﾟが完了しました。", {0, 20, w, 18}, SS_CENTER);
    RunCompleteLabel.SetFont(boldFont);
    for (int i = 0; i < 3; ++i) {
        RunOption option = data.ReadRunOption(i + 1);
        RunBoxes[i].Create(*this, option.caption, {20, 70 + i * 26, w - 20, 18});
        RunBoxes[i].SetName("RunBox" + std::to_string(i + 1));
        RunBoxes[i].SetChecked(option.checked);
        RunBoxes[i].SetVisible(!option.caption.empty());
    }
    RunLabel.Create(*this, "[終了]をｸｲｯｸすると、ｾｯﾄｱｯﾌﾟを終了します。", {0, 200, w, 18});
    return true;
}
