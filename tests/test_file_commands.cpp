// The File menu on the sample machines: open, save, Save As, apply with the
// reset decision, the file dialogs and the recent-file list.
#include <gtest/gtest.h>

#include "app/clsMRUList.h"
#include "config/modAPI.h"
#include "support/MainWindow.h"
#include "ui/AdvancedTab.h"

namespace vtl {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

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
    EXPECT_EQ(f.w().MRUList->fileList(), std::vector<std::string>{file});
    EXPECT_EQ(f.w().mnuFileRecent(1).caption(), "&1. office.vtl");
    EXPECT_TRUE(f.texts().empty());
}

TEST(FileCommands, AMissingFileIsReportedAndLeavesTheList) {
    Files f;
    const std::string file = (f.dir.path() / "gone.vtl").string();
    SaveRegSetting(kAppName, "Recent", "File2", file);
    f.w().openFile(file);
    EXPECT_EQ(f.texts(),
              std::vector<std::string>{"The file '" + file +
                                       "' could not be opened.\r\n\r\nIt has been "
                                       "removed from the most recently used (MRU) list."});
    EXPECT_EQ(f.m.dialogs.boxes[0].style & platform::mb::IconMask, platform::mb::IconInformation);
    EXPECT_EQ(f.w().caption(), "[Current Configuration] - Vantrel");
    EXPECT_EQ(GetRegSetting(kAppName, "Recent", "File2", ""), "");
}

TEST(FileCommands, ApplyDecidesOnTheReset) {
    struct Case {
        std::string name;
        bool edited, resetNeeded;
        std::vector<Answer> answers;
        std::vector<std::string> texts;
        bool applied;
        int restartDialogs;
    };
    const std::string ask = "Apply configuration changes?",
                      done = "Configuration updated - no restart required.";
    const Case cases[] = {
        {"unchanged", false, false, {}, {"No configuration changes have been made."}, false, 0},
        {"declined", true, false, {Answer::No}, {ask}, false, 0},
        {"no reset", true, false, {Answer::Yes}, {ask, done}, true, 0},
        {"reset needed", true, true, {Answer::Yes}, {ask}, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Files f;
        f.w().mnuToolsRefresh.userClick();
        if (c.edited)
            f.w().advanced->txtComments.userType("edited");
        if (c.resetNeeded)
            f.w().UpdateStatus(2);
        f.m.dialogs.answers = c.answers;
        f.w().mnuFileApply.userClick();
        EXPECT_EQ(f.texts(), c.texts);
        EXPECT_EQ(GetRegSetting(kAppName, "Options", "LastFileApplied", "N/A"),
                  c.applied ? "[Current Configuration] " : "N/A");
        EXPECT_EQ(f.m.dialogs.modalCount, c.restartDialogs);
        EXPECT_FALSE(f.m.resetShown() && c.applied);
        EXPECT_EQ(f.w().changed, !c.applied && c.edited);
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
    EXPECT_EQ(shown[0].initialDir, "C:\\Program Files\\Vantrel");
    EXPECT_TRUE(f.m.unsavedShown());

    choice = (f.dir.path() / "saved.vtl").string();
    f.w().mnuFileSave.userClick();
    EXPECT_EQ(f.w().caption(), "saved.vtl - Vantrel");
    EXPECT_FALSE(f.m.unsavedShown());
    EXPECT_NE(test::readFile(*choice).find("Comments=edited"), std::string::npos);
    EXPECT_EQ(f.w().MRUList->fileList().front(), *choice);
}

TEST(RecentFiles, ListRules) {
    struct Case {
        std::string maxFile;
        std::vector<std::string> opened;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"9", {"1", "2", "3", "4", "5", "6"}, {"6", "5", "4", "3", "2"}},
        {"3", {"w", "x", "a", "y", "A"}, {"A", "y", "x"}},  // "a" and "A" are one file
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

}  // namespace
}  // namespace vtl
