// The about box ("ﾊﾞｰｼﾞｮﾝ情報"): product, version and copyright, with the icon alternating
// between the program's two icons. Shown modally over its owner and placed where it was
// last closed.
#pragma once

#include "controls.h"
#include "form.h"
#include "label_effects.h"
#include "presentation.h"
#include "timer.h"

class TAboutBox : public Form {
public:
    TAboutBox() = default;
    ~TAboutBox() override;

    // Creates the box owned by owner, filled and placed, still hidden.
    bool FormCreate(HWND owner);
    // Disables the owner and runs messages until the box has closed.
    void ShowModal();

    void Timer1Timer();
    void Label3DblClick();
    void Label4DblClick();
    void BitBtn1Click();
    bool FormKeyDown(WPARAM key);
    // Stores the position; the box may always close.
    bool FormCloseQuery();

    Image Image1;
    Image Image2;
    TBlinkLabel BlinkLabel1;
    TBlinkLabel BlinkLabel2;
    CopyrightLabel Label3;
    CopyrightLabel Label4;
    Bevel Bevel1;
    Button BitBtn1;
    Timer Timer1{500, false};

protected:
    void OnCloseRequest() override;

private:
    void EnableOwner();

    HWND owner_ = nullptr;
    bool ownerDisabled_ = false;
};
