// Adapter enumeration on Windows 2000: the network cards that have a network
// connection. Description: the DisplayName of the adapter's driver service.
// Key: the card's ServiceName, the interface below
// \HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\TCPIP\Parameters\Interfaces.
#pragma once

#include <string>

#include "net/Collection.h"
#include "registry/clsEasyRegistry.h"

namespace vtl {

class clsNIC2K {
  public:
    clsNIC2K();

    // Adds each adapter found to cDesc (description) and cKey (settings key),
    // both under "Device " + n, n counting on from cDesc.Count(). Adapters whose
    // registry entries cannot be read are left out; nothing is reported.
    void EnumAdapters(Collection<std::string>& cDesc, Collection<std::string>& cKey);

  private:
    void enumerateBranch(const std::string& branch, Collection<std::string>& cDesc,
                         Collection<std::string>& cKey);

    clsEasyRegistry reg_;
};

}  // namespace vtl
