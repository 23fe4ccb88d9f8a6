#include "files_in_use.h"

#include <windows.h>
#include <restartmanager.h>

#include "win/system_libraries.h"

namespace {

const wchar_t* const Library = L"rstrtmgr.dll";

template <typename Function> Function* RmFunction(const char* name) {
    return SystemFunction<Function>(Library, name);
}

class RestartManager : public FilesInUse {
public:
    ~RestartManager() override {
        if (started_)
            end_(session_);
    }

    bool Register(const std::vector<std::wstring>& files) override {
        if (!Start())
            return false;
        std::vector<LPCWSTR> names;
        for (const std::wstring& file : files)
            names.push_back(file.c_str());
        return names.empty() || register_(session_, static_cast<UINT>(names.size()), names.data(), 0, nullptr,
                                          0, nullptr) == ERROR_SUCCESS;
    }

    std::vector<std::wstring> Users() override {
        std::vector<std::wstring> names;
        if (!started_)
            return names;
        std::vector<RM_PROCESS_INFO> found;
        DWORD status = ERROR_MORE_DATA;
        // The list can grow between the two calls.
        for (int attempt = 0; attempt < 3 && status == ERROR_MORE_DATA; ++attempt) {
            UINT needed = 0, count = static_cast<UINT>(found.size());
            DWORD reasons = 0;
            status = getList_(session_, &needed, &count, found.empty() ? nullptr : found.data(), &reasons);
            found.resize(status == ERROR_MORE_DATA ? needed : count);
        }
        if (status != ERROR_SUCCESS)
            return names;
        for (const RM_PROCESS_INFO& program : found)
            names.emplace_back(program.strAppName);
        return names;
    }

    bool AskToClose() override { return started_ && shutdown_(session_, 0, nullptr) == ERROR_SUCCESS; }

    bool Restart() override { return started_ && restart_(session_, 0, nullptr) == ERROR_SUCCESS; }

    bool MoveAtRestart(const std::wstring& file, const std::wstring& destination) override {
        if (destination.empty())
            return MoveFileExW(file.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
        return MoveFileExW(file.c_str(), destination.c_str(),
                           MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING) != 0;
    }

private:
    bool Start() {
        if (started_)
            return true;
        auto start = RmFunction<decltype(RmStartSession)>("RmStartSession");
        end_ = RmFunction<decltype(RmEndSession)>("RmEndSession");
        register_ = RmFunction<decltype(RmRegisterResources)>("RmRegisterResources");
        getList_ = RmFunction<decltype(RmGetList)>("RmGetList");
        shutdown_ = RmFunction<decltype(RmShutdown)>("RmShutdown");
        restart_ = RmFunction<decltype(RmRestart)>("RmRestart");
        if (!start || !end_ || !register_ || !getList_ || !shutdown_ || !restart_)
            return false;
        WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
        started_ = start(&session_, 0, key) == ERROR_SUCCESS;
        return started_;
    }

    bool started_ = false;
    DWORD session_ = 0;
    decltype(RmEndSession)* end_ = nullptr;
    decltype(RmRegisterResources)* register_ = nullptr;
    decltype(RmGetList)* getList_ = nullptr;
    decltype(RmShutdown)* shutdown_ = nullptr;
    decltype(RmRestart)* restart_ = nullptr;
};

} // namespace

std::unique_ptr<FilesInUse> SystemFilesInUse() {
    return std::make_unique<RestartManager>();
}
