// The File menu on the sample machines: open, save, Save As, apply with the
// reset decision, the file dialogs and the recent-file list.
#include <gtest/gtest.h>

#include "app/clsMRUList.h"
#include "config/modAPI.h"
#include "support/MainWindow.h"
#include "ui/AdvancedTab.h"
#include "ui/frmRestart.h"

namespace vtl {
namespace {

namespace fs = std::filesystem;
using platform::Answer;
namespace mb = platform::mb;

std::string configText(const std::string& advanced = "", const std::string& enabled = "0") {
    return "[Enabled Sections]\r\nGeneral=" + enabled + "\r\nInternet Explorer=" + enabled +
           "\r\nNetscape Navigator=1\r\n[Advanced]\r\nComments=from file\r\n" + advanced;
}

struct Files {
    explicit Files(const std::string& sample = "win2000") : m(sample) {}
    std::string put(const std::string& name, const std::string& text) {
        const fs::path path = dir.path() / name;
        test::writeFile(path, text);
        return path.string();
    }
    frmMain& w() { return *m.window; }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& box : m.dialogs.boxes)
            out.push_back(box.text);
        return out;
    }
    test::MainWindow m;
    test::TempDir dir;
};

TEST(FileCommands, OpenFillsTheWindowFromTheFile) {
    Files f;
    const std::string file = f.put("office.vtl", configText("ReadOnly=1\r\n"));
    f.w().openFile(file + "  ");
    EXPECT_EQ(f.w().caption(), "office.vtl - Vantrel - [Read Only]");
    EXPECT_EQ(f.w().advanced->txtComments.text(), "from file");
    EXPECT_FALSE(f.w().mnuFileSave.enabled());
    EXPECT_FALSE(f.w().mnuFileSaveAs.enabled());
    EXPECT_FALSE(f.w().tbarTools.button(frmMain::ButtonSave).enabled);
    EXPECT_EQ(f.w().tbarTools.button(frmMain::ButtonGeneral).value, 0);
    EXPECT_EQ(f.w().tbarTools.button(frmMain::ButtonNavigator).value, 1);
    EXPECT_FALSE(f.w().SSTab.tab(frmMain::TabGeneral).enabled);
    EXPECT_EQ(f.w().SSTab.selected(), frmMain::TabNavigator);
    EXPECT_FALSE(f.m.unsavedShown());
    EXPECT_EQ(f.w().MRUList->fileList(), std::vector<std::string>{file});
    EXPECT_EQ(f.w().mnuFileRecent(1).caption(), "&1. office.vtl");
    EXPECT_TRUE(f.texts().empty());

    // A writable file enables saving again.
    f.w().openFile(f.put("home.vtl", configText()));
    EXPECT_EQ(f.w().caption(), "home.vtl - Vantrel");
    EXPECT_TRUE(f.w().mnuFileSave.enabled());
    EXPECT_EQ(f.w().mnuFileRecent(2).caption(), "&2. office.vtl");
}

TEST(FileCommands, FilesThatCannotBeOpenedChangeNothing) {
    struct Case {
        std::string name;
        std::string content;  // nullopt-like: "<none>" means the file does not exist
        std::string message;
        std::uint32_t icon;
    };
    const Case cases[] = {
        {"gone.vtl", "<none>",
         "' could not be opened.\r\n\r\nIt has been removed from the most recently used (MRU) "
         "list.",
         mb::IconInformation},
        {"binary.vtl", std::string("[Advanced]\r\nAutoApply=1\r\n") + '\0' + "\x01\x02",
         "Invalid configuration file.", mb::IconCritical},
        {"empty.vtl", "", "Invalid configuration file.", mb::IconCritical},
        {"text.vtl", "just some words\r\n", "Invalid configuration file.", mb::IconCritical},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Files f;
        const std::string file =
            c.content == "<none>" ? (f.dir.path() / c.name).string() : f.put(c.name, c.content);
        SaveRegSetting(kAppName, "Recent", "File2", file);
        f.w().openFile(file);
        ASSERT_EQ(f.m.dialogs.boxes.size(), 1u);
        EXPECT_NE(f.m.dialogs.boxes[0].text.find(c.message), std::string::npos);
        EXPECT_EQ(f.m.dialogs.boxes[0].style & mb::IconMask, c.icon);
        EXPECT_EQ(f.w().caption(), "[Current Configuration] - Vantrel");
        EXPECT_TRUE(f.w().document->ConfFile().empty());
        // Only a missing file leaves the list.
        EXPECT_EQ(GetRegSetting(kAppName, "Recent", "File2", "").empty(), c.content == "<none>");
        if (c.content != "<none>") {
            EXPECT_EQ(test::readFile(file), c.content);
        }
    }
}

