// The Windows NT 4 and 2000 backends on copies of their samples.
#include <gtest/gtest.h>

#include <functional>

#include "support/NetTest.h"

namespace vtl {
namespace {

using test::dword;
using test::multiSz;
using test::RawValue;
using test::RegProbe;
using test::sz;
using namespace std::string_literals;

const std::string kServices = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\";
const std::string kTcpip = kServices + "Tcpip\\Parameters";
const std::string kNetBt = kServices + "NetBT\\Parameters";
const std::string k2kId = "{5B8A2C31-7E44-4F0A-9D2B-1C63E0F4A871}";
const std::string k2kAdapter = kTcpip + "\\Interfaces\\" + k2kId;

std::string b(bool v) {
    return v ? "True" : "False";
}

class NetNT : public ::testing::TestWithParam<std::string> {
  protected:
    bool is2K() const { return GetParam() == "2K"; }
    std::string adapterKey() const {
        return is2K() ? k2kAdapter : kServices + "El90x1\\Parameters\\Tcpip";
    }
    std::string winsKey() const {
        return kServices + "NetBT\\Adapters\\" + (is2K() ? k2kId : "El90x1");
    }
    std::uint64_t apply(clsNetConfig& net) {
        return test::writesDuring(*image, [&] { net.ApplyConfiguration(); });
    }

