// The robot's own footing: the desktop the e2e tests share, processes that never outlive
// their owner, screenshots that are real BMP files of the screen, and the tray callback.
#include <gtest/gtest.h>

#include <cstring>

#include "robot.h"
#include "win/encoding.h"

namespace {

std::uint32_t Le32(const std::string& bytes, size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

TEST(Robot, TestsShareTheVirtualDesktopOfTheirPrefix) {
    EXPECT_EQ(robot::ReadRegistryString(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", "Default"),
              std::optional<Text>("1024x768"));
    EXPECT_EQ(robot::ReadRegistryString(HKEY_CURRENT_USER, "Software\\Wine\\Explorer", "Desktop"),
              std::optional<Text>("Default"));
    EXPECT_EQ(robot::ReadRegistryString(HKEY_CURRENT_USER, "Software\\Wine\\Explorer", "NoSuchValue"),
              std::nullopt);
    EXPECT_EQ(robot::ReadRegistryDword(HKEY_CURRENT_USER, "Software\\Wine\\Explorer", "Desktop"),
              std::nullopt);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
}

TEST(Robot, ProcessNeverOutlivesItsOwner) {
    HANDLE watch = nullptr;
    {
        robot::Process gallery;
        ASSERT_TRUE(gallery.Start(robot::ProgramFolder() + "gallery.exe"));
        watch = OpenProcess(SYNCHRONIZE, FALSE, gallery.id());
        ASSERT_NE(watch, nullptr);
        ASSERT_NE(robot::WaitForWindow("TGalleryForm", "", gallery.id(), 30000), nullptr);
        EXPECT_EQ(gallery.WaitForExit(100), std::nullopt);
        EXPECT_TRUE(gallery.running());
    }
    EXPECT_EQ(WaitForSingleObject(watch, 0), WAIT_OBJECT_0);
    CloseHandle(watch);

    robot::Process missing;
    EXPECT_FALSE(missing.Start(robot::ProgramFolder() + "no-such-program.exe"));
    EXPECT_FALSE(missing.running());
    EXPECT_EQ(missing.WaitForExit(100), std::nullopt);
}

TEST(Robot, ScreenshotIsA24BitBmpOfTheWholeScreen) {
    robot::Process gallery;
    ASSERT_TRUE(gallery.Start(robot::ProgramFolder() + "gallery.exe"));
    HWND form = robot::WaitForWindow("TGalleryForm", "", gallery.id(), 30000);
    ASSERT_NE(form, nullptr);
    RECT rect = robot::ScreenRectOf(form);
    POINT inside = {rect.left + 20, rect.bottom - 20}, outside = {2, 2};
    HDC screen = GetDC(nullptr);
    ASSERT_TRUE(
        robot::WaitUntil([&] { return GetPixel(screen, inside.x, inside.y) != GetPixel(screen, 2, 2); }));

    Text path = robot::SaveScreenshot("robot-selftest.bmp");
    COLORREF insideColour = GetPixel(screen, inside.x, inside.y), outsideColour = GetPixel(screen, 2, 2);
    ReleaseDC(nullptr, screen);
    ASSERT_FALSE(path.empty());
    std::optional<std::string> bytes = robot::ReadFileBytes(path);
    DeleteFileW(Widen(path).c_str());
    ASSERT_TRUE(bytes);
    ASSERT_GT(bytes->size(), 54u);
    EXPECT_EQ(bytes->substr(0, 2), "BM");
    const std::uint32_t stride = (1024 * 3 + 3) & ~3u;
    EXPECT_EQ(Le32(*bytes, 2), bytes->size());
    EXPECT_EQ(Le32(*bytes, 10), 54u);
    EXPECT_EQ(Le32(*bytes, 18), 1024u);
    EXPECT_EQ(Le32(*bytes, 22), 768u); // positive: rows stored bottom-up
    EXPECT_EQ(static_cast<unsigned char>((*bytes)[28]), 24);
    ASSERT_EQ(bytes->size(), 54u + stride * 768u);
    // Rows bottom-up, pixels as blue, green, red.
    auto pixel = [&](POINT at) {
        size_t offset = 54 + (767 - static_cast<size_t>(at.y)) * stride + 3 * static_cast<size_t>(at.x);
        auto byte = [&](size_t i) { return static_cast<unsigned char>((*bytes)[offset + i]); };
        return RGB(byte(2), byte(1), byte(0));
    };
    EXPECT_EQ(pixel(inside), insideColour);
    EXPECT_EQ(pixel(outside), outsideColour);
}

TEST(Robot, TrayCallbackPopsUpTheTrayMenu) {
    robot::Process gallery;
    ASSERT_TRUE(gallery.Start(robot::ProgramFolder() + "gallery.exe"));
    ASSERT_NE(robot::WaitForWindow("TGalleryForm", "", gallery.id(), 30000), nullptr);
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::FindTrayCallbackWindow(gallery.id()) != nullptr; }));
    EXPECT_EQ(robot::FindTrayCallbackWindow(GetCurrentProcessId()), nullptr);

    robot::MenuReader menus(gallery.id());
    ASSERT_TRUE(robot::ParkMouse());
    ASSERT_TRUE(robot::SendTrayCallback(gallery.id(), 1, WM_RBUTTONDOWN));
    std::vector<robot::PopupMenu> open = menus.WaitForMenus(1);
    ASSERT_EQ(open.size(), 1u);
    EXPECT_FALSE(open[0].Captions().empty());
    EXPECT_TRUE(menus.CloseAll());
    EXPECT_EQ(robot::OpenMenuCount(gallery.id()), 0);
}

} // namespace
