#include "ui/NavigatorForms.h"

#include "ui/frmNNMail.h"
#include "ui/frmNetscape.h"

namespace vtl::ui {

void NavigatorForms::ShowNavigatorWarning() {
    frmNetscape warning;
    warning.ShowModal(dialogs_);
}

NavigatorDialogs::MailDialogResult NavigatorForms::ShowNavigatorMail(clsBrowser& config) {
    frmNNMail dialog;
    dialog.load();
    dialog.Configuration(&config);
    dialogs_.ShowModal(dialog);
    const MailDialogResult result{dialog.Cancelled(), dialog.Changed()};
    dialog.unload();
    return result;
}

}  // namespace vtl::ui
