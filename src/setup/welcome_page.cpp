#include "welcome_page.h"

#include "wizard_pages.h"

namespace {

Text WelcomeText(const Text& appName) {
    return appName + " ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑへようこそ。このﾌﾟﾛｸﾞﾗﾑは、ｺﾝﾋﾟｭﾀに " + appName +
           "をｲﾝｽﾄｰﾙします。\n\nこのｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑを実行する前に、すべての Windows "
           "ﾌﾟﾛｸﾞﾗﾑを必ず終了して下さい。"
           "\n\n[ｷｬﾝｾﾙ]をｸﾘｯｸするとｾｯﾄｱｯﾌﾟを終了します。ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑを続行するには、[次へ]をｸﾘｯｸします。"
           "\n\n\n\n情報 : このｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑは、Morivane作成のﾌﾘｰｿﾌﾄです。ﾎｰﾑﾍﾟｰｼﾞ等で公開しています。"
           "\n\nE-Mail : info@morivane.example\nURL    : http://www.morivane.example/";
}

} // namespace

bool WelcomePage::Create(Widget& parent, const Bounds& bounds, const Text& appName) {
    if (!Panel::Create(parent, bounds))
        return false;
    WelcomeLabel.Create(*this, WelcomeText(appName), {0, 0, bounds.width, bounds.height});
    WelcomeLabel.SetName("WelcomeLabel");
    return true;
}
