// The platform's standard controls, created from a form's 96-DPI positions, with their
// notifications turned into handlers.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <vector>

#include "control.h"
#include "gdi.h"
#include "win/encoding.h"
#include "window.h"

class Button : public Control {
public:
    ~Button() override;
    bool Create(Widget& parent, const Text& caption, const Bounds& bounds);
    std::function<void()> onClick;
    void Click() { SendMessageW(handle(), BM_CLICK, 0, 0); }
    bool OnCommand(WORD code) override;
    // A picture left of the caption: numGlyphs images side by side, the first for the
    // enabled button, the second (when present) for the disabled one. The bottom-left
    // pixel's colour is transparent. The bitmap is copied; the caller keeps it. Its
    // pixels are 96-DPI pixels: the button shows it scaled to its DPI.
    bool SetGlyph(HBITMAP glyph, int numGlyphs);

protected:
    LRESULT HandleControlMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool ShowGlyph();

    UniqueGdiObject glyph_; // the copy, kept to scale again for another DPI
    int numGlyphs_ = 0;
    HIMAGELIST glyphs_ = nullptr;
};

class CheckBox : public Control {
public:
    bool Create(Widget& parent, const Text& caption, const Bounds& bounds);
    bool checked() const;
    void SetChecked(bool checked);
    std::function<void()> onClick;
    bool OnCommand(WORD code) override;

protected:
    bool CreateWithStyle(Widget& parent, const Text& caption, const Bounds& bounds, DWORD style);
};

class RadioButton : public CheckBox {
public:
    // The first button of a group starts a new group for arrow-key navigation.
    bool Create(Widget& parent, const Text& caption, const Bounds& bounds, bool firstOfGroup = false);
    // A double click on the button (it reports one: BS_NOTIFY); the first click has checked it.
    std::function<void()> onDoubleClick;
    bool OnCommand(WORD code) override;
};

// A group box holding radio buttons, one per item, in columns filled one after the other
// (with 4 items in 2 columns, items 1 and 2 form the first column).
class RadioGroup : public Control {
public:
    bool Create(Widget& parent, const Text& caption, const Bounds& bounds, const std::vector<Text>& items,
                int columns = 1);
    int itemIndex() const;
    void SetItemIndex(int index);
    size_t itemCount() const { return buttons_.size(); }
    // Gives the keyboard focus to the selected item (the first when none is), as the Tab
    // key does when it reaches the group.
    void FocusSelected();
    std::function<void()> onClick;

private:
    std::vector<std::unique_ptr<RadioButton>> buttons_;
};

class Label : public Control {
public:
    // "&X" in the caption moves the focus to the next control in tab order.
    bool Create(Widget& parent, const Text& caption, const Bounds& bounds, DWORD alignment = SS_LEFT);
};

class GroupBox : public Control {
public:
    bool Create(Widget& parent, const Text& caption, const Bounds& bounds);
};

class Bevel : public Control {
public:
    enum Shape { Frame, HorizontalLine, VerticalLine };
    bool Create(Widget& parent, const Bounds& bounds, Shape shape = Frame);
};

class Edit : public Control {
public:
    bool Create(Widget& parent, const Text& text, const Bounds& bounds, DWORD extraStyle = 0);
    void SetReadOnly(bool readOnly) { SendMessageW(handle(), EM_SETREADONLY, readOnly, 0); }
    bool readOnly() const { return (GetWindowLongW(handle(), GWL_STYLE) & ES_READONLY) != 0; }
    void SelectAll() { SendMessageW(handle(), EM_SETSEL, 0, -1); }
    std::function<void()> onChange, onEnter, onExit;
    bool OnCommand(WORD code) override;
};

// What a combo box and a list box share: a list of strings. Items that carry names (a
// path, a file) keep them in the wide form; the Text forms are for the programs' texts.
class ItemListControl : public Control {
public:
    void AddItem(const Text& item) { AddItem(Widen(item)); }
    void AddItem(const std::wstring& item);
    void InsertItem(size_t index, const std::wstring& item);
    void DeleteItem(size_t index);
    void ClearItems();
    size_t itemCount() const;
    Text item(size_t index) const { return Narrow(wideItem(index)); }
    std::wstring wideItem(size_t index) const;

    // The platform's messages for the operations above (CB_* or LB_*).
    struct Messages {
        UINT add, insert, remove, reset, count, textLength, text;
    };

protected:
    explicit ItemListControl(const Messages& messages) : messages_(messages) {}

private:
    const Messages& messages_;
};

class ComboBox : public ItemListControl {
public:
    ComboBox();
    // A drop-down with an edit field; the list keeps what was entered before.
    bool Create(Widget& parent, const Bounds& bounds, int dropHeight = 150);
    // The height of the drop-down list in 96-DPI pixels.
    int dropHeight() const { return dropHeight_; }
    // Puts the text at the top of the list, removing an equal older entry and keeping at
    // most maxItems entries.
    void AddToHistory(const Text& text, size_t maxItems) { AddToHistory(Widen(text), maxItems); }
    void AddToHistory(const std::wstring& text, size_t maxItems);
    std::function<void()> onChange;
    bool OnCommand(WORD code) override;

private:
    int dropHeight_ = 0;
};

class ListBox : public ItemListControl {
public:
    ListBox();
    bool Create(Widget& parent, const Bounds& bounds);
    int itemIndex() const;
    void SetItemIndex(int index);
    std::function<void()> onClick, onDblClick;
    bool OnCommand(WORD code) override;
};

class Image : public Control {
public:
    bool Create(Widget& parent, const Bounds& bounds, bool centred = true);
    void SetIcon(HICON icon); // not owned
    // Not owned. Its pixels are 96-DPI pixels: at another DPI the control shows a copy
    // stretched by the same factor as the form's positions.
    void SetBitmap(HBITMAP bitmap);

protected:
    LRESULT HandleControlMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowBitmap();

    HBITMAP bitmap_ = nullptr;
    UniqueGdiObject scaled_; // the stretched copy on show, when the DPI is not 96
};

class ProgressBar : public Control {
public:
    bool Create(Widget& parent, const Bounds& bounds);
    void SetRange(int minimum, int maximum);
    void SetPosition(int position);
    int position() const;
};

// The shell's animations of file operations.
class Animation : public Control {
public:
    enum ShellClip { FileMove = 160, FileCopy = 161, RecycleDelete = 162, FileDelete = 164 };
    bool Create(Widget& parent, const Bounds& bounds);
    bool Open(ShellClip clip);
    void Play();
    void Stop();
};

// A container for other controls, drawn as the form's background or as a sunken frame.
class Panel : public Window {
public:
    bool Create(Widget& parent, const Bounds& bounds, bool sunken = false);
};

// Tabs above pages; each page is a panel shown only while its tab is selected.
class TabControl : public Control {
public:
    bool Create(Widget& parent, const Bounds& bounds);
    Panel& AddPage(const Text& caption);
    size_t pageCount() const { return pages_.size(); }
    Panel& page(size_t index) { return *pages_[index]; }
    int selectedIndex() const;
    void SetSelectedIndex(int index); // fires no onChange, as for a change from code
    std::function<void()> onChange;
    bool OnNotify(NMHDR* header, LRESULT& result) override;

private:
    void ShowSelectedPage();
    Widget* parent_ = nullptr;
    std::vector<std::unique_ptr<Panel>> pages_;
};
