// The "General" page of the main window: TCP/IP of one adapter at a time,
// DNS, WINS, NT domain logon, password caching, quick logon, computer name,
// workgroup and the default printer. Every edit is written at once into the
// window's network object and marks the window's status; filling the page
// runs the same behaviours, under the window's loading and suppress-unsaved
// flags.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/Controls.h"

namespace vtl {
class frmMain;
class clsNetConfig;
}  // namespace vtl

namespace vtl::ui {

class frmNICWarning;

class GeneralTab {
  public:
    explicit GeneralTab(frmMain& window);
    ~GeneralTab();
    GeneralTab(const GeneralTab&) = delete;
    GeneralTab& operator=(const GeneralTab&) = delete;

    // Fills the page from the window's network object.
    void initializeNICControls();
    // Enabled states and background colours by adapter, system and check boxes.
    void EnableNICControls(bool bMode);

    // --- Behaviours, wired to the controls. ---
    void cmbNIC_Click();
    void chkIPNo_Click();
    void txtHost_Change();
    void txtDomain_Change();
    void txtIP_Change();
    void txtMask_Change();
    void txtGateway_Change();
    void txtDNSServers_Change();
    void txtDNSOrder_Change();
    void txtWINSServer1_Change();
    void txtWINSServer2_Change();
    void txtWINSScopeID_Change();
    void txtNTDomain_Change();
    void txtComputerName_Change();
    void txtWorkGroup_Change();
    void txtIP_LostFocus();
    void txtMask_LostFocus();
    void txtGateway_LostFocus();
    void txtDNSServers_LostFocus();
    void chkDNSEnabled_Click();
    void chkWINSEnabled_Click();
    void chkDHCPEnabled_Click();
    void chkLogonToNT_Click();
    void chkDisablePWDCache_Click();
    void chkQuickLogon_Click();
    void chkEnableDefPrinter_Click();
    void cmbDefPrinter_Click();
    void cmdPrinter_Click();

    // --- Page state. ---
    std::vector<std::string> ipAddresses;  // entry i belongs to chkIPNo entry i
    std::vector<std::string> ipMasks;
    std::string savedIP;
    std::string savedMask;
    std::string savedGateway;
    bool hasAdapters = false;

    // --- Controls. ---
    Frame fraNetworkSettings{"fraNetworkSettings"};
    Frame fraPrinterSettings{"fraPrinterSettings"};

    Label lblNIC{"lblNIC"};
    ComboBox cmbNIC{"cmbNIC"};
    ComboBox chkIPNo{"chkIPNo"};
    Label lblIP{"lblIP"};
    TextBox txtIP{"txtIP"};
    Label lblMask{"lblMask"};
    TextBox txtMask{"txtMask"};
    Label lblGateway{"lblGateway"};
    TextBox txtGateway{"txtGateway"};
    CheckBox chkDHCPEnabled{"chkDHCPEnabled"};
    CheckBox chkDNSEnabled{"chkDNSEnabled"};
    Label lblHost{"lblHost"};
    TextBox txtHost{"txtHost"};
    Label lblDomain{"lblDomain"};
    TextBox txtDomain{"txtDomain"};
    Label lblDNSServers{"lblDNSServers"};
    TextBox txtDNSServers{"txtDNSServers"};
    Label lblDNSOrder{"lblDNSOrder"};
    TextBox txtDNSOrder{"txtDNSOrder"};
    CheckBox chkWINSEnabled{"chkWINSEnabled"};
    Label lblWINSServers{"lblWINSServers"};
    TextBox txtWINSServer1{"txtWINSServer1"};
    TextBox txtWINSServer2{"txtWINSServer2"};
    Label lblWINSScopeID{"lblWINSScopeID"};
    TextBox txtWINSScopeID{"txtWINSScopeID"};
    CheckBox chkLogonToNT{"chkLogonToNT"};
    Label lblNTDomain{"lblNTDomain"};
    TextBox txtNTDomain{"txtNTDomain"};
    CheckBox chkDisablePWDCache{"chkDisablePWDCache"};
    CheckBox chkQuickLogon{"chkQuickLogon"};
    Label lblComputerName{"lblComputerName"};
    TextBox txtComputerName{"txtComputerName"};
    Label lblWorkgroup{"lblWorkgroup"};
    TextBox txtWorkGroup{"txtWorkGroup"};

    CheckBox chkEnableDefPrinter{"chkEnableDefPrinter"};
    Label lblDefPrinter{"lblDefPrinter"};
    ComboBox cmbDefPrinter{"cmbDefPrinter"};
    CommandButton cmdPrinter{"cmdPrinter"};

  private:
    // The window's network object; null when there is none.
    clsNetConfig* net() const;
    bool fileLoading() const;
    // Sets chkWINSEnabled and chkDHCPEnabled from the model; with both on, DHCP wins.
    void showWinsAndDhcp(clsNetConfig& config);
    void updateStatus(int mode);
    // Enabled with the window-background colour, or disabled with button face.
    static void enableBox(TextBox& box, bool on);
    // Validation when an address box loses the focus.
    void checkAddress(TextBox& box, bool valid, const char* message);

    frmMain& window_;
    std::unique_ptr<frmNICWarning> nicWarningForm_;
};

}  // namespace vtl::ui
