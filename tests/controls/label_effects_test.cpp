// The label effects against real windows: what they paint (rendered with WM_PRINTCLIENT
// into a bitmap and compared with plain GDI drawing) and how their timers run.
#include "label_effects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gdi.h"
#include "win/encoding.h"

namespace {

const COLORREF White = RGB(255, 255, 255);
const COLORREF Red = RGB(255, 0, 0);
const COLORREF Blue = RGB(0, 0, 255);
const COLORREF Green = RGB(0, 160, 0);

// A top-level window to hold the labels. Its background is green left of x = 100 and blue
// from there on, so a transparent child shows which part of it lies below.
class Host : public Window {
public:
    Host() {
        WindowParams params;
        params.className = "LabelEffectsTestHost";
        params.style = WS_POPUP | WS_VISIBLE;
        params.bounds = {0, 0, 300, 200};
        Create(params);
        SetFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_ERASEBKGND)
            return DefaultHandling(message, wParam, lParam);
        auto dc = reinterpret_cast<HDC>(wParam);
        RECT left = {0, 0, 100, 200}, right = {100, 0, 300, 200};
        UniqueGdiObject green(CreateSolidBrush(Green)), blue(CreateSolidBrush(Blue));
        FillRect(dc, &left, static_cast<HBRUSH>(green.get()));
        FillRect(dc, &right, static_cast<HBRUSH>(blue.get()));
        return 1;
    }
};

// A 32-bit top-down bitmap selected into a memory DC, to paint into and read back.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
        bitmap_.reset(CreateTopDownBitmap(dc_, width, height, &bits_));
        old_ = SelectObject(dc_, bitmap_.get());
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        uint32_t pixel = bits_[y * width_ + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    int Count(COLORREF color) const {
        int count = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                count += At(x, y) == color;
        return count;
    }
    // Leftmost column holding the colour, or -1.
    int FirstColumn(COLORREF color) const {
        for (int x = 0; x < width_; ++x)
            for (int y = 0; y < height_; ++y)
                if (At(x, y) == color)
                    return x;
        return -1;
    }
    bool SameAs(const Canvas& other) const {
        GdiFlush();
        return std::equal(bits_, bits_ + width_ * height_, other.bits_);
    }
    void Fill(COLORREF color) {
        RECT all = {0, 0, width_, height_};
        UniqueGdiObject brush(CreateSolidBrush(color));
        FillRect(dc_, &all, static_cast<HBRUSH>(brush.get()));
    }

private:
    int width_, height_;
    HDC dc_;
    UniqueGdiObject bitmap_;
    uint32_t* bits_ = nullptr;
    HGDIOBJ old_;
};

std::unique_ptr<Canvas> Render(Widget& label) {
    auto canvas = std::make_unique<Canvas>(label.ClientWidth(), label.ClientHeight());
    SendMessageW(label.handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT);
    return canvas;
}

// Plain GDI text as a label without effects would draw it.
void DrawPlain(Canvas& canvas, HFONT font, const Text& text, RECT rect, UINT format, COLORREF color) {
    std::wstring wide = Widen(text);
    SelectObjectScope select(canvas.dc(), font);
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), color);
    DrawTextW(canvas.dc(), wide.c_str(), static_cast<int>(wide.size()), &rect, format);
}

template <typename Condition> bool PumpUntil(Condition done, DWORD timeoutMs = 3000) {
    ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    return true;
}

class LabelEffects : public ::testing::Test {
protected:
    void SetUp() override {
        font_ = CreateFontFor(FontSpec{"Arial", 16, true}, 96);
        ASSERT_TRUE(host_.handle());
    }
    // A red-on-white blink label that does not blink, at (x, 10) in the host.
    void MakeBlinkLabel(TBlinkLabel& label, int x = 10, int width = 160, int height = 40) {
        ASSERT_TRUE(label.Create(host_, "Wm Lumera", {x, 10, width, height}));
        label.SetFont(AsFont(font_));
        label.SetColor(White);
        label.SetFontColor(Red);
        label.SetBlinkRate(0);
        label.Shadow().SetColor(Blue);
    }
    HFONT font() const { return AsFont(font_); }

    Host host_;
    UniqueGdiObject font_;
};

