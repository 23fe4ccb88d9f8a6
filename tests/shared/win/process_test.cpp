#include "win/process.h"
#include "win/handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace {

TEST(Privileges, UnknownNamesFailKnownOnesAdjust) {
    EXPECT_FALSE(SetProcessPrivilege("SeNoSuchPrivilege", false));
    EXPECT_TRUE(SetProcessPrivilege("SeBackupPrivilege", false));
    EXPECT_TRUE(SetProcessPrivilege("SeBackupPrivilege", true));
}

// Whether the process token has the named privilege enabled.
bool PrivilegeEnabled(const wchar_t* name) {
    LUID wanted = {};
    EXPECT_TRUE(LookupPrivilegeValueW(nullptr, name, &wanted));
    UniqueHandle token;
    EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive()));
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenPrivileges, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    bool enabled = false;
    if (GetTokenInformation(token.get(), TokenPrivileges, buffer.data(), size, &size)) {
        const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
        for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
            const LUID_AND_ATTRIBUTES& entry = privileges->Privileges[i];
            if (entry.Luid.LowPart == wanted.LowPart && entry.Luid.HighPart == wanted.HighPart)
                enabled = (entry.Attributes & SE_PRIVILEGE_ENABLED) != 0;
        }
    }
    return enabled;
}

TEST(Privileges, DisablingAllLeavesNoneOn) {
    EnableBackupPrivilege();
    ASSERT_TRUE(SetProcessPrivilege("SeShutdownPrivilege", false));
    ASSERT_TRUE(PrivilegeEnabled(L"SeBackupPrivilege"));
    ASSERT_TRUE(PrivilegeEnabled(L"SeShutdownPrivilege"));
    DisableAllPrivileges();
    EXPECT_FALSE(PrivilegeEnabled(L"SeBackupPrivilege"));
    EXPECT_FALSE(PrivilegeEnabled(L"SeShutdownPrivilege"));
}

TEST(Eject, UnansweredOnTheNtFamily) {
    // No VWIN32 service here: the request goes unanswered and AX comes back as sent.
    EXPECT_EQ(EjectMedia(4), 0x440Du);
}

} // namespace
