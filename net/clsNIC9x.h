// Adapter enumeration on Windows 95/98: the network devices of the Plug and
// Play tree (buses Root, MF, PCI, ISAPNP, PCMCIA) that have a TCP/IP binding.
// Description: the device's DeviceDesc. Key: the Driver of its MSTCP binding,
// e.g. NetTrans\0000, below \HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class.
#pragma once

#include <string>

#include "net/Collection.h"
#include "registry/clsEasyRegistry.h"

namespace vtl {

class clsNIC9x {
  public:
    clsNIC9x();

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
