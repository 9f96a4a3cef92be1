#include "ui/AdvancedTab.h"

#include "app/frmMain.h"
#include "config/clsVtlConfig.h"
#include "config/modAPI.h"

namespace vtl::ui {

AdvancedTab::AdvancedTab(frmMain& window) : window_(window) {
    fraAdvanced.setCaption("Advanced");
    fraComments.setCaption("Comments");

    chkAutoApply.setCaption("Automatically a&pply changes when loaded");
    chkAutoApply.setToolTip(
        "Check this option to automatically apply this configuration when loaded");
    chkAutoReboot.setCaption("Automatically &reset when changes are applied");
    chkAutoReboot.setToolTip(
        "Check this box to automatically invoke the default reset setting on apply");
    txtComments.setToolTip("Enter any comments you would like to store with this profile");

    txtComments.onChange = [this] { txtComments_Change(); };
    chkAutoApply.onClick = [this] { chkAutoApply_Click(); };
    chkAutoReboot.onClick = [this] { chkAutoReboot_Click(); };
}

clsVtlConfig* AdvancedTab::document() const {
    return window_.document.get();
}

void AdvancedTab::initializeMiscControls() {
    clsVtlConfig* config = document();
    if (!config)
        return;
    // Each value is read when it is set: an earlier behaviour may have changed it.
    txtComments.setText(config->Comments());
    chkAutoApply.setValue(config->AutoApply() ? 1 : 0);
    chkAutoReboot.setValue(config->AutoReboot() ? 1 : 0);
}

void AdvancedTab::txtComments_Change() {
    window_.UpdateStatus(1);
    if (clsVtlConfig* config = document())
        config->Comments(txtComments.text());
}

void AdvancedTab::chkAutoApply_Click() {
    window_.UpdateStatus(1);
    if (clsVtlConfig* config = document())
        config->AutoApply(chkAutoApply.value() == 1);
}

void AdvancedTab::chkAutoReboot_Click() {
    clsVtlConfig* config = document();
    if (window_.suppressUnsaved) {
        if (config)
            config->AutoReboot(chkAutoReboot.value() == 1);
        return;
    }
    if (chkAutoReboot.value() != 1) {
        if (config)
            config->AutoReboot(false);
        return;
    }
    const platform::Answer answer = window_.dialogs().MsgBox(
        "Are you sure you want to set the AutoReboot option?", platform::mb::YesNo, kAppName);
    if (answer == platform::Answer::Yes) {
        window_.UpdateStatus(1);
        if (config)
            config->AutoReboot(true);
    } else {
        if (config)
            config->AutoReboot(false);
        chkAutoReboot.setValue(0);
    }
}

}  // namespace vtl::ui
