// The progress window's display of a fast run: the latest step at the screen's pace.
#include <gtest/gtest.h>

#include <vector>

#include "step_display.h"

namespace {

struct Sent {
    std::vector<std::wstring> items;
    std::vector<int> percents;
    int captions = 0;
};

StepDisplay MakeDisplay(Sent& sent) {
    return StepDisplay({[&](const std::wstring&) { ++sent.captions; },
                        [&](const std::wstring& text) { sent.items.push_back(text); },
                        [](const std::wstring&) {}, [&](int percent) { sent.percents.push_back(percent); }},
                       L"Ferrox");
}

TEST(StepDisplay, AFastRunShowsItsLatestStepOnlyWhenDueOrAsked) {
    Sent sent;
    StepDisplay display = MakeDisplay(sent);
    display.ShowStep(L"copying", L"a.txt", L"");
    for (int i = 0; i < 100; ++i) {
        display.ShowStep(L"copying", L"file" + std::to_wstring(i), L"");
        display.SetProgress(i);
    }
    // The first step went out at once; the burst after it waits for its turn.
    ASSERT_FALSE(sent.items.empty());
    EXPECT_EQ(sent.items.front(), L"a.txt");
    EXPECT_LT(sent.items.size(), 100u);
    display.Update();
    EXPECT_EQ(sent.items.back(), L"file99");
    EXPECT_EQ(sent.percents.back(), 99);
    EXPECT_EQ(sent.captions, 1); // the caption changed once
    size_t before = sent.items.size();
    display.Update(); // nothing changed: nothing is sent again
    EXPECT_EQ(sent.items.size(), before);
}

TEST(StepDisplay, MessagesAreFetchedAtMostEveryPumpInterval) {
    Sent sent;
    StepDisplay display = MakeDisplay(sent);
    EXPECT_TRUE(display.PumpDue());
    EXPECT_FALSE(display.PumpDue());
    Sleep(static_cast<DWORD>(StepDisplay::PumpInterval * 4)); // the tick count moves in steps
    EXPECT_TRUE(display.PumpDue());
}

} // namespace