TEST(FileCommands, ApplyDecidesOnTheReset) {
    struct Case {
        std::string name;
        std::function<void(frmMain&)> edit;
        std::vector<Answer> answers;
        std::vector<std::string> texts;
        bool applied;
        int restartDialogs;
    };
    const auto comment = [](frmMain& w) { w.advanced->txtComments.userType("edited"); };
    const Case cases[] = {
        {"unchanged", [](frmMain&) {}, {}, {"No configuration changes have been made."}, false, 0},
        {"declined", comment, {Answer::No}, {"Apply configuration changes?"}, false, 0},
        {"no reset",
         comment,
         {Answer::Yes},
         {"Apply configuration changes?", "Configuration updated - no restart required."},
         true,
         0},
        {"reset needed",
         [&](frmMain& w) {
             comment(w);
             w.UpdateStatus(2);
         },
         {Answer::Yes},
         {"Apply configuration changes?"},
         true,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Files f;
        f.w().mnuToolsRefresh.userClick();
        c.edit(f.w());
        f.m.dialogs.answers = c.answers;
        f.w().mnuFileApply.userClick();
        EXPECT_EQ(f.texts(), c.texts);
        EXPECT_EQ(GetRegSetting(kAppName, "Options", "LastFileApplied", "N/A"),
                  c.applied ? "[Current Configuration] " : "N/A");
        EXPECT_EQ(f.m.dialogs.modalCount, c.restartDialogs);
        EXPECT_FALSE(f.m.resetShown() && c.applied);
        EXPECT_EQ(f.w().changed, !c.applied && c.name != "unchanged");
    }
}

TEST(FileCommands, AutoApplyAndAutoRebootFiles) {
    // AutoApply: applied at once, without the question; the restart dialog follows.
    Files f;
    f.w().openFile(f.put("my-office.vtl", configText("AutoApply=1\r\n", "1")));
    // Filling the General tab from the file marks a reset as needed.
    EXPECT_TRUE(f.texts().empty());
    EXPECT_EQ(f.m.dialogs.modalCount, 1);
    EXPECT_EQ(GetRegSetting(kAppName, "Options", "LastFileApplied", ""), "my");

    // AutoReboot as well: the saved method runs and the program ends.
    Files nt("nt4");  // saved method "1", reboot
    const std::string file = nt.put("lab.vtl", configText("AutoApply=1\r\nAutoReboot=1\r\n", "1"));
    EXPECT_THROW(nt.w().openFile(file), ProgramEnd);
    EXPECT_TRUE(nt.w().programEnded);
    EXPECT_EQ(nt.w().document, nullptr);
    EXPECT_EQ(test::readFile(nt.m.image->dir() / "power.log").substr(0, 7), "reboot\t");
    // The list was written back when the window unloaded.
    EXPECT_EQ(GetRegSetting(kAppName, "Recent", "File1", ""), file);
}

TEST(FileCommands, SaveAndSaveAs) {
    Files f;
    std::vector<platform::Platform::OpenFileName> shown;
    std::optional<std::string> choice;
    f.m.image->platform().setFileDialogHandler(
        [&](bool, const platform::Platform::OpenFileName& dialog) {
            shown.push_back(dialog);
            return choice;
        });
    // Without a file, Save is Save As; cancelling does nothing.
    f.w().advanced->txtComments.userType("edited");
    f.w().mnuFileSave.userClick();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Save As");
    EXPECT_EQ(shown[0].flags, 8198u);
    EXPECT_EQ(shown[0].defExt, "vtl");
    EXPECT_EQ(shown[0].initialDir, "C:\\Program Files\\Vantrel");
    EXPECT_EQ(shown[0].filter,
              std::string("Vantrel Files (*.vtl)\0*.vtl\0All Files (*.*)\0*.*\0", 48));
    EXPECT_TRUE(f.m.unsavedShown());

    choice = (f.dir.path() / "saved.vtl").string();
    f.w().mnuFileSave.userClick();
    EXPECT_EQ(f.w().caption(), "saved.vtl - Vantrel");
    EXPECT_FALSE(f.m.unsavedShown());
    EXPECT_NE(test::readFile(*choice).find("Comments=edited"), std::string::npos);
    EXPECT_EQ(f.w().MRUList->fileList().front(), *choice);

    // A file that cannot be written: both messages; caption and list unchanged.
    f.w().saveFile((f.dir.path() / "none" / "x.vtl").string());
    ASSERT_FALSE(f.m.image->messages().empty());
    EXPECT_EQ(f.m.image->messages().back().text.rfind("Error accessing file '", 0), 0u);
    EXPECT_EQ(f.texts().back(), "Error saving configuration.");
    EXPECT_EQ(f.w().caption(), "saved.vtl - Vantrel");
    EXPECT_EQ(f.w().MRUList->fileList().size(), 1u);

    // Open starts in the document's file.
    choice = f.put("other.vtl", configText());
    f.w().mnuFileOpen.userClick();
    EXPECT_EQ(shown.back().title, "Open");
    EXPECT_EQ(shown.back().flags, 4100u);
    // (a failed save still names the document's file)
    EXPECT_EQ(shown.back().initialDir, (f.dir.path() / "none" / "x.vtl").string());
    EXPECT_EQ(f.w().caption(), "other.vtl - Vantrel");
}

TEST(RecentFiles, ListRules) {
    struct Case {
        std::string maxFile;
        std::vector<std::string> opened;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"0", {"a", "b"}, {}},
        {"9", {"1", "2", "3", "4", "5", "6"}, {"6", "5", "4", "3", "2"}},
        {"3", {"a", "b", "A", "c", "d"}, {"d", "c", "A"}},
        {"2", {"C:\\x\\Office.vtl", "b", "c:\\X\\office.VTL"}, {"c:\\X\\office.VTL", "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maxFile);
        test::MainWindow m;
        SaveRegSetting(kAppName, "Recent", "MaxFile", c.maxFile);
        clsMRUList list;
        list.getRecentList();
        for (const std::string& path : c.opened)
            list.setRecentFile(path);
        EXPECT_EQ(list.fileList(), c.expected);
        list.setRecentList();
        clsMRUList again;
        again.getRecentList();
        EXPECT_EQ(again.fileList(), c.expected);
    }
}

TEST(RecentFiles, RemovingKeepsTheOtherNumbers) {
    test::MainWindow m;
    for (const char* value : {"File1", "File2", "File3"})
        SaveRegSetting(kAppName, "Recent", value, std::string("C:\\") + value + ".vtl");
    clsMRUList list;
    list.getRecentList();
    list.removeRecentFile("c:\\FILE2.VTL");
    EXPECT_EQ(list.fileList(), (std::vector<std::string>{"C:\\File1.vtl", "C:\\File3.vtl"}));
    EXPECT_EQ(GetRegSetting(kAppName, "Recent", "File2", "-"), "-");
    EXPECT_EQ(GetRegSetting(kAppName, "Recent", "File3", ""), "C:\\File3.vtl");
    // Reading stops at the gap.
    clsMRUList again;
    again.getRecentList();
    EXPECT_EQ(again.fileList(), std::vector<std::string>{"C:\\File1.vtl"});

    for (auto [path, name] :
         {std::pair{"C:\\a\\b.vtl", "b.vtl"}, std::pair{"/home/me/c.vtl", "c.vtl"},
          std::pair{"plain.vtl", "plain.vtl"}, std::pair{"C:\\dir\\", ""}})
        EXPECT_EQ(clsMRUList::GetFileName(path), name) << path;
}

TEST(RecentFiles, EntriesOpenTheirFiles) {
    Files f;
    const std::string kept = f.put("kept.vtl", configText());
    const std::string deleted = f.put("deleted.vtl", configText());
    f.w().openFile(kept);
    f.w().openFile(deleted);
    fs::remove(deleted);
    f.w().mnuFileRecent(2).userClick();
    EXPECT_EQ(f.w().caption(), "kept.vtl - Vantrel");
    f.w().mnuFileRecent(2).userClick();  // now the deleted file
    EXPECT_EQ(f.texts().size(), 1u);
    EXPECT_EQ(f.w().MRUList->fileList(), std::vector<std::string>{kept});
    EXPECT_FALSE(f.w().mnuFileRecent(2).visible());
    EXPECT_EQ(f.w().caption(), "kept.vtl - Vantrel");
}

}  // namespace
}  // namespace vtl
