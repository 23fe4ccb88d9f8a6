// The start-up, restart and shutdown logo pictures of the Windows 95 family: the system's
// files they live in, the copies saved at the first start, the three submenus and the
// choice that installs a picture or removes the file.
#include "logo_pictures.h"

#include "list_rules.h"
#include "paths.h"
#include "settings.h"
#include "textops.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"

namespace {

const Text LogoSection = "Logo";

// Compared without regard to ASCII case (SamePathForm), so the short form is enough.
std::wstring ComparedForm(const std::wstring& path) {
    return GetShortPath(path);
}

} // namespace

void LogoPictures::CompleteSettings(const std::wstring& folderList) {
    Text bootDir = GetSetupPath("BootDir");
    Text windowsDir = GetWindowsDir();
    for (int logo = 0; logo < LogoCount; ++logo) {
        const char* target = LogoKinds[logo].targetValue;
        if (GetSettingWide(LogoSection, target, L"").empty())
            SetSettingString(LogoSection, target,
                             LogoTargetDefault(static_cast<LogoIndex>(logo), bootDir, windowsDir));
    }

    // The machine's own pictures are saved whenever the logo folder holds no copy of them,
    // so that "(標準)" and "(なし)" are never the only way back.
    std::wstring folder = FirstFolder(folderList);
    if (folder.empty())
        return;
    if (!DirectoryExists(folder))
        ForceDirectories(folder);
    for (const LogoKind& kind : LogoKinds) {
        std::wstring copy = AddBackslash(folder) + Widen(kind.savedCopyName);
        std::wstring target = GetSettingWide(LogoSection, kind.targetValue, L"");
        bool saved = false;
        if (!FileExists(copy) && !target.empty() && FileExists(target))
            saved = CopyFileW(target.c_str(), copy.c_str(), TRUE) != FALSE;
        if (!SettingExists(LogoSection, kind.fileValue))
            SetSettingWide(LogoSection, kind.fileValue, saved ? copy : std::wstring());
    }
}

MenuItem& LogoPictures::Submenu(LogoIndex logo) {
    return logo == StartupLogo   ? *menu_.LogoRight
           : logo == RestartLogo ? *menu_.LogowRight
                                 : *menu_.LogosRight;
}

void LogoPictures::Forget() {
    FLogoIndex = FLogowIndex = FLogosIndex = 0;
}

void LogoPictures::BuildSubmenus(const std::wstring& folderList,
                                 const MenuItem::Handler (&handlers)[LogoCount]) {
    MenuItem* const submenus[LogoCount] = {menu_.LogoRight, menu_.LogowRight, menu_.LogosRight};
    int* const indexes[LogoCount] = {&FLogoIndex, &FLogowIndex, &FLogosIndex};
    for (MenuItem* submenu : submenus) {
        (*submenu)[0].SetChecked(false);
        submenu->DeleteFrom(1);
    }
    if (!submenus[StartupLogo]->visible && !submenus[RestartLogo]->visible &&
        !submenus[ShutdownLogo]->visible)
        return;

    // One scan; the other two submenus get the same pictures, each with its own action.
    AppendFolderItems(*submenus[StartupLogo], folderList, {L"*.bmp"}, handlers[StartupLogo]);
    std::vector<std::wstring> pictureForms;
    for (size_t i = 1; i < submenus[StartupLogo]->count(); ++i) {
        const MenuItem& picture = (*submenus[StartupLogo])[i];
        pictureForms.push_back(ComparedForm(picture.target));
        for (int logo = RestartLogo; logo < LogoCount; ++logo) {
            MenuItem& copy = submenus[logo]->Add(picture.displayCaption(), handlers[logo]);
            copy.target = picture.target;
            copy.tag = picture.tag;
        }
    }

    for (int logo = 0; logo < LogoCount; ++logo) {
        MenuItem& submenu = *submenus[logo];
        MenuItem& other = submenu.Add("(その他)", handlers[logo]);
        other.tag = static_cast<int>(submenu.count() - 1); // after the add: its own index
        std::wstring installed = GetSettingWide(LogoSection, LogoKinds[logo].fileValue, L"");
        *indexes[logo] =
            LogoMarkIndex(pictureForms, installed.empty() ? std::wstring() : ComparedForm(installed));
        submenu[static_cast<size_t>(*indexes[logo])].SetChecked(true);
    }
}

namespace {

const char* const LogoChangeFailed = "ﾛｺﾞを変更できませんでした。";

// Puts the picture onto the logo's system file, or removes the file when there is none;
// true when the file now is what was asked for.
bool ReplaceLogoFile(const std::wstring& wideTarget, const std::wstring& picture) {
    if (wideTarget.empty())
        return false;
    // A read-only, hidden or system file must not stop the replacement.
    SetFileAttributesW(wideTarget.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    if (!picture.empty())
        return CopyFileW(picture.c_str(), wideTarget.c_str(), FALSE) != FALSE;
    if (DeleteFileW(wideTarget.c_str()))
        return true;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

} // namespace

// Installs the chosen item's picture onto the logo's system file, or removes the file
// for the first item; the mark and the stored value follow only a change that happened.
void LogoPictures::Choose(LogoIndex which, MenuItem& item) {
    MenuItem& submenu = Submenu(which);
    int& index = which == StartupLogo ? FLogoIndex : which == RestartLogo ? FLogowIndex : FLogosIndex;
    const LogoKind& kind = LogoKinds[which];
    size_t count = submenu.count();
    size_t chosenIndex = static_cast<size_t>(item.tag);
    if (chosenIndex >= count)
        return;
    size_t otherIndex = count - 1;
    if (chosenIndex == otherIndex && otherIndex != 0) {
        size_t current = static_cast<size_t>(index);
        std::wstring file = host_.ChooseFile("ﾋﾞｯﾄﾏｯﾌﾟ(*.BMP)|*.bmp|すべてのﾌｧｲﾙ (*.*)|*.*", "bmp", "ﾛｺﾞ参照",
                                             current < count ? submenu[current].target : std::wstring());
        if (file.empty())
            return;
        submenu[otherIndex].target = file;
        std::vector<std::wstring> pictures;
        for (size_t i = 1; i < otherIndex; ++i)
            pictures.push_back(submenu[i].target);
        chosenIndex = static_cast<size_t>(ChosenLogoIndex(pictures, file));
    }

    MenuItem& chosen = submenu[chosenIndex];
    std::wstring target = GetSettingWide(LogoSection, kind.targetValue, L"");
    if (!ReplaceLogoFile(target, chosenIndex != 0 ? chosen.target : std::wstring())) {
        // The mark and the stored value keep telling what the file really holds.
        ShowAppMessage(target + L"\n" + Widen(LogoChangeFailed), "", MB_ICONSTOP | MB_OK);
        return;
    }
    if (static_cast<size_t>(index) < count)
        submenu[static_cast<size_t>(index)].SetChecked(false);
    index = chosen.tag;
    chosen.SetChecked(true);
    SetSettingWide(LogoSection, kind.fileValue, index != 0 ? chosen.target : std::wstring());
}
