// Whole-file reads and writes and existence tests over the wide file API. The wide forms
// take paths as the platform gives them, so names CP932 cannot hold stay whole.
#pragma once

#include <optional>
#include <string>

#include "../jjstring.h"

bool FileExists(const Text& path); // a file, not a folder
bool DirectoryExists(const Text& path);
// Creates the folder with every missing parent; true when it exists afterwards.
bool ForceDirectories(const Text& folder);
// The whole file, or nothing when it cannot be opened or a read fails part-way.
std::optional<Text> ReadFileBytes(const Text& path);
// Replaces the file safely: the bytes go to a new temporary beside it, are flushed, and
// take the file's place in one rename that keeps its attributes. A read-only file, or
// any failure, gives false and leaves the old file as it was.
bool WriteFileBytes(const Text& path, const Text& bytes);

bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);
bool ForceDirectories(const std::wstring& folder);
std::optional<Text> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const Text& bytes);
// Removes the folder with everything in it, read-only entries included (a folder link is
// removed, never followed); true when it is gone afterwards.
bool RemoveFolderTree(const std::wstring& folder);
