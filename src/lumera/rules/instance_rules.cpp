#include "instance_rules.h"

#include "textops.h"

Text InstanceMutexName(int slot) {
    return "MorivaneLumera" + IntToStrOrEmpty(slot, 0);
}

Text InstanceValueName(const Text& base, int slot) {
    return base + IntToStrOrEmpty(slot, 0);
}

SlotScan ScanInstanceSlots(const std::function<bool(int slot)>& slotTaken) {
    SlotScan scan;
    for (int i = 0; i < MaxInstanceSlots; ++i) {
        if (slotTaken(i)) {
            if (scan.otherInstances == NoFreeSlot) {
                scan.tooMany = true;
                return scan;
            }
            ++scan.otherInstances;
        } else if (scan.slot == NoFreeSlot) {
            scan.slot = i;
        }
    }
    return scan;
}

int PlacedCoordinate(long stored, int screenSize, int windowSize) {
    if (stored < 0 || stored >= screenSize)
        return (screenSize - windowSize) / 2;
    return static_cast<int>(stored);
}
