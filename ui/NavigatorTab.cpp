#include "ui/NavigatorTab.h"

#include <cstdint>
#include <string>
#include <vector>

#include "app/frmMain.h"
#include "browser/clsBrowser.h"
#include "ui/frmNNMail.h"

namespace vtl::ui {

namespace {

constexpr const char* kAddressTip = "Enter the address of your ";
constexpr const char* kPortTip = "Enter the port # of your ";

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

NavigatorTab::NavigatorTab(frmMain& window) : window_(window) {
    fraUserProfile.setCaption("User Profile");
    fraConnectionMethod.setCaption("Connection Method");
    fraProxySettings.setCaption("Proxy Settings");
    fraMiscellaneous.setCaption("Miscellaneous");

    lblNNProfile.setCaption("Name:");

    optNNDirect.setCaption("&Direct connection to the Internet");
    optNNDirect.setToolTip("Check this option if you wish to connect to the Internet via a modem");
    optNNProxy.setCaption("&Manual proxy configuration");
    optNNProxy.setToolTip(
        "Check this option if you wish to connect to the Internet via a proxy server");
    optNNAuto.setCaption("Automatic pro&xy configuration");
    optNNAuto.setToolTip(
        "Check this option to automatically configure your browser to connect to the Internet");
    lblNNAutoConfig.setCaption("Configuration location:");
    txtNNAutoConfig.setToolTip("Enter the URL of the proxy configuration file");

    struct Pair {
        Label& label;
        const char* caption;
        TextBox& address;
        Label& colon;
        TextBox& port;
        const char* server;
    };
    const Pair pairs[] = {
        {lblNNHTTP, "HTTP:", txtNNHTTPAddr, lblNNHTTPColon, txtNNHTTPPort, "HTTP proxy server"},
        {lblNNSecure, "Secure:", txtNNSecureAddr, lblNNSecureColon, txtNNSecurePort,
         "HTTPS proxy server"},
        {lblNNFTP, "FTP:", txtNNFTPAddr, lblNNFTPColon, txtNNFTPPort, "FTP proxy server"},
        {lblNNGopher, "Gopher:", txtNNGopherAddr, lblNNGopherColon, txtNNGopherPort,
         "Gopher proxy server"},
        {lblNNSocks, "Socks:", txtNNSocksAddr, lblNNSocksColon, txtNNSocksPort,
         "Socks proxy server"},
        {lblNNWAIS, "WAIS:", txtNNWAISAddr, lblNNWAISColon, txtNNWAISPort, "WAIS proxy server"},
    };
    for (const Pair& pair : pairs) {
        pair.label.setCaption(pair.caption);
        pair.colon.setCaption(":");
        pair.address.setToolTip(std::string(kAddressTip) + pair.server);
        pair.port.setToolTip(std::string(kPortTip) + pair.server);
        setBox(pair.address, false, colour::ButtonFace);
        setBox(pair.port, false, colour::ButtonFace);
    }
    lblNNExceptions.setCaption("Do not use proxy server for addresses beginning with:");
    txtNNExceptions.setToolTip(
        "Enter addresses that should not be resolved via the proxy server (separate multiple "
        "addresses with semi-colons)");
    setBox(txtNNExceptions, false, colour::ButtonFace);
    setBox(txtNNAutoConfig, false, colour::ButtonFace);
    optNNDirect.setValue(true);

    lblNNDefHomePage.setCaption("Default Home Page:");
    txtNNDefHomePage.setToolTip("Enter the URL of the default home page");
    cmdNNMail.setCaption("E-Mail...");

    cboNNProfile.onClick = [this] { cboNNProfile_Click(); };
    optNNDirect.onClick = [this] { optNNDirect_Click(); };
    optNNProxy.onClick = [this] { optNNProxy_Click(); };
    optNNAuto.onClick = [this] { optNNAuto_Click(); };
    cmdNNMail.onClick = [this] { cmdNNMail_Click(); };

    bindText(txtNNAutoConfig, &clsBrowser::AutoConfigURL);
    bindText(txtNNExceptions, &clsBrowser::ProxyExceptions);
    bindText(txtNNHTTPAddr, &clsBrowser::HTTPAddress);
    bindText(txtNNHTTPPort, &clsBrowser::HTTPPort);
    bindText(txtNNSecureAddr, &clsBrowser::SecureAddress);
    bindText(txtNNSecurePort, &clsBrowser::SecurePort);
    bindText(txtNNFTPAddr, &clsBrowser::FTPAddress);
    bindText(txtNNFTPPort, &clsBrowser::FTPPort);
    bindText(txtNNGopherAddr, &clsBrowser::GopherAddress);
    bindText(txtNNGopherPort, &clsBrowser::GopherPort);
    bindText(txtNNSocksAddr, &clsBrowser::SocksAddress);
    bindText(txtNNSocksPort, &clsBrowser::SocksPort);
    bindText(txtNNWAISAddr, &clsBrowser::WAISAddress);
    bindText(txtNNWAISPort, &clsBrowser::WAISPort);
    bindText(txtNNDefHomePage, &clsBrowser::DefaultHomePage);
}

clsBrowser* NavigatorTab::nn() const {
    return window_.oNNConfig.get();
}

void NavigatorTab::updateStatus() {
    window_.UpdateStatus(1);
}

void NavigatorTab::bindText(TextBox& box, void (clsBrowser::*store)(const std::string&)) {
    box.onChange = [this, &box, store] {
        updateStatus();
        if (clsBrowser* config = nn())
            (config->*store)(box.text());
    };
}

void NavigatorTab::setAutoConfigBox(bool on) {
    setBox(txtNNAutoConfig, on, colour::ButtonFace);
}

// --- Filling ---

void NavigatorTab::LoadNNProfiles() {
    clsBrowser* config = nn();
    cboNNProfile.clear();
    if (config == nullptr)
        return;
    const std::vector<std::string> profiles = config->ProfileList();
    const std::string current = config->CurrentProfile();
    for (const std::string& profile : profiles) {
        cboNNProfile.addItem(profile);
        if (profile == current)
            cboNNProfile.setListIndex(cboNNProfile.listCount() - 1);
    }
}

void NavigatorTab::initializeNNControls() {
    clsBrowser* config = nn();
    if (config == nullptr)
        return;

    // A file names its profile: show it without reading that profile's prefs.
    if (window_.suppressUnsaved) {
        const std::string current = config->CurrentProfile();
        int found = -1;
        for (int i = 0; i < cboNNProfile.listCount(); ++i) {
            if (cboNNProfile.listAt(i) == current)
                found = i;
        }
        cboNNProfile.setListIndex(found);
    }

    showText(txtNNHTTPAddr, config->HTTPAddress());
    showText(txtNNHTTPPort, config->HTTPPort());
    showText(txtNNFTPAddr, config->FTPAddress());
    showText(txtNNFTPPort, config->FTPPort());
    showText(txtNNGopherAddr, config->GopherAddress());
    showText(txtNNGopherPort, config->GopherPort());
    showText(txtNNSecureAddr, config->SecureAddress());
    showText(txtNNSecurePort, config->SecurePort());
    showText(txtNNSocksAddr, config->SocksAddress());
    showText(txtNNSocksPort, config->SocksPort());
    showText(txtNNWAISAddr, config->WAISAddress());
    showText(txtNNWAISPort, config->WAISPort());
    showText(txtNNExceptions, config->ProxyExceptions());
    showText(txtNNAutoConfig, config->AutoConfigURL());
    showText(txtNNDefHomePage, config->DefaultHomePage());

    if (config->ConnectViaLAN())
        optNNDirect.setValue(true);
    else if (config->ProxyEnabled())
        optNNProxy.setValue(true);
    else
        optNNAuto.setValue(true);
}

void NavigatorTab::EnableNNProtocols(bool bMode) {
    for (TextBox* box :
         {&txtNNHTTPAddr, &txtNNHTTPPort, &txtNNFTPAddr, &txtNNFTPPort, &txtNNSecureAddr,
          &txtNNSecurePort, &txtNNGopherAddr, &txtNNGopherPort, &txtNNSocksAddr, &txtNNSocksPort,
          &txtNNWAISAddr, &txtNNWAISPort, &txtNNExceptions})
        setBox(*box, bMode, colour::ActiveBorder);
}

// --- Behaviours ---

void NavigatorTab::cboNNProfile_Click() {
    if (window_.suppressUnsaved || cboNNProfile.listIndex() < 0)
        return;
    if (clsBrowser* config = nn())
        config->CurrentProfile(cboNNProfile.text());
    initializeNNControls();
}

void NavigatorTab::optNNProxy_Click() {
    EnableNNProtocols(true);
    setAutoConfigBox(false);
    if (clsBrowser* config = nn()) {
        config->ProxyEnabled(true);
        config->ConnectViaLAN(false);
    }
    updateStatus();
}

void NavigatorTab::optNNDirect_Click() {
    EnableNNProtocols(false);
    setAutoConfigBox(false);
    if (clsBrowser* config = nn()) {
        config->ProxyEnabled(false);
        config->ConnectViaLAN(true);
    }
    updateStatus();
}

void NavigatorTab::optNNAuto_Click() {
    EnableNNProtocols(false);
    setAutoConfigBox(true);
    if (clsBrowser* config = nn()) {
        config->ProxyEnabled(false);
        config->ConnectViaLAN(false);
    }
    updateStatus();
}

void NavigatorTab::cmdNNMail_Click() {
    frmNNMail dialog;
    dialog.load();
    dialog.Configuration(nn());
    window_.dialogs().ShowModal(dialog);
    if (dialog.Changed())
        updateStatus();
    dialog.unload();
}

}  // namespace vtl::ui
