#include "start_page.h"

#include "wizard_pages.h"

bool StartSetupPage::Create(Widget& parent, const Bounds& bounds, const Text& appName) {
    if (!Panel::Create(parent, bounds))
        return false;
    StartLabel.Create(*this,
                      "以上でｾｯﾄｱｯﾌﾟの設定は完了です。\n\n\n設定を変更する場合は[戻る]をｸﾘｯｸして下さい。\n\n["
                      "次へ]をｸﾘｯｸすると " +
                          appName + " のｾｯﾄｱｯﾌﾟを開始します。",
                      {0, 0, bounds.width, bounds.height});
    StartLabel.SetName("StartLabel");
    return true;
}
