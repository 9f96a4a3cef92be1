// Printing the settings report on the sample machines' printers, the print
// dialog, and the File menu's report commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "app/frmMain.h"
#include "browser/clsBrowser.h"
#include "config/VtlError.h"
#include "config/clsVtlConfig.h"
#include "support/MainWindow.h"
#include "support/RegProbe.h"
#include "support/TestImage.h"
#include "ui/PrinterDialog.h"
#include "ui/clsSettings.h"
#include "ui/frmPrintSetup.h"

namespace vtl::ui {
namespace {

namespace fs = std::filesystem;
using platform::Platform;
using test::TestImage;

std::string undated(const std::string& text) {
    return std::regex_replace(text, std::regex(R"(\d\d/\d\d/\d{4}  \d\d:\d\d:\d\d)"), "<date>");
}

std::string printersKey(const std::string& sample) {
    return sample == "win98"
               ? "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\Print\\Printers"
               : "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
}

struct Machine {
    explicit Machine(const std::string& name, const std::string& spoolDir)
        : sample(name), image(TestImage::sample(name)), spool(image->dir() / spoolDir) {}

    void print() {
        clsSettings report;
        report.PrintAllSettings(*doc, doc->getNetConfig(), doc->getIEConfig(), doc->getNNConfig());
    }
    std::string reportText() const {
        return clsSettings().AllSettings(*doc, doc->getNetConfig(), doc->getIEConfig(),
                                         doc->getNNConfig());
    }
    std::string job(int number) const {
        char name[16];
        std::snprintf(name, sizeof name, "%05d.SPL", number);
        return fs::exists(spool / name) ? test::readFile(spool / name) : "<no job>";
    }
    // The header lines of a job, up to the blank line.
    std::string jobHeader(int number) const {
        const std::string text = job(number);
        return text.substr(0, text.find("\r\n\r\n"));
    }
    // The print dialog, as a user handles it.
    void user(std::function<void(frmPrintSetup&)> act) {
        image->platform().setPrintDialogHandler(std::move(act));
    }
    void setDefaultDevMode(const std::string& printer, const DevMode& mode) {
        test::RegProbe::set(printersKey(sample) + "\\" + printer, "Default DevMode",
                            test::binary(makeDevMode(mode)));
    }

