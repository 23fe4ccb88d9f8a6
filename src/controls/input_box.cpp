#include "input_box.h"

bool TInputBox::Execute(HWND owner) {
    confirmed_ = false;
    if (!CreateForm({"TInputBox", caption, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 340, 96, owner,
                     WS_EX_DLGMODALFRAME}))
        return false;
    Label1.Create(*this, "", {8, 8, 324, 16}, SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS);
    Label1.SetName("Label1");
    Label1.SetText(prompt);
    Edit1.Create(*this, "", {8, 28, 324, 22});
    Edit1.SetName("Edit1");
    Edit1.SetText(value);
    Button1.Create(*this, "OK", {172, 62, 75, 25});
    Button1.SetName("Button1");
    Button2.Create(*this, "ｷｬﾝｾﾙ", {257, 62, 75, 25});
    Button2.SetName("Button2");
    SetDefaultButton(Button1);
    SetCancelButton(Button2);
    Button1.onClick = [this] {
        value = Edit1.wideText();
        confirmed_ = true;
        DestroyWindow(handle());
    };
    Button2.onClick = [this] { DestroyWindow(handle()); };
    if (owner) {
        // Over the owner's top-left area, as a question about what it shows.
        RECT ownerRect;
        GetWindowRect(owner, &ownerRect);
        const int offset = dpi().Scale(24);
        SetWindowPos(handle(), nullptr, ownerRect.left + offset, ownerRect.top + offset, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Edit1.Focus();
    Edit1.SelectAll();
    ShowModal();
    return confirmed_;
}

void TInputBox::OnCloseRequest() {
    DestroyWindow(handle()); // the close box cancels
}

bool InputQuery(HWND owner, const Text& caption, const std::wstring& prompt, std::wstring& value) {
    TInputBox box;
    box.caption = caption;
    box.prompt = prompt;
    box.value = value;
    if (!box.Execute(owner))
        return false;
    value = box.value;
    return true;
}
