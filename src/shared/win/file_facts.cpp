#include "file_facts.h"

#include <shellapi.h>

#include <cstdio>

#include "../paths.h"
#include "encoding.h"
#include "files.h"
#include "folders.h"
#include "handles.h"
#include "registry.h"
#include "shortcut.h"

namespace {

// Digits grouped with the user's locale separator, no decimals.
Text FormatByteCount(unsigned long long size) {
    std::wstring digits = std::to_wstring(size);
    NUMBERFMTW format = {};
    wchar_t decimal[8] = L".";
    wchar_t thousands[8] = L",";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 8);
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousands, 8);
    format.NumDigits = 0;
    format.Grouping = 3;
    format.lpDecimalSep = decimal;
    format.lpThousandSep = thousands;
    wchar_t buffer[64];
    if (GetNumberFormatW(LOCALE_USER_DEFAULT, 0, digits.c_str(), &format, buffer, 64) == 0)
        return Narrow(digits);
    return Narrow(buffer);
}

Text FormatLocalTime(const FILETIME& utc) {
    FILETIME local;
    SYSTEMTIME time;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time))
        return "日付不明";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04u/%02u/%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute, time.wSecond);
    return buffer;
}

Text AttributeFlags(DWORD attributes) {
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return " 属性不明";
    Text flags;
    flags += (attributes & FILE_ATTRIBUTE_SYSTEM) ? " S" : " _";
    flags += (attributes & FILE_ATTRIBUTE_HIDDEN) ? " H" : " _";
    flags += (attributes & FILE_ATTRIBUTE_READONLY) ? " R" : " _";
    flags += (attributes & FILE_ATTRIBUTE_ARCHIVE) ? " A" : " _";
    return flags;
}

// Icon index of a file, or null; handle values below 2 mean no icon.
HICON ExtractIconOf(const Text& file, UINT index) {
    HICON icon = ExtractIconW(GetModuleHandleW(nullptr), Widen(file).c_str(), index);
    if (reinterpret_cast<UINT_PTR>(icon) < 2)
        return nullptr;
    return icon;
}

Text Shell32Path() {
    return JoinPath(GetSystemDir(), "SHELL32.DLL");
}

HICON IconFromDefaultIconSpec(const Text& extension) {
    Text spec = GetDefaultIconSpec(extension);
    if (spec.size() < 2 || spec[1] != ':')
        spec = JoinPath(GetWindowsDir(), spec);
    UINT index = 0;
    size_t comma = FindLastChar(',', spec);
    if (comma != 0) {
        long parsed = 0;
        if (TryTextToInt(spec.substr(comma), parsed))
            index = static_cast<UINT>(parsed);
        spec.resize(comma - 1);
    }
    if (HICON icon = ExtractIconOf(spec, index))
        return icon;
    return ExtractIconOf(Shell32Path(), 0);
}

} // namespace

Text GetFileDescription(const Text& path) {
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(Widen(path).c_str(), &found));
    Text description;
    if (!search) {
        description = "ｻｲｽﾞ不明 日付不明";
    } else {
        unsigned long long size =
            (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        description = FormatByteCount(size) + " byte " + FormatLocalTime(found.ftLastWriteTime);
    }
    return description + AttributeFlags(GetFileAttributesW(Widen(path).c_str()));
}

Text RegisteredFileType(const Text& extension) {
    if (extension.empty() || ContainsChar('\\', extension))
        return Text();
    Text dotted = extension[0] == '.' ? extension : "." + extension;
    Text type = RegReadString(HKEY_CLASSES_ROOT, dotted, "", "");
    return type.empty() ? dotted : type;
}

Text GetDefaultIconSpec(const Text& extension) {
    Text type = RegisteredFileType(extension);
    if (type.empty())
        return Text();
    return RegReadString(HKEY_CLASSES_ROOT, type + "\\DefaultIcon", "", "");
}

HICON GetFileIcon(const Text& path) {
    if (DirectoryExists(path))
        return ExtractIconOf(Shell32Path(), 3);
    if (!FileExists(path) || EndsWithChar(path, '.'))
        return nullptr;
    if (HICON icon = ExtractIconOf(path, 0))
        return icon;
    Text extension = UpperCaseText(ExtractFileExt(path));
    if (extension == ".LNK")
        return ExtractIconOf(GetShortcutTarget(path), 0);
    if (extension == ".EXE")
        return ExtractIconOf(Shell32Path(), 2);
    return IconFromDefaultIconSpec(ExtractFileExt(path));
}
