#include "ui/IETab.h"

#include <cstdint>
#include <string>
#include <vector>

#include "app/frmMain.h"
#include "browser/clsBrowser.h"

namespace vtl::ui {

namespace {

constexpr const char* kAddressTip = "Enter the address of your ";
constexpr const char* kPortTip = "Enter the port # of your ";

// Sets a check box to the property when it shows the opposite.
void showFlag(CheckBox& box, bool on) {
    if ((box.value() == 1) != on)
        box.setValue(on ? 1 : 0);
}

// Sets a box to the property when its text differs.
void showText(TextBox& box, const std::string& text) {
    if (box.text() != text)
        box.setText(text);
}

void setBox(TextBox& box, bool on, std::uint32_t offColour) {
    box.setEnabled(on);
    box.setBackColor(on ? colour::WindowBackground : offColour);
}

}  // namespace

IETab::IETab(frmMain& window) : window_(window) {
    fraProxySettings.setCaption("Proxy Settings");
    fraConnectionMethod.setCaption("Connection Method");
    fraMiscellaneous.setCaption("Miscellaneous");

    chkIEUseProxy.setCaption("&Use proxy to access the Internet");
    chkIEUseProxy.setToolTip("Check this box to access the Internet via a proxy server");
    chkIEUseSameForAll.setCaption("U&se the same proxy server for all protocols");
    chkIEUseSameForAll.setToolTip(
        "Check this box if you use the same proxy server for all protocols");
    chkIgnoreLocal.setCaption("&Bypass proxy server for local (Intranet) addresses");
    chkIgnoreLocal.setToolTip(
        "Check this box to resolve local (Intranet) addresses without the proxy server");

    struct Pair {
        Label& label;
        const char* caption;
        TextBox& address;
        Label& colon;
        TextBox& port;
        const char* server;
    };
    const Pair pairs[] = {
        {lblIEHTTP, "HTTP:", txtIEHTTPAddr, lblIEHTTPColon, txtIEHTTPPort, "HTTP proxy server"},
        {lblIESecure, "Secure:", txtIESecureAddr, lblIESecureColon, txtIESecurePort,
         "HTTPS proxy server"},
        {lblIEFTP, "FTP:", txtIEFTPAddr, lblIEFTPColon, txtIEFTPPort, "FTP proxy server"},
        {lblIEGopher, "Gopher:", txtIEGopherAddr, lblIEGopherColon, txtIEGopherPort,
         "Gopher proxy server"},
        {lblIESocks, "Socks:", txtIESocksAddr, lblIESocksColon, txtIESocksPort,
         "Socks proxy server"},
    };
    for (const Pair& pair : pairs) {
        pair.label.setCaption(pair.caption);
        pair.colon.setCaption(":");
        pair.address.setToolTip(std::string(kAddressTip) + pair.server);
        pair.port.setToolTip(std::string(kPortTip) + pair.server);
        setBox(pair.address, false, colour::ButtonFace);
        setBox(pair.port, false, colour::ButtonFace);
    }
    lblIEExceptions.setCaption("Do not use proxy server for addresses beginning with:");
    txtIEExceptions.setToolTip(
        "Enter addresses that should not be resolved via the proxy server (separate multiple "
        "addresses with semi-colons)");
    setBox(txtIEExceptions, false, colour::ButtonFace);
    lblIEAutoConfigURL.setCaption("AutoConfig URL:");
    txtIEAutoConfigURL.setToolTip("Enter the URL of your automatic configuration server");

    // The boxes that follow the proxy box start as an unchecked proxy box leaves them.
    chkIEUseSameForAll.setEnabled(false);
    chkIgnoreLocal.setEnabled(false);

    optLAN.setCaption("&Connect to the Internet using a local area network");
    optLAN.setToolTip("Check this option to use a LAN connection for accessing the Internet");
    optModem.setCaption("Connect to the Internet using a &MODEM");
    optModem.setToolTip("Check this option if you wish to connect to the Internet via a modem");
    cmbISP.setToolTip("Select the dial-up profile you wish to use for connecting to the Internet");
    optLAN.setValue(true);
    cmbISP.setEnabled(false);

    chkDisableIEPWDCache.setCaption("Disable Password Cac&he");
    chkDisableIEPWDCache.setToolTip("Check this box to disable password caching");
    lblIEDefHomePage.setCaption("Default Home Page:");
    txtIEDefHomePage.setToolTip("Enter the URL of the default home page");

    chkIEUseProxy.onClick = [this] { chkIEUseProxy_Click(); };
    chkIEUseSameForAll.onClick = [this] { chkIEUseSameForAll_Click(); };
    chkIgnoreLocal.onClick = [this] { chkIgnoreLocal_Click(); };
    chkDisableIEPWDCache.onClick = [this] { chkDisableIEPWDCache_Click(); };
    optLAN.onClick = [this] { optLAN_Click(); };
    optModem.onClick = [this] { optModem_Click(); };
    cmbISP.onClick = [this] { cmbISP_Click(); };

    bindText(txtIEHTTPAddr, &clsBrowser::HTTPAddress);
    bindText(txtIEHTTPPort, &clsBrowser::HTTPPort);
    bindText(txtIEFTPAddr, &clsBrowser::FTPAddress);
    bindText(txtIEFTPPort, &clsBrowser::FTPPort);
    bindText(txtIEGopherAddr, &clsBrowser::GopherAddress);
    bindText(txtIEGopherPort, &clsBrowser::GopherPort);
    bindText(txtIESecureAddr, &clsBrowser::SecureAddress);
    bindText(txtIESecurePort, &clsBrowser::SecurePort);
    bindText(txtIESocksAddr, &clsBrowser::SocksAddress);
    bindText(txtIESocksPort, &clsBrowser::SocksPort);
    bindText(txtIEExceptions, &clsBrowser::ProxyExceptions);
    bindText(txtIEDefHomePage, &clsBrowser::DefaultHomePage);
    bindText(txtIEAutoConfigURL, &clsBrowser::AutoConfigURL);
}

clsBrowser* IETab::ie() const {
    return window_.oIEConfig.get();
}

void IETab::updateStatus() {
    window_.UpdateStatus(1);
}

void IETab::bindText(TextBox& box, void (clsBrowser::*store)(const std::string&)) {
    box.onChange = [this, &box, store] {
        updateStatus();
        if (clsBrowser* config = ie())
            (config->*store)(box.text());
    };
}

// --- Filling ---

void IETab::initializeIEControls() {
    clsBrowser* config = ie();
    if (config == nullptr)
        return;

    showFlag(chkIEUseProxy, config->ProxyEnabled());

    showText(txtIEHTTPAddr, config->HTTPAddress());
    showText(txtIEHTTPPort, config->HTTPPort());
    showText(txtIEFTPAddr, config->FTPAddress());
    showText(txtIEFTPPort, config->FTPPort());
    showText(txtIEGopherAddr, config->GopherAddress());
    showText(txtIEGopherPort, config->GopherPort());
    showText(txtIESecureAddr, config->SecureAddress());
    showText(txtIESecurePort, config->SecurePort());
    showText(txtIESocksAddr, config->SocksAddress());
    showText(txtIESocksPort, config->SocksPort());
    showText(txtIEExceptions, config->ProxyExceptions());

    showFlag(chkIEUseSameForAll, config->UseSameProxy());
    showFlag(chkIgnoreLocal, config->IgnoreLocalAddresses());
    showFlag(chkDisableIEPWDCache, config->DisablePWDCache());

    showText(txtIEDefHomePage, config->DefaultHomePage());
    showText(txtIEAutoConfigURL, config->AutoConfigURL());

    if (config->ConnectViaLAN()) {
        if (optModem.value())
            optLAN.setValue(true);
    } else if (!optModem.value()) {
        optLAN.setValue(false);
        optModem.setValue(true);
    }

    const std::vector<std::string> entries = config->DUNList();
    const std::string current = config->CurrentDUN();
    cmbISP.clear();
    for (const std::string& entry : entries)
        cmbISP.addItem(entry);
    for (int i = 0; i < cmbISP.listCount(); ++i) {
        if (cmbISP.listAt(i) == current) {
            cmbISP.setListIndex(i);
            break;
        }
    }
}

void IETab::EnableProtocols(bool bMode) {
    for (TextBox* box : {&txtIEFTPAddr, &txtIEFTPPort, &txtIESecureAddr, &txtIESecurePort,
                         &txtIEGopherAddr, &txtIEGopherPort, &txtIESocksAddr, &txtIESocksPort})
        setBox(*box, bMode, colour::ActiveBorder);
}

// --- Behaviours ---

void IETab::chkIEUseProxy_Click() {
    const bool on = chkIEUseProxy.value() == 1;
    txtIEHTTPAddr.setEnabled(on);
    txtIEHTTPPort.setEnabled(on);
    txtIEExceptions.setEnabled(on);
    chkIEUseSameForAll.setEnabled(on);
    chkIgnoreLocal.setEnabled(on);
    if (on)
        EnableProtocols(chkIEUseSameForAll.value() != 1);
    else
        EnableProtocols(false);
    for (TextBox* box : {&txtIEHTTPAddr, &txtIEHTTPPort, &txtIEExceptions})
        box->setBackColor(on ? colour::WindowBackground : colour::ButtonFace);
    if (clsBrowser* config = ie())
        config->ProxyEnabled(on);
    updateStatus();
}

void IETab::chkIEUseSameForAll_Click() {
    EnableProtocols(chkIEUseSameForAll.value() == 0);
    if (clsBrowser* config = ie())
        config->UseSameProxy(chkIEUseSameForAll.value() == 1);
    updateStatus();
}

void IETab::chkIgnoreLocal_Click() {
    if (clsBrowser* config = ie())
        config->IgnoreLocalAddresses(chkIgnoreLocal.value() == 1);
    updateStatus();
}

void IETab::chkDisableIEPWDCache_Click() {
    if (clsBrowser* config = ie())
        config->DisablePWDCache(chkDisableIEPWDCache.value() == 1);
    updateStatus();
}

void IETab::optLAN_Click() {
    if (clsBrowser* config = ie())
        config->ConnectViaLAN(true);
    cmbISP.setEnabled(false);
    updateStatus();
}

void IETab::optModem_Click() {
    if (clsBrowser* config = ie())
        config->ConnectViaLAN(false);
    cmbISP.setEnabled(true);
    updateStatus();
}

void IETab::cmbISP_Click() {
    if (window_.suppressUnsaved)
        return;
    if (clsBrowser* config = ie())
        config->CurrentDUN(cmbISP.text());
    updateStatus();
}

}  // namespace vtl::ui
