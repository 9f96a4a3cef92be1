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
#include <vector>

#include "app/frmMain.h"
#include "browser/clsBrowser.h"
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

struct Machine {
    explicit Machine(const std::string& name, const std::string& spoolDir)
        : image(TestImage::sample(name)), spool(image->dir() / spoolDir) {}

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
    // The print dialog, as a user handles it.
    void user(std::function<void(frmPrintSetup&)> act) {
        image->setPrintDialogHandler(std::move(act));
    }

    std::unique_ptr<TestImage> image;
    fs::path spool;
    std::unique_ptr<clsVtlConfig> doc = std::make_unique<clsVtlConfig>();
};

TEST(Printing, TheReportBecomesAJobInTheSpoolFolder) {
    Machine m("win98", "drive_c/WINDOWS/spool/PRINTERS");
    m.print();
    EXPECT_EQ(undated(m.job(1)),
              undated("Printer: HP LaserJet 4\r\nDriver: HP LaserJet 4\r\nPort: LPT1:\r\n"
                      "Font: Courier New, 10\r\nCopies: 1\r\nOrientation: Portrait\r\n"
                      "Duplex: None\r\n\r\n" +
                      m.reportText() + "\r\n"));
    m.print();
    EXPECT_NE(m.job(2), "<no job>") << "a second document is a second job";
    EXPECT_EQ(std::distance(fs::directory_iterator(m.spool), fs::directory_iterator()), 2);
}

TEST(Printing, PrintSetupShowsTheCurrentPrinter) {
    Machine m("win98", "drive_c/WINDOWS/spool/PRINTERS");
    int shown = 0;
    m.user([&](frmPrintSetup& form) {
        ++shown;
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
        const std::string key =
            "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";
        test::RegProbe::set(
            key + "Xerox DocuPrint N2125", "Default DevMode",
            test::binary(makeDevMode({"Xerox DocuPrint N2125",
                                      Platform::DM_ORIENTATION | Platform::DM_DUPLEX,
                                      Platform::DMORIENT_LANDSCAPE, 0, Platform::DMDUP_VERTICAL})));
        test::RegProbe::set(key + "Engineering Wide-Format Plotter Room 3", "Port",
                            test::sz("LPT2:"));
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
        const std::string job = m.job(1), header = job.substr(0, job.find("\r\n\r\n"));
        EXPECT_EQ(header.substr(header.find("Copies:")), c.header) << c.pick;
    }
}

TEST(Printing, PrintSetupRefusesABadNumberOfCopies) {
    for (const char* copies : {"0", "abc", "10000"}) {
        frmPrintSetup form;
        form.fill({{"A", "drv", "LPT1:", false}}, {"A", 1, 1, 0});
        form.txtCopies.userType(copies);
        form.cmdOK.userClick();
        EXPECT_TRUE(form.Cancelled()) << copies;
        EXPECT_TRUE(form.txtCopies.hasFocus());
        EXPECT_EQ(form.txtCopies.selLength(), std::string(copies).size());
    }
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
    {
        Window w;
        w.dialogs.answers = {platform::Answer::No};
        w.window->mnuFilePrint.userClick();
        EXPECT_EQ(w.job(), "");
        ASSERT_EQ(w.dialogs.boxes.size(), 1u);
        EXPECT_EQ(w.dialogs.boxes[0].text, "Print current configuration?");
        EXPECT_EQ(w.dialogs.boxes[0].style, platform::mb::YesNo | platform::mb::IconQuestion);
    }
    {
        Window w;
        platform::sys().SetOutputPrinter("Gone Printer");
        w.dialogs.answers = {platform::Answer::Yes};
        w.window->mnuFilePrint.userClick();
        EXPECT_EQ(w.job(), "");
        ASSERT_EQ(w.dialogs.boxes.size(), 2u);
        EXPECT_EQ(w.dialogs.boxes[1].text,
                  "An error occurred while attempting to print.  Please "
                  "check your printer and try again.");
        EXPECT_EQ(w.dialogs.boxes[1].style, platform::mb::IconInformation);
    }
    Window w;
    w.window->oIEConfig->HTTPAddress("edited.example.com");
    w.dialogs.answers = {platform::Answer::Yes};
    w.window->mnuFilePrint.userClick();
    EXPECT_NE(w.job().find("HTTP Proxy Server...........edited.example.com:8080"),
              std::string::npos)
        << "the report shows the window's edits";
}

TEST(ReportCommands, ExportWritesTheChosenFileOrReportsTheFailure) {
    Window w;
    const fs::path dir = w.image->dir();
    for (const fs::path& chosen : {dir / "missing" / "report.txt", dir / "report.txt"}) {
        w.dialogs.boxes.clear();
        std::string initialDir;
        w.image->platform().setFileDialogHandler(
            [&](bool save, const Platform::OpenFileName& dialog) -> std::optional<std::string> {
                EXPECT_TRUE(save);
                initialDir = dialog.initialDir;
                return chosen.string();
            });
        w.window->mnuFileExport.userClick();
        EXPECT_EQ(initialDir, "C:\\Program Files\\Vantrel");
        if (fs::exists(chosen.parent_path())) {
            EXPECT_TRUE(w.dialogs.boxes.empty());
            continue;
        }
        ASSERT_EQ(w.dialogs.boxes.size(), 1u);
        EXPECT_EQ(w.dialogs.boxes[0].text, "Error accessing file '" + chosen.string() + "'.");
        EXPECT_EQ(w.dialogs.boxes[0].style, platform::mb::IconExclamation);
    }
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_NE(test::readFile(dir / "report.txt")
                  .find("Configuration File..........[Current Configuration]\r\n"),
              std::string::npos);
}

}  // namespace
}  // namespace vtl::ui
