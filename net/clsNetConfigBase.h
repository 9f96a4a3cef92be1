// What the three network backends share: the item fields and properties, the
// change flags, the fixed read and apply orders, adapter selection and the
// "Network" and "Printer" sections of a configuration file. Where the systems
// differ in these (Windows 95/98 against NT 4 and 2000) the family decides.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "net/Collection.h"
#include "net/PrinterSettings.h"
#include "net/clsNetConfig.h"
#include "registry/clsEasyRegistry.h"

namespace vtl {

class clsNetConfigBase : public clsNetConfig {
  public:
    void loadConfiguration() override;
    void ApplyConfiguration() override;
    void LoadConfigurationFile(const std::string& sFilename) override;
    void SaveConfigurationFile(const std::string& sFilename) override;
    void resetFlags() override;

    void getDefaultPrinter() override;
    void getAdvPrinterSettings() override;

    void DefaultGateway(const std::string& sDefGateway) override;
    std::string DefaultGateway() const override { return defaultGateway_; }
    void EnableDefaultPrinter(bool bMode) override { printer_.EnableDefaultPrinter = bMode; }
    bool EnableDefaultPrinter() const override { return printer_.EnableDefaultPrinter; }
    void DefaultPrinter(const std::string& sDefPrinter) override;
    std::string DefaultPrinter() const override { return printer_.DefaultPrinter; }
    void EnableAdvPrinterSettings(bool bMode) override {
        printer_.EnableAdvPrinterSettings = bMode;
    }
    bool EnableAdvPrinterSettings() const override { return printer_.EnableAdvPrinterSettings; }
    void PrinterPort(const std::string& sPort) override { printer_.PrinterPort = sPort; }
    std::string PrinterPort() const override { return printer_.PrinterPort; }
    void PrinterCaptureDev(const std::string& sDev) override { printer_.PrinterCaptureDev = sDev; }
    std::string PrinterCaptureDev() const override { return printer_.PrinterCaptureDev; }
    void PrinterCapturePath(const std::string& sPath) override {
        printer_.PrinterCapturePath = sPath;
    }
    std::string PrinterCapturePath() const override { return printer_.PrinterCapturePath; }
    void PrinterCaptureReconnect(bool bMode) override { printer_.PrinterCaptureReconnect = bMode; }
    bool PrinterCaptureReconnect() const override { return printer_.PrinterCaptureReconnect; }

    NameList printerList() const override { return printer_.printerList; }

    void NTLogonEnabled(bool bNTLogon) override;
    bool NTLogonEnabled() const override { return ntLogonEnabled_; }
    void NTDomain(const std::string& sDomain) override;
    std::string NTDomain() const override { return ntDomain_; }
    void DomainName(const std::string& sDomain) override;
    std::string DomainName() const override { return domainName_; }
    void Host(const std::string& sHost) override;
    std::string Host() const override { return host_; }
    void LMHostFile(const std::string& sLMHost) override;
    std::string LMHostFile() const override { return lmHostFile_; }
    void DNSServers(const std::string& sDNSServerList) override;
    std::string DNSServers() const override { return dnsServers_; }
    void WINSServer1(const std::string& sWINSServer) override;
    std::string WINSServer1() const override { return winsServer1_; }
    void WINSServer2(const std::string& sWINSServer) override;
    std::string WINSServer2() const override { return winsServer2_; }
    void ScopeID(const std::string& sScope) override;
    std::string ScopeID() const override { return scopeID_; }
    void SearchList(const std::string& sList) override;
    std::string SearchList() const override { return searchList_; }
    void DNSEnabled(bool bDNS) override;
    bool DNSEnabled() const override { return dnsEnabled_; }
    void DHCPEnabled(bool bDHCP) override;
    bool DHCPEnabled() const override { return dhcpEnabled_; }
    void ComputerName(const std::string& sName) override;
    std::string ComputerName() const override { return computerName_; }
    void Workgroup(const std::string& sGroup) override;
    std::string Workgroup() const override { return workgroup_; }
    void WINSEnabled(bool bEnabled) override;
    bool WINSEnabled() const override { return winsEnabled_; }
    void IPAddress(const std::string& sIP) override;
    std::string IPAddress() const override { return ipAddress_; }
    void IPMask(const std::string& sMask) override;
    std::string IPMask() const override { return ipMask_; }

    NameList AdapterList() const override { return adapterList_; }
    void CurrentAdapter(std::int16_t iIndex) override;
    std::int16_t CurrentAdapter() const override { return currentAdapter_; }
    void CurrentAdapterNoRefresh(std::int16_t iIndex) override;

    bool Changed(NetFlag flag) const override { return flags_[static_cast<int>(flag)]; }

  protected:
    enum class Family { Win9x, NT };  // NT: Windows NT 4 and 2000

    explicit clsNetConfigBase(Family family);

    // Takes the enumerator's results as the adapter list and key list and
    // selects adapter 0; with no adapter, selects -1 and keeps both lists.
    void takeAdapters(const Collection<std::string>& cDesc, const Collection<std::string>& cKey);
    bool hasAdapter() const;
    // Registry key of the current adapter; only meaningful when hasAdapter().
    const std::string& adapterKey() const;

    // Cd to `path` and read `name`; false when either fails.
    bool readValue(const std::string& path, const std::string& name, ValueRead& out);
    // readValue, keeping only the text.
    bool readText(const std::string& path, const std::string& name, std::string& out);
    // Cd to `path` (not tested) and write `name`.
    void writeValue(const std::string& path, const std::string& name, RegValueType type,
                    const Variant& value);

    void raise(NetFlag flag) { flags_[static_cast<int>(flag)] = true; }

    clsEasyRegistry reg_;
    PrinterItems printer_;

    std::string computerName_;
    std::string workgroup_;
    std::string domainName_;
    std::string host_;
    std::string ipAddress_;
    std::string ipMask_;
    std::string defaultGateway_;
    std::string lmHostFile_;
    std::string dnsServers_;
    std::string searchList_;
    std::string winsServer1_;
    std::string winsServer2_;
    std::string scopeID_;
    std::string ntDomain_;
    bool dnsEnabled_ = false;
    bool winsEnabled_ = false;
    bool dhcpEnabled_ = false;
    bool ntLogonEnabled_ = false;
    bool disablePWDCache_ = false;
    bool quickLogon_ = false;

    NameList adapterList_;
    std::vector<std::string> adapterKeys_;
    std::int16_t currentAdapter_ = -1;

  private:
    struct FileKey;
    static const std::vector<FileKey>& fileKeys();
    bool selectAdapter(std::int16_t iIndex);

    Family family_;
    std::array<bool, kNetFlagCount> flags_{};
};

}  // namespace vtl
