// The Navigator backend on the sample machines: profile discovery, reading and
// applying prefs.js, the configuration-file section and the two dialogs.
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
constexpr const char* kApplyFailed = "Could not apply Navigator preferences for profile '";

// Registry edits on the copy of an image.
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

using Paths = std::vector<std::pair<std::string, std::string>>;

// Constructs the backend on `sample` after `prepare` and checks what it found.
void expectDiscovery(const char* name, const char* sample, std::function<void(TestImage&)> prepare,
                     const Paths& paths, const std::string& current, int status, int warnings) {
    SCOPED_TRACE(name);
    Navigator n(sample, prepare);
    EXPECT_EQ(n.nn->PrefsPaths(), paths);
    std::vector<std::string> names;
    for (const auto& [profile, path] : paths) {
        names.push_back(profile);
        EXPECT_TRUE(fs::exists(n.host(path))) << path;
    }
    EXPECT_EQ(n.nn->ProfileList(), names);
    EXPECT_EQ(n.nn->CurrentProfile(), current);
    EXPECT_EQ(n.nn->Status(), status);
    EXPECT_EQ(n.warnings, warnings);
    EXPECT_TRUE(n.image->messages().empty()) << ::testing::PrintToString(n.messages());
    EXPECT_FALSE(n.nn->HasChanged());
}

