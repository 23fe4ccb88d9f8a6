// Fonts of the forms: "ＭＳ Ｐゴシック" where the forms name it, otherwise (or when it is
// missing) a font of the system that can show Japanese.
#pragma once

#include "gdi.h"
#include "jjstring.h"

struct FontSpec {
    Text name = "ＭＳ Ｐゴシック";
    int points = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

bool FontFamilyExists(const Text& name);
// The face used for a wanted one: itself when installed, else the first installed of the
// Japanese UI faces, else the system's message font.
Text ResolveFontFace(const Text& wanted);
UniqueGdiObject CreateFontFor(const FontSpec& spec, int dpi);
