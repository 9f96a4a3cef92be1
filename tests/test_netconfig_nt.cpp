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
using test::TestImage;

const std::string kServices = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\";
const std::string kTcpip = kServices + "Tcpip\\Parameters";
const std::string kNetBt = kServices + "NetBT\\Parameters";
const std::string kNtAdapter = kServices + "El90x1\\Parameters\\Tcpip";
const std::string kNtWins = kServices + "NetBT\\Adapters\\El90x1";
const std::string k2kId = "{5B8A2C31-7E44-4F0A-9D2B-1C63E0F4A871}";
const std::string k2kAdapter = kTcpip + "\\Interfaces\\" + k2kId;
const std::string k2kWins = kServices + "NetBT\\Adapters\\" + k2kId;

std::string b(bool v) {
    return v ? "True" : "False";
}

struct Expected {
    const char* item;
    std::function<std::string(const clsNetConfig&)> get;
    const char* nt4;
    const char* win2000;
};

const Expected kCurrent[] = {
    {"Adapter 0", [](auto& n) { return (*n.AdapterList())[0]; },
     "[1] 3Com Fast EtherLink XL Adapter (3C905)", "3Com EtherLink XL NIC Driver (3C905C-TX)"},
    {"Adapters", [](auto& n) { return std::to_string(n.AdapterList()->size()); }, "2", "2"},
    {"ComputerName", [](auto& n) { return n.ComputerName(); }, "ACCTNT4", "ENG2K-WS07"},
    {"DomainName", [](auto& n) { return n.DomainName(); }, "acct.example.net", "eng.example.org"},
    {"Host", [](auto& n) { return n.Host(); }, "acctnt4", "eng2k-ws07"},
    {"IPAddress", [](auto& n) { return n.IPAddress(); }, "172.16.4.30,10.200.0.30",
     "10.20.30.40,10.20.31.40"},
    {"IPMask", [](auto& n) { return n.IPMask(); }, "255.255.252.0,255.255.255.0",
     "255.255.255.0,255.255.254.0"},
    {"DefaultGateway", [](auto& n) { return n.DefaultGateway(); }, "172.16.4.1,10.200.0.1",
     "10.20.30.1,10.20.31.1"},
    {"DNSServers", [](auto& n) { return n.DNSServers(); }, "172.16.0.53,172.16.0.54",
     "10.20.0.53,10.20.0.54"},
    {"SearchList", [](auto& n) { return n.SearchList(); }, "acct.example.net,example.net",
     "eng.example.org,example.org"},
    {"WINSServer1", [](auto& n) { return n.WINSServer1(); }, "172.16.0.40", "10.20.0.44"},
    {"WINSServer2", [](auto& n) { return n.WINSServer2(); }, "172.16.0.41", "10.20.0.45"},
    {"WINSEnabled", [](auto& n) { return b(n.WINSEnabled()); }, "True", "True"},
    {"ScopeID", [](auto& n) { return n.ScopeID(); }, "ACCT", ""},
    {"DNSEnabled", [](auto& n) { return b(n.DNSEnabled()); }, "True", "True"},
    {"DHCPEnabled", [](auto& n) { return b(n.DHCPEnabled()); }, "False", "False"},
    // Windows 95/98 locations, absent on these systems.
    {"Workgroup", [](auto& n) { return n.Workgroup(); }, "", ""},
    {"LMHostFile", [](auto& n) { return n.LMHostFile(); }, "", ""},
    {"NTDomain", [](auto& n) { return n.NTDomain(); }, "", ""},
    {"NTLogonEnabled", [](auto& n) { return b(n.NTLogonEnabled()); }, "False", "False"},
    {"DisablePWDCache", [](auto& n) { return b(n.DisablePWDCache()); }, "False", "False"},
    {"DefaultPrinter", [](auto& n) { return n.DefaultPrinter(); }, "HP Color LaserJet 5M",
     "Xerox DocuPrint N2125"},
    {"PrinterPort", [](auto& n) { return n.PrinterPort(); }, "\\\\ACCTSRV\\CLJ5M",
     "IP_10.20.30.250"},
};

class NetNT : public ::testing::TestWithParam<std::string> {
  protected:
    bool is2K() const { return GetParam() == "2K"; }
    std::string adapterKey() const { return is2K() ? k2kAdapter : kNtAdapter; }
    std::string winsKey() const { return is2K() ? k2kWins : kNtWins; }

    std::unique_ptr<TestImage> image = TestImage::sample(test::sampleOf(GetParam()));
};

