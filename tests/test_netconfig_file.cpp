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
using KeyValue = std::pair<std::string, std::string>;

// Keys of one section of an INI text, in file order, with their values.
std::vector<KeyValue> sectionOf(const std::string& text, const std::string& section) {
    std::vector<KeyValue> keys;
    std::istringstream in(text);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[')
            inside = line == "[" + section + "]";
        else if (inside && line.find('=') != std::string::npos)
            keys.emplace_back(line.substr(0, line.find('=')), line.substr(line.find('=') + 1));
    }
    return keys;
}
std::vector<std::string> namesOf(const std::vector<KeyValue>& keys) {
    std::vector<std::string> names;
    for (const auto& k : keys)
        names.push_back(k.first);
    return names;
}
std::string b(bool v) {
    return v ? "1" : "0";
}

// Every item a configuration file carries, as text.
using Getter = std::function<std::string(const clsNetConfig&)>;
const std::pair<Getter, bool> kItems[] = {
    // getter, Windows 95/98 only
    {[](auto& n) { return n.IPAddress(); }, false},
    {[](auto& n) { return n.DNSServers(); }, false},
    {[](auto& n) { return n.WINSServer2(); }, false},
    {[](auto& n) { return n.ComputerName(); }, false},
    {[](auto& n) { return n.Workgroup(); }, false},
    {[](auto& n) { return b(n.NTLogonEnabled()); }, false},
    {[](auto& n) { return b(n.DHCPEnabled()); }, false},
    {[](auto& n) { return b(n.DisablePWDCache()); }, true},
    {[](auto& n) { return n.DefaultPrinter(); }, false},
    {[](auto& n) { return n.PrinterCapturePath(); }, false},
    {[](auto& n) { return b(n.PrinterCaptureReconnect()); }, false},
    {[](auto& n) { return b(n.EnableDefaultPrinter()); }, false},
};

class NetFile : public ::testing::TestWithParam<std::string> {
  protected:
    std::uint64_t applyWrites(clsNetConfig& net) {
        return test::writesDuring(*image, [&] { net.ApplyConfiguration(); });
    }
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
    if (GetParam() == "9x")
        network.insert(network.end(), {"DisablePWDCache", "QuickLogon"});
    EXPECT_EQ(namesOf(sectionOf(text, "Network")), network);
    EXPECT_EQ(namesOf(sectionOf(text, "Printer")),
              (std::vector<std::string>{"DefaultPrinter", "AdvancedSettingsEnabled", "PrinterPort",
                                        "PrinterCaptureDevice", "PrinterCapturePath",
                                        "ReConnectAtLogon", "EnableDefaultPrinter"}));
    auto keys = sectionOf(text, "Network");
    EXPECT_EQ(keys[0].second, (*net->AdapterList())[0]);
    EXPECT_EQ(keys[1].second, net->IPAddress());
    EXPECT_EQ(keys[2].second, "0.0.0.0");  // an empty mask

