// The "N. Navigator" page of the main window: the user profile, the
// connection method (direct, manual proxies, automatic configuration), the
// per-protocol proxy servers, exceptions, the home page and the e-mail
// dialog. Every edit is written at once into the window's Navigator object
// and marks the window's status; choosing another profile reloads the object
// from that profile and refills the page.
#pragma once

#include "ui/Controls.h"

namespace vtl {
class frmMain;
class clsBrowser;
}  // namespace vtl

namespace vtl::ui {

class NavigatorTab {
  public:
    explicit NavigatorTab(frmMain& window);
    NavigatorTab(const NavigatorTab&) = delete;
    NavigatorTab& operator=(const NavigatorTab&) = delete;

    // Rebuilds the profile list and selects the current profile, which
    // refills the page unless a file is being loaded.
    void LoadNNProfiles();
    // Fills the page (all but the profile list) from the Navigator object.
    void initializeNNControls();
    // Enables the twelve proxy boxes and the exceptions box, or disables them
    // in the active-border colour.
    void EnableNNProtocols(bool bMode);

    // --- Behaviours, wired to the controls. ---
    void cboNNProfile_Click();
    void optNNDirect_Click();
    void optNNProxy_Click();
    void optNNAuto_Click();
    void cmdNNMail_Click();

    // --- Controls. ---
    Frame fraUserProfile{"fraUserProfile"};
    Frame fraConnectionMethod{"fraConnectionMethod"};
    Frame fraProxySettings{"fraProxySettings"};
    Frame fraMiscellaneous{"fraMiscellaneous"};

    Label lblNNProfile{"lblNNProfile"};
    ComboBox cboNNProfile{"cboNNProfile"};

    OptionGroup connectionMethod;
    OptionButton optNNDirect{"optNNDirect", connectionMethod};
    OptionButton optNNProxy{"optNNProxy", connectionMethod};
    OptionButton optNNAuto{"optNNAuto", connectionMethod};
    Label lblNNAutoConfig{"lblNNAutoConfig"};
    TextBox txtNNAutoConfig{"txtNNAutoConfig"};

    Label lblNNHTTP{"lblNNHTTP"};
    TextBox txtNNHTTPAddr{"txtNNHTTPAddr"};
    Label lblNNHTTPColon{"lblNNHTTPColon"};
    TextBox txtNNHTTPPort{"txtNNHTTPPort"};
    Label lblNNSecure{"lblNNSecure"};
    TextBox txtNNSecureAddr{"txtNNSecureAddr"};
    Label lblNNSecureColon{"lblNNSecureColon"};
    TextBox txtNNSecurePort{"txtNNSecurePort"};
    Label lblNNFTP{"lblNNFTP"};
    TextBox txtNNFTPAddr{"txtNNFTPAddr"};
    Label lblNNFTPColon{"lblNNFTPColon"};
    TextBox txtNNFTPPort{"txtNNFTPPort"};
    Label lblNNGopher{"lblNNGopher"};
    TextBox txtNNGopherAddr{"txtNNGopherAddr"};
    Label lblNNGopherColon{"lblNNGopherColon"};
    TextBox txtNNGopherPort{"txtNNGopherPort"};
    Label lblNNSocks{"lblNNSocks"};
    TextBox txtNNSocksAddr{"txtNNSocksAddr"};
    Label lblNNSocksColon{"lblNNSocksColon"};
    TextBox txtNNSocksPort{"txtNNSocksPort"};
    Label lblNNWAIS{"lblNNWAIS"};
    TextBox txtNNWAISAddr{"txtNNWAISAddr"};
    Label lblNNWAISColon{"lblNNWAISColon"};
    TextBox txtNNWAISPort{"txtNNWAISPort"};
    Label lblNNExceptions{"lblNNExceptions"};
    TextBox txtNNExceptions{"txtNNExceptions"};

    Label lblNNDefHomePage{"lblNNDefHomePage"};
    TextBox txtNNDefHomePage{"txtNNDefHomePage"};
    CommandButton cmdNNMail{"cmdNNMail"};

  private:
    // The window's Navigator object; null when there is none.
    clsBrowser* nn() const;
    void updateStatus();
    // Wires a text box: status first, then `store` with the full text.
    void bindText(TextBox& box, void (clsBrowser::*store)(const std::string&));
    void setAutoConfigBox(bool on);

    frmMain& window_;
};

}  // namespace vtl::ui
