#include <gtest/gtest.h>

#include <windows.h>

#include "wizard_pages.h"

namespace {

using P = WizardPage;

TEST(WizardPagesTest, NextSkipsPagesThatAreNotOffered) {
    PageAvailability none;
    EXPECT_EQ(PageAfter(P::Welcome, none), P::Start);

    PageAvailability noTexts{false, false, true, true};
    EXPECT_EQ(PageAfter(P::Welcome, noTexts), P::Method) << "without licence and readme";
    EXPECT_EQ(PageAfter(P::Method, noTexts), P::Shortcuts);

    PageAvailability all{true, true, true, true};
    EXPECT_EQ(PageAfter(P::Welcome, all), P::Licence);
    EXPECT_EQ(PageAfter(P::Licence, all), P::Information);
    EXPECT_EQ(PageAfter(P::Shortcuts, all), P::Start);

    PageAvailability licenceOnly{true, false, false, false};
    EXPECT_EQ(PageAfter(P::Licence, licenceOnly), P::Start);
    // The last page's Next installs; there is no page after it.
    EXPECT_EQ(PageAfter(P::Start, all), P::None);
    EXPECT_EQ(PageAfter(P::None, all), P::None);
}

TEST(WizardPagesTest, BackFindsTheLastOfferedPageBeforeAndEndsAtWelcome) {
    PageAvailability readmeAndShortcuts{false, true, false, true};
    EXPECT_EQ(PageBefore(P::Start, readmeAndShortcuts), P::Shortcuts);
    EXPECT_EQ(PageBefore(P::Shortcuts, readmeAndShortcuts), P::Information);
    EXPECT_EQ(PageBefore(P::Information, readmeAndShortcuts), P::Welcome);
    EXPECT_EQ(PageBefore(P::Start, PageAvailability()), P::Welcome);
    EXPECT_EQ(PageBefore(P::Welcome, readmeAndShortcuts), P::Welcome);
}

TEST(WizardPagesTest, FreeSpaceInKilobytesWithSeparators) {
    EXPECT_EQ(FreeSpaceText(0), L"0");
    EXPECT_EQ(FreeSpaceText(1023), L"0");
    EXPECT_EQ(FreeSpaceText(999 * 1024), L"999");
    EXPECT_EQ(FreeSpaceText(1000 * 1024), L"1,000");
    EXPECT_EQ(FreeSpaceText(1234567LL * 1024 + 5), L"1,234,567");
    EXPECT_EQ(FreeSpaceText(-1), L"-1") << "a drive that cannot be queried";
}

TEST(WizardPagesTest, FreeSpaceOfTheFieldsDrive) {
    EXPECT_GT(FreeSpaceOfField(L"C:\\Program Files\\Not Made Yet"), 0);
    EXPECT_GT(FreeSpaceOfField(L""), 0) << "the current drive";
    EXPECT_EQ(FreeSpaceOfField(L"\\\\server\\share"), -1);
    // A drive letter that is not mapped cannot be queried.
    DWORD drives = GetLogicalDrives();
    for (wchar_t letter = L'Z'; letter >= L'D'; --letter)
        if (!(drives & (1u << (letter - L'A')))) {
            EXPECT_EQ(FreeSpaceOfField(std::wstring(1, letter) + L":\\App"), -1);
            break;
        }
}

} // namespace
