// The settings report on documents of the sample machines: its lines, its
// sections and the export to a text file.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "browser/clsBrowser.h"
#include "config/VtlError.h"
#include "config/clsVtlConfig.h"
#include "net/clsNetConfig.h"
#include "support/RegProbe.h"
#include "support/TestImage.h"
#include "ui/clsSettings.h"

namespace vtl::ui {
namespace {

namespace fs = std::filesystem;
using test::TestImage;

constexpr const char* kDateLine = R"( {12}\d\d/\d\d/\d{4}  \d\d:\d\d:\d\d)";
constexpr const char* kStars = "********************************************";

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "the report ends with a line break";
    return lines;
}

// A sample machine, its document and the report of it.
struct Report {
    explicit Report(const std::string& name) : sample(name), image(TestImage::sample(name)) {}

    std::string text() {
        return settings.AllSettings(*doc, doc->getNetConfig(), doc->getIEConfig(),
                                    doc->getNNConfig());
    }
    std::vector<std::string> lines() { return linesOf(text()); }
    // The value behind `label` in the section under banner `title`.
    std::string value(const std::string& title, const std::string& label) {
        const auto all = lines();
        bool inSection = false;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i].size() == 44 && all[i][0] == '*' && all[i] != kStars)
                inSection = all[i].find(title) != std::string::npos;
            if (inSection && all[i].rfind(label, 0) == 0)
                return all[i].substr(label.size());
        }
        return "<no line " + label + ">";
    }

    std::string sample;
    std::unique_ptr<TestImage> image;
    std::unique_ptr<clsVtlConfig> doc = std::make_unique<clsVtlConfig>();
    clsSettings settings;
};

TEST(SettingsReport, ValuesOfTheSampleMachines) {
    struct Case {
        const char* sample;
        const char* section;
        const char* label;
        const char* value;
    };
    const Case cases[] = {
        {"win98", "Network", "IP Address..................", "10.1.2.21,192.168.50.21"},
        {"win98", "Network", "Logon to NT Domain..........", "Yes"},
        {"win98", "Internet Explorer", "Connection Type.............",
         "Connect to the Internet using a local area network"},
        {"win98", "Navigator", "Connection Type.............", "Manual proxy configuration"},
        {"nt4", "Internet Explorer", "Connection Type.............",
         "Connect to the Internet using a MODEM"},
        {"nt4", "Navigator", "Connection Type.............", "Automatic proxy configuration"},
        {"nt4", "E-Mail", "Leave Mail on Server........", "No"},
        {"win2000", "Navigator", "Connection Type.............",
         "Direct connection to the Internet"},
    };
    std::unique_ptr<Report> report;  // one machine at a time
    for (const Case& c : cases) {
        if (!report || report->sample != c.sample) {
            report.reset();
            report = std::make_unique<Report>(c.sample);
        }
        EXPECT_EQ(report->value(c.section, c.label), c.value) << c.sample << " " << c.label;
    }
}

TEST(SettingsReport, SectionsFollowTheDocumentsFlags) {
    struct Case {
        bool general, ie, nn;
        std::vector<std::string> outline;  // banner titles and empty lines after the header
    };
    const Case cases[] = {
        {false, false, true, {"Netscape Navigator", "", "Netscape E-Mail"}},
        {true,
         true,
         true,
         {"Network Settings", "", "Internet Explorer", "", "Netscape Navigator", "",
          "Netscape E-Mail"}},
    };
    Report report("win2000");
    for (const Case& c : cases) {
        report.doc->ApplyGeneral(c.general);
        report.doc->ApplyIE(c.ie);
        report.doc->ApplyNN(c.nn);
        const auto lines = report.lines();
        ASSERT_GE(lines.size(), 11u);
        EXPECT_EQ(lines[10], "");
        std::vector<std::string> outline;
        for (std::size_t i = 11; i < lines.size(); ++i) {
            if (lines[i].empty())
                outline.push_back("");
            else if (lines[i].front() == '*' && lines[i] != kStars) {
                const auto from = lines[i].find_first_not_of("* ");
                outline.push_back(lines[i].substr(from, lines[i].find("  ", from) - from));
            }
        }
        EXPECT_EQ(outline, c.outline) << c.general << c.ie << c.nn;
    }
}

