#include "desktop_marks_rules.h"

#include "list_rules.h"

int MarkedItemIndex(const Text& currentShort, const std::vector<Text>& itemFiles) {
    if (currentShort.empty() || itemFiles.empty())
        return 0;
    int last = static_cast<int>(itemFiles.size()) - 1;
    for (int i = 1; i < last; ++i) {
        if (SamePathForm(itemFiles[static_cast<size_t>(i)], currentShort))
            return i;
    }
    return last;
}

SaverSwitch SwitchForEnabledValue(long enabled, bool onMarked, bool offMarked) {
    if (enabled >= 1)
        return onMarked ? SaverSwitch::Keep : SaverSwitch::On;
    return offMarked ? SaverSwitch::Keep : SaverSwitch::Off;
}
