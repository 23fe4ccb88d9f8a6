#include "main_form.h"

#include "app.h"
#include "browse_dialog.h"
#include "paths.h"
#include "tool_params.h"
#include "tool_settings.h"
#include "tool_startup.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/process.h"
#include "work_box.h"

namespace {

constexpr int HistoryCapacity = 100;
constexpr int OffScreenTop = -1000;

} // namespace

std::wstring DroppedDestination(const std::wstring& dropped) {
    return GetLongPath(FileExists(dropped) ? ExtractFileDir(dropped) : dropped);
}

Operation OperationAt(long index) {
    return index == 1 ? Operation::Copy : index == 2 ? Operation::Delete : Operation::Move;
}

TFerroxMainForm::TFerroxMainForm(std::vector<std::wstring> items) : items_(std::move(items)) {}

bool TFerroxMainForm::Create() {
    if (!CreateToolWindow(Tools::Ferrox, 397, 123, true))
        return false;
    // Tab order follows creation: the path box is the first control that takes the focus.
    CreateIcon(Image1);
    Label1.Create(*this, "ﾊﾟｽ(&O):", {16, 60, 62, 16});
    Label1.SetName("Label1");
    ComboBox1.Create(*this, {80, 56, 305, 22}, 200);
    ComboBox1.SetName("ComboBox1");
    RadioGroup1.Create(*this, "区分", {80, 8, 305, 41}, {"移動(&M)", "ｺﾋﾟｰ(&C)", "削除(&D)"}, 3);
    RadioGroup1.SetName("RadioGroup1");
    Button1.Create(*this, "OK(&Y)", {150, 90, 75, 25});
    Button1.SetName("Button1");
    Button2.Create(*this, "ｷｬﾝｾﾙ(&N)", {230, 90, 75, 25});
    Button2.SetName("Button2");
    Button3.Create(*this, "参照(&B)...", {310, 90, 75, 25});
    Button3.SetName("Button3");
    SetDefaultButton(Button1);
    Button1.onClick = [this] { Button1Click(); };
    Button2.onClick = [this] { Close(); };
    Button3.onClick = [this] { Button3Click(); };
    RadioGroup1.onClick = [this] { RadioGroup1Click(); };
    Timer1.SetHandler([this] { Timer1Timer(); });
    Timer1.SetEnabled(true);

    // Usable-item check: without anything to work on, the window waits off the screen for
    // its first tick, which shows the version box and ends the tool.
    usable_ = !items_.empty();
    if (!usable_) {
        SetWindowPos(handle(), nullptr, 100, OffScreenTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        BecomeMainWindow();
        Show();
        return true;
    }
    RestorePosition({100, 100, Placement::PlatformDefault});
    BecomeMainWindow();
    // The handler is in place before any drop can arrive; the window takes drops from its
    // first tick on.
    Application::SetDropHandler([this](const std::vector<std::wstring>& paths) {
        SetForegroundWindow(handle());
        if (!paths.empty())
            ComboBox1.SetText(DroppedDestination(paths.front()));
    });
    RadioGroup1.SetItemIndex(static_cast<int>(OperationAt(DataReadInteger("History", "Division", 1) - 1)));
    RadioGroup1Click();
    FillHistory(DataReadHistory("History", "Path", HistoryCapacity));
    ComboBox1.SetText(DataReadWide("History", "Path1", std::wstring()));
    Show();
    ComboBox1.Focus();
    return true;
}

void TFerroxMainForm::FillHistory(const std::vector<std::wstring>& history) {
    ComboBox1.ClearItems();
    for (const std::wstring& entry : history)
        ComboBox1.AddItem(entry);
}

Operation TFerroxMainForm::operation() const {
    return OperationAt(RadioGroup1.itemIndex());
}

void TFerroxMainForm::OnCloseRequest() {
    if (work_) {
        // A close request that reaches the disabled window (from the task bar) asks the
        // work to stop instead of pulling the window from under it.
        work_->Close();
        return;
    }
    if (usable_) {
        ToolForm::OnCloseRequest();
        return;
    }
    // Never placed on the screen: its off-screen place is not a position to remember.
    DisableAllPrivileges();
    DestroyWindow(handle());
}

void TFerroxMainForm::Timer1Timer() {
    Timer1.SetEnabled(false);
    if (!usable_) {
        ShowVersionBox();
        Close();
        return;
    }
    SetToolHelpFile();
    Application::AcceptDroppedFiles(handle());
}

void TFerroxMainForm::RadioGroup1Click() {
    bool needsPath = operation() != Operation::Delete;
    ComboBox1.SetEnabled(needsPath);
    Label1.SetEnabled(needsPath);
    Button3.SetEnabled(needsPath);
}

void TFerroxMainForm::Button3Click() {
    TBrowseDialog dialog;
    dialog.Caption =
        operation() == Operation::Move ? "移動先を選択してください。" : "ｺﾋﾟｰ先を選択してください。";
    dialog.Directory = ComboBox1.wideText();
    if (dialog.Execute())
        ComboBox1.SetText(dialog.Directory);
}

void TFerroxMainForm::Button1Click() {
    Operation chosen = operation();
    std::wstring path = ComboBox1.wideText();
    if (chosen != Operation::Delete && TrimBlanks(path).empty()) {
        DataMessage(chosen == Operation::Move ? "移動先のﾌｫﾙﾀﾞを入力してください。"
                                              : "ｺﾋﾟｰ先のﾌｫﾙﾀﾞを入力してください。",
                    "", MB_ICONSTOP | MB_OK);
        ComboBox1.Focus();
        return;
    }
    DataWriteInteger("History", "Division", static_cast<long>(chosen) + 1);
    std::vector<std::wstring> earlier;
    for (size_t i = 0; i < ComboBox1.itemCount(); ++i)
        earlier.push_back(ComboBox1.wideItem(i));
    std::vector<std::wstring> history = PushHistory(earlier, path, HistoryCapacity);
    DataWriteHistory("History", "Path", history);
    FillHistory(history);
    ComboBox1.SetText(path);

    TWorkBox box({chosen, path, items_});
    work_ = &box;
    WorkResult result = box.Execute(handle());
    work_ = nullptr;
    // A stopped run leaves the window open for another try.
    if (result == WorkResult::Normal)
        Close();
}
