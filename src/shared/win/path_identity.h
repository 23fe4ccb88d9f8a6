// When two paths name the same place: one spelling for a path, and the comparisons on it.
#pragma once

#include <string>

// Equal paths regardless of letter case.
bool SamePath(const std::wstring& a, const std::wstring& b);
// The absolute path as the platform resolves it (against the current folder where it is
// relative, "." and ".." settled), without a "\\?\" prefix and without a trailing "\"
// except at a root. Empty stays empty.
std::wstring FullPath(const std::wstring& path);

enum class PathForm { Long, Short };
// The full path in the one spelling that two names of a place share: the part that exists
// in its long form (or, asked for, its short form: a short name would hide that two paths
// meet), the rest as given. A link is a place of its own: it is never resolved to where it
// leads.
std::wstring CanonicalPath(const std::wstring& path, PathForm form = PathForm::Long);
// True when inner is folder itself or lies inside it (both canonical paths).
bool IsSameOrInside(const std::wstring& inner, const std::wstring& folder);
// True for a drive root ("C:\", "C:" alone meaning the drive), a share root
// ("\\server\share"), a server ("\\server") and a volume mounted on a folder.
bool IsRootFolder(const std::wstring& folder);
