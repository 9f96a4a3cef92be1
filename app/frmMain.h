// The main window as a presentation model: a tabbed editor of one
// configuration document. It holds every control of the window; the tabs'
// controls and behaviours live in their own classes (ui/GeneralTab.h,
// ui/IETab.h, ui/NavigatorTab.h, ui/AdvancedTab.h), which reach the window's
// state through this class.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "addins/AddInObject.h"
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

    // File > Save: writes the document into the file it was loaded from or
    // saved to and returns whether it was saved. A document without a file
    // is not saved (choosing a file belongs to Save As).
    bool saveFile();

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