    // Without adapters the file says so, and loading it back keeps none.
    RegProbe::removeKey("HKEY_LOCAL_MACHINE\\Enum");
    RegProbe::removeKey(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards");
    net = test::loadedNet(GetParam());
    net->SaveConfigurationFile(file);
    keys = sectionOf(test::readFile(file), "Network");
    EXPECT_EQ(keys[0], KeyValue("Adapter", "No Adapters Installed"));
    EXPECT_EQ(keys[1], KeyValue("IPAddress", "0.0.0.0"));
    net->LoadConfigurationFile(file);
    EXPECT_EQ(net->CurrentAdapter(), -1);
}

TEST_P(NetFile, LoadingAssignsFieldsWithoutFlags) {
    struct Case {
        const char* section;
        const char* line;
        Getter get;
        std::string expected;  // "*" for: as read from the PC
    };
    const Case cases[] = {
        {"Network", "HostName=*NC*", [](auto& n) { return n.Host(); }, "*"},
        {"Network", "NameServer= 10.0.0.9 ", [](auto& n) { return n.DNSServers(); }, "10.0.0.9"},
        {"Network", "EnableDNS=yes", [](auto& n) { return b(n.DNSEnabled()); }, "0"},
        {"Network", "LMHostFile=C:\\HOSTS", [](auto& n) { return n.LMHostFile(); }, "C:\\HOSTS"},
        {"Printer", "EnableDefaultPrinter=0", [](auto& n) { return b(n.EnableDefaultPrinter()); },
         "0"},
        {"Printer", "EnableDefaultPrinter=", [](auto& n) { return b(n.EnableDefaultPrinter()); },
         "1"},
        {"Printer", "DefaultPrinter=Not Installed", [](auto& n) { return n.DefaultPrinter(); },
         "Not Installed"},
    };
    for (const Case& c : cases) {
        test::writeFile(file, "[" + std::string(c.section) + "]\r\n" + c.line + "\r\n");
        auto net = test::loadedNet(GetParam());
        const std::string before = c.get(*net);
        net->LoadConfigurationFile(file);
        EXPECT_EQ(c.get(*net), c.expected == "*" ? before : c.expected) << c.line;
        EXPECT_FALSE(test::anyFlag(*net)) << c.line;
        EXPECT_EQ(applyWrites(*net), 0u) << c.line;
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
    const std::pair<std::string, std::string> cases[] = {
        {std::string(10000, '7'), std::string(254, '7')},
        {std::string("10.0.0.1\0"
                     "10.0.0.2",
                     17),
         "10.0.0.1"},
        {"10.\x01\x02\x1b.0.1", "10.\x01\x02\x1b.0.1"},
    };
    for (const auto& [value, expected] : cases) {
        std::string text = "[Network]\r\nAdapter=" + value + "\r\n";
        for (const char* key : {"IPAddress", "HostName", "ComputerName", "NameServer1", "DHCP"})
            text += std::string(key) + "=" + value + "\r\n";
        test::writeFile(file, text + "[Printer]\r\nDefaultPrinter=" + value + "\r\n");
        auto net = test::loadedNet(GetParam());
        net->LoadConfigurationFile(file);
        EXPECT_EQ(net->CurrentAdapter(), 0);
        EXPECT_EQ(net->IPAddress(), expected);
        EXPECT_EQ(net->ComputerName(), expected);
        EXPECT_EQ(net->DefaultPrinter(), expected);
        EXPECT_FALSE(net->DHCPEnabled());
        EXPECT_EQ(applyWrites(*net), 0u);
        // Saving and loading again keeps what was held (values pass unchanged).
        net->SaveConfigurationFile(file);
        auto again = test::loadedNet(GetParam());
        again->LoadConfigurationFile(file);
        EXPECT_EQ(again->Host(), net->Host());
    }
}

TEST_P(NetFile, ApplyingTwiceWritesOnlyThePrinterPortAgain) {
    auto net = test::loadedNet(GetParam());
    net->Host("twice");
    net->WINSEnabled(true);
    net->EnableAdvPrinterSettings(true);
    net->PrinterCaptureDev("(None)");
    EXPECT_GT(applyWrites(*net), 1u);
    EXPECT_EQ(applyWrites(*net), 1u);  // "Port" of the default printer
    net->EnableAdvPrinterSettings(false);
    EXPECT_EQ(applyWrites(*net), 0u);
    EXPECT_TRUE(image->messages().empty());
}

TEST_P(NetFile, DefaultPrinterIsAppliedOnlyWhenInstalledAndEnabled) {
    // The system's default printer is what a new run starts with.
    auto systemDefault = [&] {
        image->restart();
        return test::loadedNet(GetParam())->DefaultPrinter();
    };
    auto net = test::loadedNet(GetParam());
    std::string other;
    for (const auto& p : net->printerList().value_or(std::vector<std::string>{}))
        other = p != net->DefaultPrinter() ? p : other;
    ASSERT_FALSE(other.empty());
    net->DefaultPrinter("No Such Printer");
    EXPECT_FALSE(net->Changed(NetFlag::DefaultPrinter));
    EXPECT_EQ(net->DefaultPrinter(), "No Such Printer");
    net->DefaultPrinter(other);
    EXPECT_TRUE(net->Changed(NetFlag::DefaultPrinter));
    net->EnableDefaultPrinter(false);
    net->ApplyConfiguration();
    net.reset();
    EXPECT_NE(systemDefault(), other);
    net = test::loadedNet(GetParam());
    net->DefaultPrinter(other);
    net->ApplyConfiguration();
    net.reset();
    EXPECT_EQ(systemDefault(), other);
}

INSTANTIATE_TEST_SUITE_P(Systems, NetFile, ::testing::Values("9x", "NT", "2K"));

// A file saved on one system and loaded on another keeps every item the
// other system carries.
TEST(NetFileAcross, SavedOnOneSystemLoadedOnAnother) {
    for (const std::string from : {"9x", "NT", "2K"}) {
        std::vector<std::string> saved;
        auto source = TestImage::sample(test::sampleOf(from));
        const std::string file = (source->dir().parent_path() / "moved.vtl").string();
        auto net = test::loadedNet(from);
        net->Workgroup("MOVED");
        net->NTLogonEnabled(true);
        net->LMHostFile("C:\\MOVED");
        net->PrinterCapturePath("\\\\SRV\\Q");
        net->SaveConfigurationFile(file);
        for (const auto& item : kItems)
            saved.push_back(item.first(*net));
        net.reset();
        const std::string text = test::readFile(file);
        source->stop();
        for (const std::string to : {"9x", "NT", "2K"}) {
            SCOPED_TRACE(from + " to " + to);
            auto target = TestImage::sample(test::sampleOf(to));
            test::writeFile(file, text);
            auto loaded = test::loadedNet(to);
            loaded->LoadConfigurationFile(file);
            EXPECT_EQ(loaded->CurrentAdapter(), 0);
            for (std::size_t i = 0; i < std::size(kItems); ++i) {
                if (!kItems[i].second || (from == "9x" && to == "9x")) {
                    EXPECT_EQ(kItems[i].first(*loaded), saved[i]) << "item " << i;
                }
            }
            EXPECT_EQ(loaded->LMHostFile(), "") << "not saved";
        }
    }
}

// The adapter named in a file: the last exact match wins, anything else selects
// the first adapter.
TEST(NetFileAdapter, LastExactMatchWins) {
    auto image = TestImage::sample("nt4");
    const std::string card =
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\3";
    RegProbe::set(card, "Hidden", test::dword(0));
    RegProbe::set(card, "Title", test::sz("[2] Intel EtherExpress PRO/100B PCI Adapter"));
    const std::string file = (image->dir().parent_path() / "a.vtl").string();
    const std::pair<std::string, std::int16_t> cases[] = {
        {"[2] Intel EtherExpress PRO/100B PCI Adapter", 2},
        {"[2] intel etherexpress pro/100b pci adapter", 0},
        {"No Such Adapter", 0},
    };
    for (const auto& [adapter, expected] : cases) {
        test::writeFile(file, "[Network]\r\nAdapter=" + adapter + "\r\nIPAddress=10.3.3.3\r\n");
        clsNetConfigNT net;
        net.loadConfiguration();
        ASSERT_EQ(net.AdapterList()->size(), 3u);
        net.CurrentAdapterNoRefresh(1);
        net.LoadConfigurationFile(file);
        EXPECT_EQ(net.CurrentAdapter(), expected) << adapter;
        EXPECT_EQ(net.IPAddress(), "10.3.3.3") << adapter;
        EXPECT_FALSE(test::anyFlag(net));
    }
}

}  // namespace
}  // namespace vtl
