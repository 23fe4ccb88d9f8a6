// A drive letter that Wine's mount manager maps to a folder while it lives, reported as the
// given drive type. Wine reads its drive settings only when its session starts; asking the
// running mount manager (as winecfg does) takes effect at once and writes the dosdevices
// link and the "Drives" type itself. Not defined off Wine.
#pragma once

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

class WineDrive {
public:
    WineDrive(wchar_t letter, ULONG type, const std::wstring& folder) : letter_(letter) {
        using ToUnix = char*(CDECL*)(const wchar_t*);
        FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
        auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(found));
        char* unixPath = toUnix ? toUnix(folder.c_str()) : nullptr;
        if (!unixPath)
            return;
        defined_ = Define(type, unixPath);
        HeapFree(GetProcessHeap(), 0, unixPath);
    }
    ~WineDrive() {
        if (defined_)
            Define(DRIVE_NO_ROOT_DIR, nullptr);
    }
    WineDrive(const WineDrive&) = delete;
    WineDrive& operator=(const WineDrive&) = delete;

    bool defined() const { return defined_; }
    UINT type() const { return GetDriveTypeW(Root().c_str()); }
    bool mediumPresent() const {
        DWORD old = 0;
        SetThreadErrorMode(SEM_FAILCRITICALERRORS, &old);
        ULARGE_INTEGER available;
        bool present = GetDiskFreeSpaceExW(Root().c_str(), &available, nullptr, nullptr);
        SetThreadErrorMode(old, nullptr);
        return present;
    }

private:
    // Wine's request block (include/ddk/mountmgr.h), followed by the Unix path.
    struct UnixDrive {
        ULONG size, type, fsType;
        DWORD serial;
        ULONGLONG unixDevice;
        WCHAR letter;
        USHORT mountPointOffset, deviceOffset, labelOffset;
    };

    std::wstring Root() const { return {letter_, L':', L'\\'}; }

    bool Define(ULONG type, const char* unixPath) {
        size_t pathBytes = unixPath ? strlen(unixPath) + 1 : 0;
        std::vector<char> block(sizeof(UnixDrive) + pathBytes);
        auto* drive = reinterpret_cast<UnixDrive*>(block.data());
        drive->size = static_cast<ULONG>(block.size());
        drive->type = type;
        drive->letter = static_cast<WCHAR>(towlower(letter_));
        if (unixPath) {
            memcpy(block.data() + sizeof(UnixDrive), unixPath, pathBytes);
            drive->mountPointOffset = sizeof(UnixDrive);
        }
        HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (manager == INVALID_HANDLE_VALUE)
            return false;
        const DWORD defineUnixDrive =
            CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
        BOOL done = DeviceIoControl(manager, defineUnixDrive, block.data(), static_cast<DWORD>(block.size()),
                                    nullptr, 0, nullptr, nullptr);
        CloseHandle(manager);
        return done;
    }

    wchar_t letter_;
    bool defined_ = false;
};
