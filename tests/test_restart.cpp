// Restarting after an apply: ResetPC and the restart dialog on the Windows
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

using Log = std::vector<std::string>;

struct Machine {
    explicit Machine(const char* restart = nullptr) {
        if (restart)
            SaveRegSetting(kAppName, "Options", "Restart", restart);
    }
    // The methods in power.log, oldest first.
    Log power() const {
        std::istringstream lines(test::readFile(image->dir() / "power.log"));
        Log methods;
        for (std::string line; std::getline(lines, line);)
            methods.push_back(line.substr(0, line.find('\t')));
        return methods;
    }
    std::unique_ptr<test::TestImage> image = test::TestImage::sample("win2000");
    test::ScriptedDialogs dialogs;
};

Log logOf(const char* method) {
    return *method ? Log{method} : Log{};
}

// VANTREL_POWER_COMMAND while the object lives.
struct PowerCommand {
    explicit PowerCommand(const std::string& command) {
        ::setenv("VANTREL_POWER_COMMAND", command.c_str(), 1);
    }
    ~PowerCommand() { ::unsetenv("VANTREL_POWER_COMMAND"); }
};

TEST(ResetPC, Methods) {
    struct Case {
        const char* code;
        const char* stored;  // default method; nullptr none
        const char* logged;
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
        SCOPED_TRACE(std::string("code '") + c.code + "' default " + (c.stored ? c.stored : "-"));
        Machine m(c.stored);
        std::string code = c.code;
        ResetPC(code, &m.dialogs);
        EXPECT_EQ(code, c.codeAfter);
        EXPECT_EQ(m.power(), logOf(c.logged));
        EXPECT_TRUE(m.dialogs.boxes.empty());
    }
}

TEST(ResetPC, PowerCommand) {
    Machine m;
    const auto out = m.image->dir() / "requests.txt";
    {
        PowerCommand command("printf '%s\\n' >>'" + out.string() + "'");
        for (const char* code : {"0", "1", "2", "3"})
            ResetPC(code);
    }
    EXPECT_EQ(test::readFile(out), "reboot\nshutdown\nsuspend\n");
    PowerCommand refusing("false");  // a refused request is silent
    ResetPC("1", &m.dialogs);
    EXPECT_TRUE(m.dialogs.boxes.empty());
    EXPECT_TRUE(m.image->messages().empty());
    EXPECT_EQ(m.power(), (Log{"reboot", "shutdown", "suspend", "reboot"}));
}

TEST(frmRestart, LoadSelectsTheDefaultAndClosingDoesNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {nullptr, "optManual"}, {"0", "optManual"}, {"1", "optReboot"}, {"2", "optShutdown"},
        {"3", "optSuspend"},    {"7", "none"},      {"", "none"},
    };
    for (const auto& [stored, selected] : cases) {
        SCOPED_TRACE(stored ? stored : "-");
        Machine m(stored);
        ui::frmRestart form(m.dialogs);
        m.dialogs.ShowModal(form);
        form.unload();
        const ui::OptionButton* button = form.restartOptions.selected();
        EXPECT_EQ(button ? button->name() : "none", selected);
        EXPECT_TRUE(m.power().empty());
        EXPECT_TRUE(m.dialogs.boxes.empty());
    }
}

TEST(frmRestart, OK) {
    using F = ui::frmRestart;
    struct Case {
        ui::OptionButton F::*choice;  // nullptr: as loaded
        const char* stored;
        bool makeDefault;
        const char* logged;
        const char* storedAfter;
    };
    const Case cases[] = {
        {&F::optReboot, "0", false, "reboot", "0"},  {&F::optShutdown, "1", true, "shutdown", "2"},
        {&F::optSuspend, "0", true, "suspend", "3"}, {&F::optManual, "3", true, "", "0"},
        {&F::optManual, "2", false, "", "2"},        {nullptr, "9", true, "", "9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("default ") + c.stored + (c.makeDefault ? ", make default" : ""));
        Machine m(c.stored);
        ui::frmRestart form(m.dialogs);
        m.dialogs.user = [&](ui::Form&) {
            if (c.choice)
                (form.*c.choice).userClick();
            if (c.makeDefault)
                form.chkDefault.userClick();
            form.cmdOK.userClick();
        };
        m.dialogs.ShowModal(form);
        EXPECT_EQ(m.power(), logOf(c.logged));
        EXPECT_EQ(GetRegSetting(kAppName, "Options", "Restart"), c.storedAfter);
        const bool manual = !*c.logged;
        ASSERT_EQ(m.dialogs.boxes.size(), manual ? 1u : 0u);
        if (manual) {
            EXPECT_EQ(m.dialogs.boxes[0].text,
                      "The network changes will take effect the next time you reboot.");
            EXPECT_EQ(m.dialogs.boxes[0].style, platform::mb::IconInformation);
        }
        EXPECT_FALSE(form.visible());
    }
}

TEST(frmRestart, DefaultIsStoredBeforeTheShutdownStarts) {
    Machine m;
    const auto out = m.image->dir() / "seen.txt";
    // The request looks for the new default in the image's registry files.
    PowerCommand command("grep -qs '\"Restart\"=\"2\"' '" + m.image->dir().string() +
                         "'/registry.reg* && echo stored >'" + out.string() + "'");
    ui::frmRestart form(m.dialogs);
    form.load();
    form.optShutdown.userClick();
    form.chkDefault.userClick();
    form.cmdOK.userClick();
    EXPECT_EQ(test::readFile(out), "stored shutdown\n");
}

TEST(frmRestart, RunDefault) {
    const std::pair<const char*, const char*> cases[] = {
        {"1", "reboot"}, {"3", "suspend"}, {"0", ""}, {"x", ""}};
    for (const auto& [stored, logged] : cases) {
        SCOPED_TRACE(stored);
        Machine m(stored);
        ui::frmRestart form(m.dialogs);
        form.runDefault();
        EXPECT_EQ(m.power(), logOf(logged));
        EXPECT_EQ(m.dialogs.boxes.size(), *logged ? 0u : 1u);
        EXPECT_EQ(GetRegSetting(kAppName, "Options", "Restart"), stored);
    }
}

}  // namespace
}  // namespace vtl
