#include "ui/frmNNMail.h"

#include "browser/clsBrowser.h"

namespace vtl {

frmNNMail::frmNNMail() {
    for (TextBox* box : {&txtUserProfile, &txtFullName, &txtEMailAddr, &txtReplyToAddr,
                         &txtPOP3Server, &txtPOP3Login, &txtSMTPServer, &txtSMTPLogin, &txtOrg}) {
        box->Change = [this] { changed_ = true; };
    }
    chkLeaveMail.Click = [this] { changed_ = true; };
}

void frmNNMail::Configuration(clsBrowser* config) {
    config_ = config;
    if (config_ != nullptr) {
        txtUserProfile.Text(config_->CurrentProfile());
        txtFullName.Text(config_->EMailFullName());
        txtEMailAddr.Text(config_->EMailAddr());
        txtReplyToAddr.Text(config_->EMailReplyToAddr());
        txtPOP3Server.Text(config_->EMailPOP3Server());
        txtPOP3Login.Text(config_->EMailPOP3Login());
        txtSMTPServer.Text(config_->EMailSMTPServer());
        txtSMTPLogin.Text(config_->EMailSMTPLogin());
        txtOrg.Text(config_->EMailOrganization());
        chkLeaveMail.Value(config_->EMailLeaveMailOnServer());
    }
    changed_ = false;
}

void frmNNMail::cmdOK_Click() {
    cancelled_ = false;
    if (config_ != nullptr) {
        config_->EMailFullName(txtFullName.Text());
        config_->EMailAddr(txtEMailAddr.Text());
        config_->EMailReplyToAddr(txtReplyToAddr.Text());
        config_->EMailPOP3Server(txtPOP3Server.Text());
        config_->EMailPOP3Login(txtPOP3Login.Text());
        config_->EMailSMTPServer(txtSMTPServer.Text());
        config_->EMailSMTPLogin(txtSMTPLogin.Text());
        config_->EMailOrganization(txtOrg.Text());
        config_->EMailLeaveMailOnServer(chkLeaveMail.Value());
    }
    visible_ = false;
}

void frmNNMail::cmdCancel_Click() {
    cancelled_ = true;
    changed_ = false;
    visible_ = false;
}

}  // namespace vtl
