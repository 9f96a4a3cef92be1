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
#include "support/RegProbe.h"
#include "support/ScriptedDialogs.h"
#include "support/TestImage.h"
#include "ui/GeneralTab.h"
#include "ui/frmNICWarning.h"

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
        {&GeneralTab::txtIP, "10.1.2.99", "10.1.2.99", ITEM(IPAddress), "10.1.2.99,192.168.50.21",
         true},
        {&GeneralTab::txtIP, "0.0.0.0", "", ITEM(IPAddress), "192.168.50.21", true},
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

TEST(GeneralTab, UntickingDnsWritesTheModelAndDisablesItsBoxes) {
    Page p("win98");
    GeneralTab& t = p.showCurrent().tab;
    ASSERT_EQ(t.chkDNSEnabled.value(), 1);
    t.chkDNSEnabled.userClick();
    EXPECT_FALSE(p.net().DNSEnabled());
    for (TextBox* box : {&t.txtHost, &t.txtDomain, &t.txtDNSServers, &t.txtDNSOrder})
        EXPECT_EQ(box->enabled() ? 0 : box->backColor(), colour::ButtonFace) << box->name();
    EXPECT_TRUE(p.unsaved());
    EXPECT_FALSE(p.reset());
    t.chkEnableDefPrinter.userClick();
    EXPECT_FALSE(t.cmbDefPrinter.enabled());
}

TEST(GeneralTab, DhcpOnThenOffRestoresTheAddressBoxes) {
    Page p("win2000");
    GeneralTab& t = p.showCurrent().tab;
    EXPECT_FALSE(t.chkDHCPEnabled.enabled());
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

// A file's DHCP and WINS over each adapter state the tab may show: each box shows
// what the model holds (with both on, DHCP wins) and the apply writes just that.
TEST(GeneralTab, FileDhcpAndWinsShowWhatTheModelHoldsAndApplies) {
    const std::string key =
        "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000";
    const std::optional<test::RawValue> absent, wins8 = test::sz("8"), static1 = test::sz("1");
    // The shown adapter's "NodeType" (the sample's is "8") and its boxes DHCP, WINS.
    const std::tuple<std::string, const char*, int> adapters[] = {
        {"\"Other\"=\"8\"", "DHCP", 2}, {"\"NodeType\"=\"1\"", "static", 0}, {"", "WINS", 1}};
    for (const auto& [nodeType, name, boxes] : adapters) {
        for (int bits = 0; bits < 4; ++bits) {
            const bool dhcp = bits & 1, wins = bits & 2;
            SCOPED_TRACE(std::string(name) + " adapter, file DHCP=" + std::to_string(dhcp) +
                         " WINS=" + std::to_string(wins));
            Page p("win98",
                   nodeType.empty() ? RegistryEdit{} : rename("\"NodeType\"=\"8\"", nodeType));
            GeneralTab& t = p.showCurrent().tab;
            ASSERT_EQ(t.chkDHCPEnabled.value() * 2 + t.chkWINSEnabled.value(), boxes);
            const auto file = p.image->dir() / "Hand.vtl";
            test::writeFile(file, "[Network]\r\nDHCP=" + std::to_string(dhcp) +
                                      "\r\nWINS=" + std::to_string(wins) + "\r\n");
            p.net().LoadConfigurationFile(file.string());
            p.showFile();
            EXPECT_EQ(p.net().DHCPEnabled(), dhcp);
            EXPECT_EQ(p.net().WINSEnabled(), wins && !dhcp);
            EXPECT_EQ(t.chkDHCPEnabled.value(), p.net().DHCPEnabled() ? 1 : 0);
            EXPECT_EQ(t.chkWINSEnabled.value(), p.net().WINSEnabled() ? 1 : 0);
            p.net().ApplyConfiguration();
            EXPECT_EQ(test::RegProbe::get(key, "NodeType"), dhcp ? absent : wins ? wins8 : static1);
        }
    }
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

TEST(GeneralTab, WithoutAdaptersTheAdapterControlsAreDisabled) {
    Page p("win2000", rename("CurrentVersion\\NetworkCards", "CurrentVersion\\Removed"));
    GeneralTab& t = p.showCurrent().tab;
    EXPECT_EQ(t.cmbNIC.text(), "No Adapters Installed");
    EXPECT_FALSE(t.cmbNIC.enabled() || t.hasAdapters);
    for (Control* ctl : std::vector<Control*>{
             &t.txtHost, &t.chkDNSEnabled, &t.txtIP, &t.txtMask, &t.txtGateway, &t.txtDNSServers,
             &t.txtWINSServer1, &t.txtWINSScopeID, &t.chkWINSEnabled, &t.chkDHCPEnabled,
             &t.chkLogonToNT, &t.txtNTDomain, &t.chkQuickLogon, &t.txtWorkGroup, &t.lblWorkgroup})
        EXPECT_FALSE(ctl->enabled()) << ctl->name();
    EXPECT_TRUE(t.txtComputerName.enabled());
    EXPECT_TRUE(t.chkIPNo.enabled() && t.cmbDefPrinter.enabled());
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
