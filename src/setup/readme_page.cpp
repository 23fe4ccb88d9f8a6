#include "readme_page.h"

#include "wizard_pages.h"

bool ReadmePage::Create(Widget& parent, const Bounds& bounds, const Text& caption,
                        const std::wstring& readmeFile) {
    if (!Panel::Create(parent, bounds))
        return false;
    const int w = bounds.width;
    ReadmeLabel.Create(*this, caption, {0, 0, w, 16});
    ReadmeMemo.Create(*this, "", {0, 20, w, bounds.height - 20},
                      ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                          WS_TABSTOP);
    ReadmeMemo.SetName("Memo2");
    ReadmeMemo.SetText(TextForBox(readmeFile));
    return true;
}
