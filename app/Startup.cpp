// Start-up and the command line of the main window.
#include "app/Startup.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "app/frmMain.h"
#include "app/modReset.h"
#include "config/Screen.h"
#include "config/VbText.h"
#include "config/VtlError.h"
#include "config/clsVtlConfig.h"
#include "config/modAPI.h"
#include "platform/Platform.h"
#include "ui/clsSettings.h"
#include "ui/frmRestart.h"

namespace vtl {

namespace {

std::string upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Mid(text, start) with a one-based start.
std::string fromCharacter(const std::string& text, std::size_t start) {
    return text.size() >= start ? text.substr(start - 1) : "";
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

// --- Settings migration ---

void MigrateSettings(const OldSettingReader& oldSetting) {
    if (!GetRegSetting(kAppName, "", "", "").empty())
        return;
    SaveRegSetting(kAppName, "", "", ProgramVersion());
    if (!oldSetting)
        return;  // no per-user store of earlier versions here
    const std::string maxFile = oldSetting("Recent", "MaxFile", "...");
    if (maxFile == "...")
        return;
    SaveRegSetting(kAppName, "Recent", "MaxFile", maxFile);
    const auto count = static_cast<long>(Val(maxFile));
    for (long i = 1; i <= count; ++i) {
        const std::string key = "File" + std::to_string(i);
        SaveRegSetting(kAppName, "Recent", key, oldSetting("Recent", key, ""));
    }
}

// --- Windows of other instances ---

std::uintptr_t FindWindowPartial(const std::string& title, CaptionMatch method, bool caseSensitive,
                                 bool visibleOnly) {
    platform::Platform& system = platform::sys();
    const std::string wanted = caseSensitive ? title : upper(title);
    std::uintptr_t found = 0;
    system.EnumWindows([&](std::uintptr_t window) {
        if (visibleOnly && !system.IsWindowVisible(window))
            return true;
        std::string caption = system.GetWindowText(window).substr(0, 255);
        if (caption.empty())
            return true;
        if (!caseSensitive)
            caption = upper(caption);
        bool match = false;
        switch (method) {
            case CaptionMatch::BeginsWith:
                match = caption.rfind(wanted, 0) == 0;
                break;
            case CaptionMatch::Contains:
                match = caption.find(wanted) != std::string::npos;
                break;
            case CaptionMatch::Equals:
                match = caption == wanted;
                break;
        }
        if (match)
            found = window;
        return !match;
    });
    return found;
}

std::uintptr_t FindAndActivateWindow(const std::string& title, CaptionMatch method,
                                     bool caseSensitive) {
    const std::uintptr_t window = FindWindowPartial(title, method, caseSensitive, true);
    if (window != 0) {
        platform::Platform& system = platform::sys();
        if (system.IsIconic(window))
            system.ShowWindow(window, platform::SW_RESTORE);
        system.SetForegroundWindow(window);
    }
    return window;
}

// --- Start-up ---

void frmMain::Form_Load() {
    MigrateSettings();
    {
        BusyPointer busy;
        AutoReset = GetRegSetting(kAppName, "Options", "AutoReset", "0") == "1";
        MRUList = std::make_unique<clsMRUList>();
        MRUList->getRecentList();
        loadRecentFiles();
        showConfiguration();
        if (loadAddIns)
            loadAddIns();
    }
    if (!Command.empty()) {
        processCommandLine(GetCommandLine());
        if (hiddenRun && !close())
            Form_Unload();
    }
}

bool frmMain::Form_Activate() {
    if (!platform::sys().PrevInstance())
        return true;
    setCaption("");
    FindAndActivateWindow("- Vantrel", CaptionMatch::Contains, true);
    return !close();
}

std::vector<std::string> frmMain::GetCommandLine(int MaxArgs) const {
    return Command.arguments(MaxArgs);
}

void frmMain::runSwitch(const char* word, const std::function<void()>& action) {
    try {
        action();
    } catch (const ProgramEnd&) {
        throw;
    } catch (const VtlError& e) {
        const std::string source =
            e.source().empty() ? std::string("frmMain:processCommandLine") : e.source();
        dialogs().MsgBox("Error in " + source + ":" + e.description(),
                         platform::mb::OK | platform::mb::IconExclamation, kAppName);
    } catch (const std::exception& e) {
        dialogs().MsgBox(
            std::string("Error in frmMain:processCommandLine:") + word + ": " + e.what(),
            platform::mb::OK | platform::mb::IconExclamation, kAppName);
    }
}

void frmMain::exportSettings(const std::string& file, bool print) {
    if (!document)
        return;
    ui::clsSettings report;
    report.ConfigFile(document->ConfFile());
    if (!print) {
        report.ExportAllSettings(*document, oNetConfig, oIEConfig, oNNConfig, file);
        return;
    }
    try {
        report.PrintAllSettings(*document, oNetConfig, oIEConfig, oNNConfig);
    } catch (const ProgramEnd&) {
        throw;
    } catch (const std::exception&) {
        dialogs().MsgBox(
            "An error occurred while attempting to print.  Please check your printer and try "
            "again.",
            platform::mb::OK | platform::mb::IconInformation, kAppName);
    }
}

void frmMain::processCommandLine(const std::vector<std::string>& args) {
    bool handled = false;
    const auto found = [&](const char* word, std::string& argument) {
        argument = getSwitch(word, args);
        handled = handled || !argument.empty();
        return !argument.empty();
    };
    std::string arg;
    if (found("hidden", arg)) {
        setVisible(false);
        hiddenRun = true;
    }
    if (found("load", arg)) {
        const std::string file = fromCharacter(arg, 6);
        runSwitch("load", [&] { openFile(file); });
    }
    if (found("save", arg)) {
        const std::string file = fromCharacter(arg, 6);
        runSwitch("save", [&] { saveFile(file); });
    }
    if (found("export", arg)) {
        const std::string file = fromCharacter(arg, 8);
        runSwitch("export", [&] { exportSettings(file, false); });
    }
    if (found("apply", arg))
        runSwitch("apply", [&] { applyCurrentFile(); });
    if (found("print", arg))
        runSwitch("print", [&] { exportSettings("", true); });
    if (found("prompt", arg)) {
        runSwitch("prompt", [&] {
            ui::frmRestart restart(dialogs());
            dialogs().ShowModal(restart);
        });
    }
    static constexpr std::pair<const char*, const char*> kMethods[] = {{"manual", kResetManual},
                                                                       {"reboot", kResetReboot},
                                                                       {"shutdown", kResetShutdown},
                                                                       {"suspend", kResetSuspend}};
    for (const auto& [word, method] : kMethods) {
        if (found(word, arg))
            runSwitch(word, [&, code = method] { ResetPC(std::string(code), &dialogs()); });
    }
    if (!handled && !args.empty() && endsWith(lower(args.front()), ".vtl"))
        runSwitch("load", [&] { openFile(args.front()); });
}

}  // namespace vtl
