// Helpers for the network settings tests: backends on sample copies and the
// registry writes an operation makes.
#pragma once

#include <memory>
#include <string>

#include "RegProbe.h"
#include "TestImage.h"
#include "net/clsNetConfig.h"
#include "net/clsNetConfig2K.h"
#include "net/clsNetConfig9x.h"
#include "net/clsNetConfigNT.h"
#include "platform/portable/RegistryStore.h"

namespace vtl::test {

// The sample image of a backend's system, and a loaded backend object on it.
inline std::string sampleOf(const std::string& system) {
    return system == "9x" ? "win98" : system == "NT" ? "nt4" : "win2000";
}
inline std::unique_ptr<clsNetConfig> loadedNet(const std::string& system) {
    std::unique_ptr<clsNetConfig> net;
    if (system == "9x")
        net = std::make_unique<clsNetConfig9x>();
    else if (system == "NT")
        net = std::make_unique<clsNetConfigNT>();
    else
        net = std::make_unique<clsNetConfig2K>();
    net->loadConfiguration();
    return net;
}

// Registry values set or deleted and keys created while `action` runs.
template <typename F>
std::uint64_t writesDuring(TestImage& image, F&& action) {
    auto& reg = image.platform().registry();
    reg.resetStats();
    action();
    return reg.stats().sets + reg.stats().deletes + reg.stats().creates;
}

inline bool anyFlag(const clsNetConfig& net) {
    for (int i = 0; i < kNetFlagCount; ++i) {
        if (net.Changed(static_cast<NetFlag>(i)))
            return true;
    }
    return false;
}

}  // namespace vtl::test
