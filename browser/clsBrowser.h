// One web browser's network settings, as the rest of the program sees them.
// Implemented by clsExplorer (Internet Explorer) and clsNavigator (Netscape
// Navigator). Each setting is a stored property (a getter and a same-named
// setter overload, no side effects unless noted), a Get operation that reads
// it from the system into the property, and a Set operation that writes the
// property to the system. Members that do not apply to a browser return
// empty text, false or an empty list, and their setters and operations do
// nothing.
//
// Members are declared in slot order (1 to 107).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vtl {

class clsBrowser {
  public:
    virtual ~clsBrowser() = default;

    // 1-2: 0 = usable; 1 = no usable profile (Navigator). Always installed.
    virtual std::int16_t Status() const = 0;
    virtual bool IsInstalled() const = 0;

    // 3-4: a flag kept for the owner; false after construction.
    virtual bool HasChanged() const = 0;
    virtual void HasChanged(bool value) = 0;

    // 5-40: Navigator's mail identity and servers.
    virtual void GetEMailFullName() = 0;
    virtual void SetEMailFullName() = 0;
    virtual std::string EMailFullName() const = 0;
    virtual void EMailFullName(const std::string& value) = 0;

    virtual void GetEMailAddr() = 0;
    virtual void SetEMailAddr() = 0;
    virtual std::string EMailAddr() const = 0;
    virtual void EMailAddr(const std::string& value) = 0;

    virtual void GetEMailReplyToAddr() = 0;
    virtual void SetEMailReplyToAddr() = 0;
    virtual std::string EMailReplyToAddr() const = 0;
    virtual void EMailReplyToAddr(const std::string& value) = 0;

    virtual void GetEMailPOP3Server() = 0;
    virtual void SetEMailPOP3Server() = 0;
    virtual std::string EMailPOP3Server() const = 0;
    virtual void EMailPOP3Server(const std::string& value) = 0;

    virtual void GetEMailPOP3Login() = 0;
    virtual void SetEMailPOP3Login() = 0;
    virtual std::string EMailPOP3Login() const = 0;
    virtual void EMailPOP3Login(const std::string& value) = 0;

    virtual void GetEMailSMTPServer() = 0;
    virtual void SetEMailSMTPServer() = 0;
    virtual std::string EMailSMTPServer() const = 0;
    virtual void EMailSMTPServer(const std::string& value) = 0;

    virtual void GetEMailSMTPLogin() = 0;
    virtual void SetEMailSMTPLogin() = 0;
    virtual std::string EMailSMTPLogin() const = 0;
    virtual void EMailSMTPLogin(const std::string& value) = 0;

    virtual void GetEMailOrganization() = 0;
    virtual void SetEMailOrganization() = 0;
    virtual std::string EMailOrganization() const = 0;
    virtual void EMailOrganization(const std::string& value) = 0;

    virtual void GetEMailLeaveMailOnServer() = 0;
    virtual void SetEMailLeaveMailOnServer() = 0;
    virtual bool EMailLeaveMailOnServer() const = 0;
    virtual void EMailLeaveMailOnServer(bool value) = 0;

    // 41-43: Navigator user profiles, in discovery order. Setting
    // CurrentProfile on Navigator reloads the settings of that profile.
    virtual std::vector<std::string> ProfileList() const = 0;
    virtual std::string CurrentProfile() const = 0;
    virtual void CurrentProfile(const std::string& value) = 0;

    // 44-48: Internet Explorer's dial-up entries, in order.
    virtual void GetDUNList() = 0;
    virtual void SetDUN() = 0;
    virtual std::vector<std::string> DUNList() const = 0;
    virtual std::string CurrentDUN() const = 0;
    virtual void CurrentDUN(const std::string& value) = 0;

    // 49-50: every per-protocol address and port at once.
    virtual void GetProxyAddresses() = 0;
    virtual void SetProxyAddresses() = 0;

    // 51-54
    virtual void GetProxyExceptions() = 0;
    virtual void SetProxyExceptions() = 0;
    virtual std::string ProxyExceptions() const = 0;
    virtual void ProxyExceptions(const std::string& value) = 0;

    // 55-58
    virtual void GetProxyEnabled() = 0;
    virtual void SetProxyEnabled() = 0;
    virtual bool ProxyEnabled() const = 0;
    virtual void ProxyEnabled(bool value) = 0;

    // 59-82: proxy addresses and ports (ports are text).
    virtual std::string HTTPAddress() const = 0;
    virtual void HTTPAddress(const std::string& value) = 0;
    virtual std::string HTTPPort() const = 0;
    virtual void HTTPPort(const std::string& value) = 0;
    virtual std::string FTPAddress() const = 0;
    virtual void FTPAddress(const std::string& value) = 0;
    virtual std::string FTPPort() const = 0;
    virtual void FTPPort(const std::string& value) = 0;
    virtual std::string GopherAddress() const = 0;
    virtual void GopherAddress(const std::string& value) = 0;
    virtual std::string GopherPort() const = 0;
    virtual void GopherPort(const std::string& value) = 0;
    virtual std::string SecureAddress() const = 0;
    virtual void SecureAddress(const std::string& value) = 0;
    virtual std::string SecurePort() const = 0;
    virtual void SecurePort(const std::string& value) = 0;
    virtual std::string SocksAddress() const = 0;
    virtual void SocksAddress(const std::string& value) = 0;
    virtual std::string SocksPort() const = 0;
    virtual void SocksPort(const std::string& value) = 0;
    virtual std::string WAISAddress() const = 0;
    virtual void WAISAddress(const std::string& value) = 0;
    virtual std::string WAISPort() const = 0;
    virtual void WAISPort(const std::string& value) = 0;

    // 83-88
    virtual std::string AutoConfigURL() const = 0;
    virtual void AutoConfigURL(const std::string& value) = 0;
    virtual bool UseSameProxy() const = 0;
    virtual void UseSameProxy(bool value) = 0;
    virtual bool IgnoreLocalAddresses() const = 0;
    virtual void IgnoreLocalAddresses(bool value) = 0;

    // 89-92
    virtual void GetDefaultHomePage() = 0;
    virtual void SetDefaultHomePage() = 0;
    virtual std::string DefaultHomePage() const = 0;
    virtual void DefaultHomePage(const std::string& value) = 0;

    // 93-94
    virtual void GetAutoConfigURL() = 0;
    virtual void SetAutoConfigURL() = 0;

    // 95-98: Internet Explorer: no automatic dialling; Navigator: direct connection.
    virtual void GetConnectViaLAN() = 0;
    virtual void SetConnectViaLAN() = 0;
    virtual bool ConnectViaLAN() const = 0;
    virtual void ConnectViaLAN(bool value) = 0;

    // 99-102: Internet Explorer's password caching switch (setter before getter).
    virtual void getDisablePWDCache() = 0;
    virtual void setDisablePWDCache() = 0;
    virtual void DisablePWDCache(bool value) = 0;
    virtual bool DisablePWDCache() const = 0;

    // 103: read every setting from the system.
    virtual void loadConfiguration() = 0;
    // 104: write every setting to the system.
    virtual void ApplyConfiguration() = 0;
    // 105-106: the browser's section of a configuration file.
    virtual void LoadConfigurationFile(const std::string& fileName) = 0;
    virtual void SaveConfigurationFile(const std::string& fileName) = 0;
    // 107: no effect.
    virtual void resetFlags() = 0;

  protected:
    clsBrowser() = default;
    clsBrowser(const clsBrowser&) = default;
    clsBrowser& operator=(const clsBrowser&) = default;
};

}  // namespace vtl
