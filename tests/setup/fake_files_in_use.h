// A stand-in for programs holding the installer's files: each holds its files open without
// sharing, as Windows holds a running program's file, and lets go when asked to close
// unless it refuses. Moves at restart go to the real platform unless refused.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "files_in_use.h"
#include "win/handles.h"

class FakeFilesInUse : public FilesInUse {
public:
    // The program holds the file from now on; closes says whether it ends when asked.
    bool Hold(const std::wstring& program, const std::wstring& file, bool closes) {
        UniqueHandle handle(CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!handle)
            return false;
        programs_.push_back({program, file, closes, std::move(handle)});
        return true;
    }

    bool Register(const std::vector<std::wstring>& files) override {
        registered.insert(registered.end(), files.begin(), files.end());
        return true;
    }
    std::vector<std::wstring> Users() override {
        std::vector<std::wstring> names;
        for (const Program& program : programs_)
            if (program.handle && IsRegistered(program.file))
                names.push_back(program.name);
        return names;
    }
    bool AskToClose() override {
        ++closeAsked;
        bool all = true;
        for (Program& program : programs_) {
            if (!program.handle || !IsRegistered(program.file))
                continue;
            if (program.closes)
                program.handle.reset();
            else
                all = false;
        }
        return all;
    }
    bool Restart() override {
        ++restartAsked;
        return true;
    }
    bool MoveAtRestart(const std::wstring& file, const std::wstring& destination) override {
        moves.push_back({file, destination});
        return movesAllowed && SystemFilesInUse()->MoveAtRestart(file, destination);
    }

    std::vector<std::wstring> registered;
    int closeAsked = 0, restartAsked = 0;
    std::vector<std::pair<std::wstring, std::wstring>> moves;
    bool movesAllowed = true; // false: as without administrator rights

private:
    struct Program {
        std::wstring name, file;
        bool closes;
        UniqueHandle handle;
    };
    bool IsRegistered(const std::wstring& file) const {
        for (const std::wstring& name : registered)
            if (lstrcmpiW(name.c_str(), file.c_str()) == 0)
                return true;
        return false;
    }
    std::vector<Program> programs_;
};

// The system's list of moves at the next restart, put back as it was when this ends.
class PendingRenames {
public:
    using Move = std::pair<std::wstring, std::wstring>;

    PendingRenames() : saved_(Read()) {}
    ~PendingRenames() {
        HKEY key;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Key, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        if (saved_.empty())
            RegDeleteValueW(key, Value);
        else
            RegSetValueExW(key, Value, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(saved_.data()),
                           static_cast<DWORD>(saved_.size() * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    PendingRenames(const PendingRenames&) = delete;
    PendingRenames& operator=(const PendingRenames&) = delete;

    // The moves added since, as the system notes them: "\??\" before each path, an empty
    // destination for a removal, "!" before one that replaces an existing file.
    std::vector<Move> Added() const {
        std::vector<Move> now = Moves(Read());
        const size_t before = Moves(saved_).size();
        return now.size() > before ? std::vector<Move>(now.begin() + before, now.end()) : std::vector<Move>();
    }

private:
    static constexpr const wchar_t* Key = L"System\\CurrentControlSet\\Control\\Session Manager";
    static constexpr const wchar_t* Value = L"PendingFileRenameOperations";

    static std::wstring Read() {
        DWORD size = 0;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, Key, Value, RRF_RT_REG_MULTI_SZ, nullptr, nullptr, &size) !=
                ERROR_SUCCESS ||
            size == 0)
            return std::wstring();
        std::wstring data(size / sizeof(wchar_t), L'\0');
        if (RegGetValueW(HKEY_LOCAL_MACHINE, Key, Value, RRF_RT_REG_MULTI_SZ, nullptr, data.data(), &size) !=
            ERROR_SUCCESS)
            return std::wstring();
        data.resize(size / sizeof(wchar_t));
        return data;
    }
    // Pairs of strings; a source is never empty, so the first empty one ends the list.
    static std::vector<Move> Moves(const std::wstring& data) {
        std::vector<std::wstring> strings;
        for (size_t at = 0; at < data.size();) {
            size_t end = data.find(L'\0', at);
            if (end == std::wstring::npos)
                end = data.size();
            strings.push_back(data.substr(at, end - at));
            at = end + 1;
        }
        std::vector<Move> moves;
        for (size_t i = 0; i + 1 < strings.size() && !strings[i].empty(); i += 2)
            moves.emplace_back(strings[i], strings[i + 1]);
        return moves;
    }

    std::wstring saved_;
};
