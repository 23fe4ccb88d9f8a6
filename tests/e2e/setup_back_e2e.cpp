// The installer's background as it reaches the screen: the gradient strips, the styled
// product line, the picture and the credit line, each where and as the data file says.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "back_layout.h"
#include "robot.h"
#include "test_support.h"
#include "win/encoding.h"

namespace {

const Text Disc = "C:\\setup-back-e2e";

// A 24-bit bottom-up BMP of one colour (0x00RRGGBB).
std::string SolidBmp(int width, int height, uint32_t rgb) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    std::string row(static_cast<size_t>(stride), '\0');
    for (int x = 0; x < width; ++x) {
        row[x * 3] = static_cast<char>(rgb & 0xFF);
        row[x * 3 + 1] = static_cast<char>((rgb >> 8) & 0xFF);
        row[x * 3 + 2] = static_cast<char>((rgb >> 16) & 0xFF);
    }
    for (int y = 0; y < height; ++y)
        bytes += row;
    return bytes;
}

uint32_t ScreenColor(unsigned long bgr) {
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

constexpr uint32_t Red = 0xFF0000, Magenta = 0xFF00FF, Yellow = 0xFFFF00, Cyan = 0x00FFFF;

// The whole screen, with the wizard's window left out (0xFF000000 there).
struct Screen {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    size_t Count(uint32_t color, const RECT& area) const {
        size_t count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += At(x, y) == color;
        return count;
    }
    RECT Bounds(uint32_t color) const {
        RECT bounds = {width, height, -1, -1};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (At(x, y) == color) {
                    bounds.left = std::min<LONG>(bounds.left, x);
                    bounds.top = std::min<LONG>(bounds.top, y);
                    bounds.right = std::max<LONG>(bounds.right, x + 1);
                    bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
                }
        return bounds;
    }
};

Screen CaptureWithout(HWND wizard) {
    Screen screen;
    screen.width = GetSystemMetrics(SM_CXSCREEN);
    screen.height = GetSystemMetrics(SM_CYSCREEN);
    screen.pixels = robot::ScreenPixels({0, 0, screen.width, screen.height});
    RECT hidden;
    GetWindowRect(wizard, &hidden);
    for (int y = std::max<LONG>(0, hidden.top); y < std::min<LONG>(screen.height, hidden.bottom); ++y)
        for (int x = std::max<LONG>(0, hidden.left); x < std::min<LONG>(screen.width, hidden.right); ++x)
            screen.pixels[static_cast<size_t>(y) * screen.width + x] = 0xFF000000;
    return screen;
}

class SetupBackground : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteTree(Disc);
        CreateDirectoryW(Widen(Disc).c_str(), nullptr);
        ASSERT_TRUE(
            CopyFileW(Widen(BuiltProgram("Setup.exe")).c_str(), Widen(Disc + "\\Setup.exe").c_str(), FALSE));
        ASSERT_TRUE(WriteBytes(Disc + "\\wall.bmp", SolidBmp(40, 30, Cyan)));
    }
    void TearDown() override {
        setup_.reset(); // closes the wizard before its folder goes
        DeleteTree(Disc);
    }

    // Starts the installer over the data file and waits for its wizard and painted background.
    Screen ShowBackground(const Text& information) {
        EXPECT_TRUE(WriteBytes(Disc + "\\Setup.dat", "[Infomation]\r\nAppName=Back E2E\r\n" + information));
        setup_ = std::make_unique<robot::Process>();
        EXPECT_TRUE(setup_->Start(Disc + "\\Setup.exe"));
        HWND wizard = robot::WaitForWindow("TSetupMainForm", "", setup_->id(), 20000);
        EXPECT_NE(wizard, nullptr);
        Screen screen;
        robot::WaitUntil([&] {
            screen = CaptureWithout(wizard);
            return screen.Count(Red, {0, 0, screen.width, screen.height}) > 0;
        });
        return screen;
    }

    std::unique_ptr<robot::Process> setup_;
};

TEST_F(SetupBackground, GradientLinesAndPictureAsTheDataFileSays) {
    Screen screen = ShowBackground("Gradation=3\r\nRed=0\r\nGreen=64\r\nWallBmp=wall.bmp\r\n"
                                   "AppFontColor=255\r\nVersion=Version 9.9\r\nVerFontColor=16711935\r\n");
    robot::SaveScreenshot("setup_background.bmp");

    // Left of every line, each strip shows its own colour: blue running down, green as given.
    auto strips = GradientStrips(screen.width, screen.height, 3, 0, 64, 0);
    ASSERT_EQ(strips.size(), 33u);
    for (const GradientStrip& strip : strips)
        EXPECT_EQ(screen.At(4, strip.top + strip.height / 2), ScreenColor(strip.color))
            << "strip at " << strip.top;
    EXPECT_EQ(screen.At(4, 0), 0x0040FFu);
    EXPECT_EQ(screen.At(4, screen.height - 1), 0x004000u);

    // The product line in its colour at the top left, its version in another.
    RECT top = {0, 0, screen.width, screen.height / 4};
    EXPECT_GT(screen.Count(Red, top), 100u);
    EXPECT_GT(screen.Count(Magenta, top), 20u);
    RECT product = screen.Bounds(Red);
    EXPECT_GE(product.left, 16);
    EXPECT_GE(product.top, 16);

    // The picture whole, at its left margin, below the version line.
    RECT picture = screen.Bounds(Cyan);
    EXPECT_EQ(picture.left, 32);
    EXPECT_EQ(picture.right - picture.left, 40);
    EXPECT_EQ(picture.bottom - picture.top, 30);
    EXPECT_GE(picture.top, screen.Bounds(Magenta).bottom);

    // The installer's own credit line, in yellow at the bottom left.
    RECT credit = screen.Bounds(Yellow);
    EXPECT_GT(screen.Count(Yellow, credit), 100u);
    EXPECT_LT(credit.left, screen.width / 4);
    EXPECT_GT(credit.top, screen.height * 3 / 4);
}

TEST_F(SetupBackground, PlainColourAndThanksHideTheGradientAndTheCredit) {
    // 0x804020 is BGR for the screen colour 0x204080.
    Screen screen =
        ShowBackground("Gradation=0\r\nWallColor=8405024\r\nAppFontColor=255\r\nMorivane=Thank you!\r\n");
    EXPECT_EQ(screen.At(4, 0), 0x204080u);
    EXPECT_EQ(screen.At(4, screen.height / 2), 0x204080u);
    EXPECT_EQ(screen.At(screen.width - 4, screen.height - 4), 0x204080u);
    EXPECT_EQ(screen.Count(Yellow, {0, 0, screen.width, screen.height}), 0u);
    EXPECT_EQ(screen.Count(Cyan, {0, 0, screen.width, screen.height}), 0u);
}

} // namespace
