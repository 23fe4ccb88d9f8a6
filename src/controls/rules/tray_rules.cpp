#include "tray_rules.h"

int NextTrayIconId(const std::vector<int>& registeredIds) {
    if (registeredIds.empty())
        return 1;
    int last = registeredIds.back();
    return last >= MaxTrayIconId ? 0 : last + 1;
}

Text CutTip(const Text& tip) {
    size_t bytes = 0;
    const char* cursor = tip.c_str();
    for (;;) {
        const char* next = cursor;
        int length = NextChar(next);
        if (length == 0 || bytes + static_cast<size_t>(length) > MaxTipBytes)
            break;
        bytes += static_cast<size_t>(length);
        cursor = next;
    }
    return tip.substr(0, bytes);
}
