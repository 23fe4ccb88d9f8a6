// Starting things the way the shell does: programs, documents, folders, a disc's
// AUTORUN.INF or audio track. Every start is the shell's open verb with the application
// window as owner; a refused start fails silently.
//
// The wide forms take paths as the platform gives them; the CP932 forms are for text the
// suite itself holds.
#pragma once

#include <string>

#include "../cmdline.h"

void ShellOpen(const Text& file, const Text& parameters, const Text& workingDir);
void ShellOpen(const std::wstring& file, const std::wstring& parameters, const std::wstring& workingDir);

// Splitting against the real file system.
CommandLineParts SplitCommandLine(const Text& commandLine);
Text SplitProgram(const Text& commandLine);
WideCommandLineParts SplitCommandLine(const std::wstring& commandLine);
std::wstring SplitProgram(const std::wstring& commandLine);

// Carries out an AUTORUN.INF or starts the CD player for TRACK01.CDA; otherwise opens the
// file's folder when openFolder is set. True when something was started.
bool ExecuteInfOrTrack(const Text& path, bool openFolder);
bool ExecuteInfOrTrack(const std::wstring& path, bool openFolder);
// The registered open command, environment references expanded; empty when none. The
// CP932 form is also empty when CP932 cannot hold the command.
Text GetOpenCommand(const Text& extension);
std::wstring GetOpenCommand(const std::wstring& extension);

// Waits while the thread's windows stay responsive.
void DelayWithMessages(unsigned milliseconds);
