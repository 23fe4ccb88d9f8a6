// The .inf association Kickon writes or takes back, and the file a double-click hands it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Where file types are written: a root and the key path below it that holds the classes.
struct ClassesStore {
    HKEY root;
    std::wstring prefix; // "" or "Software\Classes\"
};

// On the NT family the current user's classes (which the merged classes view shows first),
// so no administrator rights are needed; on the 95 family the classes root itself.
ClassesStore AssociationStore(bool ntFamily);

// The file type, its name, open command (OpenCommandOf) and icon (program short path +
// ",0"), and the platform's own edit, install and print commands for INF files kept
// reachable. Each change here is announced to the shell.
void WriteAssociation(const ClassesStore& store, const std::wstring& shortProgram);
// ".inf" is the platform's INF file type again; Kickon's own type is left in place.
void RemoveAssociation(const ClassesStore& store);

// At uninstall ("Kickon /UNINSTALL", run by the uninstaller before the program goes): when
// ".inf" still opens with this program, it opens as before Kickon again (the user's value is
// removed so the machine's type shows through; on the 95 family the platform's type is
// written back). Kickon's file type goes when it names this program and ".inf" no longer
// uses it. A program the user has chosen since is left as it is.
void UndoAssociation(const ClassesStore& store, const std::wstring& shortProgram);

// The open command registered for the extension as the merged classes view shows it: the
// current user's classes before the classes root. Read here rather than through the
// classes root, since not every platform merges the two (Wine does not).
std::wstring MergedOpenCommand(const std::wstring& extension);

// The command a double-click on a file with the extension runs, as the platform resolves it
// (a choice the user made in the shell wins over the file type); the merged reading where
// the platform's lookup does not see the current user's classes. Empty when none.
std::wstring DoubleClickCommand(const std::wstring& extension);

// The open command written for the program: program and "%1" each quoted.
std::wstring OpenCommandOf(const std::wstring& shortProgram);

// The command starts this program (short path, any letter case or form of the path) with
// the file alone: written as now, or unquoted as earlier versions did.
bool IsThisProgramsCommand(const std::wstring& command, const std::wstring& shortProgram);

// True when the open command is not yet this program's: then associating changes
// something, and removing does not.
bool AssociationOffered(const std::wstring& openCommand, const std::wstring& shortProgram);

// The file a start was given: parameter 1 when it names an existing file; else, for a path
// with blanks that an earlier version's unquoted "%1" split, the parameters joined with single
// blanks up to the first that names an existing file. Empty when there is none.
std::wstring GivenFile(const std::vector<std::wstring>& parameters);
