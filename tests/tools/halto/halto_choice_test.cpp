// How Halto reads its switch and its remembered choice, and what each choice asks for.
#include <gtest/gtest.h>

#include <reason.h>

#include "error_reason.h"
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
    for (PlatformFamily family : {PlatformWin95, PlatformNT}) {
        for (HaltoChoice choice : all) {
            Text notice = NoticeText(choice);
            EXPECT_NE(notice.find("準備をしています。\nしばらくお待ちください。"), Text::npos) << notice;
            for (HaltoChoice other : all) {
                if (other != choice) {
                    EXPECT_NE(notice, NoticeText(other));
                    EXPECT_NE(SessionEndFor(choice, family).flags, SessionEndFor(other, family).flags);
                }
            }
            EXPECT_EQ(SessionEndFor(choice, family).flags & (EWX_FORCE | EWX_FORCEIFHUNG), 0u);
        }
    }
    EXPECT_EQ(NoticeText(HaltoChoice::LogOff).rfind("ﾛｸﾞｵﾝし直す準備", 0), 0u);
}

TEST(HaltoChoiceTest, PowerOffSwitchesThePowerOffOnTheNTFamilyAsAPlannedEnd) {
    const DWORD planned = SHTDN_REASON_FLAG_PLANNED; // major and minor "other"
    struct Case {
        HaltoChoice choice;
        PlatformFamily family;
        UINT flags;
        DWORD reason;
    } cases[] = {
        {HaltoChoice::PowerOff, PlatformNT, EWX_SHUTDOWN | EWX_POWEROFF, planned},
        {HaltoChoice::Restart, PlatformNT, EWX_REBOOT, planned},
        {HaltoChoice::LogOff, PlatformNT, EWX_LOGOFF, planned},
        // The 95 family keeps its flags; its second parameter is reserved.
        {HaltoChoice::PowerOff, PlatformWin95, EWX_SHUTDOWN, 0},
        {HaltoChoice::Restart, PlatformWin95, EWX_REBOOT, 0},
        {HaltoChoice::LogOff, PlatformWin95, EWX_LOGOFF, 0},
    };
    for (const Case& c : cases) {
        SessionEndRequest request = SessionEndFor(c.choice, c.family);
        EXPECT_EQ(request.flags, c.flags) << static_cast<int>(c.choice) << " on " << c.family;
        EXPECT_EQ(request.reason, c.reason) << static_cast<int>(c.choice) << " on " << c.family;
    }
}

TEST(HaltoChoiceTest, ARefusedRequestNamesWhatFailedAndThePlatformsReason) {
    std::wstring text = SessionEndFailureText(HaltoChoice::PowerOff, ERROR_PRIVILEGE_NOT_HELD);
    EXPECT_EQ(text.rfind(Widen("電源を切ることができませんでした。\n\n"), 0), 0u) << Narrow(text);
    std::wstring reason = ErrorReason(ERROR_PRIVILEGE_NOT_HELD);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(text.substr(text.size() - reason.size()), reason);
    // An error the platform has no text for still says which one it was.
    EXPECT_NE(ErrorReason(0x2000FFFF).find(L"536936447"), std::wstring::npos);
}

} // namespace
