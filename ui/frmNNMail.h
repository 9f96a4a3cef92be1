// The Navigator e-mail settings dialog, without its window: the values of its
// controls and what the buttons do. A view shows these controls and forwards
// the user's edits and clicks; setting a control's value runs its behaviour.
#pragma once

#include <string>

#include "ui/DialogControls.h"

namespace vtl {

class clsBrowser;

class frmNNMail {
  public:
    static constexpr const char* Caption = "Netscape E-Mail Settings";
    static constexpr const char* lblUserProfile = "User Profile:";
    static constexpr const char* lblFullName = "Full Name:";
    static constexpr const char* lblEMailAddr = "E-Mail Address:";
    static constexpr const char* lblReplyToAddr = "Reply-to Address:";
    static constexpr const char* lblPOP3Server = "POP3 Server:";
    static constexpr const char* lblPOP3Login = "POP3 Login Name:";
    static constexpr const char* lblSMTPServer = "SMTP Server:";
    static constexpr const char* lblSMTPLogin = "SMTP Login Name:";
    static constexpr const char* lblOrg = "Organization:";
    static constexpr const char* lblLeaveMail = "Leave Mail on Server:";

    // Loaded: Cancelled, not Changed, not visible.
    frmNNMail();
    frmNNMail(const frmNNMail&) = delete;
    frmNNMail& operator=(const frmNNMail&) = delete;

    bool Cancelled() const { return cancelled_; }
    bool Changed() const { return changed_; }
    bool Visible() const { return visible_; }
    // Fills the controls from `config` (not owned) and clears Changed.
    void Configuration(clsBrowser* config);
    clsBrowser* NNConfig() const { return config_; }

    void Show() { visible_ = true; }
    // Copies the controls back into the settings object and hides the dialog.
    void cmdOK_Click();
    // Hides the dialog; the settings object is left as it was.
    void cmdCancel_Click();

    TextBox txtUserProfile;
    TextBox txtFullName;
    TextBox txtEMailAddr;
    TextBox txtReplyToAddr;
    TextBox txtPOP3Server;
    TextBox txtPOP3Login;
    TextBox txtSMTPServer;
    TextBox txtSMTPLogin;
    TextBox txtOrg;
    CheckBox chkLeaveMail;

  private:
    clsBrowser* config_ = nullptr;
    bool cancelled_ = true;
    bool changed_ = false;
    bool visible_ = false;
};

}  // namespace vtl
