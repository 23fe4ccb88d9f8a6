// The platform's own words for a failure, as the tools show them to the user.
#pragma once

#include <windows.h>

#include <string>

// The platform's reason for an error code, in Japanese where the platform has it, else in
// the system's language; the error number when the platform has no text for it.
std::wstring ErrorReason(DWORD error);
