// The Options dialog on the Windows 2000 sample: program options, the
// start-up list entries and the ".vtl" association in the image's registry.
#include <gtest/gtest.h>

#include <string>

#include "config/modAPI.h"
#include "support/MainWindow.h"
#include "support/RegProbe.h"
#include "support/ScriptedDialogs.h"
#include "support/TestImage.h"
#include "ui/frmOptions.h"

namespace vtl::ui {
namespace {

using platform::Answer;
using test::RegProbe;
using test::sz;

constexpr const char* kRun =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kClass = "HKEY_CLASSES_ROOT\\vtl_auto_file";
constexpr const char* kRange = "Please enter a numeric value from 0 to 5.";
constexpr const char* kTrayExe = "C:\\Program Files\\Vantrel\\VtlSysTray.exe";

std::string option(const char* section, const char* name) {
    return GetRegSetting(kAppName, section, name, "(none)");
}

std::string value(const std::string& key, const std::string& name) {
    auto raw = RegProbe::get(key, name);
    if (!raw)
        return "(none)";
    return std::string(raw->data.begin(), raw->data.end() - 1);
}

struct Options {
    explicit Options(const std::function<void()>& prepare = {}) {
        if (prepare)
            prepare();
        form.load();
    }
    std::unique_ptr<test::TestImage> image = test::TestImage::sample("win2000");
    test::ScriptedDialogs dialogs;
    frmOptions form{dialogs};
};

TEST(frmOptions, MaxRecentWhenLoaded) {
    struct Case {
        const char* stored;  // nullptr: none
        const char* shown;
        bool message;
    };
    const Case cases[] = {
        {nullptr, "3", false}, {"0", "0", false},   {"5", "5", false}, {"7", "5", false},
        {"", "0", false},      {"abc", "5", false}, {"10", "5", true},  // "10" < "5" as text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "-");
        Options o([&] {
            if (c.stored)
                SaveRegSetting(kAppName, "Recent", "MaxFile", c.stored);
        });
        EXPECT_EQ(o.form.txtMaxRecent.text(), c.shown);
        EXPECT_EQ(o.dialogs.boxes.size(), c.message ? 1u : 0u);
    }
}

TEST(frmOptions, MaxRecentTyped) {
    struct Case {
        const char* typed;
        bool message;
        const char* shown;
        const char* stored;  // after OK
    };
    const Case cases[] = {
        {"4", false, "4", "4"},       {"", false, "", "0"},      {"9", true, "5", "5"},
        {"-1", true, "5", "5"},       {"abc", true, "abc", "0"}, {" 2 ", false, " 2 ", "2"},
        {"2.5", false, "2.5", "2.5"}, {"5.1", true, "5", "5"},   {"1e1", true, "5", "5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("'") + c.typed + "'");
        Options o;
        o.form.txtMaxRecent.userType(c.typed);
        EXPECT_EQ(o.form.txtMaxRecent.text(), c.shown);
        ASSERT_EQ(o.dialogs.boxes.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(o.dialogs.boxes[0].text, kRange);
            EXPECT_EQ(o.dialogs.boxes[0].style, platform::mb::IconInformation);
            EXPECT_EQ(o.dialogs.boxes[0].caption, "Vantrel");
        }
        o.form.cmdOK.userClick();
        EXPECT_EQ(option("Recent", "MaxFile"), c.stored);
    }
}

TEST(frmOptions, LoadAndStoreOptions) {
    struct Case {
        const char* restart;
        const char* selected;
        const char* autoReset;
        const char* autoShutdown;
    };
    const Case cases[] = {
        {"0", "optManual", "1", "0"},
        {"1", "optReboot", "0", "1"},
        {"2", "optShutdown", "1", "1"},
        {"3", "optSuspend", "0", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        Options o([&] {
            SaveRegSetting(kAppName, "Options", "Restart", c.restart);
            SaveRegSetting(kAppName, "Options", "AutoReset", c.autoReset);
            SaveRegSetting(kAppName, "Options", "AutoShutdown", c.autoShutdown);
        });
        EXPECT_EQ(o.form.restartOptions.selected()->name(), c.selected);
        EXPECT_EQ(o.form.chkAutoApply.value(), c.autoReset[0] - '0');
        EXPECT_EQ(o.form.chkShutdown.value(), c.autoShutdown[0] - '0');
        // OK rewrites what was loaded; then every box is flipped and stored.
        o.form.cmdOK.userClick();
        EXPECT_EQ(option("Options", "Restart"), c.restart);
        EXPECT_EQ(option("Options", "AutoReset"), c.autoReset);
        o.form.load();
        o.form.optSuspend.userClick();
        o.form.chkAutoApply.userClick();
        o.form.chkShutdown.setValue(1 - o.form.chkShutdown.value());
        o.form.cmdOK.userClick();
        EXPECT_EQ(option("Options", "Restart"), "3");
        EXPECT_EQ(option("Options", "AutoReset"), c.autoReset[0] == '1' ? "0" : "1");
        EXPECT_EQ(option("Options", "AutoShutdown"), c.autoShutdown[0] == '1' ? "0" : "1");
    }
}

TEST(frmOptions, StartupEntry) {
    Options o;
    EXPECT_EQ(o.form.chkStartup.value(), 0);
    o.form.chkStartup.userClick();
    o.form.cmdOK.userClick();
    EXPECT_EQ(value(kRun, "Vantrel"), "\"C:\\Program Files\\Vantrel\\Vtl.exe\"");
    EXPECT_EQ(value(kRun, "Synchronization Manager"), "mobsync.exe /logon");
    o.form.load();
    EXPECT_EQ(o.form.chkStartup.value(), 1);
    o.form.chkStartup.userClick();
    o.form.cmdOK.userClick();
    EXPECT_EQ(value(kRun, "Vantrel"), "(none)");
}

TEST(frmOptions, TrayUtility) {
    struct Case {
        const char* name;
        const char* trayActive;
        bool exeExists;
        Answer answer;
        bool asked, started, missing;
    };
    const Case cases[] = {
        {"already running", "1", false, Answer::Yes, false, false, false},
        {"not started", "0", true, Answer::No, true, false, false},
        {"started", "0", true, Answer::Yes, true, true, false},
        {"missing", "0", false, Answer::Yes, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Options o([&] { SaveRegSetting(kAppName, "Options", "TrayIconActive", c.trayActive); });
        if (c.exeExists) {
            const auto folder = o.image->dir() / "drive_c" / "Program Files" / "Vantrel";
            std::filesystem::create_directories(folder);
            test::writeFile(folder / "VtlSysTray.exe", "MZ");
        }
        EXPECT_FALSE(o.form.chkShutdown.enabled());
        o.form.chkSystemTray.userClick();
        EXPECT_TRUE(o.form.chkShutdown.enabled());
        o.dialogs.answers = {c.answer};
        o.form.cmdOK.userClick();

        ASSERT_EQ(o.dialogs.boxes.size(), (c.asked ? 1u : 0u) + (c.missing ? 1u : 0u));
        if (c.asked) {
            EXPECT_EQ(o.dialogs.boxes[0].text,
                      "Would you like to start the system tray utility now?");
            EXPECT_EQ(o.dialogs.boxes[0].style & platform::mb::ButtonMask, platform::mb::YesNo);
        }
        if (c.missing) {
            EXPECT_EQ(o.dialogs.boxes[1].text, std::string("Could not locate: ") + kTrayExe);
            EXPECT_EQ(o.dialogs.boxes[1].style, platform::mb::IconExclamation);
        }
        EXPECT_EQ(value(kRun, "VtlSysTray"),
                  c.missing ? "(none)" : std::string("\"") + kTrayExe + "\"");
        EXPECT_EQ(test::readFile(o.image->dir() / "shell.log"),
                  c.started ? std::string("\t") + kTrayExe + "\t\tC:\\Program Files\\Vantrel\t2\r\n"
                            : "");
    }
}

TEST(frmOptions, ClearingTheTrayBox) {
    Options o([] {
        RegProbe::set(kRun, "VtlSysTray", sz("\"C:\\Old\\VtlSysTray.exe\""));
        SaveRegSetting(kAppName, "Options", "AutoShutdown", "1");
    });
    EXPECT_EQ(o.form.chkSystemTray.value(), 1);
    EXPECT_TRUE(o.form.chkShutdown.enabled());
    EXPECT_EQ(o.form.chkShutdown.value(), 1);
    o.form.chkSystemTray.userClick();
    EXPECT_FALSE(o.form.chkShutdown.enabled());
    o.form.cmdOK.userClick();
    EXPECT_EQ(value(kRun, "VtlSysTray"), "(none)");
    EXPECT_TRUE(o.dialogs.boxes.empty());
}

TEST(frmOptions, Association) {
    Options o([] {
        RegProbe::set(std::string(kClass) + "\\shell\\Edit\\command", "", sz("notepad %1"));
    });
    EXPECT_EQ(o.form.chkAssociate.value(), 0);
    for (int round = 0; round < 2; ++round) {  // every OK rewrites the keys
        o.form.chkAssociate.setValue(1);
        o.form.cmdOK.userClick();
        EXPECT_EQ(value("HKEY_CLASSES_ROOT\\.vtl", ""), "vtl_auto_file");
        EXPECT_EQ(value(std::string(kClass) + "\\DefaultIcon", ""),
                  "C:\\Program Files\\Vantrel\\Vtl.exe,0");
        EXPECT_EQ(value(std::string(kClass) + "\\shell\\Open with Vantrel", ""), "");
        EXPECT_EQ(value(std::string(kClass) + "\\shell\\Open with Vantrel\\command", ""),
                  "C:\\Program Files\\Vantrel\\Vtl.exe %1");
        EXPECT_FALSE(RegProbe::keyExists(std::string(kClass) + "\\shell\\Edit"));
        o.form.load();
        EXPECT_EQ(o.form.chkAssociate.value(), 1);
        RegProbe::set(std::string(kClass) + "\\shell\\Print", "", sz(""));
    }
    o.form.chkAssociate.userClick();
    o.form.cmdOK.userClick();
    EXPECT_FALSE(RegProbe::keyExists("HKEY_CLASSES_ROOT\\.vtl"));
    EXPECT_FALSE(RegProbe::keyExists(kClass));
    EXPECT_TRUE(RegProbe::keyExists("HKEY_CLASSES_ROOT\\.htm"));
}

TEST(frmOptions, AssociationRecognised) {
    struct Case {
        const char* verb;
        const char* command;
        int checked;
    };
    const Case cases[] = {
        {"open", "D:\\Tools\\vtl.exe %1", 1},
        {"open", "D:\\Tools\\VTL.EXE %1 ", 0},
        {"open", "%1", 0},
        {"Open with Vantrel", "c:\\x\\Vtl.exe %1", 1},
        {"Edit", "c:\\x\\Vtl.exe %1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Options o([&] {
            RegProbe::set(std::string(kClass) + "\\shell\\" + c.verb + "\\command", "",
                          sz(c.command));
        });
        EXPECT_EQ(o.form.chkAssociate.value(), c.checked);
    }
}

TEST(frmOptions, CancelChangesNothing) {
    Options o;
    const std::string before = test::readFile(o.image->dir() / "registry.reg");
    o.form.chkStartup.userClick();
    o.form.chkSystemTray.userClick();
    o.form.chkAssociate.userClick();
    o.form.chkAutoApply.userClick();
    o.form.optReboot.userClick();
    o.form.txtMaxRecent.userType("1");
    o.form.cmdCancel.userClick();
    EXPECT_FALSE(o.form.visible());
    o.image->stop();
    EXPECT_EQ(test::readFile(o.image->dir() / "registry.reg"), before);
}

TEST(frmOptions, ShownFromTheViewMenu) {
    test::MainWindow m("win2000");
    EXPECT_FALSE(m.window->AutoReset);
    m.dialogs.user = [](Form& form) {
        auto& options = dynamic_cast<frmOptions&>(form);
        EXPECT_EQ(options.caption(), "Vantrel Options");
        options.chkAutoApply.userClick();
        options.cmdOK.userClick();
    };
    m.window->mnuToolsOptions.userClick();
    EXPECT_EQ(m.dialogs.modalCount, 1);
    EXPECT_TRUE(m.window->AutoReset);
    EXPECT_EQ(option("Options", "AutoReset"), "1");
}

TEST(frmOptions, Help) {
    Options o;
    o.form.cmdHelp.userClick();
    EXPECT_EQ(test::readFile(o.image->dir() / "shell.log"),
              "\tC:\\Program Files\\Vantrel\\help\\index.html\t\tc:\\\t1\r\n");
}

}  // namespace
}  // namespace vtl::ui
