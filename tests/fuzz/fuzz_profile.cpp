// The profile reader and writer on arbitrary content: a stored value must read back,
// and no other section may change its answer.
#include <cstdlib>

#include "fuzz_input.h"
#include "profile.h"
#include "textops.h"

namespace {

// Names and values the writer can represent: no line breaks, no "=" in keys, no
// "]" in sections, nothing that trimming or quote removal would alter.
bool Storable(const Text& section, const Text& key, const Text& value) {
    for (const Text* text : {&section, &key, &value}) {
        if (text->find_first_of(Text("\r\n\0", 3)) != Text::npos)
            return false;
        Text copy = *text;
        if (TrimText(copy, TrimBoth, false) != *text || text->empty())
            return false;
        // A lone lead byte at the end would pair with whatever the writer puts after it.
        if (IsLeadByte(static_cast<unsigned char>(text->back())) && LastCharPos(*text) == text->size())
            return false;
    }
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return false;
    return !ContainsChar('=', key) && !ContainsChar(']', section) && key[0] != '[' && section[0] != ';';
}

// Lines that read as section headers.
size_t CountSectionLines(const Text& content) {
    size_t count = 0;
    size_t begin = 0;
    while (begin <= content.size()) {
        size_t end = content.find_first_of("\r\n", begin);
        if (end == Text::npos)
            end = content.size();
        Text line = content.substr(begin, end - begin);
        if (!TrimText(line, TrimBoth, false).empty() && line[0] == '[')
            ++count;
        begin = end + 1;
    }
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    Text content = input.NextText();
    Text section = input.NextText();
    Text key = input.NextText();
    Text value = input.NextText();

    ProfileLookup(content, section, key);
    Text stored = ProfileStore(content, section, key, value);
    // A write the checker allows adds at most its own section header, never another.
    if (ProfileStorable(section, key, value) && CountSectionLines(stored) > CountSectionLines(content) + 1)
        std::abort();
    if (Storable(section, key, value)) {
        auto readBack = ProfileLookup(stored, section, key);
        if (!readBack || *readBack != value)
            std::abort();
    }
    return 0;
}
