// The Windows 95/98 backend on a copy of the Windows 98 sample.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "support/NetTest.h"

namespace vtl {
namespace {

using test::binary;
using test::dword;
using test::RawValue;
using test::RegProbe;
using test::sz;
using test::TestImage;

const std::string kMstcp = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kTrans0 =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000";
const std::string kTrans1 =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\NetTrans\\0001";
const std::string kLogon = "HKEY_LOCAL_MACHINE\\Network\\Logon";
const std::string kProvider =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\MSNP32\\NetworkProvider";
const std::string kCurrentVersion =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion";

struct Net9x : ::testing::Test {
    std::unique_ptr<TestImage> image = TestImage::sample("win98");
};

TEST_F(Net9x, ReadsTheCurrentSettings) {
    clsNetConfig9x net;
    net.loadConfiguration();
    struct Case {
        const char* item;
        std::string actual;
        std::string expected;
    };
    auto b = [](bool v) { return std::string(v ? "True" : "False"); };
    const Case cases[] = {
        {"Adapter", (*net.AdapterList())[0],
         "3Com Fast EtherLink XL 10/100Mb TX Ethernet NIC (3C905B-TX)"},
        {"Adapter 1", (*net.AdapterList())[1], "Realtek RTL8019 Plug and Play Ethernet Card"},
        {"ComputerName", net.ComputerName(), "RECEPTION98"},
        {"Workgroup", net.Workgroup(), "HQOFFICE"},
        {"DomainName", net.DomainName(), "hq.example.com"},
        {"Host", net.Host(), "reception98"},
        {"IPAddress", net.IPAddress(), "10.1.2.21,192.168.50.21"},
        {"IPMask", net.IPMask(), "255.255.255.0,255.255.0.0"},
        {"DefaultGateway", net.DefaultGateway(), "10.1.2.1,192.168.50.1"},
        {"LMHostFile", net.LMHostFile(), "C:\\WINDOWS\\LMHOSTS"},
        {"DNSServers", net.DNSServers(), "10.1.0.10,10.1.0.11"},
        {"SearchList", net.SearchList(), "hq.example.com,example.com"},
        {"DNSEnabled", b(net.DNSEnabled()), "True"},
        {"WINSEnabled", b(net.WINSEnabled()), "True"},
        {"DHCPEnabled", b(net.DHCPEnabled()), "False"},
        {"WINSServer1", net.WINSServer1(), "10.1.0.20"},
        {"WINSServer2", net.WINSServer2(), "10.1.0.21"},
        {"ScopeID", net.ScopeID(), ""},
        {"NTLogonEnabled", b(net.NTLogonEnabled()), "True"},
        {"NTDomain", net.NTDomain(), "HQDOM"},
        {"QuickLogon", b(net.QuickLogon()), "True"},
        {"DisablePWDCache", b(net.DisablePWDCache()), "True"},
        {"DefaultPrinter", net.DefaultPrinter(), "HP LaserJet 4"},
        {"PrinterPort", net.PrinterPort(), "LPT1:"},
        {"EnableDefaultPrinter", b(net.EnableDefaultPrinter()), "True"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.item;
    EXPECT_EQ(net.AdapterList()->size(), 2u);
    EXPECT_EQ(net.CurrentAdapter(), 0);
    EXPECT_EQ(net.WinSockVersion(), 2);
    EXPECT_FALSE(test::anyFlag(net));
}

TEST_F(Net9x, SwitchingAdaptersRereadsItsItemsOnly) {
    clsNetConfig9x net;
    net.loadConfiguration();
    net.CurrentAdapter(1);
    EXPECT_EQ(net.CurrentAdapter(), 1);
    EXPECT_EQ(net.IPAddress(), "0.0.0.0");
    EXPECT_TRUE(net.DHCPEnabled());  // no NodeType
    EXPECT_FALSE(net.WINSEnabled());
    EXPECT_EQ(net.WINSServer1(), "");
    // The second adapter has no gateway value: the item keeps what it held.
    EXPECT_EQ(net.DefaultGateway(), "10.1.2.1,192.168.50.1");
    EXPECT_FALSE(test::anyFlag(net));

    for (std::int16_t bad : {std::int16_t{2}, std::int16_t{-1}, std::int16_t{300}}) {
        net.CurrentAdapter(bad);
        net.CurrentAdapterNoRefresh(bad);
        EXPECT_EQ(net.CurrentAdapter(), 1) << bad;
    }
    net.IPAddress("10.9.9.9");
    net.CurrentAdapterNoRefresh(0);
    EXPECT_EQ(net.CurrentAdapter(), 0);
    EXPECT_EQ(net.IPAddress(), "10.9.9.9");
}

TEST_F(Net9x, NodeTypeCarriesDhcpAndWins) {
    struct Case {
        bool dhcp, wins;
        std::optional<std::string> nodeType;  // nullopt: deleted
        bool dhcpRead, winsRead;
    };
    const Case cases[] = {
        {true, true, std::nullopt, true, false},  // DHCP wins
        {true, false, std::nullopt, true, false},
        {false, true, "8", false, true},
        {false, false, "1", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "dhcp " << c.dhcp << " wins " << c.wins);
        clsNetConfig9x net;
        net.loadConfiguration();
        net.DHCPEnabled(c.dhcp);
        net.WINSEnabled(c.wins);
        net.ApplyConfiguration();
        auto node = RegProbe::get(kTrans0, "NodeType");
        if (c.nodeType) {
            ASSERT_TRUE(node);
            EXPECT_EQ(*node, sz(*c.nodeType));
        } else {
            EXPECT_FALSE(node);
        }
        // The scope and both servers follow WINS: written, or deleted.
        for (const char* name : {"NameServer1", "NameServer2", "ScopeID"}) {
            EXPECT_EQ(RegProbe::get(kTrans0, name).has_value(), c.wins) << name;
        }
        clsNetConfig9x fresh;
        fresh.loadConfiguration();
        EXPECT_EQ(fresh.DHCPEnabled(), c.dhcpRead);
        EXPECT_EQ(fresh.WINSEnabled(), c.winsRead);
    }
}

TEST_F(Net9x, NodeTypeValuesRead) {
    struct Case {
        const char* name;
        std::optional<RawValue> value;
        bool dhcp, wins;
    };
    const Case cases[] = {
        {"absent", std::nullopt, true, false},
        {"8", sz("8"), false, true},
        {"1", sz("1"), false, false},
        {"blank-padded 8", sz(" 8 "), false, true},
        {"other number", sz("2"), false, false},  // both left as they were
        {"not a number", sz("mixed"), false, false},
        {"empty", sz(""), false, false},
        {"huge", sz("99999999999999999999"), false, false},
        {"DWORD 8", dword(8), false, true},
        {"no terminator", RawValue{platform::REG_SZ, {'8'}}, false, true},
    };
    for (const Case& c : cases) {
        RegProbe::remove(kTrans0, "NodeType");
        if (c.value)
            RegProbe::set(kTrans0, "NodeType", *c.value);
        clsNetConfig9x net;
        net.loadConfiguration();
        EXPECT_EQ(net.DHCPEnabled(), c.dhcp) << c.name;
        EXPECT_EQ(net.WINSEnabled(), c.wins) << c.name;
    }
}

TEST_F(Net9x, AppliesOnlyFlaggedItemsInTheSystemsForm) {
    struct Case {
        const char* item;
        std::function<void(clsNetConfig&)> assign;
        std::string key, name;
        RawValue expected;
    };
    const Case cases[] = {
        {"ComputerName", [](auto& n) { n.ComputerName("  FRONT98 "); },
         "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\ComputerName\\ComputerName",
         "ComputerName", sz("FRONT98")},
        {"Workgroup", [](auto& n) { n.Workgroup("LAB"); },
         "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\VNETSUP", "Workgroup",
         sz("LAB")},
        {"DNSServers", [](auto& n) { n.DNSServers("1.1.1.1,8.8.8.8"); }, kMstcp, "NameServer",
         sz("1.1.1.1,8.8.8.8")},
        {"SearchList", [](auto& n) { n.SearchList(""); }, kMstcp, "SearchList", sz("")},
        {"DNSEnabled", [](auto& n) { n.DNSEnabled(false); }, kMstcp, "EnableDNS", sz("0")},
        {"IPAddress empty", [](auto& n) { n.IPAddress(""); }, kTrans0, "IPAddress", sz("0.0.0.0")},
        {"IPMask", [](auto& n) { n.IPMask("255.0.0.0"); }, kTrans0, "IPMask", sz("255.0.0.0")},
        {"DefaultGateway", [](auto& n) { n.DefaultGateway(""); }, kTrans0, "DefaultGateway",
         sz("")},
        {"NTLogon off", [](auto& n) { n.NTLogonEnabled(false); }, kLogon, "LMLogon",
         binary({0, 0, 0, 0})},
        {"QuickLogon off", [](auto& n) { n.QuickLogon(false); }, kProvider, "LogonDisconnected",
         binary({0, 0, 0, 0})},
        {"NTDomain", [](auto& n) { n.NTDomain("LABDOM"); }, kProvider, "AuthenticatingAgent",
         sz("LABDOM")},
        {"DisablePWDCache off", [](auto& n) { n.DisablePWDCache(false); },
         kCurrentVersion + "\\Policies\\Network", "DisablePwdCaching", dword(0)},
    };
    for (const Case& c : cases) {
        auto net = test::loadedNet("9x");
        c.assign(*net);
        auto writes = test::writesDuring(*image, [&] { net->ApplyConfiguration(); });
        EXPECT_EQ(writes.total(), 1u) << c.item;
        EXPECT_EQ(RegProbe::get(c.key, c.name), c.expected) << c.item;
        EXPECT_FALSE(test::anyFlag(*net)) << c.item;
    }
}

TEST_F(Net9x, LogonSwitchesNeedTheirKeys) {
    RegProbe::removeKey(kLogon);
    clsNetConfig9x net;
    net.loadConfiguration();
    EXPECT_FALSE(net.NTLogonEnabled());
    net.NTLogonEnabled(true);
    net.QuickLogon(true);
    net.ApplyConfiguration();
    EXPECT_FALSE(RegProbe::keyExists(kLogon));
    EXPECT_EQ(RegProbe::get(kProvider, "LogonDisconnected"), binary({1, 0, 0, 0}));

    // Any first byte other than 1 reads as off.
    RegProbe::set(kProvider, "LogonDisconnected", binary({2, 0, 0, 0}));
    clsNetConfig9x again;
    again.loadConfiguration();
    EXPECT_FALSE(again.QuickLogon());
}

TEST_F(Net9x, PasswordCachingPolicyKeyIsCreatedWhenMissing) {
    for (bool keepPolicies : {false, true}) {
        RegProbe::removeKey(kCurrentVersion + "\\Policies");
        if (keepPolicies)
            RegProbe::set(kCurrentVersion + "\\Policies", "Other", sz("x"));
        clsNetConfig9x net;
        net.loadConfiguration();
        EXPECT_FALSE(net.DisablePWDCache());
        net.DisablePWDCache(true);
        net.ApplyConfiguration();
        EXPECT_EQ(RegProbe::get(kCurrentVersion + "\\Policies\\Network", "DisablePwdCaching"),
                  dword(1))
            << keepPolicies;
    }
}

TEST_F(Net9x, WinSock1KeepsNetBiosItemsInMstcp) {
    RegProbe::removeKey("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\WinSock2");
    RegProbe::set(kMstcp, "NodeType", sz("1"));
    RegProbe::set(kMstcp, "ScopeID", sz("LAB"));
    clsNetConfig9x net;
    EXPECT_EQ(net.WinSockVersion(), 1);
    net.loadConfiguration();
    EXPECT_FALSE(net.DHCPEnabled());
    EXPECT_FALSE(net.WINSEnabled());
    EXPECT_EQ(net.ScopeID(), "LAB");
    EXPECT_EQ(net.WINSServer1(), "");  // the adapter's own value is not looked at

    net.WINSEnabled(true);
    net.WINSServer1("10.5.5.5");
    net.ApplyConfiguration();
    EXPECT_EQ(RegProbe::get(kMstcp, "NodeType"), sz("8"));
    EXPECT_EQ(RegProbe::get(kMstcp, "NameServer1"), sz("10.5.5.5"));
    EXPECT_EQ(RegProbe::get(kTrans0, "NameServer1"), sz("10.1.0.20"));
}

TEST_F(Net9x, MissingAdapterKeyIsNotCreated) {
    RegProbe::removeKey(kTrans1);
    clsNetConfig9x net;
    net.loadConfiguration();
    net.CurrentAdapter(1);
    net.IPAddress("10.7.7.7");
    net.DHCPEnabled(false);
    net.WINSEnabled(true);
    net.ApplyConfiguration();
    EXPECT_FALSE(RegProbe::keyExists(kTrans1));
}

}  // namespace
}  // namespace vtl
