// The Network Drives add-in as the program ships it: through its dialog, a
// saved file, a load and an apply on sample machines, and drives that fail.
#include <gtest/gtest.h>

#include "addins/NetworkDrives/clsNetworkDrives.h"
#include "addins/NetworkDrives/frmNetworkDrives.h"
#include "config/ConfigFile.h"
#include "config/modAPI.h"
#include "support/MainWindow.h"

namespace vtl {
namespace {

using Drives = std::vector<netdrives::NetworkDrive>;
using Strings = std::vector<std::string>;

// The remote path the image's registry keeps for a persistent drive.
std::optional<test::RawValue> remotePath(const std::string& sample, const std::string& letter) {
    const std::string key = sample == "win98" ? "HKEY_CURRENT_USER\\Network\\Persistent\\"
                                              : "HKEY_CURRENT_USER\\Network\\";
    return test::RegProbe::get(key + letter, "RemotePath");
}

Strings texts(test::TestImage& image) {
    Strings out;
    for (const auto& m : image.messages())
        out.push_back(m.text);
    return out;
}

// Edits the add-in's dialog as a user would.
struct Edit {
    std::string letter, path;
};
void edit(ui::Form& form, const std::vector<Edit>& edits, bool ok) {
    ASSERT_EQ(form.name(), "frmNetworkDrives");
    auto& d = static_cast<netdrives::frmNetworkDrives&>(form);
    for (const Edit& e : edits) {
        d.cboDrive.setText(e.letter);
        d.txtPath.userType(e.path);
        d.cmdAdd.userClick();
    }
    (ok ? d.cmdOK : d.cmdCancel).userClick();
}

TEST(NetworkDrives, SavedLoadedAndAppliedThroughTheModule) {
    struct Case {
        const char* sample;
        bool loadFirst;  // a file without the add-in's section loaded before the edit
        std::vector<Edit> edits;
        Drives expected;  // sorted by letter
    };
    const Case cases[] = {
        {"win2000",
         false,
         {{"P:", "\\\\fs2\\projects"}, {"H:", "\\\\fs1\\home"}},
         {{"H:", "\\\\fs1\\home"}, {"P:", "\\\\fs2\\projects"}}},
        {"win98", true, {{"F:", "\\\\NEWFS\\shared\\docs"}}, {{"F:", "\\\\NEWFS\\shared\\docs"}}},
    };
    for (const Case& c : cases) {
        test::MainWindow w(c.sample);
        w.window->loadAddIns();
        const std::string file = (w.image->dir() / "drives.vtl").string();
        if (c.loadFirst) {
            test::writeFile(file, "[Network]\r\n");
            w.window->document->LoadConfigurationFile(file, w.window->addIns);
        }
        w.image->setAddInFormHandler([&](ui::Form& form) { edit(form, c.edits, true); });
        w.window->mnuAddInsEntry(0).userClick();

        ASSERT_EQ(w.window->document->SaveConfigurationFile(file, w.window->addIns), 1);
        EXPECT_EQ(ReadConfigValue("Network Drives", "Path1", file), c.expected[0].path);
        EXPECT_EQ(ReadConfigValue("Network Drives", "Reconnect", file), "1");  // the default

        // Fresh add-in objects read the file and connect its drives.
        w.window->mnuToolsRefresh_Click();
        w.window->document->LoadConfigurationFile(file, w.window->addIns);
        EXPECT_FALSE(w.window->document->ApplyConfiguration(w.window->addIns));
        w.image->restart();
        for (const auto& d : c.expected) {
            EXPECT_EQ(remotePath(c.sample, d.letter.substr(0, 1)), test::sz(d.path))
                << c.sample << " " << d.letter;
        }
        EXPECT_TRUE(w.image->messages().empty());
    }
}

TEST(NetworkDrives, DriveThatCannotBeConnectedAsksForRestart) {
    struct Case {
        std::string path, options, message;
    };
    const Case cases[] = {
        {"srv\\k", "IgnoreMapErrors", ""},
        {"\\\\srv", "", "Could not connect network drive [K: - \\\\srv]"},
    };
    for (const Case& c : cases) {
        auto image = test::TestImage::sample("win2000");
        const std::string file = (image->dir() / "bad.vtl").string();
        test::writeFile(file, "[Network Drives]\r\nReconnect=1\r\nCount=2\r\nDrive1=K:\r\nPath1=" +
                                  c.path + "\r\nDrive2=m:\r\nPath2=\\\\srv\\m\r\n");
        auto addIn = image->platform().CreateObject("NetworkDrives.clsNetworkDrives");
        ASSERT_TRUE(addIn);
        addIn->Invoke("LoadSettings", {Variant(file)});
        addIn->Invoke("Initialize", {Variant(c.options)});
        addIn->Invoke("ApplySettings", {});
        EXPECT_TRUE(addIn->Invoke("restart", {}).truth()) << c.path;
        EXPECT_EQ(remotePath("win2000", "M"), test::sz("\\\\srv\\m")) << "the others connect";
        EXPECT_FALSE(remotePath("win2000", "K"));
        EXPECT_EQ(texts(*image), c.message.empty() ? Strings{} : Strings{c.message});
    }
}

TEST(NetworkDrives, DialogEditsOnlyWithValidInput) {
    struct Case {
        Edit edit;
        bool ok, changed;
        Drives drives;
        Strings messages;
    };
    const Drives start{{"F:", "\\\\a\\f"}};
    const Case cases[] = {
        {{"", "\\\\x\\y"}, true, false, start, {"Choose a drive letter."}},
        {{"G:", "\\\\x"},
         true,
         false,
         start,
         {"Enter the network path in the form \\\\server\\share."}},
        {{"F:", " \\\\x\\f "}, true, true, {{"F:", "\\\\x\\f"}}, {}},  // trimmed, replaces F:
        {{"G:", "\\\\x\\y"}, false, false, start, {}},
    };
    for (const Case& c : cases) {
        auto image = test::TestImage::sample("nt4");
        netdrives::clsNetworkDrives addIn;
        addIn.Drives(start);
        image->setAddInFormHandler([&](ui::Form& form) { edit(form, {c.edit}, c.ok); });
        addIn.Show("C:\\configs\\office.vtl");
        EXPECT_EQ(addIn.Changed(), c.changed);
        EXPECT_EQ(addIn.Drives(), c.drives);
        EXPECT_EQ(texts(*image), c.messages);
    }
}

}  // namespace
}  // namespace vtl
