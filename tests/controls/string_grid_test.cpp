#include "string_grid.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app.h"
#include "controls.h"
#include "form.h"
#include "win/encoding.h"

namespace {

using EditEvent = std::tuple<int, int, Text>;

// A form holding the grid between an OK (default) and a Cancel button, so keys travel
// through the form's keyboard handling as in a program.
class StringGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application::Initialize(GetModuleHandleW(nullptr), "string_grid_test");
        ASSERT_TRUE(form_.CreateForm({"TGridTestForm", "グリッド", WS_OVERLAPPEDWINDOW, 420, 300}));
        ASSERT_TRUE(grid_.Create(form_, {8, 8, 400, 220}, 3, 3));
        grid_.SetColWidth(0, 20);
        grid_.SetColWidth(1, 100);
        grid_.SetColWidth(2, 234);
        grid_.OnSetEditText = [this](int col, int row, const Text& value) {
            edits_.emplace_back(col, row, value);
        };
        ok_.Create(form_, "OK(&Y)", {8, 240, 90, 25});
        ok_.onClick = [this] { ++okClicks_; };
        cancel_.Create(form_, "ｷｬﾝｾﾙ(&N)", {108, 240, 90, 25});
        cancel_.onClick = [this] { ++cancelClicks_; };
        form_.SetDefaultButton(ok_);
        form_.SetCancelButton(cancel_);
        form_.Show();
        grid_.Focus();
        Pump();
    }

    static void Pump() { Application::ProcessMessages(); }

    static void Key(WPARAM key) {
        HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
        Pump();
    }

    static void Type(const std::wstring& text) {
        for (wchar_t c : text) {
            PostMessageW(GetFocus(), WM_CHAR, c, 1);
            Pump();
        }
    }

    // Device pixels of a 96-DPI position in the grid's client area.
    LPARAM At(int x96, int y96) const {
        DpiScale scale = grid_.dpi();
        return MAKELPARAM(scale.Scale(x96), scale.Scale(y96));
    }

    void Click(int x96, int y96, bool twice = false) {
        SendMessageW(grid_.handle(), twice ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, At(x96, y96));
        SendMessageW(grid_.handle(), WM_LBUTTONUP, 0, At(x96, y96));
        Pump();
    }

    Text FocusedText() const {
        wchar_t buffer[256] = {};
        GetWindowTextW(GetFocus(), buffer, 256);
        return Narrow(buffer);
    }

    Form form_;
    TStringGrid grid_;
    Button ok_, cancel_;
    std::vector<EditEvent> edits_;
    int okClicks_ = 0, cancelClicks_ = 0;
};

TEST_F(StringGridTest, CellsSizesAndRowsReadBack) {
    grid_.SetCell(1, 1, "ﾒﾓ帳");
    grid_.SetCell(2, 1, "C:\\ソフト\\表示.exe");
    EXPECT_EQ(grid_.Cell(1, 1), "ﾒﾓ帳");
    EXPECT_EQ(grid_.Cell(2, 1), "C:\\ソフト\\表示.exe");
    EXPECT_EQ(grid_.Cell(5, 1), "");
    EXPECT_TRUE(edits_.empty()); // only the user's edits are reported

    EXPECT_EQ(grid_.ColWidth(2), 234);
    grid_.SetRowCount(6);
    EXPECT_EQ(grid_.RowCount(), 6);
    EXPECT_EQ(grid_.Cell(2, 5), "");
    EXPECT_EQ(grid_.Cell(2, 1), "C:\\ソフト\\表示.exe");

    // The widths are where the mouse finds the columns: x = 20 + 1 + 100 + 1 + 200 is column 2.
    Click(322, 30);
    EXPECT_EQ(grid_.Col(), 2);
    EXPECT_EQ(grid_.Row(), 1);
    Click(10, 30); // the number column is never current
    EXPECT_EQ(grid_.Col(), 2);
}

TEST_F(StringGridTest, TypingOpensTheEditorAndEnterCommits) {
    Type(L"ab");
    ASSERT_TRUE(grid_.EditorMode());
    Key(VK_RETURN);
    EXPECT_FALSE(grid_.EditorMode());
    EXPECT_EQ(grid_.Cell(1, 1), "ab");
    ASSERT_EQ(edits_.size(), 1u);
    EXPECT_EQ(edits_[0], EditEvent(1, 1, "ab"));
    EXPECT_EQ(GetFocus(), grid_.handle());
    EXPECT_EQ(okClicks_, 0); // Enter belonged to the editor, not to the default button

    // F2 opens the editor on the text; an unchanged commit reports nothing.
    Key(VK_F2);
    ASSERT_TRUE(grid_.EditorMode());
    EXPECT_EQ(FocusedText(), "ab");
    Key(VK_RETURN);
    EXPECT_EQ(edits_.size(), 1u);

    // Moving the focus away commits as well.
    Type(L"c");
    ok_.Focus();
    Pump();
    EXPECT_FALSE(grid_.EditorMode());
    EXPECT_EQ(grid_.Cell(1, 1), "c");
    EXPECT_EQ(edits_.size(), 2u);
}

