#include "ui/frmNICWarning.h"

#include "config/modAPI.h"

namespace vtl::ui {

frmNICWarning::frmNICWarning() : Form("frmNICWarning") {
    setCaption("Warning...");
    Label1.setCaption(
        "Changing the Network Adapter after loading a configuration file will refresh some or "
        "all of the following properties for the currently selected adapter:");
    Label2.setCaption("- IP Address");
    Label3.setCaption("- IP Mask");
    Label4.setCaption("- Default Gateway");
    Label5.setCaption("- WINS Server 1");
    Label6.setCaption("- WINS Server 2");
    Label7.setCaption("- DHCP Enabled");
    chkWarning.setCaption("&Do not show this warning again");
    chkWarning.setToolTip("Check this box if you don't want to see this warning again");
    cmdOK.setCaption("OK");
    cmdOK.setToolTip("Close this dialog");
    cmdOK.onClick = [this] { cmdOK_Click(); };
}

void frmNICWarning::load() {
    loaded_ = true;
}

void frmNICWarning::unload() {
    loaded_ = false;
    setVisible(false);
}

void frmNICWarning::cmdOK_Click() {
    SaveRegSetting(kAppName, "Options", "NICWarning", chkWarning.value() == 1 ? "0" : "1");
    unload();
}

}  // namespace vtl::ui
