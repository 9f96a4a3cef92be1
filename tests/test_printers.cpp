// Printer members of the backends and the printer, profile and connection
// calls of the image platform, on the sample machines and extended copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "net/PrinterSettings.h"
#include "platform/portable/ProfileFile.h"
#include "registry/clsEasyRegistry.h"
#include "support/TestImage.h"

namespace vtl {
namespace {

using test::TestImage;
using Kind = portable::PortablePlatform::NetCall::Kind;
using printers::System;

const std::string kPrinters = printers::kPrintersKey;

struct Sample {
    const char* name;
    System system;
    const char* winIni;
};
const Sample kWin98{"win98", printers::Win9x, "drive_c/WINDOWS/WIN.INI"};
const Sample kNt4{"nt4", printers::WinNT, "drive_c/WINNT/win.ini"};
const Sample kWin2000{"win2000", printers::Win2K, "drive_c/WINNT/win.ini"};

std::string deviceLine(TestImage& image, const Sample& s) {
    return GetPrivateProfileString("windows", "device", "", 1024, (image.dir() / s.winIni).string())
        .Text();
}

// A value's text, or nullopt when the key or value is missing.
std::optional<std::string> regText(const std::string& key, const std::string& name) {
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd(key);
    std::string text = reg.ValueText(name);
    return reg.lastError() == 0 ? std::optional(text) : std::nullopt;
}

void expectMessage(TestImage& image, const char* text, std::uint32_t style) {
    if (text == nullptr) {
        EXPECT_TRUE(image.messages().empty());
        return;
    }
    ASSERT_EQ(image.messages().size(), 1u);
    EXPECT_EQ(image.messages()[0].text, text);
    EXPECT_EQ(image.messages()[0].style, style);
    EXPECT_EQ(image.messages()[0].caption, "Vantrel");
}

TEST(PrinterMembers, ReadTheSampleMachines) {
    struct Case {
        Sample sample;
        std::vector<std::string> printers;
        std::string defaultPrinter, port;
    };
    const Case cases[] = {
        {kWin98, {"HP LaserJet 4", "HP LaserJet 5N"}, "HP LaserJet 4", "LPT1:"},
        {kNt4,
         {"HP Color LaserJet 5M", "HP LaserJet 4Si"},
         "HP Color LaserJet 5M",
         "\\\\ACCTSRV\\CLJ5M"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sample.name);
        auto image = TestImage::sample(c.sample.name);
        PrinterItems items;
        printers::getPrinterList(items, c.sample.system);
        printers::getDefaultPrinter(items);
        printers::getAdvPrinterSettings(items);
        EXPECT_EQ(items.printerList, c.printers);
        EXPECT_EQ(items.DefaultPrinter, c.defaultPrinter);
        EXPECT_EQ(items.PrinterPort, c.port);
    }
}

TEST(PrinterMembers, ListAndPortEdgeCases) {
    auto image = TestImage::sample("win2000");
    // A network printer whose key name differs from its Name, and one without Name.
    clsEasyRegistry reg;
    reg.Cd(kPrinters);
    reg.MakeKey(",,SRV,Queue");
    reg.MakeKey("NoName");
    reg.Cd(kPrinters + "\\,,SRV,Queue");
    reg.SetValue("Name", STRING, "\\\\SRV\\Queue");
    PrinterItems items;
    printers::getPrinterList(items, printers::WinNT);
    ASSERT_TRUE(items.printerList);
    EXPECT_NE(std::find(items.printerList->begin(), items.printerList->end(), ",,SRV,Queue"),
              items.printerList->end());

    // A printer without Port, or one not installed, keeps the port held.
    for (const char* printer : {"NoName", "Not Installed"}) {
        items.DefaultPrinter = printer;
        items.PrinterPort = "kept";
        printers::getAdvPrinterSettings(items);
        EXPECT_EQ(items.PrinterPort, "kept") << printer;
    }
}

TEST(PrinterMembers, NoPrintersInstalled) {
    const std::string version =
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
        "\"CurrentVersion\"=\"5.0\"\r\n\r\n";
    auto image = TestImage::fromRegistry(
        version + "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers]\r\n");
    PrinterItems items;
    items.printerList = std::vector<std::string>{"stale"};
    printers::getPrinterList(items, printers::Win2K);
    EXPECT_EQ(items.printerList, std::nullopt);
    EXPECT_TRUE(printers::installedPrinters().empty());
    EXPECT_FALSE(printers::selectOutputPrinter(""));
}

TEST(PrinterMembers, OutputPrinterIsSelectedByExactName) {
    auto image = TestImage::sample("win98");
    EXPECT_FALSE(printers::selectOutputPrinter("hp laserjet 5n"));
    EXPECT_TRUE(printers::selectOutputPrinter("HP LaserJet 5N"));
    PrinterItems items;
    printers::getDefaultPrinter(items);
    EXPECT_EQ(items.DefaultPrinter, "HP LaserJet 5N");
    // The system's default printer is not changed by that.
    EXPECT_EQ(deviceLine(*image, kWin98), "HP LaserJet 4,HPPCL5MS,LPT1:");
}

TEST(DefaultPrinter, NTFamilyWritesTheWindowsSection) {
    const std::pair<const char*, const char*> cases[] = {
        // PrinterPorts entry of "Lab Printer" (nullptr: none), device line (nullptr: unchanged)
        {"winspool,LPT1:,15,45", "Lab Printer,winspool,LPT1:"},
        {"winspool,LPT1:", nullptr},
        {nullptr, nullptr},
    };
    const Sample& sample = kNt4;
    for (const auto& [entry, device] : cases) {
        SCOPED_TRACE(std::string(sample.name) + " " + (entry ? entry : "(none)"));
        auto image = TestImage::sample(sample.name);
        const std::string before = deviceLine(*image, sample);
        if (entry) {
            ASSERT_TRUE(WritePrivateProfileString("PrinterPorts", "Lab Printer", entry,
                                                  (image->dir() / sample.winIni).string()));
        }
        PrinterItems items;
        items.DefaultPrinter = "Lab Printer";
        printers::setDefaultPrinter(items, sample.system);
        EXPECT_EQ(deviceLine(*image, sample), device ? device : before);
        const auto& sent = image->platform().sentMessages();
        ASSERT_EQ(sent.size(), device ? 1u : 0u);
        if (device) {
            EXPECT_EQ(sent[0].window, 0xFFFFu);
            EXPECT_EQ(sent[0].message, 0x001Au);
            EXPECT_EQ(sent[0].wParam, 0u);
            EXPECT_EQ(sent[0].lParam, "windows");
        }
        EXPECT_TRUE(image->messages().empty());
    }
}

TEST(DefaultPrinter, Windows9xGoesThroughTheSpooler) {
    struct Case {
        const char* printer;
        bool winIniWritable;
        const char* device;   // expected device line, or nullptr
        const char* message;  // expected message, or nullptr
    };
    const Case cases[] = {
        {"HP LaserJet 5N", true, "HP LaserJet 5N,HPPCL5MS,\\\\HQFS1\\LJ5N", nullptr},
        {"Not Installed", true, "HP LaserJet 4,HPPCL5MS,LPT1:", nullptr},
        {"HP LaserJet 5N", false, nullptr, "SetPrinterFailed. Error code: 5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.printer) + (c.winIniWritable ? "" : ", win.ini unwritable"));
        auto image = TestImage::sample("win98");
        if (!c.winIniWritable) {
            std::filesystem::remove(image->dir() / kWin98.winIni);
            std::filesystem::create_directory(image->dir() / kWin98.winIni);
        }
        PrinterItems items;
        items.DefaultPrinter = c.printer;
        printers::setDefaultPrinter(items, printers::Win9x);
        if (c.device) {
            EXPECT_EQ(deviceLine(*image, kWin98), c.device);
        }
        EXPECT_EQ(image->platform().openPrinterHandles(), 0u);
        expectMessage(*image, c.message, platform::mb::OK);
    }
}

TEST(AdvPrinterSettings, PortAndCapture) {
    const std::string lpt1Nt = "\\HKEY_CURRENT_USER\\Network\\LPT1";
    const std::string lpt1On98 = "\\HKEY_CURRENT_USER\\Network\\Persistent\\LPT1";
    struct Case {
        Sample sample;
        PrinterItems items;
        std::optional<std::string> port;  // "Port" of the printer afterwards
        std::vector<std::string> calls;   // "cancel LPT1 1 force" / "add LPT1 \\S\Q 1"
        std::string persistentKey;        // expected to hold the capture, or ""
        const char* message = nullptr;
    };
    auto items = [](const char* printer, bool enabled, const char* port, const char* dev,
                    const char* path, bool reconnect) {
        return PrinterItems{std::nullopt, printer, true, enabled, port, dev, path, reconnect};
    };
    const Case cases[] = {
        // An empty port is written on NT, not on 98.
        {kWin2000,
         items("HP LaserJet 2100 Series PCL 6", true, "", "(None)", "", false),
         "",
         {},
         ""},
        {kWin98, items("HP LaserJet 4", true, "", "(None)", "", false), "LPT1:", {}, ""},
        // Persistent captures, each system in its own key.
        {kNt4,
         items("HP LaserJet 4Si", true, "LPT1:", "LPT1", "\\\\ACCTSRV\\CLJ5M", true),
         "LPT1:",
         {"cancel LPT1 1 force", "add LPT1 \\\\ACCTSRV\\CLJ5M 1"},
         lpt1Nt},
        {kWin98,
         items("HP LaserJet 4", true, "LPT1:", "LPT1", "\\\\HQFS1\\LJ5N", true),
         "LPT1:",
         {"cancel LPT1 1 force", "add LPT1 \\\\HQFS1\\LJ5N 1"},
         lpt1On98},
        // For this session only.
        {kWin98,
         items("HP LaserJet 4", true, "LPT1:", "LPT2", "\\\\HQFS1\\LJ5N", false),
         "LPT1:",
         {"cancel LPT2 1", "add LPT2 \\\\HQFS1\\LJ5N 0"},
         ""},
        {kNt4,
         items("HP LaserJet 4Si", true, "LPT1:", "LPT1", "printsrv", true),
         "LPT1:",
         {"cancel LPT1 1 force", "add LPT1 printsrv 1"},
         "",
         "Could not capture printer [LPT1 - printsrv]"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        auto image = TestImage::sample(c.sample.name);
        printers::setAdvPrinterSettings(c.items, c.sample.system);
        EXPECT_EQ(regText(kPrinters + "\\" + c.items.DefaultPrinter, "Port"), c.port);
        std::vector<std::string> calls;
        for (const auto& call : image->platform().netCalls()) {
            calls.push_back(call.kind == Kind::Cancel
                                ? "cancel " + call.device + " " + std::to_string(call.flags) +
                                      (call.force ? " force" : "")
                                : "add " + call.device + " " + call.remote + " " +
                                      std::to_string(call.flags));
        }
        EXPECT_EQ(calls, c.calls);
        for (const std::string& key : {lpt1Nt, lpt1On98}) {
            EXPECT_EQ(regText(key, "RemotePath"), key == c.persistentKey
                                                      ? std::optional(c.items.PrinterCapturePath)
                                                      : std::nullopt);
        }
        if (!c.persistentKey.empty()) {
            EXPECT_EQ(regText(c.persistentKey, "UserName"), "1");
        }
        // A persistent capture is there again after a restart; a session one is not.
        const bool captured = !calls.empty() && image->platform().netCalls().back().result == 0;
        image->restart();
        EXPECT_EQ(image->platform().netConnections().count(c.items.PrinterCaptureDev),
                  captured && c.items.PrinterCaptureReconnect ? 1u : 0u);
        expectMessage(*image, c.message, 48u);
    }
}

TEST(NetConnections, AnswerAsWindowsDoes) {
    auto image = TestImage::sample("nt4");
    auto& p = image->platform();
    // The sample's remembered drive H: is connected at start.
    EXPECT_EQ(p.netConnections().at("H:"), "\\\\ACCTSRV\\HOME$\\asmith");
    auto add = [&](const char* device, const char* remote) {
        platform::NetResource r;
        r.scope = platform::RESOURCE_GLOBALNET;
        r.localName = device;
        r.remoteName = remote;
        return p.WNetAddConnection2(r, nullptr, nullptr, 0);
    };
    EXPECT_EQ(add("LPT0", "\\\\S\\Q"), platform::ERROR_BAD_DEVICE);
    EXPECT_EQ(add("LPT1", "\\\\S\\"), platform::ERROR_BAD_NET_NAME);
    EXPECT_EQ(add("lpt1:", "\\\\S\\Q"), 0);
    EXPECT_EQ(add("LPT1", "\\\\S\\R"), platform::ERROR_ALREADY_ASSIGNED);
    EXPECT_EQ(p.WNetCancelConnection2("LPT1", 0, false), 0);
    EXPECT_EQ(p.WNetCancelConnection2("LPT1", 0, false), platform::ERROR_NOT_CONNECTED);
    EXPECT_EQ(p.WNetCancelConnection2("H:", platform::CONNECT_UPDATE_PROFILE, false), 0);
    EXPECT_EQ(regText("\\HKEY_CURRENT_USER\\Network\\H", "RemotePath"), std::nullopt);
}

}  // namespace
}  // namespace vtl
