// Labels that step their font down until the text fits, and the paced message pump that
// keeps windows answering during long work on their thread.
#include <gtest/gtest.h>

#include "app.h"
#include "controls.h"
#include "form.h"

namespace {

class FitForm : public Form {
public:
    FitForm() { CreateForm({"TFitTestForm", "fit test", WS_OVERLAPPEDWINDOW, 300, 200}); }
};

int PointsOf(HFONT font, HWND window) {
    LOGFONTW spec = {};
    GetObjectW(font, sizeof spec, &spec);
    HDC dc = GetDC(window);
    int points =
        MulDiv(spec.lfHeight < 0 ? -spec.lfHeight : spec.lfHeight, 72, GetDeviceCaps(dc, LOGPIXELSY));
    ReleaseDC(window, dc);
    return points;
}

const Text LongText = "one two three four five six seven eight nine ten eleven twelve thirteen fourteen "
                      "fifteen sixteen seventeen eighteen nineteen twenty";

TEST(LabelFit, ATextThatFitsKeepsTheFont) {
    FitForm form;
    Label label;
    ASSERT_TRUE(label.Create(form, "short", {0, 0, 200, 40}));
    HFONT before = label.font();
    EXPECT_TRUE(label.ShrinkFontToFit(6));
    EXPECT_EQ(label.font(), before);
}

TEST(LabelFit, ALongTextGetsASmallerFontThatShowsItWhole) {
    FitForm form;
    Label label;
    ASSERT_TRUE(label.Create(form, "", {0, 0, 200, 56}));
    label.SetText(LongText);
    const int before = PointsOf(label.font(), label.handle());
    ASSERT_FALSE(label.TextFits()) << "the test text must overflow at " << before << " pt";
    EXPECT_TRUE(label.ShrinkFontToFit(4));
    EXPECT_TRUE(label.TextFits());
    EXPECT_LT(PointsOf(label.font(), label.handle()), before);
    // Shrinking again keeps what already fits.
    HFONT fitted = label.font();
    EXPECT_TRUE(label.ShrinkFontToFit(4));
    EXPECT_EQ(label.font(), fitted);
}

TEST(LabelFit, StopsAtTheMinimumAndSaysTheTextStillOverflows) {
    FitForm form;
    Label label;
    ASSERT_TRUE(label.Create(form, "", {0, 0, 60, 14}));
    label.SetText(LongText);
    const int before = PointsOf(label.font(), label.handle());
    EXPECT_FALSE(label.ShrinkFontToFit(before - 1));
    EXPECT_EQ(PointsOf(label.font(), label.handle()), before - 1);
}

TEST(PacedMessagePump, FetchesAtMostOncePerInterval) {
    Application::PacedMessagePump pump(200);
    EXPECT_TRUE(pump.Due()) << "the first call";
    EXPECT_FALSE(pump.Due());
    Sleep(250);
    EXPECT_TRUE(pump.Due());
    EXPECT_FALSE(pump.Due());
}

TEST(PacedMessagePump, DispatchesWaitingMessagesWhenDue) {
    FitForm form;
    PostMessageW(form.handle(), WM_NULL, 0, 0);
    Application::PacedMessagePump pump(10000);
    MSG message;
    pump.Pump();
    EXPECT_FALSE(PeekMessageW(&message, form.handle(), 0, 0, PM_NOREMOVE)) << "handled on the first call";
    PostMessageW(form.handle(), WM_NULL, 0, 0);
    pump.Pump();
    EXPECT_TRUE(PeekMessageW(&message, form.handle(), 0, 0, PM_NOREMOVE)) << "not due yet: the message waits";
    Application::ProcessMessages();
}

} // namespace
