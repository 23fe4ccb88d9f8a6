// A stand-in for programs holding the installer's files: each holds its files open without
// sharing, as Windows holds a running program's file, and lets go when asked to close
// unless it refuses. Moves at restart go to the real platform unless refused.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "files_in_use.h"
#include "test_support.h"
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
