// The Navigator backend on the sample machines: profile discovery, reading and
// applying prefs.js, the configuration-file section and the e-mail dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "browser/NavigatorDialogs.h"
#include "browser/clsNavigator.h"
#include "config/ConfigFile.h"
#include "config/Screen.h"
#include "config/modAPI.h"
#include "support/RegProbe.h"
#include "support/TestImage.h"
#include "ui/frmNNMail.h"

namespace vtl {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::RegProbe;
using test::TestImage;
using test::writeFile;

constexpr const char* kHklmUsers =
    "\\HKEY_LOCAL_MACHINE\\Software\\Netscape\\Netscape Navigator\\Users";
constexpr const char* kBiff = "\\HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\biff";

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string keyOf(const std::string& line) {
    if (line.rfind("user_pref(\"", 0) != 0)
        return {};
    return line.substr(11, line.find('"', 11) - 11);
}

struct Navigator {
    std::unique_ptr<TestImage> image;
    std::unique_ptr<clsNavigator> nn;
    int warnings = 0;

    explicit Navigator(const std::string& sample,
                       const std::function<void(TestImage&)>& prepare = {}, bool tick = false) {
        image = TestImage::sample(sample);
        if (prepare)
            prepare(*image);
        image->setNavigatorWarningHandler([this, tick] {
            ++warnings;
            EXPECT_EQ(Screen::MousePointer(), Screen::Default);
            return tick;
        });
        nn = std::make_unique<clsNavigator>();
    }
    fs::path host(const std::string& windowsPath) {
        return image->platform().HostPath(windowsPath);
    }
    std::string messages() const {
        std::string texts;
        for (const auto& m : image->messages())
            texts += m.text + "\n";
        return texts;
    }
};

// "name=path;..." of the profiles found, then the current profile, status and warnings shown.
std::string discovered(Navigator& n) {
    std::string out;
    for (const auto& [profile, path] : n.nn->PrefsPaths()) {
        EXPECT_TRUE(fs::exists(n.host(path))) << path;
        out += profile + "=" + path + ";";
    }
    EXPECT_EQ(n.nn->ProfileList().size(), n.nn->PrefsPaths().size());
    return out + " " + n.nn->CurrentProfile() + " " + std::to_string(n.nn->Status()) + " " +
           std::to_string(n.warnings);
}

TEST(Navigator, DiscoversProfilesFromEachSourceAndFallback) {
    const std::string pf = "C:\\Program Files\\Netscape\\Users\\";
    const std::string defaultPf = "default=c:\\program files\\netscape\\users\\default\\prefs.js;";
    const std::string janeNs = "Jane Doe=c:\\Netscape\\Users\\jane_doe\\prefs.js;";
    const std::string ntFallback = "default=c:\\netscape\\users\\default\\prefs.js;" + janeNs;
    struct Case {
        const char* name;
        const char* sample;
        std::function<void(TestImage&)> prepare;
        std::string expected;
    };
    const Case cases[] = {
        {"98: mail state folder",
         "win98",
         {},
         defaultPf + "Jane Doe=" + pf + "jane_doe\\prefs.js; Jane Doe 0 0"},
        {"NT4: first source",
         "nt4",
         {},
         "default=C:\\Netscape\\Users\\default\\prefs.js; default 0 0"},
        {"NT4 without first-source user", "nt4",
         [](TestImage&) { RegProbe::remove(kHklmUsers, "CurrentUser"); },
         ntFallback + " default 0 0"},
        {"98: Windows on drive D", "win98",
         [](TestImage& image) {
             RegProbe::set("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion",
                           "SystemRoot", test::sz("D:\\WINDOWS"));
             fs::create_directories(image.dir() / "drive_d");
             fs::rename(image.dir() / "drive_c/Program Files",
                        image.dir() / "drive_d/Program Files");
         },
         "default=D:\\Program Files\\Netscape\\Users\\default\\prefs.js;Jane Doe=D:\\Program "
         "Files\\Netscape\\Users\\jane_doe\\prefs.js; Jane Doe 0 0"},
        {"2000: current user's file missing", "win2000",
         [](TestImage& image) { fs::remove_all(image.dir() / "drive_c" / "Netscape"); },
         defaultPf + " default 0 1"},
        {"NT4: no users, warning switched off", "nt4",
         [](TestImage&) {
             RegProbe::remove(kHklmUsers, "CurrentUser");
             RegProbe::remove(kBiff, "CurrentUser");
         },
         "  1 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Navigator n(c.sample, c.prepare);
        EXPECT_EQ(discovered(n), c.expected);
        EXPECT_TRUE(n.image->messages().empty()) << n.messages();
        EXPECT_FALSE(n.nn->HasChanged());
    }
}

TEST(Navigator, WarningStoresItsCheckBoxAndRestoresThePointer) {
    for (bool tick : {false, true}) {
        SCOPED_TRACE(tick);
        Screen::SetMousePointer(Screen::Hourglass);
        Navigator n(
            "win98", [](TestImage&) { RegProbe::remove(kBiff, "CurrentUser"); }, tick);
        EXPECT_EQ(n.warnings, 1);
        EXPECT_EQ(Screen::MousePointer(), Screen::Hourglass);
        EXPECT_EQ(GetRegSetting(kAppName, "Options", "NavigatorWarning"), tick ? "1" : "0");
        Screen::SetMousePointer(Screen::Default);
        // Without a profile an apply only reports it.
        n.nn->loadConfiguration();
        n.nn->ApplyConfiguration();
        EXPECT_EQ(n.messages(), "Could not locate Navigator preferences file.\n");
    }
}

// The settings read from a profile, Booleans as "1"/"0".
std::vector<std::string> settingsOf(const clsBrowser& b) {
    auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
    return {b.HTTPAddress(),         b.HTTPPort(),
            b.FTPAddress(),          b.SecureAddress(),
            b.SocksAddress(),        b.SocksPort(),
            b.ProxyExceptions(),     b.AutoConfigURL(),
            b.DefaultHomePage(),     flag(b.ProxyEnabled()),
            flag(b.ConnectViaLAN()), b.EMailFullName(),
            b.EMailAddr(),           b.EMailPOP3Server(),
            b.EMailPOP3Login(),      flag(b.EMailLeaveMailOnServer())};
}

TEST(Navigator, AppliesEachConnectionModeLeavingOtherLinesAlone) {
    struct Mode {
        bool direct, proxy;
        const char* typeLine;  // nullptr: no "network.proxy.type" line
    };
    const Mode modes[] = {
        {true, false, nullptr},
        {false, true, "user_pref(\"network.proxy.type\", 1);"},
        {false, false, "user_pref(\"network.proxy.type\", 2);"},
        {true, true, "user_pref(\"network.proxy.type\", 1);"},
    };
    for (const Mode& mode : modes) {
        SCOPED_TRACE("direct " + std::to_string(mode.direct) + " proxy " +
                     std::to_string(mode.proxy));
        Navigator n("nt4");
        const std::string path = n.nn->PrefsPaths().front().second;
        n.nn->CurrentProfile(n.nn->PrefsPaths().front().first);
        n.nn->ConnectViaLAN(mode.direct);
        n.nn->ProxyEnabled(mode.proxy);
        n.nn->HTTPAddress("cache.example.com");
        n.nn->HTTPPort("");
        n.nn->WAISPort("32767");  // the largest port accepted
        n.nn->ApplyConfiguration();
        EXPECT_TRUE(n.image->messages().empty()) << n.messages();

        const auto after = splitLines(readFile(n.host(path)));
        auto count = [&](const std::string& key) {
            return std::count_if(after.begin(), after.end(),
                                 [&](const std::string& l) { return keyOf(l) == key; });
        };
        EXPECT_EQ(count("network.proxy.type"), mode.typeLine ? 1 : 0);
        for (const char* line : {"user_pref(\"network.proxy.http\", \"cache.example.com\");",
                                 "user_pref(\"network.proxy.http_port\", 0);",
                                 "user_pref(\"network.proxy.wais_port\", 32767);", mode.typeLine}) {
            if (line) {
                EXPECT_EQ(std::count(after.begin(), after.end(), line), 1) << line;
            }
        }
    }
}

TEST(Navigator, ApplyFailuresLeaveTheFileAsItWas) {
    const std::string failed = "Could not apply Navigator preferences for profile '";
    struct Case {
        const char* name;
        std::function<void(Navigator&)> prepare;
        std::string message;
    };
    const Case cases[] = {
        {"port just beyond 16 bits", [](Navigator& n) { n.nn->WAISPort("32768"); },
         failed + "Jane Doe'."},
        {"unknown profile",
         [](Navigator& n) {
             const auto file = n.image->dir() / "c.vtl";
             writeFile(file, "[Netscape Navigator]\r\nNNPROFILE=Nobody\r\n");
             n.nn->LoadConfigurationFile(file.string());
         },
         failed + "Nobody'."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Navigator n("win98");
        n.nn->loadConfiguration();
        const fs::path file = n.host("C:\\Program Files\\Netscape\\Users\\jane_doe\\prefs.js");
        c.prepare(n);
        const std::string before = readFile(file);
        n.nn->ApplyConfiguration();
        ASSERT_EQ(n.image->messages().size(), 1u) << n.messages();
        EXPECT_EQ(n.messages().rfind(c.message, 0), 0u) << n.messages();
        EXPECT_EQ(readFile(file), before);
    }
}

TEST(Navigator, ConfigurationFileSectionRoundTrips) {
    Navigator n("win98");
    n.nn->loadConfiguration();
    n.nn->WAISAddress("wais.example.com");
    n.nn->EMailReplyToAddr(std::string(300, 'r'));
    n.nn->ConnectViaLAN(true);
    n.nn->EMailLeaveMailOnServer(true);
    const std::string file = (n.image->dir() / "round.vtl").string();
    n.nn->SaveConfigurationFile(file);

    const auto saved = settingsOf(*n.nn);
    n.nn->CurrentProfile("default");  // different settings in memory
    n.nn->LoadConfigurationFile(file);
    EXPECT_EQ(n.nn->CurrentProfile(), "Jane Doe");
    EXPECT_EQ(settingsOf(*n.nn), saved);
    EXPECT_EQ(n.nn->WAISAddress(), "wais.example.com");
    EXPECT_EQ(n.nn->EMailReplyToAddr(), std::string(254, 'r'));

    // "*NC*" keeps a setting, a missing key empties it and only "1" switches on.
    const std::string other = (n.image->dir() / "other.vtl").string();
    writeFile(
        other,
        "[netscape navigator]\r\nnnprofile=*NC*\r\nNNHTTPADDRESS=*NC*\r\nNNPROXYENABLE=yes\r\n");
    n.nn->LoadConfigurationFile(other);
    EXPECT_EQ(n.nn->CurrentProfile(), "Jane Doe");
    EXPECT_EQ(n.nn->HTTPAddress(), saved[0]);
    EXPECT_FALSE(n.nn->ProxyEnabled());
    EXPECT_EQ(n.nn->EMailFullName(), "");
    EXPECT_TRUE(n.image->messages().empty()) << n.messages();
}

TEST(Navigator, MailDialogCancelKeepsTheSettings) {
    Navigator n("nt4");
    n.nn->loadConfiguration();
    n.image->setNavigatorMailHandler([](ui::frmNNMail& d) {
        EXPECT_EQ(d.txtUserProfile.text() + "|" + d.txtOrg.text(),
                  "default|Example Net Ltd - Accounts");
        d.txtFullName.userType("A. Smith");
        d.chkLeaveMail.userClick();
        d.cmdCancel.userClick();
    });
    const auto result = navigatorDialogs()->ShowNavigatorMail(*n.nn);
    EXPECT_TRUE(result.Cancelled);
    EXPECT_FALSE(result.Changed);
    EXPECT_EQ(n.nn->EMailFullName(), "Alan Smith");
    EXPECT_FALSE(n.nn->EMailLeaveMailOnServer());
}

}  // namespace
}  // namespace vtl
