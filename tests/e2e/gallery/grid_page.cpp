// The string grid as the entry lists use it: number, name and content columns under a
// header row, with an empty new-entry row at the end that grows as it is typed into.
#include <cstdlib>
#include <string>

#include "gallery.h"
#include "string_grid.h"

namespace {

class GridPage : public GalleryPage {
public:
    void Build(Form& form, Panel& page) override {
        grid_.Create(page, {10, 10, 380, 200}, 3, 4);
        grid_.SetName("StringGrid1");
        const int widths[] = {20, 100, 234};
        const char* const header[] = {"", "氏名", "ﾌｧｲﾙ/ﾌｫﾙﾀﾞ/URL/E-Mail"};
        for (int col = 0; col < 3; ++col) {
            grid_.SetColWidth(col, widths[col]);
            grid_.SetCell(col, 0, header[col]);
        }
        SetRow(1, "ﾒﾓ帳", "notepad.exe");
        SetRow(2, "ソフト", "C:\\ソフト\\表示.exe");
        grid_.OnSetEditText = [this](int col, int row, const Text& value) {
            StringGrid1SetEditText(col, row, value);
        };

        label_.Create(page, "", {10, 220, 380, 16});
        label_.SetName("Label1");
        (void)form;
    }

private:
    void SetRow(int row, const Text& name, const Text& content) {
        grid_.SetCell(0, row, std::to_string(row));
        grid_.SetCell(1, row, name);
        grid_.SetCell(2, row, content);
    }

    // Text in the new-entry row makes it an entry, numbered after the one above it, and
    // adds a fresh empty row below.
    void StringGrid1SetEditText(int col, int row, const Text& value) {
        label_.SetText("列 " + std::to_string(col) + ", 行 " + std::to_string(row) + ": " + value);
        if (value.empty() || row != grid_.RowCount() - 1)
            return;
        grid_.SetRowCount(grid_.RowCount() + 1);
        int above = row - 1 < grid_.FixedRows() ? 0 : std::atoi(grid_.Cell(0, row - 1).c_str());
        grid_.SetCell(0, row, std::to_string(above + 1));
        for (int c = 0; c < grid_.ColCount(); ++c)
            grid_.SetCell(c, grid_.RowCount() - 1, "");
    }

    TStringGrid grid_;
    Label label_;
};

} // namespace

REGISTER_GALLERY_PAGE("グリッド", GridPage);
