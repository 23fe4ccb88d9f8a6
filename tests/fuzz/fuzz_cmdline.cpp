// Command-line splitting on arbitrary bytes, with a file system that answers from the
// input itself.
#include <cstdlib>

#include "cmdline.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    Text line = input.NextText();
    Text existing = input.NextText();
    auto exists = [&existing](const Text& path) { return !existing.empty() && path == existing; };
    CommandLineParts parts = SplitCommandLine(line, exists);
    if (parts.program.size() + parts.parameters.size() > line.size())
        std::abort();
    if (SplitProgram(line, exists) != parts.program)
        std::abort();

    // The wide split agrees wherever both can hold the line.
    std::wstring wideLine, wideExisting, program, parameters;
    if (AsciiToWide(line, wideLine) && AsciiToWide(existing, wideExisting)) {
        auto wideExists = [&wideExisting](const std::wstring& path) {
            return !wideExisting.empty() && path == wideExisting;
        };
        WideCommandLineParts wide = SplitCommandLine(wideLine, wideExists);
        if (!AsciiToWide(parts.program, program) || !AsciiToWide(parts.parameters, parameters) ||
            wide.program != program || wide.parameters != parameters)
            std::abort();
    }
    return 0;
}
