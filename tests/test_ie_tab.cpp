// The Internet Explorer tab driven as a user would, on the sample machines.
#include <gtest/gtest.h>

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

TEST(IETab, FillsWithoutChangingTheSettings) {
    TabWindow w("nt4");
    const std::string before = settings(w.ieConfig());
    w.show();
    IETab& t = w.ie();
    EXPECT_EQ(test::joined({t.txtIEHTTPAddr.text(), t.txtIEFTPPort.text(), t.txtIESocksPort.text(),
                            t.txtIEExceptions.text(), t.txtIEAutoConfigURL.text()}),
              "webcache.acct.example.net|3128||intranet;*.acct.example.net;172.16.*|");
    EXPECT_EQ(checks(t), "1101 modem");
    EXPECT_EQ(layout(t), "WW W AAAAAAAA +++");
    EXPECT_EQ(t.cmbISP.list(), (std::vector<std::string>{"Accounts Office RAS", "CompuNet ISP"}));
    EXPECT_EQ(t.cmbISP.listIndex(), 1);
    EXPECT_EQ(settings(w.ieConfig()), before);
}

TEST(IETab, ADialUpEntryMissingHereIsKeptButNotSelected) {
    TabWindow w("win98");
    w.show();
    w.ieConfig().CurrentDUN("Nowhere");
    w.main->suppressUnsaved = true;
    w.ie().initializeIEControls();
    EXPECT_EQ(checks(w.ie()), "1010 lan");
    EXPECT_EQ(w.ie().cmbISP.listIndex(), -1);
    EXPECT_EQ(w.ieConfig().CurrentDUN(), "Nowhere");
    EXPECT_FALSE(w.marked());
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
    struct Case {
        ui::TextBox IETab::*box;
        std::string (clsBrowser::*get)() const;
    };
    const Case boxes[] = {
        {&IETab::txtIEHTTPAddr, &clsBrowser::HTTPAddress},
        {&IETab::txtIESocksPort, &clsBrowser::SocksPort},
        {&IETab::txtIEExceptions, &clsBrowser::ProxyExceptions},
        {&IETab::txtIEAutoConfigURL, &clsBrowser::AutoConfigURL},
    };
    const std::string text = std::string("a\tb\r\n\x01\x1b\x7f", 9) + std::string(10000, 'x');
    TabWindow w("win98");
    w.show();
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

    struct Click {
        const char* name;
        std::function<void(IETab&)> act;
        std::string settings;
        bool marks;
    };
    const Click clicks[] = {
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