TEST_P(NetNT, ReadsTheCurrentSettings) {
    auto net = test::loadedNet(GetParam());
    for (const Expected& e : kCurrent) {
        EXPECT_EQ(e.get(*net), is2K() ? e.win2000 : e.nt4) << e.item;
    }
    EXPECT_EQ(net->CurrentAdapter(), 0);
    EXPECT_FALSE(test::anyFlag(*net));
}

TEST_P(NetNT, SecondAdapterTakesDhcpAndHasNoWins) {
    auto net = test::loadedNet(GetParam());
    net->CurrentAdapter(1);
    EXPECT_EQ(net->IPAddress(), "0.0.0.0");
    EXPECT_EQ(net->DefaultGateway(), "");
    EXPECT_TRUE(net->DHCPEnabled());
    EXPECT_FALSE(net->WINSEnabled());
    EXPECT_FALSE(test::anyFlag(*net));
}

TEST_P(NetNT, AppliesOnlyFlaggedItemsInTheSystemsForm) {
    struct Case {
        const char* item;
        std::function<void(clsNetConfig&)> assign;
        std::string key, name;
        RawValue expected;
        int writes;
    };
    const Case cases[] = {
        {"two addresses", [](auto& n) { n.IPAddress("10.0.0.1,10.0.0.2"); }, adapterKey(),
         "IPAddress",
         multiSz(std::string("10.0.0.1\0"
                             "10.0.0.2",
                             17)),
         1},
        {"no address", [](auto& n) { n.IPAddress(" "); }, adapterKey(), "IPAddress",
         multiSz("0.0.0.0"), 1},
        {"no mask", [](auto& n) { n.IPMask(""); }, adapterKey(), "SubnetMask", multiSz("0.0.0.0"),
         1},
        {"no gateway", [](auto& n) { n.DefaultGateway(""); }, adapterKey(), "DefaultGateway",
         multiSz(std::string(2, '\0')), 1},
        {"DHCP on", [](auto& n) { n.DHCPEnabled(true); }, adapterKey(), "EnableDHCP", dword(1), 1},
        {"DNS off", [](auto& n) { n.DNSEnabled(false); }, kNetBt, "EnableDNS", dword(0), 1},
        {"DNS servers", [](auto& n) { n.DNSServers("10.0.0.10,10.0.0.11"); }, kTcpip, "NameServer",
         sz("10.0.0.10 10.0.0.11"), 1},
        {"search list", [](auto& n) { n.SearchList("a.example,b.example"); }, kTcpip, "SearchList",
         sz("a.example b.example"), 1},
        {"domain", [](auto& n) { n.DomainName("new.example"); }, kTcpip, "Domain",
         sz("new.example"), 1},
        {"WINS server", [](auto& n) { n.WINSServer2("10.1.1.2"); }, winsKey(), "NameServerBackup",
         sz("10.1.1.2"), 1},
        // WINS off clears both servers and the scope.
        {"WINS off", [](auto& n) { n.WINSEnabled(false); }, winsKey(), "NameServer", sz(""), 3},
        // With both servers empty WINS reads as off, so a server is written empty.
        {"server, WINS off", [](auto& n) { n.WINSServer1("10.1.1.1"); }, winsKey(), "NameServer",
         sz(""), 1},
    };
    for (const Case& c : cases) {
        auto net = test::loadedNet(GetParam());
        c.assign(*net);
        auto writes = test::writesDuring(*image, [&] { net->ApplyConfiguration(); });
        EXPECT_EQ(writes.total(), static_cast<std::uint64_t>(c.writes)) << c.item;
        EXPECT_EQ(RegProbe::get(c.key, c.name), c.expected) << c.item;
    }
    EXPECT_EQ(RegProbe::get(winsKey(), "NameServerBackup"), sz(""));
    EXPECT_EQ(RegProbe::get(kNetBt, "ScopeID"), sz(""));
}

TEST_P(NetNT, WrittenListsReadBack) {
    auto net = test::loadedNet(GetParam());
    net->IPAddress("10.0.0.1,10.0.0.2");
    net->IPMask("255.0.0.0,255.255.0.0");
    net->DefaultGateway("");
    net->DNSServers("10.0.0.10,10.0.0.11");
    net->WINSEnabled(false);
    net->DHCPEnabled(true);
    net->ApplyConfiguration();
    auto fresh = test::loadedNet(GetParam());
    EXPECT_EQ(fresh->IPAddress(), "10.0.0.1,10.0.0.2");
    EXPECT_EQ(fresh->IPMask(), "255.0.0.0,255.255.0.0");
    EXPECT_EQ(fresh->DefaultGateway(), "");
    EXPECT_EQ(fresh->DNSServers(), "10.0.0.10,10.0.0.11");
    EXPECT_FALSE(fresh->WINSEnabled());
    EXPECT_EQ(fresh->WINSServer1(), "");
    EXPECT_TRUE(fresh->DHCPEnabled());
}

