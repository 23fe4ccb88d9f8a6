// Carrying out the data file's registry entries through the registry helpers. All of
// them are silent: an entry that cannot be understood or carried out changes nothing
// (or, for a tree, only part of it) and reports false.
#pragma once

#include <windows.h>

#include "jjstring.h"
#include "registry_entry.h"

HKEY RegistryRootKey(RegistryRoot root);

// True when a value was written.
bool WriteRegistryEntry(const Text& entry);
// True when the named key or value is gone afterwards. A "<Key>" entry naming a key every
// program shares (IsSharedRegistryKey) deletes nothing and gives false.
bool DeleteRegistryEntry(const Text& entry);
// The entry is such a "<Key>" entry: callers say so in their log.
bool IsRefusedDeleteEntry(const Text& entry);

// Deletes the subkey name beneath keyPath with everything beneath it. False, with
// nothing deleted, when no subkey is named: neither a root nor the key at keyPath itself
// is ever emptied or deleted this way.
bool DeleteKeyTree(HKEY root, const Text& keyPath, const Text& name);
// DeleteKeyTree, then removes the ancestors left empty, up to but never including the
// first component of keyPath ("Software").
bool DeleteKeyAndPrune(HKEY root, const Text& keyPath, const Text& name);

// Records of earlier versions: a write entry without its type marker.
void ConvertLegacyEntry(const Text& record, LegacyKind kind);