    std::string sample;
    std::unique_ptr<TestImage> image;
    fs::path spool;
    std::unique_ptr<clsVtlConfig> doc = std::make_unique<clsVtlConfig>();
};

TEST(Printing, TheReportBecomesAJobInTheSpoolFolder) {
    struct Case {
        const char* sample;
        const char* spool;
        const char* header;
    };
    const Case cases[] = {
        {"win98", "drive_c/WINDOWS/spool/PRINTERS",
         "Printer: HP LaserJet 4\r\nDriver: HP LaserJet 4\r\nPort: LPT1:"},
        {"nt4", "drive_c/WINNT/system32/spool/PRINTERS",
         "Printer: HP Color LaserJet 5M\r\nDriver: HP Color LaserJet 5M\r\nPort: "
         "\\\\ACCTSRV\\CLJ5M"},
        {"win2000", "drive_c/WINNT/system32/spool/PRINTERS",
         "Printer: Xerox DocuPrint N2125\r\nDriver: Xerox DocuPrint N2125 PS\r\n"
         "Port: IP_10.20.30.250"},
    };
    for (const Case& c : cases) {
        Machine m(c.sample, c.spool);
        m.print();
        EXPECT_EQ(undated(m.job(1)),
                  undated(std::string(c.header) +
                          "\r\nFont: Courier New, 10\r\nCopies: 1\r\nOrientation: Portrait\r\n"
                          "Duplex: None\r\n\r\n" +
                          m.reportText() + "\r\n"))
            << c.sample;
        m.print();
        EXPECT_NE(m.job(2), "<no job>") << "a second document is a second job";
        EXPECT_EQ(std::distance(fs::directory_iterator(m.spool), fs::directory_iterator()), 2);
    }
}

TEST(Printing, FailuresAreReportedAndLeaveNoJob) {
    const std::vector<std::function<void(Machine&)>> breakages = {
        [](Machine&) { platform::sys().SetOutputPrinter("Gone Printer"); },
        [](Machine& m) {
            fs::create_directories(m.spool.parent_path());
            test::writeFile(m.spool, "not a folder");
        },
    };
    for (const auto& breakage : breakages) {
        Machine m("win98", "drive_c/WINDOWS/spool/PRINTERS");
        breakage(m);
        EXPECT_THROW(m.print(), VtlError);
        EXPECT_EQ(m.job(1), "<no job>");
    }
}

TEST(Printing, PrintSetupShowsTheCurrentPrinter) {
    Machine m("win98", "drive_c/WINDOWS/spool/PRINTERS");
    int shown = 0;
    m.user([&](frmPrintSetup& form) {
        ++shown;
        EXPECT_EQ(form.caption(), "Print Setup");
        EXPECT_EQ(form.cboPrinter.list(),
                  (std::vector<std::string>{"HP LaserJet 4", "HP LaserJet 5N"}));
        EXPECT_EQ(form.cboPrinter.text(), "HP LaserJet 4");
        EXPECT_EQ(form.lblWhereValue.caption(), "LPT1:");
        EXPECT_EQ(form.txtCopies.text(), "1");
        EXPECT_TRUE(form.optPortrait.value());
        EXPECT_FALSE(form.cboDuplex.enabled());
        form.cboPrinter.userSelect(1);
        EXPECT_EQ(form.lblWhereValue.caption(), "\\\\HQFS1\\LJ5N");
        form.cmdCancel.userClick();
    });
    EXPECT_FALSE(showPrinterDialog(0, Platform::PD_PRINTSETUP));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(platform::sys().GetOutputPrinter(), "HP LaserJet 4") << "cancel changes nothing";

    m.user([](frmPrintSetup& form) { EXPECT_EQ(form.caption(), "Print"); });
    EXPECT_FALSE(showPrinterDialog(0, 0)) << "closing the dialog cancels it";

    m.image->platform().setPrintDialogHandler({});
    EXPECT_FALSE(showPrinterDialog(0, Platform::PD_PRINTSETUP)) << "nobody there: cancelled";
}

TEST(Printing, PrintSetupChangesPrinterCopiesOrientationAndDuplex) {
    struct Case {
        const char* pick;     // printer chosen
        const char* copies;   // typed
        bool landscape;       // clicked
        int duplex;           // entry chosen, -1 none
        const char* printer;  // current printer afterwards
        const char* header;   // copies, orientation and duplex of the next job
    };
    const Case cases[] = {
        {"HP LaserJet 2100 Series PCL 6", "3", true, -1, "HP LaserJet 2100 Series PCL 6",
         "Copies: 3\r\nOrientation: Landscape\r\nDuplex: None"},
        {"Xerox DocuPrint N2125", "1", false, 2, "Xerox DocuPrint N2125",
         "Copies: 1\r\nOrientation: Portrait\r\nDuplex: Horizontal"},
        {"Xerox DocuPrint N2125", "12", true, 0, "Xerox DocuPrint N2125",
         "Copies: 12\r\nOrientation: Landscape\r\nDuplex: Simplex"},
        // A name longer than the device-mode block's 32 characters comes back
        // cut, matches no printer, and the current one stays.
        {"Engineering Wide-Format Plotter Room 3", "2", false, -1, "Xerox DocuPrint N2125",
         "Copies: 2\r\nOrientation: Portrait\r\nDuplex: Vertical"},
    };
    for (const Case& c : cases) {
        Machine m("win2000", "drive_c/WINNT/system32/spool/PRINTERS");
        // The Xerox prints on both sides and defaults to landscape, long edge.
        m.setDefaultDevMode(
            "Xerox DocuPrint N2125",
            {"Xerox DocuPrint N2125", Platform::DM_ORIENTATION | Platform::DM_DUPLEX,
             Platform::DMORIENT_LANDSCAPE, 0, Platform::DMDUP_VERTICAL});
        test::RegProbe::set(printersKey("win2000") + "\\Engineering Wide-Format Plotter Room 3",
                            "Port", test::sz("LPT2:"));
        m.user([&](frmPrintSetup& form) {
            EXPECT_TRUE(form.optLandscape.value());
            EXPECT_EQ(form.cboDuplex.text(), "Long edge");
            form.cboPrinter.userSelect(static_cast<int>(
                std::find(form.cboPrinter.list().begin(), form.cboPrinter.list().end(), c.pick) -
                form.cboPrinter.list().begin()));
            form.txtCopies.userType(c.copies);
            (c.landscape ? form.optLandscape : form.optPortrait).userClick();
            if (c.duplex >= 0)
                form.cboDuplex.userSelect(c.duplex);
            form.cmdOK.userClick();
        });
        EXPECT_TRUE(showPrinterDialog(0, Platform::PD_PRINTSETUP)) << c.pick;
        EXPECT_EQ(platform::sys().GetOutputPrinter(), c.printer);
        m.print();
        const std::string header = m.jobHeader(1);
        EXPECT_EQ(header.substr(header.find("Copies:")), c.header) << c.pick;
    }
}

TEST(Printing, PrintSetupRefusesABadNumberOfCopies) {
    for (const char* copies : {"0", "abc", "10000", "", "-2"}) {
        frmPrintSetup form;
        form.fill({{"A", "drv", "LPT1:", false}}, {"A", 1, 1, 0});
        form.txtCopies.userType(copies);
        form.cmdOK.userClick();
        EXPECT_TRUE(form.Cancelled()) << copies;
        EXPECT_TRUE(form.txtCopies.hasFocus());
        EXPECT_EQ(form.txtCopies.selLength(), std::string(copies).size());
    }
}

TEST(Printing, DeviceNamesBlock) {
    struct Case {
        DevNames names;
        std::vector<int> offsets;  // driver, device, port
        DevNames readBack;
    };
    const std::string longName(60, 'p');
    const Case cases[] = {
        {{"winspool", "Xerox DocuPrint N2125", "IP_10.20.30.250"},
         {8, 17, 39},
         {"winspool", "Xerox DocuPrint N2125", "IP_10.20.30.250"}},
        {{"", "", ""}, {8, 9, 10}, {"", "", ""}},
        {{"drv", longName, "LPT1:"}, {8, 12, 73}, {"drv", longName, "LPT1:"}},
        {{"drv", longName, longName}, {8, 12, 73}, {"drv", longName, longName.substr(0, 35)}},
    };
    for (const Case& c : cases) {
        const auto block = makeDevNames(c.names);
        ASSERT_EQ(block.size(), 108u);
        EXPECT_EQ((std::vector<int>{block[0] | block[1] << 8, block[2] | block[3] << 8,
                                    block[4] | block[5] << 8, block[6] | block[7] << 8}),
                  (std::vector<int>{c.offsets[0], c.offsets[1], c.offsets[2], 0}));
        const DevNames back = readDevNames(block);
        EXPECT_EQ(back.driver, c.readBack.driver);
        EXPECT_EQ(back.device, c.readBack.device);
        EXPECT_EQ(back.port, c.readBack.port);
    }
    const auto mode = makeDevMode({std::string(40, 'n'), 4097, 2, 3, 1});
    ASSERT_EQ(mode.size(), 122u);
    const DevMode back = readDevMode(mode);
    EXPECT_EQ(back.deviceName, std::string(32, 'n'));
    EXPECT_EQ(back.fields, 4097u);
    EXPECT_EQ(std::tuple(back.orientation, back.copies, back.duplex), std::tuple(2, 3, 1));
}

// --- The File menu's report commands ---

struct Window : test::MainWindow {
    explicit Window(const std::string& sample = "win98") : test::MainWindow(sample) {}
    std::string job() const {
        const fs::path file = image->dir() / "drive_c/WINDOWS/spool/PRINTERS/00001.SPL";
        return fs::exists(file) ? test::readFile(file) : "";
    }
};

TEST(ReportCommands, PrintAsksFirstAndReportsFailures) {
    struct Case {
        platform::Answer answer;
        bool breakPrinter;
        bool printed;
        std::vector<std::string> boxes;
    };
    const std::string question = "Print current configuration?";
    const std::string failed =
        "An error occurred while attempting to print.  Please check your printer and try again.";
    const Case cases[] = {
        {platform::Answer::No, false, false, {question}},
        {platform::Answer::Yes, false, true, {question}},
        {platform::Answer::Yes, true, false, {question, failed}},
    };
    for (const Case& c : cases) {
        Window w;
        if (c.breakPrinter)
            platform::sys().SetOutputPrinter("Gone Printer");
        w.dialogs.answers = {c.answer};
        w.window->mnuFilePrint.userClick();
        EXPECT_EQ(!w.job().empty(), c.printed);
        std::vector<std::string> texts;
        for (const auto& box : w.dialogs.boxes)
            texts.push_back(box.text);
        EXPECT_EQ(texts, c.boxes);
        ASSERT_FALSE(w.dialogs.boxes.empty());
        EXPECT_EQ(w.dialogs.boxes[0].style, platform::mb::YesNo | platform::mb::IconQuestion);
        EXPECT_EQ(w.dialogs.boxes.back().caption, "Vantrel");
        if (c.breakPrinter) {
            EXPECT_EQ(w.dialogs.boxes[1].style, platform::mb::IconInformation);
        }
    }
    Window w;
    w.window->oIEConfig->HTTPAddress("edited.example.com");
    w.dialogs.answers = {platform::Answer::Yes};
    w.window->mnuFilePrint.userClick();
    EXPECT_NE(w.job().find("HTTP Proxy Server...........edited.example.com:8080"),
              std::string::npos)
        << "the report shows the window's edits";
}

TEST(ReportCommands, ExportWritesTheChosenFile) {
    static constexpr char kFilter[] = "Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";
    Window w;
    const fs::path dir = w.image->dir();
    struct Case {
        std::optional<std::string> chosen;  // nullopt: cancelled
        bool written;
    };
    const Case cases[] = {
        {std::nullopt, false},
        {(dir / "missing" / "report.txt").string(), false},
        {(dir / "report.txt").string(), true},
    };
    for (const Case& c : cases) {
        std::optional<Platform::OpenFileName> asked;
        w.image->platform().setFileDialogHandler(
            [&](bool save, const Platform::OpenFileName& dialog) {
                EXPECT_TRUE(save);
                asked = dialog;
                return c.chosen;
            });
        w.window->mnuFileExport.userClick();
        ASSERT_TRUE(asked);
        EXPECT_EQ(asked->title, "Export");
        EXPECT_EQ(asked->defExt, "txt");
        EXPECT_EQ(asked->initialDir, "C:\\Program Files\\Vantrel");
        EXPECT_EQ(asked->filter, std::string(kFilter, sizeof kFilter - 1));
        EXPECT_EQ(fs::exists(dir / "report.txt"), c.written);
        EXPECT_TRUE(w.dialogs.boxes.empty()) << "export failures are silent";
    }
    const std::string text = test::readFile(dir / "report.txt");
    EXPECT_NE(text.find("Configuration File..........[Current Configuration]\r\n"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST(ReportCommands, ExportNamesTheOpenedFile) {
    Window w;
    const fs::path config = w.image->dir() / "office.vtl";
    w.window->document->SaveConfigurationFile(config.string(), w.window->addIns);
    std::string initialDir;
    w.image->platform().setFileDialogHandler(
        [&](bool, const Platform::OpenFileName& dialog) -> std::optional<std::string> {
            initialDir = dialog.initialDir;
            return (w.image->dir() / "office.txt").string();
        });
    w.window->mnuFileExport.userClick();
    EXPECT_EQ(initialDir, config.string());
    EXPECT_NE(test::readFile(w.image->dir() / "office.txt")
                  .find("Configuration File.........." + config.string() + "\r\n"),
              std::string::npos);
}

TEST(ReportCommands, PrintSetupMakesTheChosenPrinterCurrent) {
    Window w;
    w.image->platform().setPrintDialogHandler([](frmPrintSetup& form) {
        form.cboPrinter.userSelect(1);
        form.cmdOK.userClick();
    });
    w.window->mnuFilePrintSetup.userClick();
    EXPECT_EQ(platform::sys().GetOutputPrinter(), "HP LaserJet 5N");
    w.dialogs.answers = {platform::Answer::Yes};
    w.window->mnuFilePrint.userClick();
    EXPECT_EQ(w.job().rfind("Printer: HP LaserJet 5N\r\n", 0), 0u);
}

}  // namespace
}  // namespace vtl::ui
