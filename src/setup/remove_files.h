// What the uninstaller removes from the disk: a recorded file, then every folder above it
// that the file's removal left empty, but never a folder the user or the system owns.
// Paths stay UTF-16 throughout, so a profile such as "C:\Users\José" works.
#pragma once

#include <string>
#include <vector>

// Folders that an empty-folder walk must never remove. Matching is case-blind on full
// paths, with trailing backslashes, "." and ".." segments and short (8.3) names resolved
// where the folder exists; any drive or share root always matches.
class ProtectedFolders {
public:
    // Exactly these folders (and the roots).
    explicit ProtectedFolders(const std::vector<std::wstring>& folders);

    // Everything the current user and the system keep: every shell folder of the user and
    // of all users (Programs and Start Menu included), the Windows and system folders, the
    // program-files folders and the user's profile folder. Read once; build one per run.
    static ProtectedFolders ForCurrentUser();

    bool Contains(const std::wstring& folder) const;

private:
    // Each folder in its long and its short normalised form.
    std::vector<std::wstring> forms_;
};

// Clears the file's read-only, hidden and system attributes and deletes it; true when it
// was deleted. A file that stays keeps its attributes. The folder that held it is then
// walked with RemoveEmptyFolders. A path naming a folder is left alone (false).
bool DeleteFileAndFolders(const std::wstring& path, const ProtectedFolders& keep);
bool DeleteFileAndFolders(const std::wstring& path);

// Removes the folder when it is empty and not protected, then its parent the same way, up
// to the first folder that is protected, not empty or cannot be removed.
void RemoveEmptyFolders(const std::wstring& folder, const ProtectedFolders& keep);

// The folders RemoveEmptyFolders would remove once the files are gone, for the system to
// remove after them at the next restart: from each file's folder upwards, every folder
// holding nothing but those files and such folders, deepest first.
std::vector<std::wstring> FoldersLeftEmptyBy(const std::vector<std::wstring>& files,
                                             const ProtectedFolders& keep);

// Tells the shell that the folder's contents changed (or that it is gone, and its parent
// changed), so an open view or the Start menu shows the program group as it is now.
void NotifyFolderChanged(const std::wstring& folder);
