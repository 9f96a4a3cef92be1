// The Options dialog on the Windows 2000 sample: program options, the
// start-up list entries and the ".vtl" association in the image's registry.
#include <gtest/gtest.h>

#include <string>

#include "config/modAPI.h"
#include "support/MainWindow.h"
#include "ui/frmOptions.h"

namespace vtl::ui {
namespace {

using test::RegProbe;

constexpr const char* kRun =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kClass = "HKEY_CLASSES_ROOT\\vtl_auto_file";

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

TEST(frmOptions, MaxRecentTyped) {
    struct Case {
        const char* typed;
        bool message;
        const char* shown;
        const char* stored;  // after OK
    };
    const Case cases[] = {
        {"4", false, "4", "4"},
        {"9", true, "5", "5"},
        {"abc", true, "abc", "0"},
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

TEST(frmOptions, CancelChangesNothing) {
    Options o;
    const std::string before = test::readFile(o.image->dir() / "registry.reg");
    for (CheckBox* box :
         {&o.form.chkStartup, &o.form.chkSystemTray, &o.form.chkAssociate, &o.form.chkAutoApply})
        box->userClick();
    o.form.optReboot.userClick();
    o.form.txtMaxRecent.userType("1");
    o.form.cmdCancel.userClick();
    o.image->stop();
    EXPECT_EQ(test::readFile(o.image->dir() / "registry.reg"), before);
}

}  // namespace
}  // namespace vtl::ui
