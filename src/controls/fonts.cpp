#include "fonts.h"

#include <map>

#include "win/encoding.h"

namespace {

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

Text SystemMessageFace() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return Narrow(metrics.lfMessageFont.lfFaceName);
    return "MS Shell Dlg";
}

} // namespace

bool FontFamilyExists(const Text& name) {
    LOGFONTW query = {};
    query.lfCharSet = DEFAULT_CHARSET;
    std::wstring face = Widen(name);
    if (face.empty() || face.size() >= LF_FACESIZE)
        return false;
    face.copy(query.lfFaceName, face.size());
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &query, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

Text ResolveFontFace(const Text& wanted) {
    static const char* const japaneseFaces[] = {"ＭＳ Ｐゴシック", "MS UI Gothic",     "Meiryo UI",
                                                "Yu Gothic UI",    "Noto Sans CJK JP", "Noto Sans JP"};
    // Every window and label asks; asking the font list each time slows the start.
    static std::map<Text, Text> resolved;
    auto known = resolved.find(wanted);
    if (known != resolved.end())
        return known->second;
    Text face = SystemMessageFace();
    if (FontFamilyExists(wanted)) {
        face = wanted;
    } else {
        for (const char* candidate : japaneseFaces) {
            if (FontFamilyExists(candidate)) {
                face = candidate;
                break;
            }
        }
    }
    resolved.emplace(wanted, face);
    return face;
}

UniqueGdiObject CreateFontFor(const FontSpec& spec, int dpi) {
    LOGFONTW font = {};
    font.lfHeight = -MulDiv(spec.points, dpi, 72);
    font.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = spec.italic;
    font.lfUnderline = spec.underline;
    font.lfStrikeOut = spec.strikeOut;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    std::wstring face = Widen(ResolveFontFace(spec.name));
    face.copy(font.lfFaceName, std::min<size_t>(face.size(), LF_FACESIZE - 1));
    return UniqueGdiObject(CreateFontIndirectW(&font));
}
