// The General tab driven as a user would, on the sample machines.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/frmMain.h"
#include "config/modAPI.h"
#include "net/clsNetConfig2K.h"
#include "net/clsNetConfig9x.h"
#include "net/clsNetConfigNT.h"
#include "support/ScriptedDialogs.h"
#include "support/TestImage.h"
#include "ui/GeneralTab.h"
#include "ui/frmNICWarning.h"
#include "ui/frmPrinter.h"

namespace vtl::ui {
namespace {

using test::TestImage;
using Getter = std::function<std::string(const clsNetConfig&)>;
#define ITEM(name) [](const clsNetConfig& net) { return net.name(); }

using RegistryEdit = std::function<void(std::string&)>;

// Replaces `from` by `to` throughout an image's registry text.
RegistryEdit rename(std::string from, std::string to) {
    return [from, to](std::string& text) {
        for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at))
            text.replace(at, from.size(), to);
    };
}

// A sample machine with the main window, its network object and the page.
struct Page {
    explicit Page(const std::string& sample, const RegistryEdit& edit = {})
        : image(TestImage::sample(sample)) {
        if (edit) {
            image->stop();
            std::string text = test::readFile(image->dir() / "registry.reg");
            edit(text);
            test::writeFile(image->dir() / "registry.reg", text);
            image->restart();
        }
        const std::string os = GetOSVersion();
        window.oNetConfig = os == "9x"   ? std::shared_ptr<clsNetConfig>(new clsNetConfig9x)
                            : os == "NT" ? std::shared_ptr<clsNetConfig>(new clsNetConfigNT)
                                         : std::shared_ptr<clsNetConfig>(new clsNetConfig2K);
        net().loadConfiguration();
    }
    clsNetConfig& net() { return *window.oNetConfig; }
    bool unsaved() const { return window.sbStatus.panel(3).visible; }
    bool reset() const { return window.sbStatus.panel(4).visible; }

    // As the window shows the PC's current settings, or a file loaded into the
    // object.
    Page& showCurrent() {
        window.setCaption("[Current Configuration] - Vantrel");
        window.loading = true;
        tab.initializeNICControls();
        window.loading = false;
        window.UpdateStatus(-3);
        return *this;
    }
    Page& showFile() {
        window.setCaption("Lab.vtl - Vantrel");
        window.suppressUnsaved = true;
        window.UpdateStatus(-3);
        tab.initializeNICControls();
        window.suppressUnsaved = false;
        return *this;
    }

    std::unique_ptr<TestImage> image;
    test::ScriptedDialogs dialogs;
    frmMain window{dialogs};
    GeneralTab tab{window};
};

TEST(GeneralTab, ShowsTheCurrentConfiguration) {
    Page p("win2000");
    GeneralTab& t = p.showCurrent().tab;
    EXPECT_EQ(t.cmbNIC.list(), (std::vector<std::string>{"3Com EtherLink XL NIC Driver (3C905C-TX)",
                                                         "Intel(R) PRO Adapter Driver"}));
    EXPECT_EQ(t.cmbNIC.listIndex(), 0);
    const std::vector<std::pair<TextBox*, std::string>> shown = {
        {&t.txtIP, "10.20.30.40"},
        {&t.txtMask, "255.255.255.0"},
        {&t.txtGateway, "10.20.30.1,10.20.31.1"},
        {&t.txtDNSServers, "10.20.0.53,10.20.0.54"},
        {&t.txtWINSServer1, "10.20.0.44"},
        {&t.txtComputerName, "ENG2K-WS07"}};
    for (const auto& [box, text] : shown)
        EXPECT_EQ(box->text(), text) << box->name();
    EXPECT_EQ(t.chkWINSEnabled.value(), 1);
    EXPECT_FALSE(t.chkDHCPEnabled.enabled());  // WINS is on
    EXPECT_EQ(t.cmbDefPrinter.listCount(), 2);
    EXPECT_EQ(t.cmbDefPrinter.text(), "Xerox DocuPrint N2125");

    t.chkIPNo.userSelect(1);
    EXPECT_EQ(t.txtIP.text() + " " + t.txtMask.text(), "10.20.31.40 255.255.254.0");
    EXPECT_EQ(p.net().IPAddress(), "10.20.30.40,10.20.31.40");
}

