#include "ui/GeneralTab.h"

#include <cstdint>

#include "app/frmMain.h"
#include "config/modAPI.h"
#include "net/clsNetConfig.h"
#include "ui/IPText.h"
#include "ui/frmNICWarning.h"
#include "ui/frmPrinter.h"

namespace vtl::ui {

namespace {

constexpr const char* kNoAdapters = "No Adapters Installed";
constexpr const char* kUnknownAdapter = "[Unknown Adapter Type]";
constexpr const char* kNoPrinters = "No Printers Installed";
constexpr const char* kNoAddress = "0.0.0.0";
constexpr const char* kCurrentConfiguration = "[Current Configuration]";
constexpr std::size_t kNameLength = 15;

int checked(bool on) {
    return on ? 1 : 0;
}

// The list entry at `index`, or "" when the list has none there.
std::string entryAt(const std::vector<std::string>& list, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.size())
        return {};
    return list[static_cast<std::size_t>(index)];
}

// Stores `text` as entry `index`, growing the list when needed.
void storeAt(std::vector<std::string>& list, int index, const std::string& text) {
    if (index < 0)
        return;
    if (static_cast<std::size_t>(index) >= list.size())
        list.resize(static_cast<std::size_t>(index) + 1);
    list[static_cast<std::size_t>(index)] = text;
}

}  // namespace

