#include "progress_page.h"

#include "wizard_pages.h"

bool ProgressPage::Create(Widget& parent, const Bounds& bounds, const std::wstring& text,
                          const std::array<const char*, 4>& barNames, const Text& completion,
                          HFONT boldFont) {
    if (!Panel::Create(parent, bounds))
        return false;
    const int w = bounds.width;
    ProgressLabel.Create(*this, "", {0, 0, w, 60});
    ProgressLabel.SetText(text);
    for (int i = 0; i < 4; ++i) {
        BarLabels[i].Create(*this, barNames[i], {0, 70 + i * 36, w, 14});
        Bars[i].Create(*this, {0, 86 + i * 36, w, 16});
        Bars[i].SetName("ProgressBar" + std::to_string(i + 1));
    }
    CompleteLabel.Create(*this, completion, {0, 226, w, 18}, SS_CENTER);
    CompleteLabel.SetName("CompleteLabel");
    CompleteLabel.SetFont(boldFont);
    CompleteLabel.SetVisible(false);
    return true;
}

void ProgressPage::SetBarMaximum(int bar, int maximum) {
    Bars[bar].SetVisible(maximum > 0);
    BarLabels[bar].SetVisible(maximum > 0);
    Bars[bar].SetRange(0, maximum > 0 ? maximum : 1);
}
