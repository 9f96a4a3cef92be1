// The main window as a presentation model: a tabbed editor of one
// configuration document. It holds every control of the window; the tabs'
// controls and behaviours live in their own classes (ui/GeneralTab.h,
// ui/IETab.h, ui/NavigatorTab.h, ui/AdvancedTab.h), which reach the window's
// state through this class.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "addins/AddInObject.h"
#include "ui/Controls.h"
#include "ui/DialogService.h"

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
    explicit frmMain(ui::DialogService& dialogs);
    ~frmMain() override;

    ui::DialogService& dialogs() { return dialogs_; }

    // --- Lifecycle and status. ---
    void showConfiguration();
    // 1 changed, 2 reset needed, 3 both; -1, -2, -3 clear them.
    void UpdateStatus(std::int16_t iMode);
    void selectFirstTab();

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

    ui::MenuItem mnuFileOpen{"mnuFileOpen"};
    ui::MenuItem mnuFileSave{"mnuFileSave"};
    ui::MenuItem mnuFileSaveAs{"mnuFileSaveAs"};
    ui::MenuItem mnuFileApply{"mnuFileApply"};
    ui::MenuItem mnuFileExport{"mnuFileExport"};
    ui::MenuItem mnuFilePrintSetup{"mnuFilePrintSetup"};
    ui::MenuItem mnuFilePrint{"mnuFilePrint"};
    ui::MenuItem mnuFileExit{"mnuFileExit"};
    ui::MenuItem mnuToolsRefresh{"mnuToolsRefresh"};
    ui::MenuItem mnuToolsGeneral{"mnuToolsGeneral"};
    ui::MenuItem mnuToolsExplorer{"mnuToolsExplorer"};
    ui::MenuItem mnuToolsNavigator{"mnuToolsNavigator"};
    ui::MenuItem mnuToolsOptions{"mnuToolsOptions"};
    ui::MenuItem mnuHelpHelp{"mnuHelpHelp"};
    ui::MenuItem mnuHelpUpdate{"mnuHelpUpdate"};
    ui::MenuItem mnuHelpAbout{"mnuHelpAbout"};

    // --- The tabs. ---
    std::unique_ptr<ui::GeneralTab> general;
    std::unique_ptr<ui::IETab> ie;
    std::unique_ptr<ui::NavigatorTab> navigator;
    std::unique_ptr<ui::AdvancedTab> advanced;

  private:
    ui::DialogService& dialogs_;
};

}  // namespace vtl
