#include "profile.h"

#include <algorithm>

#include <string_view>
#include <vector>

#include "textops.h"

namespace {

struct Line {
    size_t begin; // byte offset of the line in the content
    size_t end;   // offset of its line break (or of the end of the content)
};

std::vector<Line> SplitLines(const Text& content) {
    std::vector<Line> lines;
    size_t begin = 0;
    while (begin < content.size()) {
        size_t end = content.find_first_of("\r\n", begin);
        if (end == Text::npos)
            end = content.size();
        lines.push_back({begin, end});
        begin = end;
        if (begin < content.size() && content[begin] == '\r')
            ++begin;
        if (begin < content.size() && content[begin] == '\n')
            ++begin;
    }
    return lines;
}

Text LineText(const Text& content, const Line& line) {
    return content.substr(line.begin, line.end - line.begin);
}

Text TrimBlanks(const Text& text) {
    Text copy = text;
    return TrimText(copy, TrimBoth, false);
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<Text> SectionName(const Text& line) {
    Text trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed[0] != '[')
        return std::nullopt;
    size_t closing = FindCharFrom(']', trimmed, 2);
    Text name = closing == 0 ? trimmed.substr(1) : trimmed.substr(1, closing - 2);
    return TrimBlanks(name);
}

struct Entry {
    Text key;
    Text value;
};

std::optional<Entry> KeyEntry(const Text& line) {
    size_t equals = FindCharFrom('=', line, 1);
    if (equals == 0)
        return std::nullopt;
    return Entry{TrimBlanks(line.substr(0, equals - 1)), TrimBlanks(line.substr(equals))};
}

Text DropQuotes(const Text& value) {
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

// Where a section's lines run in the content: [first, last) line indexes after its header.
struct SectionSpan {
    size_t header;
    size_t first;
    size_t last;
};

std::optional<SectionSpan> FindSection(const Text& content, const std::vector<Line>& lines,
                                       const Text& section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        auto name = SectionName(LineText(content, lines[i]));
        if (!name || !SameText(*name, section))
            continue;
        size_t last = i + 1;
        while (last < lines.size() && !SectionName(LineText(content, lines[last])))
            ++last;
        return SectionSpan{i, i + 1, last};
    }
    return std::nullopt;
}

// The line ending the content already uses; CR LF for content without one.
Text LineBreakOf(const Text& content) {
    size_t br = content.find_first_of("\r\n");
    if (br == Text::npos)
        return "\r\n";
    if (content[br] == '\n')
        return "\n";
    return br + 1 < content.size() && content[br + 1] == '\n' ? "\r\n" : "\r";
}

} // namespace

std::optional<Text> ProfileLookup(const Text& content, const Text& section, const Text& key) {
    auto lines = SplitLines(content);
    auto span = FindSection(content, lines, TrimBlanks(section));
    if (!span)
        return std::nullopt;
    Text wanted = TrimBlanks(key);
    for (size_t i = span->first; i < span->last; ++i) {
        auto entry = KeyEntry(LineText(content, lines[i]));
        if (entry && SameText(entry->key, wanted))
            return DropQuotes(entry->value);
    }
    return std::nullopt;
}

std::vector<Text> ProfileLookupList(const Text& content, const Text& section, const Text& stem) {
    std::vector<Text> values;
    auto lines = SplitLines(content);
    auto span = FindSection(content, lines, TrimBlanks(section));
    if (!span)
        return values;
    std::vector<std::pair<Text, Text>> entries;
    for (size_t i = span->first; i < span->last; ++i)
        if (auto entry = KeyEntry(LineText(content, lines[i])))
            entries.emplace_back(entry->key, entry->value);
    const Text wantedStem = TrimBlanks(stem);
    for (size_t n = 1;; ++n) {
        const Text wanted = wantedStem + std::to_string(n);
        auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const auto& entry) { return SameText(entry.first, wanted); });
        if (found == entries.end())
            return values;
        Text value = DropQuotes(found->second);
        if (value.empty())
            return values;
        values.push_back(std::move(value));
    }
}

Text ProfileStore(const Text& content, const Text& section, const Text& key, const Text& value) {
    auto lines = SplitLines(content);
    Text br = LineBreakOf(content);
    Text wantedSection = TrimBlanks(section);
    Text wantedKey = TrimBlanks(key);
    Text newEntry = wantedKey + "=" + value;

    auto span = FindSection(content, lines, wantedSection);
    if (!span) {
        Text result = content;
        if (!result.empty() && result.back() != '\n' && result.back() != '\r')
            result += br;
        return result + "[" + wantedSection + "]" + br + newEntry + br;
    }
    for (size_t i = span->first; i < span->last; ++i) {
        auto entry = KeyEntry(LineText(content, lines[i]));
        if (entry && SameText(entry->key, wantedKey)) {
            // Keep the key as it is spelt in the file; replace only its value.
            Text line = LineText(content, lines[i]);
            Text keyPart = line.substr(0, FindCharFrom('=', line, 1));
            return content.substr(0, lines[i].begin) + keyPart + value + content.substr(lines[i].end);
        }
    }
    // New key after the section's last non-blank line.
    size_t after = span->header;
    for (size_t i = span->first; i < span->last; ++i) {
        if (!TrimBlanks(LineText(content, lines[i])).empty())
            after = i;
    }
    size_t insertAt = lines[after].end;
    if (insertAt == content.size())
        return content + br + newEntry + br;
    return content.substr(0, insertAt) + br + newEntry + content.substr(insertAt);
}

bool ProfileStorable(const Text& section, const Text& key, const Text& value) {
    const Text breaks("\r\n\0", 3);
    for (const Text* text : {&section, &key, &value}) {
        if (text->find_first_of(breaks) != Text::npos)
            return false;
    }
    // A lone lead byte at the end would swallow the "]" or "=" the writer puts after it.
    for (const Text* name : {&section, &key}) {
        if (!name->empty() && IsLeadByte(static_cast<unsigned char>(name->back())) &&
            LastCharPos(*name) == name->size())
            return false;
    }
    Text trimmedKey = TrimBlanks(key);
    return !ContainsChar(']', section) && !ContainsChar('=', trimmedKey) &&
           (trimmedKey.empty() || trimmedKey[0] != '[');
}
