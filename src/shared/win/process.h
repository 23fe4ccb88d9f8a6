// Process privileges and the Windows 95 family's eject request.
#pragma once

#include "../jjstring.h"

// Enables the named privilege, or with disableAll set disables every privilege of the
// process token (the name is not read then). True when the adjustment reported no error.
bool SetProcessPrivilege(const Text& privilegeName, bool disableAll);

// On the NT family: enables the backup privilege (at start) or disables every privilege
// of the process (before it ends). Nothing on the 95 family, which has no privileges.
void EnableBackupPrivilege();
void DisableAllPrivileges();

// Asks the 95 family's DOS IOCTL service to eject the medium in drive number
// (1 = A:, 2 = B:, ...). Returns the low word of the answer's AX; on the NT family,
// where the service is absent, the request goes unanswered and AX is returned as sent.
unsigned EjectMedia(int driveNumber);
