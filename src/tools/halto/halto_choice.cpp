#include "halto_choice.h"

std::optional<HaltoChoice> ChoiceFromSwitch(const std::wstring& firstParameter) {
    if (firstParameter.size() != 2 || firstParameter[0] != L'-')
        return std::nullopt;
    switch (firstParameter[1]) {
    case L'R':
    case L'r':
        return HaltoChoice::Restart;
    case L'S':
    case L's':
        return HaltoChoice::PowerOff;
    case L'L':
    case L'l':
        return HaltoChoice::LogOff;
    default:
        return std::nullopt;
    }
}

HaltoChoice ChoiceFromCode(long code) {
    if (code == 2)
        return HaltoChoice::PowerOff;
    if (code == 3)
        return HaltoChoice::LogOff;
    return HaltoChoice::Restart;
}

Text NoticeText(HaltoChoice choice) {
    const char* verb = choice == HaltoChoice::PowerOff ? "電源を切る"
                       : choice == HaltoChoice::LogOff ? "ﾛｸﾞｵﾝし直す"
                                                       : "再起動する";
    return Text(verb) + "準備をしています。\nしばらくお待ちください。";
}

UINT ExitWindowsFlags(HaltoChoice choice) {
    switch (choice) {
    case HaltoChoice::PowerOff:
        return EWX_SHUTDOWN;
    case HaltoChoice::LogOff:
        return EWX_LOGOFF;
    case HaltoChoice::Restart:
        break;
    }
    return EWX_REBOOT;
}