GeneralTab::GeneralTab(frmMain& window) : window_(window) {
    fraNetworkSettings.setCaption("Network Settings");
    fraPrinterSettings.setCaption("Printer Settings");

    lblNIC.setCaption("Network A&dapter:");
    cmbNIC.setToolTip("Select the network adapter you would like to configure");
    chkIPNo.setToolTip("Select IP/Mask for multiple IP addresses");
    for (const char* entry : {"IP: 1", "IP: 2", "IP: 3"})
        chkIPNo.addItem(entry);
    chkIPNo.setListIndex(0);
    lblIP.setCaption("&IP:");
    txtIP.setToolTip("Enter your IP address (e.g. 192.168.101.5)");
    lblMask.setCaption("&Mask:");
    txtMask.setToolTip("Enter your IP mask (e.g. 255.255.255.0)");
    lblGateway.setCaption("&Gateway:");
    txtGateway.setToolTip(
        "Enter your gateway servers separated by commas (e.g. 192.168.101.1,192.168.101.2)");
    chkDHCPEnabled.setCaption("DH&CP Enabled");
    chkDHCPEnabled.setToolTip("Check this box to enable DHCP for WINS");
    chkDNSEnabled.setCaption("DNS Enab&led");
    chkDNSEnabled.setToolTip("Check this box to enable DNS for Windows resolution");
    lblHost.setCaption("Hos&t:");
    txtHost.setToolTip("Enter your host name");
    lblDomain.setCaption("D&omain:");
    txtDomain.setToolTip("Enter your domain name");
    lblDNSServers.setCaption("DNS Ser&vers:");
    txtDNSServers.setToolTip(
        "Enter up to three DNS servers separated by commas (e.g. "
        "192.168.101.10,192.168.101.11)");
    lblDNSOrder.setCaption("DNS O&rder:");
    txtDNSOrder.setToolTip("Enter your DNS search order separated by commas");
    chkWINSEnabled.setCaption("&WINS Enabled");
    chkWINSEnabled.setToolTip("Check this box to enable WINS resolution");
    lblWINSServers.setCaption("WINS S&ervers:");
    txtWINSServer1.setToolTip("Enter your first WINS server address (e.g. 192.168.101.10)");
    txtWINSServer2.setToolTip("Enter your second WINS server address (e.g. 192.168.101.11)");
    lblWINSScopeID.setCaption("WINS Sco&pe ID:");
    txtWINSScopeID.setToolTip("Enter your WINS scope ID");
    chkLogonToNT.setCaption("&Logon to NT Domain");
    chkLogonToNT.setToolTip("Check this box to logon to an NT domain");
    lblNTDomain.setCaption("&NT Domain:");
    txtNTDomain.setToolTip("Enter your NT domain");
    chkDisablePWDCache.setCaption("Disa&ble Password Cache");
    chkDisablePWDCache.setToolTip("Check this box to disable password caching");
    chkQuickLogon.setCaption("&Quick Logon to Network");
    chkQuickLogon.setToolTip("Check this box to skip connecting network shares when logging on");
    lblComputerName.setCaption("Comp&uter Name:");
    txtComputerName.setToolTip("Enter your computer name");
    lblWorkgroup.setCaption("Wor&kgroup:");
    txtWorkGroup.setToolTip("Enter your workgroup");
    chkEnableDefPrinter.setCaption("Enable Default &Printer");
    lblDefPrinter.setCaption("&Default Printer:");
    cmbDefPrinter.setToolTip("Select your default printer");
    cmdPrinter.setCaption("...");
    cmdPrinter.setToolTip("Click for advanced printer properties");

    for (TextBox* box : {&txtIP, &txtMask, &txtComputerName, &txtWorkGroup})
        box->setMaxLength(kNameLength);

    cmbNIC.onClick = [this] { cmbNIC_Click(); };
    chkIPNo.onClick = [this] { chkIPNo_Click(); };
    txtHost.onChange = [this] { txtHost_Change(); };
    txtDomain.onChange = [this] { txtDomain_Change(); };
    txtIP.onChange = [this] { txtIP_Change(); };
    txtMask.onChange = [this] { txtMask_Change(); };
    txtGateway.onChange = [this] { txtGateway_Change(); };
    txtDNSServers.onChange = [this] { txtDNSServers_Change(); };
    txtDNSOrder.onChange = [this] { txtDNSOrder_Change(); };
    txtWINSServer1.onChange = [this] { txtWINSServer1_Change(); };
    txtWINSServer2.onChange = [this] { txtWINSServer2_Change(); };
    txtWINSScopeID.onChange = [this] { txtWINSScopeID_Change(); };
    txtNTDomain.onChange = [this] { txtNTDomain_Change(); };
    txtComputerName.onChange = [this] { txtComputerName_Change(); };
    txtWorkGroup.onChange = [this] { txtWorkGroup_Change(); };
    txtIP.onLostFocus = [this] { txtIP_LostFocus(); };
    txtMask.onLostFocus = [this] { txtMask_LostFocus(); };
    txtGateway.onLostFocus = [this] { txtGateway_LostFocus(); };
    txtDNSServers.onLostFocus = [this] { txtDNSServers_LostFocus(); };
    chkDNSEnabled.onClick = [this] { chkDNSEnabled_Click(); };
    chkWINSEnabled.onClick = [this] { chkWINSEnabled_Click(); };
    chkDHCPEnabled.onClick = [this] { chkDHCPEnabled_Click(); };
    chkLogonToNT.onClick = [this] { chkLogonToNT_Click(); };
    chkDisablePWDCache.onClick = [this] { chkDisablePWDCache_Click(); };
    chkQuickLogon.onClick = [this] { chkQuickLogon_Click(); };
    chkEnableDefPrinter.onClick = [this] { chkEnableDefPrinter_Click(); };
    cmbDefPrinter.onClick = [this] { cmbDefPrinter_Click(); };
    cmdPrinter.onClick = [this] { cmdPrinter_Click(); };
}

GeneralTab::~GeneralTab() = default;

clsNetConfig* GeneralTab::net() const {
    return window_.oNetConfig.get();
}

bool GeneralTab::fileLoading() const {
    return window_.suppressUnsaved;
}

void GeneralTab::updateStatus(int mode) {
    window_.UpdateStatus(static_cast<std::int16_t>(mode));
}

void GeneralTab::enableBox(TextBox& box, bool on) {
    box.setEnabled(on);
    box.setBackColor(on ? colour::WindowBackground : colour::ButtonFace);
}

// --- Filling ---

