#include "wizard_pages.h"

#include <windows.h>

#include "win/encoding.h"
#include "win/files.h"

const char* const NotFullPathMessage =
    "ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞは「C:\\ﾌｫﾙﾀﾞ名」のように、ﾄﾞﾗｲﾌﾞ名から始まる完全なﾊﾟｽで指定して下さい。";

bool PageAvailability::Offers(WizardPage page) const {
    switch (page) {
    case WizardPage::Welcome:
    case WizardPage::Start:
        return true;
    case WizardPage::Licence:
        return licence;
    case WizardPage::Information:
        return information;
    case WizardPage::Method:
        return method;
    case WizardPage::Shortcuts:
        return shortcuts;
    case WizardPage::None:
        break;
    }
    return false;
}

WizardPage PageAfter(WizardPage page, const PageAvailability& offered) {
    if (page == WizardPage::None || page == WizardPage::Start)
        return WizardPage::None;
    for (int next = static_cast<int>(page) + 1; next <= static_cast<int>(WizardPage::Start); ++next)
        if (offered.Offers(static_cast<WizardPage>(next)))
            return static_cast<WizardPage>(next);
    return WizardPage::Start;
}

WizardPage PageBefore(WizardPage page, const PageAvailability& offered) {
    for (int previous = static_cast<int>(page) - 1; previous > static_cast<int>(WizardPage::Welcome);
         --previous)
        if (offered.Offers(static_cast<WizardPage>(previous)))
            return static_cast<WizardPage>(previous);
    return WizardPage::Welcome;
}

std::wstring FreeSpaceText(std::int64_t freeBytes) {
    std::int64_t kilobytes = freeBytes < 0 ? freeBytes : freeBytes / 1024;
    bool negative = kilobytes < 0;
    std::wstring digits = std::to_wstring(negative ? -kilobytes : kilobytes);
    std::wstring grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += L',';
        grouped += digits[i];
    }
    return negative ? L"-" + grouped : grouped;
}

std::int64_t FreeSpaceOfField(const std::wstring& field) {
    ULARGE_INTEGER available = {};
    BOOL ok;
    if (field.empty()) {
        ok = GetDiskFreeSpaceExW(nullptr, &available, nullptr, nullptr);
    } else {
        std::wstring root = field.substr(0, 1) + L":\\";
        // A field that does not start with a drive letter names no drive.
        if (!iswalpha(field[0]))
            return -1;
        ok = GetDiskFreeSpaceExW(root.c_str(), &available, nullptr, nullptr);
    }
    return ok ? static_cast<std::int64_t>(available.QuadPart) : -1;
}

std::wstring TextForBox(const std::wstring& file) {
    std::optional<Text> bytes = ReadFileBytes(file);
    if (!bytes)
        return std::wstring();
    Text text;
    for (size_t i = 0; i < bytes->size(); ++i) {
        char c = (*bytes)[i];
        if (c == '\n' && (i == 0 || (*bytes)[i - 1] != '\r'))
            text += '\r';
        text += c;
    }
    return Widen(text);
}
