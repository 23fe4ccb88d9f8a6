// The folder chooser: "参照(&B)" browses from the folder in the edit box and puts the
// chosen folder back; the status line shows the selected path.
#include "browse_dialog.h"
#include "gallery.h"
#include "win/encoding.h"

namespace {

class BrowsePage : public GalleryPage {
public:
    void Build(Form&, Panel& page) override {
        folder_.Create(page, "C:\\windows", {10, 10, 300, 22});
        folder_.SetName("FolderEdit");
        browse_.Create(page, "参照(&B)", {320, 8, 90, 25});
        browse_.SetName("BrowseButton");
        result_.Create(page, "", {10, 44, 400, 20});
        result_.SetName("BrowseResult");
        browse_.onClick = [this] {
            TBrowseDialog dialog;
            dialog.Caption = "基本ﾌｫﾙﾀﾞ [壁紙]";
            dialog.Directory = folder_.wideText();
            dialog.Options = biReturnOnlyFSDirs | biStatusText;
            dialog.OnSelectionChanged = [](TBrowseDialog&, HWND, const std::wstring& path,
                                           std::wstring& showText, TOKButtonState& ok) {
                showText = path;
                ok = path.empty() ? okDisable : okEnable;
            };
            if (dialog.Execute()) {
                folder_.SetText(dialog.Directory);
                result_.SetText(Widen("選択: ") + dialog.DisplayName);
            } else {
                result_.SetText("ｷｬﾝｾﾙ");
            }
        };
    }

private:
    Edit folder_;
    Button browse_;
    Label result_;
};

} // namespace

REGISTER_GALLERY_PAGE("フォルダ", BrowsePage);
