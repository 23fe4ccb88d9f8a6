// The manual's pages the programs open: each window's context number and the page that
// explains it. The help project's alias and map tables are made from this one table when
// the manual is built (help/CMakeLists.txt reads it as text: keep one entry a line).
#pragma once

enum HelpContextId : unsigned long {
    HelpMenus = 100, // the tray menu and the settings window's menu bar
    HelpAbout = 300,
    HelpFerrox = 510,
    HelpFerroxWork = 511,
    HelpFerroxOverwrite = 512,
    HelpSlumbo = 520,
    HelpKickon = 530,
    HelpTezzo = 540,
    HelpHalto = 550,
};

struct HelpTopic {
    HelpContextId context;
    const wchar_t* page;
};

inline constexpr HelpTopic HelpTopics[] = {
    {HelpMenus, L"tray_menu.htm"},
    {HelpAbout, L"about.htm"},
    {HelpFerrox, L"ferrox.htm"},
    {HelpFerroxWork, L"ferrox_progress.htm"},
    {HelpFerroxOverwrite, L"ferrox_overwrite.htm"},
    {HelpSlumbo, L"slumbo.htm"},
    {HelpKickon, L"kickon.htm"},
    {HelpTezzo, L"tezzo.htm"},
    {HelpHalto, L"halto.htm"},
};

// The manual, beside the programs.
inline constexpr const wchar_t* ManualFileName = L"Lumera.chm";

// The manual's window type (help/Lumera.hhp.in, [WINDOWS]): every request names it, so
// the program keeps one viewer window instead of opening another for each request.
inline constexpr const wchar_t* ManualWindowType = L"main";

// The page on using the manual, for "ﾍﾙﾌﾟの使い方(&U)" (help on help).
inline constexpr const wchar_t* HelpHowToPage = L"howto.htm";
