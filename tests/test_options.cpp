// The Options dialog on the Windows 2000 sample: program options, the
// start-up list entries and the ".vtl" association in the image's registry.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/modAPI.h"
#include "support/MainWindow.h"
#include "ui/frmOptions.h"

namespace vtl::ui {
namespace {

using platform::Answer;
using test::RegProbe;

constexpr const char* kRun =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kClass = "HKEY_CLASSES_ROOT\\vtl_auto_file";
constexpr const char* kTrayExe = "C:\\Program Files\\Vantrel\\VtlSysTray.exe";

std::string option(const char* section, const char* name) {
    return GetRegSetting(kAppName, section, name, "-");
}

std::string value(const std::string& key, const std::string& name = "") {
    auto raw = RegProbe::get(key, name);
    return raw ? std::string(raw->data.begin(), raw->data.end() - 1) : "-";
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

TEST(frmOptions, MaxRecentLoaded) {
    const std::pair<const char*, const char*> cases[] = {{nullptr, "3"}, {"0", "0"},   {"7", "5"},
                                                         {"", "0"},      {"abc", "5"}, {"10", "5"}};
    for (const auto& [stored, shown] : cases) {
        SCOPED_TRACE(stored ? stored : "-");
        Options o([stored] {
            if (stored)
                SaveRegSetting(kAppName, "Recent", "MaxFile", stored);
        });
        EXPECT_EQ(o.form.txtMaxRecent.text(), shown);
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
        {"2.5", false, "2.5", "2.5"}, {"1e1", true, "5", "5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("'") + c.typed + "'");
        Options o;
        o.form.txtMaxRecent.userType(c.typed);
        EXPECT_EQ(o.form.txtMaxRecent.text(), c.shown);
        ASSERT_EQ(o.dialogs.boxes.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(o.dialogs.boxes[0].text, "Please enter a numeric value from 0 to 5.");
            EXPECT_EQ(o.dialogs.boxes[0].style, platform::mb::IconInformation);
        }
        o.form.cmdOK.userClick();
        EXPECT_EQ(option("Recent", "MaxFile"), c.stored);
    }
}

TEST(frmOptions, OptionsLoadedAndStored) {
    const char* const buttons[] = {"optManual", "optReboot", "optShutdown", "optSuspend"};
    for (int code = 0; code < 4; ++code) {
        const std::string restart = std::to_string(code), flag = code % 2 ? "1" : "0";
        SCOPED_TRACE(restart);
        Options o([&] {
            SaveRegSetting(kAppName, "Options", "Restart", restart);
            SaveRegSetting(kAppName, "Options", "AutoReset", flag);
            SaveRegSetting(kAppName, "Options", "AutoShutdown", flag);
        });
        EXPECT_EQ(o.form.restartOptions.selected()->name(), buttons[code]);
        EXPECT_EQ(o.form.chkAutoApply.value(), code % 2);
        EXPECT_EQ(o.form.chkShutdown.value(), code % 2);
        o.form.optSuspend.userClick();
        o.form.chkAutoApply.userClick();
        o.form.chkShutdown.setValue(1 - code % 2);
        o.form.cmdOK.userClick();
        EXPECT_EQ(option("Options", "Restart"), "3");
        EXPECT_EQ(option("Options", "AutoReset"), code % 2 ? "0" : "1");
        EXPECT_EQ(option("Options", "AutoShutdown"), code % 2 ? "0" : "1");
    }
}

TEST(frmOptions, StartupEntries) {
    Options o([] {
        RegProbe::set(kRun, "VtlSysTray", test::sz("\"C:\\Old\\VtlSysTray.exe\""));
        SaveRegSetting(kAppName, "Options", "AutoShutdown", "1");
    });
    EXPECT_EQ(o.form.chkStartup.value(), 0);
    EXPECT_EQ(o.form.chkSystemTray.value(), 1);
    EXPECT_TRUE(o.form.chkShutdown.enabled());
    o.form.chkStartup.userClick();
    o.form.chkSystemTray.userClick();
    EXPECT_FALSE(o.form.chkShutdown.enabled());
    o.form.cmdOK.userClick();
    EXPECT_EQ(value(kRun, "Vantrel"), "\"C:\\Program Files\\Vantrel\\Vtl.exe\"");
    EXPECT_EQ(value(kRun, "VtlSysTray"), "-");
    EXPECT_EQ(value(kRun, "Synchronization Manager"), "mobsync.exe /logon");
    o.form.load();
    EXPECT_EQ(o.form.chkStartup.value(), 1);
    o.form.chkStartup.userClick();
    o.form.cmdOK.userClick();
    EXPECT_EQ(value(kRun, "Vantrel"), "-");
    EXPECT_TRUE(o.dialogs.boxes.empty());
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
        o.form.chkSystemTray.userClick();
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
        }
        EXPECT_EQ(value(kRun, "VtlSysTray"), c.missing ? "-" : "\"" + std::string(kTrayExe) + "\"");
        EXPECT_EQ(test::readFile(o.image->dir() / "shell.log"),
                  c.started ? "\t" + std::string(kTrayExe) + "\t\tC:\\Program Files\\Vantrel\t2\r\n"
                            : "");
    }
}

TEST(frmOptions, Association) {
    const std::string shell = std::string(kClass) + "\\shell\\";
    Options o([&] { RegProbe::set(shell + "Edit\\command", "", test::sz("notepad %1")); });
    EXPECT_EQ(o.form.chkAssociate.value(), 0);
    for (int round = 0; round < 2; ++round) {  // every OK rewrites the keys
        o.form.chkAssociate.setValue(1);
        o.form.cmdOK.userClick();
        EXPECT_EQ(value("HKEY_CLASSES_ROOT\\.vtl"), "vtl_auto_file");
        EXPECT_EQ(value(std::string(kClass) + "\\DefaultIcon"),
                  "C:\\Program Files\\Vantrel\\Vtl.exe,0");
        EXPECT_EQ(value(shell + "Open with Vantrel"), "");
        EXPECT_EQ(value(shell + "Open with Vantrel\\command"),
                  "C:\\Program Files\\Vantrel\\Vtl.exe %1");
        EXPECT_FALSE(RegProbe::keyExists(shell + "Edit"));
        o.form.load();
        EXPECT_EQ(o.form.chkAssociate.value(), 1);
        RegProbe::set(shell + "Edit\\command", "", test::sz("notepad %1"));
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
                          test::sz(c.command));
        });
        EXPECT_EQ(o.form.chkAssociate.value(), c.checked);
    }
}

TEST(frmOptions, CancelChangesNothing) {
    Options o;
    const std::string before = test::readFile(o.image->dir() / "registry.reg");
    for (CheckBox* box :
         {&o.form.chkStartup, &o.form.chkSystemTray, &o.form.chkAssociate, &o.form.chkAutoApply})
        box->userClick();
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
        options.chkAutoApply.userClick();
        options.cmdOK.userClick();
    };
    m.window->mnuToolsOptions.userClick();
    EXPECT_EQ(m.dialogs.modalCount, 1);
    EXPECT_TRUE(m.window->AutoReset);
}

}  // namespace
}  // namespace vtl::ui
