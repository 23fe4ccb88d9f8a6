#include "kickon_form.h"

#include "app.h"
#include "kickon_core.h"
#include "tool_identity.h"
#include "tool_startup.h"
#include "win/folders.h"

namespace {

constexpr int FormWidth = 321;
// Three lines of the label in the suite's font need more than the classic 97.
constexpr int FormHeight = 109;

std::wstring ShortProgramPath() {
    std::wstring self = RunningProgramPath();
    return self.empty() ? self : GetShortPath(self);
}

ClassesStore Store() {
    return AssociationStore(GetPlatformFamily() == PlatformNT);
}

} // namespace

bool TKickonMainForm::FormCreate() {
    if (!CreateToolWindow(Tools::Kickon, FormWidth, FormHeight, false))
        return false;
    SetToolHelpFile();
    CreateIcon(Image1);
    Label1.Create(*this, "CD-ROM等に入っている「AUTORAN.INF」をﾀﾞﾌﾞﾙｸﾘｯｸで実行できるように関連付けします。",
                  {64, 16, 241, 48});
    Label1.SetName("Label1");
    // Creation order is the tab order: Cancel first, so it holds the focus at start.
    Button3.Create(*this, "ｷｬﾝｾﾙ", {230, 74, 75, 25});
    Button3.SetName("Button3");
    Button3.onClick = [this] { Button3Click(); };
    Button1.Create(*this, "する(&Y)", {70, 74, 75, 25});
    Button1.SetName("Button1");
    Button1.onClick = [this] { Button1Click(); };
    Button2.Create(*this, "しない(&N)", {150, 74, 75, 25});
    Button2.SetName("Button2");
    Button2.onClick = [this] { Button2Click(); };

    shortProgram_ = ShortProgramPath();
    bool offered = AssociationOffered(DoubleClickCommand(L".inf"), shortProgram_);
    Button1.SetEnabled(offered);
    Button2.SetEnabled(!offered);

    BecomeMainWindow();
    RestorePosition(CentredRule());
    return true;
}

void TKickonMainForm::Button1Click() {
    WriteAssociation(Store(), shortProgram_);
    Close();
}

void TKickonMainForm::Button2Click() {
    RemoveAssociation(Store());
    Close();
}

void TKickonMainForm::Button3Click() {
    Close();
}
