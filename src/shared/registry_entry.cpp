#include "registry_entry.h"

#include <charconv>
#include <limits>
#include <string_view>

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
