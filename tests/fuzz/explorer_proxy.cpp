// Internet Explorer's proxy texts ("ProxyServer" and "ProxyOverride"): read into
// the settings and written back unchanged, a text is stable after the first cycle.
// The input is the ProxyServer text, then after a NUL byte the ProxyOverride text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "browser/clsExplorer.h"
#include "fuzz/FuzzSupport.h"
#include "support/RegProbe.h"

namespace {

constexpr const char* kSettings =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// One cycle: a fresh reader takes the stored texts and writes them back.
std::string cycle() {
    vtl::clsExplorer ie;
    ie.GetProxyAddresses();
    ie.GetProxyExceptions();
    ie.SetProxyAddresses();
    ie.SetProxyExceptions();
    auto text = [](const char* name) {
        auto value = vtl::test::RegProbe::get(kSettings, name);
        return value ? std::string(value->data.begin(), value->data.end()) : "(missing)";
    };
    return text("ProxyServer") + "|" + text("ProxyOverride");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vtl::fuzz::image();
    const std::string input = vtl::fuzz::text(data, size);
    const std::size_t nul = input.find('\0');
    using vtl::test::RegProbe;
    RegProbe::set(kSettings, "ProxyServer", vtl::test::sz(input.substr(0, nul)));
    RegProbe::set(kSettings, "ProxyOverride",
                  vtl::test::sz(nul == std::string::npos ? "" : input.substr(nul + 1)));
    const std::string first = cycle();
    const std::string second = cycle();
    vtl::fuzz::check(second == first, "a text changes when written back again",
                     first + "\n" + second);
    return 0;
}
