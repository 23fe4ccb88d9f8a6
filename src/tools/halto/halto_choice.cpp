#include "halto_choice.h"

#include <reason.h>

#include "error_reason.h"
#include "win/encoding.h"

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

namespace {

const char* ChoiceVerb(HaltoChoice choice) {
    return choice == HaltoChoice::PowerOff ? "電源を切る"
           : choice == HaltoChoice::LogOff ? "ﾛｸﾞｵﾝし直す"
                                           : "再起動する";
}

} // namespace

Text NoticeText(HaltoChoice choice) {
    return Text(ChoiceVerb(choice)) + "準備をしています。\nしばらくお待ちください。";
}

SessionEndRequest SessionEndFor(HaltoChoice choice, PlatformFamily family) {
    const bool nt = family == PlatformNT;
    UINT flags = EWX_REBOOT;
    if (choice == HaltoChoice::PowerOff)
        flags = nt ? EWX_SHUTDOWN | EWX_POWEROFF : EWX_SHUTDOWN;
    else if (choice == HaltoChoice::LogOff)
        flags = EWX_LOGOFF;
    // A user's own choice: planned, for no reason the system's list names.
    const DWORD planned = SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED;
    return {flags, nt ? planned : 0};
}

std::wstring SessionEndFailureText(HaltoChoice choice, DWORD error) {
    return Widen(Text(ChoiceVerb(choice)) + "ことができませんでした。") + L"\n\n" + ErrorReason(error);
}
