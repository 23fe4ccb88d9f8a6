// Scratch folders, registry keys and the probe program for tests against the real
// platform (Wine's registry, files and shell in the test run's own prefix).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "jjstring.h"

// A new empty folder whose path holds double-byte characters with a 0x5C trail byte,
// removed again with everything in it.
class ScratchFolder {
public:
    explicit ScratchFolder(const Text& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const Text& path() const { return path_; }
    Text file(const Text& name) const;
    // A path in the folder for a name CP932 cannot hold ("café.txt", "한글 메모.txt").
    std::wstring file(const std::wstring& name) const;

private:
    Text path_;
};

// A key under HKEY_CURRENT_USER "\Software\Morivane\LumeraTests\name", deleted with its tree.
class ScratchKey {
public:
    explicit ScratchKey(const Text& name);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    const Text& path() const { return path_; }

private:
    Text path_;
};

// Sets or removes one registry string value for a test and puts the old state back,
// whatever characters and kind (REG_SZ or REG_EXPAND_SZ) it had.
class ValueOverride {
public:
    ValueOverride(HKEY root, const Text& key, const Text& name);
    ~ValueOverride();
    ValueOverride(const ValueOverride&) = delete;
    ValueOverride& operator=(const ValueOverride&) = delete;

    void Set(const Text& value);
    void Set(const std::wstring& value);
    void Remove();

private:
    HKEY root_;
    Text key_, name_;
    std::wstring old_;
    DWORD oldType_ = REG_SZ;
    bool existed_;
};

// One of the user's shell folders ("Desktop", "SendTo", ...) pointed at another folder while
// it lives. Wine's shell rewrites "Shell Folders" from "User Shell Folders", so both are set
// and both go back exactly as they were.
class ShellFolderOverride {
public:
    ShellFolderOverride(const Text& name, const std::wstring& folder);

private:
    ValueOverride shell_, user_;
};

// A user whose profile lies in the given folder, with the shell folders under it where a
// fresh profile has them; the environment's USERPROFILE names it while it lives. Of the
// folders only "Programs" (and the profile with it) is made.
class FakeProfile {
public:
    explicit FakeProfile(const std::wstring& folder);
    ~FakeProfile();
    FakeProfile(const FakeProfile&) = delete;
    FakeProfile& operator=(const FakeProfile&) = delete;

    const std::wstring path, startMenu, programs, desktop, sendTo;

private:
    ShellFolderOverride startMenu_, programs_, startup_, desktop_, sendTo_;
    std::optional<std::wstring> savedProfile_;
};

// The default value of a class under HKEY_CLASSES_ROOT, set for one test.
struct ClassOverride : ValueOverride {
    ClassOverride(const Text& key, const Text& value) : ValueOverride(HKEY_CLASSES_ROOT, key, "") {
        Set(value);
    }
};

Text TestProgramDir();
// A program built with the suite ("Lumera.exe", "Ferrox.exe", ...).
Text BuiltProgram(const Text& exeName);
Text WindowsFolder();

// The bytes as the whole file; false when it cannot be written.
bool WriteBytes(const Text& path, const Text& bytes);
bool WriteBytes(const std::wstring& path, const Text& bytes);
bool Exists(const std::wstring& path); // a file or a folder
// A small file with the attributes, its folders made first; false when it could not be made.
bool MakeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL);
// Removes the file or folder with everything in it; nothing when there is none.
void DeleteTree(const Text& path);
void DeleteTree(const std::wstring& path);

// A string value as stored (unexpanded), in UTF-16; nullopt when absent.
std::optional<std::wstring> ReadWideValue(HKEY root, const Text& key, const Text& name);
// Writes a string value, or deletes it when there is none.
void SetRegistryString(HKEY root, const Text& key, const Text& name, const std::optional<Text>& value);

// The suite's settings under HKEY_CURRENT_USER "\Software\Morivane\Lumera\<section>",
// read and written around the programs' own code.
void ResetSettings(); // the whole key: the next start of every program behaves as its first
std::optional<DWORD> SettingInt(const Text& section, const Text& name);
std::optional<Text> SettingString(const Text& section, const Text& name);
bool SetSettingIntRaw(const Text& section, const Text& name, DWORD value);
bool SetSettingStringRaw(const Text& section, const Text& name, const Text& value);

// A copy of the probe program under the given path; its starts are logged beside it.
void InstallProbe(const Text& path);
void InstallProbe(const std::wstring& path);
// What the probe logged so far, one line "command line|working folder" per start.
std::wstring ProbeLog(const std::wstring& probePath);
std::wstring ProbeLog(const Text& probePath);
std::vector<std::wstring> ProbeLogLines(const std::wstring& probePath);
std::vector<std::wstring> ProbeLogLines(const Text& probePath);
// The probe's log lines "command line|working folder", waiting up to timeoutMs for the
// given number of lines.
std::wstring WaitForProbeLog(const Text& probePath, size_t lines = 1, unsigned timeoutMs = 10000);
std::wstring WaitForProbeLog(const std::wstring& probePath, size_t lines = 1, unsigned timeoutMs = 10000);

// Deletes the key when it holds no value and no subkey (a parent a test's key leaves behind).
void DeleteKeyIfEmpty(HKEY root, const std::wstring& key);

// A string value stored as REG_EXPAND_SZ, bypassing the helpers under test.
bool WriteExpandString(HKEY root, const Text& key, const Text& name, const std::wstring& value);

// A symbolic link made from the Unix side of Wine's drive (Wine shows it as a reparse point,
// attributes 0x410; its own link calls make nothing), removed again from that side.
class UnixLink {
public:
    UnixLink(const std::wstring& link, const std::wstring& target);
    ~UnixLink();
    UnixLink(const UnixLink&) = delete;
    UnixLink& operator=(const UnixLink&) = delete;

    // False when not under Wine or the link could not be made.
    bool made() const { return made_; }

private:
    std::string unixLink_;
    bool made_ = false;
};

// The system's list of moves at the next restart ("PendingFileRenameOperations"), put back
// as it was when this ends.
class PendingRenames {
public:
    using Move = std::pair<std::wstring, std::wstring>;

    PendingRenames();
    ~PendingRenames();
    PendingRenames(const PendingRenames&) = delete;
    PendingRenames& operator=(const PendingRenames&) = delete;

    // The moves added since, as the system notes them: \??\ before each path, an empty
    // destination for a removal, "!" before one that replaces an existing file.
    std::vector<Move> Added() const;

private:
    std::wstring saved_;
};
