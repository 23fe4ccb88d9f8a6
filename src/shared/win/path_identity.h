// When two paths name the same place: one spelling for a path, and the comparisons on it.
#pragma once

#include <string>

// Equal paths regardless of letter case.
bool SamePath(const std::wstring& a, const std::wstring& b);
// The full path in the one spelling that two names of a place share: without a "\\?\"
// prefix, the part that exists in its long form (short names would hide that two paths
// meet), the rest as given, no trailing "\" except at a drive root. Empty stays empty.
std::wstring CanonicalPath(const std::wstring& path);
// True when inner is folder itself or lies inside it (both canonical paths).
bool IsSameOrInside(const std::wstring& inner, const std::wstring& folder);
