#include "ui/frmNNMail.h"

#include "browser/clsBrowser.h"

namespace vtl::ui {

frmNNMail::frmNNMail() : Form("frmNNMail") {
    setCaption("Netscape E-Mail Settings");
    lblUserProfile.setCaption("User Profile:");
    lblFullName.setCaption("Full Name:");
    lblEMailAddr.setCaption("E-Mail Address:");
    lblReplyToAddr.setCaption("Reply-to Address:");
    lblPOP3Server.setCaption("POP3 Server:");
    lblPOP3Login.setCaption("POP3 Login Name:");
    lblSMTPServer.setCaption("SMTP Server:");
    lblSMTPLogin.setCaption("SMTP Login Name:");
    lblOrg.setCaption("Organization:");
    lblLeaveMail.setCaption("Leave Mail on Server:");
    cmdOK.setCaption("OK");
    cmdCancel.setCaption("Cancel");
    for (TextBox* box : {&txtUserProfile, &txtFullName, &txtEMailAddr, &txtReplyToAddr,
                         &txtPOP3Server, &txtPOP3Login, &txtSMTPServer, &txtSMTPLogin, &txtOrg}) {
        box->onChange = [this] { changed_ = true; };
    }
    chkLeaveMail.onClick = [this] { changed_ = true; };
    cmdOK.onClick = [this] { cmdOK_Click(); };
    cmdCancel.onClick = [this] { cmdCancel_Click(); };
}

void frmNNMail::load() {
    cancelled_ = true;
    changed_ = false;
}

void frmNNMail::Configuration(clsBrowser* config) {
    config_ = config;
    if (config_ != nullptr) {
        txtUserProfile.setText(config_->CurrentProfile());
        txtFullName.setText(config_->EMailFullName());
        txtEMailAddr.setText(config_->EMailAddr());
        txtReplyToAddr.setText(config_->EMailReplyToAddr());
        txtPOP3Server.setText(config_->EMailPOP3Server());
        txtPOP3Login.setText(config_->EMailPOP3Login());
        txtSMTPServer.setText(config_->EMailSMTPServer());
        txtSMTPLogin.setText(config_->EMailSMTPLogin());
        txtOrg.setText(config_->EMailOrganization());
        chkLeaveMail.setValue(config_->EMailLeaveMailOnServer() ? 1 : 0);
    }
    changed_ = false;
}

void frmNNMail::cmdOK_Click() {
    cancelled_ = false;
    if (config_ != nullptr) {
        config_->EMailFullName(txtFullName.text());
        config_->EMailAddr(txtEMailAddr.text());
        config_->EMailReplyToAddr(txtReplyToAddr.text());
        config_->EMailPOP3Server(txtPOP3Server.text());
        config_->EMailPOP3Login(txtPOP3Login.text());
        config_->EMailSMTPServer(txtSMTPServer.text());
        config_->EMailSMTPLogin(txtSMTPLogin.text());
        config_->EMailOrganization(txtOrg.text());
        config_->EMailLeaveMailOnServer(chkLeaveMail.value() == 1);
    }
    setVisible(false);
}

void frmNNMail::cmdCancel_Click() {
    cancelled_ = true;
    changed_ = false;
    setVisible(false);
}

}  // namespace vtl::ui
