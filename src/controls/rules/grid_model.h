// The editable string grid without a window: the cells, the sizes of columns and rows,
// the current cell, keyboard navigation and the geometry of one axis (which cell lies
// at a position, which border is near enough to drag).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "jjstring.h"

struct GridCoord {
    int col = 0;
    int row = 0;
    bool operator==(const GridCoord& other) const { return col == other.col && row == other.row; }
};

// Keys that move the current cell. Tab and BackTab run through the editable cells row by
// row; the others move within a column or row and stop at its ends.
enum class GridMove { Tab, BackTab, Left, Right, Up, Down, Home, End, Top, Bottom, PageUp, PageDown };

class GridModel {
public:
    static constexpr int DefaultColWidth = 64;
    static constexpr int DefaultRowHeight = 24;

    // The leading fixed columns and rows are headers: shown, never current, never edited.
    // There is always at least one editable column and row.
    GridModel(int colCount = 5, int rowCount = 5, int fixedCols = 1, int fixedRows = 1);

    int ColCount() const { return static_cast<int>(colWidths_.size()); }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    int FixedCols() const { return fixedCols_; }
    int FixedRows() const { return fixedRows_; }
    // Growing adds empty cells at the end; shrinking drops the last ones.
    void SetColCount(int count);
    void SetRowCount(int count);
    // Inserting before RowCount() appends; fixed rows cannot be deleted, nor the last
    // editable row. Both keep the current cell on its row where that row stays.
    void InsertRow(int row);
    bool DeleteRow(int row);

    // Outside the grid a cell reads as empty and ignores writes.
    const Text& Cell(int col, int row) const;
    void SetCell(int col, int row, const Text& text);
    // A cell can also hold its text as UTF-16 beside the CP932 form, for what CP932 cannot
    // hold ("Zoë"); null when the cell has only the CP932 form. SetCell drops it.
    const std::wstring* WideCell(int col, int row) const;
    void SetCell(int col, int row, const Text& text, const std::wstring& wide);

    // Sizes in 96-DPI pixels, never negative.
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    int RowHeight(int row) const;
    void SetRowHeight(int row, int height);
    int DefaultHeight() const { return defaultRowHeight_; }
    // Sets the height of every row, and of rows added later.
    void SetDefaultHeight(int height);
    const std::vector<int>& ColWidths() const { return colWidths_; }
    const std::vector<int>& RowHeights() const { return rowHeights_; }

    int Col() const { return current_.col; }
    int Row() const { return current_.row; }
    GridCoord Current() const { return current_; }
    bool IsEditable(GridCoord cell) const;
    // Only an editable cell can become current; false leaves the current cell as it was.
    bool SetCurrent(GridCoord cell);

    // Where the move leads from the given cell; nothing when Tab or BackTab would run past
    // the last or first editable cell (the focus then leaves the grid). pageRows is the
    // number of rows PageUp and PageDown move.
    std::optional<GridCoord> Navigate(GridCoord from, GridMove move, int pageRows = 1) const;

private:
    void ClampCurrent();

    int fixedCols_;
    int fixedRows_;
    int defaultRowHeight_ = DefaultRowHeight;
    struct CellText {
        Text text;
        std::wstring wide;
        bool hasWide = false;
    };
    std::vector<std::vector<CellText>> rows_; // rows_[row][col]
    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    GridCoord current_;
};

// The geometry of one axis (the columns or the rows) as shown: the fixed lines first, then
// the scrollable ones from `first` on, each followed by a grid line. Sizes and positions
// are in whatever unit the caller uses (the window passes device pixels).
struct GridAxis {
    std::vector<int> sizes;
    int fixed = 0;
    int first = 0; // first scrollable line shown after the fixed ones
    int lineWidth = 1;
};

// Start of a line, or -1 when it is scrolled out of view (it may also lie beyond the window).
int AxisStart(const GridAxis& axis, int index);
// The line whose cell or trailing grid line holds pos; -1 before the first or after the last.
int AxisLineAt(const GridAxis& axis, int pos);
// The line whose trailing border is within tolerance of pos, the nearest one (the later on a
// tie, so a line shrunk to nothing can be widened again); -1 when none is.
int AxisBorderAt(const GridAxis& axis, int pos, int tolerance);
// The largest `first` that still fills the extent: scrolling further would show blank space.
int AxisLastFirst(const GridAxis& axis, int extent);
// The `first` that shows the line whole (as far as it fits), changing the current one least.
int AxisScrollToShow(const GridAxis& axis, int index, int extent);
// How many scrollable lines fit whole from `first` on (at least 1).
int AxisVisibleCount(const GridAxis& axis, int extent);
