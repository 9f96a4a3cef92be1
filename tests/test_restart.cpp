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

TEST(ResetPC, Methods) {
    struct Case {
        const char* code;
        const char* stored;  // default method; nullptr none
        Log logged;
        const char* codeAfter;
    };
    const Case cases[] = {
        {"0", "1", {}, "0"},          {"3", "0", {"suspend"}, "3"}, {"", nullptr, {}, "0"},
        {"", "2", {"shutdown"}, "2"}, {"4", "1", {}, "4"},
    };
    for (const Case& c : cases) {
        Machine m(c.stored);
        std::string code = c.code;
        ResetPC(code, &m.dialogs);
        EXPECT_EQ(code, c.codeAfter) << "code '" << c.code << "'";
        EXPECT_EQ(m.power(), c.logged);
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
        {&F::optReboot, "0", false, "reboot", "0"},
        {&F::optShutdown, "1", true, "shutdown", "2"},
        {&F::optManual, "3", true, "", "0"},
        {nullptr, "9", true, "", "9"},
    };
    for (const Case& c : cases) {
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
        EXPECT_EQ(m.power(), *c.logged ? Log{c.logged} : Log{});
        EXPECT_EQ(GetRegSetting(kAppName, "Options", "Restart"), c.storedAfter) << c.stored;
        ASSERT_EQ(m.dialogs.boxes.size(), *c.logged ? 0u : 1u);
        if (!*c.logged) {
            EXPECT_EQ(m.dialogs.boxes[0].text,
                      "The network changes will take effect the next time you reboot.");
            EXPECT_EQ(m.dialogs.boxes[0].style, platform::mb::IconInformation);
        }
    }
}

TEST(frmRestart, DefaultIsStoredBeforeTheShutdownStarts) {
    Machine m;
    const auto out = m.image->dir() / "seen.txt";
    // The request looks for the new default in the image's registry files.
    const std::string command = "grep -qs '\"Restart\"=\"2\"' '" + m.image->dir().string() +
                                "'/registry.reg* && echo stored >'" + out.string() + "'";
    ::setenv("VANTREL_POWER_COMMAND", command.c_str(), 1);
    ui::frmRestart form(m.dialogs);
    form.load();
    form.optShutdown.userClick();
    form.chkDefault.userClick();
    form.cmdOK.userClick();
    ::unsetenv("VANTREL_POWER_COMMAND");
    EXPECT_EQ(test::readFile(out), "stored shutdown\n");
}

}  // namespace
}  // namespace vtl