TEST(GeneralTab, OnNTAnd2000TheWindows9xControlsAreDisabled) {
    for (const auto& [sample, w] : {std::pair{"win98", true}, {"win2000", false}}) {
        Page p(sample);
        GeneralTab& t = p.showCurrent().tab;
        for (Control* c : std::vector<Control*>{&t.chkLogonToNT, &t.chkQuickLogon,
                                                &t.chkDisablePWDCache, &t.txtWorkGroup,
                                                &t.lblWorkgroup, &t.lblNTDomain, &t.txtNTDomain})
            EXPECT_EQ(c->enabled(), w) << sample << " " << c->name();
        EXPECT_EQ(t.txtWorkGroup.backColor(), w ? colour::WindowBackground : colour::ButtonFace);
    }
}

TEST(GeneralTab, FillingAFileRaisesTheFlagsButNotTheUnsavedMark) {
    Page p("win2000");
    p.showCurrent();
    const auto file = p.image->dir() / "Lab.vtl";
    test::writeFile(file,
                    "[Network]\r\nAdapter=Intel(R) PRO Adapter "
                    "Driver\r\nIPAddress=192.168.7.20\r\n"
                    "DefaultGateway=192.168.7.1\r\nHostName=lab\r\nDHCP=0\r\nWINS=0\r\n"
                    "[Printer]\r\nDefaultPrinter=HP LaserJet 2100 Series PCL 6\r\n");
    p.net().LoadConfigurationFile(file.string());
    GeneralTab& t = p.showFile().tab;

    EXPECT_FALSE(p.unsaved());
    EXPECT_TRUE(p.dialogs.modeless.empty());  // no adapter warning while loading
    EXPECT_EQ(t.cmbNIC.listIndex(), 1);
    EXPECT_EQ(t.txtIP.text(), "192.168.7.20");
    EXPECT_EQ(t.chkWINSEnabled.value() + t.chkDHCPEnabled.value(), 0);
    EXPECT_EQ(p.net().IPAddress(), "192.168.7.20");
    for (NetFlag flag : {NetFlag::IPAddress, NetFlag::DefaultGateway, NetFlag::Host,
                         NetFlag::WINSEnabled, NetFlag::DefaultPrinter})
        EXPECT_TRUE(p.net().Changed(flag)) << static_cast<int>(flag);
    t.txtHost.userType("lab2");
    EXPECT_TRUE(p.unsaved());
}

TEST(GeneralTab, AdapterWarningOnceOnlyForAFileAndItsCheckBox) {
    struct Case {
        bool file, setting, tick;
        bool shown;
    };
    for (const Case& c : {Case{false, true, false, false}, Case{true, false, false, false},
                          Case{true, true, false, true}, Case{true, true, true, true}}) {
        Page p("win2000");
        c.file ? p.showFile() : p.showCurrent();
        p.window.nicWarning = c.setting;
        for (int pick : {1, 0, 1})
            p.tab.cmbNIC.userSelect(pick);
        ASSERT_EQ(p.dialogs.modeless.size(), c.shown ? 1u : 0u);
        EXPECT_EQ(p.window.nicWarning, c.setting && !c.shown);
        if (!c.shown)
            continue;
        auto& warning = dynamic_cast<frmNICWarning&>(*p.dialogs.modeless[0]);
        EXPECT_TRUE(warning.visible());
        if (c.tick)
            warning.chkWarning.userClick();
        warning.cmdOK.userClick();
        EXPECT_FALSE(warning.visible());
        EXPECT_EQ(GetRegSetting(kAppName, "Options", "NICWarning", "-"), c.tick ? "0" : "1");
    }
}

