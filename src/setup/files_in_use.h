// Files the installer is about to replace or remove while a program holds them. Windows
// will not overwrite or delete a running program's file, so an update or uninstall first
// asks the programs holding its files to close, as the system does at a log-off, starts
// them again once the files are in place, and leaves a file still held to the next
// restart. Behind an interface: Wine's Restart Manager does nothing, so tests drive the
// installer with a fake, and stand in for a running program with a file held open.
#pragma once

#include <memory>
#include <string>
#include <vector>

class FilesInUse {
public:
    virtual ~FilesInUse() = default;
    // Names the files of one replacement or removal; false when the platform cannot tell
    // who holds them (no Restart Manager), and nobody is then asked to close.
    virtual bool Register(const std::vector<std::wstring>& files) = 0;
    // The programs holding a registered file, by the names the system gives them.
    virtual std::vector<std::wstring> Users() = 0;
    // Asks those programs to close, never forcing one; true when every one closed.
    virtual bool AskToClose() = 0;
    // Starts again the programs AskToClose closed (those that asked the system for it).
    // The system restarts only programs that ran as the signed-in user without elevation,
    // and so never raises the tray program's rights, though the installer runs elevated.
    virtual bool Restart() = 0;
    // Has the system move the file over the destination at the next restart, or remove it
    // when the destination is empty. Needs administrator rights.
    virtual bool MoveAtRestart(const std::wstring& file, const std::wstring& destination) = 0;
};

// The system's Restart Manager (rstrtmgr.dll, from the system folder only), one session
// per object, ended with it; MoveFileExW for the moves at restart.
std::unique_ptr<FilesInUse> SystemFilesInUse();
