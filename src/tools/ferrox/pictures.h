// The overwrite question's small pictures, drawn on the dialog's face colour so that they
// sit on the window as if transparent.
#pragma once

#include "gdi.h"

// 11 x 11: the shortcut arrow laid over a shortcut's icon.
UniqueGdiObject MakeShortcutArrow();
// 33 x 11: marks the newer of the two files.
UniqueGdiObject MakeNewerMarker();
