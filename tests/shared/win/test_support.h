// Scratch folders, registry keys and the probe program for tests against the real
// platform (Wine's registry, files and shell in the test run's own prefix).
#pragma once

#include <windows.h>

#include <string>

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

// Sets or removes one registry string value for a test and puts the old state back.
class ValueOverride {
public:
    ValueOverride(HKEY root, const Text& key, const Text& name);
    ~ValueOverride();
    ValueOverride(const ValueOverride&) = delete;
    ValueOverride& operator=(const ValueOverride&) = delete;

    void Set(const Text& value);
    void Remove();

private:
    HKEY root_;
    Text key_, name_, old_;
    bool existed_;
};

// The default value of a class under HKEY_CLASSES_ROOT, set for one test.
struct ClassOverride : ValueOverride {
    ClassOverride(const Text& key, const Text& value) : ValueOverride(HKEY_CLASSES_ROOT, key, "") {
        Set(value);
    }
};

Text TestProgramDir();
void WriteBytes(const Text& path, const Text& bytes);

// A copy of the probe program under the given path; its starts are logged beside it.
void InstallProbe(const Text& path);
// The probe's log lines "command line|working folder", waiting up to timeoutMs for the
// given number of lines.
std::wstring WaitForProbeLog(const Text& probePath, size_t lines = 1, unsigned timeoutMs = 10000);
