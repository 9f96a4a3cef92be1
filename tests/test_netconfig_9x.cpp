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

const std::string kMstcp = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kTrans =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\NetTrans\\";
const std::string kTrans0 = kTrans + "0000";
const std::string kLogon = "HKEY_LOCAL_MACHINE\\Network\\Logon";
const std::string kProvider =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\MSNP32\\NetworkProvider";
const std::string kPolicies =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies";

std::unique_ptr<clsNetConfig9x> loaded() {
    auto net = std::make_unique<clsNetConfig9x>();
    net->loadConfiguration();
    return net;
}
std::string b(bool v) {
    return v ? "True" : "False";
}

struct Net9x : ::testing::Test {
    std::unique_ptr<test::TestImage> image = test::TestImage::sample("win98");
};

TEST_F(Net9x, ReadsTheCurrentSettings) {
    auto net = loaded();
    const std::pair<std::string, std::string> cases[] = {
        {net->ComputerName(), "RECEPTION98"},
        {net->Workgroup(), "HQOFFICE"},
        {net->IPAddress(), "10.1.2.21,192.168.50.21"},
        {net->DNSServers(), "10.1.0.10,10.1.0.11"},
        {b(net->WINSEnabled()), "True"},
        {net->WINSServer1(), "10.1.0.20"},
        {net->NTDomain(), "HQDOM"},
        {b(net->QuickLogon()), "True"},
        {b(net->DisablePWDCache()), "True"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].first, cases[i].second) << "item " << i;
    EXPECT_EQ(net->CurrentAdapter(), 0);
    EXPECT_EQ(net->WinSockVersion(), 2);
    EXPECT_FALSE(test::anyFlag(*net));
}

TEST_F(Net9x, SwitchingAdaptersRereadsItsItemsOnly) {
    auto net = loaded();
    net->CurrentAdapter(1);
    EXPECT_EQ(net->IPAddress(), "0.0.0.0");
    EXPECT_TRUE(net->DHCPEnabled());  // no NodeType
    EXPECT_FALSE(net->WINSEnabled());
    EXPECT_EQ(net->WINSServer1(), "");
    // The second adapter has no gateway value: the item keeps what it held.
    EXPECT_EQ(net->DefaultGateway(), "10.1.2.1,192.168.50.1");
    EXPECT_FALSE(test::anyFlag(*net));

    for (std::int16_t bad : {std::int16_t{2}, std::int16_t{-1}}) {
        net->CurrentAdapter(bad);
        net->CurrentAdapterNoRefresh(bad);
        EXPECT_EQ(net->CurrentAdapter(), 1) << bad;
    }
    net->IPAddress("10.9.9.9");
    net->CurrentAdapterNoRefresh(0);
    EXPECT_EQ(net->CurrentAdapter(), 0);
    EXPECT_EQ(net->IPAddress(), "10.9.9.9");
}

TEST_F(Net9x, NodeTypeCarriesDhcpAndWins) {
    struct Case {
        bool dhcp, wins;
        std::optional<std::string> nodeType;  // nullopt: deleted
    };
    const Case cases[] = {
        {true, true, std::nullopt},  // DHCP wins
        {false, true, "8"},
        {false, false, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "dhcp " << c.dhcp << " wins " << c.wins);
        auto net = loaded();
        net->DHCPEnabled(c.dhcp);
        net->WINSEnabled(c.wins);
        net->ApplyConfiguration();
        auto node = RegProbe::get(kTrans0, "NodeType");
        EXPECT_EQ(node, c.nodeType ? std::optional(sz(*c.nodeType)) : std::nullopt);
        // The scope and both servers follow WINS: written, or deleted.
        for (const char* name : {"NameServer1", "NameServer2", "ScopeID"})
            EXPECT_EQ(RegProbe::get(kTrans0, name).has_value(), c.wins) << name;
        auto fresh = loaded();
        EXPECT_EQ(fresh->DHCPEnabled(), c.dhcp);
        EXPECT_EQ(fresh->WINSEnabled(), c.wins && !c.dhcp);
    }
}

