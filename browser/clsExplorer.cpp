#include "browser/clsExplorer.h"

#include <iterator>
#include <optional>

#include "config/ConfigFile.h"
#include "config/VbText.h"
#include "config/modAPI.h"
#include "platform/Platform.h"

namespace vtl {

namespace {

constexpr const char* kSettingsKey =
    "\\HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kMainKey =
    "\\HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main";
constexpr const char* kRemoteAccessKey = "\\HKEY_CURRENT_USER\\RemoteAccess";
constexpr const char* kAddressesKey = "\\HKEY_CURRENT_USER\\RemoteAccess\\Addresses\\";
constexpr const char* kPhoneBook = "\\ras\\rasphone.pbk";

constexpr const char* kSection = "Internet Explorer";
constexpr const char* kNoChange = "*NC*";
constexpr const char* kLocal = "<local>";

// The four-byte switch form of a Boolean: 01 00 00 00 or 00 00 00 00.
Variant switchBytes(bool on) {
    return Variant(std::vector<std::uint8_t>{static_cast<std::uint8_t>(on ? 1 : 0), 0, 0, 0});
}

const char* flag(bool value) {
    return value ? "1" : "0";
}

}  // namespace

clsExplorer::clsExplorer() {
    reg_.SetSuppressErrors(true);
    hasChanged_ = false;
    status_ = 0;
}

// --- Reading from the system ---

void clsExplorer::GetProxyAddresses() {
    reg_.Cd(kSettingsKey);
    if (reg_.lastError() != 0)
        return;
    std::string proxy = reg_.ValueText("ProxyServer");
    if (reg_.lastError() != 0)
        return;
    readProxyServer(proxy);
}

void clsExplorer::readProxyServer(const std::string& stored) {
    const std::string proxy = Trim(stored);
    // An empty value names no proxy, as in a configuration file: composing it
    // gives the empty text again.
    setProxySettings(proxy.empty() ? proxy : proxy + ";");
}

std::string clsExplorer::cycleProxyServer(const std::string& stored) {
    readProxyServer(stored);
    return buildProxyServer();
}

void clsExplorer::GetProxyEnabled() {
    proxyEnabled_ = false;
    reg_.Cd(kSettingsKey);
    if (reg_.lastError() != 0)
        return;
    RegValueType type = STRING;
    ValueRead value = reg_.ValueOf("ProxyEnable", type);
    if (reg_.lastError() != 0 || value.bytes.empty())
        return;
    proxyEnabled_ = value.bytes[0] == 1;
}

void clsExplorer::GetProxyExceptions() {
    reg_.Cd(kSettingsKey);
    std::string text;
    if (reg_.lastError() == 0)
        text = reg_.ValueText("ProxyOverride");
    if (reg_.lastError() != 0) {
        ignoreLocalAddresses_ = false;
        return;
    }
    setProxyOverride(text);
}

void clsExplorer::GetDefaultHomePage() {
    defaultHomePage_.clear();
    reg_.Cd(kMainKey);
    if (reg_.lastError() != 0)
        return;
    std::string page = reg_.ValueText("Start Page");
    if (reg_.lastError() == 0)
        defaultHomePage_ = page;
}

void clsExplorer::GetConnectViaLAN() {
    connectViaLAN_ = false;
    reg_.Cd(kSettingsKey);
    if (reg_.lastError() != 0)
        return;
    RegValueType type = STRING;
    ValueRead value = reg_.ValueOf("EnableAutoDial", type);
    if (reg_.lastError() != 0 || value.bytes.empty())
        return;
    connectViaLAN_ = value.bytes[0] == 0;
}

void clsExplorer::GetDUNList() {
    dunList_.clear();
    reg_.Cd(kRemoteAccessKey);
    if (reg_.lastError() != 0) {
        currentDUN_.clear();
    } else {
        std::string profile = reg_.ValueText("InternetProfile");
        if (reg_.lastError() == 0)
            currentDUN_ = profile;
    }

    if (GetOSVersion() != "9x") {
        readPhoneBook();
        return;
    }
    reg_.Cd(kAddressesKey);
    if (reg_.lastError() != 0)
        return;
    DirValueResult values = reg_.DirValue();
    if (reg_.lastError() != 0 || values.kind != DirValueResult::Kind::Array)
        return;
    for (const DirValueColumn& column : values.columns)
        dunList_.push_back(column[0]);
}

// The phone book's section names, in file order.
void clsExplorer::readPhoneBook() {
    const std::string path = platform::sys().GetSystemDirectory() + kPhoneBook;
    if (!FileExists(path))
        return;
    std::string content;
    if (platform::sys().ReadFile(path, content) != platform::ERROR_SUCCESS)
        return;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = content.size();
        const std::string line = content.substr(start, end - start);
        if (!line.empty() && line.front() == '[')
            dunList_.push_back(line.size() >= 2 ? line.substr(1, line.size() - 2) : "");
        start = end;
        if (start < content.size() && content[start] == '\r')
            ++start;
        if (start < content.size() && content[start] == '\n')
            ++start;
    }
}

