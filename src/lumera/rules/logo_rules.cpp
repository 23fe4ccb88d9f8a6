#include "logo_rules.h"

#include "list_rules.h"
#include "paths.h"
#include "textops.h"

const LogoKind LogoKinds[LogoCount] = {
    {"LogoSys", "LogoFile", "起動.BMP"},
    {"LogowSys", "LogowFile", "再起動.BMP"},
    {"LogosSys", "LogosFile", "終了.BMP"},
};

Text LogoTargetDefault(LogoIndex logo, const Text& bootDir, const Text& windowsDir) {
    if (logo == RestartLogo)
        return JoinPath(windowsDir, "LOGOW.SYS");
    if (logo == ShutdownLogo)
        return JoinPath(windowsDir, "LOGOS.SYS");
    Text root = MbCopy(bootDir, 1, 3);
    // A boot folder given as a bare "C:" must not make a drive-relative name.
    if (root.size() == 2 && root[1] == ':')
        root += '\\';
    return root + "LOGO.SYS";
}

namespace {

template <class String>
int MarkIndexOf(const std::vector<String>& pictureForms, const String& installedForm) {
    if (installedForm.empty())
        return 0;
    int index = 0;
    for (size_t i = 0; i < pictureForms.size(); ++i) {
        if (SamePathForm(pictureForms[i], installedForm))
            index = static_cast<int>(i + 1);
    }
    return index != 0 ? index : static_cast<int>(pictureForms.size() + 1);
}

template <class String> int ChosenIndexOf(const std::vector<String>& picturePaths, const String& chosen) {
    for (size_t i = 0; i < picturePaths.size(); ++i) {
        if (SamePathForm(picturePaths[i], chosen))
            return static_cast<int>(i + 1);
    }
    return static_cast<int>(picturePaths.size() + 1);
}

} // namespace

int LogoMarkIndex(const std::vector<Text>& pictureForms, const Text& installedForm) {
    return MarkIndexOf(pictureForms, installedForm);
}

int LogoMarkIndex(const std::vector<std::wstring>& pictureForms, const std::wstring& installedForm) {
    return MarkIndexOf(pictureForms, installedForm);
}

int ChosenLogoIndex(const std::vector<Text>& picturePaths, const Text& chosen) {
    return ChosenIndexOf(picturePaths, chosen);
}

int ChosenLogoIndex(const std::vector<std::wstring>& picturePaths, const std::wstring& chosen) {
    return ChosenIndexOf(picturePaths, chosen);
}
