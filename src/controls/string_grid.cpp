#include "string_grid.h"

#include <windowsx.h>

#include <algorithm>

#include "gdi.h"
#include "win/encoding.h"

namespace {

constexpr int BorderTolerance = 3; // 96-DPI pixels either side of a border that start a drag
constexpr int TextIndent = 2;

bool KeyDown(int key) {
    return GetKeyState(key) < 0;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

} // namespace

TStringGrid::~TStringGrid() {
    // The window goes first, while the members it uses still exist; an open edit is dropped
    // rather than reported to a handler that may be gone.
    editing_ = false;
    OnSetEditText = nullptr;
    if (HWND window = handle()) {
        Detach();
        DestroyWindow(window);
    }
}

bool TStringGrid::Create(Widget& parent, const Bounds& bounds, int colCount, int rowCount, int fixedCols,
                         int fixedRows) {
    model_ = GridModel(colCount, rowCount, fixedCols, fixedRows);
    topRow_ = model_.FixedRows();
    leftCol_ = model_.FixedCols();
    WindowParams params;
    params.className = "TStringGrid";
    params.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | WS_CLIPCHILDREN;
    params.exStyle = WS_EX_CLIENTEDGE;
    params.parent = parent.handle();
    params.bounds = bounds;
    params.background = nullptr; // every pixel is painted, double-buffered
    if (!Window::Create(params))
        return false;
    SetWindowLongPtrW(handle(), GWLP_ID, NextControlId());
    SetFont(parent.font());
    UpdateScrollBars();
    return true;
}

// ---- Properties -------------------------------------------------------------------------

void TStringGrid::SetColCount(int count) {
    model_.SetColCount(count);
    if (editing_ && !model_.IsEditable(editCell_))
        EndEdit(false, true);
    UpdateScrollBars();
    Invalidate();
}

void TStringGrid::SetRowCount(int count) {
    model_.SetRowCount(count);
    if (editing_ && !model_.IsEditable(editCell_))
        EndEdit(false, true);
    UpdateScrollBars();
    Invalidate();
}

void TStringGrid::InsertRow(int row) {
    if (editing_)
        EndEdit(true, true);
    model_.InsertRow(row);
    UpdateScrollBars();
    Invalidate();
}

bool TStringGrid::DeleteRow(int row) {
    if (editing_)
        EndEdit(true, true);
    bool deleted = model_.DeleteRow(row);
    UpdateScrollBars();
    Invalidate();
    return deleted;
}

void TStringGrid::SetCell(int col, int row, const Text& text) {
    model_.SetCell(col, row, text);
    if (editing_ && editCell_ == GridCoord{col, row})
        editor_.SetText(text);
    Invalidate();
}

std::wstring TStringGrid::WideCell(int col, int row) const {
    const std::wstring* wide = model_.WideCell(col, row);
    return wide ? *wide : Widen(model_.Cell(col, row));
}

void TStringGrid::SetCell(int col, int row, const std::wstring& text) {
    model_.SetCell(col, row, Narrow(text), text);
    if (editing_ && editCell_ == GridCoord{col, row})
        editor_.SetText(text);
    Invalidate();
}

void TStringGrid::SetColWidth(int col, int width) {
    model_.SetColWidth(col, width);
    UpdateScrollBars();
    PlaceEditor();
    Invalidate();
}

void TStringGrid::SetRowHeight(int row, int height) {
    model_.SetRowHeight(row, height);
    UpdateScrollBars();
    PlaceEditor();
    Invalidate();
}

void TStringGrid::SetDefaultRowHeight(int height) {
    model_.SetDefaultHeight(height);
    UpdateScrollBars();
    PlaceEditor();
    Invalidate();
}

void TStringGrid::SetCol(int col) {
    MoveTo({col, model_.Row()});
}

void TStringGrid::SetRow(int row) {
    MoveTo({model_.Col(), row});
}

void TStringGrid::SetEditorMode(bool on) {
    if (on)
        OpenEditor(false);
    else
        EndEdit(true, true);
}

// ---- Geometry ---------------------------------------------------------------------------

GridAxis TStringGrid::ColAxis() const {
    DpiScale scale = dpi();
    GridAxis axis;
    for (int width : model_.ColWidths())
        axis.sizes.push_back(scale.Scale(width));
    axis.fixed = model_.FixedCols();
    axis.first = leftCol_;
    return axis;
}

GridAxis TStringGrid::RowAxis() const {
    DpiScale scale = dpi();
    GridAxis axis;
    for (int height : model_.RowHeights())
        axis.sizes.push_back(scale.Scale(height));
    axis.fixed = model_.FixedRows();
    axis.first = topRow_;
    return axis;
}

RECT TStringGrid::CellRect(GridCoord cell) const {
    GridAxis cols = ColAxis(), rows = RowAxis();
    int x = AxisStart(cols, cell.col), y = AxisStart(rows, cell.row);
    if (x < 0 || y < 0)
        return RECT{};
    return RECT{x, y, x + cols.sizes[static_cast<size_t>(cell.col)],
                y + rows.sizes[static_cast<size_t>(cell.row)]};
}

bool TStringGrid::HasFocus() const {
    HWND focus = GetFocus();
    return focus && (focus == handle() || focus == editor_.handle());
}

HGDIOBJ TStringGrid::TextFont() const {
    HFONT current = font();
    return current ? static_cast<HGDIOBJ>(current) : GetStockObject(DEFAULT_GUI_FONT);
}

// ---- Painting ---------------------------------------------------------------------------

void TStringGrid::Paint(HDC dc, const RECT& client) {
    FillSolid(dc, client, GetSysColor(COLOR_WINDOW));
    SelectObjectScope selected(dc, TextFont());
    SetBkMode(dc, TRANSPARENT);
    GridAxis cols = ColAxis(), rows = RowAxis();
    bool hasFocus = HasFocus();
    auto visit = [&](const GridAxis& axis, int extent, auto&& body) {
        auto each = [&](int index) {
            int start = AxisStart(axis, index);
            if (start >= 0 && start < extent)
                body(index, start);
        };
        for (int i = 0; i < axis.fixed; ++i)
            each(i);
        for (int i = std::max(axis.first, axis.fixed); i < static_cast<int>(axis.sizes.size()); ++i) {
            if (AxisStart(axis, i) >= extent)
                break;
            each(i);
        }
    };
    visit(rows, client.bottom, [&](int row, int y) {
        visit(cols, client.right, [&](int col, int x) {
            RECT cell = {x, y, x + cols.sizes[static_cast<size_t>(col)],
                         y + rows.sizes[static_cast<size_t>(row)]};
            bool fixed = col < cols.fixed || row < rows.fixed;
            // The grid lines right of and below the cell: dark between headers, light elsewhere.
            COLORREF line = GetSysColor(fixed ? COLOR_WINDOWFRAME : COLOR_BTNFACE);
            RECT right = {cell.right, cell.top, cell.right + cols.lineWidth, cell.bottom + rows.lineWidth};
            RECT below = {cell.left, cell.bottom, cell.right, cell.bottom + rows.lineWidth};
            FillSolid(dc, right, line);
            FillSolid(dc, below, line);
            PaintCell(dc, {col, row}, cell, hasFocus);
        });
    });
}

void TStringGrid::PaintCell(HDC dc, GridCoord cell, const RECT& rect, bool hasFocus) {
    bool fixed = !model_.IsEditable(cell);
    bool current = cell == model_.Current();
    COLORREF background = GetSysColor(COLOR_WINDOW), foreground = GetSysColor(COLOR_WINDOWTEXT);
    if (fixed) {
        background = GetSysColor(COLOR_BTNFACE);
        foreground = GetSysColor(COLOR_BTNTEXT);
    } else if (current && !hasFocus) {
        // Without the focus the current cell stays visible, for commands that act on it.
        background = GetSysColor(COLOR_HIGHLIGHT);
        foreground = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    FillSolid(dc, rect, background);
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    if (fixed) {
        RECT edge = rect;
        DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    }
    SetTextColor(dc, foreground);
    std::wstring text = WideCell(cell.col, cell.row);
    int indent = dpi().Scale(TextIndent);
    RECT textRect = {rect.left + indent, rect.top, rect.right - indent, rect.bottom};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (current && hasFocus && !fixed) {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, background);
        DrawFocusRect(dc, &rect);
    }
}

// ---- Scrolling --------------------------------------------------------------------------

void TStringGrid::UpdateScrollBars() {
    if (!handle() || updatingScrollBars_)
        return;
    updatingScrollBars_ = true;
    // Showing or hiding one bar changes the room for the other: settle in a few passes.
    for (int pass = 0; pass < 3; ++pass) {
        RECT client;
        GetClientRect(handle(), &client);
        GridAxis rows = RowAxis(), cols = ColAxis();
        int lastTop = AxisLastFirst(rows, client.bottom);
        int lastLeft = AxisLastFirst(cols, client.right);
        topRow_ = std::clamp(topRow_, model_.FixedRows(), std::max(model_.FixedRows(), lastTop));
        leftCol_ = std::clamp(leftCol_, model_.FixedCols(), std::max(model_.FixedCols(), lastLeft));

        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMax = model_.RowCount() - model_.FixedRows() - 1;
        info.nPage = static_cast<UINT>(model_.RowCount() - lastTop);
        info.nPos = topRow_ - model_.FixedRows();
        SetScrollInfo(handle(), SB_VERT, &info, TRUE);
        info.nMax = model_.ColCount() - model_.FixedCols() - 1;
        info.nPage = static_cast<UINT>(model_.ColCount() - lastLeft);
        info.nPos = leftCol_ - model_.FixedCols();
        SetScrollInfo(handle(), SB_HORZ, &info, TRUE);

        RECT after;
        GetClientRect(handle(), &after);
        if (after.right == client.right && after.bottom == client.bottom)
            break;
    }
    updatingScrollBars_ = false;
}

void TStringGrid::ScrollTo(int topRow, int leftCol) {
    RECT client;
    GetClientRect(handle(), &client);
    topRow = std::clamp(topRow, model_.FixedRows(),
                        std::max(model_.FixedRows(), AxisLastFirst(RowAxis(), client.bottom)));
    leftCol = std::clamp(leftCol, model_.FixedCols(),
                         std::max(model_.FixedCols(), AxisLastFirst(ColAxis(), client.right)));
    if (topRow == topRow_ && leftCol == leftCol_)
        return;
    // The editor does not travel with the cells: what it holds is stored first.
    if (editing_)
        EndEdit(true, true);
    topRow_ = topRow;
    leftCol_ = leftCol;
    UpdateScrollBars();
    Invalidate();
}

void TStringGrid::OnScroll(int bar, WORD code) {
    bool vertical = bar == SB_VERT;
    RECT client;
    GetClientRect(handle(), &client);
    GridAxis axis = vertical ? RowAxis() : ColAxis();
    int fixed = axis.fixed;
    int position = vertical ? topRow_ : leftCol_;
    int page = AxisVisibleCount(axis, vertical ? client.bottom : client.right);
    switch (code) {
    case SB_LINEUP:
        --position;
        break;
    case SB_LINEDOWN:
        ++position;
        break;
    case SB_PAGEUP:
        position -= page;
        break;
    case SB_PAGEDOWN:
        position += page;
        break;
    case SB_TOP:
        position = fixed;
        break;
    case SB_BOTTOM:
        position = static_cast<int>(axis.sizes.size());
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(handle(), bar, &info);
        position = fixed + info.nTrackPos;
        break;
    }
    default:
        return;
    }
    if (vertical)
        ScrollTo(position, leftCol_);
    else
        ScrollTo(topRow_, position);
}

