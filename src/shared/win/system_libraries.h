// Libraries come from the system folder only. The programs are often started from a
// folder anything may lie beside them in (downloads, an unpacked archive, a disc), and
// Setup runs with administrator rights: a DLL there named like one loaded later, by the
// program or by the system on its behalf, must never be the one that runs.
#pragma once

#include <windows.h>

// The first call of every program's entry, before any window or shell call: from then on
// loads by name, the system's own included, search the system folder and neither the
// program's folder nor the current one. Libraries the program imports are resolved
// before its first line and stay the loader's business.
void RestrictLibrarySearch();

// Loads a library of the system folder by its file name ("hhctrl.ocx", "rstrtmgr.dll"),
// its own dependencies from there too, whatever the search order is at the time.
// nullptr when it is not there or the name holds a path.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// A function of such a library, nullptr when the library or the function is missing. The
// library stays loaded for the rest of the program.
template <typename Function> Function* SystemFunction(const wchar_t* library, const char* name) {
    HMODULE module = LoadSystemLibrary(library);
    if (!module)
        return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
