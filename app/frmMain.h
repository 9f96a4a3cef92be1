// The main window as a presentation model: a tabbed editor of one
// configuration document. It holds every control of the window; the tabs'
// controls and behaviours live in their own classes (ui/GeneralTab.h,
// ui/IETab.h, ui/NavigatorTab.h, ui/AdvancedTab.h), which reach the window's
// state through this class.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "addins/AddInObject.h"
#include "app/CommandLine.h"
#include "app/clsMRUList.h"
#include "ui/Controls.h"
#include "ui/DialogService.h"
#include "ui/VersionChecker.h"

namespace vtl {

class clsVtlConfig;
class clsNetConfig;
class clsBrowser;

namespace ui {
class GeneralTab;
class IETab;
class NavigatorTab;
class AdvancedTab;
}  // namespace ui

class frmMain : public ui::Form {
  public:
    // Tabs of SSTab.
    enum Tab { TabGeneral = 0, TabExplorer = 1, TabNavigator = 2, TabAdvanced = 3 };
    // Buttons of tbarTools (3 and 5 are separators).
    enum Button {
        ButtonOpen = 1,
        ButtonSave = 2,
        ButtonApply = 4,
        ButtonGeneral = 6,
        ButtonExplorer = 7,
        ButtonNavigator = 8
    };
    // Panels of sbStatus.
    enum Panel { PanelLastFile = 1, PanelVersion = 2, PanelUnsaved = 3, PanelReset = 4 };

    explicit frmMain(ui::DialogService& dialogs);
    ~frmMain() override;

    ui::DialogService& dialogs() { return dialogs_; }

    // --- Lifecycle and status. ---
    // Replaces the document with one read from the PC and fills the window.
    // Throws ProgramEnd on an unsupported system.
    void showConfiguration();
    // 1 changed, 2 reset needed, 3 both; -1, -2, -3 clear them.
    void UpdateStatus(std::int16_t iMode);
    void selectFirstTab();

    // --- Event handlers. ---
    void tbarTools_ButtonClick(int index);
    void mnuToolsGeneral_Click();
    void mnuToolsExplorer_Click();
    void mnuToolsNavigator_Click();
    void mnuToolsRefresh_Click();
    void mnuToolsOptions_Click();
    void mnuHelpHelp_Click();
    void mnuHelpUpdate_Click();
    void mnuHelpAbout_Click();
    // Returns whether the window may close; asks about unsaved changes.
    bool Form_QueryUnload();
    void Form_Unload();
    void unload() override { Form_Unload(); }
    // Closing as the user does it: asks, then unloads. Returns whether it closed.
    bool close();

    // ==== Start-up, command line and file commands ====
    // (app/Startup.cpp, app/FileCommands.cpp)

    // The command the program was started with.
    CommandLine Command;
    // Form_Load: migrates the settings, reads "AutoReset", loads the recent
    // files, shows the current configuration, loads the add-ins, then runs the
    // command-line switches; a hidden run closes the window at the end.
    void Form_Load();
    void load() override { Form_Load(); }
    // Form_Activate: when another instance runs, brings its window to the
    // front and closes this one. Returns whether this window stays.
    bool Form_Activate();
    // The argument list of Command (at most MaxArgs arguments).
    std::vector<std::string> GetCommandLine(int MaxArgs = kMaxArgs) const;

    // Opens a configuration file into the window (File > Open, "load", a recent
    // entry). Blanks at the end of the path are ignored.
    void openFile(const std::string& path);
    // Saves the document into a file; returns whether it was saved.
    bool saveFile(const std::string& path);
    // File > Save: into the document's file, else Save As. Returns whether it saved.
    bool saveFile();
    // Records the last file applied and applies the document; true when an
    // add-in asks for a restart.
    bool applyCurrentFile();
    // Shows the recent-file entries of the File menu.
    void loadRecentFiles();

    void mnuFileOpen_Click();
    void mnuFileSave_Click() { saveFile(); }
    void mnuFileSaveAs_Click();
    bool saveFileAs();  // Save As; returns whether it saved
    void mnuFileApply_Click();
    void mnuFileRecent_Click(int index);
    void mnuFilePrintSetup_Click();
    void mnuFileExit_Click() { close(); }

    // The recent-file list (loaded by Form_Load).
    std::unique_ptr<clsMRUList> MRUList;
    // The recent separator and entries 1 to 5 of the File menu.
    ui::MenuItem mnuFileRecentSep{"mnuFileRecentSep"};
    ui::MenuItem& mnuFileRecent(int index) {
        return mnuFileRecent_.at(static_cast<std::size_t>(index - 1));
    }
    // Set when an automatic reset has closed the window and ended the program.
    bool programEnded = false;

  private:
    void wireFileCommands();
    void processCommandLine(const std::vector<std::string>& args);
    // Runs one switch's action; an error it raises is reported and the next switch runs.
    void runSwitch(const char* word, const std::function<void()>& action);
    void exportSettings(const std::string& file, bool print);
    // Closes the window and ends the program (after an automatic reset).
    [[noreturn]] void endProgram();
    std::array<ui::MenuItem, 5> mnuFileRecent_{
        ui::MenuItem{"mnuFileRecent(1)"}, ui::MenuItem{"mnuFileRecent(2)"},
        ui::MenuItem{"mnuFileRecent(3)"}, ui::MenuItem{"mnuFileRecent(4)"},
        ui::MenuItem{"mnuFileRecent(5)"}};

  public:
    // ==== End of start-up, command line and file commands ====

