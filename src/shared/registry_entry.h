// The installer's one-line registry entries, parsed without touching the registry.
//
//   write:  [\]ROOT\[key path\]value name=<String>data   (also <Integer>, <Double>, <Currency>)
//   delete: <Key>[\]ROOT\key path\subkey   or   <Value>[\]ROOT\key path\value name
//
// "@" as the key path stands for the root itself, "@" as a name for the default value.
// Every "\" is found by characters, so a trail byte 0x5C ("ソ") never splits a name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "jjstring.h"

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig, DynData };

enum class RegistryValueKind { String, Integer, Double, Currency };

struct RegistryWriteEntry {
    RegistryRoot root;
    Text keyPath;
    Text valueName;
    RegistryValueKind kind;
    Text data; // as written; converted by the kind's conversion below
};

enum class RegistryDeleteKind { Key, Value };

struct RegistryDeleteEntry {
    RegistryDeleteKind kind;
    RegistryRoot root;
    Text keyPath;
    Text name; // the subkey to delete with its tree, or the value
};

// The root named exactly by one of the six predefined key names.
std::optional<RegistryRoot> ParseRegistryRoot(const Text& name);

// Nothing for an entry that writes nothing: no root, no "=", no known type marker.
std::optional<RegistryWriteEntry> ParseRegistryWriteEntry(const Text& entry);
std::optional<RegistryDeleteEntry> ParseRegistryDeleteEntry(const Text& entry);

// Data conversions; nothing when the text is not such a number (then nothing is written).
// Integers: the 32-bit conversion of profile numbers. Floating-point and currency texts
// use the given decimal separator and no digit grouping; currency keeps four decimal
// places (rounded half away from zero) as an amount times 10000.
std::optional<std::int32_t> RegistryIntegerData(const Text& data);
std::optional<double> RegistryFloatData(const Text& data, const Text& decimalSeparator);
std::optional<std::int64_t> RegistryCurrencyData(const Text& data, const Text& decimalSeparator);

// Records of earlier versions held a write entry without its type marker.
enum class LegacyKind { String, Integer };

// The write entry the legacy record stands for, or empty when it holds no "=".
Text LegacyWriteEntry(const Text& record, LegacyKind kind);

// Keys no product may delete with a "<Key>" entry: a root, any key directly below a root,
// and the keys every program shares (Software, Software\Classes, Software\Microsoft down to
// ...\Windows\CurrentVersion with its Run, RunOnce, Uninstall and App Paths keys, CLSID,
// Interface, TypeLib, Policies, Wow6432Node, SYSTEM's control set). A product's own key
// beneath them is not shared. The key path is the whole path below the root ("\" and empty
// components do not matter, nor does case).
bool IsSharedRegistryKey(RegistryRoot root, const Text& keyPath);
// The key a "<Key>" delete entry would remove is shared; false for "<Value>" entries.
bool RefusesDeletion(const RegistryDeleteEntry& entry);
