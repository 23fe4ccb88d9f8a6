// Instances of the tray program: mutex slots, per-instance value names and placement.
#pragma once

#include <functional>

#include "jjstring.h"

constexpr int MaxInstanceSlots = 256;
constexpr int NoFreeSlot = 255;

// "MorivaneLumera" for slot 0, then "MorivaneLumera1", "MorivaneLumera2", ...
Text InstanceMutexName(int slot);
// "MainTop" for slot 0, "MainTop1" for slot 1, ...
Text InstanceValueName(const Text& base, int slot);

struct SlotScan {
    int slot = NoFreeSlot;  // the first free slot
    int otherInstances = 0; // slots already taken
    bool tooMany = false;   // all 256 taken
};
// Looks at slots 0 to 255 in turn with the given test for "a mutex of that slot exists".
SlotScan ScanInstanceSlots(const std::function<bool(int slot)>& slotTaken);

// A stored coordinate, or the centre when it is below 0 or not below the screen size.
int PlacedCoordinate(long stored, int screenSize, int windowSize);
