// clsExplorer on the sample machines: reading the settings and dial-up
// entries, applying them to the registry, and what it does without them.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "browser/clsExplorer.h"
#include "registry/clsEasyRegistry.h"
#include "support/BrowserState.h"
#include "support/RegProbe.h"
#include "support/TestImage.h"

namespace vtl {
namespace {

using test::binary;
using test::browserTexts;
using test::dword;
using test::proxyFlags;
using test::proxyPairs;
using test::RawValue;
using test::RegProbe;
using test::sz;
using test::TestImage;

constexpr const char* kSettings =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kMain = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main";
constexpr const char* kRemoteAccess = "HKEY_CURRENT_USER\\RemoteAccess";
constexpr const char* kAddresses = "HKEY_CURRENT_USER\\RemoteAccess\\Addresses";

std::string phoneBookPath() {
    auto& machine = dynamic_cast<portable::PortablePlatform&>(platform::sys());
    return machine.HostPath(machine.GetSystemDirectory() + "\\ras\\rasphone.pbk");
}

std::string describe(const clsExplorer& ie) {
    return proxyFlags(ie) + proxyPairs(ie) + " " + browserTexts(ie);
}

// Reading and writing the settings is the same on every system.
struct ExplorerOnSample : ::testing::Test {
    std::unique_ptr<TestImage> image = TestImage::sample("win98");
};

// Every setting applied lands in the registry with its type and bytes, and a
// fresh object reads the same settings back.
// NT 4 is read through the Internet Explorer tab's tests.
TEST_F(ExplorerOnSample, ReadsTheMachinesSettings) {
    clsExplorer ie;
    ie.loadConfiguration();
    const std::string hq = "proxy.hq.example.com|";
    EXPECT_EQ(describe(ie), "proxy lan local " + hq + "8080 ftpgw.hq.example.com|2121 " + hq +
                                "8080 " + hq +
                                "8443 socks.hq.example.com|1080 HomeNet ISP||*.hq.example.com;10.*|"
                                "http://intranet.hq.example.com/");
    EXPECT_EQ(ie.DUNList(), (std::vector<std::string>{"HomeNet ISP", "HQ Remote"}));
    EXPECT_TRUE(image->messages().empty());
}

TEST_F(ExplorerOnSample, ApplyWritesEachValueAndReadsBack) {
    RegProbe::remove(kSettings, "EnableAutoDial");
    for (bool on : {true, false}) {
        auto ie = std::make_unique<clsExplorer>();
        ie->UseSameProxy(!on);
        ie->HTTPAddress("h"), ie->HTTPPort("80"), ie->SecureAddress("s"), ie->SecurePort("443");
        ie->ProxyEnabled(on), ie->ConnectViaLAN(on), ie->DisablePWDCache(on);
        ie->ProxyExceptions(on ? "*.lan;10.*" : ""), ie->IgnoreLocalAddresses(on);
        ie->DefaultHomePage(on ? "http://intranet/" : ""), ie->CurrentDUN(on ? "Office" : "");
        ie->AutoConfigURL(on ? "http://cfg/proxy.pac" : "");
        const std::string state = describe(*ie);
        ie->ApplyConfiguration();

        const RawValue one = binary({1, 0, 0, 0}), zero = binary({0, 0, 0, 0});
        const std::tuple<const char*, const char*, RawValue> expects[] = {
            {kSettings, "ProxyServer", sz(on ? "http=h:80;https=s:443" : "h:80")},
            {kSettings, "ProxyEnable", on ? one : zero},
            {kSettings, "ProxyOverride", sz(on ? "*.lan;10.*;<local>" : "")},
            {kMain, "Start Page", sz(on ? "http://intranet/" : "")},
            {kSettings, "EnableAutoDial", on ? zero : one},
            {kRemoteAccess, "InternetProfile", sz(on ? "Office" : "")},
            {kSettings, "AutoConfigURL", sz(on ? "http://cfg/proxy.pac" : "")},
            {kSettings, "DisablePasswordCaching", dword(on ? 1 : 0)},
        };
        for (const auto& [key, name, value] : expects)
            EXPECT_EQ(RegProbe::get(key, name), value) << name;

        ie.reset();
        image->restart();
        clsExplorer back;
        back.loadConfiguration();
        // The single form reads back into all four pairs.
        EXPECT_EQ(describe(back), on ? state : "same h|80 h|80 h|80 h|80 | |||");
    }
}

// The switches count by their first byte whatever the stored type;
// DisablePasswordCaching only as a DWORD of 1.
TEST_F(ExplorerOnSample, SwitchesReadInAnyStoredForm) {
    struct Case {
        const char* name;
        std::optional<RawValue> value;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"ProxyEnable", binary({1, 0, 0, 0}), true},
        {"ProxyEnable", dword(257), true},
        {"ProxyEnable", dword(256), false},
        {"ProxyEnable", std::nullopt, false},
        {"EnableAutoDial", binary({0, 0, 0, 0}), true},
        {"DisablePasswordCaching", dword(1), true},
        {"DisablePasswordCaching", dword(257), false},
        {"DisablePasswordCaching", binary({1, 0, 0, 0}), false},
    };
    for (const Case& c : cases) {
        RegProbe::remove(kSettings, c.name);
        if (c.value)
            RegProbe::set(kSettings, c.name, *c.value);
        clsExplorer ie;
        ie.ProxyEnabled(!c.expected), ie.ConnectViaLAN(!c.expected);
        ie.DisablePWDCache(!c.expected);
        ie.GetProxyEnabled(), ie.GetConnectViaLAN(), ie.getDisablePWDCache();
        const std::string name = c.name;
        const bool got = name == "ProxyEnable"      ? ie.ProxyEnabled()
                         : name == "EnableAutoDial" ? ie.ConnectViaLAN()
                                                    : ie.DisablePWDCache();
        EXPECT_EQ(got, c.expected) << c.name << " case " << (&c - cases.data());
    }
}

// Missing text values: the proxy pairs and exceptions stay, the others empty.
TEST_F(ExplorerOnSample, MissingValuesFallBack) {
    for (const char* name : {"ProxyServer", "ProxyOverride", "AutoConfigURL"})
        RegProbe::remove(kSettings, name);
    RegProbe::remove(kMain, "Start Page");
    RegProbe::remove(kRemoteAccess, "InternetProfile");

    clsExplorer ie;
    ie.UseSameProxy(true), ie.HTTPAddress("h"), ie.ProxyExceptions("kept");
    ie.IgnoreLocalAddresses(true), ie.DefaultHomePage("old"), ie.AutoConfigURL("old");
    ie.CurrentDUN("kept");
    ie.loadConfiguration();
    EXPECT_EQ(proxyFlags(ie).substr(0, 5), "same ");
    EXPECT_FALSE(ie.IgnoreLocalAddresses());
    EXPECT_EQ(ie.HTTPAddress() + " " + browserTexts(ie), "h kept||kept|");
}

// Dial-up entries: the Addresses values on Windows 98, the phone book's
// section names on NT.
TEST(ExplorerDialUp, EntriesComeFromTheSystemsOwnPlace) {
    for (const char* sample : {"win98", "nt4"}) {
        SCOPED_TRACE(sample);
        auto image = TestImage::sample(sample);
        const bool is9x = std::string(sample) == "win98";
        RegProbe::removeKey(kAddresses);
        if (is9x) {
            RegProbe::set(kAddresses, "Office", binary({1, 2}));
            RegProbe::set(kAddresses, "Home ISP", binary({3}));
            RegProbe::set(kAddresses, "[x]", sz(""));
        } else {
            test::writeFile(phoneBookPath(),
                            "[Office]\r\nPhoneNumber=555\r\n\r\n[Home ISP]\r\n"
                            " [Indented]\r\n;[Comment]\r\n[]\n[Unix]\n[Cut] \r\n[\r\n[Last]");
            // Only Windows 95/98 keeps its entries here.
            RegProbe::set(kAddresses, "NotAnEntry", binary({1}));
        }
        RegProbe::set(kRemoteAccess, "InternetProfile", sz("Home ISP"));

        clsExplorer ie;
        const std::vector<std::string> expected =
            is9x ? std::vector<std::string>{"Office", "Home ISP", "[x]"}
                 : std::vector<std::string>{"Office", "Home ISP", "", "Unix", "Cut]", "", "Last"};
        for (int pass = 0; pass < 2; ++pass) {  // a second read rebuilds, not appends
            ie.GetDUNList();
            EXPECT_EQ(ie.DUNList(), expected);
            EXPECT_EQ(ie.CurrentDUN(), "Home ISP");
        }
    }
}

// A machine without any Internet Explorer keys: defaults are read, and an
// apply creates nothing.
TEST(ExplorerBare, ReadsDefaultsAndWritesNothing) {
    auto image = TestImage::fromRegistry(
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
        "\"CurrentVersion\"=\"4.0\"\r\n");
    clsExplorer ie;
    ie.DefaultHomePage("x"), ie.CurrentDUN("x"), ie.AutoConfigURL("x");
    ie.loadConfiguration();
    EXPECT_EQ(describe(ie), "| | | | | |||");
    EXPECT_TRUE(ie.DUNList().empty());

    ie.ProxyEnabled(true), ie.DisablePWDCache(true);
    ie.ApplyConfiguration();
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd("\\HKEY_CURRENT_USER");
    EXPECT_FALSE(reg.DirKey().has_value());
    EXPECT_TRUE(image->messages().empty());
}

}  // namespace
}  // namespace vtl
