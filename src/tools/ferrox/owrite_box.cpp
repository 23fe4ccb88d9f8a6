#include "owrite_box.h"

#include <algorithm>
#include <cwctype>

#include "help_topics.h"
#include "paths.h"
#include "pictures.h"
#include "tool_settings.h"
#include "win/file_facts.h"

bool IsShortcutName(const std::wstring& path) {
    std::wstring extension = ExtractFileExt(path);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; });
    return extension == L".LNK";
}

int CompareModified(const std::wstring& a, const std::wstring& b) {
    WIN32_FILE_ATTRIBUTE_DATA first, second;
    if (!GetFileAttributesExW(a.c_str(), GetFileExInfoStandard, &first) ||
        !GetFileAttributesExW(b.c_str(), GetFileExInfoStandard, &second))
        return 0;
    return CompareFileTime(&first.ftLastWriteTime, &second.ftLastWriteTime);
}

OverwriteAnswer TOWriteBox::Execute(HWND owner, const OverwriteQuestion& question) {
    // Closed without a button, the question leaves the file as it is.
    answer_ = {question.preselected, false, true};
    helpContext_ = HelpFerroxOverwrite;
    if (!CreateForm({"TOWriteBox", "同名のﾌｧｲﾙが存在します",
                     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 377, 217, owner,
                     WS_EX_DLGMODALFRAME}))
        return answer_;
    Fill(question);
    RestorePosition({100, 100, Placement::PlatformDefault}, "OWriteTop", "OWriteLeft", true);
    RadioGroup1.FocusSelected();
    ShowModal();
    return answer_;
}

void TOWriteBox::Fill(const OverwriteQuestion& question) {
    const DWORD pathStyle = SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS;
    bool shortcut = IsShortcutName(question.source);
    int newer = CompareModified(question.source, question.destination);
    arrow_ = MakeShortcutArrow();
    marker_ = MakeNewerMarker();

    struct Block {
        Label &heading, &path, &description;
        Image &icon, &arrow, &marker;
        int top;
        const std::wstring& file;
        UniqueIcon& iconHandle;
        bool markNewer;
    };
    Block blocks[] = {
        {Label1, Label2, Label3, Image1, Image2, Image3, 0, question.source, sourceIcon_, newer > 0},
        {Label4, Label5, Label6, Image4, Image5, Image6, 56, question.destination, destinationIcon_,
         newer < 0},
    };
    int number = 0;
    for (Block& block : blocks) {
        block.heading.Create(*this,
                             question.move ? (block.top == 0 ? "移動元" : "移動先")
                                           : (block.top == 0 ? "ｺﾋﾟｰ元" : "ｺﾋﾟｰ先"),
                             {8, block.top + 8, 54, 16});
        block.path.Create(*this, "", {64, block.top + 8, 305, 16}, pathStyle);
        block.path.SetText(block.file);
        block.description.Create(*this, "", {64, block.top + 24, 305, 16}, SS_LEFT | SS_NOPREFIX);
        block.description.SetText(GetFileDescription(block.file));
        // The arrow lies over the icon's lower left corner, so it is made first (on top).
        block.arrow.Create(*this, {16, block.top + 45, 11, 11}, false);
        block.arrow.SetBitmap(static_cast<HBITMAP>(arrow_.get()));
        block.arrow.SetVisible(shortcut);
        block.icon.Create(*this, {16, block.top + 24, 32, 32});
        block.iconHandle = UniqueIcon(GetFileIcon(block.file));
        block.icon.SetIcon(block.iconHandle.get());
        block.marker.Create(*this, {72, block.top + 44, 33, 11}, false);
        block.marker.SetBitmap(static_cast<HBITMAP>(marker_.get()));
        block.marker.SetVisible(block.markNewer);
        Label* labels[] = {&block.heading, &block.path, &block.description};
        Image* images[] = {&block.icon, &block.arrow, &block.marker};
        for (int i = 0; i < 3; ++i) {
            labels[i]->SetName("Label" + std::to_string(number * 3 + i + 1));
            images[i]->SetName("Image" + std::to_string(number * 3 + i + 1));
        }
        ++number;
    }

    RadioGroup1.Create(
        *this, "複写方法", {8, 120, 361, 57},
        {"新しい時に複写(&T)", "名前を変更して複写(&N)", "上書きで複写(&O)", "複写先の名前を変更(&R)"}, 2);
    RadioGroup1.SetName("RadioGroup1");
    RadioGroup1.SetItemIndex(static_cast<int>(question.preselected));
    Button1.Create(*this, "OK(&Y)", {134, 185, 75, 25});
    Button1.SetName("Button1");
    Button2.Create(*this, "ｷｬﾝｾﾙ(&N)", {214, 185, 75, 25});
    Button2.SetName("Button2");
    Button3.Create(*this, "以降全て(&A)", {294, 185, 75, 25});
    Button3.SetName("Button3");
    SetDefaultButton(Button1);
    Button1.onClick = [this] { Finish(false, false); };
    Button2.onClick = [this] { Finish(false, true); };
    Button3.onClick = [this] { Finish(true, false); };
}

void TOWriteBox::Finish(bool forAll, bool cancelled) {
    answer_.forAll = forAll;
    answer_.cancelled = cancelled;
    Close();
}

void TOWriteBox::OnEscape() {
    if (DataReadInteger("OtherSet", "EscToClose", 1) == 1)
        Finish(false, true);
}

void TOWriteBox::OnCloseRequest() {
    int index = RadioGroup1.itemIndex();
    if (index >= 0)
        answer_.choice = static_cast<OverwriteChoice>(index);
    SavePosition("OWriteTop", "OWriteLeft", true);
    DestroyWindow(handle());
}
