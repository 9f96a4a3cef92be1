// Restarting after an apply: ResetPC and the restart dialog, on the Windows
// 2000 sample. Power requests land in the image's power.log.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/modReset.h"
#include "config/modAPI.h"
#include "support/ScriptedDialogs.h"
#include "support/TestImage.h"
#include "ui/frmRestart.h"

namespace vtl {
namespace {

using test::TestImage;

constexpr const char* kReminder = "The network changes will take effect the next time you reboot.";

// The methods recorded in power.log, oldest first.
std::vector<std::string> powerLog(const TestImage& image) {
    std::istringstream lines(test::readFile(image.dir() / "power.log"));
    std::vector<std::string> methods;
    for (std::string line; std::getline(lines, line);)
        methods.push_back(line.substr(0, line.find('\t')));
    return methods;
}

std::vector<std::string> logOf(const char* method) {
    return *method ? std::vector<std::string>{method} : std::vector<std::string>{};
}

// VANTREL_POWER_COMMAND for the lifetime of the object.
struct PowerCommand {
    explicit PowerCommand(const std::string& command) {
        ::setenv("VANTREL_POWER_COMMAND", command.c_str(), 1);
    }
    ~PowerCommand() { ::unsetenv("VANTREL_POWER_COMMAND"); }
};

struct Machine {
    std::unique_ptr<TestImage> image = TestImage::sample("win2000");
    test::ScriptedDialogs dialogs;
};

TEST(ResetPC, Methods) {
    struct Case {
        const char* code;
        const char* stored;  // "Options"/"Restart", nullptr: none
        const char* logged;  // power.log entry, "" none
        const char* codeAfter;
    };
    const Case cases[] = {
        {"0", "1", "", "0"},
        {"1", nullptr, "reboot", "1"},
        {"2", nullptr, "shutdown", "2"},
        {"3", "0", "suspend", "3"},
        {"", nullptr, "", "0"},
        {"", "2", "shutdown", "2"},
        {"", "3", "suspend", "3"},
        {"4", "1", "", "4"},
        {"reboot", nullptr, "", "reboot"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("code '") + c.code + "' stored " + (c.stored ? c.stored : "-"));
        Machine m;
        if (c.stored)
            SaveRegSetting(kAppName, "Options", "Restart", c.stored);
        std::string code = c.code;
        ResetPC(code, &m.dialogs);
        EXPECT_EQ(code, c.codeAfter);
        EXPECT_EQ(powerLog(*m.image), logOf(c.logged));
        EXPECT_TRUE(m.dialogs.boxes.empty());
    }
}

TEST(ResetPC, PowerCommandGetsTheMethod) {
    Machine m;
    const auto out = m.image->dir() / "requests.txt";
    PowerCommand command("printf '%s\\n' >>'" + out.string() + "'");
    for (const char* code : {"0", "1", "2", "3"})
        ResetPC(code);
    EXPECT_EQ(test::readFile(out), "reboot\nshutdown\nsuspend\n");
    EXPECT_EQ(powerLog(*m.image), (std::vector<std::string>{"reboot", "shutdown", "suspend"}));
}

TEST(ResetPC, RefusedRequestIsSilent) {
    Machine m;
    PowerCommand command("false");
    ResetPC("1", &m.dialogs);
    EXPECT_TRUE(m.dialogs.boxes.empty());
    EXPECT_TRUE(m.image->messages().empty());
    EXPECT_EQ(powerLog(*m.image), logOf("reboot"));
}

TEST(frmRestart, Captions) {
    Machine m;
    ui::frmRestart form(m.dialogs);
    EXPECT_EQ(form.caption(), "Vantrel Restart");
    EXPECT_EQ(form.fraRestart.caption(), "Restart Options");
    EXPECT_EQ(form.optSuspend.caption(), "&Suspend - suspend your system now if supported.");
    EXPECT_EQ(form.chkDefault.toolTip(), "Make the selected choice the default");
    EXPECT_EQ(form.cmdOK.toolTip(), "Invoke the selected choice");
}

TEST(frmRestart, LoadSelectsTheDefault) {
    struct Case {
        const char* stored;
        const char* selected;  // nullptr: none
    };
    const Case cases[] = {
        {nullptr, "optManual"}, {"0", "optManual"}, {"1", "optReboot"}, {"2", "optShutdown"},
        {"3", "optSuspend"},    {"7", nullptr},     {"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "-");
        Machine m;
        if (c.stored)
            SaveRegSetting(kAppName, "Options", "Restart", c.stored);
        ui::frmRestart form(m.dialogs);
        m.dialogs.ShowModal(form);
        const ui::OptionButton* selected = form.restartOptions.selected();
        EXPECT_EQ(selected ? selected->name() : "none", c.selected ? c.selected : "none");
        EXPECT_TRUE(powerLog(*m.image).empty());
    }
}

TEST(frmRestart, OK) {
    struct Case {
        ui::OptionButton ui::frmRestart::*choice;  // nullptr: leave the default
        const char* stored;                        // before
        bool makeDefault;
        const char* logged;
        const char* storedAfter;
        bool reminder;
    };
    using F = ui::frmRestart;
    const Case cases[] = {
        {&F::optReboot, nullptr, false, "reboot", nullptr, false},
        {&F::optShutdown, "1", true, "shutdown", "2", false},
        {&F::optSuspend, "0", false, "suspend", "0", false},
        {&F::optManual, "3", true, "", "0", true},
        {&F::optManual, "2", false, "", "2", true},
        {nullptr, "9", true, "", "9", true},  // nothing selected, nothing stored
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("stored ") + (c.stored ? c.stored : "-") +
                     (c.makeDefault ? ", make default" : ""));
        Machine m;
        if (c.stored)
            SaveRegSetting(kAppName, "Options", "Restart", c.stored);
        ui::frmRestart form(m.dialogs);
        m.dialogs.user = [&](ui::Form&) {
            if (c.choice)
                (form.*c.choice).userClick();
            if (c.makeDefault)
                form.chkDefault.userClick();
            form.cmdOK.userClick();
        };
        m.dialogs.ShowModal(form);
        EXPECT_EQ(powerLog(*m.image), logOf(c.logged));
        EXPECT_EQ(GetRegSetting(kAppName, "Options", "Restart", "none"),
                  c.storedAfter ? c.storedAfter : "none");
        ASSERT_EQ(m.dialogs.boxes.size(), c.reminder ? 1u : 0u);
        if (c.reminder) {
            EXPECT_EQ(m.dialogs.boxes[0].text, kReminder);
            EXPECT_EQ(m.dialogs.boxes[0].style, platform::mb::IconInformation);
        }
        EXPECT_FALSE(form.visible());
    }
}

TEST(frmRestart, DefaultIsStoredBeforeTheShutdownStarts) {
    Machine m;
    const auto out = m.image->dir() / "seen.txt";
    // The request looks for the stored default in the image's registry files.
    PowerCommand command("grep -qs '\"Restart\"=\"2\"' '" + m.image->dir().string() +
                         "'/registry.reg* && echo stored >'" + out.string() + "'");
    ui::frmRestart form(m.dialogs);
    form.load();
    form.optShutdown.userClick();
    form.chkDefault.userClick();
    form.cmdOK.userClick();
    EXPECT_EQ(test::readFile(out), "stored shutdown\n");
    EXPECT_EQ(powerLog(*m.image), logOf("shutdown"));
}

TEST(frmRestart, ClosingWithoutOKDoesNothing) {
    Machine m;
    SaveRegSetting(kAppName, "Options", "Restart", "1");
    ui::frmRestart form(m.dialogs);
    m.dialogs.ShowModal(form);
    form.unload();
    EXPECT_TRUE(powerLog(*m.image).empty());
    EXPECT_TRUE(m.dialogs.boxes.empty());
}

TEST(frmRestart, RunDefault) {
    struct Case {
        const char* stored;
        const char* logged;
        bool reminder;
    };
    for (const Case& c : {Case{"1", "reboot", false}, Case{"3", "suspend", false},
                          Case{"0", "", true}, Case{"x", "", true}}) {
        SCOPED_TRACE(c.stored);
        Machine m;
        SaveRegSetting(kAppName, "Options", "Restart", c.stored);
        ui::frmRestart form(m.dialogs);
        form.runDefault();
        EXPECT_EQ(powerLog(*m.image), logOf(c.logged));
        EXPECT_EQ(m.dialogs.boxes.size(), c.reminder ? 1u : 0u);
        EXPECT_EQ(GetRegSetting(kAppName, "Options", "Restart"), c.stored);
    }
}

TEST(frmRestart, Help) {
    Machine m;
    ui::frmRestart form(m.dialogs);
    form.cmdHelp.userClick();
    EXPECT_EQ(test::readFile(m.image->dir() / "shell.log"),
              "\tC:\\Program Files\\Vantrel\\help\\index.html\t\tc:\\\t1\r\n");
}

}  // namespace
}  // namespace vtl
