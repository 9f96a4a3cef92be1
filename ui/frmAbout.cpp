#include "ui/frmAbout.h"

#include "config/modAPI.h"

namespace vtl::ui {

frmAbout::frmAbout() : Form("frmAbout") {
    setCaption("About Vantrel");
    lblTitle.setCaption(kAppName);
    lblVersion.setCaption("Version " + ProgramVersion());
    lblDescription.setCaption(
        "Switches this PC between stored network, browser and printer configurations.");
    cmdOK.setCaption("OK");
    cmdOK.onClick = [this] { cmdOK_Click(); };
}

void frmAbout::cmdOK_Click() {
    setVisible(false);
}

}  // namespace vtl::ui
