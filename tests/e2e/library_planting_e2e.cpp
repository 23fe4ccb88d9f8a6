// Libraries planted beside a program stay unloaded: a copy of a library named like one
// loaded by name after the start (the help viewer, the Restart Manager, the sound library)
// lies beside the program, Wine is told to prefer such a copy over its own, and the copy
// leaves a mark when anything loads it. Libraries that Wine's own libraries import are
// resolved before a program's first line and are left out: no program can keep those.
#include <windows.h>

#include <gtest/gtest.h>

#include "robot.h"
#include "test_support.h"
#include "paths.h"
#include "win/encoding.h"

namespace {

const Text Work = "C:\\planting-e2e";
const std::vector<Text> LateLibraries = {"hhctrl.ocx", "rstrtmgr.dll", "winmm.dll"};

struct PlantingCase {
    const char* name;
    Text program; // copied into the folder with the planted libraries
    Text arguments;
    DWORD exitCode;
    const char* leftInFolder; // a file the run writes by a name relative to its start folder
};

Text LibraryNames() {
    Text names;
    for (const Text& library : LateLibraries)
        names += " " + library;
    return names;
}

// Wine prefers a native copy of these names for the program, searched where its loads
// search. Set in the registry: a child started from here does not take the overrides from
// this process's environment.
class PreferPlantedCopies {
public:
    explicit PreferPlantedCopies(const Text& programName)
        : key_(L"Software\\Wine\\AppDefaults\\" + Widen(programName)) {
        HKEY overrides = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, (key_ + L"\\DllOverrides").c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &overrides, nullptr) != ERROR_SUCCESS)
            return;
        const wchar_t order[] = L"native,builtin";
        for (Text library : LateLibraries) {
            // Wine names a ".dll" without its extension here.
            if (library.size() > 4 && library.compare(library.size() - 4, 4, ".dll") == 0)
                library.resize(library.size() - 4);
            RegSetValueExW(overrides, Widen(library).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(order),
                           sizeof order);
        }
        RegCloseKey(overrides);
    }
    ~PreferPlantedCopies() { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

private:
    std::wstring key_;
};

class LibraryPlanting : public ::testing::TestWithParam<PlantingCase> {
protected:
    void SetUp() override {
        uninstallerWasThere_ = robot::FileExists(WindowsFolder() + "\\Morivane.exe");
        DeleteTree(Work);
        CreateDirectoryW(Widen(Work).c_str(), nullptr);
    }
    void TearDown() override {
        DeleteTree(Work);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Morivane\\BrisaSetup\\Planting E2E");
        RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                       L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Planting E2E");
        // The installation leaves its uninstaller; the prefix is left as the test found it.
        if (!uninstallerWasThere_)
            DeleteFileW(Widen(WindowsFolder() + "\\Morivane.exe").c_str());
    }

    bool uninstallerWasThere_ = false;
};

TEST_P(LibraryPlanting, PlantedLibrariesAreNotLoaded) {
    const PlantingCase& c = GetParam();
    const Text folder = Work + "\\" + c.name;
    ASSERT_TRUE(CreateDirectoryW(Widen(folder).c_str(), nullptr));
    const Text program = folder + "\\" + ExtractFileName(c.program);
    ASSERT_TRUE(CopyFileW(Widen(c.program).c_str(), Widen(program).c_str(), FALSE));
    for (const Text& library : LateLibraries)
        ASSERT_TRUE(CopyFileW(Widen(robot::ProgramFolder() + "planted_library.dll").c_str(),
                              Widen(folder + "\\" + library).c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(folder + "\\tool.txt", "the tool"));
    ASSERT_TRUE(WriteBytes(folder + "\\Setup.dat",
                           "[Infomation]\r\nAppName=Planting E2E\r\n[Install]\r\nPath=" + folder +
                               "\\Installed\r\nFile1=<Setup>\\tool.txt\r\n"));

    PreferPlantedCopies preferred(ExtractFileName(program));
    robot::Process process;
    // Started in the folder too: the current folder is searched as little as the program's.
    ASSERT_TRUE(process.Start(program, c.arguments, folder));
    EXPECT_EQ(process.WaitForExit(60000), std::optional<DWORD>(c.exitCode));
    for (const Text& library : LateLibraries)
        EXPECT_FALSE(Exists(Widen(folder + "\\" + library + ".loaded"))) << library << " was loaded";
    // Leaving the start folder does not move what the command line names relative to it.
    if (c.leftInFolder)
        EXPECT_TRUE(Exists(Widen(folder + "\\" + c.leftInFolder)));
}

// The programs' start-up guard covers the loads the system makes by name for a program;
// the loader takes the system's copy whatever the search order; a silent installation
// loads none of the planted copies.
INSTANTIATE_TEST_SUITE_P(
    Planted, LibraryPlanting,
    ::testing::Values(PlantingCase{"start", robot::ProgramFolder() + "load_libraries.exe",
                                   "/start" + LibraryNames(), 0, nullptr},
                      PlantingCase{"helper", robot::ProgramFolder() + "load_libraries.exe",
                                   "/helper" + LibraryNames(), 0, nullptr},
                      PlantingCase{"setup", BuiltProgram("Setup.exe"), "/SILENT /LOG=install.log", 0,
                                   "install.log"}),
    [](const ::testing::TestParamInfo<PlantingCase>& info) { return std::string(info.param.name); });

} // namespace
