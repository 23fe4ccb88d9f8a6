// Platform controls (buttons, edits, lists, ...) as children of a window. Every control
// is subclassed so that its object learns when the window goes away, and so that
// controls with behaviour of their own can filter messages.
#pragma once

#include "widget.h"

class Control : public Widget {
public:
    ~Control() override;

    // Creates the control in the parent's client area at 96-DPI bounds, with the parent's font.
    bool Create(Widget& parent, const wchar_t* platformClass, const Text& text, DWORD style, DWORD exStyle,
                const Bounds& bounds);
    int id() const { return GetDlgCtrlID(handle()); }
    void SetId(int id) { SetWindowLongPtrW(handle(), GWLP_ID, id); }

protected:
    virtual LRESULT HandleControlMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallPlatform(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data) noexcept;
};

// Ids for children: unique within the process, so any control can be the dialog default.
int NextControlId();
