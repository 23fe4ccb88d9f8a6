// Slumbo's delay from the command line and the countdown's text.
#include <gtest/gtest.h>

#include "countdown.h"

namespace {

TEST(CountdownTest, OnlyAWholeDecimalNumberIsADelay) {
    struct Case {
        const wchar_t* parameter;
        std::optional<int> delay;
    } cases[] = {
        {L"1", 1},
        {L"3600", 3600},
        {L"5000", 5000}, // held within 1..3600 by the spin edit, not here
        {L"0", 0},
        {L"-5", -5},
        {L"+7", 7},
        {L"007", 7},
        {L"2147483647", 2147483647},
        {L"-2147483648", -2147483647 - 1},
        {L"2147483648", std::nullopt},
        {L"99999999999999999999", std::nullopt},
        {L"", std::nullopt},
        {L"abc", std::nullopt},
        {L"1a", std::nullopt},
        {L"-", std::nullopt},
        {L"1.5", std::nullopt},
        {L"\uff11", std::nullopt}, // a full-width digit
    };
    for (const Case& c : cases)
        EXPECT_EQ(DelayFromParameter(c.parameter), c.delay) << static_cast<int>(c.parameter[0]);
}

TEST(CountdownTest, TheTextCountsTheRemainingSecondsOnItsFirstLine) {
    EXPECT_EQ(CountdownText(1), "あと 1 秒後に、\nｽｸﾘｰﾝ ｾｰﾊﾞｰを起動します。");
    EXPECT_EQ(CountdownText(3600).substr(0, 12), "あと 3600 秒");
}

} // namespace
