// Single-file moves that never lose the source, and the path comparisons the engine needs.
#pragma once

#include <windows.h>

#include <string>

// Moves S to D. A rename within one volume; across volumes a copy to a temporary file
// beside D that takes D's place only when complete, after which the source is removed.
// On failure the source is where it was and no partial D is left; an existing D is only
// replaced once the source is known to be removable. replace: an existing D may be
// replaced (the user chose to overwrite it).
bool MoveFileKeepingSource(const std::wstring& source, const std::wstring& destination, bool replace);
// The cross-volume half of the above, usable on its own.
bool CopyThenRemoveSource(const std::wstring& source, const std::wstring& destination, bool replace);

// A copy onto an existing D that puts the new file in place only when it is complete: a
// copy that fails leaves D as it was (content and attributes) and no temporary behind.
bool CopyReplacing(const std::wstring& source, const std::wstring& destination);

// A link (symbolic link, junction, mount point): a reparse point that names another item.
// Other reparse points (cloud placeholders, deduplicated files) are ordinary items.
bool IsLink(DWORD attributes, DWORD reparseTag);
// The item's attributes and whether it is a link; INVALID_FILE_ATTRIBUTES when it is not there.
DWORD ItemAttributes(const std::wstring& path, bool& link);
// Removes or moves (within its volume) the link itself. False, with the reason as the last
// error, where the platform would act on the link's target instead (Wine follows links).
bool RemoveLink(const std::wstring& link);
bool MoveLink(const std::wstring& link, const std::wstring& destination, bool replace);
// Where the item finally leads, links resolved, in the canonical form; empty when nowhere.
std::wstring FinalPath(const std::wstring& path);