TEST(SettingsReport, PortIsAddedOnlyWhenItIsNotEmpty) {
    struct Case {
        const char* address;
        const char* port;
        const char* shown;
    };
    Report report("win98");
    auto ie = report.doc->getIEConfig();
    for (const Case& c : {Case{"proxy", "8080", "proxy:8080"}, Case{"proxy", "", "proxy"},
                          Case{"", "8080", ":8080"}, Case{"", "", ""}}) {
        ie->GopherAddress(c.address);
        ie->GopherPort(c.port);
        EXPECT_EQ(report.value("Internet Explorer", "Gopher Proxy Server........."), c.shown);
    }
}

TEST(SettingsReport, NoAdapterAndNoPrinter) {
    Report report("nt4");
    report.doc.reset();
    test::RegProbe::removeKey(
        "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers");
    report.doc = std::make_unique<clsVtlConfig>();
    EXPECT_EQ(report.value("Network", "Default Printer............."), "No Printers Installed");

    report.doc.reset();
    test::RegProbe::removeKey(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards");
    report.doc = std::make_unique<clsVtlConfig>();
    const auto lines = report.lines();
    const std::vector<std::string> section(lines.begin() + 11, lines.begin() + 16);
    EXPECT_EQ(section,
              (std::vector<std::string>{kStars, "*             Network Settings             *",
                                        kStars, "No Adapters Installed", ""}));
    EXPECT_EQ(lines.at(16), kStars) << "the browser section follows at once";
}

TEST(SettingsReport, HeaderNamesTheFileAndComments) {
    Report report("win2000");
    report.settings.ConfigFile("C:\\Configs\\Office LAN.vtl");
    report.doc->Comments("  Engineering desk, 3rd floor  ");
    const auto lines = report.lines();
    EXPECT_EQ(lines.at(8), "Configuration File..........C:\\Configs\\Office LAN.vtl");
    EXPECT_EQ(lines.at(9), "Comments....................Engineering desk, 3rd floor");
}

// --- Export ---

// The report with its date line taken out, so that two reports compare.
std::string undated(std::string text) {
    return std::regex_replace(text, std::regex(kDateLine), "<date>");
}

TEST(SettingsReport, ExportWritesTheReportAndOneLineBreak) {
    Report report("win98");
    const fs::path file = report.image->dir() / "report.txt";
    test::writeFile(file, std::string(5000, 'x'));
    report.settings.ExportAllSettings(*report.doc, report.doc->getNetConfig(),
                                      report.doc->getIEConfig(), report.doc->getNNConfig(),
                                      "  " + file.string() + "  ");
    const std::string written = test::readFile(file);
    EXPECT_EQ(undated(written), undated(report.text() + "\r\n"));
    EXPECT_EQ(written.substr(written.size() - 4), "\r\n\r\n");
    EXPECT_TRUE(report.image->messages().empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(report.image->dir()), fs::directory_iterator()),
              std::distance(fs::directory_iterator(test::samplesDir() / "win98"),
                            fs::directory_iterator()) +
                  2)
        << "no temporary file is left beside the report";
}

TEST(SettingsReport, ExportWithoutAFileOrThatCannotWriteLeavesWhatWasThere) {
    Report report("win98");
    const fs::path readOnly = report.image->dir() / "locked.txt";
    test::writeFile(readOnly, "kept");
    fs::permissions(readOnly, fs::perms::owner_read);
    auto exportTo = [&](const std::string& file) {
        report.settings.ExportAllSettings(*report.doc, report.doc->getNetConfig(),
                                          report.doc->getIEConfig(), report.doc->getNNConfig(),
                                          file);
    };
    EXPECT_THROW(exportTo(readOnly.string()), VtlError);
    EXPECT_EQ(test::readFile(readOnly), "kept");
    EXPECT_TRUE(report.image->messages().empty());

    exportTo("   ");
    ASSERT_EQ(report.image->messages().size(), 1u);
    const auto& box = report.image->messages()[0];
    EXPECT_EQ(box.text, "Missing export filename.");
    EXPECT_EQ(box.style, platform::mb::OK | platform::mb::IconCritical);
}

