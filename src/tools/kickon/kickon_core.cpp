#include "kickon_core.h"

#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/registry.h"

namespace {

const wchar_t* const FileType = L"Lumera(Kickon)";

std::wstring UpperCase(std::wstring text) {
    if (!text.empty())
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

} // namespace

ClassesStore AssociationStore(bool ntFamily) {
    if (ntFamily)
        return {HKEY_CURRENT_USER, L"Software\\Classes\\"};
    return {HKEY_CLASSES_ROOT, L""};
}

void WriteAssociation(const ClassesStore& store, const std::wstring& shortProgram) {
    // The platform's own commands, read from the merged view where they are registered.
    auto platformCommand = [](const wchar_t* verb) {
        return RegReadString(HKEY_CLASSES_ROOT, std::wstring(L"inffile\\shell\\") + verb + L"\\Command", L"",
                             L"");
    };
    const std::wstring type = store.prefix + FileType;
    const struct {
        std::wstring key, value;
    } entries[] = {
        {store.prefix + L".inf", FileType},
        {type, Widen("ｾｯﾄｱｯﾌﾟ情報/Autorun")},
        {type + L"\\shell\\open\\command", shortProgram + L" %1"},
        {type + L"\\DefaultIcon", shortProgram + L",0"},
        {type + L"\\shell\\open", Widen("実行")},
        {type + L"\\shell\\open(edit)", Widen("開く(&O)")},
        {type + L"\\shell\\open(edit)\\Command", platformCommand(L"open")},
        {type + L"\\shell\\install", Widen("ｲﾝｽﾄｰﾙ(&I)")},
        {type + L"\\shell\\install\\Command", platformCommand(L"install")},
        {type + L"\\shell\\print\\Command", platformCommand(L"print")},
    };
    for (const auto& entry : entries)
        RegWriteString(store.root, entry.key, L"", entry.value);
}

void RemoveAssociation(const ClassesStore& store) {
    RegWriteString(store.root, store.prefix + L".inf", L"", L"inffile");
}

void UndoAssociation(const ClassesStore& store, const std::wstring& shortProgram) {
    const std::wstring extension = store.prefix + L".inf";
    const std::wstring type = store.prefix + FileType;
    const std::wstring command = RegReadString(store.root, type + L"\\shell\\open\\command", L"", L"");
    if (command.empty() || AssociationOffered(command, shortProgram))
        return; // the type is not this program's
    if (RegReadString(store.root, extension, L"", L"") == FileType) {
        if (store.prefix.empty()) {
            RemoveAssociation(store);
        } else {
            RegDeleteValue(store.root, Narrow(extension), "");
            // The key goes only when nothing else is kept in it.
            if (!RegKeyHasContent(store.root, Narrow(extension)))
                RegDeleteKey(store.root, Narrow(store.prefix), ".inf");
        }
    }
    if (RegReadString(store.root, extension, L"", L"") != FileType)
        RegDeleteTreeW(store.root, type.c_str());
}

std::wstring MergedOpenCommand(const std::wstring& extension) {
    auto read = [](const std::wstring& key) {
        std::wstring own = RegReadString(HKEY_CURRENT_USER, L"Software\\Classes\\" + key, L"", L"");
        return own.empty() ? RegReadString(HKEY_CLASSES_ROOT, key, L"", L"") : own;
    };
    std::wstring type = read(extension);
    return read((type.empty() ? extension : type) + L"\\shell\\open\\command");
}

bool AssociationOffered(const std::wstring& openCommand, const std::wstring& shortProgram) {
    return UpperCase(GetShortPath(openCommand)) != UpperCase(shortProgram + L" %1");
}

std::wstring GivenFile(const std::vector<std::wstring>& parameters) {
    std::wstring joined;
    for (const std::wstring& parameter : parameters) {
        joined = joined.empty() ? parameter : joined + L" " + parameter;
        if (FileExists(joined))
            return joined;
    }
    return std::wstring();
}
