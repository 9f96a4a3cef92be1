// The "Network" and "Printer" sections of a configuration file, and applying
// what a file holds, across the three sample systems.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "support/NetTest.h"

namespace vtl {
namespace {

using test::RegProbe;
using test::TestImage;

// Keys of one section of an INI text, in file order, with their values.
std::vector<std::pair<std::string, std::string>> sectionOf(const std::string& text,
                                                           const std::string& section) {
    std::vector<std::pair<std::string, std::string>> keys;
    std::istringstream in(text);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inside = line == "[" + section + "]";
        } else if (inside && line.find('=') != std::string::npos) {
            keys.emplace_back(line.substr(0, line.find('=')), line.substr(line.find('=') + 1));
        }
    }
    return keys;
}

std::vector<std::string> namesOf(const std::vector<std::pair<std::string, std::string>>& keys) {
    std::vector<std::string> names;
    for (const auto& k : keys)
        names.push_back(k.first);
    return names;
}

// Every item a configuration file carries, as text.
struct Item {
    const char* name;
    std::function<std::string(const clsNetConfig&)> get;
    bool only9x = false;
};
std::string b(bool v) {
    return v ? "1" : "0";
}
const Item kItems[] = {
    {"IPAddress", [](auto& n) { return n.IPAddress(); }},
    {"IPMask", [](auto& n) { return n.IPMask(); }},
    {"DefaultGateway", [](auto& n) { return n.DefaultGateway(); }},
    {"DNSServers", [](auto& n) { return n.DNSServers(); }},
    {"Host", [](auto& n) { return n.Host(); }},
    {"DomainName", [](auto& n) { return n.DomainName(); }},
    {"SearchList", [](auto& n) { return n.SearchList(); }},
    {"WINSServer1", [](auto& n) { return n.WINSServer1(); }},
    {"WINSServer2", [](auto& n) { return n.WINSServer2(); }},
    {"ScopeID", [](auto& n) { return n.ScopeID(); }},
    {"DNSEnabled", [](auto& n) { return b(n.DNSEnabled()); }},
    {"ComputerName", [](auto& n) { return n.ComputerName(); }},
    {"Workgroup", [](auto& n) { return n.Workgroup(); }},
    {"NTLogonEnabled", [](auto& n) { return b(n.NTLogonEnabled()); }},
    {"NTDomain", [](auto& n) { return n.NTDomain(); }},
    {"DHCPEnabled", [](auto& n) { return b(n.DHCPEnabled()); }},
    {"WINSEnabled", [](auto& n) { return b(n.WINSEnabled()); }},
    {"DisablePWDCache", [](auto& n) { return b(n.DisablePWDCache()); }, true},
    {"QuickLogon", [](auto& n) { return b(n.QuickLogon()); }, true},
    {"DefaultPrinter", [](auto& n) { return n.DefaultPrinter(); }},
    {"EnableAdvPrinterSettings", [](auto& n) { return b(n.EnableAdvPrinterSettings()); }},
    {"PrinterPort", [](auto& n) { return n.PrinterPort(); }},
    {"PrinterCaptureDev", [](auto& n) { return n.PrinterCaptureDev(); }},
    {"PrinterCapturePath", [](auto& n) { return n.PrinterCapturePath(); }},
    {"PrinterCaptureReconnect", [](auto& n) { return b(n.PrinterCaptureReconnect()); }},
    {"EnableDefaultPrinter", [](auto& n) { return b(n.EnableDefaultPrinter()); }},
};

class NetFile : public ::testing::TestWithParam<std::string> {
  protected:
    std::unique_ptr<TestImage> image = TestImage::sample(test::sampleOf(GetParam()));
    std::string file = (image->dir().parent_path() / "saved.vtl").string();
};

