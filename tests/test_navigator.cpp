// The Navigator backend on the sample machines: profile discovery, reading and
// applying prefs.js, the configuration-file section and the e-mail dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "browser/clsNavigator.h"
#include "config/ConfigFile.h"
#include "config/Screen.h"
#include "config/VtlError.h"
#include "config/modAPI.h"
#include "registry/clsEasyRegistry.h"
#include "support/TestImage.h"
#include "ui/frmNNMail.h"

namespace vtl {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TestImage;
using test::writeFile;

constexpr const char* kHklmUsers =
    "\\HKEY_LOCAL_MACHINE\\Software\\Netscape\\Netscape Navigator\\Users";
constexpr const char* kBiff = "\\HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\biff";

void setValue(const std::string& key, const std::string& name, const std::string& value) {
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd("\\");
    auto slash = key.find('\\', 1);
    reg.Cd(key.substr(0, slash));
    reg.MakeKey(key.substr(slash + 1));
    reg.Cd(key);
    reg.SetValue(name, STRING, Variant(value));
}

void deleteValue(const std::string& key, const std::string& name) {
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd(key);
    reg.DeleteValue(name);
}

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
        image->platform().setNavigatorWarningHandler([this, tick] {
            ++warnings;
            EXPECT_EQ(Screen::MousePointer(), Screen::Default);
            return tick;
        });
        nn = std::make_unique<clsNavigator>();
    }
    fs::path host(const std::string& windowsPath) {
        return image->platform().HostPath(windowsPath);
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& m : image->messages())
            texts.push_back(m.text);
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
        {"2000: install directory's drive", "win2000", {}, defaultPf + janeNs + " Jane Doe 0 0"},
        {"NT4 without first-source user", "nt4",
         [](TestImage&) { deleteValue(kHklmUsers, "CurrentUser"); }, ntFallback + " default 0 0"},
        {"NT4 with a DirRoot that does not exist", "nt4",
         [](TestImage&) { setValue(std::string(kHklmUsers) + "\\default", "DirRoot", "C:\\Gone"); },
         ntFallback + " default 0 0"},
        {"98: popstate path without the mail folder", "win98",
         [](TestImage&) {
             setValue(std::string(kBiff) + "\\users\\default\\servers\\pop.homenet.example.net",
                      "popstatePath", "C:\\Elsewhere\\pop.dat");
         },
         "default=" + pf + "default\\prefs.js;Jane Doe=" + pf + "jane_doe\\prefs.js; Jane Doe 0 0"},
        {"98: Windows on drive D", "win98",
         [](TestImage& image) {
             setValue("\\HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion",
                      "SystemRoot", "D:\\WINDOWS");
             fs::create_directories(image.dir() / "drive_d");
             fs::rename(image.dir() / "drive_c/Program Files",
                        image.dir() / "drive_d/Program Files");
         },
         "default=D:\\Program Files\\Netscape\\Users\\default\\prefs.js;Jane Doe=D:\\Program "
         "Files\\Netscape\\Users\\jane_doe\\prefs.js; Jane Doe 0 0"},
        {"2000: current user's file missing", "win2000",
         [](TestImage& image) { fs::remove_all(image.dir() / "drive_c" / "Netscape"); },
         defaultPf + " default 0 1"},
        {"98: no Navigator users", "win98", [](TestImage&) { deleteValue(kBiff, "CurrentUser"); },
         "  1 1"},
        {"NT4: no users, warning switched off", "nt4",
         [](TestImage&) {
             deleteValue(kHklmUsers, "CurrentUser");
             deleteValue(kBiff, "CurrentUser");
         },
         "  1 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Navigator n(c.sample, c.prepare);
        EXPECT_EQ(discovered(n), c.expected);
        EXPECT_TRUE(n.image->messages().empty()) << ::testing::PrintToString(n.messages());
        EXPECT_FALSE(n.nn->HasChanged());
    }
}

