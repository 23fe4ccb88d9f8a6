#include "setup_data.h"

#include <windows.h>

#include "paths.h"
#include "win/encoding.h"
#include "win/files.h"
#include "win/folders.h"
#include "win/profile_file.h"

const char* const SetupInformation = "Infomation";
const char* const SetupLicence = "Licence";
const char* const SetupReadme = "Readme";
const char* const SetupInstall = "Install";
const char* const SetupUninstall = "UnInstall";
const char* const SetupRun = "Run";

namespace {

struct StyledLineDefaults {
    const char* prefix;
    const char* textKey;
    long fontColor;
    long fontSize;
    long shadowColor;
    long shadowOffset;
};

constexpr long Aqua = 16776960;
constexpr long Lime = 65280;
constexpr long Grey = 8421504;
constexpr long Black = 0;

const StyledLineDefaults& DefaultsOf(StyledLineKind kind) {
    static const StyledLineDefaults table[] = {
        {"App", "AppName", Aqua, 28, Black, 2},
        {"Ver", "Version", Aqua, 14, Black, 1},
        {"Copy", "Copyright", Lime, 14, Grey, 1},
        {"Mes", "Message", Lime, 14, Grey, 1},
    };
    return table[static_cast<int>(kind)];
}

} // namespace

bool TextFileHoldsALine(const std::wstring& file) {
    if (file.empty() || !FileExists(file))
        return false;
    auto bytes = ReadFileBytes(file);
    return bytes && !bytes->empty();
}

SetupData::SetupData(std::wstring setupFolder)
    : folder_(std::move(setupFolder)), file_(JoinPath(folder_, std::wstring(L"Setup.dat"))) {}

SetupData SetupData::BesideProgram() {
    return SetupData(RunningProgramFolder());
}

bool SetupData::Exists() const {
    return FileExists(file_);
}

Text SetupData::ReadString(const Text& section, const Text& key, const Text& defaultValue) const {
    return IniReadString(file_, section, key, defaultValue);
}

long SetupData::ReadInteger(const Text& section, const Text& key, long defaultValue) const {
    return IniReadInteger(file_, section, key, defaultValue);
}

bool SetupData::ReadSwitch(const Text& section, const Text& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) == 1;
}

std::vector<Text> SetupData::ReadList(const Text& section, const Text& stem) const {
    return IniReadList(file_, section, stem);
}

std::wstring SetupData::FileInFolder(const Text& section, const Text& key) const {
    Text name = ReadString(section, key, Text());
    return name.empty() ? std::wstring() : JoinPath(folder_, Widen(name));
}

Text SetupData::AppName() const {
    return ReadString(SetupInformation, "AppName", Text());
}

std::wstring SetupData::MainBmpFile() const {
    return FileInFolder(SetupInformation, "MainBmp");
}

long SetupData::WallColor() const {
    return ReadInteger(SetupInformation, "WallColor", Black);
}

long SetupData::Gradation() const {
    return ReadInteger(SetupInformation, "Gradation", 3);
}

long SetupData::Red() const {
    return ReadInteger(SetupInformation, "Red", 0);
}

long SetupData::Green() const {
    return ReadInteger(SetupInformation, "Green", 0);
}

long SetupData::Blue() const {
    return ReadInteger(SetupInformation, "Blue", 0);
}

std::wstring SetupData::WallBmpFile() const {
    // Beside "Setup.dat", which is the setup program's folder.
    return FileInFolder(SetupInformation, "WallBmp");
}

Text SetupData::Morivane() const {
    return ReadString(SetupInformation, "Morivane", Text());
}

StyledLine SetupData::ReadStyledLine(StyledLineKind kind) const {
    const StyledLineDefaults& d = DefaultsOf(kind);
    Text p = d.prefix;
    StyledLine line;
    line.text = ReadString(SetupInformation, d.textKey, Text());
    line.fontColor = ReadInteger(SetupInformation, p + "FontColor", d.fontColor);
    line.fontName = ReadString(SetupInformation, p + "FontName", "ＭＳ Ｐゴシック");
    line.fontSize = ReadInteger(SetupInformation, p + "FontSize", d.fontSize);
    line.bold = ReadSwitch(SetupInformation, p + "FontBold", true);
    line.italic = ReadSwitch(SetupInformation, p + "FontItalic", true);
    line.underline = ReadSwitch(SetupInformation, p + "FontUnderline", false);
    line.strikeOut = ReadSwitch(SetupInformation, p + "FontStrikeOut", false);
    line.shadowColor = ReadInteger(SetupInformation, p + "ShadowColor", d.shadowColor);
    line.shadowLeft = ReadInteger(SetupInformation, p + "ShadowLeft", d.shadowOffset);
    line.shadowTop = ReadInteger(SetupInformation, p + "ShadowTop", d.shadowOffset);
    line.shadowVisible = ReadSwitch(SetupInformation, p + "ShadowVisible", true);
    return line;
}

std::wstring SetupData::LicenceFile() const {
    return FileInFolder(SetupLicence, "TextFile");
}

Text SetupData::ReadmeCaption() const {
    return ReadString(SetupReadme, "Caption", "Readme");
}

std::wstring SetupData::ReadmeFile() const {
    return FileInFolder(SetupReadme, "TextFile");
}

Text SetupData::InstallPath() const {
    return ReadString(SetupInstall, "Path", Text());
}

Text SetupData::Capacity() const {
    return ReadString(SetupInstall, "Capacity", "不明");
}

Text SetupData::StartPath() const {
    return ReadString(SetupInstall, "StartPath", AppName());
}

bool SetupData::UninstallVisible() const {
    return ReadSwitch(SetupUninstall, "Visible", false);
}

Text SetupData::DisplayVersion() const {
    return ReadString(SetupUninstall, "DisplayVersion", "");
}

Text SetupData::Publisher() const {
    return ReadString(SetupUninstall, "Publisher", "");
}

RunOption SetupData::ReadRunOption(int index) const {
    Text n = std::to_string(index);
    RunOption option;
    option.caption = ReadString(SetupRun, "Caption" + n, Text());
    option.checked = ReadSwitch(SetupRun, "Checked" + n, false);
    option.program = ReadString(SetupRun, "Program" + n, Text());
    return option;
}
