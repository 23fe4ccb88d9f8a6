// An installer data file built from the fuzzer's bytes, read the way the installer reads
// it: every list through the one-pass list reader, every entry through its parser. The
// list reader must agree with key-by-key reading, entry for entry, up to the first gap.
#include <cstdlib>
#include <vector>

#include "fuzz_input.h"
#include "profile.h"
#include "registry_entry.h"
#include "shortcut_entry.h"
#include "textops.h"

namespace {

const char* const Sections[] = {"Infomation", "Licence", "Readme", "Install", "UnInstall", "Run"};
const char* const Stems[] = {"Dir", "File", "StartMenu", "DeskTop", "SendTo", "RegWrite", "RegDelete"};
const char* const Keys[] = {"AppName",  "Gradation", "WallColor", "AppFontSize", "Path",
                            "Capacity", "StartPath", "Visible",   "Caption1",    "Checked1"};

// A line of the file: a section header, a list entry, a plain key or raw bytes, chosen by
// the input so that most files hold the structure the installer looks for.
Text NextLine(FuzzInput& input) {
    long choice = input.NextNumber() + 32768;
    Text value = input.NextText();
    // The spellings the platform's reader forgives: quotes, blanks, an empty value.
    switch ((choice / 210) % 4) {
    case 1:
        value = "\"" + value + "\"";
        break;
    case 2:
        value = " " + value + "\t";
        break;
    case 3:
        value.clear();
        break;
    }
    switch (choice % 5) {
    case 0:
        return "[" + Text(Sections[(choice / 5) % 6]) + "]";
    case 1:
    case 2:
        return Text(Stems[(choice / 5) % 7]) + std::to_string((choice / 35) % 6) + "=" + value;
    case 3:
        return Text(Keys[(choice / 5) % 10]) + "=" + value;
    default:
        return value;
    }
}

void ReadEntries(const std::vector<Text>& entries, const Text& stem) {
    for (const Text& entry : entries) {
        Check(!entry.empty());
        if (stem == "StartMenu" || stem == "DeskTop" || stem == "SendTo") {
            ParseShortcutEntry(entry);
            AddShortcutExtension(ShortcutEntryLocation(entry));
        } else if (stem == "RegWrite") {
            if (auto write = ParseRegistryWriteEntry(entry))
                RegistryIntegerData(write->data);
        } else if (stem == "RegDelete") {
            ParseRegistryDeleteEntry(entry);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const Text lineBreak = (size % 3 == 0) ? "\n" : "\r\n";
    Text content;
    for (int i = 0; i < 64 && input.NextNumber() != -32768; ++i)
        content += NextLine(input) + lineBreak;

    for (const char* section : Sections) {
        for (const char* stem : Stems) {
            std::vector<Text> list = ProfileLookupList(content, section, stem);
            size_t n = 1;
            for (; n <= list.size(); ++n)
                Check(ProfileLookup(content, section, stem + std::to_string(n)) == list[n - 1]);
            // The list ends exactly where key-by-key reading finds a gap.
            auto next = ProfileLookup(content, section, stem + std::to_string(n));
            Check(!next || next->empty());
            ReadEntries(list, stem);
        }
        for (const char* key : Keys) {
            long value = 0;
            TryTextToInt(ProfileLookup(content, section, key).value_or(Text()), value);
        }
    }
    return 0;
}
