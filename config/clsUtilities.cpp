#include "config/clsUtilities.h"

#include "browser/clsExplorer.h"
#include "browser/clsNavigator.h"
#include "net/clsNetConfig2K.h"
#include "net/clsNetConfig9x.h"
#include "net/clsNetConfigNT.h"

namespace vtl {

std::unique_ptr<clsBrowser> clsUtilities::GetBrowserObject(std::int32_t BrowserType) const {
    switch (BrowserType) {
        case 0:
            return std::make_unique<clsExplorer>();
        case 1:
            return std::make_unique<clsNavigator>();
        default:
            return nullptr;
    }
}

std::unique_ptr<clsNetConfig> clsUtilities::GetNetworkObject(std::int32_t NetworkType) const {
    switch (NetworkType) {
        case 0:
            return std::make_unique<clsNetConfig9x>();
        case 1:
            return std::make_unique<clsNetConfigNT>();
        case 2:
            return std::make_unique<clsNetConfig2K>();
        default:
            return nullptr;
    }
}

}  // namespace vtl
