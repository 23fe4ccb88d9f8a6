// Cutting a typed or registered command line into program and parameters.
#pragma once

#include <functional>

#include "jjstring.h"

struct CommandLineParts {
    Text program;
    Text parameters;
};

// Answers whether a file (not a folder) of that name exists.
using FileExistsTest = std::function<bool(const Text& path)>;

CommandLineParts SplitCommandLine(const Text& commandLine, const FileExistsTest& fileExists);
Text SplitProgram(const Text& commandLine, const FileExistsTest& fileExists);