void TStringGrid::ScrollIntoView(GridCoord cell) {
    RECT client;
    GetClientRect(handle(), &client);
    topRow_ = AxisScrollToShow(RowAxis(), cell.row, client.bottom);
    leftCol_ = AxisScrollToShow(ColAxis(), cell.col, client.right);
    UpdateScrollBars();
}

// ---- Navigation -------------------------------------------------------------------------

void TStringGrid::MoveTo(GridCoord cell) {
    if (editing_)
        EndEdit(true, true);
    if (!model_.SetCurrent(cell))
        return;
    ScrollIntoView(cell);
    Invalidate();
}

bool TStringGrid::HandleKey(WPARAM key) {
    bool control = KeyDown(VK_CONTROL), shift = KeyDown(VK_SHIFT);
    GridMove move;
    switch (key) {
    case VK_TAB:
        move = shift ? GridMove::BackTab : GridMove::Tab;
        break;
    case VK_LEFT:
        move = GridMove::Left;
        break;
    case VK_RIGHT:
        move = GridMove::Right;
        break;
    case VK_UP:
        move = GridMove::Up;
        break;
    case VK_DOWN:
        move = GridMove::Down;
        break;
    case VK_HOME:
        move = control ? GridMove::Top : GridMove::Home;
        break;
    case VK_END:
        move = control ? GridMove::Bottom : GridMove::End;
        break;
    case VK_PRIOR:
        move = GridMove::PageUp;
        break;
    case VK_NEXT:
        move = GridMove::PageDown;
        break;
    case VK_F2:
    case VK_RETURN:
        OpenEditor(true);
        return true;
    default:
        return false;
    }
    RECT client;
    GetClientRect(handle(), &client);
    int page = AxisVisibleCount(RowAxis(), client.bottom);
    if (auto to = model_.Navigate(model_.Current(), move, page))
        MoveTo(*to);
    else
        LeaveGrid(move == GridMove::BackTab);
    return true;
}