TEST_F(Net9x, NodeTypeValuesRead) {
    struct Case {
        std::optional<RawValue> value;
        bool dhcp, wins;
    };
    const Case cases[] = {
        {sz(" 8 "), false, true},
        {sz("2"), false, false},  // both left as they were
        {dword(8), false, true},
        {RawValue{platform::REG_SZ, {'8'}}, false, true},  // no terminator
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        RegProbe::remove(kTrans0, "NodeType");
        if (cases[i].value)
            RegProbe::set(kTrans0, "NodeType", *cases[i].value);
        auto net = loaded();
        EXPECT_EQ(net->DHCPEnabled(), cases[i].dhcp) << "case " << i;
        EXPECT_EQ(net->WINSEnabled(), cases[i].wins) << "case " << i;
    }
}

TEST_F(Net9x, AppliesOnlyFlaggedItemsInTheSystemsForm) {
    struct Case {
        std::function<void(clsNetConfig&)> assign;
        std::string key, name;
        RawValue expected;
    };
    const Case cases[] = {
        {[](auto& n) { n.ComputerName("  FRONT98 "); },
         "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\ComputerName\\ComputerName",
         "ComputerName", sz("FRONT98")},
        {[](auto& n) { n.DNSEnabled(false); }, kMstcp, "EnableDNS", sz("0")},
        {[](auto& n) { n.IPAddress(""); }, kTrans0, "IPAddress", sz("0.0.0.0")},
        {[](auto& n) { n.DefaultGateway(""); }, kTrans0, "DefaultGateway", sz("")},
        {[](auto& n) { n.NTLogonEnabled(false); }, kLogon, "LMLogon", binary({0, 0, 0, 0})},
        {[](auto& n) { n.DisablePWDCache(false); }, kPolicies + "\\Network", "DisablePwdCaching",
         dword(0)},
    };
    for (const Case& c : cases) {
        auto net = loaded();
        c.assign(*net);
        EXPECT_EQ(test::writesDuring(*image, [&] { net->ApplyConfiguration(); }), 1u) << c.name;
        EXPECT_EQ(RegProbe::get(c.key, c.name), c.expected) << c.name;
        EXPECT_FALSE(test::anyFlag(*net)) << c.name;
    }
}

TEST_F(Net9x, MissingKeysAreCreatedOnlyForThePasswordPolicy) {
    RegProbe::removeKey(kLogon);
    RegProbe::removeKey(kPolicies);
    RegProbe::removeKey(kTrans + "0001");
    auto net = loaded();
    EXPECT_FALSE(net->NTLogonEnabled());
    EXPECT_FALSE(net->DisablePWDCache());
    net->NTLogonEnabled(true);
    net->QuickLogon(true);
    net->DisablePWDCache(true);
    net->ApplyConfiguration();
    net->CurrentAdapter(1);
    net->IPAddress("10.7.7.7");
    net->DHCPEnabled(false);
    net->WINSEnabled(true);
    net->ApplyConfiguration();
    EXPECT_FALSE(RegProbe::keyExists(kLogon));
    EXPECT_FALSE(RegProbe::keyExists(kTrans + "0001"));
    EXPECT_EQ(RegProbe::get(kProvider, "LogonDisconnected"), binary({1, 0, 0, 0}));
    EXPECT_EQ(RegProbe::get(kPolicies + "\\Network", "DisablePwdCaching"), dword(1));

    // Any first byte other than 1 reads as off.
    RegProbe::set(kProvider, "LogonDisconnected", binary({2, 0, 0, 0}));
    EXPECT_FALSE(loaded()->QuickLogon());
}

TEST_F(Net9x, WinSock1KeepsNetBiosItemsInMstcp) {
    RegProbe::removeKey("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\WinSock2");
    RegProbe::set(kMstcp, "NodeType", sz("1"));
    RegProbe::set(kMstcp, "ScopeID", sz("LAB"));
    auto net = loaded();
    EXPECT_EQ(net->WinSockVersion(), 1);
    EXPECT_FALSE(net->DHCPEnabled());
    EXPECT_FALSE(net->WINSEnabled());
    EXPECT_EQ(net->ScopeID(), "LAB");
    EXPECT_EQ(net->WINSServer1(), "");  // the adapter's own value is not looked at

    net->WINSEnabled(true);
    net->WINSServer1("10.5.5.5");
    net->ApplyConfiguration();
    EXPECT_EQ(RegProbe::get(kMstcp, "NodeType"), sz("8"));
    EXPECT_EQ(RegProbe::get(kMstcp, "NameServer1"), sz("10.5.5.5"));
    EXPECT_EQ(RegProbe::get(kTrans0, "NameServer1"), sz("10.1.0.20"));
}

}  // namespace
}  // namespace vtl
