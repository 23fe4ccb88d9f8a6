// What the installer's wizard and the uninstaller's window share: the picture on the left,
// the divider and the three buttons below it, the progress page, Esc by the product's
// "EscToClose", and the pump that keeps the window answering while a run works inside one
// of its handlers. Both windows register as "TSetupMainForm", the name they are found by.
#pragma once

#include <array>
#include <string>

#include "app.h"
#include "controls.h"
#include "form.h"
#include "gdi.h"
#include "install_engine.h"
#include "progress_page.h"

class SetupFrame : public Form {
public:
    // recordName: the product whose record holds "EscToClose".
    SetupFrame(InstallLog& log, std::wstring recordName);

    bool FormKeyDown(WPARAM key);
    // Whether the window may close now; the privileges the frame took go when it may.
    bool FormCloseQuery();

    Image PictureImage;
    Bevel Divider;
    Button BitBtn1, BitBtn2, BitBtn3; // Back, Next (or OK), Cancel
    ProgressPage Progress;

protected:
    static constexpr int FormWidth = 471, FormHeight = 310;
    static constexpr int PictureWidth = 145, DividerTop = 265;
    static inline const Bounds PageArea = {150, 4, 315, 258}; // right of the picture
    static inline const Text NextText = "次へ(&N) >";
    static inline const Text CancelText = "ｷｬﾝｾﾙ";

    bool CreateFrame(HWND owner, const Text& caption);
    // The picture the file holds, or the window's own when there is none or it does not load.
    void LoadPicture(const std::wstring& bitmapFile);
    void CreateProgressPage(const std::wstring& text, const std::array<const char*, 4>& barNames,
                            const Text& completion);
    HFONT BoldFont() const { return AsFont(boldFont_); }
    // A failed step's question (stop icon, No the default); the answer goes to the log.
    bool AskToContinue(const std::wstring& question);
    virtual bool CloseAllowed() = 0;
    // A run's notice that files wait for the restart, kept until the window has shown that
    // the run ended: said in the middle, it would read as if the run had stopped there.
    void KeepRestartNotice(const std::wstring& notice) { restartNotice_ = notice; }
    void ShowKeptRestartNotice();
    void OnCloseRequest() override;

    InstallLog& log_;
    // The runs work inside a handler; the window keeps painting and answering through this
    // pump. Its handlers refuse a second run and closing while one works.
    Application::PacedMessagePump pump_{20};

private:
    std::wstring recordName_;
    std::wstring restartNotice_;
    UniqueGdiObject picture_;
    UniqueGdiObject boldFont_;
};
