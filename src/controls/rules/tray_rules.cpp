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

TrayCallback DecodeTrayCallback(std::uintptr_t wParam, std::intptr_t lParam) {
    TrayCallback callback;
    auto low = [](std::uintptr_t value) { return static_cast<unsigned>(value & 0xFFFF); };
    auto high = [](std::uintptr_t value) { return static_cast<unsigned>((value >> 16) & 0xFFFF); };
    // Ids start at 1, so only the version 4 form has a high word in lParam.
    std::uintptr_t l = static_cast<std::uintptr_t>(lParam);
    if (high(l) == 0) {
        callback.id = static_cast<int>(wParam);
        callback.event = low(l);
        return callback;
    }
    callback.id = static_cast<int>(high(l));
    callback.event = low(l);
    callback.anchored = true;
    callback.x = static_cast<std::int16_t>(low(wParam));
    callback.y = static_cast<std::int16_t>(high(wParam));
    return callback;
}
