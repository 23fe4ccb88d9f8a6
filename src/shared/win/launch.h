// Starting things the way the shell does: programs, documents, folders, a disc's
// AUTORUN.INF or audio track. Every start is the shell's open verb with the application
// window as owner; a refused start fails silently.
#pragma once

#include "../cmdline.h"

void ShellOpen(const Text& file, const Text& parameters, const Text& workingDir);

// Splitting against the real file system.
CommandLineParts SplitCommandLine(const Text& commandLine);
Text SplitProgram(const Text& commandLine);

// Carries out an AUTORUN.INF or starts the CD player for TRACK01.CDA; otherwise opens the
// file's folder when openFolder is set. True when something was started.
bool ExecuteInfOrTrack(const Text& path, bool openFolder);
Text GetOpenCommand(const Text& extension);

// Waits while the thread's windows stay responsive.
void DelayWithMessages(unsigned milliseconds);
