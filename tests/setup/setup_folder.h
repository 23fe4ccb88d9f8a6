// A setup folder whose name CP932 cannot hold, as a disc or download folder of a user abroad.
#pragma once

#include <gtest/gtest.h>

#include "paths.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/files.h"

// The folder holds the given "Setup.dat" (CP932 bytes), or none when the content is empty.
struct SetupFolder {
    explicit SetupFolder(const Text& content) : scratch("setup-folder") {
        folder = JoinPath(Widen(scratch.path()), std::wstring(L"Jos\u00e9 \uae40\ubbfc\uc900"));
        EXPECT_TRUE(ForceDirectories(folder));
        if (!content.empty()) {
            EXPECT_TRUE(WriteFileBytes(JoinPath(folder, std::wstring(L"Setup.dat")), content));
        }
    }
    ScratchFolder scratch;
    std::wstring folder;
};
