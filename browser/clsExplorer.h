// Internet Explorer's network settings: proxy servers, exceptions, automatic
// configuration script, start page, automatic dialling, password caching and
// the dial-up entry of the current user, kept in the registry; the dial-up
// entries come from the registry (Windows 95/98) or the phone book (NT, 2000).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "browser/clsBrowser.h"
#include "registry/clsEasyRegistry.h"

namespace vtl {

class clsExplorer final : public clsBrowser {
  public:
    clsExplorer();
    ~clsExplorer() override = default;
    clsExplorer(const clsExplorer&) = delete;
    clsExplorer& operator=(const clsExplorer&) = delete;

    std::int16_t Status() const override { return status_; }
    bool IsInstalled() const override { return true; }
    bool HasChanged() const override { return hasChanged_; }
    void HasChanged(bool value) override { hasChanged_ = value; }

    // E-mail members do not apply to Internet Explorer.
    void GetEMailFullName() override {}
    void SetEMailFullName() override {}
    std::string EMailFullName() const override { return {}; }
    void EMailFullName(const std::string&) override {}
    void GetEMailAddr() override {}
    void SetEMailAddr() override {}
    std::string EMailAddr() const override { return {}; }
    void EMailAddr(const std::string&) override {}
    void GetEMailReplyToAddr() override {}
    void SetEMailReplyToAddr() override {}
    std::string EMailReplyToAddr() const override { return {}; }
    void EMailReplyToAddr(const std::string&) override {}
    void GetEMailPOP3Server() override {}
    void SetEMailPOP3Server() override {}
    std::string EMailPOP3Server() const override { return {}; }
    void EMailPOP3Server(const std::string&) override {}
    void GetEMailPOP3Login() override {}
    void SetEMailPOP3Login() override {}
    std::string EMailPOP3Login() const override { return {}; }
    void EMailPOP3Login(const std::string&) override {}
    void GetEMailSMTPServer() override {}
    void SetEMailSMTPServer() override {}
    std::string EMailSMTPServer() const override { return {}; }
    void EMailSMTPServer(const std::string&) override {}
    void GetEMailSMTPLogin() override {}
    void SetEMailSMTPLogin() override {}
    std::string EMailSMTPLogin() const override { return {}; }
    void EMailSMTPLogin(const std::string&) override {}
    void GetEMailOrganization() override {}
    void SetEMailOrganization() override {}
    std::string EMailOrganization() const override { return {}; }
    void EMailOrganization(const std::string&) override {}
    void GetEMailLeaveMailOnServer() override {}
    void SetEMailLeaveMailOnServer() override {}
    bool EMailLeaveMailOnServer() const override { return false; }
    void EMailLeaveMailOnServer(bool) override {}

    // Navigator profiles do not apply either.
    std::vector<std::string> ProfileList() const override { return {}; }
    std::string CurrentProfile() const override { return {}; }
    void CurrentProfile(const std::string&) override {}

    void GetDUNList() override;
    void SetDUN() override;
    std::vector<std::string> DUNList() const override { return dunList_; }
    std::string CurrentDUN() const override { return currentDUN_; }
    void CurrentDUN(const std::string& value) override { currentDUN_ = value; }

    void GetProxyAddresses() override;
    void SetProxyAddresses() override;

    void GetProxyExceptions() override;
    void SetProxyExceptions() override;
    std::string ProxyExceptions() const override { return proxyExceptions_; }
    void ProxyExceptions(const std::string& value) override { proxyExceptions_ = value; }

    void GetProxyEnabled() override;
    void SetProxyEnabled() override;
    bool ProxyEnabled() const override { return proxyEnabled_; }
    void ProxyEnabled(bool value) override { proxyEnabled_ = value; }

