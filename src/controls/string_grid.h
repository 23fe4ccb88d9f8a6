// An editable grid of texts, for the platform has none: fixed header cells in the 3-D
// button look, white cells with grid lines, an in-place edit box, keyboard navigation
// that keeps Tab inside the grid, and columns and rows resized by dragging their borders
// in the header row and the fixed column.
//
// Accessors follow one style: a property is read through a function named as the
// property (ColCount()) and written through "Set" + that name (SetColCount(n)); events are
// public std::function fields named "On" + the event. Sizes are 96-DPI pixels.
#pragma once

#include <functional>

#include "control.h"
#include "grid_model.h"
#include "window.h"

class TStringGrid : public Window {
public:
    TStringGrid() = default;
    ~TStringGrid() override;

    // A child of the parent, in the parent's font. The leading fixed columns and rows are
    // headers: painted as buttons, never current, never edited.
    bool Create(Widget& parent, const Bounds& bounds, int colCount = 5, int rowCount = 5, int fixedCols = 1,
                int fixedRows = 1);

    int ColCount() const { return model_.ColCount(); }
    void SetColCount(int count);
    // Growing adds empty rows; shrinking drops the last ones (and an edit open in them).
    int RowCount() const { return model_.RowCount(); }
    void SetRowCount(int count);
    int FixedCols() const { return model_.FixedCols(); }
    int FixedRows() const { return model_.FixedRows(); }
    void InsertRow(int row);
    bool DeleteRow(int row);

    // The CP932 form, for showing and the text operations ("?" for what CP932 lacks).
    Text Cell(int col, int row) const { return model_.Cell(col, row); }
    // Changes the text only; OnSetEditText is for the user's edits.
    void SetCell(int col, int row, const Text& text);
    // The cell as UTF-16: what was set wide or typed stays whole ("Zoë", "张伟").
    std::wstring WideCell(int col, int row) const;
    void SetCell(int col, int row, const std::wstring& text);

    int ColWidth(int col) const { return model_.ColWidth(col); }
    void SetColWidth(int col, int width);
    int RowHeight(int row) const { return model_.RowHeight(row); }
    void SetRowHeight(int row, int height);
    int DefaultRowHeight() const { return model_.DefaultHeight(); }
    void SetDefaultRowHeight(int height); // also sets every existing row

    // The current cell; setting it commits an open edit and scrolls the cell into view.
    // Fixed cells cannot become current.
    int Col() const { return model_.Col(); }
    void SetCol(int col);
    int Row() const { return model_.Row(); }
    void SetRow(int row);
    // The first scrollable row and column shown.
    int TopRow() const { return topRow_; }
    int LeftCol() const { return leftCol_; }

    // True while the in-place editor is open. Setting true opens it on the current cell;
    // setting false commits what it holds.
    bool EditorMode() const { return editing_; }
    void SetEditorMode(bool on);

    // Called for every edit the user commits that changed a cell, after the cell holds the
    // value; the handler may change the grid (add rows, fill other cells), and the grid
    // repaints afterwards.
    std::function<void(int col, int row, const Text& value)> OnSetEditText;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    class InplaceEdit : public Control {
    public:
        explicit InplaceEdit(TStringGrid& grid) : grid_(grid) {}

    protected:
        LRESULT HandleControlMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        TStringGrid& grid_;
    };

    struct Sizing {
        bool active = false;
        bool columns = true; // a column's width, else a row's height
        int index = 0;
        int start = 0;  // device position of the line's start
        int offset = 0; // of the mouse from the border when the drag began
    };

    GridAxis ColAxis() const;
    GridAxis RowAxis() const;
    RECT CellRect(GridCoord cell) const; // empty when scrolled out of view
    void Paint(HDC dc, const RECT& client);
    void PaintCell(HDC dc, GridCoord cell, const RECT& rect, bool hasFocus);
    bool HasFocus() const;
    HGDIOBJ TextFont() const; // the parent's font, or the GUI font before one is set

    void UpdateScrollBars();
    void ScrollTo(int topRow, int leftCol);
    void OnScroll(int bar, WORD code);
    void ScrollIntoView(GridCoord cell);
    void MoveTo(GridCoord cell);
    bool HandleKey(WPARAM key);
    void LeaveGrid(bool backward);
    Sizing BorderAt(int x, int y) const;
    void OnMouseDown(int x, int y, bool doubleClick);

    void OpenEditor(bool selectAll);
    void PlaceEditor();
    // Closes the editor, storing its text when accept is set; refocus puts the focus back
    // on the grid when the editor had it.
    void EndEdit(bool accept, bool refocus);
    void TabFromEditor();

    GridModel model_{5, 5, 1, 1};
    InplaceEdit editor_{*this};
    bool editing_ = false;
    GridCoord editCell_;
    int topRow_ = 1;
    int leftCol_ = 1;
    Sizing sizing_;
    bool updatingScrollBars_ = false;
    int wheelDelta_ = 0;
};