TEST(GeneralTab, PickingAnAdapterShowsItsOwnSettingsUnmarked) {
    Page p("win2000");
    GeneralTab& t = p.showCurrent().tab;
    t.cmbNIC.userSelect(1);  // DHCP, no WINS
    EXPECT_EQ(t.txtIP.text(), "");
    EXPECT_EQ(t.chkDHCPEnabled.value() * 10 + t.chkWINSEnabled.value(), 10);
    EXPECT_TRUE(p.net().DHCPEnabled());
    EXPECT_FALSE(t.txtIP.enabled() || t.chkIPNo.enabled());
    t.cmbNIC.userSelect(0);  // WINS, no DHCP
    EXPECT_EQ(t.txtGateway.text(), "10.20.30.1,10.20.31.1");
    EXPECT_EQ(t.chkDHCPEnabled.value() * 10 + t.chkWINSEnabled.value(), 1);
    EXPECT_TRUE(p.net().WINSEnabled());
    EXPECT_FALSE(p.net().DHCPEnabled());
    EXPECT_TRUE(t.txtIP.enabled() && t.chkIPNo.enabled());
    EXPECT_FALSE(p.unsaved() || p.reset() || p.window.loading);
}

TEST(GeneralTab, TypingWritesTheModelAndMarksTheStatus) {
    struct Case {
        TextBox GeneralTab::*box;
        std::string typed, shown;
        Getter item;
        std::string stored;
        bool reset;
    };
    const std::vector<Case> cases = {
        {&GeneralTab::txtHost, " lab-pc ", " lab-pc ", ITEM(Host), "lab-pc", false},
        {&GeneralTab::txtComputerName, "LAB98", "LAB98", ITEM(ComputerName), "LAB98", true},
        {&GeneralTab::txtIP, "10.1.2.99", "10.1.2.99", ITEM(IPAddress), "10.1.2.99,192.168.50.21",
         true},
        {&GeneralTab::txtIP, "0.0.0.0", "", ITEM(IPAddress), "192.168.50.21", true},
        {&GeneralTab::txtGateway, "0.0.0.0", "", ITEM(DefaultGateway), "", true},
    };
    for (const Case& c : cases) {
        Page p("win98");
        TextBox& box = p.showCurrent().tab.*c.box;
        box.userType(c.typed);
        EXPECT_EQ(box.text(), c.shown) << box.name();
        EXPECT_EQ(c.item(p.net()), c.stored) << box.name();
        EXPECT_TRUE(p.unsaved());
        EXPECT_EQ(p.reset(), c.reset) << box.name();
    }
}

TEST(GeneralTab, CheckBoxesWriteTheModelAndSwitchTheirBoxes) {
    struct Case {
        CheckBox GeneralTab::*box;
        std::function<bool(const clsNetConfig&)> item;
        std::vector<TextBox GeneralTab::*> boxes;  // disabled with it
        bool reset;
    };
    const std::vector<Case> cases = {
        {&GeneralTab::chkDNSEnabled,
         [](const clsNetConfig& n) { return n.DNSEnabled(); },
         {&GeneralTab::txtHost, &GeneralTab::txtDomain, &GeneralTab::txtDNSServers,
          &GeneralTab::txtDNSOrder},
         false},
        {&GeneralTab::chkWINSEnabled,
         [](const clsNetConfig& n) { return n.WINSEnabled() || n.DHCPEnabled(); },
         {&GeneralTab::txtWINSServer1, &GeneralTab::txtWINSServer2, &GeneralTab::txtWINSScopeID},
         true},
        {&GeneralTab::chkLogonToNT,
         [](const clsNetConfig& n) { return n.NTLogonEnabled(); },
         {&GeneralTab::txtNTDomain},
         true},
    };
    for (const Case& c : cases) {
        Page p("win98");  // each of these is ticked there
        GeneralTab& t = p.showCurrent().tab;
        CheckBox& check = t.*c.box;
        ASSERT_EQ(check.value(), 1) << check.name();
        check.userClick();
        EXPECT_FALSE(c.item(p.net())) << check.name();
        for (auto box : c.boxes)
            EXPECT_EQ((t.*box).enabled() ? 0 : (t.*box).backColor(), colour::ButtonFace);
        EXPECT_TRUE(p.unsaved());
        EXPECT_EQ(p.reset(), c.reset) << check.name();
    }
    Page p("win98");
    GeneralTab& t = p.showCurrent().tab;
    t.chkEnableDefPrinter.userClick();
    EXPECT_FALSE(t.cmbDefPrinter.enabled());
    t.chkWINSEnabled.userClick();
    EXPECT_TRUE(t.chkDHCPEnabled.enabled());
}