void GeneralTab::initializeNICControls() {
    clsNetConfig* config = net();
    if (!config)
        return;
    config->resetFlags();
    chkIPNo.setListIndex(0);
    if (config->IPAddress() == kNoAddress)
        config->IPAddress("");
    if (config->IPMask() == kNoAddress)
        config->IPMask("");

    cmbNIC.clear();
    const NameList adapters = config->AdapterList();
    if (config->CurrentAdapter() < 0 || !adapters || adapters->empty()) {
        cmbNIC.addItem(kNoAdapters);
        cmbNIC.setEnabled(false);
        cmbNIC.setListIndex(0);
        hasAdapters = false;
    } else {
        cmbNIC.setEnabled(true);
        for (const std::string& adapter : *adapters)
            cmbNIC.addItem(adapter);
        const int current = config->CurrentAdapter();
        if (current < cmbNIC.listCount())
            cmbNIC.setListIndex(current);
        hasAdapters = true;
    }

    ipAddresses = SplitIP(config->IPAddress(), ",", 3);
    ipMasks = SplitIP(config->IPMask(), ",", 3);

    // Each value is read when it is set: earlier behaviours may have changed it.
    txtHost.setText(config->Host());
    txtDomain.setText(config->DomainName());
    txtIP.setText(entryAt(ipAddresses, chkIPNo.listIndex()));
    txtMask.setText(entryAt(ipMasks, chkIPNo.listIndex()));
    txtGateway.setText(config->DefaultGateway());
    txtDNSServers.setText(config->DNSServers());
    txtDNSOrder.setText(config->SearchList());
    txtWINSServer1.setText(config->WINSServer1());
    txtWINSServer2.setText(config->WINSServer2());
    txtWINSScopeID.setText(config->ScopeID());
    chkLogonToNT.setValue(checked(config->NTLogonEnabled()));
    txtNTDomain.setText(config->NTDomain());
    chkDNSEnabled.setValue(checked(config->DNSEnabled()));
    chkQuickLogon.setValue(checked(config->QuickLogon()));
    showWinsAndDhcp(*config);
    chkDisablePWDCache.setValue(checked(config->DisablePWDCache()));
    txtComputerName.setText(config->ComputerName());
    txtWorkGroup.setText(config->Workgroup());

    cmbDefPrinter.clear();
    const NameList printers = config->printerList();
    if (!printers) {
        cmbDefPrinter.addItem(kNoPrinters);
        cmbDefPrinter.setEnabled(false);
        cmbDefPrinter.setListIndex(0);
        window_.mnuFilePrintSetup.setEnabled(false);
        window_.mnuFilePrint.setEnabled(false);
    } else {
        cmbDefPrinter.setEnabled(true);
        for (const std::string& printer : *printers)
            cmbDefPrinter.addItem(printer);
        const std::string defaultPrinter = config->DefaultPrinter();
        for (int i = 0; i < cmbDefPrinter.listCount(); ++i) {
            if (cmbDefPrinter.listAt(i) == defaultPrinter) {
                cmbDefPrinter.setListIndex(i);
                break;
            }
        }
    }

    chkEnableDefPrinter.setValue(checked(config->EnableDefaultPrinter()));
    cmbNIC_Click();
}

