// The Navigator tab driven as a user would, on the sample machines.
#include <gtest/gtest.h>

#include <filesystem>
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

TEST(NavigatorTab, SwitchingProfilesRefillsThePage) {
    TabWindow w("win2000");
    w.show();
    const std::string shown = texts(w.nn()), mode = option(w.nn());
    w.nn().cboNNProfile.userSelect(0);
    EXPECT_EQ(w.nnConfig().CurrentProfile(), "default");
    EXPECT_EQ(option(w.nn()), "optNNProxy");
    EXPECT_EQ(texts(w.nn()),
              "proxy.eng.example.org|8000|proxy.eng.example.org|socks.eng.example.org|localhost, "
              ".eng.example.org||http://home.netscape.com/");
    EXPECT_TRUE(w.marked());
    EXPECT_TRUE(w.main->changed);

    w.nn().cboNNProfile.userSelect(1);
    EXPECT_EQ(w.nnConfig().CurrentProfile(), "Jane Doe");
    EXPECT_EQ(texts(w.nn()), shown);
    EXPECT_EQ(option(w.nn()), mode);
}

TEST(NavigatorTab, LoadedFileWithAnUnknownProfileIsShownWithoutReadingIt) {
    TabWindow w("win98");
    w.show();
    const fs::path file = w.image->dir() / "loaded.vtl";
    test::writeFile(file,
                    "[Netscape Navigator]\r\nNNPROFILE=Nobody\r\nNNPROXYENABLE=1\r\n"
                    "NNHTTPADDRESS=file.proxy\r\nNNWAISPORT=210\r\n");
    w.nnConfig().LoadConfigurationFile(file.string());
    const std::string profile = w.nnConfig().CurrentProfile();
    w.main->suppressUnsaved = true;
    w.nn().initializeNNControls();
    EXPECT_EQ(w.nn().cboNNProfile.listIndex(), -1);
    EXPECT_EQ(w.nnConfig().CurrentProfile(), profile);
    EXPECT_EQ(test::proxyFlags(w.nnConfig()), "proxy ");
    EXPECT_EQ(w.nn().txtNNHTTPAddr.text(), "file.proxy");
    EXPECT_EQ(w.nn().txtNNWAISPort.text(), "210");
    EXPECT_EQ(option(w.nn()), "optNNProxy");
    EXPECT_FALSE(w.marked());
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
    struct Case {
        ui::TextBox NavigatorTab::*box;
        std::string (clsBrowser::*get)() const;
    };
    const Case boxes[] = {
        {&NavigatorTab::txtNNHTTPAddr, &clsBrowser::HTTPAddress},
        {&NavigatorTab::txtNNWAISPort, &clsBrowser::WAISPort},
        {&NavigatorTab::txtNNExceptions, &clsBrowser::ProxyExceptions},
        {&NavigatorTab::txtNNAutoConfig, &clsBrowser::AutoConfigURL},
    };
    const std::string text = std::string("a\tb\r\n\x01\x1b\x7f", 9) + std::string(10000, 'x');
    TabWindow w("win98");
    w.show();
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

// OK stores the edits; OK without edits leaves no mark.
TEST(NavigatorTab, MailDialogStoresWhatIsConfirmed) {
    for (const bool edit : {true, false}) {
        SCOPED_TRACE(edit);
        TabWindow w("win98");
        w.show();
        std::string shown;
        w.dialogs.user = [&](ui::Form& form) {
            auto& mail = dynamic_cast<ui::frmNNMail&>(form);
            shown = mail.txtUserProfile.text() + "|" + mail.txtSMTPServer.text();
            if (edit) {
                mail.txtFullName.userType("J. Doe");
                mail.chkLeaveMail.userClick();
            }
            mail.cmdOK.userClick();
        };
        w.nn().cmdNNMail.userClick();
        EXPECT_EQ(w.dialogs.modalCount, 1);
        EXPECT_EQ(shown, "Jane Doe|smtp.hq.example.com");
        EXPECT_EQ(w.nnConfig().EMailFullName(), edit ? "J. Doe" : "Jane Doe");
        EXPECT_EQ(w.nnConfig().EMailLeaveMailOnServer(), edit);
        EXPECT_EQ(w.nnConfig().EMailSMTPServer(), "smtp.hq.example.com");
        EXPECT_EQ(w.marked(), edit);
    }
}

TEST(NavigatorTab, WithoutProfilesOrWithoutAnObject) {
    TabWindow w("win98", [](TestImage& i) {
        clsEasyRegistry reg;
        reg.SetSuppressErrors(true);
        reg.Cd("\\HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\biff");
        reg.DeleteValue("CurrentUser");
        i.setNavigatorWarningHandler([] { return true; });
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
