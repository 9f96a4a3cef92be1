#include "app/frmMain.h"

#include <exception>

#include "browser/clsBrowser.h"
#include "config/Screen.h"
#include "config/clsVtlConfig.h"
#include "config/modAPI.h"
#include "net/clsNetConfig.h"
#include "platform/Platform.h"
#include "ui/AdvancedTab.h"
#include "ui/GeneralTab.h"
#include "ui/IETab.h"
#include "ui/NavigatorTab.h"
#include "ui/frmAbout.h"
#include "ui/frmOptions.h"

namespace vtl {

namespace {

constexpr const char* kCurrentCaption = "[Current Configuration] - Vantrel";
constexpr const char* kInitError = "Error while initializing form";
constexpr const char* kLastFilePrefix = "Last file applied: ";

std::string versionText() {
    return std::string(kAppName) + " " + ProgramVersion();
}

long versionNumber() {
    return VANTREL_VERSION_MAJOR * 10000L + VANTREL_VERSION_MINOR * 100L + VANTREL_VERSION_PATCH;
}

std::string belowFolder(std::string folder, const std::string& relative) {
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder + relative;
}

ui::Toolbar::Button command(const char* tip) {
    ui::Toolbar::Button button;
    button.toolTip = tip;
    return button;
}

ui::Toolbar::Button separator() {
    ui::Toolbar::Button button;
    button.separator = true;
    return button;
}

// A two-state button, pressed.
ui::Toolbar::Button toggle(const char* tip) {
    ui::Toolbar::Button button = command(tip);
    button.check = true;
    button.value = 1;
    return button;
}

}  // namespace

frmMain::frmMain(ui::DialogService& dialogs)
    : ui::Form("frmMain"),
      tbarTools("tbarTools",
                {
                    command("Open configuration"),
                    command("Save configuration"),
                    separator(),
                    command("Apply configuration"),
                    separator(),
                    toggle("Enable General properties"),
                    toggle("Enable Internet Explorer properties"),
                    toggle("Enable Netscape Navigator properties"),
                }),
      sbStatus("sbStatus",
               {
                   {std::string(kLastFilePrefix) + "N/A",
                    "Last configuration file applied with Vantrel", true},
                   {versionText(), "Vantrel version", true},
                   {"", "The current configuration has unsaved changes", false},
                   {"", "The current configuration requires a reset", false},
               }),
      dialogs_(dialogs),
      versionChecker_(std::make_unique<ui::HeadlessVersionChecker>()) {
    setCaption(kCurrentCaption);

    mnuFile.setCaption("&File");
    mnuFileOpen.setCaption("&Open...");
    mnuFileSave.setCaption("&Save");
    mnuFileSaveAs.setCaption("Sa&ve As...");
    mnuFileExport.setCaption("&Export...");
    mnuFilePrintSetup.setCaption("Pr&int Setup...");
    mnuFilePrint.setCaption("&Print");
    mnuFileApply.setCaption("&Apply Configuration");
    mnuFileExit.setCaption("E&xit");

    mnuTools.setCaption("&View");
    mnuToolsRefresh.setCaption("&Refresh");
    mnuToolsGeneral.setCaption("Enable &General Properties");
    mnuToolsExplorer.setCaption("Enable &Internet Explorer Properties");
    mnuToolsNavigator.setCaption("Enable &Netscape Navigator Properties");
    mnuToolsOptions.setCaption("&Options...");
    for (ui::MenuItem* toggleEntry : {&mnuToolsGeneral, &mnuToolsExplorer, &mnuToolsNavigator})
        toggleEntry->setChecked(true);

    mnuAddIns.setCaption("&Add-Ins");

    mnuHelp.setCaption("&Help");
    mnuHelpHelp.setCaption("Vantrel &Help Topics");
    mnuHelpUpdate.setCaption("&Check for Program Updates...");
    mnuHelpAbout.setCaption("&About Vantrel");

    tbarTools.onButtonClick = [this](int index) { tbarTools_ButtonClick(index); };
    mnuToolsRefresh.onClick = [this] { mnuToolsRefresh_Click(); };
    mnuToolsGeneral.onClick = [this] { mnuToolsGeneral_Click(); };
    mnuToolsExplorer.onClick = [this] { mnuToolsExplorer_Click(); };
    mnuToolsNavigator.onClick = [this] { mnuToolsNavigator_Click(); };
    mnuToolsOptions.onClick = [this] { mnuToolsOptions_Click(); };
    mnuHelpHelp.onClick = [this] { mnuHelpHelp_Click(); };
    mnuHelpUpdate.onClick = [this] { mnuHelpUpdate_Click(); };
    mnuHelpAbout.onClick = [this] { mnuHelpAbout_Click(); };
    newOptionsForm = [this] { return std::make_unique<ui::frmOptions>(dialogs_); };

    general = std::make_unique<ui::GeneralTab>(*this);
    ie = std::make_unique<ui::IETab>(*this);
    navigator = std::make_unique<ui::NavigatorTab>(*this);
    advanced = std::make_unique<ui::AdvancedTab>(*this);
    wireAddIns();
    wireFileCommands();
    wireReportCommands();
}

frmMain::~frmMain() = default;

// --- Lifecycle and status ---

void frmMain::showConfiguration() {
    BusyPointer busy;
    nicWarning = GetRegSetting(kAppName, "Options", "NICWarning", "1") == "1";

    setCaption(kCurrentCaption);
    loading = true;
    suppressUnsaved = false;
    changed = false;

    try {
        document = std::make_unique<clsVtlConfig>();

        tbarTools.setButtonEnabled(ButtonSave, true);
        mnuFileSave.setEnabled(true);
        mnuFileSaveAs.setEnabled(true);

        oIEConfig = document->IEInstalled() ? document->getIEConfig() : nullptr;
        oNNConfig = document->NNInstalled() ? document->getNNConfig() : nullptr;
        oNetConfig = document->getNetConfig();

        if (oNetConfig) {
            if (general)
                general->initializeNICControls();
            if (advanced)
                advanced->initializeMiscControls();
        }

        if (document->IEInstalled() && ie)
            ie->initializeIEControls();
        showPart(TabExplorer, document->IEInstalled());

        if (document->NNInstalled() && navigator) {
            navigator->initializeNNControls();
            navigator->LoadNNProfiles();
        }
        showPart(TabNavigator, document->NNInstalled());

        showPart(TabGeneral, oNetConfig != nullptr);

        selectFirstTab();

        showPanel(PanelUnsaved, false);
        showPanel(PanelReset, false);
        sbStatus.panel(PanelLastFile).text =
            kLastFilePrefix + GetRegSetting(kAppName, "Options", "LastFileApplied", "N/A");
        sbStatus.panel(PanelVersion).text = versionText();
    } catch (const ProgramEnd&) {
        loading = false;
        throw;
    } catch (const std::exception& e) {
        dialogs_.MsgBox(e.what(), platform::mb::IconExclamation, kInitError);
    }
    loading = false;
}

void frmMain::UpdateStatus(std::int16_t iMode) {
    changed = true;
    if (loading)
        return;

    const auto markUnsaved = [this] {
        if (panelShown(PanelUnsaved) || suppressUnsaved || (document && document->ReadOnly()))
            return;
        showPanel(PanelUnsaved, true);
    };
    switch (iMode) {
        case 1:
            markUnsaved();
            break;
        case 2:
            showPanel(PanelReset, true);
            break;
        case 3:
            markUnsaved();
            showPanel(PanelReset, true);
            break;
        case -1:
            showPanel(PanelUnsaved, false);
            break;
        case -2:
            showPanel(PanelReset, false);
            break;
        case -3:
            showPanel(PanelUnsaved, false);
            showPanel(PanelReset, false);
            break;
        default:
            break;
    }
}

void frmMain::selectFirstTab() {
    for (int i = 0; i < SSTab.tabCount(); ++i) {
        if (SSTab.tab(i).enabled || i == TabAdvanced) {
            SSTab.select(i);
            return;
        }
    }
}

// --- Part toggles ---

int frmMain::partButton(int tabIndex) {
    static constexpr int kButtons[] = {ButtonGeneral, ButtonExplorer, ButtonNavigator};
    return kButtons[tabIndex];
}

ui::MenuItem& frmMain::partMenu(int tabIndex) {
    ui::MenuItem* const menus[] = {&mnuToolsGeneral, &mnuToolsExplorer, &mnuToolsNavigator};
    return *menus[tabIndex];
}

void frmMain::setPartFlag(int tabIndex, bool on) {
    if (!document)
        return;
    switch (tabIndex) {
        case TabGeneral:
            document->ApplyGeneral(on);
            break;
        case TabExplorer:
            document->ApplyIE(on);
            break;
        default:
            document->ApplyNN(on);
            break;
    }
}

void frmMain::showPart(int tabIndex, bool available) {
    SSTab.setTabEnabled(tabIndex, available);
    tbarTools.setButtonEnabled(partButton(tabIndex), available);
    tbarTools.setButtonValue(partButton(tabIndex), available ? 1 : 0);
    partMenu(tabIndex).setEnabled(available);
    partMenu(tabIndex).setChecked(available);
    setPartFlag(tabIndex, available);
}

void frmMain::setPart(int tabIndex, bool on, bool fromToolbar) {
    if (!fromToolbar)
        tbarTools.setButtonValue(partButton(tabIndex), on ? 1 : 0);
    setPartFlag(tabIndex, on);
    SSTab.setTabEnabled(tabIndex, on);
    if (fromToolbar)
        partMenu(tabIndex).setChecked(on);
    selectFirstTab();
}

void frmMain::tbarTools_ButtonClick(int index) {
    switch (index) {
        case ButtonOpen:
            mnuFileOpen.click();
            break;
        case ButtonSave:
            mnuFileSave.click();
            break;
        case ButtonApply:
            mnuFileApply.click();
            break;
        case ButtonGeneral:
            setPart(TabGeneral, tbarTools.button(index).value == 1, true);
            break;
        case ButtonExplorer:
            setPart(TabExplorer, tbarTools.button(index).value == 1, true);
            break;
        case ButtonNavigator:
            setPart(TabNavigator, tbarTools.button(index).value == 1, true);
            break;
        default:
            break;
    }
}

void frmMain::mnuToolsGeneral_Click() {
    mnuToolsGeneral.setChecked(!mnuToolsGeneral.checked());
    setPart(TabGeneral, mnuToolsGeneral.checked(), false);
}

void frmMain::mnuToolsExplorer_Click() {
    mnuToolsExplorer.setChecked(!mnuToolsExplorer.checked());
    setPart(TabExplorer, mnuToolsExplorer.checked(), false);
}

void frmMain::mnuToolsNavigator_Click() {
    mnuToolsNavigator.setChecked(!mnuToolsNavigator.checked());
    setPart(TabNavigator, mnuToolsNavigator.checked(), false);
}

// --- Other commands ---

void frmMain::mnuToolsRefresh_Click() {
    document.reset();
    oNetConfig.reset();
    oIEConfig.reset();
    oNNConfig.reset();
    showConfiguration();
    if (loadAddIns)
        loadAddIns();
    changed = false;
}

void frmMain::mnuToolsOptions_Click() {
    if (newOptionsForm) {
        if (std::unique_ptr<ui::Form> options = newOptionsForm())
            dialogs_.ShowModal(*options);
    }
    AutoReset = GetRegSetting(kAppName, "Options", "AutoReset", "0") == "1";
}

void frmMain::mnuHelpHelp_Click() {
    const std::string folder = platform::sys().AppPath();
    platform::sys().ShellExecute("", belowFolder(folder, "\\help\\index.html"), "", folder,
                                 platform::SW_SHOWNORMAL);
}

void frmMain::mnuHelpUpdate_Click() {
    ui::VersionChecker::Settings settings;
    settings.server = "update.vantrel.org";
    settings.port = 80;
    settings.versionPage = "/vantrel/version.txt";
    settings.productPage = "http://www.vantrel.org/download.html";
    settings.caption = "Check for Program Updates";
    settings.login = "vantrel";
    vcUpdate().configure(settings);
    vcUpdate().setCurrentVersion(versionNumber());
    vcUpdate().check();
}

void frmMain::mnuHelpAbout_Click() {
    ui::frmAbout about;
    dialogs_.ShowModal(about);
}

// --- Closing ---

bool frmMain::Form_QueryUnload() {
    if (!panelShown(PanelUnsaved))
        return true;
    switch (dialogs_.MsgBox("Save configuration?",
                            platform::mb::YesNoCancel | platform::mb::IconQuestion, kAppName)) {
        case platform::Answer::Yes:
            // Edits that could not be saved keep the window open.
            return saveFile();
        case platform::Answer::No:
            return true;
        default:
            return false;
    }
}

void frmMain::Form_Unload() {
    if (setRecentList)
        setRecentList();
    addIns.clear();
    oNetConfig.reset();
    oIEConfig.reset();
    oNNConfig.reset();
    document.reset();
}

bool frmMain::close() {
    if (!Form_QueryUnload())
        return false;
    Form_Unload();
    return true;
}

}  // namespace vtl
