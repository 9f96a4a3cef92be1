#include "net/clsNetConfig9x.h"

#include <charconv>
#include <cmath>

#include "net/clsNIC9x.h"

namespace vtl {

namespace {

constexpr const char* kComputerNameKey =
    "\\HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\ComputerName\\ComputerName";
constexpr const char* kVnetsupKey =
    "\\HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\VNETSUP";
constexpr const char* kMstcpKey =
    "\\HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\MSTCP";
constexpr const char* kClassKey =
    "\\HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\";
constexpr const char* kWinSock2Key =
    "\\HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\WinSock2\\Parameters";
constexpr const char* kLogonKey = "\\HKEY_LOCAL_MACHINE\\Network\\Logon";
constexpr const char* kProviderKey =
    "\\HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\MSNP32\\NetworkProvider";
constexpr const char* kCurrentVersionKey =
    "\\HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kPoliciesKey =
    "\\HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies";
constexpr const char* kPolicyNetworkKey =
    "\\HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";

constexpr const char* kNodeType = "NodeType";
constexpr const char* kNodeWins = "8";    // WINS on, DHCP off
constexpr const char* kNodeStatic = "1";  // both off; absent: DHCP on, WINS off

// The text as a whole number, rounding as a Basic integer conversion does;
// nothing when it is not a number or out of the 16-bit range.
std::optional<int> toInteger(const std::string& text) {
    auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    auto last = text.find_last_not_of(" \t");
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+')
        ++begin;
    if (begin == end)
        return std::nullopt;
    double number = 0;
    auto [ptr, ec] = std::from_chars(begin, end, number);
    if (ec != std::errc() || ptr != end || !std::isfinite(number))
        return std::nullopt;
    number = std::nearbyint(number);
    if (number < -32768 || number > 32767)
        return std::nullopt;
    return static_cast<int>(number);
}

bool firstByteIsOne(const ValueRead& read) {
    return !read.bytes.empty() && read.bytes[0] == 1;
}

}  // namespace

clsNetConfig9x::clsNetConfig9x() : clsNetConfigBase(Family::Win9x) {
    reg_.Cd(kWinSock2Key);
    winsock_ = reg_.lastError() == 0 ? 2 : 1;
}

std::string clsNetConfig9x::adapterPath() const {
    return kClassKey + adapterKey();
}

std::string clsNetConfig9x::netBiosPath() const {
    if (winsock_ == 1)
        return kMstcpKey;
    return hasAdapter() ? adapterPath() : std::string();
}

// --- Reading ---

void clsNetConfig9x::getAdapterList() {
    Collection<std::string> cDesc;
    Collection<std::string> cKey;
    clsNIC9x enumerator;
    enumerator.EnumAdapters(cDesc, cKey);
    takeAdapters(cDesc, cKey);
}

void clsNetConfig9x::getComputerName() {
    readText(kComputerNameKey, "ComputerName", computerName_);
}

void clsNetConfig9x::getworkgroup() {
    readText(kVnetsupKey, "Workgroup", workgroup_);
}

void clsNetConfig9x::getDomain() {
    readText(kMstcpKey, "Domain", domainName_);
}

void clsNetConfig9x::getHost() {
    readText(kMstcpKey, "Hostname", host_);
}

void clsNetConfig9x::getIPAddress() {
    if (hasAdapter())
        readText(adapterPath(), "IPAddress", ipAddress_);
}

void clsNetConfig9x::getIPMask() {
    if (hasAdapter())
        readText(adapterPath(), "IPMask", ipMask_);
}

void clsNetConfig9x::getDefaultGateway() {
    if (hasAdapter())
        readText(adapterPath(), "DefaultGateway", defaultGateway_);
}

void clsNetConfig9x::getLMHostFile() {
    readText(kMstcpKey, "LMHostFile", lmHostFile_);
}

void clsNetConfig9x::getDNSServers() {
    readText(kMstcpKey, "NameServer", dnsServers_);
}

void clsNetConfig9x::getSearchList() {
    readText(kMstcpKey, "SearchList", searchList_);
}

void clsNetConfig9x::getDNSEnabled() {
    std::string text;
    if (readText(kMstcpKey, "EnableDNS", text))
        dnsEnabled_ = text == "1";
}

void clsNetConfig9x::getWINSEnabled() {
    if (!hasAdapter())
        return;
    std::string text;
    winsEnabled_ = readText(netBiosPath(), kNodeType, text) && text == kNodeWins;
}

void clsNetConfig9x::getDHCPEnabled() {
    if (!hasAdapter())
        return;
    std::string text;
    if (!readText(netBiosPath(), kNodeType, text)) {
        dhcpEnabled_ = true;
        winsEnabled_ = false;
        return;
    }
    auto node = toInteger(text);
    if (node == 8) {
        dhcpEnabled_ = false;
        winsEnabled_ = true;
    } else if (node == 1) {
        dhcpEnabled_ = false;
        winsEnabled_ = false;
    }
}

void clsNetConfig9x::getWINSServer1() {
    if (!hasAdapter())
        return;
    if (!readText(netBiosPath(), "NameServer1", winsServer1_))
        winsServer1_.clear();
}

void clsNetConfig9x::getWINSServer2() {
    if (!hasAdapter())
        return;
    if (!readText(netBiosPath(), "NameServer2", winsServer2_))
        winsServer2_.clear();
}

void clsNetConfig9x::getScopeID() {
    const std::string path = netBiosPath();
    if (!path.empty())
        readText(path, "ScopeID", scopeID_);
}

void clsNetConfig9x::getNTLogon() {
    ValueRead read;
    ntLogonEnabled_ = readValue(kLogonKey, "LMLogon", read) && firstByteIsOne(read);
}

void clsNetConfig9x::getNTDomain() {
    readText(kProviderKey, "AuthenticatingAgent", ntDomain_);
}

void clsNetConfig9x::getQuickLogon() {
    ValueRead read;
    quickLogon_ = readValue(kProviderKey, "LogonDisconnected", read) && firstByteIsOne(read);
}

void clsNetConfig9x::getDisablePWDCache() {
    ValueRead read;
    disablePWDCache_ = readValue(kPolicyNetworkKey, "DisablePwdCaching", read) && read.number == 1;
}

void clsNetConfig9x::getPrinterList() {
    printers::getPrinterList(printer_, printers::Win9x);
}

// --- Properties of this system only ---

void clsNetConfig9x::DisablePWDCache(bool bMode) {
    disablePWDCache_ = bMode;
    raise(NetFlag::DisablePWDCache);
}

void clsNetConfig9x::QuickLogon(bool bMode) {
    quickLogon_ = bMode;
    raise(NetFlag::QuickLogon);
}

// --- Writing ---

void clsNetConfig9x::setComputerName() {
    writeValue(kComputerNameKey, "ComputerName", STRING, computerName_);
}

void clsNetConfig9x::setworkgroup() {
    writeValue(kVnetsupKey, "Workgroup", STRING, workgroup_);
}

void clsNetConfig9x::setDomain() {
    writeValue(kMstcpKey, "Domain", STRING, domainName_);
}

void clsNetConfig9x::setHost() {
    writeValue(kMstcpKey, "Hostname", STRING, host_);
}

void clsNetConfig9x::setIPAddress() {
    if (!hasAdapter())
        return;
    writeValue(adapterPath(), "IPAddress", STRING, ipAddress_.empty() ? "0.0.0.0" : ipAddress_);
}

void clsNetConfig9x::setIPMask() {
    if (!hasAdapter())
        return;
    writeValue(adapterPath(), "IPMask", STRING, ipMask_.empty() ? "0.0.0.0" : ipMask_);
}

void clsNetConfig9x::setDefaultGateway() {
    if (hasAdapter())
        writeValue(adapterPath(), "DefaultGateway", STRING, defaultGateway_);
}

void clsNetConfig9x::setLMHostFile() {}

void clsNetConfig9x::setDNSServers() {
    writeValue(kMstcpKey, "NameServer", STRING, dnsServers_);
}

void clsNetConfig9x::setSearchList() {
    writeValue(kMstcpKey, "SearchList", STRING, searchList_);
}

void clsNetConfig9x::setDNSEnabled() {
    writeValue(kMstcpKey, "EnableDNS", STRING, dnsEnabled_ ? "1" : "0");
}

// Runs before setDHCPEnabled, which has the last word on "NodeType".
void clsNetConfig9x::setWINSEnabled() {
    const std::string path = netBiosPath();
    if (path.empty())
        return;
    if (winsEnabled_) {
        writeValue(path, kNodeType, STRING, kNodeWins);
    } else if (!dhcpEnabled_) {
        writeValue(path, kNodeType, STRING, kNodeStatic);
    }
}

void clsNetConfig9x::setDHCPEnabled() {
    const std::string path = netBiosPath();
    if (path.empty())
        return;
    if (dhcpEnabled_) {
        reg_.Cd(path);
        reg_.DeleteValue(kNodeType);
    } else if (!winsEnabled_) {
        writeValue(path, kNodeType, STRING, kNodeStatic);
    }
}

void clsNetConfig9x::writeOrDeleteWins(const std::string& name, const std::string& text) {
    const std::string path = netBiosPath();
    if (path.empty())
        return;
    if (winsEnabled_) {
        writeValue(path, name, STRING, text);
    } else {
        reg_.Cd(path);
        reg_.DeleteValue(name);
    }
}

void clsNetConfig9x::setWINSServer1() {
    writeOrDeleteWins("NameServer1", winsServer1_);
}

void clsNetConfig9x::setWINSServer2() {
    writeOrDeleteWins("NameServer2", winsServer2_);
}

void clsNetConfig9x::setScopeID() {
    writeOrDeleteWins("ScopeID", scopeID_);
}

void clsNetConfig9x::writeSwitch(const std::string& path, const std::string& name, bool on) {
    reg_.Cd(path);
    if (reg_.lastError() != 0)
        return;  // the key is not created
    RegValueType type = BINARY;
    reg_.SetValueOf(name, type,
                    std::vector<std::uint8_t>{on ? std::uint8_t{1} : std::uint8_t{0}, 0, 0, 0});
}

void clsNetConfig9x::setNTLogon() {
    writeSwitch(kLogonKey, "LMLogon", ntLogonEnabled_);
}

void clsNetConfig9x::setQuickLogon() {
    writeSwitch(kProviderKey, "LogonDisconnected", quickLogon_);
}

void clsNetConfig9x::setNTDomain() {
    writeValue(kProviderKey, "AuthenticatingAgent", STRING, ntDomain_);
}

void clsNetConfig9x::setDisablePWDCache() {
    reg_.Cd(kPolicyNetworkKey);
    if (reg_.lastError() != 0) {
        reg_.Cd(kPoliciesKey);
        if (reg_.lastError() != 0) {
            reg_.Cd(kCurrentVersionKey);
            reg_.MakeKey("Policies");
            reg_.Cd("Policies");
            reg_.MakeKey("Network");
            reg_.Cd("Network");
        } else {
            reg_.MakeKey("Network");
            reg_.Cd(kPolicyNetworkKey);
        }
    }
    RegValueType type = DWORD;
    reg_.SetValueOf("DisablePwdCaching", type, disablePWDCache_ ? 1.0 : 0.0);
}

void clsNetConfig9x::setDefaultPrinter() {
    printers::setDefaultPrinter(printer_, printers::Win9x);
}

void clsNetConfig9x::setAdvPrinterSettings() {
    printers::setAdvPrinterSettings(printer_, printers::Win9x);
}

}  // namespace vtl