TEST(GeneralTab, DhcpOnThenOffRestoresTheAddressBoxes) {
    Page p("win2000");
    GeneralTab& t = p.showCurrent().tab;
    t.chkWINSEnabled.userClick();  // WINS off lets DHCP be ticked
    t.chkDHCPEnabled.userClick();
    for (TextBox* box : {&t.txtIP, &t.txtMask, &t.txtGateway})
        EXPECT_TRUE(box->text().empty() && !box->enabled() &&
                    box->backColor() == colour::ButtonFace)
            << box->name();
    EXPECT_FALSE(t.chkIPNo.enabled() || t.chkWINSEnabled.enabled());
    EXPECT_EQ(p.net().IPAddress(), "10.20.31.40");

    t.chkDHCPEnabled.userClick();
    EXPECT_EQ(t.txtIP.text() + " " + t.txtMask.text() + " " + t.txtGateway.text(),
              "10.20.30.40 255.255.255.0 10.20.30.1,10.20.31.1");
    for (TextBox* box : {&t.txtIP, &t.txtMask, &t.txtGateway})
        EXPECT_TRUE(box->enabled() && box->backColor() == colour::WindowBackground);
    EXPECT_TRUE(t.chkIPNo.enabled() && t.chkWINSEnabled.enabled());
    EXPECT_EQ(p.net().IPAddress(), "10.20.30.40,10.20.31.40");
    EXPECT_EQ(p.net().DefaultGateway(), "10.20.30.1,10.20.31.1");
    EXPECT_FALSE(p.net().DHCPEnabled() || p.net().WINSEnabled());
}

TEST(GeneralTab, AddressListsKeepEntriesTheBoxesDoNotShow) {
    Page p("win2000");
    p.net().IPAddress("1.1.1.1,2.2.2.2,3.3.3.3,4.4.4.4");
    GeneralTab& t = p.showFile().tab;
    t.txtIP.userType("9.9.9.1");
    t.chkIPNo.userSelect(2);
    t.txtIP.userType("9.9.9.3");
    EXPECT_EQ(p.net().IPAddress(), "9.9.9.1,2.2.2.2,9.9.9.3,4.4.4.4");
    t.chkIPNo.userSelect(1);
    t.txtIP.userType("");
    EXPECT_EQ(p.net().IPAddress(), "9.9.9.1,9.9.9.3,4.4.4.4");
    t.chkIPNo.userSelect(2);
    EXPECT_EQ(t.txtIP.text(), "9.9.9.3");
}

