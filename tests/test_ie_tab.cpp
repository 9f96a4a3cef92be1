// The Internet Explorer tab driven as a user would, on the sample machines.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/BrowserState.h"
#include "support/TabWindow.h"

namespace vtl {
namespace {

using test::TabWindow;
using ui::IETab;

// Enabled state and colours: HTTP pair, exceptions, FTP, Secure, Gopher, Socks
// pairs, then the two dependent check boxes and the dial-up list.
std::string layout(IETab& t) {
    auto on = [](const ui::Control& c) { return c.enabled() ? "+" : "-"; };
    return test::look({&t.txtIEHTTPAddr, &t.txtIEHTTPPort}) + " " +
           test::look({&t.txtIEExceptions}) + " " +
           test::look({&t.txtIEFTPAddr, &t.txtIEFTPPort, &t.txtIESecureAddr, &t.txtIESecurePort,
                       &t.txtIEGopherAddr, &t.txtIEGopherPort, &t.txtIESocksAddr,
                       &t.txtIESocksPort}) +
           " " + on(t.chkIEUseSameForAll) + on(t.chkIgnoreLocal) + on(t.cmbISP);
}

std::string checks(IETab& t) {
    return std::to_string(t.chkIEUseProxy.value()) + std::to_string(t.chkIEUseSameForAll.value()) +
           std::to_string(t.chkIgnoreLocal.value()) +
           std::to_string(t.chkDisableIEPWDCache.value()) + (t.optLAN.value() ? " lan" : "") +
           (t.optModem.value() ? " modem" : "");
}

std::string settings(const clsBrowser& b) {
    return test::proxyPairs(b) + " " + test::proxyFlags(b) + test::browserTexts(b);
}

TEST(IETab, StartsWithTheProxyBoxesDisabled) {
    TabWindow w("win98");
    IETab& t = w.ie();
    EXPECT_EQ(layout(t), "FF F FFFFFFFF ---");
    EXPECT_EQ(test::look({&t.txtIEAutoConfigURL, &t.txtIEDefHomePage}), "WW");
    EXPECT_EQ(checks(t).substr(0, 4), "0000");
}

TEST(IETab, FillsFromEachSampleWithoutChangingTheSettings) {
    struct Case {
        const char* sample;
        std::string texts, checks, layout;
        std::vector<std::string> isp;
        int selected;
    };
    const Case cases[] = {
        {"win98",
         "proxy.hq.example.com|2121|1080|*.hq.example.com;10.*|",
         "1010 lan",
         "WW W WWWWWWWW ++-",
         {"HomeNet ISP", "HQ Remote"},
         0},
        {"nt4",
         "webcache.acct.example.net|3128||intranet;*.acct.example.net;172.16.*|",
         "1101 modem",
         "WW W AAAAAAAA +++",
         {"Accounts Office RAS", "CompuNet ISP"},
         1},
        {"win2000",
         "||||http://wpad.eng.example.org/wpad.dat",
         "0010 lan",
         "FF F FFFFFFFF ---",
         {"Engineering VPN", "Home ISP"},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sample);
        TabWindow w(c.sample);
        const std::string before = settings(w.ieConfig());
        w.show();
        IETab& t = w.ie();
        EXPECT_EQ(
            test::joined({t.txtIEHTTPAddr.text(), t.txtIEFTPPort.text(), t.txtIESocksPort.text(),
                          t.txtIEExceptions.text(), t.txtIEAutoConfigURL.text()}),
            c.texts);
        EXPECT_EQ(checks(t), c.checks);
        EXPECT_EQ(layout(t), c.layout);
        EXPECT_EQ(t.cmbISP.list(), c.isp);
        EXPECT_EQ(t.cmbISP.listIndex(), c.selected);
        EXPECT_EQ(settings(w.ieConfig()), before);

        // A file holding the shown settings: no behaviour runs.
        w.main->suppressUnsaved = true;
        w.ie().initializeIEControls();
        EXPECT_FALSE(w.main->changed);
        EXPECT_FALSE(w.marked());
    }
}

TEST(IETab, ShowsLoadedSettings) {
    struct Case {
        const char* name;
        const char* sample;
        std::function<void(test::TestImage&)> prepare;
        std::function<void(clsBrowser&)> load;
        std::string checks, layout, dun;
        int selected;
    };
    const Case cases[] = {
        {"same proxy for all",
         "win98",
         {},
         [](clsBrowser& b) { b.UseSameProxy(true); },
         "1110 lan",
         "WW W AAAAAAAA ++-",
         "HomeNet ISP",
         0},
        {"no proxy",
         "nt4",
         {},
         [](clsBrowser& b) { b.ProxyEnabled(false); },
         "0101 modem",
         "FF F AAAAAAAA --+",
         "CompuNet ISP",
         1},
        {"modem",
         "win98",
         {},
         [](clsBrowser& b) { b.ConnectViaLAN(false); },
         "1010 modem",
         "WW W WWWWWWWW +++",
         "HomeNet ISP",
         0},
        {"dial-up entry not on this PC",
         "win98",
         {},
         [](clsBrowser& b) { b.CurrentDUN("Nowhere"); },
         "1010 lan",
         "WW W WWWWWWWW ++-",
         "Nowhere",
         -1},
        {"no phone book", "win2000",
         [](test::TestImage& i) {
             std::filesystem::remove(i.dir() / "drive_c/WINNT/system32/ras/rasphone.pbk");
         },
         [](clsBrowser&) {}, "0010 lan", "FF F FFFFFFFF ---", "Home ISP", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TabWindow w(c.sample, [&](test::TestImage& i) {
            if (c.prepare)
                c.prepare(i);
        });
        w.show();
        c.load(w.ieConfig());
        w.main->suppressUnsaved = true;
        w.ie().initializeIEControls();
        EXPECT_EQ(checks(w.ie()), c.checks);
        EXPECT_EQ(layout(w.ie()), c.layout);
        EXPECT_EQ(w.ie().cmbISP.listIndex(), c.selected);
        EXPECT_EQ(w.ieConfig().CurrentDUN(), c.dun);
        EXPECT_FALSE(w.marked());
    }
}

TEST(IETab, ProxyBoxesFollowTheTwoCheckBoxes) {
    struct Case {
        const char* clicks;  // P: use proxy, S: same proxy for all
        std::string layout;
        bool proxy, same;
    };
    const Case cases[] = {
        {"P", "WW W WWWWWWWW ++-", true, false},   {"PS", "WW W AAAAAAAA ++-", true, true},
        {"PSP", "FF F AAAAAAAA ---", false, true}, {"PSS", "WW W WWWWWWWW ++-", true, false},
        {"PP", "FF F AAAAAAAA ---", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clicks);
        TabWindow w("win2000");
        w.show();
        for (const char* k = c.clicks; *k != '\0'; ++k) {
            w.settle();
            (*k == 'P' ? w.ie().chkIEUseProxy : w.ie().chkIEUseSameForAll).userClick();
            EXPECT_TRUE(w.marked());
        }
        EXPECT_EQ(layout(w.ie()), c.layout);
        EXPECT_EQ(w.ieConfig().ProxyEnabled(), c.proxy);
        EXPECT_EQ(w.ieConfig().UseSameProxy(), c.same);
    }
}

TEST(IETab, EachControlWritesItsSetting) {
    using Get = std::string (clsBrowser::*)() const;
    struct Case {
        ui::TextBox IETab::*box;
        Get get;
    };
    const Case boxes[] = {
        {&IETab::txtIEHTTPAddr, &clsBrowser::HTTPAddress},
        {&IETab::txtIEHTTPPort, &clsBrowser::HTTPPort},
        {&IETab::txtIEFTPAddr, &clsBrowser::FTPAddress},
        {&IETab::txtIEFTPPort, &clsBrowser::FTPPort},
        {&IETab::txtIEGopherAddr, &clsBrowser::GopherAddress},
        {&IETab::txtIEGopherPort, &clsBrowser::GopherPort},
        {&IETab::txtIESecureAddr, &clsBrowser::SecureAddress},
        {&IETab::txtIESecurePort, &clsBrowser::SecurePort},
        {&IETab::txtIESocksAddr, &clsBrowser::SocksAddress},
        {&IETab::txtIESocksPort, &clsBrowser::SocksPort},
        {&IETab::txtIEExceptions, &clsBrowser::ProxyExceptions},
        {&IETab::txtIEDefHomePage, &clsBrowser::DefaultHomePage},
        {&IETab::txtIEAutoConfigURL, &clsBrowser::AutoConfigURL},
    };
    const std::string texts[] = {"typed.example.com",
                                 std::string("a\tb\r\n\x01\x1b\x7f", 9) + std::string(10000, 'x')};
    TabWindow w("win98");
    w.show();
    for (const auto& text : texts) {
        for (const auto& c : boxes) {
            ui::TextBox& box = w.ie().*c.box;
            SCOPED_TRACE(box.name());
            std::vector<std::string> others;
            for (const auto& o : boxes)
                others.push_back(&o == &c ? text : (w.ieConfig().*o.get)());
            w.settle();
            box.userType(text);
            EXPECT_EQ(box.text(), text);
            std::vector<std::string> now;
            for (const auto& o : boxes)
                now.push_back((w.ieConfig().*o.get)());
            EXPECT_EQ(now, others);
            EXPECT_TRUE(w.marked());
        }
    }

    struct Click {
        const char* name;
        std::function<void(IETab&)> act;
        std::string settings;
        bool marks;
    };
    const Click clicks[] = {
        {"bypass local", [](IETab& t) { t.chkIgnoreLocal.userClick(); }, "proxy lan ", true},
        {"password cache", [](IETab& t) { t.chkDisableIEPWDCache.userClick(); },
         "proxy lan local pwd ", true},
        {"modem", [](IETab& t) { t.optModem.userClick(); }, "proxy local ", true},
        {"dial-up entry",
         [](IETab& t) {
             t.optModem.userClick();
             t.cmbISP.userSelect(1);
         },
         "proxy local |HQ Remote", true},
        {"LAN again", [](IETab& t) { t.optLAN.userClick(); }, "proxy lan local ", false},
    };
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.name);
        TabWindow v("win98");
        v.show();
        c.act(v.ie());
        std::string s = test::proxyFlags(v.ieConfig());
        if (v.ieConfig().CurrentDUN() != "HomeNet ISP")
            s += "|" + v.ieConfig().CurrentDUN();
        EXPECT_EQ(s, c.settings);
        EXPECT_EQ(v.ie().cmbISP.enabled(), !v.ieConfig().ConnectViaLAN());
        EXPECT_EQ(v.marked(), c.marks);
    }
}

TEST(IETab, DialUpChoiceIsIgnoredWhileAFileIsShown) {
    TabWindow w("win98");
    w.show();
    w.main->suppressUnsaved = true;
    w.ie().optModem.userClick();
    w.settle();
    w.ie().cmbISP.userSelect(1);
    EXPECT_EQ(w.ieConfig().CurrentDUN(), "HomeNet ISP");
    EXPECT_FALSE(w.main->changed);
    w.ie().txtIEHTTPPort.userType("3128");
    EXPECT_TRUE(w.main->changed);
    EXPECT_FALSE(w.marked());
}

TEST(IETab, WithoutAnExplorerObject) {
    TabWindow w("win98");
    w.main->oIEConfig.reset();
    w.ie().initializeIEControls();
    w.ie().chkIEUseProxy.userClick();
    w.ie().txtIEHTTPAddr.userType("proxy");
    EXPECT_TRUE(w.marked());
    EXPECT_TRUE(w.ie().cmbISP.list().empty());
}

}  // namespace
}  // namespace vtl