    std::string HTTPAddress() const override { return httpAddress_; }
    void HTTPAddress(const std::string& value) override { httpAddress_ = value; }
    std::string HTTPPort() const override { return httpPort_; }
    void HTTPPort(const std::string& value) override { httpPort_ = value; }
    std::string FTPAddress() const override { return ftpAddress_; }
    void FTPAddress(const std::string& value) override { ftpAddress_ = value; }
    std::string FTPPort() const override { return ftpPort_; }
    void FTPPort(const std::string& value) override { ftpPort_ = value; }
    std::string GopherAddress() const override { return gopherAddress_; }
    void GopherAddress(const std::string& value) override { gopherAddress_ = value; }
    std::string GopherPort() const override { return gopherPort_; }
    void GopherPort(const std::string& value) override { gopherPort_ = value; }
    std::string SecureAddress() const override { return secureAddress_; }
    void SecureAddress(const std::string& value) override { secureAddress_ = value; }
    std::string SecurePort() const override { return securePort_; }
    void SecurePort(const std::string& value) override { securePort_ = value; }
    std::string SocksAddress() const override { return socksAddress_; }
    void SocksAddress(const std::string& value) override { socksAddress_ = value; }
    std::string SocksPort() const override { return socksPort_; }
    void SocksPort(const std::string& value) override { socksPort_ = value; }
    // WAIS is only stored: Internet Explorer has no WAIS proxy.
    std::string WAISAddress() const override { return waisAddress_; }
    void WAISAddress(const std::string& value) override { waisAddress_ = value; }
    std::string WAISPort() const override { return waisPort_; }
    void WAISPort(const std::string& value) override { waisPort_ = value; }

    std::string AutoConfigURL() const override { return autoConfigURL_; }
    void AutoConfigURL(const std::string& value) override { autoConfigURL_ = value; }
    bool UseSameProxy() const override { return useSameProxy_; }
    void UseSameProxy(bool value) override { useSameProxy_ = value; }
    bool IgnoreLocalAddresses() const override { return ignoreLocalAddresses_; }
    void IgnoreLocalAddresses(bool value) override { ignoreLocalAddresses_ = value; }

    void GetDefaultHomePage() override;
    void SetDefaultHomePage() override;
    std::string DefaultHomePage() const override { return defaultHomePage_; }
    void DefaultHomePage(const std::string& value) override { defaultHomePage_ = value; }

    void GetAutoConfigURL() override;
    void SetAutoConfigURL() override;

    void GetConnectViaLAN() override;
    void SetConnectViaLAN() override;
    bool ConnectViaLAN() const override { return connectViaLAN_; }
    void ConnectViaLAN(bool value) override { connectViaLAN_ = value; }

    void getDisablePWDCache() override;
    void setDisablePWDCache() override;
    void DisablePWDCache(bool value) override { disablePWDCache_ = value; }
    bool DisablePWDCache() const override { return disablePWDCache_; }

    void loadConfiguration() override;
    void ApplyConfiguration() override;
    void LoadConfigurationFile(const std::string& fileName) override;
    void SaveConfigurationFile(const std::string& fileName) override;
    void resetFlags() override {}

    // The proxy string grammar in both directions. It is stable: for every text t,
    // cycleProxyServer(cycleProxyServer(t)) == cycleProxyServer(t), and the same holds
    // for setProxySettings followed by buildProxyServer.
    // Takes a proxy string apart into the per-protocol pairs and UseSameProxy (as a
    // configuration file's "ProxyServer" is read); the SOCKS pair is kept unless named.
    void setProxySettings(std::string proxy);
    // Reads a registry "ProxyServer" text as GetProxyAddresses does.
    void readProxyServer(const std::string& stored);
    // The proxy string of the current pairs.
    std::string buildProxyServer() const;
    // One read/write cycle: readProxyServer, then returns buildProxyServer.
    std::string cycleProxyServer(const std::string& stored);

  private:
    // Splits one entry into address and port; returns its protocol as written.
    static std::string parseProxyServer(const std::string& entry, std::string& address,
                                        std::string& port);
    // Applies a "ProxyOverride" text to IgnoreLocalAddresses and ProxyExceptions.
    void setProxyOverride(const std::string& value);
    std::string proxyOverride() const;
    void readPhoneBook();

    clsEasyRegistry reg_;
    std::vector<std::string> dunList_;
    std::int16_t status_ = 0;
    std::string httpAddress_;
    std::string httpPort_;
    std::string secureAddress_;
    std::string securePort_;
    std::string ftpAddress_;
    std::string ftpPort_;
    std::string gopherAddress_;
    std::string gopherPort_;
    std::string socksAddress_;
    std::string socksPort_;
    std::string waisAddress_;
    std::string waisPort_;
    std::string proxyExceptions_;
    std::string defaultHomePage_;
    std::string autoConfigURL_;
    std::string currentDUN_;
    bool proxyEnabled_ = false;
    bool useSameProxy_ = false;
    bool ignoreLocalAddresses_ = false;
    bool connectViaLAN_ = false;
    bool hasChanged_ = false;
    bool disablePWDCache_ = false;
};

}  // namespace vtl
