// The network settings of Windows 2000: as on NT 4, but each adapter's TCP/IP
// settings (and the DNS domain read) come from its interface key, adapters are
// found through the network connections, and printers are listed by their
// display names.
#pragma once

#include "net/clsNetConfigNT.h"

namespace vtl {

class clsNetConfig2K : public clsNetConfigNT {
  public:
    clsNetConfig2K();

    void getAdapterList() override;
    // The current adapter's own "Domain"; applying writes the one of the
    // TCP/IP parameters, as on NT 4.
    void getDomain() override;

  protected:
    std::string adapterPath() const override;
};

}  // namespace vtl
