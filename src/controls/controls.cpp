#include "controls.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "win/encoding.h"

bool Button::Create(Widget& parent, const Text& caption, const Bounds& bounds) {
    return Control::Create(parent, WC_BUTTONW, caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, bounds);
}

Button::~Button() {
    if (glyphs_)
        ImageList_Destroy(glyphs_);
}

namespace {

// A copy of the bitmap stretched to the given size. Nearest pixels (COLORONCOLOR) keep a
// transparent colour exact; HALFTONE smooths a picture.
UniqueGdiObject StretchedCopy(HBITMAP bitmap, int width, int height, int mode) {
    BITMAP info = {};
    if (!GetObjectW(bitmap, sizeof info, &info) || width < 1 || height < 1)
        return {};
    HDC screen = GetDC(nullptr);
    UniqueGdiObject copy(CreateCompatibleBitmap(screen, width, height));
    HDC source = CreateCompatibleDC(screen);
    HDC target = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (copy && source && target) {
        SelectObjectScope from(source, bitmap);
        SelectObjectScope into(target, copy.get());
        SetStretchBltMode(target, mode);
        SetBrushOrgEx(target, 0, 0, nullptr);
        StretchBlt(target, 0, 0, width, height, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
    if (target)
        DeleteDC(target);
    if (source)
        DeleteDC(source);
    return copy;
}

} // namespace

bool Button::SetGlyph(HBITMAP glyph, int numGlyphs) {
    BITMAP info = {};
    if (!GetObjectW(glyph, sizeof info, &info) || numGlyphs < 1 || info.bmWidth < numGlyphs)
        return false;
    UniqueGdiObject copy(CopyImage(glyph, IMAGE_BITMAP, 0, 0, 0));
    if (!copy)
        return false;
    UniqueGdiObject previous = std::exchange(glyph_, std::move(copy));
    const int previousCount = std::exchange(numGlyphs_, numGlyphs);
    if (ShowGlyph())
        return true;
    glyph_ = std::move(previous);
    numGlyphs_ = previousCount;
    return false;
}

// Puts the glyph into an image list at the button's DPI.
bool Button::ShowGlyph() {
    BITMAP info = {};
    if (!glyph_ || !GetObjectW(glyph_.get(), sizeof info, &info))
        return false;
    const DpiScale scale = dpi();
    const int width96 = info.bmWidth / numGlyphs_, height96 = info.bmHeight;
    const int width = scale.Scale(width96), height = scale.Scale(height96);
    UniqueGdiObject scaled;
    if (scale.dpi() != 96) {
        scaled = StretchedCopy(static_cast<HBITMAP>(glyph_.get()), width * numGlyphs_, height, COLORONCOLOR);
        if (!scaled)
            return false;
    }
    HGDIOBJ glyph = scaled ? scaled.get() : glyph_.get();
    HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 6, 0);
    if (!list)
        return false;
    // One image per button state (normal, hot, pressed, disabled, default, stylus hot):
    // the second glyph serves the disabled state only.
    HDC screen = GetDC(nullptr);
    HDC source = CreateCompatibleDC(screen);
    HDC target = CreateCompatibleDC(screen);
    COLORREF transparent = 0;
    {
        SelectObjectScope selected(source, glyph);
        transparent = GetPixel(source, 0, height - 1);
        for (int state = 0; state < 6; ++state) {
            const int index = state == 3 && numGlyphs_ >= 2 ? 1 : 0;
            UniqueGdiObject image(CreateCompatibleBitmap(screen, width, height));
            {
                SelectObjectScope into(target, image.get());
                BitBlt(target, 0, 0, width, height, source, index * width, 0, SRCCOPY);
            }
            ImageList_AddMasked(list, static_cast<HBITMAP>(image.get()), transparent);
        }
    }
    DeleteDC(target);
    DeleteDC(source);
    ReleaseDC(nullptr, screen);
    const int margin = scale.Scale(2);
    BUTTON_IMAGELIST images = {list, {margin, 0, margin, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
    if (!SendMessageW(handle(), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images))) {
        ImageList_Destroy(list);
        return false;
    }
    if (glyphs_)
        ImageList_Destroy(glyphs_);
    glyphs_ = list;
    InvalidateRect(handle(), nullptr, TRUE);
    return true;
}

LRESULT Button::HandleControlMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DPICHANGED_AFTERPARENT && glyph_)
        ShowGlyph();
    return Control::HandleControlMessage(message, wParam, lParam);
}

