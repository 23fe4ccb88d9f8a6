#include "process.h"

#include <windows.h>

#include "encoding.h"
#include "folders.h"
#include "handles.h"

bool SetProcessPrivilege(const Text& privilegeName, bool disableAll) {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.receive())) {
        token.release();
        return false;
    }
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // Disabling all needs no name: the token ignores the list then.
    if (!disableAll &&
        !LookupPrivilegeValueW(nullptr, Widen(privilegeName).c_str(), &privileges.Privileges[0].Luid))
        return false;
    SetLastError(ERROR_SUCCESS);
    if (!AdjustTokenPrivileges(token.get(), disableAll, disableAll ? nullptr : &privileges, 0, nullptr,
                               nullptr))
        return false;
    return GetLastError() == ERROR_SUCCESS;
}

void EnableBackupPrivilege() {
    if (GetPlatformFamily() == PlatformNT)
        SetProcessPrivilege("SeBackupPrivilege", false);
}

void DisableAllPrivileges() {
    if (GetPlatformFamily() == PlatformNT)
        SetProcessPrivilege(Text(), true);
}

namespace {

// The register block of the 95 family's VWIN32 DOS IOCTL request.
struct DiocRegisters {
    DWORD ebx, edx, ecx, eax, edi, esi, flags;
};
static_assert(sizeof(DiocRegisters) == 28, "the service expects 28 bytes");

constexpr DWORD VwinDosIoctl = 1;
constexpr DWORD EjectRemovableMedia = 0x0849; // category 08h, function 49h
constexpr DWORD GenericBlockIoctl = 0x440D;

} // namespace

unsigned EjectMedia(int driveNumber) {
    DiocRegisters registers = {};
    registers.ebx = static_cast<DWORD>(driveNumber);
    registers.ecx = EjectRemovableMedia;
    registers.eax = GenericBlockIoctl;
    UniqueHandle device(CreateFileW(L"\\\\.\\vwin32", 0, 0, nullptr, 0, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (device) {
        DWORD returned = 0;
        DeviceIoControl(device.get(), VwinDosIoctl, &registers, sizeof registers, &registers,
                        sizeof registers, &returned, nullptr);
    }
    return registers.eax & 0xFFFF;
}
