// The Network Drives add-in as the program ships it: the module in the addins
// folder beside the program, registered on first use, through its dialog, a
// saved file, a load and an apply on sample machines.
#include <gtest/gtest.h>

#include "addins/NetworkDrives/clsNetworkDrives.h"
#include "addins/NetworkDrives/frmNetworkDrives.h"
#include "config/ConfigFile.h"
#include "config/VtlError.h"
#include "config/modAPI.h"
#include "support/MainWindow.h"

namespace vtl {
namespace {

using netdrives::frmNetworkDrives;
using netdrives::NetworkDrive;
using test::RegProbe;
using Drives = std::vector<NetworkDrive>;
using Strings = std::vector<std::string>;

constexpr const char* kClass = "NetworkDrives.clsNetworkDrives";

// The remote path the image's registry keeps for a persistent drive.
std::optional<test::RawValue> remotePath(const std::string& sample, const std::string& letter) {
    const std::string key = sample == "win98" ? "HKEY_CURRENT_USER\\Network\\Persistent\\"
                                              : "HKEY_CURRENT_USER\\Network\\";
    return RegProbe::get(key + letter, "RemotePath");
}

// Edits the add-in's dialog as a user would.
struct Edit {
    std::string letter, path;
};
void edit(ui::Form& form, const std::vector<Edit>& edits, bool ok) {
    ASSERT_EQ(form.name(), "frmNetworkDrives");
    auto& d = static_cast<frmNetworkDrives&>(form);
    for (const Edit& e : edits) {
        d.cboDrive.setText(e.letter);
        d.txtPath.userType(e.path);
        d.cmdAdd.userClick();
    }
    (ok ? d.cmdOK : d.cmdCancel).userClick();
}

TEST(NetworkDrives, ShippedAddInIsRegisteredOnFirstLoad) {
    for (const char* sample : {"win98", "nt4", "win2000"}) {
        test::MainWindow w(sample);
        w.window->loadAddIns();
        const std::string section = "Add-Ins\\Network Drives";
        EXPECT_EQ(GetRegSetting(kAppName, section, "Class"), kClass) << sample;
        EXPECT_EQ(GetRegSetting(kAppName, section, "OS"), "*");
        EXPECT_EQ(GetRegSetting(kAppName, section, "Version"), "1.0.0");
        const std::string file = GetRegSetting(kAppName, section, "File");
        EXPECT_EQ(std::filesystem::path(file).filename(), "NetworkDrives.so");
        EXPECT_TRUE(std::filesystem::exists(file));
        EXPECT_EQ(w.window->mnuAddInsEntry(0).caption(), "Network Drives...");
        EXPECT_TRUE(w.window->mnuAddInsEntry(0).visible());
        EXPECT_EQ(w.window->addIns.size(), 1u);

        // Switched off by the user, it stays off.
        SaveRegSetting(kAppName, section, "Active", "0");
        w.window->loadAddIns();
        EXPECT_TRUE(w.window->addIns.empty());
        EXPECT_EQ(GetAllRegSettings(kAppName, "Add-Ins")->size(), 1u);
    }
}

TEST(NetworkDrives, SavedLoadedAndAppliedThroughTheModule) {
    struct Case {
        const char* sample;
        std::vector<Edit> edits;
        Drives expected;  // sorted by letter
    };
    const Case cases[] = {
        {"win2000",
         {{"P:", "\\\\fs2\\projects"}, {"H:", "\\\\fs1\\home"}},
         {{"H:", "\\\\fs1\\home"}, {"P:", "\\\\fs2\\projects"}}},
        {"win98", {{"F:", "\\\\NEWFS\\shared\\docs"}}, {{"F:", "\\\\NEWFS\\shared\\docs"}}},
        {"nt4", {{"G:", "\\\\a\\b"}, {"G:", "\\\\a\\c"}}, {{"G:", "\\\\a\\c"}}},
    };
    for (const Case& c : cases) {
        test::MainWindow w(c.sample);
        w.window->loadAddIns();
        w.image->platform().setAddInFormHandler([&](ui::Form& form) { edit(form, c.edits, true); });
        w.window->mnuAddInsEntry(0).userClick();
        EXPECT_TRUE(w.unsavedShown()) << c.sample;
        EXPECT_FALSE(w.resetShown());

        const std::string file = (w.image->dir() / "drives.vtl").string();
        ASSERT_EQ(w.window->document->SaveConfigurationFile(file, w.window->addIns), 1);
        EXPECT_EQ(ReadConfigValue("Network Drives", "Count", file),
                  std::to_string(c.expected.size()));
        EXPECT_EQ(ReadConfigValue("Network Drives", "Path1", file), c.expected[0].path);

        // Fresh add-in objects read the file and connect its drives.
        w.window->mnuToolsRefresh_Click();
        w.window->document->LoadConfigurationFile(file, w.window->addIns);
        EXPECT_FALSE(w.window->document->ApplyConfiguration(w.window->addIns));
        w.image->restart();
        for (const NetworkDrive& d : c.expected) {
            EXPECT_EQ(remotePath(c.sample, d.letter.substr(0, 1)), test::sz(d.path))
                << c.sample << " " << d.letter;
        }
        EXPECT_TRUE(w.image->messages().empty());
    }
}

TEST(NetworkDrives, DriveThatCannotBeConnectedAsksForRestart) {
    struct Case {
        std::string letter, path, options;
        bool restart;
        std::string message;
    };
    const Case cases[] = {
        {"K:", "\\\\srv\\k", "IgnoreMapErrors", false, ""},
        {"K:", "srv\\k", "IgnoreMapErrors", true, ""},
        {"1:", "\\\\srv\\k", "IgnoreMapErrors", true, ""},
        {"K:", "\\\\srv", "", true, "Could not connect network drive [K: - \\\\srv]"},
    };
    for (const Case& c : cases) {
        auto image = test::TestImage::sample("win2000");
        const std::string file = (image->dir() / "bad.vtl").string();
        test::writeFile(file, "[Network Drives]\r\nReconnect=1\r\nCount=2\r\nDrive1=" + c.letter +
                                  "\r\nPath1=" + c.path + "\r\nDrive2=m:\r\nPath2=\\\\srv\\m\r\n");
        auto addIn = image->platform().CreateObject(kClass);
        ASSERT_TRUE(addIn);
        addIn->Invoke("LoadSettings", {Variant(file)});
        addIn->Invoke("Initialize", {Variant(c.options)});
        addIn->Invoke("ApplySettings", {});
        EXPECT_EQ(addIn->Invoke("restart", {}).truth(), c.restart) << c.path;
        EXPECT_EQ(remotePath("win2000", "M"), test::sz("\\\\srv\\m")) << "the others connect";
        EXPECT_EQ(remotePath("win2000", "K").has_value(), !c.restart);
        std::vector<std::string> messages;
        for (const auto& m : image->messages())
            messages.push_back(m.text);
        EXPECT_EQ(messages, c.message.empty() ? Strings{} : Strings{c.message});
    }
}

TEST(NetworkDrives, MembersByNameAndTheirErrors) {
    auto image = test::TestImage::sample("nt4");
    auto addIn = image->platform().CreateObject("networkdrives.CLSNETWORKDRIVES");
    ASSERT_TRUE(addIn);
    struct Case {
        std::string member;
        std::vector<Variant> args;
        std::string error;
    };
    const Case cases[] = {
        {"Refresh",
         {},
         "NetworkDrives.clsNetworkDrives.Refresh: Object doesn't support this "
         "property or method"},
        {"LoadSettings",
         {},
         "NetworkDrives.clsNetworkDrives.LoadSettings: Wrong number of "
         "arguments or invalid property assignment"},
        {"saveSettings",
         {Variant((image->dir() / "no" / "such" / "x.vtl").string())},
         "NetworkDrives.clsNetworkDrives.saveSettings: Could not write the network drives into '" +
             (image->dir() / "no" / "such" / "x.vtl").string() + "'."},
        {"CHANGED", {}, ""},
        {"about", {}, ""},
    };
    for (const Case& c : cases) {
        try {
            addIn->Invoke(c.member, c.args);
            EXPECT_EQ(c.error, "") << c.member;
        } catch (const VtlError& e) {
            EXPECT_EQ(e.description(), c.error) << c.member;
        }
    }
    ASSERT_EQ(image->messages().size(), 1u);
    EXPECT_EQ(image->messages()[0].caption, "About Network Drives");
    EXPECT_EQ(image->messages()[0].style, platform::mb::IconInformation);
}

TEST(NetworkDrives, DialogEditsOnlyWithValidInput) {
    struct Case {
        std::vector<Edit> edits;
        bool ok;
        bool changed;
        Drives drives;
        std::vector<std::string> messages;
    };
    const Drives start{{"F:", "\\\\a\\f"}};
    const Case cases[] = {
        {{{"", "\\\\x\\y"}}, true, false, start, {"Choose a drive letter."}},
        {{{"G:", "x\\y"}, {"G:", "\\\\x"}},
         true,
         false,
         start,
         {"Enter the network path in the form \\\\server\\share.",
          "Enter the network path in the form \\\\server\\share."}},
        {{{"G:", " \\\\x\\y "}}, true, true, {start[0], {"G:", "\\\\x\\y"}}, {}},
        {{{"D:", "\\\\x\\d"}, {"F:", "\\\\x\\f"}},
         true,
         true,
         {{"D:", "\\\\x\\d"}, {"F:", "\\\\x\\f"}},
         {}},
        {{{"G:", "\\\\x\\y"}}, false, false, start, {}},
    };
    for (const Case& c : cases) {
        auto image = test::TestImage::sample("nt4");
        netdrives::clsNetworkDrives addIn;
        addIn.Drives(start);
        std::string caption;
        image->platform().setAddInFormHandler([&](ui::Form& form) {
            caption = form.caption();
            edit(form, c.edits, c.ok);
        });
        addIn.Show("C:\\configs\\office.vtl");
        EXPECT_EQ(caption, "Network Drives - office.vtl");
        EXPECT_EQ(addIn.Changed(), c.changed);
        EXPECT_EQ(addIn.Drives(), c.drives);
        std::vector<std::string> messages;
        for (const auto& m : image->messages())
            messages.push_back(m.text);
        EXPECT_EQ(messages, c.messages);
    }
}

}  // namespace
}  // namespace vtl
