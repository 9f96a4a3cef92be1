// The Navigator e-mail settings dialog: its controls and what they do. OK
// copies the edits into the settings object; the caller reads Cancelled,
// Changed and NNConfig afterwards.
#pragma once

#include "ui/Controls.h"
#include "ui/DialogService.h"

namespace vtl {
class clsBrowser;
}  // namespace vtl

namespace vtl::ui {

class frmNNMail : public Form {
  public:
    frmNNMail();

    // Cancelled until OK is clicked; not Changed.
    void load() override;
    void unload() override { setVisible(false); }

    bool Cancelled() const { return cancelled_; }
    bool Changed() const { return changed_; }
    // Fills the controls from `config` (not owned) and clears Changed.
    void Configuration(clsBrowser* config);
    clsBrowser* NNConfig() const { return config_; }

    void cmdOK_Click();
    void cmdCancel_Click();

    Label lblUserProfile{"lblUserProfile"};
    Label lblFullName{"lblFullName"};
    Label lblEMailAddr{"lblEMailAddr"};
    Label lblReplyToAddr{"lblReplyToAddr"};
    Label lblPOP3Server{"lblPOP3Server"};
    Label lblPOP3Login{"lblPOP3Login"};
    Label lblSMTPServer{"lblSMTPServer"};
    Label lblSMTPLogin{"lblSMTPLogin"};
    Label lblOrg{"lblOrg"};
    Label lblLeaveMail{"lblLeaveMail"};
    TextBox txtUserProfile{"txtUserProfile"};
    TextBox txtFullName{"txtFullName"};
    TextBox txtEMailAddr{"txtEMailAddr"};
    TextBox txtReplyToAddr{"txtReplyToAddr"};
    TextBox txtPOP3Server{"txtPOP3Server"};
    TextBox txtPOP3Login{"txtPOP3Login"};
    TextBox txtSMTPServer{"txtSMTPServer"};
    TextBox txtSMTPLogin{"txtSMTPLogin"};
    TextBox txtOrg{"txtOrg"};
    CheckBox chkLeaveMail{"chkLeaveMail"};
    CommandButton cmdOK{"cmdOK"};
    CommandButton cmdCancel{"cmdCancel"};

  private:
    clsBrowser* config_ = nullptr;
    bool cancelled_ = true;
    bool changed_ = false;
};

}  // namespace vtl::ui
