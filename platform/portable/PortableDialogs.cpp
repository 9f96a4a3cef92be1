#include <iostream>

#include "platform/portable/PortablePlatform.h"
#include "ui/frmNNMail.h"
#include "ui/frmNetscape.h"

namespace vtl::portable {

bool PortablePlatform::ShowNavigatorWarning() {
    if (navigatorWarningHandler_)
        return navigatorWarningHandler_();
    ui::frmNetscape form;
    std::cerr << messageLine(form.lblWarning.caption(), form.caption()) << '\n';
    return false;
}

platform::Platform::MailDialogResult PortablePlatform::ShowNavigatorMail(clsBrowser& config) {
    ui::frmNNMail dialog;
    dialog.load();
    dialog.Configuration(&config);
    dialog.setVisible(true);
    if (navigatorMailHandler_) {
        navigatorMailHandler_(dialog);
    } else {
        dialog.cmdCancel.click();
    }
    MailDialogResult result{dialog.Cancelled(), dialog.Changed()};
    dialog.unload();
    return result;
}

}  // namespace vtl::portable
