// Every text and path operation on arbitrary bytes: lone lead bytes, embedded zeros,
// long runs. Results are checked for the invariants that must hold for any input.
#include <cstdlib>

#include "fuzz_input.h"
#include "paths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    Text text = input.NextText();
    Text other = input.NextText();
    long a = input.NextNumber();
    long b = input.NextNumber();

    size_t chars = CharLength(text);
    Check(chars <= text.size());
    Check(MbCopy(text, a, b).size() <= text.size());
    Check(RightChars(text, a).size() <= text.size());
    Check(RightBytes(text, a).size() <= text.size());
    Check(CopyFrom(text, a).size() <= text.size());
    CharToStr(static_cast<unsigned>(a));
    for (int mode = TrimBoth; mode <= TrimEverywhere; ++mode) {
        Text copy = text;
        Check(TrimText(copy, static_cast<TrimMode>(mode), b & 1).size() <= text.size());
    }
    Check(MbTrim(text).size() <= text.size());

    size_t p = PosFrom(other, text, static_cast<size_t>(a < 0 ? 0 : a));
    Check(p == 0 || text.compare(p - 1, other.size(), other) == 0);
    LastPos(other, text);
    TextToFloat(text);
    long value;
    TryTextToInt(text, value);
    Check(UpperCaseText(text).size() == text.size());

    // After a lone lead byte the added "\" becomes a trail byte: check bytes only.
    Text added = AddBackslash(text);
    Check(!added.empty() && added.back() == '\\');
    Check(!EndsWithChar(RemoveBackslash(text), '\\'));
    Text joined = JoinPath(text, other);
    Check(joined.compare(0, text.size(), text) == 0);
    ExtractFileName(text);
    Check(ExtractFileDir(text).size() <= text.size());
    FileNameWithoutExt(text);

    // The wide path operations follow the same rules wherever both can hold the text.
    std::wstring wideText, wideOther;
    if (AsciiToWide(text, wideText) && AsciiToWide(other, wideOther)) {
        auto same = [](const Text& narrow, const std::wstring& wide) {
            std::wstring widened;
            Check(AsciiToWide(narrow, widened) || narrow.empty());
            Check(widened == wide);
        };
        same(AddBackslash(text), AddBackslash(wideText));
        same(RemoveBackslash(text), RemoveBackslash(wideText));
        same(JoinPath(text, other), JoinPath(wideText, wideOther));
        same(ExtractFileName(text), ExtractFileName(wideText));
        same(ExtractFileDir(text), ExtractFileDir(wideText));
        same(ExtractFileExt(text), ExtractFileExt(wideText));
        same(FileNameWithoutExt(text), FileNameWithoutExt(wideText));
    }
    return 0;
}