TEST(GeneralTab, LeavingAnAddressBoxChecksIt) {
    const std::string list = " address list separated by commas (e.g. 192.168.101.5,192.168.101.6)";
    struct Case {
        TextBox GeneralTab::*box;
        std::string text;
        std::string message;  // empty: none
    };
    const std::vector<Case> cases = {
        {&GeneralTab::txtIP, "10.20.30.41", ""},
        {&GeneralTab::txtIP, "10.20.30", "Please enter a valid IP address (e.g. 192.168.101.5)"},
        {&GeneralTab::txtGateway, "10.20.30.1,", "Please enter a valid Gateway" + list},
        {&GeneralTab::txtDNSServers, "10.0.0.1; 10.0.0.2",
         "Please enter a valid DNS Server" + list},
        {&GeneralTab::txtHost, "not an address", ""},
    };
    for (const Case& c : cases) {
        Page p("win2000");
        TextBox& box = p.showCurrent().tab.*c.box;
        box.userType(c.text);
        box.userLeave();
        EXPECT_EQ(box.hasFocus(), !c.message.empty()) << c.text;
        if (c.message.empty()) {
            EXPECT_TRUE(p.dialogs.boxes.empty()) << c.text;
            continue;
        }
        ASSERT_EQ(p.dialogs.boxes.size(), 1u);
        EXPECT_EQ(p.dialogs.boxes[0].text, c.message);
        EXPECT_EQ(p.dialogs.boxes[0].style, platform::mb::OK);
        EXPECT_EQ(p.dialogs.boxes[0].caption, "Vantrel");
        EXPECT_EQ(box.text(), c.text);  // nothing is undone
        EXPECT_TRUE(p.net().IPAddress() == c.text + ",10.20.31.40" ||
                    p.net().IPMask() == c.text + ",255.255.254.0" ||
                    p.net().DefaultGateway() == c.text || p.net().DNSServers() == c.text);
    }
}

TEST(GeneralTab, DefaultPrinterList) {
    {
        Page p("win2000");
        GeneralTab& t = p.showCurrent().tab;
        p.net().resetFlags();
        t.cmbDefPrinter.userSelect(0);
        EXPECT_EQ(p.net().DefaultPrinter(), "HP LaserJet 2100 Series PCL 6");
        EXPECT_TRUE(p.net().Changed(NetFlag::DefaultPrinter));
        EXPECT_EQ(p.net().PrinterPort(), "LPT1:");
        EXPECT_TRUE(p.unsaved() && !p.reset());
    }
    {
        Page p("win2000");
        p.net().DefaultPrinter("xerox docuprint n2125");  // case matters
        GeneralTab& t = p.showFile().tab;
        EXPECT_EQ(t.cmbDefPrinter.listCount(), 2);
        EXPECT_EQ(t.cmbDefPrinter.listIndex(), -1);
        EXPECT_FALSE(p.net().Changed(NetFlag::DefaultPrinter));
    }
    {
        Page p("win2000", rename("\\Print\\Printers\\", "\\Print\\Removed\\"));
        GeneralTab& t = p.showCurrent().tab;
        EXPECT_EQ(t.cmbDefPrinter.list(), std::vector<std::string>{"No Printers Installed"});
        EXPECT_EQ(t.chkEnableDefPrinter.value(), 1);
        EXPECT_FALSE(t.cmbDefPrinter.enabled());
        EXPECT_FALSE(p.window.mnuFilePrintSetup.enabled() || p.window.mnuFilePrint.enabled());
        EXPECT_EQ(p.net().DefaultPrinter(), "Xerox DocuPrint N2125");
        EXPECT_FALSE(p.net().Changed(NetFlag::DefaultPrinter));
    }
}

