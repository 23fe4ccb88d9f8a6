#include "tezzo_core.h"

#include <shellapi.h>

#include "tool_params.h"
#include "win/encoding.h"
#include "win/folders.h"
#include "win/launch.h"

const char* const TezzoFilter =
    "実行ﾌｧｲﾙ(*.EXE)|*.exe|ﾃｷｽﾄﾌｧｲﾙ(*.TXT)|*.txt|ﾄﾞｷｭﾒﾝﾄﾌｧｲﾙ(*.DOC)|*.doc|ﾃﾞｰﾀﾌｧｲﾙ(*.DAT)|*.dat|"
    "ﾛｸﾞﾌｧｲﾙ(*.LOG)|*.log|環境ﾌｧｲﾙ(*.INI)|*.ini|すべてのﾌｧｲﾙ (*.*)|*.*";

std::wstring InitialName(const std::vector<std::wstring>& parameters) {
    if (parameters.empty())
        return std::wstring();
    std::wstring joined;
    for (const std::wstring& parameter : parameters)
        joined += (joined.empty() ? L"" : L" ") + parameter;
    return GetLongPath(joined);
}

DWORD StartName(HWND owner, const std::wstring& text) {
    WideCommandLineParts parts = SplitCommandLine(text);
    if (parts.program.empty())
        return ERROR_FILE_NOT_FOUND;
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // The failure is reported by the caller, once; the start completes before Tezzo ends.
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = owner;
    info.lpVerb = L"open";
    info.lpFile = parts.program.c_str();
    info.lpParameters = parts.parameters.empty() ? nullptr : parts.parameters.c_str();
    info.nShow = SW_SHOW;
    if (ShellExecuteExW(&info))
        return 0;
    DWORD error = GetLastError();
    return error != 0 ? error : ERROR_FILE_NOT_FOUND;
}

std::wstring StartFailureText(const std::wstring& text, DWORD error) {
    return text + L"\n" + Widen("を開けませんでした。") + L"\n\n" + ErrorReason(error);
}
