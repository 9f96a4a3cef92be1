#include <iostream>

#include "platform/portable/PortablePlatform.h"
#include "ui/frmNNMail.h"
#include "ui/frmNetscape.h"

namespace vtl::portable {

bool PortablePlatform::ShowNavigatorWarning() {
    if (navigatorWarningHandler_)
        return navigatorWarningHandler_();
    std::cerr << messageLine(frmNetscape::lblWarning, frmNetscape::Caption) << '\n';
    return false;
}

platform::Platform::MailDialogResult PortablePlatform::ShowNavigatorMail(clsBrowser& config) {
    frmNNMail dialog;
    dialog.Configuration(&config);
    dialog.Show();
    if (navigatorMailHandler_) {
        navigatorMailHandler_(dialog);
    } else {
        dialog.cmdCancel_Click();
    }
    return {dialog.Cancelled(), dialog.Changed()};
}

}  // namespace vtl::portable
