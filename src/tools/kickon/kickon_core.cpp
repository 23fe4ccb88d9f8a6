#include "kickon_core.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/path_identity.h"
#include "win/registry.h"
#include "win/system_libraries.h"

namespace {

const wchar_t* const FileType = L"Lumera(Kickon)";

// Explorer keeps a type's verbs and icon until told that associations changed.
void AnnounceAssociationChange() {
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

// The program of a command line: the quoted text at its start, or up to the first blank;
// the rest (after blanks) in `rest`.
std::wstring CommandProgram(const std::wstring& command, std::wstring& rest) {
    size_t start = command.find_first_not_of(L' ');
    if (start == std::wstring::npos) {
        rest.clear();
        return std::wstring();
    }
    size_t end;
    std::wstring program;
    if (command[start] == L'"') {
        end = command.find(L'"', start + 1);
        program = command.substr(start + 1, end == std::wstring::npos ? std::wstring::npos : end - start - 1);
        end = end == std::wstring::npos ? command.size() : end + 1;
    } else {
        end = std::min(command.find(L' ', start), command.size());
        program = command.substr(start, end - start);
    }
    size_t restStart = command.find_first_not_of(L' ', end);
    size_t restEnd = command.find_last_not_of(L' ');
    rest =
        restStart == std::wstring::npos ? std::wstring() : command.substr(restStart, restEnd - restStart + 1);
    return program;
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
        // Both quoted, so a program or a file with blanks in its path arrives whole.
        {type + L"\\shell\\open\\command", OpenCommandOf(shortProgram)},
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
    AnnounceAssociationChange();
}

void RemoveAssociation(const ClassesStore& store) {
    RegWriteString(store.root, store.prefix + L".inf", L"", L"inffile");
    AnnounceAssociationChange();
}

void UndoAssociation(const ClassesStore& store, const std::wstring& shortProgram) {
    const std::wstring extension = store.prefix + L".inf";
    const std::wstring type = store.prefix + FileType;
    const std::wstring command = RegReadString(store.root, type + L"\\shell\\open\\command", L"", L"");
    if (!IsThisProgramsCommand(command, shortProgram))
        return; // the type is not this program's
    if (RegReadString(store.root, extension, L"", L"") == FileType) {
        if (store.prefix.empty()) {
            RegWriteString(store.root, extension, L"", L"inffile");
        } else {
            RegDeleteValue(store.root, Narrow(extension), "");
            // The key goes only when nothing else is kept in it.
            if (!RegKeyHasContent(store.root, Narrow(extension)))
                RegDeleteKey(store.root, Narrow(store.prefix), ".inf");
        }
    }
    if (RegReadString(store.root, extension, L"", L"") != FileType)
        RegDeleteTreeW(store.root, type.c_str());
    AnnounceAssociationChange();
}

std::wstring MergedOpenCommand(const std::wstring& extension) {
    auto read = [](const std::wstring& key) {
        std::wstring own = RegReadString(HKEY_CURRENT_USER, L"Software\\Classes\\" + key, L"", L"");
        return own.empty() ? RegReadString(HKEY_CLASSES_ROOT, key, L"", L"") : own;
    };
    std::wstring type = read(extension);
    return read((type.empty() ? extension : type) + L"\\shell\\open\\command");
}

std::wstring DoubleClickCommand(const std::wstring& extension) {
    // Where the classes root does not show the user's own value (Wine), the platform's
    // lookup cannot see what Kickon wrote; the merged reading stands in for it there.
    const std::wstring own = RegReadString(HKEY_CURRENT_USER, L"Software\\Classes\\" + extension, L"", L"");
    if (!own.empty() && RegReadString(HKEY_CLASSES_ROOT, extension, L"", L"") != own)
        return MergedOpenCommand(extension);
    // The platform's own answer counts the user's choice (kept apart since Windows 8, and
    // ahead of any type) and the type's default verb, as a double-click does.
    static auto* const query =
        SystemFunction<decltype(AssocQueryStringW)>(L"shlwapi.dll", "AssocQueryStringW");
    if (!query)
        return MergedOpenCommand(extension);
    wchar_t command[2048];
    DWORD size = ARRAYSIZE(command);
    if (FAILED(query(ASSOCF_NONE, ASSOCSTR_COMMAND, extension.c_str(), nullptr, command, &size)))
        return std::wstring(); // nothing opens it
    return command;
}

std::wstring OpenCommandOf(const std::wstring& shortProgram) {
    return L"\"" + shortProgram + L"\" \"%1\"";
}

bool IsThisProgramsCommand(const std::wstring& command, const std::wstring& shortProgram) {
    std::wstring rest;
    const std::wstring program = CommandProgram(command, rest);
    if (program.empty() || (rest != L"%1" && rest != L"\"%1\""))
        return false;
    return SamePath(GetShortPath(program), shortProgram);
}

bool AssociationOffered(const std::wstring& openCommand, const std::wstring& shortProgram) {
    return !IsThisProgramsCommand(openCommand, shortProgram);
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
