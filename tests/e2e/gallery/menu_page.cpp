// A pop-up menu with submenus, check marks, a disabled item and a shortcut, and a question
// box; the chosen item's caption or the answer is written into a label.
#include "dialogs.h"
#include "gallery.h"
#include "menu.h"

namespace {

class MenuPage : public GalleryPage {
public:
    void Build(Form& form, Panel& page) override {
        HWND owner = form.handle();
        button_.Create(page, "メニュー(&M)", {10, 10, 120, 25});
        button_.SetName("MenuButton");
        question_.Create(page, "確認(&Q)", {140, 10, 120, 25});
        question_.SetName("QuestionButton");
        question_.onClick = [this, owner] {
            int answer = ShowMessageBox("壁紙を変更しますか?", "確認", MessageQuestion, owner);
            result_.SetText(answer == IDYES ? "はい" : answer == IDNO ? "いいえ" : "その他");
        };
        result_.Create(page, "(なし)", {10, 46, 400, 20});
        result_.SetName("MenuResult");

        auto show = [this](MenuItem& item) { result_.SetText(item.caption); };
        MenuItem& wallpaper = menu_.items().Add("壁紙(&B)");
        wallpaper.Add("(なし)", show).SetChecked(true);
        wallpaper.Add("bitmap1", show);
        wallpaper.Add("(その他)", show);
        menu_.items().AddSeparator();
        menu_.items().Add("有効(&T)", show).SetChecked(true);
        menu_.items().Add("即起動(&D)   [DblClick]", show).SetEnabled(false);
        MenuItem& help = menu_.items().Add("ﾍﾙﾌﾟ(&H)");
        help.Add("ﾄﾋﾟｯｸの検索(&H)", show).shortcut = "F1";
        menu_.items().Add("終了(&X)", show);

        button_.onClick = [this, owner] {
            RECT rect;
            GetWindowRect(button_.handle(), &rect);
            menu_.Popup(owner, rect.left, rect.bottom);
        };
    }

private:
    Button button_, question_;
    Label result_;
    Menu menu_;
};

} // namespace

REGISTER_GALLERY_PAGE("メニュー", MenuPage);
