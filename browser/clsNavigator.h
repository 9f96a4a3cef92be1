// Netscape Navigator's settings. Navigator keeps them per user profile in the
// profile's prefs.js; the profiles and their files are found in the registry
// when the object is constructed, and the selected profile's file is read by
// loadConfiguration and written by ApplyConfiguration through the preference
// file editor. The dial-up members and DisablePWDCache do not apply.
// Called on their own, the Get and Set operations open the current profile's
// file for that one call; an unknown profile or a port that is not a 16-bit
// number then throws VtlError, and a failed Set leaves the file as it was.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "browser/clsBrowser.h"
#include "browser/clsNavigatorPrefs.h"
#include "registry/clsEasyRegistry.h"

namespace vtl {

class clsNavigator : public clsBrowser {
  public:
    // Discovers the profiles; shows the Navigator warning when no preference
    // file was found for the current user and the warning is not switched off.
    clsNavigator();
    ~clsNavigator() override = default;

    std::int16_t Status() const override { return status_; }
    bool IsInstalled() const override { return true; }
    bool HasChanged() const override { return hasChanged_; }
    void HasChanged(bool value) override { hasChanged_ = value; }

    void GetEMailFullName() override;
    void SetEMailFullName() override;
    std::string EMailFullName() const override { return eMailFullName_; }
    void EMailFullName(const std::string& value) override { eMailFullName_ = value; }
    void GetEMailAddr() override;
    void SetEMailAddr() override;
    std::string EMailAddr() const override { return eMailAddr_; }
    void EMailAddr(const std::string& value) override { eMailAddr_ = value; }
    void GetEMailReplyToAddr() override;
    void SetEMailReplyToAddr() override;
    std::string EMailReplyToAddr() const override { return eMailReplyToAddr_; }
    void EMailReplyToAddr(const std::string& value) override { eMailReplyToAddr_ = value; }
    void GetEMailPOP3Server() override;
    void SetEMailPOP3Server() override;
    std::string EMailPOP3Server() const override { return eMailPOP3Server_; }
    void EMailPOP3Server(const std::string& value) override { eMailPOP3Server_ = value; }
    void GetEMailPOP3Login() override;
    void SetEMailPOP3Login() override;
    std::string EMailPOP3Login() const override { return eMailPOP3Login_; }
    void EMailPOP3Login(const std::string& value) override { eMailPOP3Login_ = value; }
    void GetEMailSMTPServer() override;
    void SetEMailSMTPServer() override;
    std::string EMailSMTPServer() const override { return eMailSMTPServer_; }
    void EMailSMTPServer(const std::string& value) override { eMailSMTPServer_ = value; }
    void GetEMailSMTPLogin() override;
    void SetEMailSMTPLogin() override;
    std::string EMailSMTPLogin() const override { return eMailSMTPLogin_; }
    void EMailSMTPLogin(const std::string& value) override { eMailSMTPLogin_ = value; }
    void GetEMailOrganization() override;
    void SetEMailOrganization() override;
    std::string EMailOrganization() const override { return eMailOrganization_; }
    void EMailOrganization(const std::string& value) override { eMailOrganization_ = value; }
    void GetEMailLeaveMailOnServer() override;
    void SetEMailLeaveMailOnServer() override;
    bool EMailLeaveMailOnServer() const override { return eMailLeaveMailOnServer_; }
    void EMailLeaveMailOnServer(bool value) override { eMailLeaveMailOnServer_ = value; }

    std::vector<std::string> ProfileList() const override { return profileList_; }
    std::string CurrentProfile() const override { return currentProfile_; }
    // Selects the profile and reads its settings at once.
    void CurrentProfile(const std::string& value) override;

    void GetDUNList() override {}
    void SetDUN() override {}
    std::vector<std::string> DUNList() const override { return {}; }
    std::string CurrentDUN() const override { return {}; }
    void CurrentDUN(const std::string&) override {}

    void GetProxyAddresses() override;
    // Ports are written as 16-bit integers; a port that is not one throws.
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

    void getDisablePWDCache() override {}
    void setDisablePWDCache() override {}
    void DisablePWDCache(bool) override {}
    bool DisablePWDCache() const override { return false; }

    void loadConfiguration() override;
    void ApplyConfiguration() override;
    void LoadConfigurationFile(const std::string& fileName) override;
    void SaveConfigurationFile(const std::string& fileName) override;
    void resetFlags() override {}

    // The preference file of each discovered profile, in discovery order.
    const std::vector<std::pair<std::string, std::string>>& PrefsPaths() const {
        return prefsPaths_;
    }

  private:
    void discoverProfiles();
    void discoverSecondSource();
    void addProfile(const std::string& name, const std::string& path);
    // The preference file of `profile`; throws when the profile is unknown.
    const std::string& prefsPathOf(const std::string& profile) const;
    // Runs `work` on the open preference file: the one ApplyConfiguration or
    // loadConfiguration holds open, else the current profile's, opened for
    // this call alone (and left unchanged on disk when `work` throws).
    template <typename Work>
    void withPrefs(bool writeMode, Work work);
    static std::string trimProfileValue(const std::string& value);

    clsEasyRegistry reg_;
    clsNavigatorPrefs prefs_;
    std::int16_t status_ = 0;
    std::string httpAddress_, httpPort_, secureAddress_, securePort_, ftpAddress_, ftpPort_;
    std::string gopherAddress_, gopherPort_, socksAddress_, socksPort_, waisAddress_, waisPort_;
    std::string proxyExceptions_, autoConfigURL_, defaultHomePage_;
    std::vector<std::pair<std::string, std::string>> prefsPaths_;
    std::vector<std::string> profileList_;
    std::string currentPrefsPath_;
    std::string currentProfile_;
    bool proxyEnabled_ = false;
    bool useSameProxy_ = false;
    bool ignoreLocalAddresses_ = false;
    bool connectViaLAN_ = false;
    bool hasChanged_ = false;
    std::string eMailFullName_, eMailAddr_, eMailReplyToAddr_, eMailPOP3Server_;
    std::string eMailPOP3Login_, eMailSMTPServer_, eMailSMTPLogin_, eMailOrganization_;
    bool eMailLeaveMailOnServer_ = false;
};

}  // namespace vtl