TEST(SettingsReport, CenterTextRoundsHalvesToEven) {
    struct Case {
        std::size_t length;
        int width;
        std::size_t lead;
    };
    for (const Case& c : {Case{14, 44, 15}, Case{15, 44, 14}, Case{17, 44, 14}, Case{16, 44, 14},
                          Case{1, 44, 22}, Case{0, 44, 22}, Case{43, 44, 0}, Case{41, 44, 2},
                          Case{44, 44, 0}, Case{50, 44, 0}, Case{2, 5, 2}, Case{4, 9, 2}}) {
        const std::string text(c.length, 'x');
        EXPECT_EQ(clsSettings::CenterText(text, c.width), std::string(c.lead, ' ') + text)
            << c.length << " in " << c.width;
    }
}

TEST(SettingsReport, WholeStructureIsTheSameOnEverySample) {
    // Lines of the report with the labels' values cut off, "|" or a line break after each.
    constexpr const char* kSkeleton = R"(--------------------------------------------
               Vantrel v1.0.0| Copyright (C) 2026 the Vantrel developers.
            All rights reserved.||<date>|--------------------------------------------|
Configuration File..........|Comments....................||*
*             Network Settings             *|*
NIC.........................|Host........................|Domain......................
IP Address..................|IP Mask.....................|Default Gateway.............
DNS Servers.................|DNS Order...................|WINS Server 1...............
WINS Server 2...............|WINS Scope ID...............|Logon to NT Domain..........
NT Domain...................|DNS Enabled.................|WINS Enabled................
DHCP Enabled................|Computer Name...............|Workgroup...................
Default Printer.............||*
*             Internet Explorer            *|*
Use Proxy Server............|HTTP Proxy Server...........|Secure Proxy Server.........
FTP Proxy Server............|Gopher Proxy Server.........|Socks Proxy Server..........
Proxy Exceptions............|Use Same Proxy..............|Bypass Proxy for Intranet...
Automatic Configuration URL.|Connection Type.............|Dial-Up Account.............
Default Home Page...........||*
*            Netscape Navigator            *|*
Profile.....................|Connection Type.............|Configuration Location......
HTTP Proxy Server...........|Secure Proxy Server.........|FTP Proxy Server............
Gopher Proxy Server.........|Socks Proxy Server..........|WAIS Proxy Server...........
Proxy Exceptions............|Default Home Page...........||*
*             Netscape E-Mail              *|*
Full Name...................|E-Mail Address..............|Replay-To Address...........
POP3 Server.................|POP3 Login Name.............|SMTP Server.................
SMTP Login Name.............|Organization................|Leave Mail on Server........)";
    std::vector<std::string> skeleton;
    std::string entry;
    for (const char* at = kSkeleton;; ++at) {
        if (*at == '|' || *at == '\n' || *at == '\0') {
            skeleton.push_back(entry == "*" ? kStars : entry);
            entry.clear();
            if (*at == '\0')
                break;
        } else {
            entry += *at;
        }
    }
    for (const char* sample : {"win98", "nt4", "win2000"}) {
        Report report(sample);
        std::vector<std::string> shape;
        for (std::string line : report.lines()) {
            if (std::regex_match(line, std::regex(kDateLine)))
                line = "<date>";
            else if (line.size() > 28 && line[27] == '.' && line.find("  ") != 0)
                line.resize(28);
            shape.push_back(line);
        }
        EXPECT_EQ(shape, skeleton) << sample;
    }
}

}  // namespace
}  // namespace vtl::ui
