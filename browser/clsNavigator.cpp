#include "browser/clsNavigator.h"

#include <cmath>
#include <exception>
#include <limits>

#include "browser/NavigatorDialogs.h"
#include "config/ConfigFile.h"
#include "config/VbText.h"
#include "config/VtlError.h"
#include "config/modAPI.h"
#include "platform/Platform.h"

namespace vtl {

namespace {

using platform::sys;

constexpr const char* kSection = "Netscape Navigator";
constexpr const char* kNoChange = "*NC*";
constexpr const char* kUsersKey =
    "\\HKEY_LOCAL_MACHINE\\Software\\Netscape\\Netscape Navigator\\Users";
constexpr const char* kBiffKey =
    "\\HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\biff";
constexpr const char* kBiffUsersKey =
    "\\HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\biff\\Users\\";
constexpr const char* kMainKey =
    "\\HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\Main";
constexpr const char* kProxyType = "network.proxy.type";

void warn(const std::string& text) {
    sys().MessageBox(text, platform::mb::OK | platform::mb::IconExclamation, kAppName);
}

// The drive root of a path: its text up to and including the first backslash.
std::string driveRoot(const std::string& path) {
    auto slash = path.find('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A port as Navigator stores it: "0" + text as a 16-bit integer, so that an
// empty port is 0. Fractions round half to even; anything else is an error.
std::int16_t portNumber(const std::string& port) {
    const std::string text = Trim("0" + port);
    double value = 0;
    bool dot = false;
    double scale = 1;
    for (char c : text) {
        if (c == '.' && !dot) {
            dot = true;
        } else if (c >= '0' && c <= '9') {
            if (dot) {
                scale /= 10;
                value += (c - '0') * scale;
            } else {
                value = value * 10 + (c - '0');
            }
        } else {
            throw VtlError(13, "clsNavigator", "Type mismatch");
        }
    }
    value = std::nearbyint(value);
    if (value > std::numeric_limits<std::int16_t>::max()) {
        throw VtlError(6, "clsNavigator", "Overflow");
    }
    return static_cast<std::int16_t>(value);
}

}  // namespace

clsNavigator::clsNavigator() {
    reg_.SetSuppressErrors(true);
    try {
        discoverProfiles();
        // Warning, unless switched off.
        if (GetRegSetting(kAppName, "Options", "NavigatorWarning", "0") == "0" &&
            currentPrefsPath_.empty()) {
            if (NavigatorDialogs* dialogs = navigatorDialogs())
                dialogs->ShowNavigatorWarning();
        }
    } catch (const std::exception& e) {
        warn(std::string("Error: ") + e.what());
    }
    if (currentPrefsPath_.empty()) {
        if (!prefsPaths_.empty()) {
            currentPrefsPath_ = prefsPaths_.front().second;
            currentProfile_ = profileList_.front();
            status_ = 0;
        } else {
            status_ = 1;
        }
    }
    hasChanged_ = false;
}

std::string clsNavigator::trimProfileValue(const std::string& value) {
    auto first = value.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : value.substr(first);
}

void clsNavigator::addProfile(const std::string& name, const std::string& path) {
    // Each name once, as a keyed list holds it; the first one found stays.
    for (const auto& entry : prefsPaths_) {
        if (SameText(entry.first, name))
            return;
    }
    profileList_.push_back(name);
    prefsPaths_.emplace_back(name, path);
}

void clsNavigator::discoverProfiles() {
    status_ = 0;
    currentPrefsPath_.clear();

    // First source: the current user of the machine-wide user list.
    bool found = false;
    reg_.Cd(kUsersKey);
    if (reg_.lastError() == 0) {
        const std::string user = reg_.ValueText("CurrentUser");
        if (reg_.lastError() == 0) {
            reg_.Cd(std::string(kUsersKey) + "\\" + user);
            const std::string dirRoot = reg_.lastError() == 0 ? reg_.ValueText("DirRoot") : "";
            if (reg_.lastError() == 0) {
                currentPrefsPath_ = dirRoot + "\\prefs.js";
                if (FileExists(currentPrefsPath_)) {
                    currentProfile_ = user;
                    addProfile(user, currentPrefsPath_);
                    found = true;
                } else {
                    currentPrefsPath_.clear();
                }
            }
        }
    }
    if (!found)
        discoverSecondSource();
}

void clsNavigator::discoverSecondSource() {
    const std::string windowsDir = Trim(sys().GetWindowsDirectory());
    currentPrefsPath_.clear();
    reg_.Cd(kBiffKey);
    currentProfile_ = reg_.lastError() == 0 ? reg_.ValueText("CurrentUser") : "";
    if (reg_.lastError() != 0 || currentProfile_.empty())
        return;

    reg_.Cd(std::string(kBiffKey) + "\\users");
    if (reg_.lastError() != 0)
        return;
    const auto users = reg_.DirKey();
    if (reg_.lastError() != 0 || !users)
        return;

    for (const std::string& name : *users) {
        bool found = false;
        std::string dirForm = name;
        for (char& c : dirForm) {
            if (c == ' ')
                c = '_';
        }
        dirForm = LCase(dirForm);
        std::string candidate;

        // The mail state file lies in the profile directory.
        reg_.Cd(kBiffUsersKey + name);
        const std::string server = reg_.lastError() == 0 ? reg_.ValueText("defaultServer") : "";
        if (reg_.lastError() == 0) {
            reg_.Cd(kBiffUsersKey + name + "\\servers\\" + server);
            std::string popstate = reg_.lastError() == 0 ? reg_.ValueText("popstatePath") : "";
            if (reg_.lastError() == 0) {
                popstate = LCase(popstate);
                auto marker = popstate.find("\\mail\\popstate.dat");
                candidate = marker == std::string::npos
                                ? "prefs.js"
                                : popstate.substr(0, marker + 1) + "prefs.js";
                found = FileExists(candidate);
            }
        }
        // Below the install directory's drive root.
        if (!found) {
            reg_.Cd(kMainKey);
            std::string install = reg_.lastError() == 0 ? reg_.ValueText("Install Directory") : "";
            if (reg_.lastError() == 0) {
                install = LCase(install);
                candidate = driveRoot(install) + "Netscape\\Users\\" + dirForm + "\\prefs.js";
                found = FileExists(candidate);
            }
        }
        // Program Files on the Windows folder's drive.
        if (!found) {
            candidate =
                driveRoot(windowsDir) + "Program Files\\Netscape\\Users\\" + dirForm + "\\prefs.js";
            found = FileExists(candidate);
        }
        if (found) {
            addProfile(name, candidate);
            if (name == currentProfile_)
                currentPrefsPath_ = candidate;
        }
    }
}

const std::string& clsNavigator::prefsPathOf(const std::string& profile) const {
    static const std::string none;
    for (const auto& entry : prefsPaths_) {
        if (SameText(entry.first, profile))
            return entry.second;
    }
    if (profile.empty())
        return none;
    throw VtlError(kErrorBase + 0x200, "clsNavigator",
                   "Unknown Navigator profile '" + profile + "'");
}

template <typename Work>
void clsNavigator::withPrefs(bool writeMode, Work work) {
    if (prefs_.isOpen()) {
        work();
        return;
    }
    const std::string path = prefsPathOf(currentProfile_);
    if (path.empty())
        return;
    prefs_.openPrefsFile(path, writeMode);
    if (!prefs_.isOpen())
        return;
    try {
        work();
    } catch (...) {
        prefs_.abandonPrefsFile();
        throw;
    }
    prefs_.closePrefsFile();
}

void clsNavigator::CurrentProfile(const std::string& value) {
    currentProfile_ = value;
    loadConfiguration();
}

// --- Proxies ---

void clsNavigator::GetProxyAddresses() {
    withPrefs(false, [this] {
        httpAddress_ = prefs_.getSetting("network.proxy.http");
        httpPort_ = prefs_.getSetting("network.proxy.http_port");
        ftpAddress_ = prefs_.getSetting("network.proxy.ftp");
        ftpPort_ = prefs_.getSetting("network.proxy.ftp_port");
        secureAddress_ = prefs_.getSetting("network.proxy.ssl");
        securePort_ = prefs_.getSetting("network.proxy.ssl_port");
        gopherAddress_ = prefs_.getSetting("network.proxy.gopher");
        gopherPort_ = prefs_.getSetting("network.proxy.gopher_port");
        socksAddress_ = prefs_.getSetting("network.hosts.socks_server");
        socksPort_ = prefs_.getSetting("network.hosts.socks_serverport");
        waisAddress_ = prefs_.getSetting("network.proxy.wais");
        waisPort_ = prefs_.getSetting("network.proxy.wais_port");
    });
}

void clsNavigator::SetProxyAddresses() {
    withPrefs(true, [this] {
        prefs_.saveSettingStr("network.proxy.http", httpAddress_);
        prefs_.saveSettingInt("network.proxy.http_port", portNumber(httpPort_));
        prefs_.saveSettingStr("network.proxy.ftp", ftpAddress_);
        prefs_.saveSettingInt("network.proxy.ftp_port", portNumber(ftpPort_));
        prefs_.saveSettingStr("network.proxy.gopher", gopherAddress_);
        prefs_.saveSettingInt("network.proxy.gopher_port", portNumber(gopherPort_));
        prefs_.saveSettingStr("network.proxy.ssl", secureAddress_);
        prefs_.saveSettingInt("network.proxy.ssl_port", portNumber(securePort_));
        prefs_.saveSettingStr("network.hosts.socks_server", socksAddress_);
        prefs_.saveSettingInt("network.hosts.socks_serverport", portNumber(socksPort_));
        prefs_.saveSettingStr("network.proxy.wais", waisAddress_);
        prefs_.saveSettingInt("network.proxy.wais_port", portNumber(waisPort_));
    });
}

void clsNavigator::GetProxyExceptions() {
    withPrefs(false,
              [this] { proxyExceptions_ = prefs_.getSetting("network.proxy.no_proxies_on"); });
}

void clsNavigator::SetProxyExceptions() {
    withPrefs(true,
              [this] { prefs_.saveSettingStr("network.proxy.no_proxies_on", proxyExceptions_); });
}

void clsNavigator::GetProxyEnabled() {
    withPrefs(false, [this] { proxyEnabled_ = prefs_.getSetting(kProxyType) == "1"; });
}

void clsNavigator::SetProxyEnabled() {
    withPrefs(true, [this] {
        if (proxyEnabled_)
            prefs_.saveSettingInt(kProxyType, 1);
    });
}

void clsNavigator::GetConnectViaLAN() {
    withPrefs(false, [this] { connectViaLAN_ = prefs_.getSetting(kProxyType).empty(); });
}

void clsNavigator::SetConnectViaLAN() {
    withPrefs(true, [this] {
        if (connectViaLAN_)
            prefs_.deleteSetting(kProxyType);
    });
}

void clsNavigator::GetAutoConfigURL() {
    withPrefs(false,
              [this] { autoConfigURL_ = prefs_.getSetting("network.proxy.autoconfig_url"); });
}

void clsNavigator::SetAutoConfigURL() {
    withPrefs(true, [this] {
        if (!connectViaLAN_ && !proxyEnabled_)
            prefs_.saveSettingInt(kProxyType, 2);
        prefs_.saveSettingStr("network.proxy.autoconfig_url", autoConfigURL_);
    });
}

void clsNavigator::GetDefaultHomePage() {
    withPrefs(false, [this] { defaultHomePage_ = prefs_.getSetting("browser.startup.homepage"); });
}

void clsNavigator::SetDefaultHomePage() {
    withPrefs(true,
              [this] { prefs_.saveSettingStr("browser.startup.homepage", defaultHomePage_); });
}

// --- E-mail ---

#define VTL_NAVIGATOR_MAIL_TEXT(Member, field, key)                     \
    void clsNavigator::Get##Member() {                                  \
        withPrefs(false, [this] { field = prefs_.getSetting(key); });   \
    }                                                                   \
    void clsNavigator::Set##Member() {                                  \
        withPrefs(true, [this] { prefs_.saveSettingStr(key, field); }); \
    }

VTL_NAVIGATOR_MAIL_TEXT(EMailFullName, eMailFullName_, "mail.identity.username")
VTL_NAVIGATOR_MAIL_TEXT(EMailAddr, eMailAddr_, "mail.identity.useremail")
VTL_NAVIGATOR_MAIL_TEXT(EMailReplyToAddr, eMailReplyToAddr_, "mail.identity.reply_to")
VTL_NAVIGATOR_MAIL_TEXT(EMailPOP3Server, eMailPOP3Server_, "network.hosts.pop_server")
VTL_NAVIGATOR_MAIL_TEXT(EMailPOP3Login, eMailPOP3Login_, "mail.pop_name")
VTL_NAVIGATOR_MAIL_TEXT(EMailSMTPServer, eMailSMTPServer_, "network.hosts.smtp_server")
VTL_NAVIGATOR_MAIL_TEXT(EMailSMTPLogin, eMailSMTPLogin_, "mail.smtp_name")
VTL_NAVIGATOR_MAIL_TEXT(EMailOrganization, eMailOrganization_, "mail.identity.organization")

#undef VTL_NAVIGATOR_MAIL_TEXT

void clsNavigator::GetEMailLeaveMailOnServer() {
    withPrefs(false, [this] {
        eMailLeaveMailOnServer_ = LCase(prefs_.getSetting("mail.leave_on_server")) == "true";
    });
}

void clsNavigator::SetEMailLeaveMailOnServer() {
    withPrefs(true,
              [this] { prefs_.saveSettingBln("mail.leave_on_server", eMailLeaveMailOnServer_); });
}

// --- The whole profile ---

void clsNavigator::loadConfiguration() {
    try {
        const std::string path = prefsPathOf(currentProfile_);
        if (path.empty())
            return;
        prefs_.openPrefsFile(path, false);
        if (!prefs_.isOpen())
            return;
        GetProxyAddresses();
        GetProxyExceptions();
        GetConnectViaLAN();
        GetProxyEnabled();
        GetDefaultHomePage();
        GetAutoConfigURL();
        GetEMailFullName();
        GetEMailAddr();
        GetEMailReplyToAddr();
        GetEMailPOP3Server();
        GetEMailPOP3Login();
        GetEMailSMTPServer();
        GetEMailSMTPLogin();
        GetEMailOrganization();
        GetEMailLeaveMailOnServer();
        prefs_.closePrefsFile();
    } catch (const std::exception& e) {
        prefs_.abandonPrefsFile();
        warn(std::string("Error in clsNavigator:loadConfiguration:") + e.what());
    }
}

void clsNavigator::ApplyConfiguration() {
    try {
        const std::string path = prefsPathOf(currentProfile_);
        if (path.empty()) {
            warn("Could not locate Navigator preferences file.");
            return;
        }
        prefs_.openPrefsFile(path, true);
        if (!prefs_.isOpen())
            return;
        SetProxyAddresses();
        SetProxyExceptions();
        SetConnectViaLAN();
        SetProxyEnabled();
        SetDefaultHomePage();
        SetAutoConfigURL();
        SetEMailFullName();
        SetEMailAddr();
        SetEMailReplyToAddr();
        SetEMailPOP3Server();
        SetEMailPOP3Login();
        SetEMailSMTPServer();
        SetEMailSMTPLogin();
        SetEMailOrganization();
        SetEMailLeaveMailOnServer();
        prefs_.closePrefsFile();
    } catch (const std::exception&) {
        // All or nothing: the preference file stays as it was.
        prefs_.abandonPrefsFile();
        warn("Could not apply Navigator preferences for profile '" + currentProfile_ + "'.");
    }
}

// --- Configuration file ---

void clsNavigator::LoadConfigurationFile(const std::string& fileName) {
    try {
        auto read = [&](const char* key, auto assign) {
            std::string value = trimProfileValue(ReadConfigValue(kSection, key, fileName));
            if (value != kNoChange)
                assign(value);
        };
        auto text = [&](const char* key, std::string& field) {
            read(key, [&](const std::string& value) { field = value; });
        };
        auto flag = [&](const char* key, bool& field) {
            read(key, [&](const std::string& value) { field = value == "1"; });
        };
        read("NNPROFILE", [&](const std::string& value) {
            currentProfile_ =
                Trim(value).empty() && !profileList_.empty() ? profileList_.front() : value;
        });
        flag("NNPROXYENABLE", proxyEnabled_);
        flag("NNDIRECTCONNECTION", connectViaLAN_);
        text("NNAUTOCONFIGURL", autoConfigURL_);
        text("NNPROXYOVERRIDE", proxyExceptions_);
        text("NNHTTPADDRESS", httpAddress_);
        text("NNHTTPPORT", httpPort_);
        text("NNFTPADDRESS", ftpAddress_);
        text("NNFTPPORT", ftpPort_);
        text("NNGOPHERADDRESS", gopherAddress_);
        text("NNGOPHERPORT", gopherPort_);
        text("NNSSLADDRESS", secureAddress_);
        text("NNSSLPORT", securePort_);
        text("NNSOCKSADDRESS", socksAddress_);
        text("NNSOCKSPORT", socksPort_);
        text("NNWAISADDRESS", waisAddress_);
        text("NNWAISPORT", waisPort_);
        text("NNDEFHOMEPAGE", defaultHomePage_);
        text("EMailFullName", eMailFullName_);
        text("EMailAddr", eMailAddr_);
        text("EMailReplyToAddr", eMailReplyToAddr_);
        text("EMailPOP3Server", eMailPOP3Server_);
        text("EMailPOP3Login", eMailPOP3Login_);
        text("EMailSMTPServer", eMailSMTPServer_);
        text("EMailSMTPLogin", eMailSMTPLogin_);
        text("EMailOrganization", eMailOrganization_);
        flag("EMailLeaveMailOnServer", eMailLeaveMailOnServer_);
    } catch (const std::exception&) {
        warn("Could not load Navigator preferences for configuration '" + fileName + "'.");
    }
}

void clsNavigator::SaveConfigurationFile(const std::string& fileName) {
    auto write = [&](const char* key, const std::string& value) {
        WriteConfigValue(kSection, key, value, fileName);
    };
    auto flag = [](bool value) { return std::string(value ? "1" : "0"); };
    write("NNPROFILE", currentProfile_);
    write("NNPROXYENABLE", flag(proxyEnabled_));
    write("NNDIRECTCONNECTION", flag(connectViaLAN_));
    write("NNAUTOCONFIGURL", autoConfigURL_);
    write("NNPROXYOVERRIDE", proxyExceptions_);
    write("NNHTTPADDRESS", httpAddress_);
    write("NNHTTPPORT", httpPort_);
    write("NNFTPADDRESS", ftpAddress_);
    write("NNFTPPORT", ftpPort_);
    write("NNGOPHERADDRESS", gopherAddress_);
    write("NNGOPHERPORT", gopherPort_);
    write("NNSSLADDRESS", secureAddress_);
    write("NNSSLPORT", securePort_);
    write("NNSOCKSADDRESS", socksAddress_);
    write("NNSOCKSPORT", socksPort_);
    write("NNWAISADDRESS", waisAddress_);
    write("NNWAISPORT", waisPort_);
    write("NNDEFHOMEPAGE", defaultHomePage_);
    write("EMailFullName", eMailFullName_);
    write("EMailAddr", eMailAddr_);
    write("EMailReplyToAddr", eMailReplyToAddr_);
    write("EMailPOP3Server", eMailPOP3Server_);
    write("EMailPOP3Login", eMailPOP3Login_);
    write("EMailSMTPServer", eMailSMTPServer_);
    write("EMailSMTPLogin", eMailSMTPLogin_);
    write("EMailOrganization", eMailOrganization_);
    write("EMailLeaveMailOnServer", flag(eMailLeaveMailOnServer_));
}

}  // namespace vtl
