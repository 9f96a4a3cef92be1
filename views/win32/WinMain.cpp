// vtl.exe: the Vantrel program on Windows.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <sstream>
#include <string>

#include "app/CommandLine.h"
#include "app/HeadlessFrontEnd.h"
#include "app/frmMain.h"
#include "config/clsVtlConfig.h"
#include "config/modAPI.h"
#include "platform/win32/Win32Platform.h"

// The Windows headers follow the program's: their macros rename Platform's members.
#include <windows.h>
#undef MessageBox

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
// (std::cerr would pull in file streams, which need a C runtime newer than 98's.)
struct UnusedSink {
    std::ostringstream unused;
};

class WinFrontEnd : private UnusedSink, public vtl::HeadlessFrontEnd {
  public:
    WinFrontEnd() : HeadlessFrontEnd(unused) {}

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
        std::fprintf(stderr, "Vantrel: %s\n", e.what());
        return 1;
    }
    return frontEnd.failed() ? 1 : 0;
}
