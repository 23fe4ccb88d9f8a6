#include "desktop_marks_rules.h"

#include "list_rules.h"
#include "paths.h"
#include "textops.h"

namespace {

template <class String> int MarkedIndexOf(const String& currentShort, const std::vector<String>& itemFiles) {
    if (currentShort.empty() || itemFiles.empty())
        return 0;
    int last = static_cast<int>(itemFiles.size()) - 1;
    for (int i = 1; i < last; ++i) {
        if (SamePathForm(itemFiles[static_cast<size_t>(i)], currentShort))
            return i;
    }
    return last;
}

} // namespace

int MarkedItemIndex(const Text& currentShort, const std::vector<Text>& itemFiles) {
    return MarkedIndexOf(currentShort, itemFiles);
}

int MarkedItemIndex(const std::wstring& currentShort, const std::vector<std::wstring>& itemFiles) {
    return MarkedIndexOf(currentShort, itemFiles);
}

SaverSwitch SwitchForEnabledValue(long enabled, bool onMarked, bool offMarked) {
    if (enabled >= 1)
        return onMarked ? SaverSwitch::Keep : SaverSwitch::On;
    return offMarked ? SaverSwitch::Keep : SaverSwitch::Off;
}

Text ScreenSaverPolicyNote(bool on, bool secure) {
    if (!on)
        return "ｽｸﾘｰﾝｾｰﾊﾞｰ: ﾎﾟﾘｼｰにより無効";
    return secure ? "ｽｸﾘｰﾝｾｰﾊﾞｰ: ﾎﾟﾘｼｰにより有効 (ﾛｯｸ付き)" : "ｽｸﾘｰﾝｾｰﾊﾞｰ: ﾎﾟﾘｼｰにより有効";
}

std::vector<Text> WallpaperPatterns(bool ntFamily) {
    if (!ntFamily)
        return {"*.bmp"};
    return {"*.bmp", "*.jpg", "*.jpeg", "*.png", "*.gif"};
}

Text WallpaperFilter(bool ntFamily) {
    if (!ntFamily)
        return "ﾋﾞｯﾄﾏｯﾌﾟ(*.BMP)|*.bmp|すべてのﾌｧｲﾙ (*.*)|*.*";
    return "画像ﾌｧｲﾙ(*.BMP;*.JPG;*.JPEG;*.PNG;*.GIF)|*.bmp;*.jpg;*.jpeg;*.png;*.gif|すべてのﾌｧｲﾙ (*.*)|*.*";
}

bool HasPatternExtension(const Text& name, const Text& pattern) {
    Text wanted = ExtractFileExt(pattern);
    if (wanted == ".*" || wanted.empty())
        return true;
    return SameText(ExtractFileExt(name), wanted);
}
