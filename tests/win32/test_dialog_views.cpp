// The dialogs' views in real windows: each is opened from its model through the
// dialog service, driven with window messages as a user would, and checked for
// what it shows and what the registry holds afterwards.
#include "platform/win32/Win32Platform.h"
// The platform header goes first (the Windows macros rename its members).
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "addins/AddInObject.h"
#include "addins/frmAddIns.h"
#include "config/modAPI.h"
#include "platform/win32/ComAddIns.h"
#include "tests/win32/WindowImage.h"
#include "ui/frmAbout.h"
#include "ui/frmNICWarning.h"
#include "ui/frmNNMail.h"
#include "ui/frmNetscape.h"
#include "ui/frmOptions.h"
#include "ui/frmPrintSetup.h"
#include "ui/frmPrinter.h"
#include "ui/frmRestart.h"
#include "views/win32/DialogViews.h"

namespace vtl::views {
namespace {

constexpr const char* kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::optional<std::string> regText(HKEY root, const std::string& key, const std::string& name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    const LONG rc = RegQueryValueExA(opened, name.c_str(), nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(opened);
    return rc == ERROR_SUCCESS ? std::optional<std::string>(data) : std::nullopt;
}

void deleteTree(HKEY root, const std::string& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS)
        return;
    char name[256];
    while (RegEnumKeyA(opened, 0, name, sizeof name) == ERROR_SUCCESS)
        deleteTree(opened, name);
    RegCloseKey(opened);
    RegDeleteKeyA(root, key.c_str());
}

// The list view's item states, as a click on an entry or its check box sets them.
bool listChecked(HWND list, int index) {
    return (SendMessageA(list, LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK) >> 12) == 2;
}
void setListState(HWND list, int index, UINT mask, UINT state) {
    LVITEMA item{};
    item.stateMask = mask;
    item.state = state;
    SendMessageA(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

// A clean program state, the dialog service with the dialogs' views, and the
// user's part while a dialog is up.
class DialogViews : public ::testing::Test {
  protected:
    DialogViews() {
        deleteTree(HKEY_LOCAL_MACHINE, "Software\\Vantrel");
        deleteTree(HKEY_CLASSES_ROOT, ".vtl");
        deleteTree(HKEY_CLASSES_ROOT, "vtl_auto_file");
        HKEY run = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRun, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
            RegDeleteValueA(run, "Vantrel");
            RegDeleteValueA(run, "VtlSysTray");
            RegCloseKey(run);
        }
        registerDialogViews(dialogs);
        dialogs.answer = [this](const std::string&, std::uint32_t, const std::string&) {
            return std::optional<platform::Answer>(reply);
        };
    }

    // Shows `form` modally; `user` acts on it and must close it.
    void show(ui::Form& form, const std::function<void()>& user) {
        dialogs.onModal = [&](FormView& view) {
            view_ = &view;
            EXPECT_EQ(auditLayout(view.hwnd()), std::vector<std::string>{}) << form.name();
            user();
            if (form.visible()) {
                ADD_FAILURE() << form.name() << " is still open";
                form.setVisible(false);
            }
        };
        dialogs.ShowModal(form);
        view_ = nullptr;
    }
    HWND hwnd(const ui::Control& control) const {
        Binding* binding = view_->binder().find(control);
        return binding ? binding->hwnd() : nullptr;
    }
    void click(const ui::Control& control) { SendMessageA(hwnd(control), BM_CLICK, 0, 0); }
    void type(const ui::Control& control, const char* text) {
        SendMessageA(hwnd(control), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    bool checked(const ui::Control& control) {
        return SendMessageA(hwnd(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    std::string text(const ui::Control& control) {
        char buffer[512] = {};
        GetWindowTextA(hwnd(control), buffer, sizeof buffer);
        return buffer;
    }
    void closeBox() { SendMessageA(view_->hwnd(), WM_CLOSE, 0, 0); }

    win32::Win32Platform platform_;
    platform::PlatformScope scope_{platform_};
    Win32Dialogs dialogs;
    platform::Answer reply = platform::Answer::No;
    FormView* view_ = nullptr;
};

std::string option(const char* name) {
    return GetRegSetting(kAppName, "Options", name, "-");
}

// With VANTREL_SCREENSHOTS naming a folder, also saves a picture of each dialog.
TEST_F(DialogViews, EveryDialogOpensWithItsCaptionAndNothingCutOff) {
    const char* pictures = std::getenv("VANTREL_SCREENSHOTS");
    // The manager lists the shipped add-in as a user finds it registered.
    SaveRegSetting(kAppName, "Add-Ins", "Network Drives", "");
    SaveRegSetting(kAppName, "Add-Ins\\Network Drives", "Class", "NetworkDrives.clsNetworkDrives");
    SaveRegSetting(kAppName, "Add-Ins\\Network Drives", "OS", "*");
    SaveRegSetting(kAppName, "Add-Ins\\Network Drives", "Active", "1");
    SaveRegSetting(kAppName, "Add-Ins\\Network Drives", "File", "addins\\NetworkDrives.dll");
    SaveRegSetting(kAppName, "Add-Ins\\Network Drives", "Version", "1.0.0");
    ui::frmAbout about;
    ui::frmNICWarning nic;
    ui::frmNNMail mail;
    ui::frmNetscape netscape;
    ui::frmOptions options(dialogs);
    ui::frmPrintSetup printSetup;
    ui::frmPrinter printer;
    ui::frmRestart restart(dialogs);
    frmAddIns addIns(dialogs);
    const struct {
        ui::Form& form;
        const char* caption;
    } cases[] = {
        {about, "About Vantrel"},
        {nic, "Warning..."},
        {mail, "Netscape E-Mail Settings"},
        {netscape, "Warning..."},
        {options, "Vantrel Options"},
        {printSetup, "Print Setup"},
        {printer, "Advanced Printer Properties"},
        {restart, "Vantrel Restart"},
        {addIns, "Add-In Manager"},
    };
    for (const auto& c : cases) {
        show(c.form, [&] {
            char caption[128] = {};
            GetWindowTextA(view_->hwnd(), caption, sizeof caption);
            EXPECT_STREQ(caption, c.caption);
            if (&c.form == &addIns) {
                EXPECT_EQ(text(addIns.frAddIn), "Network Drives");
            }
            if (pictures) {
                test::saveWindowImage(view_->hwnd(),
                                      std::string(pictures) + "\\dialog-" + c.form.name() + ".bmp");
            }
            closeBox();
        });
    }
}

TEST_F(DialogViews, OptionsStoreWhatTheUserChoseOnOK) {
    struct Case {
        const char* what;
        std::function<void(ui::frmOptions&)> user;
        std::function<std::optional<std::string>()> stored;
        const char* expected;
    };
    const Case cases[] = {
        {"restart method", [&](ui::frmOptions& f) { click(f.optSuspend); },
         [] { return std::optional(option("Restart")); }, "3"},
        {"automatic reset", [&](ui::frmOptions& f) { click(f.chkAutoApply); },
         [] { return std::optional(option("AutoReset")); }, "1"},
        {"recent files", [&](ui::frmOptions& f) { type(f.txtMaxRecent, "4"); },
         [] { return std::optional(GetRegSetting(kAppName, "Recent", "MaxFile")); }, "4"},
        {"start-up entry", [&](ui::frmOptions& f) { click(f.chkStartup); },
         [] { return regText(HKEY_LOCAL_MACHINE, kRun, "Vantrel"); }, "\\Vtl.exe\""},
        {"tray entry", [&](ui::frmOptions& f) { click(f.chkSystemTray); },
         [] { return regText(HKEY_LOCAL_MACHINE, kRun, "VtlSysTray"); }, "\\VtlSysTray.exe\""},
        {"association", [&](ui::frmOptions& f) { click(f.chkAssociate); },
         [] {
             return regText(HKEY_CLASSES_ROOT, "vtl_auto_file\\shell\\Open with Vantrel\\command",
                            "");
         },
         "\\Vtl.exe %1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool ok : {false, true}) {
            ui::frmOptions form(dialogs);
            show(form, [&] {
                c.user(form);
                click(ok ? form.cmdOK : form.cmdCancel);
            });
            const std::optional<std::string> value = c.stored();
            const std::string tail =
                value ? value->substr(value->size() -
                                      std::min(value->size(), std::string(c.expected).size()))
                      : "";
            EXPECT_EQ(tail == c.expected, ok) << (value ? *value : "(none)");
        }
    }
}

TEST_F(DialogViews, OptionsShowTheRulesOfTheirControls) {
    SaveRegSetting(kAppName, "Recent", "MaxFile", "7");
    ui::frmOptions form(dialogs);
    show(form, [&] {
        EXPECT_EQ(text(form.txtMaxRecent), "5");
        EXPECT_FALSE(IsWindowEnabled(hwnd(form.chkShutdown)));
        click(form.chkSystemTray);
        EXPECT_TRUE(IsWindowEnabled(hwnd(form.chkShutdown)));
        type(form.txtMaxRecent, "9");
        EXPECT_EQ(text(form.txtMaxRecent), "5");
        closeBox();
    });
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back(), "Vantrel: Please enter a numeric value from 0 to 5.");
    EXPECT_EQ(option("AutoShutdown"), "-");  // the close box stored nothing
}

TEST_F(DialogViews, AddInManagerWritesActiveOnOKOnly) {
    for (const char* name : {"Alpha", "Beta"}) {
        const std::string section = std::string("Add-Ins\\") + name;
        SaveRegSetting(kAppName, "Add-Ins", name, "");
        SaveRegSetting(kAppName, section, "Class", std::string("Test.") + name);
        SaveRegSetting(kAppName, section, "OS", "*");
        SaveRegSetting(kAppName, section, "Active", name[0] == 'B' ? "1" : "0");
    }
    SaveRegSetting(kAppName, "Add-Ins\\Alpha", "File", "alpha.dll");
    const auto active = [](const char* name) {
        return GetRegSetting(kAppName, std::string("Add-Ins\\") + name, "Active");
    };
    for (const bool ok : {false, true}) {
        frmAddIns form(dialogs);
        show(form, [&] {
            HWND list = hwnd(form.lstAddIns);
            ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);
            EXPECT_FALSE(listChecked(list, 0));
            EXPECT_TRUE(listChecked(list, 1));
            EXPECT_EQ(text(form.frAddIn), "Alpha");
            EXPECT_EQ(text(form.txtFile), "alpha.dll");
            setListState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            EXPECT_EQ(text(form.frAddIn), "Beta");
            EXPECT_EQ(text(form.txtVersion), "<no version specified>");
            setListState(list, 0, LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(2));
            setListState(list, 1, LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(1));
            click(ok ? form.cmdOK : form.cmdCancel);
        });
        EXPECT_EQ(active("Alpha"), ok ? "1" : "0");
        EXPECT_EQ(active("Beta"), ok ? "0" : "1");
    }
}

TEST_F(DialogViews, RestartPreselectsTheDefaultAndStoresANewOne) {
    SaveRegSetting(kAppName, "Options", "Restart", "3");
    ui::frmRestart form(dialogs);
    show(form, [&] {
        EXPECT_TRUE(checked(form.optSuspend));
        EXPECT_EQ(GetFocus(), hwnd(form.optSuspend));  // the chosen one, not the group's first
        click(form.optManual);
        click(form.chkDefault);
        click(form.cmdOK);
    });
    EXPECT_EQ(option("Restart"), "0");
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back(),
              "Vantrel: The network changes will take effect the next time you reboot.");
}

TEST_F(DialogViews, PrinterSettingsFollowTheEnableBox) {
    ui::frmPrinter form;
    show(form, [&] {
        EXPECT_EQ(text(form.cboCaptureDevice), "(None)");
        for (const bool on : {true, false}) {
            click(form.chkEnableAdvSettings);
            for (const ui::Control* c :
                 {static_cast<const ui::Control*>(&form.txtPrinterPort),
                  static_cast<const ui::Control*>(&form.cboCaptureDevice),
                  static_cast<const ui::Control*>(&form.txtCapturePath),
                  static_cast<const ui::Control*>(&form.chkCaptureReconnect)})
                EXPECT_EQ(IsWindowEnabled(hwnd(*c)) != FALSE, on) << c->name();
        }
        closeBox();
    });
    EXPECT_FALSE(form.Changed());
}

TEST_F(DialogViews, WarningsStoreTheirCheckBox) {
    ui::frmNICWarning nic;
    show(nic, [&] {
        click(nic.chkWarning);
        click(nic.cmdOK);
    });
    EXPECT_EQ(option("NICWarning"), "0");
    ui::frmNetscape netscape;
    show(netscape, [&] {
        click(netscape.chkWarning);
        click(netscape.cmdOK);
    });
    EXPECT_EQ(option("NavigatorWarning"), "1");
}

TEST_F(DialogViews, MailEditsAreChangesUntilCancelled) {
    ui::frmNNMail form;
    show(form, [&] {
        type(form.txtFullName, "Ann Example");
        EXPECT_TRUE(form.Changed());
        closeBox();
    });
    EXPECT_TRUE(form.Cancelled());
    EXPECT_FALSE(form.Changed());
}

// What the timer saw of the add-in's dialog, which runs its own modal loop.
struct SeenDialog {
    std::string caption = "(not shown)";
    std::vector<std::string> problems;
    const char* pictures = nullptr;
};
SeenDialog g_seen;

void CALLBACK closeActiveDialog(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = GetActiveWindow();
    if (!dialog)
        return;
    KillTimer(nullptr, id);
    char caption[128] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    g_seen.caption = caption;
    g_seen.problems = auditLayout(dialog);
    if (g_seen.pictures)
        test::saveWindowImage(dialog,
                              std::string(g_seen.pictures) + "\\dialog-frmNetworkDrives.bmp");
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

// The shipped Network Drives add-in, registered from a program folder and asked
// over COM to show its dialog, as the Add-Ins menu does.
TEST_F(DialogViews, NetworkDrivesDialogOpensOverCom) {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string built = path;
    built = built.substr(0, built.find_last_of('\\')) + "\\addins\\NetworkDrives.dll";
    GetTempPathA(MAX_PATH, path);
    const std::string app = std::string(path) + "vtl-nd-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(app.c_str(), nullptr);
    CreateDirectoryA((app + "\\addins").c_str(), nullptr);
    const std::string dll = app + "\\addins\\NetworkDrives.dll";
    ASSERT_TRUE(CopyFileA(built.c_str(), dll.c_str(), FALSE)) << built;
    ASSERT_EQ(win32::ShippedComAddIns(app).size(), 1u);
    {
        auto addIn = win32::CreateComAddIn("NetworkDrives.clsNetworkDrives");
        ASSERT_NE(addIn, nullptr);
        g_seen = SeenDialog{};
        g_seen.pictures = std::getenv("VANTREL_SCREENSHOTS");
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, closeActiveDialog);
        addIn->Invoke("Show", {Variant(std::string())});
        KillTimer(nullptr, timer);
    }
    EXPECT_EQ(g_seen.caption.rfind("Network Drives", 0), 0u) << g_seen.caption;
    EXPECT_EQ(g_seen.problems, std::vector<std::string>{});
    HMODULE module = LoadLibraryA(dll.c_str());
    if (auto unregister = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
            reinterpret_cast<void (*)()>(GetProcAddress(module, "DllUnregisterServer"))))
        unregister();
    FreeLibrary(module);
    DeleteFileA(dll.c_str());  // fails while COM still holds the DLL
    RemoveDirectoryA((app + "\\addins").c_str());
    RemoveDirectoryA(app.c_str());
}

}  // namespace
}  // namespace vtl::views