bool Button::OnCommand(WORD code) {
    if (code != BN_CLICKED || !onClick)
        return false;
    onClick();
    return true;
}

bool CheckBox::Create(Widget& parent, const Text& caption, const Bounds& bounds) {
    return CreateWithStyle(parent, caption, bounds, WS_TABSTOP | BS_AUTOCHECKBOX);
}

bool CheckBox::CreateWithStyle(Widget& parent, const Text& caption, const Bounds& bounds, DWORD style) {
    return Control::Create(parent, WC_BUTTONW, caption, WS_VISIBLE | style, 0, bounds);
}

bool CheckBox::checked() const {
    return SendMessageW(handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) {
    SendMessageW(handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::OnCommand(WORD code) {
    if (code != BN_CLICKED || !onClick)
        return false;
    onClick();
    return true;
}

bool RadioButton::Create(Widget& parent, const Text& caption, const Bounds& bounds, bool firstOfGroup) {
    return CreateWithStyle(parent, caption, bounds,
                           BS_AUTORADIOBUTTON | BS_NOTIFY | (firstOfGroup ? WS_GROUP | WS_TABSTOP : 0));
}

bool RadioButton::OnCommand(WORD code) {
    if (code == BN_DOUBLECLICKED && onDoubleClick) {
        onDoubleClick();
        return true;
    }
    return CheckBox::OnCommand(code);
}

bool RadioGroup::Create(Widget& parent, const Text& caption, const Bounds& bounds,
                        const std::vector<Text>& items, int columns) {
    if (!Control::Create(parent, WC_BUTTONW, caption, WS_VISIBLE | BS_GROUPBOX, 0, bounds))
        return false;
    // The buttons are the group box's siblings, so the parent's keyboard handling and
    // reflection reach them.
    const int top = 18, bottom = 6, side = 8;
    int count = static_cast<int>(items.size());
    columns = std::max(1, std::min(columns, std::max(count, 1)));
    int rows = (count + columns - 1) / columns;
    int rowHeight = rows == 0 ? 0 : std::max(16, (bounds.height - top - bottom) / rows);
    int columnWidth = (bounds.width - 2 * side) / columns;
    for (int i = 0; i < count; ++i) {
        auto button = std::make_unique<RadioButton>();
        button->Create(parent, items[static_cast<size_t>(i)],
                       {bounds.left + side + (i / rows) * columnWidth,
                        bounds.top + top + (i % rows) * rowHeight, columnWidth, 16},
                       i == 0);
        button->onClick = [this] {
            if (onClick)
                onClick();
        };
        buttons_.push_back(std::move(button));
    }
    return true;
}

int RadioGroup::itemIndex() const {
    for (size_t i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i]->checked())
            return static_cast<int>(i);
    }
    return -1;
}

void RadioGroup::SetItemIndex(int index) {
    for (size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->SetChecked(static_cast<int>(i) == index);
}

void RadioGroup::FocusSelected() {
    if (buttons_.empty())
        return;
    buttons_[static_cast<size_t>(std::max(0, itemIndex()))]->Focus();
}

bool Label::Create(Widget& parent, const Text& caption, const Bounds& bounds, DWORD alignment) {
    return Control::Create(parent, WC_STATICW, caption, WS_VISIBLE | alignment, 0, bounds);
}

bool GroupBox::Create(Widget& parent, const Text& caption, const Bounds& bounds) {
    return Control::Create(parent, WC_BUTTONW, caption, WS_VISIBLE | BS_GROUPBOX, 0, bounds);
}

bool Bevel::Create(Widget& parent, const Bounds& bounds, Shape shape) {
    DWORD style = shape == Frame ? SS_ETCHEDFRAME : shape == HorizontalLine ? SS_ETCHEDHORZ : SS_ETCHEDVERT;
    return Control::Create(parent, WC_STATICW, "", WS_VISIBLE | style, 0, bounds);
}

bool Edit::Create(Widget& parent, const Text& text, const Bounds& bounds, DWORD extraStyle) {
    return Control::Create(parent, WC_EDITW, text, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | extraStyle,
                           WS_EX_CLIENTEDGE, bounds);
}

bool Edit::OnCommand(WORD code) {
    const std::function<void()>* handler = code == EN_CHANGE      ? &onChange
                                           : code == EN_SETFOCUS  ? &onEnter
                                           : code == EN_KILLFOCUS ? &onExit
                                                                  : nullptr;
    if (!handler || !*handler)
        return false;
    (*handler)();
    return true;
}

namespace {

const ItemListControl::Messages ComboMessages = {CB_ADDSTRING,    CB_INSERTSTRING, CB_DELETESTRING,
                                                 CB_RESETCONTENT, CB_GETCOUNT,     CB_GETLBTEXTLEN,
                                                 CB_GETLBTEXT};
const ItemListControl::Messages ListMessages = {
    LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT};

} // namespace

void ItemListControl::AddItem(const std::wstring& item) {
    SendMessageW(handle(), messages_.add, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void ItemListControl::InsertItem(size_t index, const std::wstring& item) {
    SendMessageW(handle(), messages_.insert, index, reinterpret_cast<LPARAM>(item.c_str()));
}

void ItemListControl::DeleteItem(size_t index) {
    SendMessageW(handle(), messages_.remove, index, 0);
}

void ItemListControl::ClearItems() {
    SendMessageW(handle(), messages_.reset, 0, 0);
}

size_t ItemListControl::itemCount() const {
    LRESULT count = SendMessageW(handle(), messages_.count, 0, 0);
    return count > 0 ? static_cast<size_t>(count) : 0;
}

std::wstring ItemListControl::wideItem(size_t index) const {
    LRESULT length = SendMessageW(handle(), messages_.textLength, index, 0);
    if (length < 0)
        return std::wstring();
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = SendMessageW(handle(), messages_.text, index, reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return buffer;
}

ComboBox::ComboBox() : ItemListControl(ComboMessages) {}

bool ComboBox::Create(Widget& parent, const Bounds& bounds, int dropHeight) {
    dropHeight_ = dropHeight;
    Bounds withList = bounds;
    withList.height = bounds.height + dropHeight;
    return Control::Create(parent, WC_COMBOBOXW, "",
                           WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0,
                           withList);
}

void ComboBox::AddToHistory(const std::wstring& text, size_t maxItems) {
    std::wstring current = wideText();
    for (size_t i = itemCount(); i-- > 0;) {
        if (wideItem(i) == text)
            DeleteItem(i);
    }
    InsertItem(0, text);
    while (itemCount() > maxItems)
        DeleteItem(itemCount() - 1);
    SetText(current);
}

bool ComboBox::OnCommand(WORD code) {
    if ((code != CBN_EDITCHANGE && code != CBN_SELCHANGE) || !onChange)
        return false;
    onChange();
    return true;
}

ListBox::ListBox() : ItemListControl(ListMessages) {}

bool ListBox::Create(Widget& parent, const Bounds& bounds) {
    return Control::Create(parent, WC_LISTBOXW, "",
                           WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                           WS_EX_CLIENTEDGE, bounds);
}

int ListBox::itemIndex() const {
    return static_cast<int>(SendMessageW(handle(), LB_GETCURSEL, 0, 0));
}

void ListBox::SetItemIndex(int index) {
    SendMessageW(handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool ListBox::OnCommand(WORD code) {
    const std::function<void()>* handler = code == LBN_SELCHANGE ? &onClick
                                           : code == LBN_DBLCLK  ? &onDblClick
                                                                 : nullptr;
    if (!handler || !*handler)
        return false;
    (*handler)();
    return true;
}

bool Image::Create(Widget& parent, const Bounds& bounds, bool centred) {
    return Control::Create(parent, WC_STATICW, "", WS_VISIBLE | SS_ICON | (centred ? SS_CENTERIMAGE : 0), 0,
                           bounds);
}

void Image::SetIcon(HICON icon) {
    LONG style = GetWindowLongW(handle(), GWL_STYLE);
    SetWindowLongW(handle(), GWL_STYLE, (style & ~SS_TYPEMASK) | SS_ICON);
    SendMessageW(handle(), STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    bitmap_ = nullptr; // a DPI change keeps the icon
    scaled_.reset();
}

void Image::SetBitmap(HBITMAP bitmap) {
    bitmap_ = bitmap;
    LONG style = GetWindowLongW(handle(), GWL_STYLE);
    SetWindowLongW(handle(), GWL_STYLE, (style & ~SS_TYPEMASK) | SS_BITMAP);
    ShowBitmap();
}

void Image::ShowBitmap() {
    const DpiScale scale = dpi();
    BITMAP info = {};
    UniqueGdiObject scaled;
    if (scale.dpi() != 96 && bitmap_ && GetObjectW(bitmap_, sizeof info, &info))
        scaled = StretchedCopy(bitmap_, scale.Scale(info.bmWidth), scale.Scale(info.bmHeight), HALFTONE);
    HBITMAP shown = scaled ? static_cast<HBITMAP>(scaled.get()) : bitmap_;
    SendMessageW(handle(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown));
    scaled_ = std::move(scaled); // the copy shown before only once the control let go of it
}

LRESULT Image::HandleControlMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DPICHANGED_AFTERPARENT && bitmap_)
        ShowBitmap();
    return Control::HandleControlMessage(message, wParam, lParam);
}

bool ProgressBar::Create(Widget& parent, const Bounds& bounds) {
    return Control::Create(parent, PROGRESS_CLASSW, "", WS_VISIBLE, 0, bounds);
}

void ProgressBar::SetRange(int minimum, int maximum) {
    SendMessageW(handle(), PBM_SETRANGE32, minimum, maximum);
}

void ProgressBar::SetPosition(int position) {
    SendMessageW(handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int ProgressBar::position() const {
    return static_cast<int>(SendMessageW(handle(), PBM_GETPOS, 0, 0));
}

bool Animation::Create(Widget& parent, const Bounds& bounds) {
    return Control::Create(parent, ANIMATE_CLASSW, "", WS_VISIBLE | ACS_CENTER | ACS_TRANSPARENT, 0, bounds);
}

bool Animation::Open(ShellClip clip) {
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    return SendMessageW(handle(), ACM_OPENW, reinterpret_cast<WPARAM>(shell),
                        reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(clip))) != 0;
}

void Animation::Play() {
    SendMessageW(handle(), ACM_PLAY, static_cast<WPARAM>(-1), MAKELONG(0, -1));
}

void Animation::Stop() {
    SendMessageW(handle(), ACM_STOP, 0, 0);
}

bool Panel::Create(Widget& parent, const Bounds& bounds, bool sunken) {
    WindowParams params;
    params.className = "TPanel";
    params.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    params.exStyle = WS_EX_CONTROLPARENT | (sunken ? WS_EX_STATICEDGE : 0);
    params.parent = parent.handle();
    params.bounds = bounds;
    if (!Window::Create(params))
        return false;
    SetFont(parent.font());
    return true;
}

bool TabControl::Create(Widget& parent, const Bounds& bounds) {
    parent_ = &parent;
    return Control::Create(parent, WC_TABCONTROLW, "", WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, bounds);
}

Panel& TabControl::AddPage(const Text& caption) {
    std::wstring wide = Widen(caption);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = wide.data();
    SendMessageW(handle(), TCM_INSERTITEMW, pages_.size(), reinterpret_cast<LPARAM>(&item));

    // The page covers the display area of the tabs, as a sibling above the tab control.
    RECT area;
    GetClientRect(handle(), &area);
    SendMessageW(handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    MapWindowPoints(handle(), parent_->handle(), reinterpret_cast<POINT*>(&area), 2);
    DpiScale scale = dpi();
    Bounds pageBounds = {scale.Unscale(area.left), scale.Unscale(area.top),
                         scale.Unscale(area.right - area.left), scale.Unscale(area.bottom - area.top)};
    pages_.push_back(std::make_unique<Panel>());
    pages_.back()->Create(*parent_, pageBounds);
    SetWindowPos(pages_.back()->handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ShowSelectedPage();
    return *pages_.back();
}

int TabControl::selectedIndex() const {
    return static_cast<int>(SendMessageW(handle(), TCM_GETCURSEL, 0, 0));
}

void TabControl::SetSelectedIndex(int index) {
    SendMessageW(handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    ShowSelectedPage();
}

void TabControl::ShowSelectedPage() {
    int selected = selectedIndex();
    for (size_t i = 0; i < pages_.size(); ++i)
        pages_[i]->SetVisible(static_cast<int>(i) == selected);
}

bool TabControl::OnNotify(NMHDR* header, LRESULT&) {
    if (header->code != TCN_SELCHANGE)
        return false;
    ShowSelectedPage();
    if (onChange)
        onChange();
    return true;
}