    std::unique_ptr<test::TestImage> image = test::TestImage::sample(test::sampleOf(GetParam()));
};

TEST_P(NetNT, ReadsTheCurrentSettings) {
    auto net = test::loadedNet(GetParam());
    const std::tuple<std::string, const char*, const char*> cases[] = {
        {(*net->AdapterList())[0], "[1] 3Com Fast EtherLink XL Adapter (3C905)",
         "3Com EtherLink XL NIC Driver (3C905C-TX)"},
        {net->ComputerName(), "ACCTNT4", "ENG2K-WS07"},
        {net->Host(), "acctnt4", "eng2k-ws07"},
        {net->IPAddress(), "172.16.4.30,10.200.0.30", "10.20.30.40,10.20.31.40"},
        {net->DNSServers(), "172.16.0.53,172.16.0.54", "10.20.0.53,10.20.0.54"},
        {net->WINSServer1(), "172.16.0.40", "10.20.0.44"},
        {net->ScopeID(), "ACCT", ""},
        {b(net->DHCPEnabled()), "False", "False"},
        {net->Workgroup() + net->NTDomain(), "", ""},  // Windows 95/98 items
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [actual, nt4, win2000] = cases[i];
        EXPECT_EQ(actual, is2K() ? win2000 : nt4) << "item " << i;
    }
    EXPECT_FALSE(test::anyFlag(*net));

    net->CurrentAdapter(1);  // takes DHCP, has no WINS
    EXPECT_EQ(net->IPAddress(), "0.0.0.0");
    EXPECT_EQ(net->DefaultGateway(), "");
    EXPECT_TRUE(net->DHCPEnabled());
    EXPECT_FALSE(net->WINSEnabled());
    EXPECT_FALSE(test::anyFlag(*net));
}

TEST_P(NetNT, AppliesOnlyFlaggedItemsInTheSystemsForm) {
    struct Case {
        std::function<void(clsNetConfig&)> assign;
        std::string key, name;
        RawValue expected;
        std::uint64_t writes;
    };
    const Case cases[] = {
        {[](auto& n) { n.IPAddress("10.0.0.1,10.0.0.2"); }, adapterKey(), "IPAddress",
         multiSz("10.0.0.1\0"
                 "10.0.0.2"s),
         1},
        {[](auto& n) { n.IPAddress(" "); }, adapterKey(), "IPAddress", multiSz("0.0.0.0"), 1},
        {[](auto& n) { n.DefaultGateway(""); }, adapterKey(), "DefaultGateway",
         multiSz(std::string(2, '\0')), 1},
        {[](auto& n) { n.DHCPEnabled(true); }, adapterKey(), "EnableDHCP", dword(1), 1},
        {[](auto& n) { n.DNSServers("10.0.0.10,10.0.0.11"); }, kTcpip, "NameServer",
         sz("10.0.0.10 10.0.0.11"), 1},
        // WINS off clears both servers and the scope.
        {[](auto& n) { n.WINSEnabled(false); }, winsKey(), "NameServer", sz(""), 3},
        // With both servers empty WINS reads as off, so a server is written empty.
        {[](auto& n) { n.WINSServer1("10.1.1.1"); }, winsKey(), "NameServer", sz(""), 1},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        auto net = test::loadedNet(GetParam());
        cases[i].assign(*net);
        EXPECT_EQ(apply(*net), cases[i].writes) << "case " << i;
        EXPECT_EQ(RegProbe::get(cases[i].key, cases[i].name), cases[i].expected) << "case " << i;
    }
    EXPECT_EQ(RegProbe::get(winsKey(), "NameServerBackup"), sz(""));
    EXPECT_EQ(RegProbe::get(kNetBt, "ScopeID"), sz(""));
    auto fresh = test::loadedNet(GetParam());
    EXPECT_EQ(fresh->IPAddress(), "0.0.0.0");
    EXPECT_TRUE(fresh->DHCPEnabled());
    EXPECT_FALSE(fresh->WINSEnabled());
}

TEST_P(NetNT, Windows9xItemsAndItemsWithoutAdapterAreNeverApplied) {
    auto net = test::loadedNet(GetParam());
    net->Workgroup("LAB");
    net->NTLogonEnabled(true);
    net->NTDomain("LABDOM");
    net->LMHostFile("C:\\LMHOSTS");
    net->DisablePWDCache(true);
    net->QuickLogon(true);
    EXPECT_FALSE(net->DisablePWDCache());
    EXPECT_FALSE(net->QuickLogon());
    EXPECT_EQ(apply(*net), 0u);

    RegProbe::removeKey(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards");
    net = test::loadedNet(GetParam());
    EXPECT_EQ(net->CurrentAdapter(), -1);
    EXPECT_FALSE(net->AdapterList().has_value());
    EXPECT_EQ(net->IPAddress(), "");
    net->CurrentAdapter(0);
    EXPECT_EQ(net->CurrentAdapter(), -1);
    net->IPAddress("10.0.0.1");
    net->DHCPEnabled(false);
    net->WINSServer1("10.0.0.2");
    EXPECT_EQ(apply(*net), 0u);
    EXPECT_FALSE(test::anyFlag(*net));
}

TEST_P(NetNT, OddRegistryValuesReadAsDocumented) {
    struct Case {
        std::string value;
        RawValue raw;
        std::string expected;
    };
    const Case cases[] = {
        {"EnableDHCP", {platform::REG_DWORD, {1, 0}}, "True"},
        {"EnableDHCP", dword(2), "False"},
        {"EnableDHCP", sz("1"), "False"},
        {"EnableDHCP", {platform::REG_DWORD, {}}, "False"},
        {"IPAddress",
         multiSz("10.0.0.1\0"
                 "10.0.0.2"s),
         "10.0.0.1,10.0.0.2"},
        {"IPAddress", multiSz("\0\0\0"s), ","},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        RegProbe::set(adapterKey(), cases[i].value, cases[i].raw);
        auto net = test::loadedNet(GetParam());
        EXPECT_EQ(cases[i].value == "IPAddress" ? net->IPAddress() : b(net->DHCPEnabled()),
                  cases[i].expected)
            << "case " << i;
        RegProbe::remove(adapterKey(), cases[i].value);
    }
    // A missing value: DHCP off, the address list left as it was (empty).
    auto net = test::loadedNet(GetParam());
    EXPECT_FALSE(net->DHCPEnabled());
    EXPECT_EQ(net->IPAddress(), "");
}

INSTANTIATE_TEST_SUITE_P(Systems, NetNT, ::testing::Values("NT", "2K"));

// Windows 2000 only: interface keys, the adapter's own domain, printer names.
struct Net2K : ::testing::Test {
    std::unique_ptr<test::TestImage> image = test::TestImage::sample("win2000");
};

TEST_F(Net2K, AdapterSettingsLiveInTheInterfaceKey) {
    clsNetConfig2K net;
    net.loadConfiguration();
    net.IPAddress("10.20.30.99");
    net.DomainName("other.example");
    net.ApplyConfiguration();
    EXPECT_EQ(RegProbe::get(k2kAdapter, "IPAddress"), multiSz("10.20.30.99"));
    EXPECT_FALSE(RegProbe::get(kServices + "El90Xbc\\Parameters\\Tcpip", "IPAddress"));
    EXPECT_EQ(RegProbe::get(kTcpip, "Domain"), sz("other.example"));

    clsNetConfig2K fresh;
    fresh.loadConfiguration();
    EXPECT_EQ(fresh.DomainName(), "eng.example.org");  // the adapter's own, untouched
    fresh.CurrentAdapter(1);
    EXPECT_EQ(fresh.DomainName(), "eng.example.org");  // not re-read with the adapter
    fresh.getDomain();
    EXPECT_EQ(fresh.DomainName(), "");
}

TEST_F(Net2K, PrintersAreListedByName) {
    const std::string printers =
        "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";
    RegProbe::set(printers + "Xerox DocuPrint N2125", "Name", sz("Xerox on the third floor"));
    RegProbe::remove(printers + "HP LaserJet 2100 Series PCL 6", "Name");
    clsNetConfig2K net;
    net.getPrinterList();
    EXPECT_EQ(net.printerList(), (std::vector<std::string>{"HP LaserJet 2100 Series PCL 6",
                                                           "Xerox on the third floor"}));
}

}  // namespace
}  // namespace vtl
