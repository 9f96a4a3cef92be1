// vtl.exe: the Vantrel program on Windows.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>

#include "addins/AddInForms.h"
#include "app/CommandLine.h"
#include "app/HeadlessFrontEnd.h"
#include "app/frmMain.h"
#include "config/clsVtlConfig.h"
#include "config/modAPI.h"
#include "platform/win32/Win32Platform.h"
#include "ui/NavigatorForms.h"
#include "views/win32/DialogViews.h"
#include "views/win32/MainWindowView.h"
#include "views/win32/Native.h"
#include "views/win32/Win32Dialogs.h"

namespace {

// The command string after the program's path (quoted or not) and the blanks
// that follow it.
std::string commandTail(const char* commandLine) {
    std::string line = commandLine ? commandLine : "";
    std::size_t i = 0;
    if (!line.empty() && line[0] == '"') {
        const std::size_t close = line.find('"', 1);
        i = close == std::string::npos ? line.size() : close + 1;
    }
    while (i < line.size() && line[i] != ' ' && line[i] != '\t')
        ++i;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    return line.substr(i);
}

// The window's dialog service, remembering whether a message reported a failure.
class WindowDialogs : public vtl::views::Win32Dialogs {
  public:
    vtl::platform::Answer MsgBox(const std::string& text, std::uint32_t style,
                                 const std::string& caption) override {
        if (vtl::HeadlessFrontEnd::reportsFailure(text, style))
            failed = true;
        return Win32Dialogs::MsgBox(text, style, caption);
    }
    bool failed = false;
};

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int showCommand) {
    WindowDialogs dialogs;
    vtl::views::registerDialogViews(dialogs);
    vtl::ui::NavigatorForms navigatorForms(dialogs);
    const vtl::NavigatorDialogsScope navigatorScope(navigatorForms);
    const vtl::AddInFormsScope addInFormsScope(dialogs);
    try {
        vtl::win32::Win32Platform system;
        vtl::platform::PlatformScope scope(system);
        vtl::frmMain window(dialogs);
        window.Command = vtl::CommandLine::fromString(commandTail(GetCommandLineA()));
        try {
            vtl::views::runMainWindow(window, dialogs, showCommand);
        } catch (const vtl::ProgramEnd&) {
            // An automatic reset ends the program; an unsupported system is a failure.
            if (!window.programEnded)
                dialogs.failed = true;
        } catch (const std::exception& e) {
            dialogs.MsgBox(e.what(), vtl::platform::mb::OK | vtl::platform::mb::IconCritical,
                           vtl::kAppName);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Vantrel: %s\n", e.what());
        return 1;
    }
    return dialogs.failed ? 1 : 0;
}
