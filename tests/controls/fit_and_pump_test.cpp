// The paced message pump that keeps windows answering during long work on their thread,
// and buttons' glyphs.
#include <gtest/gtest.h>

#include "app.h"
#include "controls.h"
#include "form.h"
#include "gdi.h"

namespace {

class FitForm : public Form {
public:
    FitForm() { CreateForm({"TFitTestForm", "fit test", WS_OVERLAPPEDWINDOW, 300, 200}); }
};

TEST(PacedMessagePump, FetchesAtMostOncePerInterval) {
    Application::PacedMessagePump pump(200);
    EXPECT_TRUE(pump.Due()) << "the first call";
    EXPECT_FALSE(pump.Due());
    Sleep(250);
    EXPECT_TRUE(pump.Due());
    EXPECT_FALSE(pump.Due());
}

TEST(PacedMessagePump, DispatchesWaitingMessagesWhenDue) {
    FitForm form;
    PostMessageW(form.handle(), WM_NULL, 0, 0);
    Application::PacedMessagePump pump(10000);
    MSG message;
    pump.Pump();
    EXPECT_FALSE(PeekMessageW(&message, form.handle(), 0, 0, PM_NOREMOVE)) << "handled on the first call";
    PostMessageW(form.handle(), WM_NULL, 0, 0);
    pump.Pump();
    EXPECT_TRUE(PeekMessageW(&message, form.handle(), 0, 0, PM_NOREMOVE)) << "not due yet: the message waits";
    Application::ProcessMessages();
}

} // namespace

namespace {

// Buttons with pictures come with version 6 of the common controls, which the programs
// ask for in their manifests; this test program has none, so it asks for them here.
class CommonControls6 {
public:
    CommonControls6() {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        manifest_ = std::wstring(folder) + L"fit_and_pump_test.manifest";
        const char text[] =
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
            "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"><dependency>"
            "<dependentAssembly><assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" "
            "version=\"6.0.0.0\" processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" "
            "language=\"*\"/></dependentAssembly></dependency></assembly>";
        HANDLE file = CreateFileW(manifest_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, text, sizeof text - 1, &written, nullptr);
        CloseHandle(file);
        ACTCTXW context = {};
        context.cbSize = sizeof context;
        context.lpSource = manifest_.c_str();
        context_ = CreateActCtxW(&context);
        if (context_ != INVALID_HANDLE_VALUE)
            ActivateActCtx(context_, &cookie_);
    }
    ~CommonControls6() {
        if (context_ != INVALID_HANDLE_VALUE) {
            DeactivateActCtx(0, cookie_);
            ReleaseActCtx(context_);
        }
        DeleteFileW(manifest_.c_str());
    }

private:
    std::wstring manifest_;
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

TEST(ButtonGlyph, TheSecondImageServesTheDisabledStateOnly) {
    CommonControls6 version6;
    FitForm form;
    Button button;
    ASSERT_TRUE(button.Create(form, "OK", {0, 0, 81, 25}));
    HDC screen = GetDC(nullptr);
    UniqueGdiObject glyph(CreateCompatibleBitmap(screen, 8, 4));
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    {
        SelectObjectScope selected(dc, glyph.get());
        RECT left = {0, 0, 4, 4}, right = {4, 0, 8, 4};
        FillRect(dc, &left, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        FillRect(dc, &right, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SetPixel(dc, 0, 3, RGB(255, 0, 255)); // the transparent colour
        SetPixel(dc, 4, 3, RGB(255, 0, 255));
    }
    DeleteDC(dc);
    EXPECT_FALSE(button.SetGlyph(static_cast<HBITMAP>(glyph.get()), 0));
    EXPECT_FALSE(button.SetGlyph(nullptr, 2));
    ASSERT_TRUE(button.SetGlyph(static_cast<HBITMAP>(glyph.get()), 2));
    BUTTON_IMAGELIST images = {};
    ASSERT_TRUE(SendMessageW(button.handle(), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images)));
    ASSERT_NE(images.himl, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images.himl), 6);
    int width = 0, height = 0;
    ImageList_GetIconSize(images.himl, &width, &height);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 4);
    // Draw each state's image on grey and read its middle pixel.
    HDC screenDc = GetDC(nullptr);
    HDC canvas = CreateCompatibleDC(screenDc);
    UniqueGdiObject target(CreateCompatibleBitmap(screenDc, 4, 4));
    ReleaseDC(nullptr, screenDc);
    std::vector<COLORREF> middles;
    {
        SelectObjectScope selected(canvas, target.get());
        for (int state = 0; state < 6; ++state) {
            RECT all = {0, 0, 4, 4};
            FillRect(canvas, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
            ImageList_Draw(images.himl, state, canvas, 0, 0, ILD_NORMAL);
            middles.push_back(GetPixel(canvas, 2, 1));
            EXPECT_EQ(GetPixel(canvas, 0, 3), RGB(128, 128, 128)) << "transparent corner, state " << state;
        }
    }
    DeleteDC(canvas);
    for (int state : {0, 1, 2, 4, 5})
        EXPECT_EQ(middles[state], RGB(255, 255, 255)) << state;
    EXPECT_EQ(middles[3], RGB(0, 0, 0)) << "disabled";
}

} // namespace
