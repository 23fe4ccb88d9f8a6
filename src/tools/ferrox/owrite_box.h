// The overwrite question: the source above the destination, each with its icon, its
// description line and the newer-file marker, then the four ways to go on.
#pragma once

#include <string>

#include "controls.h"
#include "gdi.h"
#include "tool_form.h"
#include "work_engine.h"

// A name ending in ".lnk" in any letter case: a shortcut, shown with the arrow.
bool IsShortcutName(const std::wstring& path);
// -1 when a was modified before b, 1 when after, 0 when equal or either time is unknown.
int CompareModified(const std::wstring& a, const std::wstring& b);

class TOWriteBox : public ToolForm {
public:
    // Asks modally above the owner (the progress window).
    OverwriteAnswer Execute(HWND owner, const OverwriteQuestion& question);

protected:
    void OnCloseRequest() override;
    // Its own rule: "EscToClose" (default 1) read at each press; 1 cancels the question.
    void OnEscape() override;

private:
    void Fill(const OverwriteQuestion& question);
    void Finish(bool forAll, bool cancelled);

    Label Label1, Label2, Label3, Label4, Label5, Label6;
    Image Image1, Image2, Image3, Image4, Image5, Image6;
    RadioGroup RadioGroup1;
    Button Button1, Button2, Button3;
    UniqueIcon sourceIcon_, destinationIcon_;
    UniqueGdiObject arrow_, marker_;
    OverwriteAnswer answer_;
};
