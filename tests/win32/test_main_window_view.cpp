// The main window driven through window messages, as a user drives it, on the
// Windows machine the tests run on (a seeded Wine prefix): what the user sees
// must follow the models, and the models must receive what the user does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "addins/AddInRegistry.h"
#include "app/frmMain.h"
#include "browser/clsBrowser.h"
#include "config/clsVtlConfig.h"
#include "config/modAPI.h"
#include "net/clsNetConfig.h"
#include "platform/win32/Win32Platform.h"
#include "tests/win32/WindowImage.h"
#include "ui/AdvancedTab.h"
#include "ui/GeneralTab.h"
#include "ui/NavigatorTab.h"
#include "ui/frmOptions.h"
#include "ui/frmRestart.h"
#include "views/win32/DialogViews.h"
#include "views/win32/Layout.h"
#include "views/win32/MainWindowView.h"
#include "views/win32/Native.h"
#include "views/win32/Win32Dialogs.h"

namespace vtl {
namespace {

// The real platform, with the open-file dialog answered by the test.
class AnsweringPlatform : public win32::Win32Platform {
  public:
    std::string chosen;  // the path the user picks; empty: Cancel
    int asked = 0;
    bool another = false;  // another instance runs
    bool PrevInstance() override { return another || Win32Platform::PrevInstance(); }
    bool GetOpenFileName(OpenFileName& dialog) override {
        ++asked;
        if (chosen.empty())
            return false;
        // As the system does: the path and its NUL over the start of the buffer.
        std::string answer = chosen + '\0';
        if (answer.size() < dialog.file.size())
            answer += dialog.file.substr(answer.size());
        dialog.file = answer;
        return true;
    }
};

// Writes `bytes` to `path`.
void writeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size()) << path;
}