TEST_F(StringGridTest, EscapeCancelsTheEditOnly) {
    grid_.SetCell(1, 1, "old");
    Type(L"new");
    Key(VK_ESCAPE);
    EXPECT_FALSE(grid_.EditorMode());
    EXPECT_EQ(grid_.Cell(1, 1), "old");
    EXPECT_TRUE(edits_.empty());
    EXPECT_EQ(GetFocus(), grid_.handle());
    EXPECT_EQ(cancelClicks_, 0);
    // With no edit open, Escape is the form's again.
    Key(VK_ESCAPE);
    EXPECT_EQ(cancelClicks_, 1);
}

TEST_F(StringGridTest, TabMovesThroughTheCellsAndThenLeaves) {
    Key(VK_TAB);
    EXPECT_EQ(grid_.Col(), 2);
    EXPECT_EQ(grid_.Row(), 1);
    Key(VK_TAB); // wraps to the next row, past the number column
    EXPECT_EQ(grid_.Col(), 1);
    EXPECT_EQ(grid_.Row(), 2);

    Type(L"x");
    Key(VK_TAB); // commits and moves
    EXPECT_EQ(grid_.Cell(1, 2), "x");
    EXPECT_EQ(grid_.Col(), 2);
    EXPECT_EQ(grid_.Row(), 2);
    EXPECT_EQ(GetFocus(), grid_.handle());

    Key(VK_TAB); // past the last cell: on to the next control
    EXPECT_EQ(GetFocus(), ok_.handle());
    EXPECT_EQ(okClicks_, 0);
    EXPECT_EQ(grid_.Row(), 2);

    // From an open editor on the last cell as well, after committing.
    grid_.Focus();
    Pump();
    Type(L"y");
    Key(VK_TAB);
    EXPECT_EQ(grid_.Cell(2, 2), "y");
    EXPECT_EQ(GetFocus(), ok_.handle());
}

TEST_F(StringGridTest, JapaneseTextRoundTripsThroughTheEditor) {
    Type(L"ソフト\\表示");
    Key(VK_RETURN);
    EXPECT_EQ(grid_.Cell(1, 1), "ソフト\\表示"); // trail bytes 0x5C stay characters
    ASSERT_EQ(edits_.size(), 1u);

    grid_.SetCell(2, 1, "C:\\ソフト\\表示.exe");
    grid_.SetCol(2);
    Key(VK_F2);
    EXPECT_EQ(FocusedText(), "C:\\ソフト\\表示.exe");
    Key(VK_RETURN);
    EXPECT_EQ(grid_.Cell(2, 1), "C:\\ソフト\\表示.exe");
    EXPECT_EQ(edits_.size(), 1u); // read back unchanged
}

// The entry lists' rule: text typed into the last (new-entry) row numbers that row and
// adds a fresh empty row below it.
TEST_F(StringGridTest, HandlerThatGrowsTheGridLeavesItConsistent) {
    grid_.SetRowCount(2);
    grid_.OnSetEditText = [this](int col, int row, const Text& value) {
        edits_.emplace_back(col, row, value);
        if (value.empty() || row != grid_.RowCount() - 1)
            return;
        grid_.SetRowCount(grid_.RowCount() + 1);
        int previous = row - 1 < grid_.FixedRows() ? 0 : std::atoi(grid_.Cell(0, row - 1).c_str());
        grid_.SetCell(0, row, std::to_string(previous + 1));
        for (int c = 0; c < grid_.ColCount(); ++c)
            grid_.SetCell(c, grid_.RowCount() - 1, "");
    };

    Type(L"ﾒﾓ帳");
    Key(VK_TAB); // the handler adds row 2, and the Tab goes on within row 1
    EXPECT_EQ(grid_.RowCount(), 3);
    EXPECT_EQ(grid_.Cell(0, 1), "1");
    EXPECT_EQ(grid_.Col(), 2);
    Type(L"notepad.exe");
    Key(VK_TAB); // into the row the handler added
    EXPECT_EQ(grid_.Row(), 2);
    EXPECT_EQ(grid_.Col(), 1);
    Type(L"b");
    Key(VK_RETURN);

    EXPECT_EQ(grid_.RowCount(), 4);
    EXPECT_EQ(grid_.Cell(0, 2), "2");
    EXPECT_EQ(grid_.Cell(1, 2), "b");
    EXPECT_EQ(grid_.Cell(2, 1), "notepad.exe");
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(grid_.Cell(c, 3), "");
    EXPECT_EQ(grid_.Row(), 2);
    EXPECT_FALSE(grid_.EditorMode());
    EXPECT_EQ(edits_.size(), 3u);
    Key(VK_DOWN);
    EXPECT_EQ(grid_.Row(), 3);
}