TEST(GeneralTab, WithoutAUsableAdapterTheAdapterControlsAreDisabled) {
    struct Case {
        std::string sample;
        RegistryEdit edit;
        std::string shown;
        bool w;
    };
    const std::vector<Case> cases = {
        {"win2000", rename("CurrentVersion\\NetworkCards", "CurrentVersion\\Removed"),
         "No Adapters Installed", false},
        {"win98",
         rename("3Com Fast EtherLink XL 10/100Mb TX Ethernet NIC (3C905B-TX)",
                "[Unknown Adapter Type]"),
         "[Unknown Adapter Type]", true},
    };
    for (const Case& c : cases) {
        Page p(c.sample, c.edit);
        GeneralTab& t = p.showCurrent().tab;
        const bool none = c.shown == "No Adapters Installed";
        EXPECT_EQ(t.cmbNIC.text(), c.shown);
        EXPECT_EQ(t.cmbNIC.enabled() && t.hasAdapters, !none);
        for (Control* ctl : std::vector<Control*>{
                 &t.txtHost, &t.chkDNSEnabled, &t.txtIP, &t.txtMask, &t.txtGateway,
                 &t.txtDNSServers, &t.txtWINSServer1, &t.txtWINSScopeID, &t.chkWINSEnabled,
                 &t.chkDHCPEnabled, &t.chkLogonToNT, &t.txtNTDomain, &t.chkQuickLogon,
                 &t.txtWorkGroup})
            EXPECT_FALSE(ctl->enabled()) << c.shown << " " << ctl->name();
        EXPECT_EQ(t.txtComputerName.enabled(), none);
        EXPECT_EQ(t.lblWorkgroup.enabled() && t.lblNTDomain.enabled(), c.w);
        EXPECT_TRUE(t.chkIPNo.enabled() && t.cmbDefPrinter.enabled());
    }
}

TEST(GeneralTab, AdvancedPrinterButton) {
    struct Case {
        std::function<void(frmPrinter&)> user;
        bool unsaved;
        std::string port;
    };
    const std::vector<Case> cases = {
        {[](frmPrinter& f) {
             f.chkEnableAdvSettings.userClick();
             f.txtPrinterPort.userType("LPT2:");
             f.cmdOK.userClick();
         },
         true, "LPT2:"},
        {[](frmPrinter& f) {
             f.txtPrinterPort.userType("LPT2:");
             f.cmdCancel.userClick();
         },
         false, "IP_10.20.30.250"},
        {[](frmPrinter&) {}, true, "IP_10.20.30.250"},  // closed without a button
    };
    for (const Case& c : cases) {
        Page p("win2000");
        p.showCurrent();
        p.dialogs.user = [&](Form& form) {
            auto& dialog = dynamic_cast<frmPrinter&>(form);
            EXPECT_EQ(dialog.txtPrinterPort.text(), "IP_10.20.30.250");
            c.user(dialog);
        };
        p.tab.cmdPrinter.userClick();
        EXPECT_EQ(p.dialogs.modalCount, 1);
        EXPECT_EQ(p.unsaved(), c.unsaved);
        EXPECT_FALSE(p.reset());
        EXPECT_EQ(p.net().PrinterPort(), c.port);
    }
}

TEST(GeneralTab, LongAndControlCharacterTextsAreTakenAsTyped) {
    for (const std::string& text : {std::string(10000, 'x'), std::string("a\tb\x01\r\n\x7f", 7)}) {
        Page p("win98");
        GeneralTab& t = p.showCurrent().tab;
        for (TextBox* box :
             {&t.txtHost, &t.txtDomain, &t.txtIP, &t.txtMask, &t.txtGateway, &t.txtDNSServers,
              &t.txtDNSOrder, &t.txtWINSServer1, &t.txtWINSServer2, &t.txtWINSScopeID,
              &t.txtNTDomain, &t.txtComputerName, &t.txtWorkGroup}) {
            box->userType(text);
            box->userLeave();
            const bool limited = box == &t.txtIP || box == &t.txtMask ||
                                 box == &t.txtComputerName || box == &t.txtWorkGroup;
            EXPECT_EQ(box->maxLength(), limited ? 15u : 0u);
            EXPECT_EQ(box->text(), text.substr(0, limited ? 15 : text.size())) << box->name();
        }
        EXPECT_EQ(p.net().Host(), text);
        EXPECT_EQ(p.net().ComputerName(), text.substr(0, 15));
        EXPECT_EQ(p.dialogs.boxes.size(), 4u);  // the four address boxes
    }
}

}  // namespace
}  // namespace vtl::ui