std::string tempPath(const std::string& name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

// A string value of HKEY_LOCAL_MACHINE, or "-" when missing.
std::string machineValue(const char* key, const char* name) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return "-";
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    const LONG result =
        RegQueryValueExA(handle, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS ? std::string(data) : "-";
}

class MainWindowViewTest : public ::testing::Test {
  protected:
    // Starts the program's window with `commandLine`, message boxes answered by default.
    void start(const std::string& commandLine = "") {
        InitCommonControls();
        dialogs.answer = [](const std::string&, std::uint32_t style, const std::string&) {
            return std::optional<platform::Answer>(platform::defaultAnswer(style));
        };
        window = std::make_unique<frmMain>(dialogs);
        window->Command = CommandLine::fromString(commandLine);
        view = std::make_unique<views::MainWindowView>(*window, dialogs);
        view->create();
        window->Form_Load();
        views::refreshAll();
        view->show(SW_SHOWNOACTIVATE);
        SetForegroundWindow(view->hwnd());
        pump();
    }
    void TearDown() override {
        if (view)
            view->destroy();
        view.reset();
        window.reset();
    }

    static void pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    HWND of(const ui::Control& control) const {
        HWND w = view->controlOf(control);
        EXPECT_NE(w, nullptr) << control.name();
        return w;
    }
    static std::string text(HWND w) {
        char buffer[512] = {};
        GetWindowTextA(w, buffer, sizeof buffer);
        return buffer;
    }
    void type(const ui::TextBox& box, const std::string& typed) {
        SetWindowTextA(of(box), typed.c_str());  // the edit reports EN_CHANGE
        pump();
    }
    void click(const ui::Control& control) {
        SendMessageA(of(control), BM_CLICK, 0, 0);
        pump();
    }
    void menu(const ui::MenuItem& item) {
        SendMessageA(view->hwnd(), WM_COMMAND, view->menuId(item), 0);
        pump();
    }
    void pickTab(int index) {
        SendMessageA(view->tabs(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
        NMHDR header{view->tabs(), 0, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageA(view->hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
        pump();
    }
    std::string panel(int index) const {
        char buffer[512] = {};
        SendMessageA(view->status(), SB_GETTEXTA, static_cast<WPARAM>(index - 1),
                     reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
    bool toolbarPressed(int button) const {
        return (SendMessageA(view->toolbar(), TB_GETSTATE, views::MainWindowView::toolbarId(button),
                             0) &
                TBSTATE_CHECKED) != 0;
    }
    // Every bound control of the General page shows what its model holds.
    void expectGeneralInStep() {
        ui::GeneralTab& g = *window->general;
        for (const ui::TextBox* box :
             {&g.txtIP, &g.txtMask, &g.txtGateway, &g.txtHost, &g.txtDomain, &g.txtDNSServers,
              &g.txtDNSOrder, &g.txtWINSServer1, &g.txtWINSServer2, &g.txtWINSScopeID,
              &g.txtNTDomain, &g.txtComputerName, &g.txtWorkGroup}) {
            EXPECT_EQ(text(of(*box)), box->text()) << box->name();
            EXPECT_EQ(IsWindowEnabled(of(*box)) != FALSE, box->enabled()) << box->name();
        }
        for (const ui::CheckBox* box : {&g.chkDHCPEnabled, &g.chkDNSEnabled, &g.chkWINSEnabled,
                                        &g.chkLogonToNT, &g.chkDisablePWDCache, &g.chkQuickLogon}) {
            EXPECT_EQ(SendMessageA(of(*box), BM_GETCHECK, 0, 0) == BST_CHECKED, box->value() == 1)
                << box->name();
            EXPECT_EQ(IsWindowEnabled(of(*box)) != FALSE, box->enabled()) << box->name();
        }
    }

    // Chooses File > Open, the open-file dialog answering `path`.
    void openFromMenu(const std::string& path) {
        platform_.chosen = path;
        menu(window->mnuFileOpen);
        platform_.chosen.clear();
    }
    // A configuration file saved by the program with the given host name and DNS servers.
    void prepareFile(const std::string& path, const std::string& host, const std::string& dns) {
        start();
        ui::GeneralTab& g = *window->general;
        if (g.chkDNSEnabled.value() == 0)
            click(g.chkDNSEnabled);
        type(g.txtHost, host);
        type(g.txtDNSServers, dns);
        ASSERT_TRUE(window->saveFile(path));
        TearDown();
    }

    AnsweringPlatform platform_;
    platform::PlatformScope scope_{platform_};
    views::Win32Dialogs dialogs;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<views::MainWindowView> view;
};

// With VANTREL_SCREENSHOTS naming a folder, also saves a picture of each page.
TEST_F(MainWindowViewTest, EachPageShowsWithoutCutTextOrOverlaps) {
    const char* pictures = std::getenv("VANTREL_SCREENSHOTS");
    const char* names[] = {"general", "explorer", "navigator", "advanced"};
    start();
    for (int tab = 0; tab < 4; ++tab) {
        if (!window->SSTab.tab(tab).enabled && tab != frmMain::TabAdvanced)
            continue;
        window->SSTab.select(tab);
        views::refreshAll();
        pump();
        EXPECT_TRUE(IsWindowVisible(view->page(tab))) << tab;
        EXPECT_EQ(views::auditLayout(view->hwnd()), std::vector<std::string>{}) << "tab " << tab;
        if (pictures) {
            SetForegroundWindow(view->hwnd());
            pump();
            test::saveWindowImage(view->hwnd(),
                                  std::string(pictures) + "\\main-" + names[tab] + ".bmp");
        }
    }
}

TEST_F(MainWindowViewTest, StartsInStepWithNoMarks) {
    start();
    EXPECT_EQ(text(view->hwnd()), "[Current Configuration] - Vantrel");
    EXPECT_EQ(panel(frmMain::PanelUnsaved), "");  // filling the page is no user edit
    EXPECT_EQ(panel(frmMain::PanelReset), "");
    EXPECT_EQ(panel(frmMain::PanelVersion), window->sbStatus.panel(frmMain::PanelVersion).text);
    expectGeneralInStep();
}

TEST_F(MainWindowViewTest, DhcpAndWinsBoxesFollowClicks) {
    start();
    ui::GeneralTab& g = *window->general;
    // Each click goes to the model; the page then shows the model's states.
    const ui::Control* clicks[] = {&g.chkWINSEnabled, &g.chkWINSEnabled, &g.chkDHCPEnabled,
                                   &g.chkDHCPEnabled, &g.chkDNSEnabled,  &g.chkLogonToNT};
    for (const ui::Control* box : clicks) {
        const int before = static_cast<const ui::CheckBox*>(box)->value();
        if (!box->enabled())
            continue;
        click(*box);
        EXPECT_NE(static_cast<const ui::CheckBox*>(box)->value(), before) << box->name();
        expectGeneralInStep();
    }
    EXPECT_EQ(panel(frmMain::PanelUnsaved), "Modified");
}

// The visible top-level windows whose caption ends in "- Vantrel".
int visibleMainWindows() {
    int count = 0;
    EnumWindows(
        [](HWND w, LPARAM counter) -> BOOL {
            char caption[256] = {};
            GetWindowTextA(w, caption, sizeof caption);
            if (IsWindowVisible(w) && std::string(caption).find("- Vantrel") != std::string::npos)
                ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// Closing the window, or a second start of the program, while a dialog is open:
// both windows stay, nothing is asked and the edit is kept, unsaved.
TEST_F(MainWindowViewTest, InterruptionsWhileADialogIsOpenLoseNothing) {
    registerDialogViews(dialogs);
    start();
    pickTab(frmMain::TabGeneral);
    type(window->general->txtHost, "keptedit");
    const std::function<void()> interruptions[] = {
        [&] { SendMessageA(view->hwnd(), WM_CLOSE, 0, 0); },
        [&] {
            platform_.another = true;
            views::Win32Dialogs secondDialogs;
            frmMain second(secondDialogs);
            views::runMainWindow(second, secondDialogs, SW_SHOWNORMAL);
            platform_.another = false;
        },
    };
    for (std::size_t i = 0; i < std::size(interruptions); ++i) {
        const std::size_t messagesBefore = dialogs.messages.size();
        bool shown = false, mainAlive = false, dialogAlive = false;
        int mainWindows = 0;
        dialogs.onModal = [&](views::FormView& modal) {
            shown = true;
            interruptions[i]();
            pump();
            mainAlive = IsWindow(view->hwnd()) != 0;
            dialogAlive = IsWindow(modal.hwnd()) != 0;
            mainWindows = visibleMainWindows();
            auto& options = static_cast<ui::frmOptions&>(modal.form());
            SendMessageA(modal.binder().find(options.cmdCancel)->hwnd(), BM_CLICK, 0, 0);
        };
        menu(window->mnuToolsOptions);
        ASSERT_TRUE(shown) << i;
        EXPECT_TRUE(mainAlive && dialogAlive) << i;
        EXPECT_EQ(mainWindows, 1) << i;
        EXPECT_EQ(dialogs.modalDepth(), 0) << i;
        EXPECT_EQ(dialogs.messages.size(), messagesBefore) << i;
        EXPECT_TRUE(IsWindow(view->hwnd())) << i;
        EXPECT_EQ(text(of(window->general->txtHost)), "keptedit") << i;
        EXPECT_EQ(panel(frmMain::PanelUnsaved), "Modified") << i;
    }
}

TEST_F(MainWindowViewTest, PartTogglesDisableTabsAndRefuseTheirSelection) {
    start();
    struct Case {
        ui::MenuItem frmMain::*entry;
        int tab;
        int button;
    };
    const Case cases[] = {
        {&frmMain::mnuToolsGeneral, frmMain::TabGeneral, frmMain::ButtonGeneral},
        {&frmMain::mnuToolsExplorer, frmMain::TabExplorer, frmMain::ButtonExplorer},
        {&frmMain::mnuToolsNavigator, frmMain::TabNavigator, frmMain::ButtonNavigator}};
    for (const Case& c : cases) {
        ui::MenuItem& item = (*window).*c.entry;
        if (!item.enabled())
            continue;
        const bool wasOn = item.checked();
        menu(item);
        EXPECT_NE(item.checked(), wasOn);
        EXPECT_EQ(toolbarPressed(c.button), item.checked()) << c.tab;
        const UINT state = GetMenuState(GetMenu(view->hwnd()), view->menuId(item), MF_BYCOMMAND);
        EXPECT_EQ((state & MF_CHECKED) != 0, item.checked()) << c.tab;
        if (!item.checked()) {
            pickTab(c.tab);
            EXPECT_NE(SendMessageA(view->tabs(), TCM_GETCURSEL, 0, 0), c.tab);
            EXPECT_EQ(SendMessageA(view->tabs(), TCM_GETCURSEL, 0, 0), window->SSTab.selected());
        }
    }
    // The toolbar button turns the part on again.
    SendMessageA(view->hwnd(), WM_COMMAND, views::MainWindowView::toolbarId(frmMain::ButtonGeneral),
                 reinterpret_cast<LPARAM>(view->toolbar()));
    pump();
    EXPECT_TRUE(window->SSTab.tab(frmMain::TabGeneral).enabled);
}

TEST_F(MainWindowViewTest, BadAddressIsReportedWhenTheBoxLosesTheFocus) {
    start();
    ui::GeneralTab& g = *window->general;
    if (g.chkDHCPEnabled.value() == 1)
        click(g.chkDHCPEnabled);
    ASSERT_TRUE(g.txtIP.enabled());
    SetFocus(of(g.txtIP));
    type(g.txtIP, "10.1.300.4");
    const std::size_t before = dialogs.messages.size();
    SetFocus(of(g.txtMask));
    pump();
    ASSERT_GT(dialogs.messages.size(), before);
    EXPECT_EQ(GetFocus(), of(g.txtIP));  // the bad text stays to be corrected
}

// The DNS server list as the running Windows keeps it, blanks between servers.
std::string dnsInRegistry() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    std::string dns =
        version.dwPlatformId == VER_PLATFORM_WIN32_NT
            ? machineValue("SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", "NameServer")
            : machineValue("System\\CurrentControlSet\\Services\\VxD\\MSTCP", "NameServer");
    std::replace(dns.begin(), dns.end(), ',', ' ');
    return dns;
}

TEST_F(MainWindowViewTest, FileNamedOnTheCommandLineFillsThePages) {
    const std::string file = tempPath("viewtest.vtl");
    prepareFile(file, "filehost", "10.76.0.1");
    start("/load " + file);
    EXPECT_EQ(text(view->hwnd()), "viewtest.vtl - Vantrel");
    EXPECT_EQ(text(of(window->general->txtHost)), "filehost");
    EXPECT_EQ(panel(frmMain::PanelUnsaved), "");
    expectGeneralInStep();
    DeleteFileA(file.c_str());
}

TEST_F(MainWindowViewTest, OpenEditAndApplyFromTheMenus) {
    const std::string file = tempPath("viewroad.vtl");
    prepareFile(file, "roadhost", "10.77.0.1");
    start();
    const std::size_t before = dialogs.messages.size();
    openFromMenu(file);
    EXPECT_EQ(platform_.asked, 1);
    EXPECT_EQ(dialogs.messages.size(), before);
    EXPECT_EQ(text(view->hwnd()), "viewroad.vtl - Vantrel");
    ui::GeneralTab& g = *window->general;
    EXPECT_EQ(text(of(g.txtHost)), "roadhost");
    EXPECT_EQ(text(of(g.txtDNSServers)), "10.77.0.1");
    expectGeneralInStep();

    type(g.txtDNSServers, "10.77.0.9");
    EXPECT_EQ(panel(frmMain::PanelUnsaved), "Modified");
    registerDialogViews(dialogs);
    std::string modalShown;
    dialogs.onModal = [&](views::FormView& modal) {
        modalShown = modal.form().name();
        modal.form().setVisible(false);
    };
    menu(window->mnuFileApply);
    // Network settings alone need no restart: no dialog asks how.
    EXPECT_EQ(modalShown, "");
    EXPECT_EQ(dialogs.messages.back(), "Vantrel: Configuration updated - no restart required.");
    EXPECT_EQ(dialogs.modalDepth(), 0);
    EXPECT_EQ(dnsInRegistry(), "10.77.0.9");
    EXPECT_EQ(text(view->hwnd()), "viewroad.vtl - Vantrel");
    // A mark shows while the model shows its panel: applied, not saved.
    EXPECT_EQ(panel(frmMain::PanelUnsaved), "Modified");
    EXPECT_TRUE(window->sbStatus.panel(frmMain::PanelUnsaved).visible);
    EXPECT_EQ(panel(frmMain::PanelReset), "");
    EXPECT_FALSE(window->sbStatus.panel(frmMain::PanelReset).visible);
    DeleteFileA(file.c_str());
}

// The test add-in, registered with the system and the program for the scope;
// a file's "[Recorder] Restart=1" makes it ask for a restart once applied.
class RecorderAddIn {
  public:
    RecorderAddIn() {
        char path[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string from = path;
        from = from.substr(0, from.find_last_of('\\')) + "\\TestAddIn.dll";
        folder_ = tempPath("vtl-view-" + std::to_string(GetCurrentProcessId()));
        CreateDirectoryA(folder_.c_str(), nullptr);
        dll_ = folder_ + "\\TestAddIn.dll";
        CopyFileA(from.c_str(), dll_.c_str(), FALSE);
        call("DllRegisterServer");
        SaveRegSetting(kAppName, addins::kSection, kName, "");
        SaveRegSetting(kAppName, addins::addInSection(kName), "Class", "VantrelTest.Recorder");
        SaveRegSetting(kAppName, addins::addInSection(kName), "OS", "*");
        SaveRegSetting(kAppName, addins::addInSection(kName), "Active", "1");
    }
    ~RecorderAddIn() {
        DeleteRegSetting(kAppName, addins::kSection, kName);
        DeleteRegSetting(kAppName, addins::addInSection(kName));
        call("DllUnregisterServer");
    }
    RecorderAddIn(const RecorderAddIn&) = delete;
    RecorderAddIn& operator=(const RecorderAddIn&) = delete;

  private:
    static constexpr const char* kName = "Recorder";
    void call(const char* entry) const {
        HMODULE module = LoadLibraryA(dll_.c_str());
        ASSERT_NE(module, nullptr) << dll_;
        auto function = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
            reinterpret_cast<void (*)()>(GetProcAddress(module, entry)));
        ASSERT_NE(function, nullptr) << entry;
        EXPECT_EQ(function(), S_OK) << entry;
        FreeLibrary(module);
    }
    std::string folder_;
    std::string dll_;
};

TEST_F(MainWindowViewTest, ApplyThatNeedsARestartAsksHowAndIsAnsweredManual) {
    const std::string file = tempPath("viewrestart.vtl");
    prepareFile(file, "resthost", "10.78.0.1");
    WritePrivateProfileStringA("Recorder", "Restart", "1", file.c_str());
    RecorderAddIn addIn;
    start();
    openFromMenu(file);
    EXPECT_EQ(text(view->hwnd()), "viewrestart.vtl - Vantrel");
    type(window->general->txtDNSServers, "10.78.0.9");
    registerDialogViews(dialogs);
    std::string shown;
    dialogs.onModal = [&](views::FormView& modal) {
        shown = text(modal.hwnd());
        auto& restart = static_cast<ui::frmRestart&>(modal.form());
        SendMessageA(modal.binder().find(restart.optManual)->hwnd(), BM_CLICK, 0, 0);
        SendMessageA(modal.binder().find(restart.cmdOK)->hwnd(), BM_CLICK, 0, 0);
    };
    menu(window->mnuFileApply);
    EXPECT_EQ(shown, "Vantrel Restart");
    EXPECT_EQ(dialogs.modalDepth(), 0);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back(),
              "Vantrel: The network changes will take effect the next time you reboot.");
    EXPECT_EQ(dnsInRegistry(), "10.78.0.9");
    EXPECT_EQ(panel(frmMain::PanelReset), "");
    EXPECT_FALSE(window->sbStatus.panel(frmMain::PanelReset).visible);
    TearDown();
    DeleteFileA(file.c_str());
}

TEST_F(MainWindowViewTest, ChoosingAnotherNavigatorProfileShowsItsSettings) {
    start();
    ui::NavigatorTab& n = *window->navigator;
    const HWND combo = of(n.cboNNProfile);
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    if (!window->SSTab.tab(frmMain::TabNavigator).enabled || count < 2)
        GTEST_SKIP() << "this machine has no second Navigator profile";
    pickTab(frmMain::TabNavigator);
    const LRESULT shown = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    const std::string ftpBefore = text(of(n.txtNNFTPAddr));
    const WPARAM other = shown == 0 ? 1 : 0;
    SendMessageA(combo, CB_SETCURSEL, other, 0);
    SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    pump();
    EXPECT_EQ(n.cboNNProfile.listIndex(), static_cast<int>(other));
    EXPECT_EQ(window->oNNConfig->CurrentProfile(), n.cboNNProfile.text());
    for (const ui::TextBox* box :
         {&n.txtNNHTTPAddr, &n.txtNNHTTPPort, &n.txtNNFTPAddr, &n.txtNNFTPPort, &n.txtNNExceptions})
        EXPECT_EQ(text(of(*box)), box->text()) << box->name();
    EXPECT_NE(text(of(n.txtNNFTPAddr)), ftpBefore);
}

TEST_F(MainWindowViewTest, BadFilesAreRefusedAndTheWindowStaysUsable) {
    std::string binary;
    for (int i = 0; i < 512; ++i)
        binary += static_cast<char>(i % 256);
    std::string huge;
    while (huge.size() < 8u * 1024 * 1024)
        huge += std::string(200, 'h') + "\r\n";
    struct Case {
        const char* name;
        std::string content;
        const char* message;
    };
    const Case cases[] = {
        {"viewbinary.vtl", binary, "Vantrel: Invalid configuration file."},
        {"viewempty.vtl", "", "Vantrel: Invalid configuration file."},
        {"viewhuge.vtl", huge, "Vantrel: Invalid configuration file."},
    };
    start();
    const std::string caption = text(view->hwnd());
    const std::string host = text(of(window->general->txtHost));
    for (const Case& c : cases) {
        const std::string path = tempPath(c.name);
        writeFile(path, c.content);
        const std::size_t before = dialogs.messages.size();
        openFromMenu(path);
        ASSERT_EQ(dialogs.messages.size(), before + 1) << c.name;
        EXPECT_EQ(dialogs.messages.back(), c.message) << c.name;
        EXPECT_EQ(text(view->hwnd()), caption) << c.name;
        EXPECT_EQ(text(of(window->general->txtHost)), host) << c.name;
        expectGeneralInStep();
        DeleteFileA(path.c_str());
    }
    type(window->general->txtHost, "stillworks");
    EXPECT_EQ(window->general->txtHost.text(), "stillworks");
    EXPECT_EQ(panel(frmMain::PanelUnsaved), "Modified");
    // A box with a length limit refuses what is beyond it.
    type(window->general->txtComputerName, "ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(text(of(window->general->txtComputerName)), window->general->txtComputerName.text());
    EXPECT_LE(window->general->txtComputerName.text().size(), 15u);
}

}  // namespace
}  // namespace vtl
