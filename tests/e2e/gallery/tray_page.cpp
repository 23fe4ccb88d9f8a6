// A tray icon with a pop-up menu; its events are written into a label.
#include "gallery.h"
#include "tray_icon.h"

namespace {

const char* ButtonName(MouseButton button) {
    return button == MouseButton::Left ? "左" : button == MouseButton::Right ? "右" : "中";
}

class TrayPage : public GalleryPage {
public:
    void Build(Form& form, Panel& page) override {
        events_.Create(page, "(なし)", {10, 10, 400, 20});
        events_.SetName("TrayEvents");
        autoPopup_.Create(page, "AutoPopup", {10, 40, 200, 20});
        autoPopup_.SetName("AutoPopup");
        autoPopup_.SetChecked(true);
        autoPopup_.onClick = [this] { icon_->AutoPopup = autoPopup_.checked(); };

        menu_.items().Add("壁紙(&B)").Add("(なし)").SetChecked(true);
        menu_.items().AddSeparator();
        menu_.items().Add("終了(&X)", [this](MenuItem& item) { events_.SetText("選択: " + item.caption); });

        icon_ = std::make_unique<TTrayIcon>(&form);
        icon_->SetIcon(LoadIconW(nullptr, IDI_INFORMATION));
        icon_->SetTipHelp("Lumera Deck ギャラリー");
        icon_->RBPopupMenu = &menu_;
        icon_->OnMouseDown = [this](TTrayIcon&, MouseButton button, ShiftState, int, int) {
            events_.SetText(Text("押下: ") + ButtonName(button));
        };
        icon_->OnDblClick = [this](TTrayIcon&) { events_.SetText("ダブルクリック"); };
        icon_->Loaded();
        icon_->SetVisible(true);
    }

private:
    Label events_;
    CheckBox autoPopup_;
    Menu menu_;
    std::unique_ptr<TTrayIcon> icon_;
};

} // namespace

REGISTER_GALLERY_PAGE("トレイ", TrayPage);
