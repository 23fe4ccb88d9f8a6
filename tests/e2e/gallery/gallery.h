// The gallery: one window with a tab page per component, so the end-to-end tests can drive
// each one and a person can look at them. Each page registers itself from its own file.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls.h"
#include "form.h"

class GalleryPage {
public:
    virtual ~GalleryPage() = default;
    // Creates the page's controls on its tab page (about 600 × 400 96-DPI pixels).
    virtual void Build(Form& form, Panel& page) = 0;
};

struct GalleryEntry {
    Text caption;
    std::function<std::unique_ptr<GalleryPage>()> make;
};

std::vector<GalleryEntry>& GalleryEntries();

struct GalleryRegistration {
    GalleryRegistration(const Text& caption, std::function<std::unique_ptr<GalleryPage>()> make) {
        GalleryEntries().push_back({caption, std::move(make)});
    }
};

#define REGISTER_GALLERY_PAGE(caption, PageType)                                                             \
    static GalleryRegistration galleryRegistration##PageType(caption,                                        \
                                                             [] { return std::make_unique<PageType>(); })