    // --- Hooks for the parts of the window built elsewhere. ---
    // Creates the add-ins and builds the Add-Ins menu (start-up and Refresh).
    std::function<void()> loadAddIns;
    // Makes the Options dialog that "&Options..." shows modally.
    std::function<std::unique_ptr<ui::Form>()> newOptionsForm;
    // Writes the recent-file list to the settings store when the window unloads.
    std::function<void()> setRecentList;

    // The version-checker control (headless until a view supplies a real one).
    ui::VersionChecker& vcUpdate() { return *versionChecker_; }
    void setVersionChecker(std::unique_ptr<ui::VersionChecker> checker) {
        if (checker)
            versionChecker_ = std::move(checker);
    }

    // --- Window state. ---
    std::unique_ptr<clsVtlConfig> document;
    std::shared_ptr<clsNetConfig> oNetConfig;
    std::shared_ptr<clsBrowser> oIEConfig;
    std::shared_ptr<clsBrowser> oNNConfig;
    AddInCollection addIns;
    bool loading = false;          // showConfiguration runs: UpdateStatus changes no panel
    bool suppressUnsaved = false;  // a file's values are put into the controls
    bool changed = false;          // changes not yet applied
    bool nicWarning = true;        // option "NICWarning" = "1"
    bool AutoReset = false;
    bool hiddenRun = false;

    // --- Controls of the window frame. ---
    ui::TabStrip SSTab{"SSTab", {"General", "I. Explorer", "N. Navigator", "Advanced"}};
    ui::Toolbar tbarTools;
    ui::StatusBar sbStatus;

    ui::MenuItem mnuFile{"mnuFile"};
    ui::MenuItem mnuFileOpen{"mnuFileOpen"};
    ui::MenuItem mnuFileSave{"mnuFileSave"};
    ui::MenuItem mnuFileSaveAs{"mnuFileSaveAs"};
    ui::MenuItem mnuFileApply{"mnuFileApply"};
    ui::MenuItem mnuFileExport{"mnuFileExport"};
    ui::MenuItem mnuFilePrintSetup{"mnuFilePrintSetup"};
    ui::MenuItem mnuFilePrint{"mnuFilePrint"};
    ui::MenuItem mnuFileExit{"mnuFileExit"};
    ui::MenuItem mnuTools{"mnuTools"};
    ui::MenuItem mnuToolsRefresh{"mnuToolsRefresh"};
    ui::MenuItem mnuToolsGeneral{"mnuToolsGeneral"};
    ui::MenuItem mnuToolsExplorer{"mnuToolsExplorer"};
    ui::MenuItem mnuToolsNavigator{"mnuToolsNavigator"};
    ui::MenuItem mnuToolsOptions{"mnuToolsOptions"};
    ui::MenuItem mnuAddIns{"mnuAddIns"};
    ui::MenuItem mnuHelp{"mnuHelp"};
    ui::MenuItem mnuHelpHelp{"mnuHelpHelp"};
    ui::MenuItem mnuHelpUpdate{"mnuHelpUpdate"};
    ui::MenuItem mnuHelpAbout{"mnuHelpAbout"};

    // --- The tabs. ---
    std::unique_ptr<ui::GeneralTab> general;
    std::unique_ptr<ui::IETab> ie;
    std::unique_ptr<ui::NavigatorTab> navigator;
    std::unique_ptr<ui::AdvancedTab> advanced;

    // ==== Add-ins (app/AddInCommands.cpp) ====

    static constexpr int kAddInMenuSize = 20;
    // Entries mnuAddIns(0) to mnuAddIns(19) of the Add-Ins menu, one per
    // loaded add-in; an index past them throws VtlError.
    ui::MenuItem& mnuAddInsEntry(int index);
    ui::MenuItem mnuAddInsSep1{"mnuAddInsSep1"};
    ui::MenuItem mnuToolsAddInManager{"mnuToolsAddInManager"};
    // The names under which the add-ins of `addIns` are kept, in the same order.
    std::vector<std::string> addInNames;
    // What loadAddIns runs: rebuilds the add-in collection and the menu.
    void reloadAddIns();
    // Shows the dialog of the add-in behind menu entry `index`.
    void mnuAddIns_Click(int index);
    // Shows the add-in manager modally, then reloads the add-ins.
    void mnuToolsAddInManager_Click();

  private:
    void wireAddIns();
    std::vector<std::unique_ptr<ui::MenuItem>> mnuAddIns_;

  public:
    // ==== End of add-ins ====

    // ==== Settings report (app/ReportCommands.cpp) ====

    // File > Export...: writes the report of the document to a text file
    // chosen in the save dialog; a failure ends the command silently.
    void mnuFileExport_Click();
    // File > Print: asks, then prints the report on the current printer.
    void mnuFilePrint_Click();

  private:
    void wireReportCommands();

  public:
    // ==== End of settings report ====

  private:
    // Puts one part (tab 0, 1 or 2) on or off after its toolbar button or menu entry.
    void setPart(int tabIndex, bool on, bool fromToolbar);
    // A part's toggle, tab and flag when the part can be edited or cannot.
    void showPart(int tabIndex, bool available);
    static int partButton(int tabIndex);
    ui::MenuItem& partMenu(int tabIndex);
    void setPartFlag(int tabIndex, bool on);
    void showPanel(int index, bool on) { sbStatus.panel(index).visible = on; }
    bool panelShown(int index) const { return sbStatus.panel(index).visible; }

    ui::DialogService& dialogs_;
    std::unique_ptr<ui::VersionChecker> versionChecker_;
};

}  // namespace vtl
