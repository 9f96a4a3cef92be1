// vtl: the Vantrel program on a machine image.
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "config/modAPI.h"
#include "platform/portable/ImageLocator.h"
#include "platform/portable/PortablePlatform.h"

namespace {

constexpr const char* kUsage =
    "usage: vtl [--machine DIR] [--help] [--version] [/switch ...] [FILE.vtl]";

void printHelp() {
    std::cout
        << kUsage << "\n\n"
        << "Options:\n"
           "  --machine DIR  the machine image to work on (else $VANTREL_MACHINE, else\n"
           "                 $XDG_DATA_HOME/vantrel/machine, made from the Windows 2000 sample)\n"
           "  --help         this text\n"
           "  --version      the program's version\n";
}

std::string systemName(const std::string& code, const vtl::platform::OsVersionInfo& info) {
    std::string version = std::to_string(info.majorVersion) + "." +
                          std::to_string(info.minorVersion) + "." +
                          std::to_string(info.buildNumber);
    if (!info.csdVersion.empty())
        version += " " + info.csdVersion;
    if (code == "9x")
        return "Windows 95/98 (" + version + ")";
    if (code == "NT")
        return "Windows NT (" + version + ")";
    if (code == "2K")
        return "Windows 2000 (" + version + ")";
    return "unsupported";
}

std::string browserLine(float version, float threshold) {
    if (version == 0)
        return "not found";
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(version));
    return std::string(text) + (version > threshold ? "" : " (too old, not used)");
}

void showMachine(vtl::portable::PortablePlatform& machine) {
    using namespace vtl;
    platform::OsVersionInfo info;
    machine.GetVersionEx(info);
    const std::string os = GetOSVersion();
    std::cout << "Machine image:       " << machine.imageDir().string() << "\n"
              << "System:              " << systemName(os, info) << "\n"
              << "Windows folder:      " << machine.GetWindowsDirectory() << "\n"
              << "System folder:       " << machine.GetSystemDirectory() << "\n"
              << "Internet Explorer:   " << browserLine(GetIEVersion(), 3) << "\n"
              << "Netscape Navigator:  " << browserLine(GetNNVersion(), 4) << "\n"
              << "Program settings:\n";
    struct Setting {
        const char* section;
        const char* name;
        const char* fallback;
    };
    static constexpr Setting kSettings[] = {
        {"Options", "Restart", "0"},           {"Options", "AutoReset", "0"},
        {"Options", "AutoShutdown", "0"},      {"Options", "TrayIconActive", "0"},
        {"Options", "LastFileApplied", "N/A"}, {"Options", "NICWarning", "1"},
        {"Options", "NavigatorWarning", "0"},  {"Recent", "MaxFile", "3"},
    };
    for (const Setting& s : kSettings) {
        std::cout << "  " << s.section << "\\" << s.name << " = "
                  << GetRegSetting(kAppName, s.section, s.name, s.fallback) << "\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<std::string> machineDir;
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            printHelp();
            return 0;
        }
        if (arg == "--version") {
            std::cout << "Vantrel " << vtl::ProgramVersion() << "\n";
            return 0;
        }
        if (arg == "--machine" || arg.rfind("--machine=", 0) == 0) {
            if (arg == "--machine") {
                if (i + 1 >= argc) {
                    std::cerr << kUsage << "\n";
                    return 2;
                }
                machineDir = argv[++i];
            } else {
                machineDir = arg.substr(std::strlen("--machine="));
            }
            continue;
        }
        arguments.push_back(arg);
    }

    try {
        const auto image = vtl::portable::locateImage(
            machineDir, std::string(VANTREL_SAMPLES_DIR) + "/win2000", std::cerr);
        vtl::portable::PortablePlatform machine(image);
        vtl::platform::PlatformScope scope(machine);
        std::cout << "Vantrel " << vtl::ProgramVersion() << "\n";
        showMachine(machine);
        if (!arguments.empty()) {
            std::cout << "No window is available yet; the command line is not run.\n";
        }
    } catch (const std::exception& e) {
        std::cerr << "Vantrel: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
