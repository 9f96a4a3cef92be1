// The PC's network identity, TCP/IP settings of one selected adapter, and the
// default printer with its port capture, as the rest of the program sees them.
// Implemented by clsNetConfig9x (Windows 95/98), clsNetConfigNT (Windows NT 4)
// and clsNetConfig2K (Windows 2000).
//
// Each item is a stored property: a getter and a same-named setter overload.
// Setters store the value (text items other than the four printer texts with
// surrounding blanks removed) and raise the item's change flag. The get...
// operations read an item from the running system into the property without
// raising a flag; the set... operations write it to the system and are called
// by ApplyConfiguration only, for the flagged items.
//
// Lists (IPAddress, IPMask, DefaultGateway, DNSServers, SearchList) are one
// text with the entries separated by "," and no blanks.
//
// Members are declared in slot order (1 to 110); Changed follows them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vtl {

// The change flags, one per item that a setter flags.
enum class NetFlag {
    ComputerName,
    Workgroup,
    Domain,
    Host,
    IPAddress,
    IPMask,
    DefaultGateway,
    LMHostFile,
    DNSServers,
    SearchList,
    DNSEnabled,
    WINSEnabled,
    WINSServer1,
    WINSServer2,
    ScopeID,
    DHCPEnabled,
    NTLogon,
    NTDomain,
    DisablePWDCache,
    QuickLogon,
    DefaultPrinter,
};
inline constexpr int kNetFlagCount = static_cast<int>(NetFlag::DefaultPrinter) + 1;

// An array result that may also be empty (no array at all): nullopt.
using NameList = std::optional<std::vector<std::string>>;

class clsNetConfig {
  public:
    virtual ~clsNetConfig() = default;

    // 1-5: the object's jobs.
    virtual void loadConfiguration() = 0;
    virtual void ApplyConfiguration() = 0;
    virtual void LoadConfigurationFile(const std::string& sFilename) = 0;
    virtual void SaveConfigurationFile(const std::string& sFilename) = 0;
    virtual void resetFlags() = 0;

    // 6-28: read from the system.
    virtual void getAdapterList() = 0;
    virtual void getComputerName() = 0;
    virtual void getworkgroup() = 0;
    virtual void getDomain() = 0;
    virtual void getHost() = 0;
    virtual void getIPAddress() = 0;
    virtual void getIPMask() = 0;
    virtual void getLMHostFile() = 0;
    virtual void getDNSServers() = 0;
    virtual void getWINSEnabled() = 0;
    virtual void getWINSServer1() = 0;
    virtual void getWINSServer2() = 0;
    virtual void getScopeID() = 0;
    virtual void getSearchList() = 0;
    virtual void getDNSEnabled() = 0;
    virtual void getDHCPEnabled() = 0;
    virtual void getNTLogon() = 0;
    virtual void getNTDomain() = 0;
    virtual void getDisablePWDCache() = 0;
    virtual void getDefaultPrinter() = 0;
    virtual void getPrinterList() = 0;
    virtual void getDefaultGateway() = 0;
    virtual void getAdvPrinterSettings() = 0;

    // 29-44: gateway and printer properties (setter before getter).
    virtual void DefaultGateway(const std::string& sDefGateway) = 0;
    virtual std::string DefaultGateway() const = 0;
    // Whether applying may change the default printer; raises no flag.
    virtual void EnableDefaultPrinter(bool bMode) = 0;
    virtual bool EnableDefaultPrinter() const = 0;
    // Raises its flag only when the name is an installed printer, which then
    // becomes the program's current output printer.
    virtual void DefaultPrinter(const std::string& sDefPrinter) = 0;
    virtual std::string DefaultPrinter() const = 0;
    // Whether applying writes the printer port and the capture; raises no flag.
    virtual void EnableAdvPrinterSettings(bool bMode) = 0;
    virtual bool EnableAdvPrinterSettings() const = 0;
    // The four items below raise no flag.
    virtual void PrinterPort(const std::string& sPort) = 0;
    virtual std::string PrinterPort() const = 0;
    // "(None)" or "LPT1" to "LPT9".
    virtual void PrinterCaptureDev(const std::string& sDev) = 0;
    virtual std::string PrinterCaptureDev() const = 0;
    virtual void PrinterCapturePath(const std::string& sPath) = 0;
    virtual std::string PrinterCapturePath() const = 0;
    virtual void PrinterCaptureReconnect(bool bMode) = 0;
    virtual bool PrinterCaptureReconnect() const = 0;

