// The network settings of Windows 95 and 98: the Microsoft TCP/IP stack (the
// MSTCP key and each adapter's TCP/IP binding key), the Microsoft network
// client and the password-caching policy. Lists are kept in the registry in
// the model's own comma form. The NetBIOS items (DHCP, WINS, scope) live in
// the MSTCP key under WinSock 1 and per adapter under WinSock 2; DHCP and WINS
// share one value, "NodeType".
#pragma once

#include <cstdint>

#include "net/clsNetConfigBase.h"

namespace vtl {

class clsNetConfig9x : public clsNetConfigBase {
  public:
    clsNetConfig9x();

    // 1 or 2, decided when the object is created.
    std::int16_t WinSockVersion() const { return winsock_; }

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
    void getDisablePWDCache() override;
    void getPrinterList() override;
    void getDefaultGateway() override;

    bool DisablePWDCache() const override { return disablePWDCache_; }
    void DisablePWDCache(bool bMode) override;
    bool QuickLogon() const override { return quickLogon_; }
    void QuickLogon(bool bMode) override;

    void getQuickLogon() override;
    void setQuickLogon() override;
    void setDisablePWDCache() override;
    void setComputerName() override;
    void setworkgroup() override;
    void setDomain() override;
    void setHost() override;
    void setIPAddress() override;
    void setIPMask() override;
    void setLMHostFile() override;
    void setDNSServers() override;
    void setWINSEnabled() override;
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

  private:
    std::string adapterPath() const;
    // Where "NodeType", the WINS servers and the scope live; empty when they
    // are per adapter and there is no adapter.
    std::string netBiosPath() const;
    // Writes the NetBIOS value `name` as `text` when WINS is on, else deletes it.
    void writeOrDeleteWins(const std::string& name, const std::string& text);
    void writeSwitch(const std::string& path, const std::string& name, bool on);

    std::int16_t winsock_ = 1;
};

}  // namespace vtl
