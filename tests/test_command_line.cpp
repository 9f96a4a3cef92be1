// The command line: its grammar on a Windows command string and on the host's
// argument vector, the switches on the main window, the settings migration and
// the single-instance rule.
#include <gtest/gtest.h>
#include <unistd.h>

#include <map>
#include <sstream>

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "config/modAPI.h"
#include "support/MainWindow.h"
#include "ui/frmRestart.h"

namespace vtl {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

TEST(CommandLine, WindowsCommandString) {
    struct Case {
        std::string text;
        int maxArgs;
        Args expected;
    };
    const Case cases[] = {
        {"   /load c:\\x.vtl /apply", 10, {"load c:\\x.vtl ", "apply"}},
        {"/load \"c:\\a b.vtl\"/apply", 10, {"load c:\\a b.vtl", "apply"}},
        {"c:\\x.VTL", 10, {"c:\\x.VTL"}},
        {"/ load//x", 10, {" load", "x"}},
        {"/a/b/c", 2, {"a", "b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetCommandLine(c.text, c.maxArgs), c.expected) << c.text;
}

TEST(CommandLine, HostArgumentVector) {
    struct Case {
        Args argv;
        Args expected;
    };
    const Case cases[] = {
        {{"/hidden", "/load", "/home/me/office.vtl", "/apply"},
         {"hidden", "load /home/me/office.vtl", "apply"}},
        {{"/home/me/my", "office.vtl"}, {"/home/me/my office.vtl"}},
        {{"/loadtest.vtl"}, {"loadtest.vtl"}},
        {{"/hidden/x.vtl"}, {"/hidden/x.vtl"}},
        {{"-LOAD", "x.vtl", "--Export=r.txt", "--apply"}, {"LOAD x.vtl", "Export=r.txt", "apply"}},
        {{"---load", "/export/r.txt"}, {"---load /export/r.txt"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetCommandLine(c.argv), c.expected) << ::testing::PrintToString(c.argv);
    }
}

TEST(CommandLine, GetSwitchTakesTheFirstArgumentThatBeginsWithTheWord) {
    const Args args = {"LOAD c:\\a.vtl", "load c:\\b.vtl", "exp", "Print"};
    EXPECT_EQ(getSwitch("load", args), "LOAD c:\\a.vtl");
    EXPECT_EQ(getSwitch("print", args), "Print");
    EXPECT_EQ(getSwitch("export", args), "");
    EXPECT_EQ(getSwitch("save", {}), "");
}

// A configuration file for the window tests: General only, with the file's comment.
constexpr const char* kConfig =
    "[Enabled Sections]\r\nGeneral=0\r\nInternet Explorer=0\r\nNetscape Navigator=0\r\n"
    "[Advanced]\r\nComments=from file\r\n";

struct Started {
    explicit Started(const std::string& sample = "win2000") : m(sample) {}
    // Runs Form_Load with a Windows command string.
    void run(const std::string& commandString) {
        m.window->Command = CommandLine::fromString(commandString);
        m.window->Form_Load();
    }
    test::MainWindow m;
};

TEST(CommandLine, SwitchesRunInTheirOwnOrder) {
    struct Case {
        std::string command;
        std::string caption;
        std::string lastApplied;
        bool hidden;
    };
    const Case cases[] = {
        {"/apply/load c:\\a.vtl", "a.vtl - Vantrel", "a.vtl ", false},
        {"/load c:\\a.vtl /load c:\\b.vtl", "a.vtl - Vantrel", "N/A", false},
        {"c:\\b.VTL", "b.VTL - Vantrel", "N/A", false},
        {"/nothing/c:\\b.vtl", "[Current Configuration] - Vantrel", "N/A", false},
        {"/hidden/load c:\\b.vtl/apply", "", "b.vtl ", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Started s;
        for (const char* name : {"a.vtl", "b.vtl"})
            test::writeFile(s.m.image->dir() / "drive_c" / name, kConfig);
        s.run(c.command);
        EXPECT_EQ(s.m.window->hiddenRun, c.hidden);
        if (c.hidden) {
            EXPECT_EQ(s.m.window->document, nullptr);  // closed at the end
            EXPECT_FALSE(s.m.window->visible());
        } else {
            EXPECT_EQ(s.m.window->caption(), c.caption);
        }
        EXPECT_EQ(GetRegSetting(kAppName, "Options", "LastFileApplied", "N/A"), c.lastApplied);
        EXPECT_TRUE(s.m.dialogs.boxes.empty());
    }
}

TEST(CommandLine, RestartSwitchesRunTheirMethods) {
    const std::pair<const char*, const char*> cases[] = {{"/reboot/manual", "reboot"},
                                                         {"/suspend/shutdown", "shutdown suspend"},
                                                         {"/prompt", "reboot"}};
    for (const auto& [command, power] : cases) {
        SCOPED_TRACE(command);
        Started s;
        SaveRegSetting(kAppName, "Options", "Restart", "1");  // the dialog's default: reboot
        s.m.dialogs.user = [](ui::Form& form) {
            if (auto* restart = dynamic_cast<ui::frmRestart*>(&form))
                restart->cmdOK.click();
        };
        s.run(command);
        std::string methods;
        std::istringstream log(test::readFile(s.m.image->dir() / "power.log"));
        for (std::string line; std::getline(log, line);)
            methods += (methods.empty() ? "" : " ") + line.substr(0, line.find('\t'));
        EXPECT_EQ(methods, power);
    }
}

TEST(Startup, MigrationWritesTheVersionOnce) {
    test::MainWindow m;
    MigrateSettings();
    EXPECT_EQ(GetRegSetting(kAppName, "", "", ""), ProgramVersion());

    // With an old store: only when no version is there yet.
    std::map<std::string, std::string> old = {{"MaxFile", "2"}, {"File1", "a"}, {"File2", "b"}};
    const OldSettingReader reader = [&](const std::string&, const std::string& key,
                                        const std::string& fallback) {
        return old.count(key) ? old[key] : fallback;
    };
    MigrateSettings(reader);
    EXPECT_EQ(GetRegSetting(kAppName, "Recent", "File1", ""), "");
    SaveRegSetting(kAppName, "", "", "");
    MigrateSettings(reader);
    EXPECT_EQ(GetRegSetting(kAppName, "Recent", "MaxFile", ""), "2");
    EXPECT_EQ(GetRegSetting(kAppName, "Recent", "File2", ""), "b");
}

// Another interactive instance: a window record of a live process of this user.
void otherInstance(const fs::path& image, const std::string& caption, bool minimised) {
    fs::create_directories(image / "instances");
    test::writeFile(
        image / "instances" / (std::to_string(::getuid()) + "." + std::to_string(::getppid())),
        caption + "\nshown\n" + (minimised ? "minimised" : "normal") + "\n");
}

TEST(Startup, ASecondInstanceHandsOverToTheFirst) {
    struct Case {
        std::string caption;
        bool minimised;
        std::string requests;
    };
    const Case cases[] = {
        {"office.vtl - Vantrel", true, "restore\nfront\n"},
        {"Some editor - vantrel", false, ""},  // case-sensitive: not found
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        test::MainWindow m;
        otherInstance(m.image->dir(), c.caption, c.minimised);
        EXPECT_FALSE(m.window->Form_Activate());
        EXPECT_EQ(m.window->caption(), "");
        EXPECT_EQ(m.window->document, nullptr);
        EXPECT_EQ(test::readFile(m.image->dir() / "instances" /
                                 (std::to_string(::getuid()) + "." + std::to_string(::getppid()) +
                                  ".requests")),
                  c.requests);
    }
    // Alone, the window stays; a record of an ended process does not count.
    test::MainWindow alone;
    fs::create_directories(alone.image->dir() / "instances");
    test::writeFile(alone.image->dir() / "instances" / (std::to_string(::getuid()) + ".999999999"),
                    "old - Vantrel\nshown\nnormal\n");
    EXPECT_TRUE(alone.window->Form_Activate());
    EXPECT_NE(alone.window->document, nullptr);
}

TEST(CommandLine, OneCharacterAfterTheSwitchWordIsSkipped) {
    Started s;
    s.run("/loadc:\\x.vtl");
    ASSERT_EQ(s.m.dialogs.boxes.size(), 1u);
    EXPECT_EQ(s.m.dialogs.boxes[0].text,
              "The file ':\\x.vtl' could not be opened.\r\n\r\n"
              "It has been removed from the most recently used (MRU) list.");
}

TEST(CommandLine, OnlyTenArgumentsAreSeen) {
    std::string command;
    for (int i = 0; i < 11; ++i)
        command += "/x" + std::to_string(i);
    const auto args = GetCommandLine(command);
    ASSERT_EQ(args.size(), 10u);
    EXPECT_EQ(args.back(), "x9");
}

}  // namespace
}  // namespace vtl
