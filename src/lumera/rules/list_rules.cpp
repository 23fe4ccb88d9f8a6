#include "list_rules.h"

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