TEST_F(StringGridTest, MouseSelectsEditsAndResizes) {
    Click(60, 60); // row 2 (rows are 24 high, plus the grid line)
    EXPECT_EQ(grid_.Col(), 1);
    EXPECT_EQ(grid_.Row(), 2);
    EXPECT_FALSE(grid_.EditorMode());
    Click(60, 60); // the current cell again: edit it
    EXPECT_TRUE(grid_.EditorMode());
    Key(VK_ESCAPE);
    Click(200, 30, true);
    EXPECT_TRUE(grid_.EditorMode());
    EXPECT_EQ(grid_.Col(), 2);
    Key(VK_ESCAPE);

    // Dragging the border after column 1 (at 121) in the header row by 30 pixels.
    SendMessageW(grid_.handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(122, 10));
    SendMessageW(grid_.handle(), WM_MOUSEMOVE, MK_LBUTTON, At(152, 10));
    SendMessageW(grid_.handle(), WM_LBUTTONUP, 0, At(152, 10));
    EXPECT_EQ(grid_.ColWidth(1), 130);
    EXPECT_EQ(grid_.ColWidth(2), 234);
    // The same border below the header selects a cell instead.
    SendMessageW(grid_.handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(151, 60));
    SendMessageW(grid_.handle(), WM_MOUSEMOVE, MK_LBUTTON, At(181, 60));
    SendMessageW(grid_.handle(), WM_LBUTTONUP, 0, At(181, 60));
    EXPECT_EQ(grid_.ColWidth(1), 130);

    // A row border in the number column (below row 1 at 49).
    SendMessageW(grid_.handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(10, 49));
    SendMessageW(grid_.handle(), WM_MOUSEMOVE, MK_LBUTTON, At(10, 59));
    SendMessageW(grid_.handle(), WM_LBUTTONUP, 0, At(10, 59));
    EXPECT_EQ(grid_.RowHeight(1), 34);
    EXPECT_EQ(grid_.RowHeight(2), 24);
}

TEST_F(StringGridTest, ScrollsToKeepTheCurrentRowInView) {
    auto verticalBar = [this] {
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(grid_.handle(), SB_VERT, &info);
        return info;
    };
    grid_.SetRowCount(40);
    SCROLLINFO info = verticalBar();
    EXPECT_LT(static_cast<int>(info.nPage), info.nMax + 1); // more rows than room

    grid_.SetRow(39);
    EXPECT_GT(grid_.TopRow(), 1);
    EXPECT_EQ(verticalBar().nPos, grid_.TopRow() - 1);
    Key(VK_PRIOR);
    EXPECT_LT(grid_.Row(), 39);
    EXPECT_GE(grid_.Row(), grid_.TopRow());

    // A click lands on the row shown there, not the one at that place before scrolling.
    int top = grid_.TopRow();
    Click(60, 30);
    EXPECT_EQ(grid_.Row(), top);

    grid_.SetRowCount(3);
    EXPECT_EQ(grid_.TopRow(), 1);
    EXPECT_EQ(grid_.Row(), 2);
}

TEST_F(StringGridTest, AnEditOpenWhenTheGridGoesIsDropped) {
    auto grid = std::make_unique<TStringGrid>();
    ASSERT_TRUE(grid->Create(form_, {8, 8, 200, 100}, 3, 3));
    int calls = 0;
    grid->OnSetEditText = [&calls](int, int, const Text&) { ++calls; };
    grid->Focus();
    Pump();
    Type(L"z");
    ASSERT_TRUE(grid->EditorMode());
    grid.reset();
    Pump();
    EXPECT_EQ(calls, 0);
}

// What CP932 cannot hold stays whole through the cell, the editor and the user's edit.
TEST_F(StringGridTest, WideTextSurvivesTheEditor) {
    grid_.SetCell(2, 1, std::wstring(L"C:\\\u5F20\u4F1F\\Zo\u00EB.txt"));
    EXPECT_EQ(grid_.WideCell(2, 1), L"C:\\\u5F20\u4F1F\\Zo\u00EB.txt");
    EXPECT_EQ(grid_.Cell(2, 1), "C:\\??\\Zo?.txt");
    grid_.SetCol(2);
    grid_.SetRow(1);
    Key(VK_F2);
    Key(VK_RETURN);
    EXPECT_EQ(grid_.WideCell(2, 1), L"C:\\\u5F20\u4F1F\\Zo\u00EB.txt");
    EXPECT_TRUE(edits_.empty()); // unchanged: no edit reported

    grid_.SetCol(1);
    Type(L"Jos\u00E9");
    Key(VK_RETURN);
    EXPECT_EQ(grid_.WideCell(1, 1), L"Jos\u00E9");
    ASSERT_EQ(edits_.size(), 1u);
    EXPECT_EQ(std::get<2>(edits_[0]), "Jos?");
    // A narrow cell reads back widened.
    grid_.SetCell(1, 2, "表示");
    EXPECT_EQ(grid_.WideCell(1, 2), L"表示");
}

} // namespace
