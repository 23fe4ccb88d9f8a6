// The Japanese faces the programs ask for, replaced for the programs a test starts: by the
// IPA faces of the same metrics (what most users see) or by a taller face (what a Windows
// installed in another language falls back to). Wine reads the replacements at each
// program's start; what the prefix had is put back afterwards.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace lumera_e2e {

enum class JapaneseFace { Ipa, Tall };

inline const wchar_t* const TallFace = L"Noto Sans CJK JP"; // fonts-noto-cjk

class FontChoice {
public:
    explicit FontChoice(JapaneseFace face) {
        HKEY key;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, ReplacementsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return;
        for (const auto& [name, ipa] : Faces) {
            wchar_t value[64] = L"";
            DWORD size = sizeof value;
            if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS)
                saved_.emplace_back(name, value);
            const wchar_t* replacement = face == JapaneseFace::Ipa ? ipa : TallFace;
            RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(replacement),
                           static_cast<DWORD>((wcslen(replacement) + 1) * sizeof(wchar_t)));
        }
        RegCloseKey(key);
    }
    ~FontChoice() {
        HKEY key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, ReplacementsKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
            return;
        for (const auto& [name, ipa] : Faces)
            RegDeleteValueW(key, name);
        for (const auto& [name, replacement] : saved_)
            RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(replacement.c_str()),
                           static_cast<DWORD>((replacement.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    FontChoice(const FontChoice&) = delete;
    FontChoice& operator=(const FontChoice&) = delete;

    // Whether Windows lists the family (Wine: whether fontconfig found its file).
    static bool Installed(const wchar_t* family) {
        LOGFONTW query = {};
        query.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(query.lfFaceName, family, LF_FACESIZE);
        bool found = false;
        HDC screen = GetDC(nullptr);
        EnumFontFamiliesExW(screen, &query, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
        ReleaseDC(nullptr, screen);
        return found;
    }

private:
    // The same list as the test prefix's (scripts/env.sh).
    static constexpr const wchar_t* ReplacementsKey = L"Software\\Wine\\Fonts\\Replacements";
    static constexpr std::pair<const wchar_t*, const wchar_t*> Faces[] = {
        {L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF", L"IPAPGothic"}, // ＭＳ Ｐゴシック
        {L"MS PGothic", L"IPAPGothic"},
        {L"MS UI Gothic", L"IPAPGothic"},
        {L"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF", L"IPAGothic"}, // ＭＳ ゴシック
        {L"MS Gothic", L"IPAGothic"},
    };

    static int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
        *reinterpret_cast<bool*>(found) = true;
        return 0;
    }

    std::vector<std::pair<std::wstring, std::wstring>> saved_;
};

} // namespace lumera_e2e