void GeneralTab::cmbNIC_Click() {
    clsNetConfig* config = net();
    if (!config)
        return;
    const bool loadingFile = fileLoading();
    if (window_.caption().find(kCurrentConfiguration) == std::string::npos && !loadingFile &&
        window_.nicWarning) {
        if (!nicWarningForm_)
            nicWarningForm_ = std::make_unique<frmNICWarning>();
        window_.nicWarning = false;
        window_.dialogs().ShowModeless(*nicWarningForm_);
    }

    const auto index = static_cast<std::int16_t>(cmbNIC.listIndex());
    if (loadingFile) {
        window_.loading = false;
        config->CurrentAdapterNoRefresh(index);
    } else {
        window_.loading = true;
        config->CurrentAdapter(index);
    }

    ipAddresses = SplitIP(config->IPAddress(), ",", 3);
    ipMasks = SplitIP(config->IPMask(), ",", 3);
    txtIP.setText(entryAt(ipAddresses, chkIPNo.listIndex()));
    txtMask.setText(entryAt(ipMasks, chkIPNo.listIndex()));
    txtGateway.setText(config->DefaultGateway());
    txtWINSServer1.setText(config->WINSServer1());
    txtWINSServer2.setText(config->WINSServer2());
    showWinsAndDhcp(*config);

    EnableNICControls(cmbNIC.text() != kUnknownAdapter);

    if (!loadingFile)
        window_.loading = false;
}

void GeneralTab::showWinsAndDhcp(clsNetConfig& config) {
    // With both on, DHCP wins, as the apply does.
    if (config.DHCPEnabled() && config.WINSEnabled())
        config.WINSEnabled(false);
    // Each box's click also clears the other item in the model, so the box being
    // cleared goes first and the one being ticked last (its click restores its item).
    const bool wins = config.WINSEnabled();
    const bool dhcp = config.DHCPEnabled();
    if (dhcp || chkDHCPEnabled.value() == 0) {
        chkWINSEnabled.setValue(checked(wins));
        chkDHCPEnabled.setValue(checked(dhcp));
    } else {
        chkDHCPEnabled.setValue(0);
        chkWINSEnabled.setValue(checked(wins));
    }
}

void GeneralTab::EnableNICControls(bool bMode) {
    const std::string os = GetOSVersion();
    const bool w = os != "NT" && os != "2K";
    const bool h = hasAdapters;
    const bool on = bMode && h;
    const bool dhcp = chkDHCPEnabled.value() == 0;

    txtHost.setEnabled(on);
    txtDomain.setEnabled(on);
    chkDNSEnabled.setEnabled(on);
    txtIP.setEnabled(on && dhcp);
    txtMask.setEnabled(on && dhcp);
    txtGateway.setEnabled(on && dhcp);
    txtDNSServers.setEnabled(on && chkDNSEnabled.value() == 1);
    txtDNSOrder.setEnabled(on && chkDNSEnabled.value() == 1);
    const bool wins = on && chkWINSEnabled.value() == 1;
    txtWINSServer1.setEnabled(wins);
    txtWINSServer2.setEnabled(wins);
    txtWINSScopeID.setEnabled(wins);
    chkWINSEnabled.setEnabled(on && dhcp);
    chkDHCPEnabled.setEnabled(on && chkWINSEnabled.value() == 0);
    chkLogonToNT.setEnabled(on && w);
    txtNTDomain.setEnabled(on && chkLogonToNT.value() == 1);
    chkQuickLogon.setEnabled(bMode && w);
    chkDisablePWDCache.setEnabled(bMode && w);
    txtWorkGroup.setEnabled(bMode && w);
    txtComputerName.setEnabled(bMode);
    lblWorkgroup.setEnabled(w);
    lblNTDomain.setEnabled(w);

    for (TextBox* box : {&txtHost, &txtDomain, &txtGateway, &txtIP, &txtMask, &txtWorkGroup})
        box->setBackColor(box->enabled() ? colour::WindowBackground : colour::ButtonFace);
}

void GeneralTab::chkIPNo_Click() {
    const int index = chkIPNo.listIndex();
    if (index < 0)
        return;
    if (static_cast<std::size_t>(index) < ipAddresses.size())
        txtIP.setText(ipAddresses[static_cast<std::size_t>(index)]);
    if (static_cast<std::size_t>(index) < ipMasks.size())
        txtMask.setText(ipMasks[static_cast<std::size_t>(index)]);
}

// --- Text boxes ---

void GeneralTab::txtHost_Change() {
    updateStatus(1);
    if (clsNetConfig* config = net())
        config->Host(txtHost.text());
}

