// Controls whose text needs more room than the form gave: the rules by which they grow and
// push the rest aside, read back from the rectangles of real windows.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls.h"
#include "form.h"

namespace {

// In the tables a text meant to fit one line gets 24 pixels, room for a line of any 9-point
// face; the subjects' 13 and 17 pixels never hold their texts.
const Text Long = "one two three four five six seven eight nine ten";
const Text Longer = "one two three four five six seven eight nine ten eleven twelve thirteen fourteen";

struct Place {
    enum Kind { Static, Check, Group, Page, HiddenPage } kind;
    const char* name;
    const char* parent; // nullptr: the form
    Bounds bounds;
    Text text;
};

// How a control's rectangle changed; "the growth" is the subject's growth in height.
enum Height { Kept, ByTheGrowth, ByLess };
struct Change {
    const char* name;
    bool wider; // else its width is kept
    Height height;
    bool moves; // its top moves down by the growth, else it is kept
};

struct Case {
    const char* rule;
    std::vector<Place> places;
    const char* subject; // the control whose growth the others follow
    std::vector<Change> changes;
    bool formGrows; // by the growth; every control not named keeps its rectangle
};

class Scene : public Form {
public:
    explicit Scene(int height) {
        CreateForm({"TFitLayoutTest", "fit layout", WS_POPUP | WS_CAPTION, 300, height});
    }
    ~Scene() override {
        while (!owned_.empty())
            owned_.pop_back(); // children before what holds them
    }

    Widget& Add(const Place& place) {
        Widget& parent = place.parent ? *named_.at(place.parent) : static_cast<Widget&>(*this);
        std::unique_ptr<Widget> widget;
        bool created = false;
        switch (place.kind) {
        case Place::Static: {
            auto label = std::make_unique<Label>();
            created = label->Create(parent, place.text, place.bounds);
            widget = std::move(label);
            break;
        }
        case Place::Check: {
            auto box = std::make_unique<CheckBox>();
            created = box->Create(parent, place.text, place.bounds);
            widget = std::move(box);
            break;
        }
        case Place::Group: {
            auto frame = std::make_unique<GroupBox>();
            created = frame->Create(parent, place.text, place.bounds);
            widget = std::move(frame);
            break;
        }
        case Place::Page:
        case Place::HiddenPage: {
            auto page = std::make_unique<Panel>();
            created = page->Create(parent, place.bounds);
            page->SetVisible(place.kind == Place::Page);
            widget = std::move(page);
            break;
        }
        }
        EXPECT_TRUE(created) << place.name;
        named_[place.name] = widget.get();
        owned_.push_back(std::move(widget));
        return *named_[place.name];
    }

    Widget& operator[](const std::string& name) { return *named_.at(name); }

