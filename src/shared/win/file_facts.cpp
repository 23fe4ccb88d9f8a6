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
std::wstring FormatByteCount(unsigned long long size, bool narrowSeparators) {
    std::wstring digits = std::to_wstring(size);
    NUMBERFMTW format = {};
    wchar_t decimal[8] = L".";
    wchar_t thousands[8] = L",";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 8);
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousands, 8);
    Text unused;
    if (narrowSeparators && !NarrowExact(thousands, unused))
        wcscpy(thousands, L" "); // U+202F and U+00A0 are blanks too
    if (narrowSeparators && !NarrowExact(decimal, unused))
        wcscpy(decimal, L".");
    format.NumDigits = 0;
    format.Grouping = 3;
    format.lpDecimalSep = decimal;
    format.lpThousandSep = thousands;
    wchar_t buffer[64];
    if (GetNumberFormatW(LOCALE_USER_DEFAULT, 0, digits.c_str(), &format, buffer, 64) == 0)
        return digits;
    return buffer;
}

std::wstring FormatLocalTime(const FILETIME& utc) {
    FILETIME local;
    SYSTEMTIME time;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time))
        return Widen("日付不明");
    wchar_t buffer[32];
    swprintf(buffer, 32, L"%04u/%02u/%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour,
             time.wMinute, time.wSecond);
    return buffer;
}

std::wstring AttributeFlags(DWORD attributes) {
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Widen(" 属性不明");
    std::wstring flags;
    flags += (attributes & FILE_ATTRIBUTE_SYSTEM) ? L" S" : L" _";
    flags += (attributes & FILE_ATTRIBUTE_HIDDEN) ? L" H" : L" _";
    flags += (attributes & FILE_ATTRIBUTE_READONLY) ? L" R" : L" _";
    flags += (attributes & FILE_ATTRIBUTE_ARCHIVE) ? L" A" : L" _";
    return flags;
}

std::wstring Describe(const std::wstring& path, bool narrowSeparators) {
    // A wildcard would make the search describe some other file.
    bool wildcard = path.find_first_of(L"*?") != std::wstring::npos;
    WIN32_FIND_DATAW found;
    UniqueFind search(wildcard ? INVALID_HANDLE_VALUE : FindFirstFileW(path.c_str(), &found));
    std::wstring description;
    if (!search) {
        description = Widen("ｻｲｽﾞ不明 日付不明");
    } else {
        unsigned long long size =
            (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        description =
            FormatByteCount(size, narrowSeparators) + L" byte " + FormatLocalTime(found.ftLastWriteTime);
    }
    DWORD attributes = wildcard ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    return description + AttributeFlags(attributes);
}

// Icon index of a file, or null. Index -1 asks for the file's icon count, not an icon,
// and handle values below 2 mean no icon.
HICON ExtractIconOf(const std::wstring& file, int index) {
    if (index == -1)
        return nullptr;
    HICON icon = ExtractIconW(GetModuleHandleW(nullptr), file.c_str(), static_cast<UINT>(index));
    if (reinterpret_cast<UINT_PTR>(icon) < 2)
        return nullptr;
    return icon;
}

std::wstring Shell32Path() {
    return JoinPath(GetSystemDirWide(), L"SHELL32.DLL");
}

HICON IconFromDefaultIconSpec(const std::wstring& extension) {
    std::wstring spec = GetDefaultIconSpec(extension);
    if (spec.size() < 2 || spec[1] != L':')
        spec = JoinPath(GetWindowsDirWide(), spec);
    int index = 0;
    size_t comma = spec.rfind(L',');
    if (comma != std::wstring::npos) {
        long parsed = 0;
        Text number;
        if (NarrowExact(spec.substr(comma + 1), number) && TryTextToInt(number, parsed))
            index = static_cast<int>(parsed);
        spec.resize(comma);
    }
    if (HICON icon = ExtractIconOf(spec, index))
        return icon;
    return ExtractIconOf(Shell32Path(), 0);
}

bool HasBackslash(const std::wstring& text) {
    return text.find(L'\\') != std::wstring::npos;
}

} // namespace

std::wstring GetFileDescription(const std::wstring& path) {
    return Describe(path, false);
}

Text GetFileDescription(const Text& path) {
    return Narrow(Describe(Widen(path), true));
}

std::wstring RegisteredFileType(const std::wstring& extension) {
    if (extension.empty() || HasBackslash(extension))
        return std::wstring();
    std::wstring dotted = extension[0] == L'.' ? extension : L"." + extension;
    std::wstring type = RegReadString(HKEY_CLASSES_ROOT, dotted, L"", L"");
    return type.empty() ? dotted : type;
}

Text RegisteredFileType(const Text& extension) {
    return NarrowOrEmpty(RegisteredFileType(Widen(extension)));
}

std::wstring GetDefaultIconSpec(const std::wstring& extension) {
    std::wstring type = RegisteredFileType(extension);
    if (type.empty())
        return std::wstring();
    return RegReadString(HKEY_CLASSES_ROOT, type + L"\\DefaultIcon", L"", L"");
}

Text GetDefaultIconSpec(const Text& extension) {
    return NarrowOrEmpty(GetDefaultIconSpec(Widen(extension)));
}

HICON GetFileIcon(const std::wstring& path) {
    if (DirectoryExists(path))
        return ExtractIconOf(Shell32Path(), 3);
    if (!FileExists(path) || (!path.empty() && path.back() == L'.'))
        return nullptr;
    if (HICON icon = ExtractIconOf(path, 0))
        return icon;
    std::wstring extension = ExtractFileExt(path);
    Text upper = UpperCaseText(Narrow(extension));
    if (upper == ".LNK")
        return ExtractIconOf(GetShortcutTarget(path), 0);
    if (upper == ".EXE")
        return ExtractIconOf(Shell32Path(), 2);
    return IconFromDefaultIconSpec(extension);
}

HICON GetFileIcon(const Text& path) {
    return GetFileIcon(Widen(path));
}
