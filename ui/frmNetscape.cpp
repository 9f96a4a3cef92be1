#include "ui/frmNetscape.h"

#include "config/Screen.h"
#include "config/modAPI.h"

namespace vtl::ui {

frmNetscape::frmNetscape() : Form("frmNetscape") {
    setCaption("Warning...");
    lblWarning.setCaption(
        "Your Netscape Navigator preference file could not be located. Please check your default "
        "user profile.");
    chkWarning.setCaption("&Do not display this warning again");
    chkWarning.setToolTip("Check this box if you don't want to see this warning again");
    cmdOK.setCaption("OK");
    cmdOK.setToolTip("Close this dialog");
    cmdOK.onClick = [this] { cmdOK_Click(); };
}

void frmNetscape::load() {
    if (loaded_)
        return;
    loaded_ = true;
    previousPointer_ = Screen::MousePointer();
    Screen::SetMousePointer(Screen::Default);
}

void frmNetscape::unload() {
    if (!loaded_)
        return;
    loaded_ = false;
    setVisible(false);
    Screen::SetMousePointer(previousPointer_);
}

void frmNetscape::ShowModal(DialogService& dialogs) {
    stored_ = false;
    load();
    setVisible(true);
    dialogs.ShowModal(*this);
    if (!stored_)
        cmdOK.click();
}

void frmNetscape::cmdOK_Click() {
    SaveRegSetting(kAppName, "Options", "NavigatorWarning", chkWarning.value() == 1 ? "1" : "0");
    stored_ = true;
    unload();
}

}  // namespace vtl::ui
