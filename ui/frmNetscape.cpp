#include "ui/frmNetscape.h"

#include "config/Screen.h"
#include "config/modAPI.h"
#include "platform/Platform.h"

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

void frmNetscape::ShowModal() {
    load();
    setVisible(true);
    chkWarning.setValue(platform::sys().ShowNavigatorWarning() ? 1 : 0);
    cmdOK.click();
}

void frmNetscape::cmdOK_Click() {
    SaveRegSetting(kAppName, "Options", "NavigatorWarning", chkWarning.value() == 1 ? "1" : "0");
    unload();
}

}  // namespace vtl::ui
