#include "net/clsNetConfigNT.h"

#include "net/NetText.h"
#include "net/clsNICNT.h"

namespace vtl {

namespace {

constexpr const char* kComputerNameKey =
    "\\HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\ComputerName\\ComputerName";
constexpr const char* kTcpipKey =
    "\\HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\";
constexpr const char* kSearchListKey =
    "\\HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr const char* kServicesKey = "\\HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\";
constexpr const char* kNetBtKey =
    "\\HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\NetBT\\Parameters";
constexpr const char* kNetBtAdaptersKey =
    "\\HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\NetBT\\Adapters\\";
// Windows 95/98 locations.
constexpr const char* kVnetsupKey =
    "\\HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\VNETSUP";
constexpr const char* kMstcpKey =
    "\\HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\MSTCP";
constexpr const char* kLogonKey = "\\HKEY_LOCAL_MACHINE\\Network\\Logon";
constexpr const char* kProviderKey =
    "\\HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\MSNP32\\NetworkProvider";

}  // namespace

clsNetConfigNT::clsNetConfigNT() : clsNetConfigNT(printers::WinNT) {}

clsNetConfigNT::clsNetConfigNT(printers::System system)
    : clsNetConfigBase(Family::NT), system_(system) {}

std::string clsNetConfigNT::adapterPath() const {
    return kServicesKey + adapterKey() + "\\Parameters\\Tcpip";
}

std::string clsNetConfigNT::netBtAdapterPath() const {
    return kNetBtAdaptersKey + adapterKey();
}

// --- Reading ---

void clsNetConfigNT::getAdapterList() {
    Collection<std::string> cDesc;
    Collection<std::string> cKey;
    clsNICNT enumerator;
    enumerator.EnumAdapters(cDesc, cKey);
    takeAdapters(cDesc, cKey);
}

void clsNetConfigNT::getComputerName() {
    readText(kComputerNameKey, "ComputerName", computerName_);
}

void clsNetConfigNT::getworkgroup() {
    readText(kVnetsupKey, "Workgroup", workgroup_);
}

void clsNetConfigNT::getDomain() {
    if (!readText(kTcpipKey, "Domain", domainName_))
        domainName_.clear();
}

void clsNetConfigNT::getHost() {
    if (!readText(kTcpipKey, "Hostname", host_))
        host_.clear();
}

void clsNetConfigNT::getDNSServers() {
    std::string text;
    if (readText(kTcpipKey, "NameServer", text))
        dnsServers_ = ReplaceAll(text, " ", ",");
}

void clsNetConfigNT::getSearchList() {
    std::string text;
    searchList_ = readText(kSearchListKey, "SearchList", text) ? ReplaceAll(text, " ", ",") : "";
}

// A multi-string: one trailing NUL dropped, the others turned into commas.
void clsNetConfigNT::readList(const char* name, std::string& item) {
    if (!hasAdapter())
        return;
    std::string text;
    if (!readText(adapterPath(), name, text))
        return;
    if (!text.empty() && text.back() == '\0')
        text.pop_back();
    item = ReplaceAll(text, std::string(1, '\0'), ",");
}

void clsNetConfigNT::getIPAddress() {
    readList("IPAddress", ipAddress_);
}

void clsNetConfigNT::getIPMask() {
    readList("SubnetMask", ipMask_);
}

void clsNetConfigNT::getDefaultGateway() {
    readList("DefaultGateway", defaultGateway_);
}

void clsNetConfigNT::getDHCPEnabled() {
    if (!hasAdapter())
        return;
    ValueRead read;
    dhcpEnabled_ = readValue(adapterPath(), "EnableDHCP", read) && read.number == 1;
}

void clsNetConfigNT::getLMHostFile() {
    readText(kMstcpKey, "LMHostFile", lmHostFile_);
}

void clsNetConfigNT::getDNSEnabled() {
    ValueRead read;
    if (readValue(kNetBtKey, "EnableDNS", read))
        dnsEnabled_ = read.number == 1;
}

void clsNetConfigNT::getScopeID() {
    if (!readText(kNetBtKey, "ScopeID", scopeID_))
        scopeID_.clear();
}

void clsNetConfigNT::getWINSServer1() {
    if (!hasAdapter())
        return;
    if (!readText(netBtAdapterPath(), "NameServer", winsServer1_))
        winsServer1_.clear();
}

void clsNetConfigNT::getWINSServer2() {
    if (!hasAdapter())
        return;
    if (!readText(netBtAdapterPath(), "NameServerBackup", winsServer2_))
        winsServer2_.clear();
}

void clsNetConfigNT::getWINSEnabled() {
    winsEnabled_ = !winsServer1_.empty() || !winsServer2_.empty();
}

void clsNetConfigNT::getNTDomain() {
    readText(kProviderKey, "AuthenticatingAgent", ntDomain_);
}

void clsNetConfigNT::getNTLogon() {
    ValueRead read;
    ntLogonEnabled_ =
        readValue(kLogonKey, "LMLogon", read) && !read.bytes.empty() && read.bytes[0] == 1;
}

void clsNetConfigNT::getPrinterList() {
    printers::getPrinterList(printer_, system_);
}

// --- Writing ---

void clsNetConfigNT::setComputerName() {
    writeValue(kComputerNameKey, "ComputerName", STRING, computerName_);
}

void clsNetConfigNT::setDomain() {
    writeValue(kTcpipKey, "Domain", STRING, domainName_);
}

void clsNetConfigNT::setHost() {
    writeValue(kTcpipKey, "Hostname", STRING, host_);
}

void clsNetConfigNT::setDNSServers() {
    writeValue(kTcpipKey, "NameServer", STRING, ReplaceAll(dnsServers_, ",", " "));
}

void clsNetConfigNT::setSearchList() {
    writeValue(kSearchListKey, "SearchList", STRING, ReplaceAll(searchList_, ",", " "));
}

// Entries separated by single zero bytes, no terminator added.
void clsNetConfigNT::writeList(const char* name, const std::string& list) {
    if (hasAdapter())
        writeValue(adapterPath(), name, MULTI_STRING, CommaListToBytes(list));
}

void clsNetConfigNT::setIPAddress() {
    writeList("IPAddress", ipAddress_.empty() ? "0.0.0.0" : ipAddress_);
}

void clsNetConfigNT::setIPMask() {
    writeList("SubnetMask", ipMask_.empty() ? "0.0.0.0" : ipMask_);
}

void clsNetConfigNT::setDefaultGateway() {
    writeList("DefaultGateway", defaultGateway_);
}

void clsNetConfigNT::setDHCPEnabled() {
    if (hasAdapter())
        writeValue(adapterPath(), "EnableDHCP", DWORD, dhcpEnabled_ ? 1.0 : 0.0);
}

void clsNetConfigNT::setDNSEnabled() {
    writeValue(kNetBtKey, "EnableDNS", DWORD, dnsEnabled_ ? 1.0 : 0.0);
}

// With WINS off the servers and the scope are cleared.
void clsNetConfigNT::setWINSServer1() {
    if (hasAdapter()) {
        writeValue(netBtAdapterPath(), "NameServer", STRING, winsEnabled_ ? winsServer1_ : "");
    }
}

void clsNetConfigNT::setWINSServer2() {
    if (hasAdapter()) {
        writeValue(netBtAdapterPath(), "NameServerBackup", STRING,
                   winsEnabled_ ? winsServer2_ : "");
    }
}

void clsNetConfigNT::setScopeID() {
    writeValue(kNetBtKey, "ScopeID", STRING, winsEnabled_ ? scopeID_ : "");
}

// Windows 95/98 locations; ApplyConfiguration does not call these here.
void clsNetConfigNT::setworkgroup() {
    writeValue(kVnetsupKey, "Workgroup", STRING, workgroup_);
}

void clsNetConfigNT::setNTLogon() {
    reg_.Cd(kLogonKey);
    if (reg_.lastError() != 0)
        return;
    RegValueType type = BINARY;
    reg_.SetValueOf(
        "LMLogon", type,
        std::vector<std::uint8_t>{ntLogonEnabled_ ? std::uint8_t{1} : std::uint8_t{0}, 0, 0, 0});
}

void clsNetConfigNT::setNTDomain() {
    writeValue(kProviderKey, "AuthenticatingAgent", STRING, ntDomain_);
}

void clsNetConfigNT::setDefaultPrinter() {
    printers::setDefaultPrinter(printer_, system_);
}

void clsNetConfigNT::setAdvPrinterSettings() {
    printers::setAdvPrinterSettings(printer_, system_);
}

}  // namespace vtl
