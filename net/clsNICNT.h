// Adapter enumeration on Windows NT 4: the network cards that are not hidden.
// Description: the card's Title. Key: its ServiceName, the service whose
// Parameters\Tcpip holds the adapter's TCP/IP settings.
#pragma once

#include <string>

#include "net/Collection.h"
#include "registry/clsEasyRegistry.h"

namespace vtl {

class clsNICNT {
  public:
    clsNICNT();

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
