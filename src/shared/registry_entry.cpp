#include "registry_entry.h"

#include <charconv>
#include <limits>
#include <string_view>
#include <vector>

#include "textops.h"

namespace {

Text AtMeansEmpty(const Text& name) {
    return name == "@" ? Text() : name;
}

// 1-based position of the last "\" after from and before limit (by characters); from
// itself when there is none.
size_t LastBackslashBefore(const Text& text, size_t from, size_t limit) {
    size_t last = from;
    for (size_t p = FindCharFrom('\\', text, from + 1); p != 0 && p < limit;
         p = FindCharFrom('\\', text, p + 1))
        last = p;
    return last;
}

// Blanks around a number are allowed, as in every other number the suite reads.
std::string_view Trimmed(const Text& text) {
    std::string_view view(text);
    while (!view.empty() && (view.front() == ' ' || view.front() == '\t'))
        view.remove_prefix(1);
    while (!view.empty() && (view.back() == ' ' || view.back() == '\t'))
        view.remove_suffix(1);
    return view;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t CountDigits(std::string_view text, size_t at) {
    size_t count = 0;
    while (at + count < text.size() && IsDigit(text[at + count]))
        ++count;
    return count;
}

} // namespace

std::optional<RegistryRoot> ParseRegistryRoot(const Text& name) {
    static const struct {
        const char* name;
        RegistryRoot root;
    } roots[] = {
        {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
        {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
        {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
        {"HKEY_USERS", RegistryRoot::Users},
        {"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
        {"HKEY_DYN_DATA", RegistryRoot::DynData},
    };
    for (const auto& entry : roots)
        if (name == entry.name)
            return entry.root;
    return std::nullopt;
}

std::optional<RegistryWriteEntry> ParseRegistryWriteEntry(const Text& entry) {
    // The root ends at the first "\" after one optional leading "\"; it must come before "=".
    size_t skip = !entry.empty() && entry[0] == '\\' ? 1 : 0;
    size_t p1 = FindCharFrom('\\', entry, skip + 1);
    size_t pe = entry.find('=');
    if (p1 == 0 || pe == Text::npos || pe + 1 < p1)
        return std::nullopt;
    pe += 1; // 1-based
    auto root = ParseRegistryRoot(entry.substr(skip, p1 - 1 - skip));
    if (!root)
        return std::nullopt;

    // The value name follows the last "\" before "=", so it can never hold one.
    size_t pk = LastBackslashBefore(entry, p1, pe);
    size_t pt = entry.find('>', pe);
    if (pt == Text::npos)
        return std::nullopt;
    pt += 1;

    Text marker = entry.substr(pe, pt - pe);
    RegistryValueKind kind;
    if (marker == "<String>")
        kind = RegistryValueKind::String;
    else if (marker == "<Integer>")
        kind = RegistryValueKind::Integer;
    else if (marker == "<Double>")
        kind = RegistryValueKind::Double;
    else if (marker == "<Currency>")
        kind = RegistryValueKind::Currency;
    else
        return std::nullopt;

    RegistryWriteEntry parsed{*root, Text(), Text(), kind, entry.substr(pt)};
    if (pk > p1)
        parsed.keyPath = AtMeansEmpty(entry.substr(p1, pk - p1 - 1));
    parsed.valueName = AtMeansEmpty(entry.substr(pk, pe - pk - 1));
    return parsed;
}

std::optional<RegistryDeleteEntry> ParseRegistryDeleteEntry(const Text& entry) {
    Text s = entry.substr(0, entry.find('='));
    size_t pt = s.find('>');
    if (pt == Text::npos)
        return std::nullopt;
    pt += 1;
    Text marker = s.substr(0, pt);
    RegistryDeleteKind kind;
    if (marker == "<Key>")
        kind = RegistryDeleteKind::Key;
    else if (marker == "<Value>")
        kind = RegistryDeleteKind::Value;
    else
        return std::nullopt;

    size_t skip = pt < s.size() && s[pt] == '\\' ? 1 : 0;
    size_t p1 = FindCharFrom('\\', s, pt + skip + 1);
    if (p1 == 0)
        return std::nullopt;
    auto root = ParseRegistryRoot(s.substr(pt + skip, p1 - 1 - pt - skip));
    if (!root)
        return std::nullopt;

    // A trailing "\" names the same key or value as without it.
    if (EndsWithChar(s, '\\'))
        s.pop_back();
    size_t pl = LastBackslashBefore(s, p1, s.size() + 1);

    RegistryDeleteEntry parsed{kind, *root, Text(), Text()};
    if (pl > p1)
        parsed.keyPath = AtMeansEmpty(s.substr(p1, pl - p1 - 1));
    if (pl < s.size())
        parsed.name = AtMeansEmpty(s.substr(pl));
    return parsed;
}

std::optional<std::int32_t> RegistryIntegerData(const Text& data) {
    long value = 0;
    if (!TryTextToInt(data, value))
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<double> RegistryFloatData(const Text& data, const Text& decimalSeparator) {
    // Only sign, digits, one separator and an exponent: never "inf", "nan" or hex floats.
    std::string_view text = Trimmed(data);
    Text normal;
    size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        normal += text[at++] == '-' ? "-" : "";
    size_t whole = CountDigits(text, at);
    normal.append(text.substr(at, whole));
    at += whole;
    size_t fraction = 0;
    if (!decimalSeparator.empty() && text.substr(at, decimalSeparator.size()) == decimalSeparator) {
        at += decimalSeparator.size();
        fraction = CountDigits(text, at);
        normal += '.';
        normal.append(text.substr(at, fraction));
        at += fraction;
    }
    if (whole + fraction == 0)
        return std::nullopt;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        normal += 'e';
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            normal += text[at++];
        size_t exponent = CountDigits(text, at);
        if (exponent == 0)
            return std::nullopt;
        normal.append(text.substr(at, exponent));
        at += exponent;
    }
    if (at != text.size())
        return std::nullopt;
    double value = 0;
    auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (error != std::errc() || end != normal.data() + normal.size())
        return std::nullopt;
    return value;
}

std::optional<std::int64_t> RegistryCurrencyData(const Text& data, const Text& decimalSeparator) {
    std::string_view text = Trimmed(data);
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    size_t whole = CountDigits(text, at);
    std::string_view wholeDigits = text.substr(at, whole);
    at += whole;
    std::string_view fractionDigits;
    if (!decimalSeparator.empty() && text.substr(at, decimalSeparator.size()) == decimalSeparator) {
        at += decimalSeparator.size();
        size_t fraction = CountDigits(text, at);
        fractionDigits = text.substr(at, fraction);
        at += fraction;
    }
    if (at != text.size() || whole + fractionDigits.size() == 0)
        return std::nullopt;

    // Work in magnitudes up to 2^63 so that the most negative amount still fits.
    constexpr std::uint64_t Limit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1;
    std::uint64_t magnitude = 0;
    auto addDigit = [&magnitude](char digit) {
        if (magnitude > (Limit - static_cast<std::uint64_t>(digit - '0')) / 10)
            return false;
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(digit - '0');
        return true;
    };
    for (char digit : wholeDigits)
        if (!addDigit(digit))
            return std::nullopt;
    for (size_t i = 0; i < 4; ++i)
        if (!addDigit(i < fractionDigits.size() ? fractionDigits[i] : '0'))
            return std::nullopt;
    if (fractionDigits.size() > 4 && fractionDigits[4] >= '5') {
        if (magnitude == Limit)
            return std::nullopt;
        ++magnitude;
    }
    if (magnitude == Limit && !negative)
        return std::nullopt;
    return negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
}

Text LegacyWriteEntry(const Text& record, LegacyKind kind) {
    size_t pe = record.find('=');
    if (pe == Text::npos)
        return Text();
    return record.substr(0, pe + 1) + (kind == LegacyKind::String ? "<String>" : "<Integer>") +
           record.substr(pe + 1);
}

namespace {

// The components of a key path, upper-cased; "\" found by characters, empty ones dropped.
std::vector<Text> KeyComponents(const Text& keyPath) {
    std::vector<Text> parts;
    size_t start = 1;
    for (;;) {
        const size_t next = FindCharFrom('\\', keyPath, start);
        const Text part = keyPath.substr(start - 1, next == 0 ? Text::npos : next - start);
        if (!part.empty())
            parts.push_back(UpperCaseText(part));
        if (next == 0)
            return parts;
        start = next + 1;
    }
}

// Shared keys of a class registration (HKEY_CLASSES_ROOT, or Software\Classes of a hive),
// relative to it, upper-case.
const char* const SharedClassKeys[] = {
    "CLSID",
    "INTERFACE",
    "TYPELIB",
    "APPID",
    "*",
    "*\\SHELL",
    "*\\SHELLEX",
    "*\\SHELLEX\\CONTEXTMENUHANDLERS",
    "DIRECTORY",
    "DIRECTORY\\SHELL",
    "DIRECTORY\\SHELLEX",
    "DIRECTORY\\BACKGROUND",
    "DIRECTORY\\BACKGROUND\\SHELL",
    "FOLDER",
    "FOLDER\\SHELL",
    "FOLDER\\SHELLEX",
    "DRIVE",
    "DRIVE\\SHELL",
    "ALLFILESYSTEMOBJECTS",
};

// Shared keys of a hive (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, one user under HKEY_USERS).
const char* const SharedHiveKeys[] = {
    "SOFTWARE",
    "SOFTWARE\\CLASSES",
    "SOFTWARE\\MICROSOFT",
    "SOFTWARE\\MICROSOFT\\WINDOWS",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUNONCE",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUNONCEEX",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUNSERVICES",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUNSERVICESONCE",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\UNINSTALL",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\APP PATHS",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\SHAREDDLLS",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\POLICIES",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\EXPLORER",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\EXPLORER\\SHELL FOLDERS",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\EXPLORER\\USER SHELL FOLDERS",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\SHELL EXTENSIONS",
    "SOFTWARE\\MICROSOFT\\WINDOWS NT",
    "SOFTWARE\\MICROSOFT\\WINDOWS NT\\CURRENTVERSION",
    "SOFTWARE\\POLICIES",
    "SOFTWARE\\POLICIES\\MICROSOFT",
    "SYSTEM\\CURRENTCONTROLSET\\SERVICES",
    "SYSTEM\\CURRENTCONTROLSET\\CONTROL",
};

Text JoinComponents(const std::vector<Text>& parts, size_t from) {
    Text joined;
    for (size_t i = from; i < parts.size(); ++i)
        joined += (joined.empty() ? "" : "\\") + parts[i];
    return joined;
}

template <size_t N> bool Listed(const char* const (&list)[N], const Text& key) {
    for (const char* shared : list)
        if (key == shared)
            return true;
    return false;
}

// A 32-bit program's view mirrors the keys below "Wow6432Node": the same keys are shared.
void DropWowNode(std::vector<Text>& parts, size_t at) {
    if (parts.size() > at && parts[at] == "WOW6432NODE")
        parts.erase(parts.begin() + static_cast<long>(at));
}

bool SharedClassKey(std::vector<Text> parts) {
    if (parts.size() <= 1)
        return true;
    DropWowNode(parts, 0);
    return parts.size() <= 1 || Listed(SharedClassKeys, JoinComponents(parts, 0));
}

bool SharedHiveKey(std::vector<Text> parts) {
    if (parts.size() <= 1)
        return true;
    if (parts[0] == "SOFTWARE") {
        DropWowNode(parts, 1);
        if (parts.size() >= 2 && parts[1] == "CLASSES")
            return SharedClassKey(std::vector<Text>(parts.begin() + 2, parts.end()));
    }
    // Every control set ("CurrentControlSet", "ControlSet001", ...) is the system's.
    if (parts[0] == "SYSTEM") {
        if (parts.size() == 2)
            return true;
        parts[1] = "CURRENTCONTROLSET";
    }
    return Listed(SharedHiveKeys, JoinComponents(parts, 0));
}

} // namespace

bool IsSharedRegistryKey(RegistryRoot root, const Text& keyPath) {
    std::vector<Text> parts = KeyComponents(keyPath);
    if (parts.size() <= 1)
        return true;
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return SharedClassKey(parts);
    case RegistryRoot::CurrentUser:
    case RegistryRoot::LocalMachine:
        return SharedHiveKey(parts);
    case RegistryRoot::Users: {
        // Below each user's hive lie the same keys as below HKEY_CURRENT_USER.
        std::vector<Text> hive(parts.begin() + 1, parts.end());
        const Text& name = parts[0];
        const Text classes = "_CLASSES";
        if (name.size() > classes.size() &&
            name.compare(name.size() - classes.size(), Text::npos, classes) == 0)
            return SharedClassKey(hive);
        return SharedHiveKey(hive);
    }
    case RegistryRoot::CurrentConfig:
    case RegistryRoot::DynData:
        break;
    }
    return false;
}

bool RefusesDeletion(const RegistryDeleteEntry& entry) {
    if (entry.kind != RegistryDeleteKind::Key)
        return false;
    return IsSharedRegistryKey(entry.root, entry.keyPath + "\\" + entry.name);
}
