// clsExplorer: the proxy string in both directions and the "Internet Explorer"
// section of a configuration file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/clsExplorer.h"
#include "config/ConfigFile.h"
#include "support/BrowserState.h"
#include "support/RegProbe.h"
#include "support/TestImage.h"

namespace vtl {
namespace {

using test::browserTexts;
using test::proxyFlags;
using test::proxyPairs;
using test::RegProbe;
using test::sz;
using test::TestImage;

constexpr const char* kSettings =
    "\\HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kKeys[] = {"ProxyServer",     "DialupISP",     "ProxyEnable",
                                 "EnableAutoDial",  "AutoConfigURL", "ProxyOverride",
                                 "DisablePWDCache", "DefHomePage"};

// The section's keys in file order, "key=value" joined by blanks.
std::string savedSection(const std::string& file) {
    std::string out;
    for (const char* key : kKeys)
        out += std::string(key) + "=" + ReadConfigValue("Internet Explorer", key, file) + " ";
    return out;
}

struct ExplorerProxy : ::testing::Test {
    std::unique_ptr<TestImage> image = TestImage::sample("win98");
    std::string file = (image->dir() / "settings.vtl").string();
};

// Registry "ProxyServer" -> properties -> registry "ProxyServer" again, and once
// more: from the first write on the text stays the same, through the registry and
// through a configuration file. The SOCKS pair starts as old|9 and is kept unless
// the string names it.
TEST_F(ExplorerProxy, RegistryStringParsesAndComposes) {
    struct Case {
        std::string stored;
        bool same;
        std::string pairs;
        std::string composed;
    };
    const std::string none = "| | | | old|9";
    const std::vector<Case> cases = {
        {"px:80", true, "px|80 px|80 px|80 px|80 old|9", "px:80"},
        {"  px:80  ", true, "px|80 px|80 px|80 px|80 old|9", "px:80"},
        {"ftp=f:21;http=h:80;socks=s:1080", false, "h|80 f|21 | | s|1080",
         "ftp=f:21;http=h:80;socks=s:1080"},
        {"http=h", false, "h| | | | old|9", "http=h;socks=old:9"},
        {"wais=w:210", false, none, "socks=old:9"},
        {"http=h:80;;ftp=f:21", false, "h|80 | | | old|9", "http=h:80;socks=old:9"},
        {"HTTP=H:1;Https=s:443;GOPHER=g:70;Socks=k:5", false, "H|1 | g|70 s|443 k|5",
         "gopher=g:70;http=H:1;https=s:443;socks=k:5"},
        {"http=http://p:8080", false, "http://p|8080 | | | old|9",
         "http=http://p:8080;socks=old:9"},
        {"a:1;b:2", true, "b|2 b|2 b|2 b|2 old|9", "b:2"},
        // Ports are text: neither numbers nor the 16-bit range are checked.
        {"ftp=f:abc;http=h:99999;https=s:-1", false, "h|99999 f|abc | s|-1 old|9",
         "ftp=f:abc;http=h:99999;https=s:-1;socks=old:9"},
        // An empty value names no proxy; a lone ":" is the single form with nothing in it.
        {"", false, none, "socks=old:9"},
        {":", true, "| | | | old|9", ":"},
        {"ht:tp=h:80", false, none, "socks=old:9"},
        // Odd texts: only a colon followed by "//" ends a scheme; no blanks at the ends.
        {"//", true, "//| //| //| //| old|9", "//:"},
        {"x://p", true, "x://p| x://p| x://p| x://p| old|9", "x://p:"},
        {"http=//", false, "//| | | | old|9", "http=//;socks=old:9"},
        {":80", true, "|80 |80 |80 |80 old|9", ":80"},
        {"http=:80", false, "|80 | | | old|9", "socks=old:9"},
        {"http=h:80=", false, "h|80= | | | old|9", "http=h:80=;socks=old:9"},
        {"http=", false, none, "socks=old:9"},
        {";;", true, none, ":"},
        {"a:1; b:2", true, " b|2  b|2  b|2  b|2 old|9", "b:2"},
        {"http=h ;socks=", false, "h | | | | |", "http=h"},
    };
    for (const Case& c : cases) {
        const std::string where = c.stored.substr(0, 60);
        RegProbe::set(kSettings, "ProxyServer", sz(c.stored));
        clsExplorer ie;
        ie.SocksAddress("old");
        ie.SocksPort("9");
        ie.HTTPAddress("stale");
        ie.FTPPort("stale");
        ie.GetProxyAddresses();
        EXPECT_EQ(ie.UseSameProxy(), c.same) << where;
        EXPECT_EQ(proxyPairs(ie), c.pairs) << where;
        ie.SetProxyAddresses();
        EXPECT_EQ(RegProbe::get(kSettings, "ProxyServer"), sz(c.composed)) << where;
        ie.GetProxyAddresses();
        ie.SetProxyAddresses();
        EXPECT_EQ(RegProbe::get(kSettings, "ProxyServer"), sz(c.composed)) << where;

        std::string text = c.stored;
        for (int cycle = 0; cycle < 2; ++cycle) {
            test::writeFile(file, "[Internet Explorer]\r\nProxyServer=" + text + "\r\n");
            clsExplorer fromFile;
            fromFile.LoadConfigurationFile(file);
            fromFile.SaveConfigurationFile(file);
            const std::string saved = ReadConfigValue("Internet Explorer", "ProxyServer", file);
            EXPECT_TRUE(cycle == 0 || saved == text) << where << " -> " << text << " -> " << saved;
            text = saved;
        }
    }
}

// A section written by hand, loaded over a prepared object, then saved again.
TEST_F(ExplorerProxy, ConfigurationSectionLoadsAndSaves) {
    struct Case {
        std::string section;              // lines after "[Internet Explorer]"
        std::string flags, pairs, texts;  // texts: DUN|URL|exceptions|home
    };
    std::string noChange;  // "*NC*" (exactly) keeps the property
    for (const char* key : kKeys)
        noChange += std::string(key) + "=*NC*\n";
    const std::vector<Case> cases = {
        {"ProxyServer=ftp=f:21;http=h:80\nDialupISP=Office\nProxyEnable=1\nEnableAutoDial=0\n"
         "AutoConfigURL=u\nProxyOverride=a;b;<local>\nDisablePWDCache=1\nDefHomePage=p\n",
         "proxy lan local pwd ", "h|80 f|21 | | |", "Office|u|a;b|p"},
        // Missing keys load their empty values; only "1" (or "0") switches.
        {"ProxyEnable=yes\nEnableAutoDial=1\nDisablePWDCache=true\n", "", "| | | | |", "|||"},
        {"proxyserver=p:3128\nproxyoverride=;<local>\nenableautodial=\n", "same local ",
         "p|3128 p|3128 p|3128 p|3128 |", "|||"},
        // Whatever follows "<local>" is dropped, as is the character before it.
        {"ProxyOverride=a<local>;b\n", "local ", "| | | | |", "|||"},
        {noChange, "same proxy lan local pwd ", "| | | | |", "before|||"},
        {"DefHomePage=*nc*\nDialupISP= *NC*x\n", "", "| | | | |", "*NC*x|||*nc*"},
    };
    for (const Case& c : cases) {
        test::writeFile(file, "[Internet Explorer]\r\n" + c.section);
        clsExplorer ie;
        ie.UseSameProxy(true);
        ie.ProxyEnabled(true);
        ie.ConnectViaLAN(true);
        ie.DisablePWDCache(true);
        ie.IgnoreLocalAddresses(true);
        ie.CurrentDUN("before");
        ie.LoadConfigurationFile(file);
        EXPECT_EQ(proxyFlags(ie), c.flags) << c.section;
        EXPECT_EQ(proxyPairs(ie), c.pairs) << c.section;
        EXPECT_EQ(browserTexts(ie), c.texts) << c.section;

        // Saved and loaded again into a fresh object, the settings are the same.
        const std::string out = file + ".out";
        ie.SaveConfigurationFile(out);
        clsExplorer back;
        back.LoadConfigurationFile(out);
        EXPECT_EQ(proxyFlags(back) + proxyPairs(back) + browserTexts(back),
                  c.flags + c.pairs + c.texts);
        if (&c == &cases[0]) {
            EXPECT_EQ(savedSection(out),
                      "ProxyServer=ftp=f:21;http=h:80 DialupISP=Office ProxyEnable=1 "
                      "EnableAutoDial=0 AutoConfigURL=u ProxyOverride=a;b;<local> "
                      "DisablePWDCache=1 DefHomePage=p ");
        }
    }
}

TEST_F(ExplorerProxy, LongConfigurationValuesAreCut) {
    test::writeFile(file, "[Internet Explorer]\r\nProxyServer=http=" + std::string(10000, 'p') +
                              ":80\r\nDefHomePage=" + std::string(300, 'h') + "\r\n");
    clsExplorer ie;
    ie.LoadConfigurationFile(file);
    EXPECT_EQ(ie.HTTPAddress(), std::string(kConfigValueMax - 5, 'p'));
    EXPECT_EQ(ie.HTTPPort(), "");
    EXPECT_EQ(ie.DefaultHomePage(), std::string(kConfigValueMax, 'h'));
}

}  // namespace
}  // namespace vtl
