// vtl: the Vantrel program on a machine image or an offline Windows system drive.
#include <cctype>
#include <cstring>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "addins/AddInForms.h"
#include "app/CommandLine.h"
#include "app/HeadlessFrontEnd.h"
#include "app/frmMain.h"
#include "config/clsVtlConfig.h"
#include "config/modAPI.h"
#include "platform/portable/HiveRegistry.h"
#include "platform/portable/ImageLocator.h"
#include "platform/portable/PortablePlatform.h"
#include "platform/portable/RegistryStore.h"
#include "ui/NavigatorForms.h"

namespace {

constexpr const char* kUsage =
    "usage: vtl [--machine DIR [--user NAME] [--drive X=DIR ...]] [--help] [--version]\n"
    "           [/switch [value] ...] [FILE.vtl]";

void printHelp() {
    std::cout
        << kUsage << "\n\n"
        << "Switches (any case; each runs once, in this order, whatever their order here):\n"
           "  /hidden        run without a window; message boxes are written to standard\n"
           "                 error and answered with their default button\n"
           "  /load FILE     open a configuration file (applied at once when it says so)\n"
           "  /save FILE     save the configuration into a file\n"
           "  /export FILE   write the settings report into a text file\n"
           "  /apply         apply the configuration to the machine\n"
           "  /print         print the settings report\n"
           "  /prompt        show the restart dialog\n"
           "  /manual /reboot /shutdown /suspend\n"
           "                 restart the machine by that method (manual: do nothing)\n"
           "  FILE.vtl       with no switch: open that file\n"
           "A switch may also be written -load or --load. At most ten switches and values\n"
           "are read.\n\n"
           "Options:\n"
           "  --machine DIR  the machine image to work on (else $VANTREL_MACHINE, else\n"
           "                 $XDG_DATA_HOME/vantrel/machine, made from the Windows 2000 sample);\n"
           "                 or the system drive of an offline Windows NT 4 / 2000 (a mounted\n"
           "                 disk holding WINNT\\system32\\config), which is then drive C:\n"
           "  --user NAME    on a system drive: the user profile whose settings are used\n"
           "                 (needed when the drive holds more than one)\n"
           "  --drive X=DIR  the folder DIR is drive X: (may be repeated)\n"
           "  --help         this text\n"
           "  --version      the program's version\n\n"
           "Exit status: 0, or 1 when a message reported a failure, 2 for a usage error.\n";
}

int usageError(const std::string& problem) {
    std::cerr << "vtl: " << problem << "\n" << kUsage << "\n";
    return 2;
}

// "--name VALUE" or "--name=VALUE" at argv[i]; false when arg is not that option.
bool optionValue(int argc, char** argv, int& i, const std::string& name,
                 std::optional<std::string>& value) {
    const std::string arg = argv[i];
    if (arg == name) {
        value = i + 1 < argc ? std::optional<std::string>(argv[++i]) : std::nullopt;
        if (!value)
            value = std::string();
        return true;
    }
    if (arg.rfind(name + "=", 0) == 0) {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<std::string> machineDir;
    vtl::portable::MachineOptions machineOptions;
    std::vector<std::string> elements;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::optional<std::string> value;
        if (optionValue(argc, argv, i, "--user", value)) {
            if (value->empty())
                return usageError("--user needs a user name");
            machineOptions.user = *value;
            continue;
        }
        if (optionValue(argc, argv, i, "--drive", value)) {
            const std::string& v = *value;
            if (v.size() < 3 || !std::isalpha(static_cast<unsigned char>(v[0])) ||
                (v[1] != '=' && v[1] != ':') || (v[1] == ':' && v[2] != '=')) {
                return usageError("--drive needs LETTER=FOLDER, e.g. --drive D=/mnt/d");
            }
            const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(v[0])));
            machineOptions.drives[letter] = v.substr(v[1] == ':' ? 3 : 2);
            continue;
        }
        if (arg == "--help") {
            printHelp();
            return 0;
        }
        if (arg == "--version") {
            std::cout << "Vantrel " << vtl::ProgramVersion() << "\n";
            return 0;
        }
        if (arg == "--machine") {
            if (i + 1 >= argc)
                return usageError("--machine needs a folder");
            machineDir = argv[++i];
            continue;
        }
        if (arg.rfind("--machine=", 0) == 0) {
            machineDir = arg.substr(std::strlen("--machine="));
            continue;
        }
        if (arg.rfind("--", 0) == 0 && !vtl::isSwitchElement(arg))
            return usageError("unknown option " + arg);
        elements.push_back(arg);
    }

    vtl::HeadlessFrontEnd frontEnd(std::cerr);
    vtl::ui::NavigatorForms navigatorForms(frontEnd);
    const vtl::NavigatorDialogsScope navigatorScope(navigatorForms);
    const vtl::AddInFormsScope addInFormsScope(frontEnd);
    try {
        const auto image = vtl::portable::locateImage(
            machineDir, std::string(VANTREL_SAMPLES_DIR) + "/win2000", std::cerr);
        vtl::portable::PortablePlatform machine(image, machineOptions);
        vtl::platform::PlatformScope scope(machine);
        machine.setMessageHandler(
            [&](const std::string& text, std::uint32_t style, const std::string& caption) {
                return frontEnd.MsgBox(text, style, caption);
            });
        if (machine.registry().readOnly()) {
            const std::string what = machine.hives() != nullptr
                                         ? "The registry hive " + machine.hives()->readOnlyFile()
                                         : "The machine image " + image.string();
            frontEnd.MsgBox(what + " is read-only: no setting can be changed.",
                            vtl::platform::mb::OK | vtl::platform::mb::IconExclamation,
                            vtl::kAppName);
        }

        vtl::frmMain window(frontEnd);
        window.Command = vtl::CommandLine::fromArgv(elements);
        try {
            window.Form_Load();
            if (!window.hiddenRun && window.document && window.Form_Activate()) {
                std::cerr << "Vantrel: No window is available on this system; the program ends.\n";
                if (!window.close())
                    window.Form_Unload();
            }
        } catch (const vtl::ProgramEnd&) {
            // An automatic reset ends the program; an unsupported system is a failure.
            if (!window.programEnded)
                frontEnd.setFailed();
        }
    } catch (const std::exception& e) {
        std::cerr << "Vantrel: " << e.what() << "\n";
        return 1;
    }
    return frontEnd.failed() ? 1 : 0;
}
