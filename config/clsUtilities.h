// Creates backend objects by type number, for add-ins that need their own.
#pragma once

#include <cstdint>
#include <memory>

namespace vtl {

class clsNetConfig;
class clsBrowser;

class clsUtilities {
  public:
    // 0 clsExplorer, 1 clsNavigator; anything else gives nothing.
    std::unique_ptr<clsBrowser> GetBrowserObject(std::int32_t BrowserType) const;
    // 0 clsNetConfig9x, 1 clsNetConfigNT, 2 clsNetConfig2K; anything else gives nothing.
    std::unique_ptr<clsNetConfig> GetNetworkObject(std::int32_t NetworkType) const;
};

}  // namespace vtl
