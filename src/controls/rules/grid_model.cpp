#include "grid_model.h"

#include <algorithm>
#include <cstdlib>

namespace {

const Text EmptyCell;

int Clamp(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

} // namespace

GridModel::GridModel(int colCount, int rowCount, int fixedCols, int fixedRows)
    : fixedCols_(std::max(0, fixedCols)), fixedRows_(std::max(0, fixedRows)) {
    SetColCount(colCount);
    SetRowCount(rowCount);
    ClampCurrent();
}

void GridModel::SetColCount(int count) {
    count = std::max(count, fixedCols_ + 1);
    colWidths_.resize(static_cast<size_t>(count), DefaultColWidth);
    for (auto& row : rows_)
        row.resize(static_cast<size_t>(count));
    ClampCurrent();
}

void GridModel::SetRowCount(int count) {
    count = std::max(count, fixedRows_ + 1);
    rows_.resize(static_cast<size_t>(count), std::vector<CellText>(colWidths_.size()));
    rowHeights_.resize(static_cast<size_t>(count), defaultRowHeight_);
    ClampCurrent();
}

void GridModel::InsertRow(int row) {
    row = Clamp(row, fixedRows_, RowCount());
    rows_.insert(rows_.begin() + row, std::vector<CellText>(colWidths_.size()));
    rowHeights_.insert(rowHeights_.begin() + row, defaultRowHeight_);
    if (current_.row >= row)
        ++current_.row;
}

bool GridModel::DeleteRow(int row) {
    if (row < fixedRows_ || row >= RowCount() || RowCount() <= fixedRows_ + 1)
        return false;
    rows_.erase(rows_.begin() + row);
    rowHeights_.erase(rowHeights_.begin() + row);
    if (current_.row > row)
        --current_.row;
    ClampCurrent();
    return true;
}

const Text& GridModel::Cell(int col, int row) const {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        return EmptyCell;
    return rows_[static_cast<size_t>(row)][static_cast<size_t>(col)].text;
}

void GridModel::SetCell(int col, int row, const Text& text) {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        return;
    rows_[static_cast<size_t>(row)][static_cast<size_t>(col)] = {text, std::wstring(), false};
}

const std::wstring* GridModel::WideCell(int col, int row) const {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        return nullptr;
    const CellText& cell = rows_[static_cast<size_t>(row)][static_cast<size_t>(col)];
    return cell.hasWide ? &cell.wide : nullptr;
}

void GridModel::SetCell(int col, int row, const Text& text, const std::wstring& wide) {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        return;
    rows_[static_cast<size_t>(row)][static_cast<size_t>(col)] = {text, wide, true};
}

int GridModel::ColWidth(int col) const {
    return col >= 0 && col < ColCount() ? colWidths_[static_cast<size_t>(col)] : 0;
}

void GridModel::SetColWidth(int col, int width) {
    if (col >= 0 && col < ColCount())
        colWidths_[static_cast<size_t>(col)] = std::max(0, width);
}

int GridModel::RowHeight(int row) const {
    return row >= 0 && row < RowCount() ? rowHeights_[static_cast<size_t>(row)] : 0;
}

void GridModel::SetRowHeight(int row, int height) {
    if (row >= 0 && row < RowCount())
        rowHeights_[static_cast<size_t>(row)] = std::max(0, height);
}

void GridModel::SetDefaultHeight(int height) {
    defaultRowHeight_ = std::max(0, height);
    std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
}

bool GridModel::IsEditable(GridCoord cell) const {
    return cell.col >= fixedCols_ && cell.col < ColCount() && cell.row >= fixedRows_ && cell.row < RowCount();
}

bool GridModel::SetCurrent(GridCoord cell) {
    if (!IsEditable(cell))
        return false;
    current_ = cell;
    return true;
}

void GridModel::ClampCurrent() {
    current_.col = Clamp(current_.col, fixedCols_, ColCount() - 1);
    current_.row = Clamp(current_.row, fixedRows_, RowCount() - 1);
}

std::optional<GridCoord> GridModel::Navigate(GridCoord from, GridMove move, int pageRows) const {
    const int firstCol = fixedCols_, lastCol = ColCount() - 1;
    const int firstRow = fixedRows_, lastRow = RowCount() - 1;
    GridCoord to = {Clamp(from.col, firstCol, lastCol), Clamp(from.row, firstRow, lastRow)};
    pageRows = std::max(1, pageRows);
    switch (move) {
    case GridMove::Tab:
        if (++to.col > lastCol) {
            to.col = firstCol;
            if (++to.row > lastRow)
                return std::nullopt;
        }
        break;
    case GridMove::BackTab:
        if (--to.col < firstCol) {
            to.col = lastCol;
            if (--to.row < firstRow)
                return std::nullopt;
        }
        break;
    case GridMove::Left:
        to.col = std::max(firstCol, to.col - 1);
        break;
    case GridMove::Right:
        to.col = std::min(lastCol, to.col + 1);
        break;
    case GridMove::Up:
        to.row = std::max(firstRow, to.row - 1);
        break;
    case GridMove::Down:
        to.row = std::min(lastRow, to.row + 1);
        break;
    case GridMove::Home:
        to.col = firstCol;
        break;
    case GridMove::End:
        to.col = lastCol;
        break;
    case GridMove::Top:
        to.row = firstRow;
        break;
    case GridMove::Bottom:
        to.row = lastRow;
        break;
    case GridMove::PageUp:
        to.row = std::max(firstRow, to.row - pageRows);
        break;
    case GridMove::PageDown:
        to.row = std::min(lastRow, to.row + pageRows);
        break;
    }
    return to;
}

namespace {

int LineCount(const GridAxis& axis) {
    return static_cast<int>(axis.sizes.size());
}

int FixedCount(const GridAxis& axis) {
    return Clamp(axis.fixed, 0, LineCount(axis));
}

int FirstShown(const GridAxis& axis) {
    return std::max(axis.first, FixedCount(axis));
}

int Extent(const GridAxis& axis, int index) {
    return axis.sizes[static_cast<size_t>(index)] + axis.lineWidth;
}

// Calls visit(index, start) for the fixed lines and then the shown scrollable ones, until
// it returns true.
template <typename Visit> void ForEachShown(const GridAxis& axis, Visit visit) {
    int pos = 0;
    for (int i = 0; i < FixedCount(axis); ++i) {
        if (visit(i, pos))
            return;
        pos += Extent(axis, i);
    }
    for (int i = FirstShown(axis); i < LineCount(axis); ++i) {
        if (visit(i, pos))
            return;
        pos += Extent(axis, i);
    }
}

int FixedTotal(const GridAxis& axis) {
    int total = 0;
    for (int i = 0; i < FixedCount(axis); ++i)
        total += Extent(axis, i);
    return total;
}

} // namespace

int AxisStart(const GridAxis& axis, int index) {
    int found = -1;
    ForEachShown(axis, [&](int i, int start) {
        if (i != index)
            return false;
        found = start;
        return true;
    });
    return found;
}

int AxisLineAt(const GridAxis& axis, int pos) {
    int found = -1;
    if (pos < 0)
        return found;
    ForEachShown(axis, [&](int i, int start) {
        if (pos >= start + Extent(axis, i))
            return false;
        found = i;
        return true;
    });
    return found;
}

int AxisBorderAt(const GridAxis& axis, int pos, int tolerance) {
    int found = -1;
    int best = tolerance + 1;
    ForEachShown(axis, [&](int i, int start) {
        int distance = std::abs(pos - (start + axis.sizes[static_cast<size_t>(i)]));
        if (distance <= best && distance <= tolerance) {
            best = distance;
            found = i;
        }
        return start > pos + tolerance; // later borders lie further right
    });
    return found;
}

int AxisLastFirst(const GridAxis& axis, int extent) {
    const int fixed = FixedCount(axis), count = LineCount(axis);
    if (count <= fixed)
        return fixed;
    int used = FixedTotal(axis);
    int first = count;
    for (int i = count - 1; i >= fixed; --i) {
        if (used + Extent(axis, i) > extent)
            break;
        used += Extent(axis, i);
        first = i;
    }
    return std::min(first, count - 1);
}

int AxisScrollToShow(const GridAxis& axis, int index, int extent) {
    int first = FirstShown(axis);
    if (index < FixedCount(axis) || index >= LineCount(axis))
        return first;
    if (index < first)
        return index;
    auto endOf = [&](int from) {
        int end = FixedTotal(axis);
        for (int i = from; i <= index; ++i)
            end += Extent(axis, i);
        return end;
    };
    while (first < index && endOf(first) > extent)
        ++first;
    return first;
}

int AxisVisibleCount(const GridAxis& axis, int extent) {
    int count = 0;
    int pos = FixedTotal(axis);
    for (int i = FirstShown(axis); i < LineCount(axis); ++i) {
        pos += axis.sizes[static_cast<size_t>(i)];
        if (pos > extent)
            break;
        pos += axis.lineWidth;
        ++count;
    }
    return std::max(1, count);
}
