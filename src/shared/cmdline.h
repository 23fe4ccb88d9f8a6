// Cutting a typed or registered command line into program and parameters.
#pragma once

#include <functional>
#include <string>

#include "jjstring.h"

struct CommandLineParts {
    Text program;
    Text parameters;
};

// Answers whether a file (not a folder) of that name exists.
using FileExistsTest = std::function<bool(const Text& path)>;

CommandLineParts SplitCommandLine(const Text& commandLine, const FileExistsTest& fileExists);
Text SplitProgram(const Text& commandLine, const FileExistsTest& fileExists);

// The same split for a UTF-16 command line, against a UTF-16 file system.
struct WideCommandLineParts {
    std::wstring program;
    std::wstring parameters;
};
using WideFileExistsTest = std::function<bool(const std::wstring& path)>;

WideCommandLineParts SplitCommandLine(const std::wstring& commandLine, const WideFileExistsTest& fileExists);
std::wstring SplitProgram(const std::wstring& commandLine, const WideFileExistsTest& fileExists);
