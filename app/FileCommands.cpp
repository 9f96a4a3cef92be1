// The File menu of the main window: open, save, apply and the recent files.
#include <exception>

#include "app/FileDialogs.h"
#include "app/frmMain.h"
#include "app/modReset.h"
#include "config/clsVtlConfig.h"
#include "config/modAPI.h"
#include "platform/Platform.h"
#include "ui/AdvancedTab.h"
#include "ui/GeneralTab.h"
#include "ui/IETab.h"
#include "ui/NavigatorTab.h"
#include "ui/PrinterDialog.h"
#include "ui/frmRestart.h"

namespace vtl {

namespace {

constexpr std::uint32_t kPrintSetup = 64;

// Blanks at the end of a path do not belong to it (as Windows file functions have it).
std::string withoutTrailingBlanks(std::string path) {
    while (!path.empty() && (path.back() == ' ' || path.back() == '\t'))
        path.pop_back();
    return path;
}

std::string fileCaption(const std::string& path) {
    return clsMRUList::GetFileName(path) + " - " + kAppName;
}

// A configuration file is text with at least one section: a file holding a
// NUL byte, or no line that opens a section, is not one.
bool isConfigurationFile(const std::string& path) {
    std::string content;
    if (platform::sys().ReadFile(path, content) != platform::ERROR_SUCCESS)
        return true;  // left to the document, which reads what it can
    bool section = false;
    bool lineStart = true;
    for (const char c : content) {
        if (c == '\0')
            return false;
        if (lineStart && c == '[')
            section = true;
        if (c == '\n' || c == '\r')
            lineStart = true;
        else if (c != ' ' && c != '\t')
            lineStart = false;
    }
    return section;
}

}  // namespace

void frmMain::wireFileCommands() {
    mnuFileOpen.onClick = [this] { mnuFileOpen_Click(); };
    mnuFileSave.onClick = [this] { mnuFileSave_Click(); };
    mnuFileSaveAs.onClick = [this] { mnuFileSaveAs_Click(); };
    mnuFileApply.onClick = [this] { mnuFileApply_Click(); };
    mnuFilePrintSetup.onClick = [this] { mnuFilePrintSetup_Click(); };
    mnuFileExit.onClick = [this] { mnuFileExit_Click(); };
    mnuFileRecentSep.setVisible(false);
    for (int i = 1; i <= 5; ++i) {
        mnuFileRecent(i).setVisible(false);
        mnuFileRecent(i).onClick = [this, i] { mnuFileRecent_Click(i); };
    }
    setRecentList = [this] {
        if (MRUList)
            MRUList->setRecentList();
    };
}

// --- Open ---

void frmMain::mnuFileOpen_Click() {
    const std::string folder = document && !document->ConfFile().empty()
                                   ? document->ConfFile()
                                   : platform::sys().AppPath();
    const std::string chosen = ShowOpenDialog(0, kVtlFilter, "Open", folder);
    if (chosen.empty())
        return;
    const std::string path = TrimNull(chosen);
    if (!path.empty())
        openFile(path);
}

void frmMain::openFile(const std::string& requested) {
    const std::string path = withoutTrailingBlanks(requested);
    if (!MRUList) {
        MRUList = std::make_unique<clsMRUList>();
        MRUList->getRecentList();
    }
    if (path.empty() || !FileExists(path)) {
        MRUList->removeRecentFile(path);
        loadRecentFiles();
        dialogs().MsgBox("The file '" + path + "' could not be opened.\r\n\r\n" +
                             "It has been removed from the most recently used (MRU) list.",
                         platform::mb::OK | platform::mb::IconInformation, kAppName);
        return;
    }
    if (!document)
        return;
    try {
        const std::int16_t result =
            isConfigurationFile(path) ? document->LoadConfigurationFile(path, addIns) : 1;
        if (result == 1) {
            dialogs().MsgBox("Invalid configuration file.",
                             platform::mb::OK | platform::mb::IconCritical, kAppName);
            return;
        }
        setCaption(fileCaption(path));
        loading = false;
        suppressUnsaved = true;
        UpdateStatus(-1);

        if (oNetConfig) {
            general->initializeNICControls();
            advanced->initializeMiscControls();
        }
        if (document->IEInstalled())
            ie->initializeIEControls();
        if (document->NNInstalled())
            navigator->initializeNNControls();

        MRUList->setRecentFile(path);
        loadRecentFiles();

        const bool writable = !document->ReadOnly();
        mnuFileSave.setEnabled(writable);
        tbarTools.setButtonEnabled(ButtonSave, writable);
        mnuFileSaveAs.setEnabled(writable);
        if (!writable)
            setCaption(caption() + " - [Read Only]");

        const bool parts[] = {document->ApplyGeneral(), document->ApplyIE(), document->ApplyNN()};
        for (int tab = TabGeneral; tab <= TabNavigator; ++tab) {
            tbarTools.setButtonValue(partButton(tab), parts[tab] ? 1 : 0);
            SSTab.setTabEnabled(tab, parts[tab]);
        }
        selectFirstTab();
        suppressUnsaved = false;

        AutoReset = document->AutoReboot();
        if (document->AutoApply())
            mnuFileApply_Click();
        if (!document)
            return;
        for (const auto& addIn : addIns) {
            if (addIn && addIn->Invoke("restart", {}).truth())
                UpdateStatus(2);
        }
    } catch (const ProgramEnd&) {
        throw;
    } catch (const std::exception&) {
        suppressUnsaved = false;
        dialogs().MsgBox("Error opening file '" + path + "'.",
                         platform::mb::OK | platform::mb::IconExclamation, kAppName);
    }
}

// --- Save ---

bool frmMain::saveFile() {
    if (!document)
        return false;
    if (document->ConfFile().empty())
        return saveFileAs();
    return saveFile(document->ConfFile());
}

void frmMain::mnuFileSaveAs_Click() {
    saveFileAs();
}

bool frmMain::saveFileAs() {
    const std::string folder = document && !document->ConfFile().empty()
                                   ? document->ConfFile()
                                   : platform::sys().AppPath();
    const std::string chosen = ShowSaveDialog(0, kVtlFilter, "Save As", folder, "vtl");
    if (chosen.empty())
        return false;
    const std::string path = TrimNull(chosen);
    return !path.empty() && saveFile(path);
}

bool frmMain::saveFile(const std::string& requested) {
    if (!document)
        return false;
    const std::string path = withoutTrailingBlanks(requested);
    if (document->SaveConfigurationFile(path, addIns) != 1) {
        dialogs().MsgBox("Error saving configuration.", platform::mb::OK, kAppName);
        return false;
    }
    setCaption(fileCaption(path));
    UpdateStatus(-1);
    if (!MRUList) {
        MRUList = std::make_unique<clsMRUList>();
        MRUList->getRecentList();
    }
    MRUList->setRecentFile(path);
    loadRecentFiles();
    return true;
}

// --- Apply ---

bool frmMain::applyCurrentFile() {
    const std::string& title = caption();
    SaveRegSetting(kAppName, "Options", "LastFileApplied", title.substr(0, title.find('-')));
    return document && document->ApplyConfiguration(addIns);
}

void frmMain::endProgram() {
    programEnded = true;
    if (!close())
        Form_Unload();
    throw ProgramEnd("The program ends after resetting the PC.");
}

void frmMain::mnuFileApply_Click() {
    if (!changed) {
        dialogs().MsgBox("No configuration changes have been made.",
                         platform::mb::OK | platform::mb::IconInformation, kAppName);
        return;
    }
    if (!document)
        return;
    if (!document->AutoApply() && dialogs().MsgBox("Apply configuration changes?",
                                                   platform::mb::YesNo | platform::mb::IconQuestion,
                                                   kAppName) != platform::Answer::Yes)
        return;

    bool restart = false;
    try {
        restart = applyCurrentFile();
    } catch (const ProgramEnd&) {
        throw;
    } catch (const std::exception& e) {
        dialogs().MsgBox(std::string("Error in frmMain:mnuFileApply_Click:") + e.what(),
                         platform::mb::OK | platform::mb::IconExclamation, kAppName);
        return;
    }
    const bool needReset = panelShown(PanelReset) || restart;
    if (!needReset) {
        if (AutoReset) {
            ResetPC(std::string(), &dialogs());
            endProgram();
        }
        dialogs().MsgBox("Configuration updated - no restart required.",
                         platform::mb::OK | platform::mb::IconInformation, kAppName);
    } else if (AutoReset) {
        ResetPC(std::string(), &dialogs());
        if (DefaultResetMethod() == kResetManual)
            dialogs().MsgBox("The changes will take effect the next time you reboot.",
                             platform::mb::OK | platform::mb::IconInformation, kAppName);
        endProgram();
    } else {
        ui::frmRestart restartForm(dialogs());
        dialogs().ShowModal(restartForm);
    }
    UpdateStatus(-2);
    changed = false;
}

// --- Recent files and the other entries ---

void frmMain::loadRecentFiles() {
    mnuFileRecentSep.setVisible(false);
    for (int i = 1; i <= 5; ++i)
        mnuFileRecent(i).setVisible(false);
    if (!MRUList || MRUList->fileList().empty())
        return;
    mnuFileRecentSep.setVisible(true);
    const auto& files = MRUList->fileList();
    for (int i = 1; i <= 5 && i <= static_cast<int>(files.size()); ++i) {
        mnuFileRecent(i).setVisible(true);
        mnuFileRecent(i).setCaption(
            "&" + std::to_string(i) + ". " +
            clsMRUList::GetFileName(files[static_cast<std::size_t>(i - 1)]));
    }
}

void frmMain::mnuFileRecent_Click(int index) {
    if (!MRUList || index < 1 || index > static_cast<int>(MRUList->fileList().size()))
        return;
    const std::string path = MRUList->fileList()[static_cast<std::size_t>(index - 1)];
    openFile(path);
}

void frmMain::mnuFilePrintSetup_Click() {
    try {
        ui::showPrinterDialog(0, kPrintSetup);
    } catch (const std::exception&) {
        // A failed print setup ends without a message.
    }
}

}  // namespace vtl