    // 45: installed printer names, nullopt when none was found.
    virtual NameList printerList() const = 0;

    // 46-79: identity and TCP/IP properties (setter before getter).
    virtual void NTLogonEnabled(bool bNTLogon) = 0;
    virtual bool NTLogonEnabled() const = 0;
    virtual void NTDomain(const std::string& sDomain) = 0;
    virtual std::string NTDomain() const = 0;
    virtual void DomainName(const std::string& sDomain) = 0;
    virtual std::string DomainName() const = 0;
    virtual void Host(const std::string& sHost) = 0;
    virtual std::string Host() const = 0;
    virtual void LMHostFile(const std::string& sLMHost) = 0;
    virtual std::string LMHostFile() const = 0;
    virtual void DNSServers(const std::string& sDNSServerList) = 0;
    virtual std::string DNSServers() const = 0;
    virtual void WINSServer1(const std::string& sWINSServer) = 0;
    virtual std::string WINSServer1() const = 0;
    virtual void WINSServer2(const std::string& sWINSServer) = 0;
    virtual std::string WINSServer2() const = 0;
    virtual void ScopeID(const std::string& sScope) = 0;
    virtual std::string ScopeID() const = 0;
    virtual void SearchList(const std::string& sList) = 0;
    virtual std::string SearchList() const = 0;
    virtual void DNSEnabled(bool bDNS) = 0;
    virtual bool DNSEnabled() const = 0;
    virtual void DHCPEnabled(bool bDHCP) = 0;
    virtual bool DHCPEnabled() const = 0;
    virtual void ComputerName(const std::string& sName) = 0;
    virtual std::string ComputerName() const = 0;
    virtual void Workgroup(const std::string& sGroup) = 0;
    virtual std::string Workgroup() const = 0;
    // Raises the flags WINSEnabled, ScopeID, WINSServer1 and WINSServer2.
    virtual void WINSEnabled(bool bEnabled) = 0;
    virtual bool WINSEnabled() const = 0;
    virtual void IPAddress(const std::string& sIP) = 0;
    virtual std::string IPAddress() const = 0;
    virtual void IPMask(const std::string& sMask) = 0;
    virtual std::string IPMask() const = 0;

    // 80: descriptions of the adapters carrying TCP/IP, nullopt when none.
    virtual NameList AdapterList() const = 0;
    // 81-82: index into AdapterList, -1 when there is no adapter. Selecting
    // another adapter re-reads its items from the system; no flag is raised.
    virtual void CurrentAdapter(std::int16_t iIndex) = 0;
    virtual std::int16_t CurrentAdapter() const = 0;
    // 83: selects an adapter without reading anything.
    virtual void CurrentAdapterNoRefresh(std::int16_t iIndex) = 0;

    // 84-87 (getter before setter).
    virtual bool DisablePWDCache() const = 0;
    virtual void DisablePWDCache(bool bMode) = 0;
    virtual bool QuickLogon() const = 0;
    virtual void QuickLogon(bool bMode) = 0;

    // 88-110: read QuickLogon; write to the system.
    virtual void getQuickLogon() = 0;
    virtual void setQuickLogon() = 0;
    virtual void setDisablePWDCache() = 0;
    virtual void setComputerName() = 0;
    virtual void setworkgroup() = 0;
    virtual void setDomain() = 0;
    virtual void setHost() = 0;
    virtual void setIPAddress() = 0;
    virtual void setIPMask() = 0;
    virtual void setLMHostFile() = 0;
    virtual void setDNSServers() = 0;
    virtual void setWINSEnabled() = 0;
    virtual void setWINSServer1() = 0;
    virtual void setWINSServer2() = 0;
    virtual void setScopeID() = 0;
    virtual void setSearchList() = 0;
    virtual void setDNSEnabled() = 0;
    virtual void setDHCPEnabled() = 0;
    virtual void setNTLogon() = 0;
    virtual void setNTDomain() = 0;
    virtual void setDefaultPrinter() = 0;
    virtual void setDefaultGateway() = 0;
    virtual void setAdvPrinterSettings() = 0;

    // Whether a change flag is raised (for the window's status and for tests).
    virtual bool Changed(NetFlag flag) const = 0;

  protected:
    clsNetConfig() = default;
    clsNetConfig(const clsNetConfig&) = default;
    clsNetConfig& operator=(const clsNetConfig&) = default;
};

}  // namespace vtl