void clsExplorer::GetAutoConfigURL() {
    autoConfigURL_.clear();
    reg_.Cd(kSettingsKey);
    if (reg_.lastError() != 0)
        return;
    std::string url = reg_.ValueText("AutoConfigURL");
    if (reg_.lastError() == 0)
        autoConfigURL_ = url;
}

void clsExplorer::getDisablePWDCache() {
    disablePWDCache_ = false;
    reg_.Cd(kSettingsKey);
    if (reg_.lastError() != 0)
        return;
    RegValueType type = STRING;
    ValueRead value = reg_.ValueOf("DisablePasswordCaching", type);
    if (reg_.lastError() == 0)
        disablePWDCache_ = value.number == 1;
}

void clsExplorer::loadConfiguration() {
    GetProxyAddresses();
    GetProxyEnabled();
    GetProxyExceptions();
    GetDefaultHomePage();
    GetConnectViaLAN();
    GetDUNList();
    GetAutoConfigURL();
    getDisablePWDCache();
}

// --- Writing to the system: unconditional, failures ignored ---

void clsExplorer::SetProxyAddresses() {
    reg_.Cd(kSettingsKey);
    reg_.SetValue("ProxyServer", STRING, buildProxyServer());
}

void clsExplorer::SetProxyEnabled() {
    reg_.Cd(kSettingsKey);
    reg_.SetValue("ProxyEnable", BINARY, switchBytes(proxyEnabled_));
}

void clsExplorer::SetProxyExceptions() {
    reg_.Cd(kSettingsKey);
    reg_.SetValue("ProxyOverride", STRING, proxyOverride());
}

void clsExplorer::SetDefaultHomePage() {
    reg_.Cd(kMainKey);
    reg_.SetValue("Start Page", STRING, defaultHomePage_);
}

void clsExplorer::SetConnectViaLAN() {
    reg_.Cd(kSettingsKey);
    reg_.SetValue("EnableAutodial", BINARY, switchBytes(!connectViaLAN_));
}

void clsExplorer::SetDUN() {
    reg_.Cd(kRemoteAccessKey);
    reg_.SetValue("InternetProfile", STRING, currentDUN_);
}

void clsExplorer::SetAutoConfigURL() {
    reg_.Cd(kSettingsKey);
    reg_.SetValue("AutoConfigURL", STRING, autoConfigURL_);
}

void clsExplorer::setDisablePWDCache() {
    reg_.Cd(kSettingsKey);
    if (reg_.lastError() != 0)
        return;
    reg_.SetValue("DisablePasswordCaching", DWORD, disablePWDCache_ ? 1.0 : 0.0);
}

void clsExplorer::ApplyConfiguration() {
    SetProxyAddresses();
    SetProxyEnabled();
    SetProxyExceptions();
    SetDefaultHomePage();
    SetConnectViaLAN();
    SetDUN();
    SetAutoConfigURL();
    setDisablePWDCache();
}

// --- Configuration file ---

void clsExplorer::LoadConfigurationFile(const std::string& fileName) {
    auto read = [&](const char* key) -> std::optional<std::string> {
        std::string value = ReadConfigValue(kSection, key, fileName);
        if (value == kNoChange)
            return std::nullopt;
        return value;
    };
    if (auto v = read("ProxyServer"))
        setProxySettings(*v);
    if (auto v = read("DialupISP"))
        currentDUN_ = *v;
    if (auto v = read("ProxyEnable"))
        proxyEnabled_ = *v == "1";
    if (auto v = read("EnableAutoDial"))
        connectViaLAN_ = *v == "0";
    if (auto v = read("AutoConfigURL"))
        autoConfigURL_ = *v;
    if (auto v = read("ProxyOverride"))
        setProxyOverride(*v);
    if (auto v = read("DisablePWDCache"))
        disablePWDCache_ = *v == "1";
    if (auto v = read("DefHomePage"))
        defaultHomePage_ = *v;
}

void clsExplorer::SaveConfigurationFile(const std::string& fileName) {
    WriteConfigValue(kSection, "ProxyServer", buildProxyServer(), fileName);
    WriteConfigValue(kSection, "DialupISP", currentDUN_, fileName);
    WriteConfigValue(kSection, "ProxyEnable", flag(proxyEnabled_), fileName);
    WriteConfigValue(kSection, "EnableAutoDial", flag(!connectViaLAN_), fileName);
    WriteConfigValue(kSection, "AutoConfigURL", autoConfigURL_, fileName);
    WriteConfigValue(kSection, "ProxyOverride", proxyOverride(), fileName);
    WriteConfigValue(kSection, "DisablePWDCache", flag(disablePWDCache_), fileName);
    WriteConfigValue(kSection, "DefHomePage", defaultHomePage_, fileName);
}

