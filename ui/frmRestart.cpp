#include "ui/frmRestart.h"

#include "app/modReset.h"
#include "config/modAPI.h"

namespace vtl::ui {

frmRestart::frmRestart(DialogService& dialogs) : Form("frmRestart"), dialogs_(dialogs) {
    setCaption("Vantrel Restart");
    fraRestart.setCaption("Restart Options");
    struct Text {
        Control& control;
        const char* caption;
        const char* tip;
    };
    const Text texts[] = {
        {optReboot, "&Reboot - reboot your system now.", "Reboot your PC immediately"},
        {optSuspend, "&Suspend - suspend your system now if supported.",
         "Suspend your PC immediately if supported"},
        {optShutdown, "Sh&utdown - shutdown your system immediately.",
         "Shutdown your PC immediately"},
        {optManual, "&Manual - restart your system at a later time.",
         "Restart your PC manually at a later time"},
        {chkDefault, "Make &Default", "Make the selected choice the default"},
        {cmdOK, "OK", "Invoke the selected choice"},
        {cmdHelp, "&Help", "View help"},
    };
    for (const Text& text : texts) {
        text.control.setCaption(text.caption);
        text.control.setToolTip(text.tip);
    }
    cmdOK.onClick = [this] { cmdOK_Click(); };
    cmdHelp.onClick = [this] { cmdHelp_Click(); };
}

void frmRestart::Form_Load() {
    loadOptions();
}

void frmRestart::loadOptions() {
    const std::string method = DefaultResetMethod();
    OptionButton* const buttons[] = {&optManual, &optReboot, &optShutdown, &optSuspend};
    for (int code = 0; code < 4; ++code) {
        if (method == std::to_string(code)) {
            buttons[code]->setValue(true);
            return;
        }
    }
    for (OptionButton* button : buttons)
        button->setValue(false);
}

std::string frmRestart::selectedMethod() const {
    if (optManual.value())
        return kResetManual;
    if (optReboot.value())
        return kResetReboot;
    if (optShutdown.value())
        return kResetShutdown;
    if (optSuspend.value())
        return kResetSuspend;
    return kResetManual;
}

void frmRestart::setOptions() {
    if (chkDefault.value() == 1 && restartOptions.selected() != nullptr)
        SaveRegSetting(kAppName, "Options", "Restart", selectedMethod());
}

void frmRestart::cmdOK_Click() {
    setOptions();
    const std::string method = selectedMethod();
    if (method == kResetManual) {
        dialogs_.MsgBox("The network changes will take effect the next time you reboot.",
                        platform::mb::OK | platform::mb::IconInformation, kAppName);
    } else {
        ResetPC(method, &dialogs_);
    }
    setVisible(false);
}

void frmRestart::cmdHelp_Click() {
    std::string folder = platform::sys().AppPath();
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    platform::sys().ShellExecute("", folder + "\\help\\index.html", "", "c:\\",
                                 platform::SW_SHOWNORMAL);
}

void frmRestart::runDefault() {
    loadOptions();
    cmdOK_Click();
}

}  // namespace vtl::ui