TEST(Navigator, WarningStoresItsCheckBoxAndRestoresThePointer) {
    for (bool tick : {false, true}) {
        SCOPED_TRACE(tick);
        Screen::SetMousePointer(Screen::Hourglass);
        Navigator n(
            "win98", [](TestImage&) { deleteValue(kBiff, "CurrentUser"); }, tick);
        EXPECT_EQ(n.warnings, 1);
        EXPECT_EQ(Screen::MousePointer(), Screen::Hourglass);
        EXPECT_EQ(GetRegSetting(kAppName, "Options", "NavigatorWarning"), tick ? "1" : "0");
        Screen::SetMousePointer(Screen::Default);
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

TEST(Navigator, ReadsTheSelectedProfile) {
    struct Case {
        const char* sample;
        const char* profile;  // nullptr: the current one
        std::string settings;
    };
    // http, port, ftp, ssl, socks, port, exceptions, pac, home, proxy, direct, name, address,
    // POP3 server, login, leave on server
    const Case cases[] = {
        {"win98", nullptr,
         "proxy.hq.example.com|8080|ftpgw.hq.example.com|proxy.hq.example.com|socks.hq.example.com|"
         "1080|localhost, .hq.example.com||http://intranet.hq.example.com/|1|0|Jane Doe|"
         "jane.doe@hq.example.com|imap.hq.example.com|jdoe|0|"},
        {"win98", "default",
         "||||||||http://home.netscape.com/|0|1|Jane Doe|jdoe98@homenet.example.net|"
         "pop.homenet.example.net|jdoe98|1|"},
        {"nt4", nullptr,
         "webcache.acct.example.net|3128|||||intranet, .acct.example.net|"
         "http://proxy.acct.example.net/proxy.pac|http://intranet.acct.example.net/|0|0|"
         "Alan Smith|alan.smith@acct.example.net|pop.acct.example.net|asmith|0|"},
        {"win2000", "DEFAULT",
         "proxy.eng.example.org|8000|proxy.eng.example.org|proxy.eng.example.org|"
         "socks.eng.example.org|1080|localhost, .eng.example.org||http://home.netscape.com/|1|0|"
         "Maria Lopez|maria.lopez@eng.example.org|pop.eng.example.org|mlopez|1|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.sample) + " " + (c.profile ? c.profile : "current"));
        Navigator n(c.sample);
        if (c.profile)
            n.nn->CurrentProfile(c.profile);  // reloads at once
        else
            n.nn->loadConfiguration();
        std::string shown;
        for (const auto& s : settingsOf(*n.nn))
            shown += s + "|";
        EXPECT_EQ(shown, c.settings);
        EXPECT_TRUE(n.image->messages().empty()) << ::testing::PrintToString(n.messages());
    }
}

TEST(Navigator, AppliesEachConnectionModeLeavingOtherLinesAlone) {
    const std::string written =
        " network.proxy.http network.proxy.http_port network.proxy.ftp network.proxy.ftp_port"
        " network.proxy.gopher network.proxy.gopher_port network.proxy.ssl network.proxy.ssl_port"
        " network.hosts.socks_server network.hosts.socks_serverport network.proxy.wais"
        " network.proxy.wais_port network.proxy.no_proxies_on browser.startup.homepage"
        " network.proxy.autoconfig_url mail.identity.username mail.identity.useremail"
        " mail.identity.reply_to network.hosts.pop_server mail.pop_name network.hosts.smtp_server"
        " mail.smtp_name mail.identity.organization mail.leave_on_server ";
    auto isWritten = [&](const std::string& key) {
        return !key.empty() &&
               (key == "network.proxy.type" || written.find(" " + key + " ") != std::string::npos);
    };
    auto untouched = [&](std::vector<std::string> lines) {
        std::erase_if(lines, [&](const std::string& l) { return isWritten(keyOf(l)); });
        return lines;
    };
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
    for (const char* sample : {"win98", "nt4", "win2000"}) {
        for (const Mode& mode : modes) {
            SCOPED_TRACE(std::string(sample) + " direct " + std::to_string(mode.direct) +
                         " proxy " + std::to_string(mode.proxy));
            Navigator n(sample);
            const std::string path = n.nn->PrefsPaths().front().second;
            n.nn->CurrentProfile(n.nn->PrefsPaths().front().first);
            const auto before = splitLines(readFile(n.host(path)));
            n.nn->ConnectViaLAN(mode.direct);
            n.nn->ProxyEnabled(mode.proxy);
            n.nn->HTTPAddress("cache.example.com");
            n.nn->HTTPPort("");
            n.nn->WAISPort("210");
            n.nn->EMailOrganization(R"(Quotes "and" C:\back\slashes)");
            n.nn->ApplyConfiguration();
            EXPECT_TRUE(n.image->messages().empty()) << ::testing::PrintToString(n.messages());

            const auto after = splitLines(readFile(n.host(path)));
            EXPECT_EQ(untouched(after), untouched(before));
            EXPECT_EQ(after.back(), before.back());
            auto count = [&](const std::string& key) {
                return std::count_if(after.begin(), after.end(),
                                     [&](const std::string& l) { return keyOf(l) == key; });
            };
            std::istringstream keys(written);
            for (std::string key; keys >> key;)
                EXPECT_EQ(count(key), 1) << key;
            EXPECT_EQ(count("network.proxy.type"), mode.typeLine ? 1 : 0);
            for (const char* line :
                 {"user_pref(\"network.proxy.http\", \"cache.example.com\");",
                  "user_pref(\"network.proxy.http_port\", 0);",
                  "user_pref(\"network.proxy.wais_port\", 210);",
                  R"(user_pref("mail.identity.organization", "Quotes "and" C:\back\slashes");)",
                  mode.typeLine}) {
                if (line) {
                    EXPECT_EQ(std::count(after.begin(), after.end(), line), 1) << line;
                }
            }
            // Read back, the settings are those applied; an empty port is written as 0.
            auto applied = settingsOf(*n.nn);
            applied[10] = mode.direct && !mode.proxy ? "1" : "0";
            for (std::size_t port : {1, 5}) {
                if (applied[port].empty())
                    applied[port] = "0";
            }
            n.nn->loadConfiguration();
            EXPECT_EQ(settingsOf(*n.nn), applied);
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
        {"port not a number", [](Navigator& n) { n.nn->FTPPort("ftp"); }, failed + "Jane Doe'."},
        {"port just beyond 16 bits", [](Navigator& n) { n.nn->WAISPort("32768"); },
         failed + "Jane Doe'."},
        {"unknown profile",
         [](Navigator& n) {
             const auto file = n.image->dir() / "c.vtl";
             writeFile(file, "[Netscape Navigator]\r\nNNPROFILE=Nobody\r\n");
             n.nn->LoadConfigurationFile(file.string());
         },
         failed + "Nobody'."},
        {"read-only profile folder",
         [](Navigator& n) {
             fs::permissions(n.host("C:\\Program Files\\Netscape\\Users\\jane_doe"),
                             fs::perms::owner_read | fs::perms::owner_exec);
         },
         "Error in clsNavigatorPrefs:closePrefsFile:"},
        {"profile folder removed",
         [](Navigator& n) {
             fs::rename(n.host("C:\\Program Files\\Netscape\\Users\\jane_doe"),
                        n.host("C:\\Program Files\\Netscape\\Users\\moved"));
         },
         "Error in clsNavigatorPrefs:openPrefsFile:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Navigator n("win98");
        n.nn->loadConfiguration();
        const fs::path dir = n.host("C:\\Program Files\\Netscape\\Users");
        c.prepare(n);
        auto files = [&] {
            return readFile(dir / "moved" / "prefs.js") + readFile(dir / "jane_doe" / "prefs.js");
        };
        const std::string before = files();
        n.nn->ApplyConfiguration();
        ASSERT_EQ(n.image->messages().size(), 1u) << ::testing::PrintToString(n.messages());
        EXPECT_EQ(n.messages()[0].rfind(c.message, 0), 0u) << n.messages()[0];
        EXPECT_EQ(files(), before);
        EXPECT_FALSE(fs::exists(dir / "jane_doe" / "prefs.js.vtl-new"));
        std::error_code ec;
        fs::permissions(dir / "jane_doe", fs::perms::owner_all, fs::perm_options::add, ec);
    }
}

TEST(Navigator, FailuresWithoutAProfile) {
    Navigator none("win98", [](TestImage&) { deleteValue(kBiff, "CurrentUser"); });
    none.nn->loadConfiguration();
    none.nn->ApplyConfiguration();
    EXPECT_EQ(none.messages(),
              std::vector<std::string>{"Could not locate Navigator preferences file."});

    Navigator n("win98");
    n.nn->CurrentProfile("Nobody");
    ASSERT_EQ(n.image->messages().size(), 1u);
    EXPECT_EQ(n.messages()[0].rfind("Error in clsNavigator:loadConfiguration:", 0), 0u);
}

TEST(Navigator, ConfigurationFileSectionRoundTrips) {
    Navigator n("win98");
    n.nn->loadConfiguration();
    n.nn->WAISAddress("wais.example.com");
    n.nn->EMailReplyToAddr(std::string(300, 'r'));
    const std::string file = (n.image->dir() / "round.vtl").string();
    n.nn->SaveConfigurationFile(file);

    std::string keys;
    for (const auto& line : splitLines(readFile(file)))
        keys += line.substr(0, line.find('=')) + " ";
    const std::string order =
        "NNPROFILE NNPROXYENABLE NNDIRECTCONNECTION NNAUTOCONFIGURL NNPROXYOVERRIDE NNHTTPADDRESS "
        "NNHTTPPORT NNFTPADDRESS NNFTPPORT NNGOPHERADDRESS NNGOPHERPORT NNSSLADDRESS NNSSLPORT "
        "NNSOCKSADDRESS NNSOCKSPORT NNWAISADDRESS NNWAISPORT NNDEFHOMEPAGE EMailFullName EMailAddr "
        "EMailReplyToAddr EMailPOP3Server EMailPOP3Login EMailSMTPServer EMailSMTPLogin "
        "EMailOrganization EMailLeaveMailOnServer ";
    EXPECT_EQ(keys, "[Netscape Navigator] " + order);

    const auto saved = settingsOf(*n.nn);
    n.nn->CurrentProfile("default");  // different settings in memory
    n.nn->LoadConfigurationFile(file);
    EXPECT_EQ(n.nn->CurrentProfile(), "Jane Doe");
    EXPECT_EQ(settingsOf(*n.nn), saved);
    EXPECT_EQ(n.nn->WAISAddress(), "wais.example.com");
    EXPECT_EQ(n.nn->EMailReplyToAddr(), std::string(254, 'r'));

    std::string allNoChange = "[Netscape Navigator]\r\n";
    std::istringstream names(order);
    for (std::string key; names >> key;)
        allNoChange += key + "=*NC*\r\n";
    struct Case {
        const char* name;
        std::string section;
        std::function<void(const clsBrowser&)> check;
    };
    const Case cases[] = {
        {"every key *NC*", allNoChange,
         [&](const clsBrowser& b) {
             EXPECT_EQ(settingsOf(b), saved);
             EXPECT_EQ(b.CurrentProfile(), "Jane Doe");
         }},
        {"blank profile, missing keys",
         "[netscape navigator]\r\nnnprofile=  \r\nNNPROXYENABLE=yes\r\n",
         [](const clsBrowser& b) {
             EXPECT_EQ(b.CurrentProfile(), "default");
             EXPECT_FALSE(b.ProxyEnabled() || b.ConnectViaLAN());
             EXPECT_EQ(b.HTTPAddress() + b.EMailFullName(), "");
         }},
        {"flags",
         "[Netscape Navigator]\r\nNNPROFILE=Nobody\r\nNNDIRECTCONNECTION=1\r\n"
         "EMailLeaveMailOnServer=1\r\n",
         [](const clsBrowser& b) {
             EXPECT_EQ(b.CurrentProfile(), "Nobody");
             EXPECT_TRUE(b.ConnectViaLAN() && b.EMailLeaveMailOnServer());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        n.nn->LoadConfigurationFile(file);
        const std::string other = (n.image->dir() / "other.vtl").string();
        writeFile(other, c.section);
        n.nn->LoadConfigurationFile(other);
        c.check(*n.nn);
    }
    EXPECT_TRUE(n.image->messages().empty()) << ::testing::PrintToString(n.messages());
}

TEST(Navigator, MailDialogCopiesBackOnlyOnOK) {
    struct Case {
        const char* name;
        std::function<void(ui::frmNNMail&)> user;  // empty: nobody there
        bool cancelled, changed;
        std::string fullName;
        bool leave;
    };
    const Case cases[] = {
        {"headless", {}, true, false, "Alan Smith", false},
        {"edit, OK",
         [](ui::frmNNMail& d) {
             d.txtFullName.userType("A. Smith");
             d.chkLeaveMail.userClick();
             d.cmdOK.userClick();
         },
         false, true, "A. Smith", true},
        {"edit, Cancel",
         [](ui::frmNNMail& d) {
             d.txtFullName.userType("A. Smith");
             d.cmdCancel.userClick();
         },
         true, false, "Alan Smith", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Navigator n("nt4");
        n.nn->loadConfiguration();
        if (c.user) {
            n.image->platform().setNavigatorMailHandler([&](ui::frmNNMail& d) {
                EXPECT_EQ(d.txtUserProfile.text() + "|" + d.txtOrg.text(),
                          "default|Example Net Ltd - Accounts");
                EXPECT_FALSE(d.Changed());
                c.user(d);
            });
        }
        const auto result = platform::sys().ShowNavigatorMail(*n.nn);
        EXPECT_EQ(result.Cancelled, c.cancelled);
        EXPECT_EQ(result.Changed, c.changed);
        EXPECT_EQ(n.nn->EMailFullName(), c.fullName);
        EXPECT_EQ(n.nn->EMailLeaveMailOnServer(), c.leave);
        EXPECT_EQ(n.nn->EMailSMTPServer(), "mailhost.acct.example.net");
    }
}

}  // namespace
}  // namespace vtl
