#include "back_form.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app.h"
#include "paths.h"
#include "setup_folder.h"
#include "test_support.h"
#include "win/encoding.h"
#include "win/files.h"

namespace {

// A screen-sized bitmap to have a window draw into, read back pixel by pixel.
class Canvas {
public:
    Canvas(int width, int height) {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        old_ = SelectObject(dc_, bitmap_);
        ReleaseDC(nullptr, screen);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    // Pixels of the given colour inside the rectangle.
    int Count(COLORREF color, int left, int top, int right, int bottom) const {
        int found = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                found += At(x, y) == color;
        return found;
    }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}
int ScreenHeight() {
    return GetSystemMetrics(SM_CYSCREEN);
}

void PaintFormBackground(TBackForm& form, Canvas& canvas) {
    SendMessageW(form.handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
}

void PaintLabel(TBlinkLabel& label, Canvas& canvas) {
    SendMessageW(label.handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
}

Bounds BoundsOf(const TBlinkLabel& label) {
    return label.bounds();
}

// A 24-bit bottom-up bitmap file of one colour.
Text BitmapFile(int width, int height, COLORREF color) {
    const int row = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = row * height;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    Text bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    Text pixels(static_cast<size_t>(info.biSizeImage), '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            pixels[y * row + x * 3] = static_cast<char>(GetBValue(color));
            pixels[y * row + x * 3 + 1] = static_cast<char>(GetGValue(color));
            pixels[y * row + x * 3 + 2] = static_cast<char>(GetRValue(color));
        }
    return bytes + pixels;
}

// Handles messages until the window is gone or the time is up.
bool PumpUntilClosed(TBackForm& form) {
    DWORD start = GetTickCount();
    MSG message;
    while (form.handle() && GetTickCount() - start < 5000) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(1);
    }
    return form.handle() == nullptr;
}

TEST(BackForm, DefaultGradientIsBlueFromTopToBottom) {
    SetupFolder setup("[Infomation]\r\nAppName=製品\r\n");
    TBackForm form;
    ASSERT_TRUE(form.FormCreate(SetupData(setup.folder)));
    Bounds b = form.bounds();
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.width, ScreenWidth());
    EXPECT_EQ(b.height, ScreenHeight());

    Canvas canvas(ScreenWidth(), ScreenHeight());
    PaintFormBackground(form, canvas);
    const int strip = ScreenHeight() / 33;
    const int right = ScreenWidth() - 1;
    EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(right, strip - 1), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(right / 2, strip), RGB(0, 0, 247));
    EXPECT_EQ(canvas.At(5, 2 * strip + 1), RGB(0, 0, 239));
    EXPECT_EQ(canvas.At(5, 31 * strip), RGB(0, 0, 7));
    // The last strip reaches the bottom, however the height divides.
    EXPECT_EQ(canvas.At(5, 32 * strip), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(right, ScreenHeight() - 1), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(5, 32 * strip - 1), RGB(0, 0, 7));
}

TEST(BackForm, PlainWallColourAndChosenGradient) {
    {
        SetupFolder setup("[Infomation]\r\nGradation=0\r\nWallColor=32896\r\n"); // 0x008080
        TBackForm form;
        ASSERT_TRUE(form.FormCreate(SetupData(setup.folder)));
        EXPECT_TRUE(form.Strips().empty());
        Canvas canvas(ScreenWidth(), ScreenHeight());
        PaintFormBackground(form, canvas);
        EXPECT_EQ(canvas.At(0, 0), RGB(0x80, 0x80, 0));
        EXPECT_EQ(canvas.At(ScreenWidth() - 1, ScreenHeight() - 1), RGB(0x80, 0x80, 0));
    }
    {
        // A system colour (0x80000000 + index) stands for the platform's colour of that index.
        SetupFolder setup("[Infomation]\r\nGradation=7\r\nWallColor=-2147483643\r\n"); // COLOR_WINDOW
        TBackForm form;
        ASSERT_TRUE(form.FormCreate(SetupData(setup.folder)));
        Canvas canvas(ScreenWidth(), ScreenHeight());
        PaintFormBackground(form, canvas);
        EXPECT_EQ(canvas.At(10, 10), GetSysColor(COLOR_WINDOW));
    }
    {
        SetupFolder setup("[Infomation]\r\nGradation=1\r\nGreen=16\r\nBlue=32\r\nRed=99\r\n");
        TBackForm form;
        ASSERT_TRUE(form.FormCreate(SetupData(setup.folder)));
        Canvas canvas(ScreenWidth(), ScreenHeight());
        PaintFormBackground(form, canvas);
        EXPECT_EQ(canvas.At(3, 0), RGB(255, 16, 32));
        EXPECT_EQ(canvas.At(3, ScreenHeight() - 1), RGB(0, 16, 32));
    }
}

TEST(BackForm, LinesCarryTheirTextsStylesAndPlaces) {
    SetupFolder setup("[Infomation]\r\nAppName=ルメラ & デッキ\r\nVersion=Ver 2.0\r\nCopyright=(C) 2026 "
                      "長い著作権表示の行です\r\n"
                      "Message=ようこそ\r\nAppFontColor=255\r\nAppShadowVisible=0\r\nVerShadowLeft=-3\r\n"
                      "MesFontSize=20\r\n");
    TBackForm form;
    ASSERT_TRUE(form.FormCreate(SetupData(setup.folder)));
    EXPECT_EQ(form.AppLabel.Caption(), "ルメラ & デッキ");
    EXPECT_EQ(form.VerLabel.Caption(), "Ver 2.0");
    EXPECT_EQ(form.CopyLabel.Caption(), "(C) 2026 長い著作権表示の行です");
    EXPECT_EQ(form.MesLabel.Caption(), "ようこそ");
    EXPECT_EQ(form.CreditLabel.Caption(), BackCreditLine());
    EXPECT_EQ(form.AppLabel.FontColor(), RGB(255, 0, 0));
    EXPECT_FALSE(form.AppLabel.Shadow().Visible());
    EXPECT_EQ(form.VerLabel.Shadow().OffsetLeft(), -3);
    EXPECT_EQ(form.AppLabel.BlinkRate(), 0);
    EXPECT_TRUE(form.AppLabel.Transparent());

    const BackLayout& layout = form.Layout();
    EXPECT_EQ(BoundsOf(form.AppLabel).left, 16);
    EXPECT_EQ(BoundsOf(form.AppLabel).top, 16);
    EXPECT_EQ(BoundsOf(form.VerLabel).left, layout.version.left);
    EXPECT_EQ(BoundsOf(form.VerLabel).top, layout.version.top);
    EXPECT_GT(layout.version.top, 16 + 4);
    // The copyright is the wider line: it decides the shared left edge.
    EXPECT_EQ(BoundsOf(form.CopyLabel).left, BoundsOf(form.MesLabel).left);
    EXPECT_LT(BoundsOf(form.CopyLabel).left, ScreenWidth() / 2 + 200);
    EXPECT_EQ(BoundsOf(form.MesLabel).top, layout.message.top);
    EXPECT_EQ(BoundsOf(form.CopyLabel).top, layout.copyright.top);
    EXPECT_LT(layout.copyright.top, layout.message.top);
    EXPECT_TRUE(form.CreditLabel.visible());
    EXPECT_EQ(BoundsOf(form.CreditLabel).top, layout.credit.top);
    EXPECT_GT(layout.credit.top, ScreenHeight() - 60);
    EXPECT_LE(layout.message.top + 16, ScreenHeight());

    // Drawn: the text in its colour over the gradient that shows through the label.
    Canvas canvas(ScreenWidth(), ScreenHeight());
    PaintLabel(form.AppLabel, canvas);
    Bounds app = BoundsOf(form.AppLabel);
    EXPECT_GT(canvas.Count(RGB(255, 0, 0), 0, 0, app.width, app.height), 20);
    EXPECT_EQ(canvas.At(app.width - 1, 0), RGB(0, 0, 255)); // the first strip, not a label colour
    PaintLabel(form.CreditLabel, canvas);
    Bounds credit = BoundsOf(form.CreditLabel);
    EXPECT_GT(canvas.Count(RGB(255, 255, 0), 0, 0, credit.width, credit.height), 20);
    EXPECT_GT(canvas.Count(RGB(128, 128, 128), 0, 0, credit.width, credit.height), 20); // its shadow
    // Steady and transparent like the other lines: the last strip shows beside its text.
    EXPECT_EQ(form.CreditLabel.BlinkRate(), 0);
    // (It reaches below the screen's edge, where there is nothing to show through.)
    EXPECT_EQ(canvas.At(credit.width - 1, ScreenHeight() - credit.top - 1), RGB(0, 0, 0));
}

TEST(BackForm, ThankYouHidesTheCreditLine) {
    SetupFolder setup("[Infomation]\r\nMessage=どうも\r\nMorivane=Thank you!\r\n");
    TBackForm form;
    ASSERT_TRUE(form.FormCreate(SetupData(setup.folder)));
    EXPECT_FALSE(form.CreditLabel.visible());
    Bounds mes = BoundsOf(form.MesLabel);
    EXPECT_EQ(form.Layout().message.top, mes.top);
    // At the bottom margin: the text's own height plus 16 from the screen's bottom.
    EXPECT_GT(mes.top, ScreenHeight() - 60);
}

TEST(BackForm, NoTextKeysLeavesOnlyTheCreditLine) {
    SetupFolder setup("[Infomation]\r\nGradation=3\r\n");
    TBackForm form;
    ASSERT_TRUE(form.FormCreate(SetupData(setup.folder)));
    for (TBlinkLabel* label : {&form.AppLabel, &form.VerLabel, &form.CopyLabel, &form.MesLabel})
        EXPECT_EQ(label->Caption(), "");
    EXPECT_TRUE(form.CreditLabel.visible());
    EXPECT_FALSE(form.PictureShown());
    // An empty line draws nothing but the gradient under it.
    Canvas label(ScreenWidth(), ScreenHeight()), background(ScreenWidth(), ScreenHeight());
    PaintLabel(form.AppLabel, label);
    PaintFormBackground(form, background);
    Bounds app = BoundsOf(form.AppLabel);
    ASSERT_GT(app.height, 30); // it crosses from the first strip into the next
    int differing = 0;
    for (int y = 0; y < app.height; ++y)
        for (int x = 0; x < app.width; ++x)
            differing += label.At(x, y) != background.At(app.left + x, app.top + y);
    EXPECT_EQ(differing, 0);
}

TEST(BackForm, PictureUnderTheVersionLineAndBrokenOnesIgnored) {
    SetupFolder setup("[Infomation]\r\nVersion=1.0\r\nWallBmp=wall.bmp\r\n");
    ASSERT_TRUE(WriteFileBytes(JoinPath(setup.folder, std::wstring(L"wall.bmp")),
                               BitmapFile(40, 30, RGB(0, 200, 0))));
    {
        TBackForm form;
        ASSERT_TRUE(form.FormCreate(SetupData(setup.folder)));
        ASSERT_TRUE(form.PictureShown());
        Bounds picture = form.PictureBounds();
        Bounds ver = BoundsOf(form.VerLabel);
        EXPECT_EQ(picture.left, 32);
        EXPECT_EQ(picture.top, form.Layout().pictureTop);
        EXPECT_GT(picture.top, ver.top);
        EXPECT_EQ(picture.width, 40);
        EXPECT_EQ(picture.height, 30);
        Canvas canvas(ScreenWidth(), ScreenHeight());
        PaintFormBackground(form, canvas);
        SendMessageW(form.handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
        EXPECT_EQ(canvas.Count(RGB(0, 200, 0), 0, 0, ScreenWidth(), ScreenHeight() / 2), 40 * 30);
        EXPECT_EQ(canvas.At(32, picture.top), RGB(0, 200, 0));
        EXPECT_EQ(canvas.At(32 + 39, picture.top + 29), RGB(0, 200, 0));
    }
    ASSERT_TRUE(WriteFileBytes(JoinPath(setup.folder, std::wstring(L"wall.bmp")), Text("not a picture")));
    TBackForm form;
    ASSERT_TRUE(form.FormCreate(SetupData(setup.folder)));
    EXPECT_FALSE(form.PictureShown());
}

TEST(BackForm, TimerRunsTheWizardOnceAndCloses) {
    SetupFolder setup("[Infomation]\r\nAppName=x\r\n");
    TBackForm form;
    int wizards = 0;
    bool reported = false;
    form.runWizard = [&](TBackForm& owner) {
        ++wizards;
        EXPECT_EQ(&owner, &form);
        EXPECT_TRUE(IsWindowVisible(owner.handle()));
    };
    form.reportMissingData = [&](TBackForm&, const std::wstring&) { reported = true; };
    ASSERT_TRUE(form.FormCreate(SetupData(setup.folder)));
    form.Show();
    EXPECT_TRUE(PumpUntilClosed(form));
    EXPECT_EQ(wizards, 1);
    EXPECT_FALSE(reported);
}

// The wizard pumps messages while it installs; a close reaching the background window then
// must not destroy the wizard it owns. Once the wizard is done, the window closes as usual.
TEST(BackForm, RefusesToCloseWhileTheWizardIsOpen) {
    SetupFolder setup("[Infomation]\r\nAppName=x\r\n");
    TBackForm form;
    bool survived = false;
    form.runWizard = [&](TBackForm& owner) {
        PostMessageW(owner.handle(), WM_CLOSE, 0, 0);
        Application::ProcessMessages();
        survived = IsWindow(owner.handle()) != FALSE;
    };
    ASSERT_TRUE(form.FormCreate(SetupData(setup.folder)));
    form.Show();
    EXPECT_TRUE(PumpUntilClosed(form));
    EXPECT_TRUE(survived);
}

TEST(BackForm, MissingDataStaysOffTheScreenReportsAndCloses) {
    SetupFolder setup("");
    TBackForm form;
    std::wstring said;
    bool wizard = false;
    form.runWizard = [&](TBackForm&) { wizard = true; };
    form.reportMissingData = [&](TBackForm& owner, const std::wstring& text) {
        said = text;
        EXPECT_LT(owner.bounds().top + owner.bounds().height, 0);
    };
    ASSERT_TRUE(form.FormCreate(SetupData(setup.folder)));
    EXPECT_FALSE(form.DataFound());
    EXPECT_EQ(form.bounds().top, -1000);
    EXPECT_EQ(form.AppLabel.handle(), nullptr); // nothing else was built
    EXPECT_TRUE(form.Strips().empty());
    ShowWindow(form.handle(), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(PumpUntilClosed(form));
    EXPECT_FALSE(wizard);
    const std::wstring path = JoinPath(setup.folder, std::wstring(L"Setup.dat"));
    EXPECT_EQ(said, MissingSetupDataMessage(path));
    EXPECT_EQ(said.substr(said.size() - path.size()), path); // the name beyond CP932 whole
    EXPECT_NE(said.find(L"\r\n"), std::wstring::npos);
}

} // namespace

namespace {

TEST(BackForm, RunsAsTheMainWindowUntilTheWizardCloses) {
    SetupFolder setup("[Infomation]\r\nAppName=x\r\n");
    int wizards = 0;
    RunBackForm(SetupData(setup.folder), [&](TBackForm& owner) {
        ++wizards;
        EXPECT_EQ(Application::MainWindow(), owner.handle());
        EXPECT_TRUE(IsWindowVisible(owner.handle()));
        // Minimising goes the platform's way and is remembered.
        SendMessageW(owner.handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_TRUE(owner.Minimized());
        EXPECT_TRUE(IsIconic(owner.handle()));
    });
    EXPECT_EQ(wizards, 1); // returned: the window closed after the wizard
    EXPECT_EQ(Application::MainWindow(), nullptr);
}

} // namespace
