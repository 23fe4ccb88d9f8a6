// The installer's data file "Setup.dat", beside the setup program. Every value is read
// from the file when it is asked for, one key at a time, with the default the file's
// tables give; nothing is cached and nothing is ever written, so the wizard and the
// engine read exactly what the file says at the moment they act on it.
//
// Values are CP932 text as written; file names from the file are joined to the setup
// program's folder, which stays UTF-16 ("C:\Users\José\Downloads").
#pragma once

#include <string>
#include <vector>

#include "jjstring.h"

// Sections, spelled as the data file spells them.
extern const char* const SetupInformation; // "Infomation"
extern const char* const SetupLicence;
extern const char* const SetupReadme;
extern const char* const SetupInstall;
extern const char* const SetupUninstall;
extern const char* const SetupRun;

// One of the four styled lines of the background window.
enum class StyledLineKind { App, Ver, Copy, Mes };

struct StyledLine {
    Text text;
    long fontColor = 0; // 0x00BBGGRR
    Text fontName;
    long fontSize = 0; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    long shadowColor = 0;
    long shadowLeft = 0; // pixels
    long shadowTop = 0;
    bool shadowVisible = false;
};

// One check box of the run page.
struct RunOption {
    Text caption; // empty: the box is hidden
    bool checked = false;
    Text program; // command line, path macro allowed
};

// True when the file exists and holds at least one line (any byte at all): the licence
// and readme pages are offered only then.
bool TextFileHoldsALine(const std::wstring& file);

class SetupData {
public:
    // The data file in the given folder (the setup program's folder).
    explicit SetupData(std::wstring setupFolder);
    // The data file beside the running program.
    static SetupData BesideProgram();

    const std::wstring& SetupFolder() const { return folder_; }
    const std::wstring& File() const { return file_; }
    bool Exists() const;

    Text ReadString(const Text& section, const Text& key, const Text& defaultValue) const;
    long ReadInteger(const Text& section, const Text& key, long defaultValue) const;
    // On only for the value 1.
    bool ReadSwitch(const Text& section, const Text& key, bool defaultValue) const;
    // stem1, stem2, ... up to the first empty or missing value; nothing after a gap is read.
    // Entry n of the file is element n - 1.
    std::vector<Text> ReadList(const Text& section, const Text& stem) const;

    // "Infomation"
    Text AppName() const;
    std::wstring MainBmpFile() const; // empty when none is named
    long WallColor() const;
    long Gradation() const; // 1 red, 2 green, 3 blue, anything else: plain colour
    long Red() const;
    long Green() const;
    long Blue() const;
    std::wstring WallBmpFile() const;
    Text Morivane() const;
    StyledLine ReadStyledLine(StyledLineKind kind) const;

    // "Licence" and "Readme"
    std::wstring LicenceFile() const;
    Text ReadmeCaption() const;
    std::wstring ReadmeFile() const;

    // "Install" (paths raw, macros not expanded)
    Text InstallPath() const;
    Text Capacity() const;
    Text StartPath() const; // the AppName when absent

    // "UnInstall"
    bool UninstallVisible() const;
    // Extra rows of the system's uninstall entry; empty when absent, and then no row is written.
    Text DisplayVersion() const;
    Text Publisher() const;

    // "Run", index 1 to 3.
    RunOption ReadRunOption(int index) const;

private:
    std::wstring FileInFolder(const Text& section, const Text& key) const;

    std::wstring folder_;
    std::wstring file_;
};
