#include "list_rules.h"

#include <algorithm>

#include "textops.h"

std::vector<Text> SplitFolderList(const Text& list) {
    std::vector<Text> folders;
    size_t start = 0;
    while (start < list.size()) {
        size_t end = FindCharFrom(';', list, start + 1);
        size_t stop = end == 0 ? list.size() : end - 1;
        if (stop > start)
            folders.push_back(list.substr(start, stop - start));
        start = stop + 1;
    }
    return folders;
}

Text FirstFolder(const Text& list) {
    size_t end = FindCharFrom(';', list, 1);
    return end == 0 ? list : list.substr(0, end - 1);
}

std::vector<std::wstring> SplitFolderList(const std::wstring& list) {
    std::vector<std::wstring> folders;
    size_t start = 0;
    while (start <= list.size()) {
        size_t stop = list.find(L';', start);
        if (stop == std::wstring::npos)
            stop = list.size();
        if (stop > start)
            folders.push_back(list.substr(start, stop - start));
        start = stop + 1;
    }
    return folders;
}

std::wstring FirstFolder(const std::wstring& list) {
    return list.substr(0, list.find(L';'));
}

std::vector<ListRow> CompactList(const std::vector<ListRow>& rows) {
    std::vector<ListRow> kept;
    for (const ListRow& row : rows) {
        if (!row.content.empty())
            kept.push_back(row);
    }
    return kept;
}

bool SamePathForm(const Text& shortA, const Text& shortB) {
    return UpperCaseText(shortA) == UpperCaseText(shortB);
}

bool SamePathForm(const std::wstring& shortA, const std::wstring& shortB) {
    auto upper = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
    return shortA.size() == shortB.size() &&
           std::equal(shortA.begin(), shortA.end(), shortB.begin(),
                      [&](wchar_t a, wchar_t b) { return upper(a) == upper(b); });
}
