// Version detection, folders, message boxes, dialogs, windows and power on the real API.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Win32Platform.h"
#include "tests/win32/Win32TestSupport.h"

namespace vtl::win32 {
namespace {

namespace pf = vtl::platform;

// The version mode Wine was given in HKEY_CURRENT_USER\Software\Wine ("" when none).
std::string wineVersionMode(Win32Platform& sys) {
    const std::string path = "Software\\Wine";
    pf::HKEY key = 0;
    if (sys.RegOpenKeyEx(pf::HKEY_CURRENT_USER, &path, 1, key) != pf::ERROR_SUCCESS)
        return "";
    std::uint32_t type = 0, size = 0;
    std::vector<std::uint8_t> data;
    const long rc = sys.RegQueryValueEx(key, "Version", type, &data, size);
    sys.RegCloseKey(key);
    std::string text(data.begin(), data.end());
    return rc == pf::ERROR_SUCCESS ? text.substr(0, text.find('\0')) : "";
}

TEST(Win32System, VersionOfEachWindows) {
    Win32Platform sys;
    struct Case {
        std::string mode;
        pf::OsVersionInfo info;
    };
    const Case cases[] = {
        {"win98", {4, 10, 2222, pf::VER_PLATFORM_WIN32_WINDOWS, " A "}},
        {"nt40", {4, 0, 1381, pf::VER_PLATFORM_WIN32_NT, "Service Pack 6a"}},
        {"win2k", {5, 0, 2195, pf::VER_PLATFORM_WIN32_NT, "Service Pack 4"}},
    };
    const std::string mode = wineVersionMode(sys);
    pf::OsVersionInfo info;
    ASSERT_TRUE(sys.GetVersionEx(info));
    for (const Case& c : cases) {
        if (c.mode != mode)
            continue;
        EXPECT_EQ(info.platformId, c.info.platformId);
        EXPECT_EQ(info.majorVersion, c.info.majorVersion);
        EXPECT_EQ(info.minorVersion, c.info.minorVersion);
        EXPECT_EQ(info.buildNumber, c.info.buildNumber);
        EXPECT_EQ(info.csdVersion, c.info.csdVersion);
        return;
    }
    GTEST_SKIP() << "Wine version mode '" << mode << "' is not one of the program's systems";
}

TEST(Win32System, AppPathIsTheProgramsFolder) {
    Win32Platform sys;
    const std::string app = sys.AppPath();
    ASSERT_GT(app.size(), 2u);
    EXPECT_NE(app.back(), '\\');
    EXPECT_TRUE(sys.FindFirstFile(app + "\\*.exe"));
}

TEST(Win32System, UnattendedMessageBoxesGiveTheirDefaultButton) {
    test::ScopedEnv unattended("VANTREL_UNATTENDED", "1");
    Win32Platform sys;
    struct Case {
        std::uint32_t style;
        pf::Answer answer;
    };
    const Case cases[] = {
        {pf::mb::OK | pf::mb::IconExclamation, pf::Answer::OK},
        {pf::mb::YesNo | pf::mb::IconQuestion, pf::Answer::Yes},
        {pf::mb::YesNo | pf::mb::DefaultButton2, pf::Answer::No},
        {pf::mb::YesNoCancel | pf::mb::DefaultButton3, pf::Answer::Cancel},
        {pf::mb::RetryCancel, pf::Answer::Retry},
    };
    for (const Case& c : cases) {
        pf::Answer answer = pf::Answer::Abort;
        const std::string shown = test::captureStderr([&] {
            answer = sys.MessageBox("Could not capture\r\nprinter\nnow", c.style, "Vantrel");
        });
        EXPECT_EQ(answer, c.answer) << c.style;
        EXPECT_EQ(shown, "Vantrel: Could not capture printer now\n") << c.style;
    }
}

TEST(Win32System, UnattendedDialogsAreCancelled) {
    test::ScopedEnv unattended("VANTREL_UNATTENDED", "1");
    Win32Platform sys;
    pf::Platform::OpenFileName dialog;
    dialog.filter = std::string("Vantrel Files (*.vtl)\0*.vtl\0", 28);
    dialog.file = std::string(254, ' ');
    dialog.maxFile = 255;
    EXPECT_FALSE(sys.GetOpenFileName(dialog));
    EXPECT_FALSE(sys.GetSaveFileName(dialog));
    EXPECT_EQ(dialog.file, std::string(254, ' '));
    pf::Platform::PrintDlgInfo print;
    print.flags = pf::Platform::PD_PRINTSETUP;
    EXPECT_FALSE(sys.PrintDlg(print));
}

TEST(Win32System, SecondInstanceIsSeen) {
    Win32Platform first;
    Win32Platform second;
    EXPECT_FALSE(first.PrevInstance());
    EXPECT_FALSE(first.PrevInstance());
    EXPECT_TRUE(second.PrevInstance());
}

TEST(Win32System, WindowsAreFoundShownAndRestored) {
    Win32Platform sys;
    const std::uintptr_t window = test::createWindow("Office - Vantrel");
    if (window == 0)
        GTEST_SKIP() << "no window can be created here";
    std::uintptr_t found = 0;
    sys.EnumWindows([&](std::uintptr_t each) {
        if (sys.GetWindowText(each) == "Office - Vantrel")
            found = each;
        return found == 0;
    });
    EXPECT_EQ(found, window);
    EXPECT_TRUE(sys.IsWindowVisible(window));
    EXPECT_FALSE(sys.IsIconic(window));
    sys.ShowWindow(window, pf::SW_SHOWMINIMIZED);
    EXPECT_TRUE(sys.IsIconic(window));
    sys.ShowWindow(window, pf::SW_RESTORE);
    EXPECT_FALSE(sys.IsIconic(window));
    sys.ShowWindow(window, pf::SW_HIDE);
    EXPECT_FALSE(sys.IsWindowVisible(window));
    test::destroyWindow(window);
}

TEST(Win32Power, RestartsRunTheTestCommand) {
    test::ScratchFolder dir;
    const std::string log = dir / "power.log";
    struct Case {
        const char* command;  // %LOG% stands for the log file
        bool suspend;         // else ExitWindowsEx
        std::uint32_t flags;
        bool result;
        std::string logged;
    };
    const Case cases[] = {
        {"cmd /c echo>>%LOG%", false, pf::EWX_REBOOT, true, "reboot"},
        {"cmd /c echo>>%LOG%", false, pf::EWX_SHUTDOWN, true, "shutdown"},
        {"cmd /c echo>>%LOG%", false, pf::EWX_POWEROFF | pf::EWX_FORCE, true, "shutdown"},
        {"cmd /c echo>>%LOG%", true, 0, true, "suspend"},
        // Log-off and hibernation run nothing and reach nothing.
        {"cmd /c echo>>%LOG%", false, pf::EWX_LOGOFF, true, ""},
        {"cmd /c exit 3 &rem", false, pf::EWX_REBOOT, false, ""},
        {"no-such-program-here.exe", true, 0, false, ""},
    };
    for (const Case& c : cases) {
        std::string command = c.command;
        const auto at = command.find("%LOG%");
        if (at != std::string::npos)
            command.replace(at, 5, log);
        test::ScopedEnv power("VANTREL_POWER_COMMAND", command);
        Win32Platform sys;
        sys.DeleteFile(log);
        const bool result =
            c.suspend ? sys.SetSystemPowerState(true, false) : sys.ExitWindowsEx(c.flags, 0);
        EXPECT_EQ(result, c.result) << c.command << " " << c.flags;
        std::string written;
        sys.ReadFile(log, written);
        EXPECT_EQ(written, c.logged.empty() ? "" : c.logged + "\r\n") << c.flags;
    }
    test::ScopedEnv power("VANTREL_POWER_COMMAND", "cmd /c echo>>" + log);
    Win32Platform sys;
    sys.DeleteFile(log);
    EXPECT_TRUE(sys.SetSystemPowerState(false, true));
    EXPECT_FALSE(sys.FindFirstFile(log));
}

}  // namespace
}  // namespace vtl::win32
