// The tray program's icons carry an image for every scale of the notification area
// (100 % to 200 %: 16 to 32 pixels) and of the larger views, so none is stretched.
#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(TrayIconImages, BothIconsHaveAnImageOfEachSize) {
    for (const wchar_t* name : {L"MAINICON", L"SUBICON"}) {
        HRSRC group = FindResourceW(nullptr, name, RT_GROUP_ICON);
        ASSERT_TRUE(group);
        auto* directory = static_cast<BYTE*>(LockResource(LoadResource(nullptr, group)));
        ASSERT_TRUE(directory);
        for (int size : {16, 20, 24, 32, 40, 48, 64}) {
            int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
            HRSRC image = FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_ICON);
            ASSERT_TRUE(image) << size;
            auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, image)));
            ASSERT_TRUE(header) << size;
            EXPECT_EQ(header->biWidth, size);
            EXPECT_EQ(header->biHeight, 2 * size); // the picture and its mask
            EXPECT_EQ(header->biBitCount, 32);     // with its alpha channel
        }
    }
}

} // namespace
