// How Halto reads its switch and its remembered choice, and what each choice asks for.
#include <gtest/gtest.h>

#include "halto_choice.h"
#include "win/encoding.h"

namespace {

TEST(HaltoChoiceTest, OnlyAMinusAndOneOfThreeLettersInAnyCaseSelectsAChoice) {
    struct Case {
        const wchar_t* parameter;
        std::optional<HaltoChoice> choice;
    } cases[] = {
        {L"-R", HaltoChoice::Restart},  {L"-r", HaltoChoice::Restart}, {L"-S", HaltoChoice::PowerOff},
        {L"-s", HaltoChoice::PowerOff}, {L"-L", HaltoChoice::LogOff},  {L"-l", HaltoChoice::LogOff},
        {L"/S", std::nullopt},          {L"S", std::nullopt},          {L"-SX", std::nullopt},
        {L"-", std::nullopt},           {L"", std::nullopt},           {L"-X", std::nullopt},
        {L" -S", std::nullopt},         {L"\uff0dS", std::nullopt}, // a full-width minus
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChoiceFromSwitch(c.parameter), c.choice) << Narrow(c.parameter);
}

TEST(HaltoChoiceTest, TheRememberedCodeFallsBackToRestart) {
    EXPECT_EQ(ChoiceFromCode(2), HaltoChoice::PowerOff);
    EXPECT_EQ(ChoiceFromCode(3), HaltoChoice::LogOff);
    for (long other : {1L, 0L, -1L, 4L, 7L})
        EXPECT_EQ(ChoiceFromCode(other), HaltoChoice::Restart) << other;
}

TEST(HaltoChoiceTest, EachChoiceHasItsOwnNoticeAndNoneForcesTheSessionsEnd) {
    const HaltoChoice all[] = {HaltoChoice::Restart, HaltoChoice::PowerOff, HaltoChoice::LogOff};
    for (HaltoChoice choice : all) {
        Text notice = NoticeText(choice);
        EXPECT_NE(notice.find("準備をしています。\nしばらくお待ちください。"), Text::npos) << notice;
        for (HaltoChoice other : all) {
            if (other != choice) {
                EXPECT_NE(notice, NoticeText(other));
                EXPECT_NE(ExitWindowsFlags(choice), ExitWindowsFlags(other));
            }
        }
        EXPECT_EQ(ExitWindowsFlags(choice) & (EWX_FORCE | EWX_FORCEIFHUNG), 0u);
    }
    EXPECT_EQ(NoticeText(HaltoChoice::LogOff).rfind("ﾛｸﾞｵﾝし直す準備", 0), 0u);
    EXPECT_EQ(ExitWindowsFlags(HaltoChoice::PowerOff), static_cast<UINT>(EWX_SHUTDOWN));
    EXPECT_EQ(ExitWindowsFlags(HaltoChoice::LogOff), static_cast<UINT>(EWX_LOGOFF));
    EXPECT_EQ(ExitWindowsFlags(HaltoChoice::Restart), static_cast<UINT>(EWX_REBOOT));
}

} // namespace
