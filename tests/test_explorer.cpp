// clsExplorer on the sample machines: reading the settings and dial-up
// entries, applying them to the registry, and what it does without them.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "browser/clsExplorer.h"
#include "registry/clsEasyRegistry.h"
#include "support/BrowserState.h"
#include "support/TestImage.h"

namespace vtl {
namespace {

using test::browserTexts;
using test::proxyFlags;
using test::proxyPairs;
using test::TestImage;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kSettings =
    "\\HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kMain = "\\HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main";
constexpr const char* kRemoteAccess = "\\HKEY_CURRENT_USER\\RemoteAccess";
constexpr const char* kAddresses = "\\HKEY_CURRENT_USER\\RemoteAccess\\Addresses";

// Writes a value, creating its key below HKEY_CURRENT_USER.
void put(const std::string& key, const std::string& name, RegValueType type, const Variant& value) {
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd("\\HKEY_CURRENT_USER");
    reg.MakeKey(key.substr(std::string("\\HKEY_CURRENT_USER\\").size()));
    reg.Cd(key);
    reg.SetValue(name, type, value);
    ASSERT_EQ(reg.lastError(), 0) << key << " " << name;
}

// Removes a value, or with wholeKey the subkey `name` of `key`.
void remove(const std::string& key, const std::string& name, bool wholeKey = false) {
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd(key);
    if (wholeKey) {
        reg.DeleteKey(name);
    } else {
        reg.DeleteValue(name);
    }
}

// Type and raw bytes of a stored value; type -1 when it cannot be read.
std::pair<int, Bytes> stored(const std::string& key, const std::string& name) {
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd(key);
    RegValueType type = STRING;
    Bytes bytes = reg.ValueOf(name, type).bytes;
    return {reg.lastError() == 0 ? static_cast<int>(type) : -1, bytes};
}

Bytes sz(const std::string& text) {
    Bytes bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

std::string phoneBookPath() {
    return platform::sys().HostPath(platform::sys().GetSystemDirectory() + "\\ras\\rasphone.pbk");
}

std::string describe(const clsExplorer& ie) {
    return proxyFlags(ie) + proxyPairs(ie) + " " + browserTexts(ie);
}

// What each sample machine holds, read from the system, then carried through a
// configuration file into a fresh object.
TEST(ExplorerSamples, ReadsEachMachineAndRoundTripsThroughAFile) {
    struct Case {
        std::string sample, state;
        std::vector<std::string> dunList;
    };
    const std::string hq = "proxy.hq.example.com|";
    const std::string cache = "webcache.acct.example.net|3128 ";
    const std::vector<Case> cases = {
        {"win98",
         "proxy lan local " + hq + "8080 ftpgw.hq.example.com|2121 " + hq + "8080 " + hq +
             "8443 socks.hq.example.com|1080 HomeNet ISP||*.hq.example.com;10.*|"
             "http://intranet.hq.example.com/",
         {"HomeNet ISP", "HQ Remote"}},
        {"nt4",
         "same proxy pwd " + cache + cache + cache + cache +
             "| CompuNet ISP||intranet;*.acct.example.net;172.16.*|"
             "http://intranet.acct.example.net/default.htm",
         {"Accounts Office RAS", "CompuNet ISP"}},
        {"win2000",
         "lan local | | | | | Home ISP|http://wpad.eng.example.org/wpad.dat||"
         "http://eng.example.org/",
         {"Engineering VPN", "Home ISP"}},
    };
    for (const Case& c : cases) {
        auto image = TestImage::sample(c.sample);
        clsExplorer ie;
        ie.loadConfiguration();
        EXPECT_EQ(describe(ie), c.state) << c.sample;
        EXPECT_EQ(ie.DUNList(), c.dunList) << c.sample;

        const std::string file = (image->dir() / "saved.vtl").string();
        ie.SaveConfigurationFile(file);
        clsExplorer loaded;
        loaded.SocksAddress(ie.SocksAddress());
        loaded.SocksPort(ie.SocksPort());
        loaded.LoadConfigurationFile(file);
        EXPECT_EQ(describe(loaded), c.state) << c.sample << " from file";
        EXPECT_TRUE(image->messages().empty()) << c.sample;
    }
}

class ExplorerOnSample : public ::testing::TestWithParam<std::string> {
  protected:
    std::unique_ptr<TestImage> image = TestImage::sample(GetParam());
};

INSTANTIATE_TEST_SUITE_P(Samples, ExplorerOnSample, ::testing::Values("win98", "nt4", "win2000"));

// Every setting applied lands in the registry with its type and bytes, and a
// fresh object reads the same settings back.
TEST_P(ExplorerOnSample, ApplyWritesEachValueAndReadsBack) {
    remove(kSettings, "EnableAutoDial");
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

        const Bytes one = {1, 0, 0, 0}, zero = {0, 0, 0, 0};
        const std::tuple<const char*, const char*, int, Bytes> expects[] = {
            {kSettings, "ProxyServer", STRING, sz(on ? "http=h:80;https=s:443" : "h:80")},
            {kSettings, "ProxyEnable", BINARY, on ? one : zero},
            {kSettings, "ProxyOverride", STRING, sz(on ? "*.lan;10.*;<local>" : "")},
            {kMain, "Start Page", STRING, sz(on ? "http://intranet/" : "")},
            {kSettings, "EnableAutoDial", BINARY, on ? zero : one},
            {kRemoteAccess, "InternetProfile", STRING, sz(on ? "Office" : "")},
            {kSettings, "AutoConfigURL", STRING, sz(on ? "http://cfg/proxy.pac" : "")},
            {kSettings, "DisablePasswordCaching", DWORD, on ? one : zero},
        };
        for (const auto& [key, name, type, bytes] : expects)
            EXPECT_EQ(stored(key, name), std::make_pair(type, bytes)) << name;

        ie.reset();
        image->restart();
        clsExplorer back;
        back.loadConfiguration();
        // The single form reads back into all four pairs.
        EXPECT_EQ(describe(back), on ? state : "same h|80 h|80 h|80 h|80 | |||");
    }
}

// The switches count by their first byte whatever the stored type;
// DisablePasswordCaching only as a DWORD of 1. An Empty value: none stored.
TEST_P(ExplorerOnSample, SwitchesReadInAnyStoredForm) {
    struct Case {
        const char* name;
        RegValueType type;
        Variant value;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"ProxyEnable", BINARY, Bytes{1, 0, 0, 0}, true},
        {"ProxyEnable", DWORD, 257.0, true},
        {"ProxyEnable", DWORD, 256.0, false},
        {"ProxyEnable", BINARY, Bytes{}, false},
        {"ProxyEnable", STRING, Variant(), false},
        {"EnableAutoDial", BINARY, Bytes{0, 0, 0, 0}, true},
        {"EnableAutoDial", BINARY, Bytes{1, 0, 0, 0}, false},
        {"EnableAutoDial", BINARY, Bytes{}, false},
        {"DisablePasswordCaching", DWORD, 1.0, true},
        {"DisablePasswordCaching", DWORD, 257.0, false},
        {"DisablePasswordCaching", BINARY, Bytes{1, 0, 0, 0}, false},
        {"DisablePasswordCaching", STRING, Variant(), false},
    };
    for (const Case& c : cases) {
        remove(kSettings, c.name);
        if (c.value.kind() != Variant::Kind::Empty)
            put(kSettings, c.name, c.type, c.value);
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
TEST_P(ExplorerOnSample, MissingValuesFallBack) {
    for (const char* name : {"ProxyServer", "ProxyOverride", "AutoConfigURL"})
        remove(kSettings, name);
    remove(kMain, "Start Page");
    remove(kRemoteAccess, "InternetProfile");

    clsExplorer ie;
    ie.UseSameProxy(true), ie.HTTPAddress("h"), ie.ProxyExceptions("kept");
    ie.IgnoreLocalAddresses(true), ie.DefaultHomePage("old"), ie.AutoConfigURL("old");
    ie.CurrentDUN("kept");
    ie.loadConfiguration();
    EXPECT_EQ(proxyFlags(ie).substr(0, 5), "same ");
    EXPECT_FALSE(ie.IgnoreLocalAddresses());
    EXPECT_EQ(ie.HTTPAddress() + " " + browserTexts(ie), "h kept||kept|");
}

TEST_P(ExplorerOnSample, ProxyOverrideReadsLocalMarker) {
    struct Case {
        std::string stored;
        bool local;
        std::string exceptions, written;
    };
    const std::vector<Case> cases = {
        {"<local>", true, "", ";<local>"},
        {"a;b;<local>", true, "a;b", "a;b;<local>"},
        {"a;<local>;b", true, "a", "a;<local>"},
        {"*.lan;10.*", false, "*.lan;10.*", "*.lan;10.*"},
    };
    for (const Case& c : cases) {
        put(kSettings, "ProxyOverride", STRING, c.stored);
        clsExplorer ie;
        ie.IgnoreLocalAddresses(!c.local);
        ie.GetProxyExceptions();
        EXPECT_EQ(ie.IgnoreLocalAddresses(), c.local) << c.stored.substr(0, 40);
        EXPECT_EQ(ie.ProxyExceptions(), c.exceptions) << c.stored.substr(0, 40);
        ie.SetProxyExceptions();
        EXPECT_EQ(stored(kSettings, "ProxyOverride").second, sz(c.written));
    }
}

// Dial-up entries: the Addresses values on Windows 98, the phone book's
// section names on NT 4 and 2000.
TEST_P(ExplorerOnSample, DialUpEntriesComeFromTheSystemsOwnPlace) {
    const bool is9x = GetParam() == "win98";
    if (is9x) {
        remove(kRemoteAccess, "Addresses", true);
        put(kAddresses, "Office", BINARY, Bytes{1, 2});
        put(kAddresses, "Home ISP", BINARY, Bytes{3});
        put(kAddresses, "[x]", STRING, "");
    } else {
        test::writeFile(phoneBookPath(),
                        "[Office]\r\nPhoneNumber=555\r\n\r\n[Home ISP]\r\n"
                        " [Indented]\r\n;[Comment]\r\n[]\n[Unix]\n[Cut] \r\n[\r\n[Last]");
        // Only Windows 95/98 keeps its entries here.
        put(kAddresses, "NotAnEntry", BINARY, Bytes{1});
    }
    put(kRemoteAccess, "InternetProfile", STRING, "Home ISP");

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

TEST_P(ExplorerOnSample, NoDialUpEntriesWithoutTheirSource) {
    std::error_code ec;
    std::filesystem::remove(phoneBookPath(), ec);
    remove(kRemoteAccess, "Addresses", true);
    clsExplorer ie;
    ie.GetDUNList();
    EXPECT_TRUE(ie.DUNList().empty());

    put(kAddresses, "x", STRING, "");  // an empty Addresses key
    remove(kAddresses, "x");
    ie.GetDUNList();
    EXPECT_TRUE(ie.DUNList().empty());
}

// A machine without any Internet Explorer keys: defaults are read, and an
// apply creates nothing.
TEST(ExplorerBare, ReadsDefaultsAndWritesNothing) {
    for (const char* version :
         {"[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n"
          "\"VersionNumber\"=\"4.10.1998\"\r\n",
          "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
          "\"CurrentVersion\"=\"4.0\"\r\n"}) {
        auto image = TestImage::fromRegistry(version);
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
}

// Navigator's members hold nothing here; WAIS is only stored.
TEST(ExplorerMembers, NavigatorMembersHoldNothing) {
    auto image = TestImage::sample("win98");
    clsExplorer ie;
    clsBrowser& b = ie;
    b.EMailFullName("n"), b.EMailLeaveMailOnServer(true), b.CurrentProfile("default");
    EXPECT_EQ(b.EMailFullName() + b.CurrentProfile(), "");
    EXPECT_FALSE(b.EMailLeaveMailOnServer());
    EXPECT_TRUE(b.ProfileList().empty());
    b.WAISAddress("w"), b.WAISPort("210");
    b.ApplyConfiguration();
    b.loadConfiguration();
    EXPECT_EQ(b.WAISAddress() + ":" + b.WAISPort(), "w:210");
}

}  // namespace
}  // namespace vtl
