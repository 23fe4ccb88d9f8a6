#include "licence_page.h"

#include "app.h"
#include "wizard_pages.h"

bool LicencePage::Create(Widget& parent, const Bounds& bounds, const Text& appName,
                         const std::wstring& licenceFile) {
    if (!Panel::Create(parent, bounds))
        return false;
    LicenceIcon.Create(*this, {12, 8, 32, 32});
    LicenceIcon.SetIcon(Application::MainIcon());
    LicenceLabel.Create(
        *this, "以下のﾗｲｾﾝｽ契約をお読み下さい。\n契約の残りの部分を読むには、Page Up キーを押して下さい。",
        {56, 8, 400, 30});
    LicenceMemo.Create(*this, "", {12, 44, 447, 150},
                       ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL | WS_TABSTOP);
    LicenceMemo.SetName("Memo1");
    LicenceMemo.SetText(TextForBox(licenceFile));
    LicenceQuestion.Create(
        *this,
        "前述のﾗｲｾﾝｽ契約のすべての項目に同意しますか？ [いいえ]を選択すると、ｾｯﾄｱｯﾌﾟは中止されます。  " +
            appName + " をｲﾝｽﾄｰﾙするには、この契約に同意いただく必要があります。",
        {12, 200, 447, 60});
    return true;
}