void GeneralTab::txtDomain_Change() {
    updateStatus(1);
    if (clsNetConfig* config = net())
        config->DomainName(txtDomain.text());
}

void GeneralTab::txtIP_Change() {
    updateStatus(3);
    if (txtIP.text() == kNoAddress) {
        txtIP.setText("");  // runs this behaviour again with the empty text
        return;
    }
    savedIP = txtIP.text();
    storeAt(ipAddresses, chkIPNo.listIndex(), txtIP.text());
    if (clsNetConfig* config = net())
        config->IPAddress(MergeIP(ipAddresses, ","));
}

void GeneralTab::txtMask_Change() {
    updateStatus(3);
    if (txtMask.text() == kNoAddress) {
        txtMask.setText("");
        return;
    }
    savedMask = txtMask.text();
    storeAt(ipMasks, chkIPNo.listIndex(), txtMask.text());
    if (clsNetConfig* config = net())
        config->IPMask(MergeIP(ipMasks, ","));
}

void GeneralTab::txtGateway_Change() {
    updateStatus(3);
    if (txtGateway.text() == kNoAddress) {
        txtGateway.setText("");
        return;
    }
    savedGateway = txtGateway.text();
    if (clsNetConfig* config = net())
        config->DefaultGateway(txtGateway.text());
}

void GeneralTab::txtDNSServers_Change() {
    updateStatus(1);
    if (clsNetConfig* config = net())
        config->DNSServers(txtDNSServers.text());
}

void GeneralTab::txtDNSOrder_Change() {
    updateStatus(1);
    if (clsNetConfig* config = net())
        config->SearchList(txtDNSOrder.text());
}

void GeneralTab::txtWINSServer1_Change() {
    updateStatus(1);
    if (clsNetConfig* config = net())
        config->WINSServer1(txtWINSServer1.text());
}

void GeneralTab::txtWINSServer2_Change() {
    updateStatus(1);
    if (clsNetConfig* config = net())
        config->WINSServer2(txtWINSServer2.text());
}

void GeneralTab::txtWINSScopeID_Change() {
    updateStatus(1);
    if (clsNetConfig* config = net())
        config->ScopeID(txtWINSScopeID.text());
}

void GeneralTab::txtNTDomain_Change() {
    updateStatus(3);
    if (clsNetConfig* config = net())
        config->NTDomain(txtNTDomain.text());
}

void GeneralTab::txtComputerName_Change() {
    updateStatus(3);
    if (clsNetConfig* config = net())
        config->ComputerName(txtComputerName.text());
}

void GeneralTab::txtWorkGroup_Change() {
    updateStatus(3);
    if (clsNetConfig* config = net())
        config->Workgroup(txtWorkGroup.text());
}

// --- Validation on leaving a box ---

void GeneralTab::checkAddress(TextBox& box, bool valid, const char* message) {
    if (valid)
        return;
    window_.dialogs().MsgBox(message, platform::mb::OK, kAppName);
    box.setFocus();
}

void GeneralTab::txtIP_LostFocus() {
    checkAddress(txtIP, isValidIPAddress(txtIP.text()),
                 "Please enter a valid IP address (e.g. 192.168.101.5)");
}

void GeneralTab::txtMask_LostFocus() {
    checkAddress(txtMask, isValidIPAddress(txtMask.text()),
                 "Please enter a valid Mask address (e.g. 255.255.255.0)");
}

void GeneralTab::txtGateway_LostFocus() {
    checkAddress(txtGateway, isValidIPList(txtGateway.text(), ","),
                 "Please enter a valid Gateway address list separated by commas (e.g. "
                 "192.168.101.5,192.168.101.6)");
}

void GeneralTab::txtDNSServers_LostFocus() {
    checkAddress(txtDNSServers, isValidIPList(txtDNSServers.text(), ","),
                 "Please enter a valid DNS Server address list separated by commas (e.g. "
                 "192.168.101.5,192.168.101.6)");
}

// --- Check boxes ---