TEST(Navigator, DiscoversProfilesFromEachSourceAndFallback) {
    const std::string pf = "C:\\Program Files\\Netscape\\Users\\";
    const std::string pfLower = "c:\\program files\\netscape\\users\\";
    const std::string nsc = "c:\\Netscape\\Users\\";
    const auto copyProfile = [](const char* from, const char* to) {
        return [from, to](TestImage& image) {
            fs::create_directories(image.dir() / "drive_c" / to);
            fs::copy_file(image.dir() / "drive_c" / from / "prefs.js",
                          image.dir() / "drive_c" / to / "prefs.js");
        };
    };
    const std::string popServer = std::string(kBiff) + "\\users\\default\\servers\\";

    expectDiscovery(
        "98: second source", "win98", {},
        {{"default", pfLower + "default\\prefs.js"}, {"Jane Doe", pf + "jane_doe\\prefs.js"}},
        "Jane Doe", 0, 0);
    expectDiscovery("NT4: first source only", "nt4", {},
                    {{"default", "C:\\Netscape\\Users\\default\\prefs.js"}}, "default", 0, 0);
    expectDiscovery(
        "2000: install directory's drive", "win2000", {},
        {{"default", pfLower + "default\\prefs.js"}, {"Jane Doe", nsc + "jane_doe\\prefs.js"}},
        "Jane Doe", 0, 0);
    expectDiscovery(
        "NT4 without first-source user", "nt4",
        [](TestImage&) { deleteValue(kHklmUsers, "CurrentUser"); },
        {{"default", "c:\\netscape\\users\\default\\prefs.js"},
         {"Jane Doe", nsc + "jane_doe\\prefs.js"}},
        "default", 0, 0);
    expectDiscovery(
        "NT4 with a DirRoot that does not exist", "nt4",
        [](TestImage&) { setValue(std::string(kHklmUsers) + "\\default", "DirRoot", "C:\\Gone"); },
        {{"default", "c:\\netscape\\users\\default\\prefs.js"},
         {"Jane Doe", nsc + "jane_doe\\prefs.js"}},
        "default", 0, 0);
    expectDiscovery(
        "98: popstate path without the mail folder", "win98",
        [&](TestImage&) {
            setValue(popServer + "pop.homenet.example.net", "popstatePath",
                     "C:\\Elsewhere\\pop.dat");
        },
        {{"default", pf + "default\\prefs.js"}, {"Jane Doe", pf + "jane_doe\\prefs.js"}},
        "Jane Doe", 0, 0);
    expectDiscovery(
        "98: install directory's drive", "win98",
        copyProfile("Program Files/Netscape/Users/jane_doe", "NETSCAPE/USERS/JANE_DOE"),
        {{"default", pfLower + "default\\prefs.js"}, {"Jane Doe", nsc + "jane_doe\\prefs.js"}},
        "Jane Doe", 0, 0);
    expectDiscovery(
        "98: a name with blanks", "win98",
        [&](TestImage& image) {
            setValue(std::string(kBiff) + "\\users\\John Q Smith", "Other", "x");
            copyProfile("Program Files/Netscape/Users/default",
                        "Program Files/Netscape/Users/John_Q_Smith")(image);
        },
        {{"default", pfLower + "default\\prefs.js"},
         {"Jane Doe", pf + "jane_doe\\prefs.js"},
         {"John Q Smith", pf + "john_q_smith\\prefs.js"}},
        "Jane Doe", 0, 0);
    expectDiscovery(
        "98: Windows on drive D", "win98",
        [](TestImage& image) {
            setValue("\\HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion",
                     "SystemRoot", "D:\\WINDOWS");
            fs::create_directories(image.dir() / "drive_d");
            fs::rename(image.dir() / "drive_c" / "Program Files",
                       image.dir() / "drive_d" / "Program Files");
        },
        {{"default", "D:\\Program Files\\Netscape\\Users\\default\\prefs.js"},
         {"Jane Doe", "D:\\Program Files\\Netscape\\Users\\jane_doe\\prefs.js"}},
        "Jane Doe", 0, 0);
    expectDiscovery(
        "2000: current user's file missing", "win2000",
        [](TestImage& image) { fs::remove_all(image.dir() / "drive_c" / "Netscape"); },
        {{"default", pfLower + "default\\prefs.js"}}, "default", 0, 1);
    expectDiscovery(
        "98: no Navigator users", "win98", [](TestImage&) { deleteValue(kBiff, "CurrentUser"); },
        {}, "", 1, 1);
    expectDiscovery(
        "NT4: no users, warning switched off", "nt4",
        [](TestImage&) {
            deleteValue(kHklmUsers, "CurrentUser");
            deleteValue(kBiff, "CurrentUser");
        },
        {}, "", 1, 0);
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

// Reads `profile` of `sample` (the current one when null).
void expectSettings(const char* sample, const char* profile,
                    const std::vector<std::string>& expected) {
    SCOPED_TRACE(std::string(sample) + " " + (profile ? profile : "current"));
    Navigator n(sample);
    if (profile) {
        n.nn->CurrentProfile(profile);  // reloads at once
    } else {
        n.nn->loadConfiguration();
    }
    EXPECT_EQ(settingsOf(*n.nn), expected);
    EXPECT_TRUE(n.image->messages().empty()) << ::testing::PrintToString(n.messages());
}

TEST(Navigator, ReadsTheSelectedProfile) {
    // http, port, ftp, ssl, socks, port, exceptions, pac, home, proxy, direct, name, address,
    // POP3 server, login, leave on server
    expectSettings("win98", nullptr,
                   {"proxy.hq.example.com", "8080", "ftpgw.hq.example.com", "proxy.hq.example.com",
                    "socks.hq.example.com", "1080", "localhost, .hq.example.com", "",
                    "http://intranet.hq.example.com/", "1", "0", "Jane Doe",
                    "jane.doe@hq.example.com", "imap.hq.example.com", "jdoe", "0"});
    expectSettings(
        "win98", "default",
        {"", "", "", "", "", "", "", "", "http://home.netscape.com/", "0", "1", "Jane Doe",
         "jdoe98@homenet.example.net", "pop.homenet.example.net", "jdoe98", "1"});
    expectSettings(
        "nt4", nullptr,
        {"webcache.acct.example.net", "3128", "", "", "", "", "intranet, .acct.example.net",
         "http://proxy.acct.example.net/proxy.pac", "http://intranet.acct.example.net/", "0", "0",
         "Alan Smith", "alan.smith@acct.example.net", "pop.acct.example.net", "asmith", "0"});
    expectSettings(
        "win2000", nullptr,
        {"proxy.eng.example.org", "8000", "", "", "", "", "", "", "http://www.example.com/", "0",
         "1", "Jane Doe", "jane.doe@example.org", "mail.example.org", "jane.doe", "0"});
    expectSettings(
        "win2000", "DEFAULT",
        {"proxy.eng.example.org", "8000", "proxy.eng.example.org", "proxy.eng.example.org",
         "socks.eng.example.org", "1080", "localhost, .eng.example.org", "",
         "http://home.netscape.com/", "1", "0", "Maria Lopez", "maria.lopez@eng.example.org",
         "pop.eng.example.org", "mlopez", "1"});
}

// Lines of keys the backend writes are compared apart; all others must stay as they were.
const std::vector<std::string> kWrittenKeys = {"network.proxy.http",
                                               "network.proxy.http_port",
                                               "network.proxy.ftp",
                                               "network.proxy.ftp_port",
                                               "network.proxy.gopher",
                                               "network.proxy.gopher_port",
                                               "network.proxy.ssl",
                                               "network.proxy.ssl_port",
                                               "network.hosts.socks_server",
                                               "network.hosts.socks_serverport",
                                               "network.proxy.wais",
                                               "network.proxy.wais_port",
                                               "network.proxy.no_proxies_on",
                                               "network.proxy.type",
                                               "browser.startup.homepage",
                                               "network.proxy.autoconfig_url",
                                               "mail.identity.username",
                                               "mail.identity.useremail",
                                               "mail.identity.reply_to",
                                               "network.hosts.pop_server",
                                               "mail.pop_name",
                                               "network.hosts.smtp_server",
                                               "mail.smtp_name",
                                               "mail.identity.organization",
                                               "mail.leave_on_server"};

std::vector<std::string> untouched(const std::vector<std::string>& lines) {
    std::vector<std::string> kept;
    for (const auto& line : lines) {
        if (std::find(kWrittenKeys.begin(), kWrittenKeys.end(), keyOf(line)) == kWrittenKeys.end())
            kept.push_back(line);
    }
    return kept;
}

TEST(Navigator, AppliesEachConnectionModeLeavingOtherLinesAlone) {
    struct Mode {
        bool direct, proxy;
        const char* typeLine;  // nullptr: no "network.proxy.type" line
    };
    const std::vector<Mode> modes = {
        {true, false, nullptr},
        {false, true, "user_pref(\"network.proxy.type\", 1);"},
        {false, false, "user_pref(\"network.proxy.type\", 2);"},
        {true, true, "user_pref(\"network.proxy.type\", 1);"},
    };
    for (const char* sample : {"win98", "nt4", "win2000"}) {
        for (const auto& mode : modes) {
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

            const std::string written = readFile(n.host(path));
            const auto after = splitLines(written);
            EXPECT_EQ(untouched(after), untouched(before));
            EXPECT_EQ(after.back(), before.back());
            auto has = [&](const std::string& line) {
                return std::count(after.begin(), after.end(), line) == 1;
            };
            EXPECT_TRUE(has("user_pref(\"network.proxy.http\", \"cache.example.com\");"));
            EXPECT_TRUE(has("user_pref(\"network.proxy.http_port\", 0);"));
            EXPECT_TRUE(has("user_pref(\"network.proxy.wais_port\", 210);"));
            EXPECT_TRUE(
                has(R"(user_pref("mail.identity.organization", "Quotes "and" C:\back\slashes");)"));
            const auto types = std::count_if(after.begin(), after.end(), [](const std::string& l) {
                return keyOf(l) == "network.proxy.type";
            });
            EXPECT_EQ(types, mode.typeLine ? 1 : 0);
            if (mode.typeLine) {
                EXPECT_TRUE(has(mode.typeLine));
            }
            for (const auto& key : kWrittenKeys) {
                if (key == "network.proxy.type")
                    continue;
                EXPECT_EQ(std::count_if(after.begin(), after.end(),
                                        [&](const std::string& l) { return keyOf(l) == key; }),
                          1)
                    << key;
            }
            // Read back, the settings are those applied.
            auto applied = settingsOf(*n.nn);
            applied[10] = mode.direct && !mode.proxy ? "1" : "0";
            for (std::size_t port : {1, 5}) {
                if (applied[port].empty())
                    applied[port] = "0";  // an empty port is written as 0
            }
            n.nn->loadConfiguration();
            EXPECT_EQ(settingsOf(*n.nn), applied);
        }
    }
}

TEST(Navigator, ApplyFailuresLeaveTheFileAsItWas) {
    struct Case {
        const char* name;
        std::function<void(Navigator&)> prepare;
        std::string message;
    };
    const std::string janeFailed = std::string(kApplyFailed) + "Jane Doe'.";
    const std::vector<Case> cases = {
        {"port not a number", [](Navigator& n) { n.nn->FTPPort("ftp"); }, janeFailed},
        {"negative port", [](Navigator& n) { n.nn->GopherPort("-1"); }, janeFailed},
        {"port beyond 16 bits", [](Navigator& n) { n.nn->SocksPort("65535"); }, janeFailed},
        {"port just beyond", [](Navigator& n) { n.nn->WAISPort("32768"); }, janeFailed},
        {"unknown profile",
         [](Navigator& n) {
             const auto file = n.image->dir() / "c.vtl";
             writeFile(file, "[Netscape Navigator]\r\nNNPROFILE=Nobody\r\n");
             n.nn->LoadConfigurationFile(file.string());
         },
         std::string(kApplyFailed) + "Nobody'."},
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Navigator n("win98");
        n.nn->loadConfiguration();
        const fs::path dir = n.host("C:\\Program Files\\Netscape\\Users");
        c.prepare(n);
        const std::string before =
            readFile(dir / "moved" / "prefs.js") + readFile(dir / "jane_doe" / "prefs.js");
        n.nn->ApplyConfiguration();
        ASSERT_EQ(n.image->messages().size(), 1u) << ::testing::PrintToString(n.messages());
        EXPECT_EQ(n.image->messages()[0].text.rfind(c.message, 0), 0u) << n.messages()[0];
        EXPECT_EQ(n.image->messages()[0].caption, "Vantrel");
        EXPECT_EQ(readFile(dir / "moved" / "prefs.js") + readFile(dir / "jane_doe" / "prefs.js"),
                  before);
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

    std::vector<std::string> keys;
    for (const auto& line : splitLines(readFile(file)))
        keys.push_back(line.substr(0, line.find('=')));
    const std::vector<std::string> order = {"[Netscape Navigator]",
                                            "NNPROFILE",
                                            "NNPROXYENABLE",
                                            "NNDIRECTCONNECTION",
                                            "NNAUTOCONFIGURL",
                                            "NNPROXYOVERRIDE",
                                            "NNHTTPADDRESS",
                                            "NNHTTPPORT",
                                            "NNFTPADDRESS",
                                            "NNFTPPORT",
                                            "NNGOPHERADDRESS",
                                            "NNGOPHERPORT",
                                            "NNSSLADDRESS",
                                            "NNSSLPORT",
                                            "NNSOCKSADDRESS",
                                            "NNSOCKSPORT",
                                            "NNWAISADDRESS",
                                            "NNWAISPORT",
                                            "NNDEFHOMEPAGE",
                                            "EMailFullName",
                                            "EMailAddr",
                                            "EMailReplyToAddr",
                                            "EMailPOP3Server",
                                            "EMailPOP3Login",
                                            "EMailSMTPServer",
                                            "EMailSMTPLogin",
                                            "EMailOrganization",
                                            "EMailLeaveMailOnServer"};
    EXPECT_EQ(keys, order);

    const auto saved = settingsOf(*n.nn);
    n.nn->CurrentProfile("default");  // different settings in memory
    n.nn->LoadConfigurationFile(file);
    EXPECT_EQ(n.nn->CurrentProfile(), "Jane Doe");
    EXPECT_EQ(settingsOf(*n.nn), saved);
    EXPECT_EQ(n.nn->WAISAddress(), "wais.example.com");
    EXPECT_EQ(n.nn->EMailReplyToAddr(), std::string(254, 'r'));

    struct Case {
        const char* name;
        std::string section;
        std::function<void(const clsBrowser&)> check;
    };
    const std::vector<Case> cases = {
        {"every key *NC*",
         [&] {
             std::string s = "[Netscape Navigator]\r\n";
             for (std::size_t i = 1; i < order.size(); ++i)
                 s += order[i] + "=*NC*\r\n";
             return s;
         }(),
         [&](const clsBrowser& b) {
             EXPECT_EQ(settingsOf(b), saved);
             EXPECT_EQ(b.CurrentProfile(), "Jane Doe");
         }},
        {"blank profile, missing keys",
         "[netscape navigator]\r\nnnprofile=  \r\nNNPROXYENABLE=yes\r\n",
         [](const clsBrowser& b) {
             EXPECT_EQ(b.CurrentProfile(), "default");
             EXPECT_FALSE(b.ProxyEnabled());
             EXPECT_FALSE(b.ConnectViaLAN());
             EXPECT_EQ(b.HTTPAddress(), "");
             EXPECT_EQ(b.EMailFullName(), "");
         }},
        {"flags",
         "[Netscape "
         "Navigator]\r\nNNPROFILE=Nobody\r\nNNDIRECTCONNECTION=1\r\nEMailLeaveMailOnServer=1\r\n",
         [](const clsBrowser& b) {
             EXPECT_EQ(b.CurrentProfile(), "Nobody");
             EXPECT_TRUE(b.ConnectViaLAN());
             EXPECT_TRUE(b.EMailLeaveMailOnServer());
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        n.nn->LoadConfigurationFile(file);
        const std::string other = (n.image->dir() / "other.vtl").string();
        writeFile(other, c.section);
        n.nn->LoadConfigurationFile(other);
        c.check(*n.nn);
    }
    EXPECT_TRUE(n.image->messages().empty()) << ::testing::PrintToString(n.messages());
}

TEST(Navigator, SingleOperationsOpenTheFileThemselves) {
    Navigator n("nt4");
    const fs::path file = n.host("C:\\Netscape\\Users\\default\\prefs.js");
    n.nn->DefaultHomePage("http://new.example.net/");
    n.nn->SetDefaultHomePage();
    EXPECT_NE(
        readFile(file).find(R"(user_pref("browser.startup.homepage", "http://new.example.net/");)"),
        std::string::npos);
    const std::string before = readFile(file);
    n.nn->HTTPPort("x");
    EXPECT_THROW(n.nn->SetProxyAddresses(), VtlError);
    EXPECT_EQ(readFile(file), before);
    n.nn->GetProxyExceptions();
    EXPECT_EQ(n.nn->ProxyExceptions(), "intranet, .acct.example.net");
    EXPECT_TRUE(n.image->messages().empty()) << ::testing::PrintToString(n.messages());
}

TEST(Navigator, MembersThatDoNotApply) {
    Navigator n("nt4");
    n.nn->CurrentDUN("ISP");
    n.nn->DisablePWDCache(true);
    n.nn->UseSameProxy(true);
    n.nn->IgnoreLocalAddresses(true);
    n.nn->HasChanged(true);
    n.nn->GetDUNList();
    n.nn->resetFlags();
    EXPECT_EQ(n.nn->CurrentDUN(), "");
    EXPECT_TRUE(n.nn->DUNList().empty());
    EXPECT_FALSE(n.nn->DisablePWDCache());
    EXPECT_TRUE(n.nn->UseSameProxy());
    EXPECT_TRUE(n.nn->IgnoreLocalAddresses());
    EXPECT_TRUE(n.nn->HasChanged());
}

TEST(Navigator, MailDialogCopiesBackOnlyOnOK) {
    struct Case {
        const char* name;
        std::function<void(ui::frmNNMail&)> user;  // empty: nobody there
        bool cancelled, changed;
        std::string fullName;
        bool leave;
    };
    const std::vector<Case> cases = {
        {"headless", {}, true, false, "Alan Smith", false},
        {"OK without edits", [](ui::frmNNMail& d) { d.cmdOK.userClick(); }, false, false,
         "Alan Smith", false},
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Navigator n("nt4");
        n.nn->loadConfiguration();
        if (c.user) {
            n.image->platform().setNavigatorMailHandler([&](ui::frmNNMail& d) {
                EXPECT_EQ(d.caption(), "Netscape E-Mail Settings");
                EXPECT_EQ(d.txtUserProfile.text(), "default");
                EXPECT_EQ(d.txtOrg.text(), "Example Net Ltd - Accounts");
                EXPECT_FALSE(d.Changed());
                EXPECT_EQ(d.NNConfig(), n.nn.get());
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
