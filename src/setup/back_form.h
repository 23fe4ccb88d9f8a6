// The installer's background window: it covers the screen with the colour or gradient of
// "Setup.dat", the product's picture and four styled text lines with the installer's
// credit line, and runs the wizard in front of it. Without a data file it stays off the
// screen, says so, and closes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "back_layout.h"
#include "form.h"
#include "gdi.h"
#include "label_effects.h"
#include "setup_data.h"
#include "timer.h"

// The credit line under every background: the installer's name and its maker's notice.
Text BackCreditLine();

// "ｾｯﾄｱｯﾌﾟﾃﾞｰﾀが見つかりません。", a line break and the data file's path.
std::wstring MissingSetupDataMessage(const std::wstring& dataFile);

class TBackForm : public Form {
public:
    TBackForm();
    ~TBackForm() override;

    // Builds the window from the data file, covering the screen (not shown yet). Without
    // the file the window is placed off the screen and nothing else is built.
    bool FormCreate(const SetupData& data);
    // The first tick after the window shows: runs the wizard (or reports the missing data
    // file), then closes the window.
    void Timer1Timer();

    // Creates the wizard owned by the background window and shows it modally.
    std::function<void(TBackForm& owner)> runWizard;
    // Shows the missing-data message owned by the window; a stop box unless replaced.
    std::function<void(TBackForm& owner, const std::wstring& text)> reportMissingData;

    const std::wstring& DataFile() const { return dataFile_; }
    bool DataFound() const { return dataFound_; }
    // The strips painted over the window colour, from the top; none for a plain colour.
    const std::vector<GradientStrip>& Strips() const { return strips_; }
    COLORREF WallColor() const { return wallColor_; }
    const BackLayout& Layout() const { return layout_; }
    // The picture of "WallBmp", in 96-DPI pixels; empty when none was loaded.
    bool PictureShown() const { return static_cast<bool>(picture_); }
    Bounds PictureBounds() const { return pictureBounds_; }
    // True once the window was minimised by a system command.
    bool Minimized() const { return minimized_; }

    TBlinkLabel AppLabel;
    TBlinkLabel VerLabel;
    TBlinkLabel CopyLabel;
    TBlinkLabel MesLabel;
    TBlinkLabel CreditLabel;
    Timer Timer1;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Refused while the wizard is open: destroying this window would destroy the wizard it
    // owns, perhaps in the middle of the installation.
    void OnCloseRequest() override;

private:
    void CreateTextLine(TBlinkLabel& label, const Text& name, const StyledLine& line);
    void PaintBackground(HDC dc);
    void PaintPicture(HDC dc);

    std::wstring dataFile_;
    bool dataFound_ = false;
    COLORREF wallColor_ = RGB(0, 0, 0);
    std::vector<GradientStrip> strips_;
    BackLayout layout_;
    UniqueGdiObject picture_;
    Bounds pictureBounds_;
    bool minimized_ = false;
    bool wizardOpen_ = false;
};

// Runs the background window over the data file until it closes: the program's whole
// life in install mode. The window is the application's main window meanwhile.
void RunBackForm(const SetupData& data, std::function<void(TBackForm& owner)> runWizard);
