#include "about_box.h"

#include <mmsystem.h>

#include "app.h"
#include "dialogs.h"
#include "help_items.h"
#include "help_topics.h"
#include "instance_rules.h"
#include "main_form.h"
#include "paths.h"
#include "publisher.h"
#include "settings.h"
#include "win/encoding.h"
#include "win/folders.h"
#include "win/system_libraries.h"

namespace {

constexpr int BoxWidth = 354;
constexpr int BoxHeight = 125;
constexpr Bounds OkButton = {262, 86, 80, 27};

// The sound library is no known system library: imported, a copy beside the program would
// be loaded with it, so it comes from the system folder when the first sound plays.
void PlaySoundFile(const std::wstring& file) {
    if (!Options().soundEnabled)
        return;
    static const auto play = SystemFunction<decltype(sndPlaySoundW)>(L"winmm.dll", "sndPlaySoundW");
    if (play)
        play(file.c_str(), SND_ASYNC);
}

} // namespace

TAboutBox::~TAboutBox() {
    Timer1.SetEnabled(false);
    EnableOwner();
}

bool TAboutBox::FormCreate(HWND owner) {
    owner_ = owner;
    if (!CreateForm({"TAboutBox", "ﾊﾞｰｼﾞｮﾝ情報", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, BoxWidth,
                     BoxHeight, owner, WS_EX_DLGMODALFRAME}))
        return false;
    keyPreview = true;
    onKeyDown = [this](WPARAM key) { return FormKeyDown(key); };

    Image1.Create(*this, {12, 12, 32, 32});
    Image1.SetName("Image1");
    Image1.SetIcon(Application::MainIcon());
    Image2.Create(*this, {12, 12, 32, 32});
    Image2.SetName("Image2");
    Image2.SetIcon(LoadIconW(Application::Instance(), L"SUBICON"));
    Image2.SetVisible(false);
    CreateProductLabels(*this, BlinkLabel1, BlinkLabel2, 56, 8, 290);
    Bevel1.Create(*this, {8, 68, 338, 2}, Bevel::HorizontalLine);

    BitBtn1.Create(*this, "OK(&Y)", OkButton);
    BitBtn1.SetName("BitBtn1");
    BitBtn1.onClick = [this] { BitBtn1Click(); };
    SetDefaultButton(BitBtn1);

    Label3.Create(*this, Publisher::CopyrightFirst, 0, 80);
    Label3.SetName("Label3");
    Label3.onDblClick = [this] { Label3DblClick(); };
    Label4.Create(*this, Publisher::CopyrightSecond, 0, 98);
    Label4.SetName("Label4");
    Label4.onDblClick = [this] { Label4DblClick(); };
    AlignCopyrightLabels(Label3, Label4, OkButton.left);

    FitTexts(); // placed at the size it shows with
    RECT window;
    GetWindowRect(handle(), &window);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    SetWindowPos(
        handle(), nullptr,
        PlacedCoordinate(GetSettingInt("Position", "AboutLeft", -1), GetSystemMetrics(SM_CXSCREEN), width),
        PlacedCoordinate(GetSettingInt("Position", "AboutTop", -1), GetSystemMetrics(SM_CYSCREEN), height), 0,
        0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    Timer1.SetHandler([this] { Timer1Timer(); });
    Timer1.SetEnabled(true);
    return true;
}

void TAboutBox::ShowModal() {
    if (!handle())
        return;
    if (owner_ && IsWindowEnabled(owner_)) {
        EnableWindow(owner_, FALSE);
        ownerDisabled_ = true;
    }
    Application::ModalScope modal(handle());
    Show();
    BitBtn1.Focus();
    Application::RunWhile([this] { return handle() != nullptr; });
    EnableOwner();
}

void TAboutBox::EnableOwner() {
    if (ownerDisabled_ && IsWindow(owner_))
        EnableWindow(owner_, TRUE);
    ownerDisabled_ = false;
}

void TAboutBox::Timer1Timer() {
    bool mainShown = Image1.visible();
    Image1.SetVisible(!mainShown);
    Image2.SetVisible(mainShown);
}

void TAboutBox::Label3DblClick() {
    PlaySoundFile(Options().soundTada);
}

void TAboutBox::Label4DblClick() {
    PlaySoundFile(Options().soundChord);
}

void TAboutBox::BitBtn1Click() {
    Close();
}

bool TAboutBox::FormKeyDown(WPARAM key) {
    if (key == VK_ESCAPE && Options().escCloses) {
        Close();
        return true;
    }
    if (key == VK_F1) {
        ShowHelp(handle(), ManualFile(), HelpContext, HelpAbout);
        return true;
    }
    return false;
}

bool TAboutBox::FormCloseQuery() {
    RECT window;
    GetWindowRect(handle(), &window);
    SetSettingInt("Position", "AboutTop", window.top);
    SetSettingInt("Position", "AboutLeft", window.left);
    return true;
}

void TAboutBox::OnCloseRequest() {
    if (!FormCloseQuery())
        return;
    Timer1.SetEnabled(false);
    // The owner first, so that activation returns to it rather than to another program.
    EnableOwner();
    DestroyWindow(handle());
}
