// The platform controls as the forms use them.
#include "gallery.h"

namespace {

class StandardPage : public GalleryPage {
public:
    void Build(Form& form, Panel& page) override {
        label_.Create(page, "名前(&N):", {10, 12, 70, 16});
        edit_.Create(page, "表示ソ", {84, 8, 160, 22});
        edit_.SetName("Edit1");
        check_.Create(page, "壁紙(&B)", {10, 40, 120, 20});
        check_.SetName("CheckBox1");
        check_.SetChecked(true);
        radioA_.Create(page, "全体(&T)", {10, 64, 120, 20}, true);
        radioB_.Create(page, "中央(&C)", {10, 86, 120, 20});
        radioA_.SetChecked(true);
        group_.Create(page, "ｸﾞﾙｰﾌﾟ", {260, 8, 200, 100});
        combo_.Create(page, {10, 116, 234, 22});
        combo_.SetName("ComboBox1");
        for (const char* item : {"C:\\Windows", "C:\\ソフト", "D:\\表示"})
            combo_.AddItem(item);
        combo_.SetText("C:\\Windows");
        list_.Create(page, {260, 116, 200, 80});
        for (const char* item : {"ｽｸﾘｰﾝｾｰﾊﾞｰ", "壁紙", "終了"})
            list_.AddItem(item);
        progress_.Create(page, {10, 210, 450, 18});
        progress_.SetRange(0, 100);
        progress_.SetPosition(40);
        bevel_.Create(page, {10, 240, 450, 2}, Bevel::HorizontalLine);
        ok_.Create(page, "OK(&Y)", {10, 256, 90, 25});
        ok_.SetName("Button1");
        ok_.onClick = [this] { label_.SetText("押されました"); };
        cancel_.Create(page, "ｷｬﾝｾﾙ(&N)", {110, 256, 90, 25});
        image_.Create(page, {480, 8, 40, 40});
        image_.SetIcon(LoadIconW(nullptr, IDI_INFORMATION));
        animation_.Create(page, {300, 250, 280, 60});
        animation_.Open(Animation::FileCopy);
        (void)form;
    }

private:
    Label label_;
    Edit edit_;
    CheckBox check_;
    RadioButton radioA_, radioB_;
    GroupBox group_;
    ComboBox combo_;
    ListBox list_;
    ProgressBar progress_;
    Bevel bevel_;
    Button ok_, cancel_;
    Image image_;
    Animation animation_;
};

} // namespace

REGISTER_GALLERY_PAGE("標準", StandardPage);
