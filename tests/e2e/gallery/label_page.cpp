// The label effects: a blinking label with a drop shadow, a still one with its shadow up and
// to the left, a disabled one, and a marquee that starts again whenever a pass ends.
#include "gallery.h"
#include "label_effects.h"

namespace {

class LabelPage : public GalleryPage {
public:
    void Build(Form& form, Panel& page) override {
        blink_.Create(page, "Lumera Deck", {20, 16, 560, 64});
        blink_.SetName("BlinkLabel1");
        blink_.SetFontSpec({"Arial", 32, true});
        blink_.SetFontColor(RGB(0, 0, 128));
        blink_.Shadow().SetOffsetLeft(3);
        blink_.Shadow().SetOffsetTop(3);
        blink_.SetBlinkRate(500);

        still_.Create(page, "影は左上に (-3, -3)", {20, 96, 560, 48});
        still_.SetName("BlinkLabel2");
        still_.SetFontSpec({"ＭＳ Ｐゴシック", 18, true});
        still_.SetAlignment(LabelAlignment::Center);
        still_.SetLayout(LabelLayout::Center);
        still_.SetColor(RGB(255, 255, 224));
        still_.SetFontColor(RGB(128, 0, 0));
        still_.Shadow().SetColor(RGB(255, 160, 160));
        still_.Shadow().SetOffsetLeft(-3);
        still_.Shadow().SetOffsetTop(-3);
        still_.SetBlinkRate(0);

        disabled_.Create(page, "使用できません(&D)", {20, 156, 560, 24});
        disabled_.SetName("BlinkLabel3");
        disabled_.Shadow().SetVisible(false);
        disabled_.SetBlinkRate(0);
        disabled_.SetEnabled(false);

        marquee_.Create(page, "ようこそ Lumera Deck へ", {20, 200, 560, 44});
        marquee_.SetName("MarqueeLabel1");
        marquee_.SetFontSpec({"ＭＳ Ｐゴシック", 20, true});
        marquee_.SetColor(RGB(0, 0, 128));
        marquee_.SetFontColor(RGB(255, 255, 255));
        marquee_.Shadow().SetColor(RGB(0, 0, 0));
        marquee_.OnEnd = [this] { marquee_.Start(0); };
        marquee_.Start(0);
        (void)form;
    }

private:
    TBlinkLabel blink_, still_, disabled_;
    TMarqueeLabel marquee_;
};

} // namespace

REGISTER_GALLERY_PAGE("ラベル", LabelPage);