void GeneralTab::chkDNSEnabled_Click() {
    updateStatus(1);
    const bool on = chkDNSEnabled.value() == 1;
    if (clsNetConfig* config = net())
        config->DNSEnabled(on);
    for (TextBox* box : {&txtHost, &txtDomain, &txtDNSServers, &txtDNSOrder})
        enableBox(*box, on);
}

void GeneralTab::chkWINSEnabled_Click() {
    updateStatus(3);
    const bool on = chkWINSEnabled.value() == 1;
    if (clsNetConfig* config = net()) {
        config->WINSEnabled(on);
        config->DHCPEnabled(false);
    }
    chkDHCPEnabled.setEnabled(!on);
    for (TextBox* box : {&txtWINSServer1, &txtWINSServer2, &txtWINSScopeID})
        enableBox(*box, on);
}

void GeneralTab::chkDHCPEnabled_Click() {
    updateStatus(3);
    const bool dhcp = chkDHCPEnabled.value() == 1;
    if (clsNetConfig* config = net()) {
        config->DHCPEnabled(dhcp);
        config->WINSEnabled(false);
    }
    const bool manual = chkDHCPEnabled.value() == 0;
    enableBox(txtIP, manual);
    enableBox(txtMask, manual);
    enableBox(txtGateway, manual);
    chkIPNo.setEnabled(manual);
    if (!manual) {
        // Clear the boxes (their behaviours record the empty texts) but keep
        // what they showed, for unchecking.
        struct Box {
            TextBox& box;
            std::string& saved;
        };
        for (Box b :
             {Box{txtIP, savedIP}, Box{txtMask, savedMask}, Box{txtGateway, savedGateway}}) {
            const std::string shown = b.box.text();
            b.box.setText("");
            b.saved = shown;
        }
    } else {
        const std::string ip = savedIP;
        const std::string mask = savedMask;
        const std::string gateway = savedGateway;
        txtIP.setText(ip);
        txtMask.setText(mask);
        txtGateway.setText(gateway);
    }
    chkWINSEnabled.setEnabled(manual);
}

void GeneralTab::chkLogonToNT_Click() {
    updateStatus(3);
    const bool on = chkLogonToNT.value() == 1;
    if (clsNetConfig* config = net())
        config->NTLogonEnabled(on);
    enableBox(txtNTDomain, on);
}

void GeneralTab::chkDisablePWDCache_Click() {
    updateStatus(3);
    if (clsNetConfig* config = net())
        config->DisablePWDCache(chkDisablePWDCache.value() == 1);
}

void GeneralTab::chkQuickLogon_Click() {
    updateStatus(3);
    if (clsNetConfig* config = net())
        config->QuickLogon(chkQuickLogon.value() == 1);
}

void GeneralTab::chkEnableDefPrinter_Click() {
    updateStatus(1);
    if (clsNetConfig* config = net())
        config->EnableDefaultPrinter(chkEnableDefPrinter.value() == 1);
    // The placeholder of a PC without printers stays disabled.
    const bool placeholder =
        cmbDefPrinter.listCount() == 1 && cmbDefPrinter.listAt(0) == kNoPrinters;
    cmbDefPrinter.setEnabled(chkEnableDefPrinter.value() != 0 && !placeholder);
}

// --- Printer ---

void GeneralTab::cmbDefPrinter_Click() {
    if (cmbDefPrinter.listIndex() < 0 || cmbDefPrinter.text() == kNoPrinters)
        return;
    updateStatus(1);
    if (clsNetConfig* config = net()) {
        config->DefaultPrinter(cmbDefPrinter.text());
        config->getAdvPrinterSettings();
    }
}

void GeneralTab::cmdPrinter_Click() {
    frmPrinter dialog;
    dialog.load();
    dialog.oNetConfig(window_.oNetConfig);
    window_.dialogs().ShowModal(dialog);
    if (dialog.Changed())
        updateStatus(1);
    dialog.unload();
}

}  // namespace vtl::ui
