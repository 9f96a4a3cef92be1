// The network settings of Windows NT 4: TCP/IP parameters, each adapter's
// TCP/IP key under its driver service, and NetBT. DNS servers and the search
// list are kept blank-separated, the adapter's addresses as multi-strings.
// WINSEnabled is not stored: it is on when either WINS server is set.
// Workgroup, LMHostFile, NTDomain and NTLogonEnabled are read from their
// Windows 95/98 locations (normally absent here) and travel through
// configuration files; DisablePWDCache and QuickLogon do not exist here.
#pragma once

#include "net/clsNetConfigBase.h"

namespace vtl {

class clsNetConfigNT : public clsNetConfigBase {
  public:
    clsNetConfigNT();

    void getAdapterList() override;
    void getComputerName() override;
    void getworkgroup() override;
    void getDomain() override;
    void getHost() override;
    void getIPAddress() override;
    void getIPMask() override;
    void getLMHostFile() override;
    void getDNSServers() override;
    void getWINSEnabled() override;
    void getWINSServer1() override;
    void getWINSServer2() override;
    void getScopeID() override;
    void getSearchList() override;
    void getDNSEnabled() override;
    void getDHCPEnabled() override;
    void getNTLogon() override;
    void getNTDomain() override;
    void getDisablePWDCache() override {}
    void getPrinterList() override;
    void getDefaultGateway() override;

    bool DisablePWDCache() const override { return false; }
    void DisablePWDCache(bool) override {}
    bool QuickLogon() const override { return false; }
    void QuickLogon(bool) override {}

    void getQuickLogon() override {}
    void setQuickLogon() override {}
    void setDisablePWDCache() override {}
    void setComputerName() override;
    void setworkgroup() override;
    void setDomain() override;
    void setHost() override;
    void setIPAddress() override;
    void setIPMask() override;
    void setLMHostFile() override {}
    void setDNSServers() override;
    void setWINSEnabled() override {}
    void setWINSServer1() override;
    void setWINSServer2() override;
    void setScopeID() override;
    void setSearchList() override;
    void setDNSEnabled() override;
    void setDHCPEnabled() override;
    void setNTLogon() override;
    void setNTDomain() override;
    void setDefaultPrinter() override;
    void setDefaultGateway() override;
    void setAdvPrinterSettings() override;

  protected:
    explicit clsNetConfigNT(printers::System system);

    // The current adapter's TCP/IP key (hasAdapter() must hold).
    virtual std::string adapterPath() const;
    std::string netBtAdapterPath() const;

  private:
    void readList(const char* name, std::string& item);
    void writeList(const char* name, const std::string& list);

    printers::System system_;
};

}  // namespace vtl