TEST_P(NetFile, SavesTheKeysInTheirOrder) {
    auto net = test::loadedNet(GetParam());
    net->IPMask("");
    net->SaveConfigurationFile(file);
    const std::string text = test::readFile(file);
    std::vector<std::string> network = {
        "Adapter",      "IPAddress",  "IPMask",      "DefaultGateway", "NameServer", "HostName",
        "Domain",       "SearchList", "NameServer1", "NameServer2",    "ScopeID",    "EnableDNS",
        "ComputerName", "Workgroup",  "NTLogon",     "NTDomain",       "DHCP",       "WINS"};
    if (GetParam() == "9x") {
        network.push_back("DisablePWDCache");
        network.push_back("QuickLogon");
    }
    EXPECT_EQ(namesOf(sectionOf(text, "Network")), network);
    EXPECT_EQ(namesOf(sectionOf(text, "Printer")),
              (std::vector<std::string>{"DefaultPrinter", "AdvancedSettingsEnabled", "PrinterPort",
                                        "PrinterCaptureDevice", "PrinterCapturePath",
                                        "ReConnectAtLogon", "EnableDefaultPrinter"}));
    auto keys = sectionOf(text, "Network");
    EXPECT_EQ(keys[0].second, (*net->AdapterList())[0]);
    EXPECT_EQ(keys[2].second, "0.0.0.0");  // an empty mask
    EXPECT_EQ(keys[1].second, net->IPAddress());
}

