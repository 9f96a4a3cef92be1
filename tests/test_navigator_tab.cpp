// The Navigator tab driven as a user would, on the sample machines.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "browser/clsNavigator.h"
#include "registry/clsEasyRegistry.h"
#include "support/BrowserState.h"
#include "support/TabWindow.h"
#include "ui/frmNNMail.h"

namespace vtl {
namespace {

namespace fs = std::filesystem;
using test::TabWindow;
using test::TestImage;
using ui::NavigatorTab;

// The twelve proxy boxes and the exceptions box, then the configuration location.
std::string layout(NavigatorTab& t) {
    return test::look({&t.txtNNHTTPAddr, &t.txtNNHTTPPort, &t.txtNNSecureAddr, &t.txtNNSecurePort,
                       &t.txtNNFTPAddr, &t.txtNNFTPPort, &t.txtNNGopherAddr, &t.txtNNGopherPort,
                       &t.txtNNSocksAddr, &t.txtNNSocksPort, &t.txtNNWAISAddr, &t.txtNNWAISPort,
                       &t.txtNNExceptions}) +
           " " + test::look({&t.txtNNAutoConfig});
}

std::string texts(NavigatorTab& t) {
    return test::joined({t.txtNNHTTPAddr.text(), t.txtNNHTTPPort.text(), t.txtNNFTPAddr.text(),
                         t.txtNNSocksAddr.text(), t.txtNNExceptions.text(),
                         t.txtNNAutoConfig.text(), t.txtNNDefHomePage.text()});
}

std::string option(NavigatorTab& t) {
    const ui::OptionButton* on = t.connectionMethod.selected();
    return on == nullptr ? "" : on->name();
}

std::string settings(const clsBrowser& b) {
    return b.CurrentProfile() + " " + test::proxyPairs(b) + " " + b.WAISAddress() + "|" +
           b.WAISPort() + " " + test::proxyFlags(b) + test::browserTexts(b);
}

TEST(NavigatorTab, StartsDirectWithTheBoxesDisabled) {
    TabWindow w("win98");
    EXPECT_EQ(option(w.nn()), "optNNDirect");
    EXPECT_EQ(layout(w.nn()), "FFFFFFFFFFFFF F");
}

TEST(NavigatorTab, FillsFromEachSampleWithoutChangingTheSettings) {
    struct Case {
        const char* sample;
        std::vector<std::string> profiles;
        int selected;
        std::string option, layout, texts;
    };
    const Case cases[] = {
        {"win98",
         {"default", "Jane Doe"},
         1,
         "optNNProxy",
         "WWWWWWWWWWWWW F",
         "proxy.hq.example.com|8080|ftpgw.hq.example.com|socks.hq.example.com|localhost, "
         ".hq.example.com||http://intranet.hq.example.com/"},
        {"nt4",
         {"default"},
         0,
         "optNNAuto",
         "AAAAAAAAAAAAA W",
         "webcache.acct.example.net|3128|||intranet, "
         ".acct.example.net|http://proxy.acct.example.net/proxy.pac|http://"
         "intranet.acct.example.net/"},
        {"win2000",
         {"default", "Jane Doe"},
         1,
         "optNNDirect",
         "FFFFFFFFFFFFF F",
         "proxy.eng.example.org|8000|||||http://www.example.com/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sample);
        TabWindow w(c.sample);
        const std::string before = settings(w.nnConfig());
        w.show();
        NavigatorTab& t = w.nn();
        EXPECT_EQ(t.cboNNProfile.list(), c.profiles);
        EXPECT_EQ(t.cboNNProfile.listIndex(), c.selected);
        EXPECT_EQ(option(t), c.option);
        EXPECT_EQ(layout(t), c.layout);
        EXPECT_EQ(texts(t), c.texts);
        EXPECT_EQ(settings(w.nnConfig()), before);
    }
}

TEST(NavigatorTab, ShownByTheMainWindowWithoutMarks) {
    TabWindow w("win2000");
    w.main->showConfiguration();
    ASSERT_NE(w.main->oNNConfig, nullptr);
    EXPECT_EQ(w.nn().cboNNProfile.text(), "Jane Doe");
    EXPECT_EQ(texts(w.nn()), "proxy.eng.example.org|8000|||||http://www.example.com/");
    EXPECT_EQ(w.main->ie->txtIEAutoConfigURL.text(), "http://wpad.eng.example.org/wpad.dat");
    EXPECT_FALSE(w.marked());
}

TEST(NavigatorTab, SwitchingProfilesRefillsThePage) {
    struct Case {
        const char* name;
        const char* sample;
        std::function<void(TestImage&)> prepare;
        std::string option, texts;
        bool marks;
    };
    const Case cases[] = {
        {"to manual proxies",
         "win2000",
         {},
         "optNNProxy",
         "proxy.eng.example.org|8000|proxy.eng.example.org|socks.eng.example.org|localhost, "
         ".eng.example.org||http://home.netscape.com/",
         true},
        {"to the same settings", "win2000",
         [](TestImage& i) {
             fs::copy_file(i.dir() / "drive_c/Netscape/Users/jane_doe/prefs.js",
                           i.dir() / "drive_c/Program Files/Netscape/Users/default/prefs.js",
                           fs::copy_options::overwrite_existing);
         },
         "optNNDirect", "proxy.eng.example.org|8000|||||http://www.example.com/", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TabWindow w(c.sample, [&](TestImage& i) {
            if (c.prepare)
                c.prepare(i);
        });
        w.show();
        const std::string shown = texts(w.nn()), mode = option(w.nn());
        w.nn().cboNNProfile.userSelect(0);
        EXPECT_EQ(w.nnConfig().CurrentProfile(), "default");
        EXPECT_EQ(option(w.nn()), c.option);
        EXPECT_EQ(texts(w.nn()), c.texts);
        EXPECT_EQ(w.marked(), c.marks);
        EXPECT_EQ(w.main->changed, c.marks);

        w.nn().cboNNProfile.userSelect(1);
        EXPECT_EQ(w.nnConfig().CurrentProfile(), "Jane Doe");
        EXPECT_EQ(texts(w.nn()), shown);
        EXPECT_EQ(option(w.nn()), mode);
    }
}

TEST(NavigatorTab, LoadedFileReselectsItsProfileWithoutReadingIt) {
    struct Case {
        const char* name;
        std::string section;
        int selected;
        std::string option, flags;
    };
    const Case cases[] = {
        {"other profile", "NNPROFILE=default\r\nNNPROXYENABLE=1\r\n", 0, "optNNProxy", "proxy "},
        {"unknown profile", "NNPROFILE=Nobody\r\nNNPROXYENABLE=1\r\n", -1, "optNNProxy", "proxy "},
        {"direct wins over proxy", "NNPROFILE=\r\nNNPROXYENABLE=1\r\nNNDIRECTCONNECTION=1\r\n", 0,
         "optNNDirect", "lan "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TabWindow w("win98");
        w.show();
        const fs::path file = w.image->dir() / "loaded.vtl";
        test::writeFile(file, "[Netscape Navigator]\r\n" + c.section +
                                  "NNHTTPADDRESS=file.proxy\r\nNNWAISPORT=210\r\n");
        w.nnConfig().LoadConfigurationFile(file.string());
        const std::string profile = w.nnConfig().CurrentProfile();
        w.main->suppressUnsaved = true;
        w.nn().initializeNNControls();
        EXPECT_EQ(w.nn().cboNNProfile.listIndex(), c.selected);
        EXPECT_EQ(w.nnConfig().CurrentProfile(), profile);
        EXPECT_EQ(test::proxyFlags(w.nnConfig()), c.flags);
        EXPECT_EQ(w.nn().txtNNHTTPAddr.text(), "file.proxy");
        EXPECT_EQ(w.nn().txtNNWAISPort.text(), "210");
        EXPECT_EQ(option(w.nn()), c.option);
        EXPECT_FALSE(w.marked());
    }
}

TEST(NavigatorTab, ConnectionOptionsSetBoxesAndSettings) {
    struct Case {
        const char* clicks;  // P manual, D direct, A automatic
        std::string layout, flags;
        bool marks;
    };
    const Case cases[] = {
        {"P", "WWWWWWWWWWWWW F", "proxy ", true}, {"D", "AAAAAAAAAAAAA F", "lan ", true},
        {"PA", "AAAAAAAAAAAAA W", "", true},      {"DP", "WWWWWWWWWWWWW F", "proxy ", true},
        {"A", "AAAAAAAAAAAAA W", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clicks);
        TabWindow w("nt4");
        w.show();
        for (const char* k = c.clicks; *k != '\0'; ++k)
            (*k == 'P'   ? w.nn().optNNProxy
             : *k == 'D' ? w.nn().optNNDirect
                         : w.nn().optNNAuto)
                .userClick();
        EXPECT_EQ(layout(w.nn()), c.layout);
        EXPECT_EQ(test::proxyFlags(w.nnConfig()), c.flags);
        EXPECT_EQ(w.marked(), c.marks);
    }
}

TEST(NavigatorTab, EachBoxWritesItsSettingAsTyped) {
    using Get = std::string (clsBrowser::*)() const;
    struct Case {
        ui::TextBox NavigatorTab::*box;
        Get get;
    };
    const Case boxes[] = {
        {&NavigatorTab::txtNNHTTPAddr, &clsBrowser::HTTPAddress},
        {&NavigatorTab::txtNNHTTPPort, &clsBrowser::HTTPPort},
        {&NavigatorTab::txtNNSecureAddr, &clsBrowser::SecureAddress},
        {&NavigatorTab::txtNNSecurePort, &clsBrowser::SecurePort},
        {&NavigatorTab::txtNNFTPAddr, &clsBrowser::FTPAddress},
        {&NavigatorTab::txtNNFTPPort, &clsBrowser::FTPPort},
        {&NavigatorTab::txtNNGopherAddr, &clsBrowser::GopherAddress},
        {&NavigatorTab::txtNNGopherPort, &clsBrowser::GopherPort},
        {&NavigatorTab::txtNNSocksAddr, &clsBrowser::SocksAddress},
        {&NavigatorTab::txtNNSocksPort, &clsBrowser::SocksPort},
        {&NavigatorTab::txtNNWAISAddr, &clsBrowser::WAISAddress},
        {&NavigatorTab::txtNNWAISPort, &clsBrowser::WAISPort},
        {&NavigatorTab::txtNNExceptions, &clsBrowser::ProxyExceptions},
        {&NavigatorTab::txtNNDefHomePage, &clsBrowser::DefaultHomePage},
        {&NavigatorTab::txtNNAutoConfig, &clsBrowser::AutoConfigURL},
    };
    const std::string typed[] = {"typed.example.com",
                                 std::string("a\tb\r\n\x01\x1b\x7f", 9) + std::string(10000, 'x')};
    TabWindow w("win98");
    w.show();
    for (const auto& text : typed) {
        for (const auto& c : boxes) {
            ui::TextBox& box = w.nn().*c.box;
            SCOPED_TRACE(box.name());
            (&box == &w.nn().txtNNAutoConfig ? w.nn().optNNAuto : w.nn().optNNProxy).userClick();
            std::vector<std::string> expected;
            for (const auto& o : boxes)
                expected.push_back(&o == &c ? text : (w.nnConfig().*o.get)());
            w.settle();
            box.userType(text);
            EXPECT_EQ(box.text(), text);
            std::vector<std::string> now;
            for (const auto& o : boxes)
                now.push_back((w.nnConfig().*o.get)());
            EXPECT_EQ(now, expected);
            EXPECT_TRUE(w.marked());
        }
    }
}

TEST(NavigatorTab, MailDialogChangesOnlyWhatIsConfirmed) {
    struct Case {
        const char* name;
        std::function<void(ui::frmNNMail&)> user;
        std::string fullName;
        bool leave, marks;
    };
    const Case cases[] = {
        {"OK after edits",
         [](ui::frmNNMail& m) {
             m.txtFullName.userType("J. Doe");
             m.chkLeaveMail.userClick();
             m.cmdOK.userClick();
         },
         "J. Doe", true, true},
        {"OK without edits", [](ui::frmNNMail& m) { m.cmdOK.userClick(); }, "Jane Doe", false,
         false},
        {"closed at once", [](ui::frmNNMail&) {}, "Jane Doe", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TabWindow w("win98");
        w.show();
        std::string shown;
        w.dialogs.user = [&](ui::Form& form) {
            auto& mail = dynamic_cast<ui::frmNNMail&>(form);
            shown = mail.txtUserProfile.text() + "|" + mail.txtSMTPServer.text();
            c.user(mail);
        };
        w.nn().cmdNNMail.userClick();
        EXPECT_EQ(w.dialogs.modalCount, 1);
        EXPECT_EQ(shown, "Jane Doe|smtp.hq.example.com");
        EXPECT_EQ(w.nnConfig().EMailFullName(), c.fullName);
        EXPECT_EQ(w.nnConfig().EMailLeaveMailOnServer(), c.leave);
        EXPECT_EQ(w.nnConfig().EMailSMTPServer(), "smtp.hq.example.com");
        EXPECT_EQ(w.marked(), c.marks);
    }
}

TEST(NavigatorTab, WithoutProfilesOrWithoutAnObject) {
    TabWindow w("win98", [](TestImage& i) {
        clsEasyRegistry reg;
        reg.SetSuppressErrors(true);
        reg.Cd("\\HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\biff");
        reg.DeleteValue("CurrentUser");
        i.platform().setNavigatorWarningHandler([] { return true; });
    });
    w.show();
    EXPECT_EQ(w.main->oNNConfig, nullptr);

    for (bool object : {false, true}) {
        SCOPED_TRACE(object);
        if (object)
            w.main->oNNConfig = std::make_shared<clsNavigator>();
        w.nn().LoadNNProfiles();
        w.nn().initializeNNControls();
        EXPECT_TRUE(w.nn().cboNNProfile.list().empty());
        EXPECT_EQ(w.nn().cboNNProfile.listIndex(), -1);
        w.nn().optNNProxy.userClick();
        w.nn().txtNNHTTPAddr.userType("proxy");
        w.dialogs.user = [](ui::Form& form) {
            dynamic_cast<ui::frmNNMail&>(form).cmdOK.userClick();
        };
        w.nn().cmdNNMail.userClick();
        w.nn().optNNDirect.userClick();
        EXPECT_TRUE(w.marked());
    }
    EXPECT_EQ(w.nnConfig().HTTPAddress(), "proxy");
}

}  // namespace
}  // namespace vtl
