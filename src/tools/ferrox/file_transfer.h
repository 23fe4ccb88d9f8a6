// Single-file moves that never lose the source, and the path comparisons the engine needs.
#pragma once

#include <string>

// Moves S to D. A rename within one volume; across volumes a copy to a temporary file
// beside D that takes D's place only when complete, after which the source is removed.
// On failure the source is where it was and no partial D is left; an existing D is only
// replaced once the source is known to be removable. replace: an existing D may be
// replaced (the user chose to overwrite it).
bool MoveFileKeepingSource(const std::wstring& source, const std::wstring& destination, bool replace);
// The cross-volume half of the above, usable on its own.
bool CopyThenRemoveSource(const std::wstring& source, const std::wstring& destination, bool replace);

// Equal paths regardless of letter case.
bool SamePath(const std::wstring& a, const std::wstring& b);
// The full long form of a path that need not exist yet: the existing part in its long form,
// the rest as given; without a trailing "\" except at a drive root.
std::wstring ComparablePath(const std::wstring& path);
// True when inner is folder itself or lies inside it (both comparable paths).
bool IsSameOrInside(const std::wstring& inner, const std::wstring& folder);
