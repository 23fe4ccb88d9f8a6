// Whole-file reads and writes and existence tests over the wide file API.
#pragma once

#include <optional>

#include "../jjstring.h"

bool FileExists(const Text& path); // a file, not a folder
bool DirectoryExists(const Text& path);
// Creates the folder with every missing parent; true when it exists afterwards.
bool ForceDirectories(const Text& folder);
std::optional<Text> ReadFileBytes(const Text& path);
// Replaces the file through a temporary beside it, so a failed write leaves the old file.
bool WriteFileBytes(const Text& path, const Text& bytes);