    void ShowQuietly() { ShowWindow(handle(), SW_SHOWNOACTIVATE); }

private:
    std::vector<std::unique_ptr<Widget>> owned_;
    std::map<std::string, Widget*> named_;
};

RECT InParent(Widget& widget) {
    RECT rect;
    GetWindowRect(widget.handle(), &rect);
    MapWindowPoints(nullptr, GetParent(widget.handle()), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int ClientHeight(Form& form) {
    RECT client;
    GetClientRect(form.handle(), &client);
    return client.bottom;
}

TEST(FitLayout, GrowRules) {
    const std::vector<Case> cases = {
        {"a check box widens into the free room to its right",
         {{Place::Check, "box", nullptr, {10, 10, 40, 24}, "caption wider than forty"}},
         nullptr,
         {{"box", true, Kept, false}},
         false},
        {"with a neighbour beside it, it wraps and grows down; what lies below moves with it",
         {{Place::Check, "box", nullptr, {10, 10, 40, 17}, "caption wider than forty"},
          {Place::Static, "beside", nullptr, {60, 10, 100, 24}, "x"},
          {Place::Static, "below", nullptr, {10, 40, 100, 24}, "below"}},
         "box",
         {{"box", false, ByTheGrowth, false}, {"below", false, Kept, true}},
         true},
        {"a frame around a growing text grows with it",
         {{Place::Group, "frame", nullptr, {5, 5, 200, 50}, "frame"},
          {Place::Static, "text", nullptr, {10, 20, 60, 13}, Long},
          {Place::Static, "below", nullptr, {5, 70, 100, 24}, "below"}},
         "text",
         {{"text", false, ByTheGrowth, false},
          {"frame", false, ByTheGrowth, false},
          {"below", false, Kept, true}},
         true},
        {"pages stacked in one place grow once, by what their tallest text needs",
         {{Place::Page, "page1", nullptr, {0, 0, 300, 100}, ""},
          {Place::HiddenPage, "page2", nullptr, {0, 0, 300, 100}, ""},
          {Place::Static, "text1", "page1", {10, 10, 60, 13}, Long},
          {Place::Static, "text2", "page2", {10, 10, 60, 13}, Longer},
          {Place::Static, "below", nullptr, {10, 120, 100, 24}, "below"}},
         "text2",
         {{"page1", false, ByTheGrowth, false},
          {"page2", false, ByTheGrowth, false},
          {"text1", false, ByLess, false},
          {"text2", false, ByTheGrowth, false},
          {"below", false, Kept, true}},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        Scene scene(160);
        std::map<std::string, RECT> before;
        for (const Place& place : c.places)
            before[place.name] = InParent(scene.Add(place));
        const int formBefore = ClientHeight(scene);
        scene.ShowQuietly();

        RECT subjectAfter = c.subject ? InParent(scene[c.subject]) : RECT{};
        const int growth = c.subject ? (subjectAfter.bottom - subjectAfter.top) -
                                           (before[c.subject].bottom - before[c.subject].top)
                                     : 0;
        if (c.subject) {
            EXPECT_GT(growth, 0) << c.subject << " needs more than one line";
        }
        for (const Place& place : c.places) {
            SCOPED_TRACE(place.name);
            const RECT was = before[place.name], is = InParent(scene[place.name]);
            Change change = {place.name, false, Kept, false};
            for (const Change& named : c.changes)
                if (std::string(named.name) == place.name)
                    change = named;
            EXPECT_EQ(is.left, was.left);
            EXPECT_EQ(is.top, was.top + (change.moves ? growth : 0));
            if (change.wider)
                EXPECT_GT(is.right - is.left, was.right - was.left);
            else
                EXPECT_EQ(is.right - is.left, was.right - was.left);
            const int grew = (is.bottom - is.top) - (was.bottom - was.top);
            if (change.height == ByLess) {
                EXPECT_GT(grew, 0);
                EXPECT_LT(grew, growth);
            } else {
                EXPECT_EQ(grew, change.height == ByTheGrowth ? growth : 0);
            }
        }
        EXPECT_EQ(ClientHeight(scene), formBefore + (c.formGrows ? growth : 0));
    }
}

// A text set while the window shows is fitted at once; one set while it is hidden, at the show.
TEST(FitLayout, ATextSetLaterIsFittedWhileTheWindowShows) {
    Scene scene(100);
    Widget& text = scene.Add({Place::Static, "text", nullptr, {10, 10, 60, 13}, "short"});
    Widget& below = scene.Add({Place::Static, "below", nullptr, {10, 40, 100, 24}, "below"});
    const RECT was = InParent(text), belowWas = InParent(below);

    text.SetText(Long);
    EXPECT_EQ(InParent(text).bottom, was.bottom) << "hidden: left for the show";
    scene.ShowQuietly();
    const RECT shown = InParent(text);
    ASSERT_GT(shown.bottom, was.bottom);

    text.SetText(Longer);
    const RECT later = InParent(text);
    EXPECT_GT(later.bottom, shown.bottom);
    EXPECT_EQ(later.right - later.left, was.right - was.left);
    EXPECT_EQ(InParent(below).top, belowWas.top + (later.bottom - was.bottom));
}

// A form that grows at the show: one still where it was centred is centred for its new
// size; one placed elsewhere keeps its top left corner.
TEST(FitLayout, AGrowingFormStaysCentredOnlyWhereItWasCentred) {
    for (bool moved : {false, true}) {
        SCOPED_TRACE(moved ? "moved" : "centred");
        Scene scene(40);
        scene.Add({Place::Static, "text", nullptr, {10, 10, 60, 13}, Long});
        RECT was;
        GetWindowRect(scene.handle(), &was);
        if (moved) {
            SetWindowPos(scene.handle(), nullptr, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            OffsetRect(&was, 7 - was.left, 9 - was.top);
        }
        scene.ShowQuietly();
        RECT is;
        GetWindowRect(scene.handle(), &is);
        ASSERT_GT(is.bottom - is.top, was.bottom - was.top);
        RECT work;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        const LONG centredTop = work.top + ((work.bottom - work.top) - (is.bottom - is.top)) / 2;
        EXPECT_EQ(is.left, was.left);
        EXPECT_EQ(is.top, moved ? was.top : centredTop);
    }
}

} // namespace
