// vtl.exe: the Vantrel program on Windows.
#include <windows.h>

#include <cstdint>
#include <exception>
#include <iostream>
#include <string>

#include "app/CommandLine.h"
#include "app/HeadlessFrontEnd.h"
#include "app/frmMain.h"
#include "config/clsVtlConfig.h"
#include "config/modAPI.h"
#include "platform/win32/Win32Platform.h"

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

// Until the window exists the program runs headlessly, but its message boxes
// are the platform's: real ones, or lines on standard error in unattended runs.
class WinFrontEnd : public vtl::HeadlessFrontEnd {
  public:
    WinFrontEnd() : HeadlessFrontEnd(std::cerr) {}

    vtl::platform::Answer MsgBox(const std::string& text, std::uint32_t style,
                                 const std::string& caption) override {
        if (reportsFailure(text, style))
            setFailed();
        return vtl::platform::sys().MessageBox(text, style, caption);
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*showCommand*/) {
    WinFrontEnd frontEnd;
    try {
        vtl::win32::Win32Platform system;
        vtl::platform::PlatformScope scope(system);
        vtl::frmMain window(frontEnd);
        window.Command = vtl::CommandLine::fromString(commandTail(GetCommandLineA()));
        try {
            window.Form_Load();
            if (!window.hiddenRun && window.document && window.Form_Activate()) {
                if (!window.close())
                    window.Form_Unload();
            }
        } catch (const vtl::ProgramEnd&) {
            // An automatic reset ends the program; an unsupported system is a failure.
            if (!window.programEnded)
                frontEnd.setFailed();
        } catch (const std::exception& e) {
            frontEnd.MsgBox(e.what(), vtl::platform::mb::OK | vtl::platform::mb::IconCritical,
                            vtl::kAppName);
        }
    } catch (const std::exception& e) {
        std::cerr << "Vantrel: " << e.what() << "\n";
        return 1;
    }
    return frontEnd.failed() ? 1 : 0;
}
