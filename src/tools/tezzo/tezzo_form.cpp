#include "tezzo_form.h"

#include "app.h"
#include "paths.h"
#include "tezzo_core.h"
#include "tool_identity.h"
#include "tool_params.h"
#include "tool_settings.h"
#include "tool_startup.h"
#include "win/folders.h"
#include "win/launch.h"

namespace {

constexpr int FormWidth = 397;
constexpr int FormHeight = 123;
constexpr int HistoryCapacity = 100;

} // namespace

bool TTezzoMainForm::FormCreate(const std::vector<std::wstring>& parameters) {
    if (!CreateToolWindow(Tools::Tezzo, FormWidth, FormHeight, true))
        return false;
    SetToolHelpFile();
    CreateIcon(Image1);
    Label1.Create(*this, "実行したいｱﾌﾟﾘｹｰｼｮﾝ名、または開きたいﾌｫﾙﾀﾞやﾄﾞｷｭﾒﾝﾄ名を入力してください。",
                  {80, 16, 297, 34});
    Label1.SetName("Label1");
    // Just before the name box in creation order, so its accelerator focuses the box.
    Label2.Create(*this, "名前(&O):", {24, 60, 54, 16});
    Label2.SetName("Label2");
    ComboBox1.Create(*this, {80, 56, 305, 20});
    ComboBox1.SetName("ComboBox1");
    Button1.Create(*this, "OK(&Y)", {148, 88, 75, 25});
    Button1.SetName("Button1");
    Button1.onClick = [this] { Button1Click(); };
    SetDefaultButton(Button1);
    Button2.Create(*this, "ｷｬﾝｾﾙ(&N)", {229, 88, 75, 25});
    Button2.SetName("Button2");
    Button2.onClick = [this] { Button2Click(); };
    Button3.Create(*this, "参照(&B)...", {310, 88, 75, 25});
    Button3.SetName("Button3");
    Button3.onClick = [this] { Button3Click(); };

    const DpiScale scale = dpi(); // the gaps to the screen's edges are 96-DPI pixels
    FitTexts();                   // the gap below is kept at the height the window shows with
    RestorePosition({GetSystemMetrics(SM_CYSCREEN) - windowHeight() - scale.Scale(36), scale.Scale(40),
                     Placement::Centred});
    ShowHistory(DataReadHistory("History", "Name", HistoryCapacity));
    ComboBox1.SetText(InitialName(parameters));
    BecomeMainWindow();

    OpenDialog1.title = "ﾌｧｲﾙの参照";
    OpenDialog1.filter = TezzoFilter;
    OpenDialog1.fileMustExist = true;
    OpenDialog1.initialDir = DataReadWide("History", "OpenDir", L"");
    OpenDialog1.filterIndex = static_cast<int>(DataReadInteger("History", "OpenFilter", 1));

    Application::SetDropHandler([this](const std::vector<std::wstring>& paths) { FormDropFiles(paths); });
    Application::AcceptDroppedFiles(handle());
    return true;
}

void TTezzoMainForm::ShowHistory(const std::vector<std::wstring>& history) {
    ComboBox1.ClearItems();
    for (const std::wstring& entry : history)
        ComboBox1.AddItem(entry);
}

void TTezzoMainForm::FormDropFiles(const std::vector<std::wstring>& paths) {
    SetForegroundWindow(handle());
    if (!paths.empty())
        ComboBox1.SetText(GetLongPath(paths.front()));
}

void TTezzoMainForm::Button1Click() {
    std::wstring name = ComboBox1.wideText();
    if (TrimBlanks(name).empty()) {
        DataMessage("「名前」を入力してください。", "", MB_ICONSTOP);
        return;
    }
    std::vector<std::wstring> history =
        PushHistory(DataReadHistory("History", "Name", HistoryCapacity), name, HistoryCapacity);
    DataWriteHistory("History", "Name", history);
    DWORD error = StartName(handle(), name);
    if (error == 0) {
        Close();
        return;
    }
    // The user corrects the name in place; the history already holds it.
    DataMessage(StartFailureText(SplitProgram(name), error), "", MB_ICONSTOP);
    ShowHistory(history);
    ComboBox1.SetText(name);
    ComboBox1.Focus();
}

void TTezzoMainForm::Button2Click() {
    Close();
}

void TTezzoMainForm::Button3Click() {
    OpenDialog1.fileName.clear();
    if (!OpenDialog1.Execute(handle()))
        return;
    OpenDialog1.initialDir = ExtractFileDir(OpenDialog1.fileName);
    ComboBox1.SetText(OpenDialog1.fileName);
}

void TTezzoMainForm::OnClosing() {
    DataWriteWide("History", "OpenDir", OpenDialog1.initialDir);
    DataWriteInteger("History", "OpenFilter", OpenDialog1.filterIndex);
}
