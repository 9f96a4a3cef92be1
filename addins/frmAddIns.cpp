#include "addins/frmAddIns.h"

#include <exception>
#include <memory>
#include <stdexcept>

#include "addins/AddInObject.h"
#include "addins/AddInRegistry.h"
#include "config/modAPI.h"
#include "platform/Platform.h"

namespace vtl {

frmAddIns::frmAddIns(ui::DialogService& dialogs) : ui::Form("frmAddIns"), dialogs_(dialogs) {
    setCaption("Add-In Manager");
    lstAddIns.setToolTip("Check the box to activate an add-in");
    frAddIn.setCaption("Add-In Name");
    lblFile.setCaption("File:");
    lblVersion.setCaption("Version:");
    cmdAbout.setCaption("&About");
    cmdAbout.setToolTip("Display information for selected Add-In");
    cmdAbout.setEnabled(false);
    cmdOK.setCaption("OK");
    cmdOK.setToolTip("Close Add-In dialog and apply changes");
    cmdCancel.setCaption("Cancel");
    cmdCancel.setToolTip("Close Add-In dialog and cancel changes");
    cmdHelp.setCaption("&Help");
    cmdHelp.setToolTip("Display Add-In help");

    lstAddIns.onClick = [this] { lstAddIns_Click(); };
    cmdAbout.onClick = [this] { cmdAbout_Click(); };
    cmdOK.onClick = [this] { cmdOK_Click(); };
    cmdCancel.onClick = [this] { cmdCancel_Click(); };
    cmdHelp.onClick = [this] { cmdHelp_Click(); };
}

void frmAddIns::Form_Load() {
    lstAddIns.clear();
    const std::string os = GetOSVersion();
    if (const auto values = GetAllRegSettings(kAppName, addins::kSection)) {
        for (const RegSettingValue& value : *values) {
            const std::string section = addins::addInSection(value.name);
            const std::string className = GetRegSetting(kAppName, section, "Class");
            std::string systems = GetRegSetting(kAppName, section, "OS");
            if (systems == "*")
                systems = os;
            if (className.empty() || systems.find(os) == std::string::npos)
                continue;
            lstAddIns.addItem(value.name);
            if (GetRegSetting(kAppName, section, "Active", "0") == "1")
                lstAddIns.setSelected(lstAddIns.listCount() - 1, true);
        }
    }
    if (lstAddIns.listCount() > 0)
        lstAddIns.setListIndex(0);
}

void frmAddIns::lstAddIns_Click() {
    if (lstAddIns.listIndex() < 0)
        return;
    const std::string name = lstAddIns.text();
    const std::string section = addins::addInSection(name);
    frAddIn.setCaption(name);
    txtFile.setText(GetRegSetting(kAppName, section, "File", addins::kNoFile));
    txtVersion.setText(GetRegSetting(kAppName, section, "Version", addins::kNoVersion));
    cmdAbout.setEnabled(true);
}

void frmAddIns::cmdAbout_Click() {
    if (lstAddIns.listIndex() < 0)
        return;
    const std::string section = addins::addInSection(lstAddIns.text());
    const std::string className = GetRegSetting(kAppName, section, "Class");
    try {
        std::shared_ptr<AddInObject> addIn = platform::sys().CreateObject(className);
        if (!addIn)
            throw std::runtime_error("class not available");
        addIn->Invoke("about", {});
    } catch (const std::exception&) {
        dialogs_.MsgBox(
            "Error referencing Add-In control: '" + className + "'." + addins::kCheckAddIns,
            platform::mb::OK | platform::mb::IconExclamation, kAppName);
    }
}

void frmAddIns::saveActiveStates() {
    for (int i = 0; i < lstAddIns.listCount(); ++i) {
        SaveRegSetting(kAppName, addins::addInSection(lstAddIns.listAt(i)), "Active",
                       lstAddIns.selected(i) ? "1" : "0");
    }
}

void frmAddIns::cmdOK_Click() {
    saveActiveStates();
    setVisible(false);
}

void frmAddIns::cmdCancel_Click() {
    setVisible(false);
}

void frmAddIns::cmdHelp_Click() {
    std::string folder = platform::sys().AppPath();
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    platform::sys().ShellExecute("", folder + "\\help\\index.html", "", folder,
                                 platform::SW_SHOWNORMAL);
}

}  // namespace vtl