// --- Proxy exceptions ---

// Text before "<local>" less the separator in front of it; nothing after it is kept.
void clsExplorer::setProxyOverride(const std::string& value) {
    const std::size_t at = value.find(kLocal);
    if (at == std::string::npos) {
        ignoreLocalAddresses_ = false;
        proxyExceptions_ = value;
        return;
    }
    ignoreLocalAddresses_ = true;
    proxyExceptions_ = at >= 1 ? value.substr(0, at - 1) : std::string();
}

std::string clsExplorer::proxyOverride() const {
    return ignoreLocalAddresses_ ? proxyExceptions_ + ";" + kLocal : proxyExceptions_;
}

// --- Proxy string grammar ---
//   single form:       address ":" port, one proxy for all protocols
//   per-protocol form: protocol "=" address [":" port] entries joined by ";"

void clsExplorer::setProxySettings(std::string proxy) {
    proxy += ";";
    useSameProxy_ = proxy.find('=') == std::string::npos && proxy != ";";
    httpAddress_.clear();
    httpPort_.clear();
    ftpAddress_.clear();
    ftpPort_.clear();
    gopherAddress_.clear();
    gopherPort_.clear();
    secureAddress_.clear();
    securePort_.clear();

    std::size_t start = 0;
    for (;;) {
        const std::size_t end = proxy.find(';', start);
        if (end == std::string::npos)
            break;
        std::string address;
        std::string port;
        const std::string protocol =
            UCase(parseProxyServer(proxy.substr(start, end - start), address, port));
        if (protocol == "HTTP") {
            httpAddress_ = address;
            httpPort_ = port;
            if (useSameProxy_) {
                ftpAddress_ = gopherAddress_ = secureAddress_ = address;
                ftpPort_ = gopherPort_ = securePort_ = port;
            }
        } else if (protocol == "FTP") {
            ftpAddress_ = address;
            ftpPort_ = port;
        } else if (protocol == "GOPHER") {
            gopherAddress_ = address;
            gopherPort_ = port;
        } else if (protocol == "HTTPS") {
            secureAddress_ = address;
            securePort_ = port;
        } else if (protocol == "SOCKS") {
            socksAddress_ = address;
            socksPort_ = port;
        }
        // Stop at an empty entry or the end of the list.
        start = end + 1;
        const std::size_t next = proxy.find(';', start);
        if (next == std::string::npos || next == start)
            break;
    }
}

std::string clsExplorer::parseProxyServer(const std::string& entry, std::string& address,
                                          std::string& port) {
    std::string e = entry;
    std::size_t equals = e.find('=');
    if (equals == std::string::npos) {
        e = "http=" + e;
        equals = 4;
    }
    const std::string protocol = e.substr(0, equals);

    // A first colon followed by "//" ends a scheme; the port follows the next one.
    const std::size_t c1 = e.find(':');
    const bool scheme = c1 != std::string::npos && e.compare(c1 + 1, 2, "//") == 0;
    const std::size_t c2 = scheme ? e.find(':', c1 + 1) : std::string::npos;
    if (c1 != std::string::npos && (c2 != std::string::npos || !scheme)) {
        const std::size_t colon = c2 != std::string::npos ? c2 : c1;
        // A colon before "=" belongs to the protocol name, which no caller accepts.
        address = colon > equals ? e.substr(equals + 1, colon - equals - 1) : std::string();
        port = e.substr(colon + 1);
    } else {
        address = e.substr(equals + 1);
        port.clear();
    }
    return protocol;
}

std::string clsExplorer::buildProxyServer() const {
    // The reader trims the text: blanks at its ends are not written.
    if (useSameProxy_)
        return Trim(httpAddress_ + ":" + httpPort_);
    struct Pair {
        const char* prefix;
        const std::string& address;
        const std::string& port;
    };
    const Pair pairs[] = {
        {"ftp=", ftpAddress_, ftpPort_},       {"gopher=", gopherAddress_, gopherPort_},
        {"http=", httpAddress_, httpPort_},    {"https=", secureAddress_, securePort_},
        {"socks=", socksAddress_, socksPort_},
    };
    std::string result;
    for (const Pair& pair : pairs) {
        if (Trim(pair.address).empty())
            continue;
        result += pair.prefix + pair.address;
        if (!Trim(pair.port).empty())
            result += ":" + pair.port;
        result += ";";
    }
    if (!Trim(result).empty())
        result.pop_back();
    return Trim(result);
}

}  // namespace vtl
