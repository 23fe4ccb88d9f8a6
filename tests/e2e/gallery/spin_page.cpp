// The spin edit (editable and arrows-only) and a spin button on its own.
#include <string>

#include "gallery.h"
#include "spin.h"

namespace {

class SpinPage : public GalleryPage {
public:
    void Build(Form& form, Panel& page) override {
        delayLabel_.Create(page, "遅延(&D):", {10, 12, 70, 16});
        delay_.Create(page, {84, 8, 80, 21});
        delay_.SetName("SpinEdit1");
        delay_.SetMinValue(1);
        delay_.SetMaxValue(3600);
        delay_.SetValue(5);

        arrowsOnlyLabel_.Create(page, "矢印のみ(&A):", {10, 44, 70, 16});
        arrowsOnly_.Create(page, {84, 40, 80, 21});
        arrowsOnly_.SetName("SpinEdit2");
        arrowsOnly_.SetEditorEnabled(false);
        arrowsOnly_.SetMinValue(0);
        arrowsOnly_.SetMaxValue(10);

        spinButton_.Create(page, {84, 76, 20, 25}, true);
        spinButton_.SetName("SpinButton1");
        count_.Create(page, "0", {112, 81, 60, 16});
        count_.SetName("Label3");
        spinButton_.onUpClick = [this] { Count(1); };
        spinButton_.onDownClick = [this] { Count(-1); };
        (void)form;
    }

private:
    void Count(int delta) {
        clicks_ += delta;
        count_.SetText(std::to_string(clicks_));
    }

    Label delayLabel_, arrowsOnlyLabel_, count_;
    TSpinEdit delay_, arrowsOnly_;
    TSpinButton spinButton_;
    int clicks_ = 0;
};

} // namespace

REGISTER_GALLERY_PAGE("スピン", SpinPage);
