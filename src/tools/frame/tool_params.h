// The tools' command-line parameters, read from the wide command line so that names
// beyond CP932 arrive as the shell gave them.
#pragma once

#include <string>
#include <vector>

// Parameters 1..n of the process.
std::vector<std::wstring> ToolParameters();

// The items the parameters name: consecutive parameters joined with one blank until the
// text, trimmed of surrounding blanks, names an existing file or folder (a path with blanks
// may arrive split); each item absolute, in its long form. A parameter that names nothing,
// even joined with those after it, is passed over alone and the joining starts again after it.
std::vector<std::wstring> AccumulateExistingPaths(const std::vector<std::wstring>& parameters);

// Surrounding blanks removed.
std::wstring TrimBlanks(const std::wstring& text);