void TStringGrid::LeaveGrid(bool backward) {
    HWND root = GetAncestor(handle(), GA_ROOT);
    HWND next = root ? GetNextDlgTabItem(root, handle(), backward) : nullptr;
    if (next && next != handle())
        SetFocus(next);
}

// ---- Mouse ------------------------------------------------------------------------------

TStringGrid::Sizing TStringGrid::BorderAt(int x, int y) const {
    GridAxis cols = ColAxis(), rows = RowAxis();
    int tolerance = dpi().Scale(BorderTolerance);
    int col = AxisLineAt(cols, x), row = AxisLineAt(rows, y);
    Sizing sizing;
    auto at = [&](const GridAxis& axis, int pos, bool columns) {
        int border = AxisBorderAt(axis, pos, tolerance);
        if (border < 0)
            return;
        int start = AxisStart(axis, border);
        sizing = {true, columns, border, start, pos - (start + axis.sizes[static_cast<size_t>(border)])};
    };
    if (row >= 0 && row < rows.fixed)
        at(cols, x, true);
    else if (col >= 0 && col < cols.fixed)
        at(rows, y, false);
    return sizing;
}

void TStringGrid::OnMouseDown(int x, int y, bool doubleClick) {
    bool hadFocus = GetFocus() == handle();
    if (!HasFocus() || editing_)
        SetFocus(handle()); // an open edit is committed as its box loses the focus
    if (Sizing sizing = BorderAt(x, y); sizing.active) {
        sizing_ = sizing;
        SetCapture(handle());
        return;
    }
    GridCoord cell = {AxisLineAt(ColAxis(), x), AxisLineAt(RowAxis(), y)};
    if (!model_.IsEditable(cell))
        return;
    bool again = hadFocus && cell == model_.Current();
    MoveTo(cell);
    if (doubleClick || again)
        OpenEditor(true);
}

