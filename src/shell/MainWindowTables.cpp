#include "MainWindowTables.h"

namespace kestrum {
namespace {

constexpr MenuEntryDef kMenus[] = {
    {"mnuFile", -1, "&File", "", true},
    {"mnuFileNew", -1, "&New Profile...", "Ctrl+N", false},
    {"mnuFileOpen", -1, "&Open Profile...", "Ctrl+O", false},
    {"mnuFileImport", -1, "&Import analog.cfg...", "", false},
    {"-", -1, "", "", false},
    {"mnuFileSave", -1, "Sa&ve Profile", "Ctrl+S", false},
    {"mnuFileSaveAs", -1, "Sav&e Profile As ...", "", false},
    {"-", -1, "", "", false},
    {"mnuFileQuick", 0, "", "", false},
    {"mnuFileQuick", 1, "", "", false},
    {"mnuFileQuick", 2, "", "", false},
    {"mnuFileQuick", 3, "", "", false},
    {"mnuFileQuick", 4, "", "", false},
    {"mnuFileQuick", 5, "", "", false},
    {"-", -1, "", "", false},
    {"mnuFileOffline", -1, "&Work offline", "Ctrl+W", false},
    {"mnuFileExit", -1, "E&xit", "", false},
    {"mnuRun", -1, "&Run", "", true},
    {"mnuRunAnalog", -1, "&Run Analog instantly", "Ctrl+R", false},
    {"mnuRunResult", -1, "Run &Analog and show result", "Ctrl+A", false},
    {"mnuRunShow", -1, "Show R&esults", "", false},
    {"-", -1, "", "", false},
    {"mnuRunCreate", -1, "&Create just config file", "", false},
    {"mnuRunCreateShow", -1, "Show the config &file...", "", false},
    {"mnuRunCreateRun", -1, "Run Analog with existing config file", "", false},
    {"-", -1, "", "", false},
    {"mnuRunSettings", -1, "Run Analog with &settings...", "", false},
    {"mnuTools", -1, "&Tools", "", true},
    {"mnuToolsDeleteURL", -1, "Delete unresolved URL's...", "", false},
    {"mnuToolsAnalogMessages", -1, "&Analyser messages...", "", false},
    {"-", -1, "", "", false},
    {"mnuToolsOptions", -1, "&Options...", "", false},
    {"mnuHelp", -1, "&Help", "", true},
    {"mnuHelpTips", -1, "Kestrum &Tips and Tricks...", "", false},
    {"mnuHelpTOD", -1, "Tip of the day...", "", false},
    {"mnuHelpAnalogHelp", -1, "Analog &Helpfile...", "", false},
    {"-", -1, "", "", false},
    {"mnuHelpBrannock", -1, "Brannock Technologies home...", "", false},
    {"mnuHelpProduct", -1, "Kestrum product pages...", "", false},
    {"-", -1, "", "", false},
    {"mnuHelpAbout", -1, "&About Kestrum...", "", false},
};

constexpr ToolButtonDef kToolButtons[] = {
    {"New", "New Profile", "mnuFileNew", "New"},
    {"Open", "Open Profile", "mnuFileOpen", "Open"},
    {"Save", "Save Profile", "mnuFileSave", "Save"},
    {"Run", "Just run Analog", "mnuRunAnalog", "Run"},
    {"RunAndSee", "Run Analog and show results", "mnuRunResult", "RunAndSee"},
    {"RunAndSettings", "Run Analog with special settings", "mnuRunSettings", "RunAndSettings"},
    {"ConSet", "Change connection state", "mnuFileOffline", "ConYes"},
    {"See", "See results", "mnuRunShow", "See"},
};

constexpr StatusPanelDef kStatusPanels[] = {
    {"Main", "Brannock Kestrum for Win32", "Brannock Kestrum for Win32"},
    {"Mode", "ONLINE", "current mode (offline/online)"},
    {"Status", "editing", "Status"},
    {"RunTime", "", "Time Analog took to run"},
};

} // namespace

std::span<const MenuEntryDef> menuTable() {
  return kMenus;
}
std::span<const ToolButtonDef> toolbarTable() {
  return kToolButtons;
}
std::span<const StatusPanelDef> statusPanelTable() {
  return kStatusPanels;
}

} // namespace kestrum
