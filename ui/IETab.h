// The "I. Explorer" page of the main window: proxy use and the per-protocol
// proxy servers, exceptions, the automatic configuration address, LAN or
// dial-up connection, password caching and the home page. Every edit is
// written at once into the window's Internet Explorer object and marks the
// window's status; filling the page runs the same behaviours.
#pragma once

#include "ui/Controls.h"

namespace vtl {
class frmMain;
class clsBrowser;
}  // namespace vtl

namespace vtl::ui {

class IETab {
  public:
    explicit IETab(frmMain& window);
    IETab(const IETab&) = delete;
    IETab& operator=(const IETab&) = delete;

    // Fills the page from the window's Internet Explorer object, setting only
    // the controls that differ from it.
    void initializeIEControls();
    // Enables the FTP, Secure, Gopher and Socks boxes, or disables them in the
    // active-border colour.
    void EnableProtocols(bool bMode);

    // --- Behaviours, wired to the controls. ---
    void chkIEUseProxy_Click();
    void chkIEUseSameForAll_Click();
    void chkIgnoreLocal_Click();
    void chkDisableIEPWDCache_Click();
    void optLAN_Click();
    void optModem_Click();
    void cmbISP_Click();

    // --- Controls. ---
    Frame fraProxySettings{"fraProxySettings"};
    Frame fraConnectionMethod{"fraConnectionMethod"};
    Frame fraMiscellaneous{"fraMiscellaneous"};

    CheckBox chkIEUseProxy{"chkIEUseProxy"};
    CheckBox chkIEUseSameForAll{"chkIEUseSameForAll"};
    CheckBox chkIgnoreLocal{"chkIgnoreLocal"};

    Label lblIEHTTP{"lblIEHTTP"};
    TextBox txtIEHTTPAddr{"txtIEHTTPAddr"};
    Label lblIEHTTPColon{"lblIEHTTPColon"};
    TextBox txtIEHTTPPort{"txtIEHTTPPort"};
    Label lblIESecure{"lblIESecure"};
    TextBox txtIESecureAddr{"txtIESecureAddr"};
    Label lblIESecureColon{"lblIESecureColon"};
    TextBox txtIESecurePort{"txtIESecurePort"};
    Label lblIEFTP{"lblIEFTP"};
    TextBox txtIEFTPAddr{"txtIEFTPAddr"};
    Label lblIEFTPColon{"lblIEFTPColon"};
    TextBox txtIEFTPPort{"txtIEFTPPort"};
    Label lblIEGopher{"lblIEGopher"};
    TextBox txtIEGopherAddr{"txtIEGopherAddr"};
    Label lblIEGopherColon{"lblIEGopherColon"};
    TextBox txtIEGopherPort{"txtIEGopherPort"};
    Label lblIESocks{"lblIESocks"};
    TextBox txtIESocksAddr{"txtIESocksAddr"};
    Label lblIESocksColon{"lblIESocksColon"};
    TextBox txtIESocksPort{"txtIESocksPort"};
    Label lblIEExceptions{"lblIEExceptions"};
    TextBox txtIEExceptions{"txtIEExceptions"};
    Label lblIEAutoConfigURL{"lblIEAutoConfigURL"};
    TextBox txtIEAutoConfigURL{"txtIEAutoConfigURL"};

    OptionGroup connectionMethod;
    OptionButton optLAN{"optLAN", connectionMethod};
    OptionButton optModem{"optModem", connectionMethod};
    ComboBox cmbISP{"cmbISP"};

    CheckBox chkDisableIEPWDCache{"chkDisableIEPWDCache"};
    Label lblIEDefHomePage{"lblIEDefHomePage"};
    TextBox txtIEDefHomePage{"txtIEDefHomePage"};

  private:
    // The window's Internet Explorer object; null when there is none.
    clsBrowser* ie() const;
    void updateStatus();
    // Wires a text box: status first, then `store` with the full text.
    void bindText(TextBox& box, void (clsBrowser::*store)(const std::string&));

    frmMain& window_;
};

}  // namespace vtl::ui