TEST_P(NetNT, Windows9xItemsAreNeverApplied) {
    auto net = test::loadedNet(GetParam());
    net->Workgroup("LAB");
    net->NTLogonEnabled(true);
    net->NTDomain("LABDOM");
    net->LMHostFile("C:\\LMHOSTS");
    net->DisablePWDCache(true);
    net->QuickLogon(true);
    EXPECT_FALSE(net->DisablePWDCache());
    EXPECT_FALSE(net->QuickLogon());
    auto writes = test::writesDuring(*image, [&] { net->ApplyConfiguration(); });
    EXPECT_EQ(writes.total(), 0u);
}

TEST_P(NetNT, OddRegistryValuesReadAsDocumented) {
    struct Case {
        const char* name;
        std::string value;
        RawValue raw;
        std::function<std::string(const clsNetConfig&)> get;
        std::string expected;
    };
    auto dhcp = [](const clsNetConfig& n) { return b(n.DHCPEnabled()); };
    auto ip = [](const clsNetConfig& n) { return n.IPAddress(); };
    const Case cases[] = {
        {"DWORD of 2 bytes", "EnableDHCP", {platform::REG_DWORD, {1, 0}}, dhcp, "True"},
        {"DWORD of 1 byte", "EnableDHCP", {platform::REG_DWORD, {1}}, dhcp, "True"},
        {"DWORD of 8 bytes",
         "EnableDHCP",
         {platform::REG_DWORD, {1, 0, 0, 0, 0, 0, 0, 0}},
         dhcp,
         "True"},
        {"DWORD 2", "EnableDHCP", dword(2), dhcp, "False"},
        {"binary 1", "EnableDHCP", test::binary({1, 0, 0, 0}), dhcp, "False"},
        {"text 1", "EnableDHCP", sz("1"), dhcp, "False"},
        {"empty DWORD", "EnableDHCP", {platform::REG_DWORD, {}}, dhcp, "False"},
        {"no terminators", "IPAddress",
         multiSz(std::string("10.0.0.1\0"
                             "10.0.0.2",
                             17)),
         ip, "10.0.0.1,10.0.0.2"},
        {"one terminator", "IPAddress", multiSz(std::string("10.0.0.1\0", 9)), ip, "10.0.0.1"},
        {"empty strings", "IPAddress", multiSz(std::string("\0\0\0", 3)), ip, ","},
        {"empty", "IPAddress", multiSz(""), ip, ""},
    };
    for (const Case& c : cases) {
        RegProbe::set(adapterKey(), c.value, c.raw);
        auto net = test::loadedNet(GetParam());
        EXPECT_EQ(c.get(*net), c.expected) << c.name;
        RegProbe::remove(adapterKey(), c.value);
    }
    // A missing value: DHCP off, the address list left as it was (empty).
    auto net = test::loadedNet(GetParam());
    EXPECT_FALSE(net->DHCPEnabled());
    EXPECT_EQ(net->IPAddress(), "");
}

TEST_P(NetNT, WithoutAdaptersPerAdapterItemsAreLeftAlone) {
    RegProbe::removeKey(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards");
    auto net = test::loadedNet(GetParam());
    EXPECT_EQ(net->CurrentAdapter(), -1);
    EXPECT_FALSE(net->AdapterList().has_value());
    EXPECT_EQ(net->IPAddress(), "");
    net->CurrentAdapter(0);
    EXPECT_EQ(net->CurrentAdapter(), -1);
    net->IPAddress("10.0.0.1");
    net->DHCPEnabled(false);
    net->WINSServer1("10.0.0.2");
    auto writes = test::writesDuring(*image, [&] { net->ApplyConfiguration(); });
    EXPECT_EQ(writes.total(), 0u);
    EXPECT_FALSE(test::anyFlag(*net));
}

INSTANTIATE_TEST_SUITE_P(Systems, NetNT, ::testing::Values("NT", "2K"));

// Windows 2000 only: interface keys, the adapter's own domain, printer names.
struct Net2K : ::testing::Test {
    std::unique_ptr<TestImage> image = TestImage::sample("win2000");
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
    ASSERT_TRUE(net.printerList());
    EXPECT_EQ(*net.printerList(), (std::vector<std::string>{"HP LaserJet 2100 Series PCL 6",
                                                            "Xerox on the third floor"}));
}

}  // namespace
}  // namespace vtl