TEST_P(NetFile, NoAdaptersIsSaidSo) {
    RegProbe::removeKey("HKEY_LOCAL_MACHINE\\Enum");
    RegProbe::removeKey(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards");
    auto net = test::loadedNet(GetParam());
    EXPECT_EQ(net->CurrentAdapter(), -1);
    net->SaveConfigurationFile(file);
    auto keys = sectionOf(test::readFile(file), "Network");
    EXPECT_EQ(keys[0], (std::pair<std::string, std::string>{"Adapter", "No Adapters Installed"}));
    EXPECT_EQ(keys[1], (std::pair<std::string, std::string>{"IPAddress", "0.0.0.0"}));
    // Loading it back leaves the object without an adapter.
    net->LoadConfigurationFile(file);
    EXPECT_EQ(net->CurrentAdapter(), -1);
}

TEST_P(NetFile, LoadingAssignsFieldsWithoutFlags) {
    struct Case {
        const char* line;
        std::function<std::string(const clsNetConfig&)> get;
        std::string expected;  // "*" for: as read from the PC
    };
    const Case cases[] = {
        {"HostName=*NC*", [](auto& n) { return n.Host(); }, "*"},
        {"EnableDNS=*NC*", [](auto& n) { return b(n.DNSEnabled()); }, "*"},
        {"NameServer= 10.0.0.9 ", [](auto& n) { return n.DNSServers(); }, "10.0.0.9"},
        {"Domain=", [](auto& n) { return n.DomainName(); }, ""},
        {"Workgroup=  ", [](auto& n) { return n.Workgroup(); }, ""},
        {"EnableDNS=yes", [](auto& n) { return b(n.DNSEnabled()); }, "0"},
        {"EnableDNS=1", [](auto& n) { return b(n.DNSEnabled()); }, "1"},
        {"DHCP=1", [](auto& n) { return b(n.DHCPEnabled()); }, "1"},
        {"LMHostFile=C:\\HOSTS", [](auto& n) { return n.LMHostFile(); }, "C:\\HOSTS"},
        {"IPAddress=0.0.0.0", [](auto& n) { return n.IPAddress(); }, "0.0.0.0"},
        {"EnableDefaultPrinter=0", [](auto& n) { return b(n.EnableDefaultPrinter()); }, "0"},
        {"EnableDefaultPrinter=", [](auto& n) { return b(n.EnableDefaultPrinter()); }, "1"},
        {"EnableDefaultPrinter=yes", [](auto& n) { return b(n.EnableDefaultPrinter()); }, "0"},
        {"DefaultPrinter=Not Installed", [](auto& n) { return n.DefaultPrinter(); },
         "Not Installed"},
        {"PrinterCaptureDevice=LPT2", [](auto& n) { return n.PrinterCaptureDev(); }, "LPT2"},
    };
    for (const Case& c : cases) {
        const std::string line = c.line;
        const bool printer =
            line.find("Printer") != std::string::npos || line.find("Capture") != std::string::npos;
        test::writeFile(file,
                        std::string(printer ? "[Printer]\r\n" : "[Network]\r\n") + line + "\r\n");
        auto net = test::loadedNet(GetParam());
        const std::string before = c.get(*net);
        net->LoadConfigurationFile(file);
        EXPECT_EQ(c.get(*net), c.expected == "*" ? before : c.expected) << c.line;
        EXPECT_FALSE(test::anyFlag(*net)) << c.line;
        auto writes = test::writesDuring(*image, [&] { net->ApplyConfiguration(); });
        EXPECT_EQ(writes.total(), 0u) << c.line;
    }
    // A missing key empties a text item and makes a Boolean False.
    test::writeFile(file, "[Network]\r\n");
    auto net = test::loadedNet(GetParam());
    net->LoadConfigurationFile(file);
    EXPECT_EQ(net->ComputerName(), "");
    EXPECT_FALSE(net->DNSEnabled());
    EXPECT_TRUE(net->EnableDefaultPrinter());
}

TEST_P(NetFile, HostileValuesAreCutAndNeverWritten) {
    const std::string longValue(10000, '7');
    struct Case {
        const char* name;
        std::string value;
        std::string expected;
    };
    const Case cases[] = {
        {"10,000 characters", longValue, std::string(254, '7')},
        {"NUL inside",
         std::string("10.0.0.1\0"
                     "10.0.0.2",
                     17),
         "10.0.0.1"},
        {"control characters", "10.\x01\x02\x1b.0.1", "10.\x01\x02\x1b.0.1"},
    };
    for (const Case& c : cases) {
        std::string text = "[Network]\r\nAdapter=" + c.value + "\r\n";
        for (const char* key : {"IPAddress", "HostName", "ComputerName", "NameServer1", "DHCP"}) {
            text += std::string(key) + "=" + c.value + "\r\n";
        }
        text += "[Printer]\r\nDefaultPrinter=" + c.value + "\r\n";
        test::writeFile(file, text);
        auto net = test::loadedNet(GetParam());
        net->LoadConfigurationFile(file);
        EXPECT_EQ(net->CurrentAdapter(), 0) << c.name;
        EXPECT_EQ(net->IPAddress(), c.expected) << c.name;
        EXPECT_EQ(net->ComputerName(), c.expected) << c.name;
        EXPECT_EQ(net->DefaultPrinter(), c.expected) << c.name;
        EXPECT_FALSE(net->DHCPEnabled()) << c.name;
        auto writes = test::writesDuring(*image, [&] { net->ApplyConfiguration(); });
        EXPECT_EQ(writes.total(), 0u) << c.name;
        // Saving and loading again keeps what was held (values pass unchanged).
        net->SaveConfigurationFile(file);
        auto again = test::loadedNet(GetParam());
        again->LoadConfigurationFile(file);
        EXPECT_EQ(again->Host(), net->Host()) << c.name;
    }
}

TEST_P(NetFile, ApplyingTwiceWritesOnlyThePrinterPortAgain) {
    auto net = test::loadedNet(GetParam());
    net->Host("twice");
    net->WINSEnabled(true);
    net->EnableAdvPrinterSettings(true);
    net->PrinterCaptureDev("(None)");
    auto first = test::writesDuring(*image, [&] { net->ApplyConfiguration(); });
    EXPECT_GT(first.total(), 1u);
    auto second = test::writesDuring(*image, [&] { net->ApplyConfiguration(); });
    EXPECT_EQ(second.total(), 1u);  // "Port" of the default printer
    net->EnableAdvPrinterSettings(false);
    auto third = test::writesDuring(*image, [&] { net->ApplyConfiguration(); });
    EXPECT_EQ(third.total(), 0u);
    EXPECT_TRUE(image->messages().empty());
}

TEST_P(NetFile, DefaultPrinterIsAppliedOnlyWhenInstalledAndEnabled) {
    // The system's default printer is what a new run starts with.
    auto systemDefault = [&] {
        image->restart();
        return test::loadedNet(GetParam())->DefaultPrinter();
    };
    std::string other;
    {
        auto net = test::loadedNet(GetParam());
        const auto printers = net->printerList().value_or(std::vector<std::string>{});
        for (const auto& p : printers) {
            if (p != net->DefaultPrinter())
                other = p;
        }
        ASSERT_FALSE(other.empty());
        net->DefaultPrinter("No Such Printer");
        EXPECT_FALSE(net->Changed(NetFlag::DefaultPrinter));
        EXPECT_EQ(net->DefaultPrinter(), "No Such Printer");
        net->DefaultPrinter(other);
        EXPECT_TRUE(net->Changed(NetFlag::DefaultPrinter));
        net->EnableDefaultPrinter(false);
        net->ApplyConfiguration();
    }
    EXPECT_NE(systemDefault(), other);
    {
        auto net = test::loadedNet(GetParam());
        net->DefaultPrinter(other);
        net->ApplyConfiguration();
    }
    EXPECT_EQ(systemDefault(), other);
}

INSTANTIATE_TEST_SUITE_P(Systems, NetFile, ::testing::Values("9x", "NT", "2K"));

// A file saved on one system and loaded on another keeps every item the
// other system carries.
TEST(NetFileAcross, SavedOnOneSystemLoadedOnAnother) {
    const char* systems[] = {"9x", "NT", "2K"};
    for (const char* from : systems) {
        std::string file;
        std::vector<std::string> saved;
        auto source = TestImage::sample(test::sampleOf(from));
        file = (source->dir().parent_path() / "moved.vtl").string();
        {
            auto net = test::loadedNet(from);
            net->Workgroup("MOVED");
            net->NTDomain("MOVEDDOM");
            net->NTLogonEnabled(true);
            net->LMHostFile("C:\\MOVED");
            net->EnableAdvPrinterSettings(true);
            net->PrinterCaptureDev("LPT3");
            net->PrinterCapturePath("\\\\SRV\\Q");
            net->SaveConfigurationFile(file);
            for (const Item& item : kItems)
                saved.push_back(item.get(*net));
        }
        const std::string text = test::readFile(file);
        source->stop();
        for (const char* to : systems) {
            SCOPED_TRACE(std::string(from) + " to " + to);
            auto target = TestImage::sample(test::sampleOf(to));
            test::writeFile(file, text);
            auto net = test::loadedNet(to);
            net->LoadConfigurationFile(file);
            EXPECT_EQ(net->CurrentAdapter(), 0);
            for (std::size_t i = 0; i < std::size(kItems); ++i) {
                const Item& item = kItems[i];
                const bool carried =
                    !item.only9x || (std::string(from) == "9x" && std::string(to) == "9x");
                if (carried) {
                    EXPECT_EQ(item.get(*net), saved[i]) << item.name;
                }
            }
            EXPECT_EQ(net->LMHostFile(), "") << "not saved";
        }
    }
}

// The adapter named in a file: the last exact match wins, anything else selects
// the first adapter.
TEST(NetFileAdapter, LastExactMatchWins) {
    auto image = TestImage::sample("nt4");
    const std::string cards =
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\";
    RegProbe::set(cards + "3", "Hidden", test::dword(0));
    RegProbe::set(cards + "3", "Title", test::sz("[2] Intel EtherExpress PRO/100B PCI Adapter"));
    const std::string file = (image->dir().parent_path() / "a.vtl").string();
    struct Case {
        std::string adapter;
        std::int16_t expected;
    };
    const Case cases[] = {
        {"[2] Intel EtherExpress PRO/100B PCI Adapter", 2},
        {"[1] 3Com Fast EtherLink XL Adapter (3C905)", 0},
        {"[2] intel etherexpress pro/100b pci adapter", 0},
        {"No Such Adapter", 0},
        {"", 0},
    };
    for (const Case& c : cases) {
        test::writeFile(file, "[Network]\r\nAdapter=" + c.adapter + "\r\nIPAddress=10.3.3.3\r\n");
        clsNetConfigNT net;
        net.loadConfiguration();
        ASSERT_EQ(net.AdapterList()->size(), 3u);
        net.CurrentAdapterNoRefresh(1);
        net.LoadConfigurationFile(file);
        EXPECT_EQ(net.CurrentAdapter(), c.expected) << c.adapter;
        EXPECT_EQ(net.IPAddress(), "10.3.3.3") << c.adapter;
        EXPECT_FALSE(test::anyFlag(net));
    }
}

}  // namespace
}  // namespace vtl