TEST_F(LabelEffects, ShadowFiresOnChangeOnlyForChangesAndAssignmentKeepsTheOwner) {
    TShadow shadow;
    EXPECT_EQ(shadow.Color(), RGB(128, 128, 128));
    EXPECT_EQ(shadow.OffsetLeft(), 2);
    EXPECT_EQ(shadow.OffsetTop(), 2);
    EXPECT_TRUE(shadow.Visible());
    int changes = 0;
    shadow.OnChange = [&](TShadow& sender) {
        EXPECT_EQ(&sender, &shadow);
        ++changes;
    };
    shadow.SetOffsetLeft(2);
    shadow.SetVisible(true);
    shadow.SetColor(RGB(128, 128, 128));
    EXPECT_EQ(changes, 0);
    shadow.SetOffsetTop(-3);
    shadow.SetColor(Blue);
    EXPECT_EQ(changes, 2);

    // A label repaints when its shadow changes, and when a shadow is assigned to it.
    TBlinkLabel label;
    MakeBlinkLabel(label);
    auto pending = [&] {
        RECT update;
        bool result = GetUpdateRect(label.handle(), &update, FALSE);
        ValidateRect(label.handle(), nullptr);
        return result;
    };
    ValidateRect(label.handle(), nullptr);
    label.Shadow().SetOffsetLeft(label.Shadow().OffsetLeft());
    EXPECT_FALSE(pending());
    label.Shadow().SetOffsetLeft(5);
    EXPECT_TRUE(pending());
    label.SetShadow(shadow);
    EXPECT_TRUE(pending());
    EXPECT_EQ(label.Shadow().OffsetTop(), -3);
    EXPECT_EQ(label.Shadow().Color(), Blue);
    EXPECT_EQ(changes, 2); // the copy does not carry the other shadow's handler
    label.Shadow().SetVisible(false);
    EXPECT_TRUE(pending());
    EXPECT_TRUE(shadow.Visible()); // the source keeps its own values
    EXPECT_EQ(changes, 2);
}

TEST_F(LabelEffects, WithoutShadowTheTextSitsWherePlainTextWould) {
    TBlinkLabel label;
    MakeBlinkLabel(label);
    label.Shadow().SetVisible(false);
    for (LabelAlignment alignment : {LabelAlignment::Left, LabelAlignment::Right, LabelAlignment::Center}) {
        label.SetAlignment(alignment);
        auto shown = Render(label);
        Canvas expected(160, 40);
        expected.Fill(White);
        UINT format = alignment == LabelAlignment::Left    ? DT_LEFT
                      : alignment == LabelAlignment::Right ? DT_RIGHT
                                                           : DT_CENTER;
        DrawPlain(expected, font(), "Wm Lumera", {0, 0, 160, 40}, format | DT_EXPANDTABS, Red);
        EXPECT_GT(shown->Count(Red), 20);
        EXPECT_EQ(shown->Count(Blue), 0);
        EXPECT_TRUE(shown->SameAs(expected)) << static_cast<int>(alignment);
    }
}

// Where shadow and text go for each alignment and sign: both stay inside the label.
TEST_F(LabelEffects, ShadowAndTextPlacement) {
    struct Case {
        LabelAlignment alignment;
        LabelLayout layout;
        int offsetLeft, offsetTop;
        POINT shadowAt, textAt; // rectangle origins relative to the laid-out text rectangle
    };
    const Case cases[] = {
        {LabelAlignment::Left, LabelLayout::Top, 2, 2, {2, 2}, {0, 0}},
        {LabelAlignment::Left, LabelLayout::Top, -2, 3, {0, 3}, {2, 0}},
        {LabelAlignment::Right, LabelLayout::Top, 3, -2, {0, 0}, {-3, 2}},
        {LabelAlignment::Right, LabelLayout::Top, -3, 2, {-3, 2}, {0, 0}},
        {LabelAlignment::Center, LabelLayout::Center, 3, -3, {1, -1}, {-2, 2}},
        {LabelAlignment::Left, LabelLayout::Bottom, 2, -2, {2, -2}, {0, 0}},
        {LabelAlignment::Left, LabelLayout::Bottom, 2, 2, {2, 0}, {0, -2}},
    };
    TBlinkLabel label;
    MakeBlinkLabel(label);
    RECT measured = {0, 0, 160, 40};
    std::wstring caption = Widen(label.Caption());
    {
        Canvas probe(1, 1);
        SelectObjectScope select(probe.dc(), font());
        DrawTextW(probe.dc(), caption.c_str(), -1, &measured, DT_CALCRECT | DT_EXPANDTABS);
    }
    int textHeight = measured.bottom - measured.top;
    for (const Case& c : cases) {
        label.SetAlignment(c.alignment);
        label.SetLayout(c.layout);
        label.Shadow().SetOffsetLeft(c.offsetLeft);
        label.Shadow().SetOffsetTop(c.offsetTop);
        int top = c.layout == LabelLayout::Top      ? 0
                  : c.layout == LabelLayout::Center ? (40 - textHeight) / 2
                                                    : 40 - textHeight;
        UINT format = DT_EXPANDTABS | (c.alignment == LabelAlignment::Left    ? DT_LEFT
                                       : c.alignment == LabelAlignment::Right ? DT_RIGHT
                                                                              : DT_CENTER);
        Canvas expected(160, 40);
        expected.Fill(White);
        DrawPlain(expected, font(), label.Caption(),
                  {c.shadowAt.x, top + c.shadowAt.y, 160 + c.shadowAt.x, top + 40 + c.shadowAt.y}, format,
                  Blue);
        DrawPlain(expected, font(), label.Caption(),
                  {c.textAt.x, top + c.textAt.y, 160 + c.textAt.x, top + 40 + c.textAt.y}, format, Red);
        auto shown = Render(label);
        EXPECT_GT(shown->Count(Blue), 10);
        EXPECT_TRUE(shown->SameAs(expected))
            << "alignment " << static_cast<int>(c.alignment) << " layout " << static_cast<int>(c.layout)
            << " offsets " << c.offsetLeft << "," << c.offsetTop;
    }
    // Left-aligned with the shadow on the left: the shadow starts where plain text would.
    label.SetAlignment(LabelAlignment::Left);
    label.SetLayout(LabelLayout::Top);
    label.Shadow().SetOffsetLeft(-2);
    auto shown = Render(label);
    label.Shadow().SetVisible(false);
    int plainStart = Render(label)->FirstColumn(Red);
    EXPECT_EQ(shown->FirstColumn(Blue), plainStart);
    EXPECT_EQ(shown->FirstColumn(Red), plainStart + 2);
}

