#include "win/elevation.h"

#include <gtest/gtest.h>

#include "test_support.h"
#include "win/handles.h"

namespace {

// A mutex an elevated copy made refuses an ordinary copy full access; one whose access list
// grants nothing stands in for it. (Wine grants the right to wait whatever the list says,
// so a refusal of that too, taken as running, cannot be shown here.)
TEST(Elevation, AMutexCountsAsRunningAlsoWhenItRefusesAccess) {
    const std::wstring open = L"LumeraElevationTestOpen", refusing = L"LumeraElevationTestRefusing";
    EXPECT_FALSE(NamedMutexExists(open));
    UniqueHandle plain(CreateMutexW(nullptr, FALSE, open.c_str()));
    ASSERT_TRUE(plain);
    EXPECT_TRUE(NamedMutexExists(open));

    SECURITY_DESCRIPTOR descriptor;
    ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ACL nothingGranted;
    ASSERT_TRUE(InitializeAcl(&nothingGranted, sizeof nothingGranted, ACL_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, &nothingGranted, FALSE));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    UniqueHandle elevatedCopys(CreateMutexW(&attributes, FALSE, refusing.c_str()));
    ASSERT_TRUE(elevatedCopys);
    ASSERT_FALSE(UniqueHandle(OpenMutexW(MUTEX_ALL_ACCESS, FALSE, refusing.c_str())));
    EXPECT_TRUE(NamedMutexExists(refusing));
}

// Wine's desktop answers the whole chain, so the start is seen through; Wine shows no
// elevation, so that the program runs without it is not.
TEST(Elevation, TheDesktopShellStartsTheProgramWithItsParameters) {
    ScratchFolder folder("DesktopStart");
    const std::wstring program = folder.file(L"run me \u00e9.exe");
    InstallProbe(program);
    ASSERT_TRUE(ShellOpenThroughDesktop(program, L"/first \"two words\""));
    EXPECT_NE(WaitForProbeLog(program).find(L"/first \"two words\"|"), std::wstring::npos);
}

} // namespace
