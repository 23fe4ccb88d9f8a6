// The gallery program: every component on a tab page of one form "TGalleryForm".
#include <windows.h>

#include <algorithm>

#include "app.h"
#include "gallery.h"

std::vector<GalleryEntry>& GalleryEntries() {
    static std::vector<GalleryEntry> entries;
    return entries;
}

namespace {

class TGalleryForm : public Form {
public:
    bool Build() {
        if (!CreateForm({"TGalleryForm", "ギャラリー (Lumera Deck)", WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX,
                         640, 460}))
            return false;
        tabs_.Create(*this, {8, 8, 624, 444});
        tabs_.SetName("PageControl1");
        auto& entries = GalleryEntries();
        std::sort(entries.begin(), entries.end(),
                  [](const GalleryEntry& a, const GalleryEntry& b) { return a.caption < b.caption; });
        for (auto& entry : entries) {
            Panel& page = tabs_.AddPage(entry.caption);
            pages_.push_back(entry.make());
            pages_.back()->Build(*this, page);
        }
        tabs_.SetSelectedIndex(0);
        return true;
    }

protected:
    void OnCloseRequest() override {
        DestroyWindow(handle());
        PostQuitMessage(0);
    }

private:
    TabControl tabs_;
    std::vector<std::unique_ptr<GalleryPage>> pages_;
};

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    Application::Initialize(instance, "ギャラリー (Lumera Deck)");
    TGalleryForm form;
    if (!form.Build())
        return 1;
    Application::SetMainWindow(form.handle());
    ShowWindow(form.handle(), show);
    return Application::Run();
}