TEST_F(LabelEffects, DisabledLabelIsEmbossed) {
    TBlinkLabel label;
    MakeBlinkLabel(label);
    label.Shadow().SetVisible(false);
    label.SetColor(RGB(255, 255, 200));
    label.SetEnabled(false);
    Canvas expected(160, 40);
    expected.Fill(RGB(255, 255, 200));
    DrawPlain(expected, font(), label.Caption(), {1, 1, 161, 41}, DT_EXPANDTABS,
              GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawPlain(expected, font(), label.Caption(), {0, 0, 160, 40}, DT_EXPANDTABS,
              GetSysColor(COLOR_BTNSHADOW));
    auto shown = Render(label);
    EXPECT_EQ(shown->Count(Red), 0);
    EXPECT_TRUE(shown->SameAs(expected));
}

TEST_F(LabelEffects, AccelCharAndTabs) {
    TBlinkLabel label;
    MakeBlinkLabel(label);
    label.Shadow().SetVisible(false);
    label.SetCaption("&A\tB");
    for (bool showAccel : {true, false}) {
        label.SetShowAccelChar(showAccel);
        Canvas expected(160, 40);
        expected.Fill(White);
        DrawPlain(expected, font(), "&A\tB", {0, 0, 160, 40}, DT_EXPANDTABS | (showAccel ? 0 : DT_NOPREFIX),
                  Red);
        EXPECT_TRUE(Render(label)->SameAs(expected)) << showAccel;
    }
}

TEST_F(LabelEffects, TransparentLabelShowsTheParentBelowIt) {
    TBlinkLabel label;
    MakeBlinkLabel(label, 90, 40, 20); // across the parent's colour border at x = 100
    label.SetCaption("");
    EXPECT_EQ(Render(label)->At(5, 5), White);
    label.SetTransparent(true);
    auto shown = Render(label);
    EXPECT_EQ(shown->At(5, 5), Green);
    EXPECT_EQ(shown->At(15, 5), Blue);
}

TEST_F(LabelEffects, BlinkingHidesAndShowsTheText) {
    TBlinkLabel label;
    EXPECT_EQ(label.BlinkRate(), 500);
    MakeBlinkLabel(label);
    label.SetBlinkRate(50);
    EXPECT_EQ(label.BlinkRate(), 100);
    ASSERT_TRUE(PumpUntil([&] { return !label.TextShown(); }));
    auto hidden = Render(label);
    EXPECT_EQ(hidden->Count(Red), 0);
    EXPECT_EQ(hidden->Count(Blue), 0);
    EXPECT_EQ(hidden->Count(White), 160 * 40);
    ASSERT_TRUE(PumpUntil([&] { return label.TextShown(); }));
    EXPECT_GT(Render(label)->Count(Red), 20);

    // Rate 0 while hidden: shown at once and for good.
    ASSERT_TRUE(PumpUntil([&] { return !label.TextShown(); }));
    label.SetBlinkRate(0);
    EXPECT_EQ(label.BlinkRate(), 0);
    EXPECT_TRUE(label.TextShown());
    EXPECT_FALSE(PumpUntil([&] { return !label.TextShown(); }, 400));
    EXPECT_GT(Render(label)->Count(Red), 20);
}

TEST_F(LabelEffects, MarqueePropertyLimits) {
    TMarqueeLabel marquee;
    EXPECT_EQ(marquee.Speed(), 100);
    EXPECT_EQ(marquee.Steps(), 50);
    EXPECT_EQ(marquee.Direction(), mlRightToLeft);
    marquee.SetSpeed(5000);
    EXPECT_EQ(marquee.Speed(), 1000);
    marquee.SetSpeed(0);
    EXPECT_EQ(marquee.Speed(), 1);
    marquee.SetSteps(0);
    EXPECT_EQ(marquee.Steps(), 1);
}

struct MarqueeLog {
    std::string events;
    void Attach(TMarqueeLabel& marquee) {
        marquee.OnBegin = [this] { events += "B"; };
        marquee.OnStep = [this, &marquee] { events += std::to_string(marquee.Counter()); };
        marquee.OnEnd = [this] { events += "E"; };
    }
};

TEST_F(LabelEffects, MarqueeOneStepPassFiresBeginStepEndInOneTick) {
    TMarqueeLabel marquee;
    ASSERT_TRUE(marquee.Create(host_, "Lumera", {10, 60, 200, 30}));
    marquee.SetSpeed(1);
    marquee.SetSteps(1);
    MarqueeLog log;
    log.Attach(marquee);
    marquee.Start(0);
    ASSERT_TRUE(PumpUntil([&] { return !marquee.Running(); }));
    EXPECT_EQ(log.events, "B1E");
}

TEST_F(LabelEffects, MarqueeFullPassWithTheLoopRunning) {
    TMarqueeLabel marquee;
    ASSERT_TRUE(marquee.Create(host_, "Lumera", {10, 60, 200, 30}));
    marquee.SetSpeed(10);
    marquee.SetSteps(5);
    MarqueeLog log;
    log.Attach(marquee);
    marquee.OnStep = [&] {
        log.events += std::to_string(marquee.Counter());
        marquee.Start(1); // during the pass: ignored
    };
    marquee.Start(0);
    EXPECT_TRUE(marquee.Running());
    ASSERT_TRUE(PumpUntil([&] { return log.events.find('E') != std::string::npos; }));
    EXPECT_EQ(log.events, "B12345E");
    EXPECT_FALSE(marquee.Running());
    EXPECT_EQ(marquee.Counter(), 0);
    // Idle now: no more ticks.
    EXPECT_FALSE(PumpUntil([&] { return log.events.size() > 7; }, 100));
}

TEST_F(LabelEffects, MarqueePaintsTheTextAtItsStep) {
    TMarqueeLabel marquee;
    ASSERT_TRUE(marquee.Create(host_, "Lumera", {10, 60, 200, 40}));
    marquee.SetFont(font());
    marquee.SetColor(White);
    marquee.SetFontColor(Red);
    marquee.Shadow().SetColor(Blue);
    marquee.SetSteps(4);
    // Idle: the text waits beyond the right edge.
    EXPECT_EQ(Render(marquee)->Count(White), 200 * 40);

    std::wstring caption = L"Lumera";
    SIZE size = {};
    {
        Canvas probe(1, 1);
        SelectObjectScope select(probe.dc(), font());
        GetTextExtentPoint32W(probe.dc(), caption.c_str(), 6, &size);
    }
    marquee.Start(1);    // a quarter of the way, without waiting for a tick
    int w = size.cx + 2; // the shadow offset widens the text
    int travel = 200 + w;
    int y = (40 - size.cy - 2) / 2;
    for (TDirection direction : {mlRightToLeft, mlLeftToRight}) {
        marquee.SetDirection(direction);
        double part = direction == mlRightToLeft ? 0.75 : 0.25;
        int x = static_cast<int>(std::nearbyint(part * travel)) - w; // ties to even
        Canvas expected(200, 40);
        expected.Fill(White);
        SelectObjectScope select(expected.dc(), font());
        SetBkMode(expected.dc(), TRANSPARENT);
        SetTextColor(expected.dc(), Blue);
        TextOutW(expected.dc(), x + 2, y + 2, caption.c_str(), 6);
        SetTextColor(expected.dc(), Red);
        TextOutW(expected.dc(), x, y, caption.c_str(), 6);
        auto shown = Render(marquee);
        EXPECT_GT(shown->Count(Red), 20);
        EXPECT_TRUE(shown->SameAs(expected)) << direction;
    }
}

} // namespace
