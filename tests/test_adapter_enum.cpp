// Adapter enumeration on the sample machines and on registries built for each rule.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "net/clsNIC2K.h"
#include "net/clsNIC9x.h"
#include "net/clsNICNT.h"
#include "support/TestImage.h"

namespace vtl {
namespace {

using test::TestImage;

struct Adapter {
    std::string key;  // collection key
    std::string desc;
    std::string settingsKey;
    bool operator==(const Adapter&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Adapter& a) {
    return out << a.key << ": " << a.desc << " / " << a.settingsKey;
}

// Runs the enumerator into collections that already hold `prefilled` entries
// and returns what it added, checking both collections stay parallel.
template <typename Enumerator>
std::vector<Adapter> enumerate(std::size_t prefilled = 0) {
    Collection<std::string> cDesc, cKey;
    for (std::size_t i = 0; i < prefilled; ++i) {
        cDesc.Add("old " + std::to_string(i), "Device " + std::to_string(i));
        cKey.Add("oldkey " + std::to_string(i), "Device " + std::to_string(i));
    }
    Enumerator enumerator;
    enumerator.EnumAdapters(cDesc, cKey);
    EXPECT_EQ(cDesc.Count(), cKey.Count());
    std::vector<Adapter> added;
    for (std::size_t i = 0; i < cDesc.Count(); ++i) {
        EXPECT_EQ(cDesc.Key(i), cKey.Key(i));
        if (i < prefilled) {
            EXPECT_EQ(cDesc.Item(i), "old " + std::to_string(i));
            continue;
        }
        added.push_back({cDesc.Key(i), cDesc.Item(i), cKey.Item(i)});
    }
    return added;
}

// --- Windows 95/98 ---

const char* const k9xBase =
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n"
    "\"VersionNumber\"=\"4.10.1998\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Enum\\Network\\MSTCP\\0000]\r\n\"Driver\"=\"NetTrans\\\\0000\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Enum\\Network\\MSTCP\\0001]\r\n\"Driver\"=\"NetTrans\\\\0001\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Enum\\Network\\NETBEUI\\0000]\r\n\"Driver\"=\"NetTrans\\\\0002\"\r\n\r\n";

// A device instance on `bus` with the given Class, DeviceDesc and binding names.
std::string device9x(const std::string& bus, const std::string& device, const std::string& cls,
                     const std::string& desc, const std::vector<std::string>& bindings) {
    std::string path = "HKEY_LOCAL_MACHINE\\Enum\\" + bus + "\\" + device + "\\0000";
    std::string text = "[" + path + "]\r\n\"Class\"=\"" + cls + "\"\r\n";
    if (!desc.empty())
        text += "\"DeviceDesc\"=\"" + desc + "\"\r\n";
    text += "\r\n[" + path + "\\Bindings]\r\n";
    for (const auto& b : bindings) {
        std::string escaped;
        for (char c : b)
            escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
        text += "\"" + escaped + "\"=\"\"\r\n";
    }
    return text + "\r\n";
}

struct Case9x {
    const char* name;
    std::string registry;
    std::vector<std::pair<std::string, std::string>> expected;  // desc, key
};

TEST(AdapterEnum9x, ListsNetworkDevicesWithTcpBindings) {
    const std::vector<Case9x> cases = {
        {"tcp binding after another protocol",
         device9x("PCI", "VEN_1", "Net", "Card A", {"NETBEUI\\0000", "MSTCP\\0001"}),
         {{"Card A", "NetTrans\\0001"}}},
        {"class compared exactly", device9x("PCI", "VEN_1", "net", "Card A", {"MSTCP\\0000"}), {}},
        {"no tcp binding", device9x("PCI", "VEN_1", "Net", "Card A", {"NETBEUI\\0000"}), {}},
        {"missing description lists as empty",
         device9x("PCI", "VEN_1", "Net", "", {"MSTCP\\0000"}),
         {{"", "NetTrans\\0000"}}},
        {"buses in fixed order, unknown buses ignored",
         device9x("PCMCIA", "CARD", "Net", "Pcmcia", {"MSTCP\\0001"}) +
             device9x("USB", "DEV", "Net", "Usb", {"MSTCP\\0000"}) +
             device9x("PCI", "VEN_1", "Net", "Pci", {"MSTCP\\0000"}) +
             device9x("Root", "Net", "Net", "Dial-Up Adapter", {"MSTCP\\0001"}),
         {{"Dial-Up Adapter", "NetTrans\\0001"},
          {"Pci", "NetTrans\\0000"},
          {"Pcmcia", "NetTrans\\0001"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto image = TestImage::fromRegistry(k9xBase + c.registry);
        auto added = enumerate<clsNIC9x>();
        std::vector<Adapter> expected;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            expected.push_back(
                {"Device " + std::to_string(i), c.expected[i].first, c.expected[i].second});
        }
        EXPECT_EQ(added, expected);
    }
}

// --- Windows NT 4 and 2000 ---

const char* const kNtBase =
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
    "\"CurrentVersion\"=\"4.0\"\r\n\r\n";

std::string card(const std::string& number, const std::string& extra) {
    return "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\" +
           number + "]\r\n" + extra + "\r\n";
}

TEST(AdapterEnumNT, ListsVisibleCardsWithServiceAndTitle) {
    const std::string both = "\"ServiceName\"=\"El90x1\"\r\n\"Title\"=\"[1] 3Com\"\r\n";
    struct Case {
        const char* name;
        std::string registry;
        std::vector<Adapter> expected;
    };
    const std::vector<Case> cases = {
        {"no Hidden value", card("1", both), {{"Device 0", "[1] 3Com", "El90x1"}}},
        {"Hidden 1", card("1", both + "\"Hidden\"=dword:00000001\r\n"), {}},
        {"Hidden as text has no number",
         card("1", both + "\"Hidden\"=\"1\"\r\n"),
         {{"Device 0", "[1] 3Com", "El90x1"}}},
        {"no ServiceName", card("1", "\"Title\"=\"[1] 3Com\"\r\n"), {}},
        {"skipped card does not use up a number",
         card("1", "\"Title\"=\"x\"\r\n") +
             card("2", "\"ServiceName\"=\"NdisWan4\"\r\n\"Title\"=\"[2] WAN\"\r\n"),
         {{"Device 0", "[2] WAN", "NdisWan4"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto image = TestImage::fromRegistry(kNtBase + c.registry);
        EXPECT_EQ(enumerate<clsNICNT>(), c.expected);
    }
}

const char* const k2KCard =
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\2]\r\n"
    "\"ServiceName\"=\"{GUID-A}\"\r\n\"Title\"=\"[2] Card\"\r\n\"Hidden\"=dword:00000001\r\n\r\n";
const char* const k2KClass = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Network\\";

std::string connection(const std::string& cls, const std::string& extra) {
    return "[" + std::string(k2KClass) + cls + "\\{GUID-A}\\Connection]\r\n" + extra + "\r\n";
}

TEST(AdapterEnum2K, FollowsConnectionToDriverService) {
    const std::string pnp = "\"PnpInstanceID\"=\"PCI\\\\VEN_8086\\\\3&1\"\r\n";
    const std::string instance =
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_8086\\3&1]\r\n"
        "\"Service\"=\"E100B\"\r\n\r\n";
    const std::string service =
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\E100B]\r\n"
        "\"DisplayName\"=\"Intel PRO/100\"\r\n\r\n";
    const std::string lan = "{4D36E972-E325-11CE-BFC1-08002BE10318}";
    const Adapter found{"Device 0", "Intel PRO/100", "{GUID-A}"};
    struct Case {
        const char* name;
        std::string registry;
        std::vector<Adapter> expected;
    };
    const std::vector<Case> cases = {
        {"complete chain, Hidden ignored",
         k2KCard + connection(lan, pnp) + instance + service,
         {found}},
        {"no connection entry", k2KCard + instance + service, {}},
        {"no DisplayName",
         k2KCard + connection(lan, pnp) + instance +
             "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\E100B]\r\n\r\n",
         {}},
        {"listed once per class holding the connection",
         k2KCard + connection(lan, pnp) + connection("{OTHER}", pnp) + instance + service,
         {found, {"Device 1", "Intel PRO/100", "{GUID-A}"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto image = TestImage::fromRegistry(kNtBase + c.registry);
        EXPECT_EQ(enumerate<clsNIC2K>(), c.expected);
    }
}

// --- The sample machines ---

template <typename Enumerator>
void expectSampleAdapters(const char* sample, const std::vector<Adapter>& expected) {
    SCOPED_TRACE(sample);
    auto image = TestImage::sample(sample);
    EXPECT_EQ(enumerate<Enumerator>(), expected);
    // Collections that already hold entries are continued, not restarted.
    auto continued = expected;
    for (std::size_t i = 0; i < continued.size(); ++i)
        continued[i].key = "Device " + std::to_string(i + 2);
    EXPECT_EQ(enumerate<Enumerator>(2), continued);
}

TEST(AdapterEnumSamples, ListTheSampleAdapters) {
    expectSampleAdapters<clsNIC9x>(
        "win98", {{"Device 0", "3Com Fast EtherLink XL 10/100Mb TX Ethernet NIC (3C905B-TX)",
                   "NetTrans\\0000"},
                  {"Device 1", "Realtek RTL8019 Plug and Play Ethernet Card", "NetTrans\\0001"}});
    expectSampleAdapters<clsNICNT>(
        "nt4", {{"Device 0", "[1] 3Com Fast EtherLink XL Adapter (3C905)", "El90x1"},
                {"Device 1", "[2] Intel EtherExpress PRO/100B PCI Adapter", "E100B1"}});
    expectSampleAdapters<clsNIC2K>(
        "win2000",
        {{"Device 0", "3Com EtherLink XL NIC Driver (3C905C-TX)",
          "{5B8A2C31-7E44-4F0A-9D2B-1C63E0F4A871}"},
         {"Device 1", "Intel(R) PRO Adapter Driver", "{A1D3F6E2-3B5C-4E8F-9A70-2C4D6B8E0F13}"}});
}

}  // namespace
}  // namespace vtl