// ---- Editing ----------------------------------------------------------------------------

void TStringGrid::OpenEditor(bool selectAll) {
    if (editing_ || !handle())
        return;
    if (!editor_.handle()) {
        if (!editor_.Create(*this, WC_EDITW, "", ES_AUTOHSCROLL | ES_LEFT, 0, Bounds{}))
            return;
        SendMessageW(editor_.handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(1, 1));
    }
    ScrollIntoView(model_.Current());
    editCell_ = model_.Current();
    editing_ = true;
    editor_.SetText(WideCell(editCell_.col, editCell_.row));
    PlaceEditor();
    ShowWindow(editor_.handle(), SW_SHOW);
    SetFocus(editor_.handle());
    int length = GetWindowTextLengthW(editor_.handle());
    SendMessageW(editor_.handle(), EM_SETSEL, selectAll ? 0 : length, length);
    Invalidate();
}

void TStringGrid::PlaceEditor() {
    if (!editing_)
        return;
    RECT cell = CellRect(editCell_);
    // Line the edit's text up with the painted text: one pixel in, one pixel of margin, and
    // vertically centred as DrawText centres it.
    TEXTMETRICW metrics = {};
    HDC dc = GetDC(handle());
    {
        SelectObjectScope selected(dc, TextFont());
        GetTextMetricsW(dc, &metrics);
    }
    ReleaseDC(handle(), dc);
    int inset = dpi().Scale(TextIndent) - 1;
    int height = std::min<int>(metrics.tmHeight, cell.bottom - cell.top);
    int top = cell.top + (cell.bottom - cell.top - height) / 2;
    int width = std::max<int>(0, cell.right - cell.left - 2 * inset);
    SetWindowPos(editor_.handle(), nullptr, cell.left + inset, top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TStringGrid::EndEdit(bool accept, bool refocus) {
    if (!editing_)
        return;
    editing_ = false; // first: the focus change below must not end the edit a second time
    GridCoord cell = editCell_;
    // The edit's own UTF-16: what the user typed or kept must not come back as "?".
    std::wstring wide = editor_.wideText();
    if (refocus && GetFocus() == editor_.handle())
        SetFocus(handle());
    ShowWindow(editor_.handle(), SW_HIDE);
    if (accept && model_.IsEditable(cell) && wide != WideCell(cell.col, cell.row)) {
        Text value = Narrow(wide);
        model_.SetCell(cell.col, cell.row, value, wide);
        if (OnSetEditText)
            OnSetEditText(cell.col, cell.row, value);
        UpdateScrollBars();
    }
    Invalidate();
}

void TStringGrid::TabFromEditor() {
    EndEdit(true, true);
    // The handler may just have added a row for the Tab to go on into.
    HandleKey(VK_TAB);
}

LRESULT TStringGrid::InplaceEdit::HandleControlMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        // Enter, Escape and Tab belong to the edit, not to the form's buttons.
        return CallPlatform(message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_RETURN:
            grid_.EndEdit(true, true);
            return 0;
        case VK_ESCAPE:
            grid_.EndEdit(false, true);
            return 0;
        case VK_TAB:
            grid_.TabFromEditor();
            return 0;
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
            grid_.EndEdit(true, true);
            grid_.HandleKey(wParam);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r' || wParam == '\t' || wParam == 0x1B)
            return 0; // handled as keys; the edit would only beep
        break;
    case WM_KILLFOCUS: {
        LRESULT result = CallPlatform(message, wParam, lParam);
        grid_.EndEdit(true, false);
        return result;
    }
    }
    return CallPlatform(message, wParam, lParam);
}

// ---- Messages ---------------------------------------------------------------------------

LRESULT TStringGrid::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        PaintBuffered(handle(), [this](HDC dc, const RECT& client) { Paint(dc, client); });
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        UpdateScrollBars();
        PlaceEditor();
        Invalidate();
        return 0;
    case WM_SETFONT:
        DefaultHandling(message, wParam, lParam);
        if (editor_.handle())
            editor_.SetFont(reinterpret_cast<HFONT>(wParam));
        PlaceEditor();
        if (lParam)
            Invalidate();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        return 0;
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
        if (auto* msg = reinterpret_cast<const MSG*>(lParam); msg && msg->message == WM_KEYDOWN) {
            // Tab past the last cell (Shift+Tab before the first) goes on to the next control.
            GridMove tab = KeyDown(VK_SHIFT) ? GridMove::BackTab : GridMove::Tab;
            if (msg->wParam == VK_TAB && !model_.Navigate(model_.Current(), tab))
                code &= ~DLGC_WANTTAB;
            if (msg->wParam == VK_RETURN)
                code |= DLGC_WANTMESSAGE; // opens the editor
        }
        return code;
    }
    case WM_KEYDOWN:
        if (HandleKey(wParam))
            return 0;
        break;
    case WM_CHAR:
        if (editing_) {
            // Characters that were queued before the editor opened (a fast typist, an IME).
            SendMessageW(editor_.handle(), message, wParam, lParam);
            return 0;
        }
        if (wParam >= L' ' && wParam != 0x7F) {
            OpenEditor(false);
            if (editing_) {
                editor_.SetText("");
                SendMessageW(editor_.handle(), WM_CHAR, wParam, lParam);
            }
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnMouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), message == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MOUSEMOVE:
        if (sizing_.active) {
            int pos = sizing_.columns ? GET_X_LPARAM(lParam) : GET_Y_LPARAM(lParam);
            int size = dpi().Unscale(std::max(0, pos - sizing_.offset - sizing_.start));
            if (sizing_.columns)
                model_.SetColWidth(sizing_.index, size);
            else
                model_.SetRowHeight(sizing_.index, size);
            UpdateScrollBars();
            Invalidate();
        }
        return 0;
    case WM_LBUTTONUP:
        if (sizing_.active)
            ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        sizing_.active = false;
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT point;
            GetCursorPos(&point);
            ScreenToClient(handle(), &point);
            if (Sizing sizing = BorderAt(point.x, point.y); sizing.active) {
                SetCursor(LoadCursorW(nullptr, sizing.columns ? IDC_SIZEWE : IDC_SIZENS));
                return TRUE;
            }
        }
        break;
    case WM_VSCROLL:
    case WM_HSCROLL:
        OnScroll(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL: {
        wheelDelta_ += GET_WHEEL_DELTA_WPARAM(wParam);
        int lines = wheelDelta_ / WHEEL_DELTA * 3;
        wheelDelta_ %= WHEEL_DELTA;
        if (lines != 0)
            ScrollTo(topRow_ - lines, leftCol_);
        return 0;
    }
    case WM_DESTROY:
        editing_ = false; // an edit open while the window goes is dropped
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}
