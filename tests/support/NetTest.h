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
#include "platform/portable/PortableRegistry.h"

namespace vtl::test {

inline constexpr const char* kHKLM = "HKEY_LOCAL_MACHINE\\";

// The sample image of a backend's system, and a new backend object on it.
inline std::string sampleOf(const std::string& system) {
    return system == "9x" ? "win98" : system == "NT" ? "nt4" : "win2000";
}
inline std::unique_ptr<clsNetConfig> makeNet(const std::string& system) {
    if (system == "9x")
        return std::make_unique<clsNetConfig9x>();
    if (system == "NT")
        return std::make_unique<clsNetConfigNT>();
    return std::make_unique<clsNetConfig2K>();
}
inline std::unique_ptr<clsNetConfig> loadedNet(const std::string& system) {
    auto net = makeNet(system);
    net->loadConfiguration();
    return net;
}

// Registry changes made while `action` runs: values set, deleted, keys created.
struct Writes {
    std::uint64_t sets = 0, deletes = 0, creates = 0;
    std::uint64_t total() const { return sets + deletes + creates; }
};
template <typename F>
Writes writesDuring(TestImage& image, F&& action) {
    auto& reg = image.platform().registry();
    reg.resetStats();
    action();
    const auto& s = reg.stats();
    return {s.sets, s.deletes, s.creates};
}

inline bool anyFlag(const clsNetConfig& net) {
    for (int i = 0; i < kNetFlagCount; ++i) {
        if (net.Changed(static_cast<NetFlag>(i)))
            return true;
    }
    return false;
}

}  // namespace vtl::test
