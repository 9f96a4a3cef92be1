#include "ui/PrinterDialog.h"

#include "config/VbText.h"
#include "platform/Platform.h"

namespace vtl::ui {

using platform::Platform;

bool showPrinterDialog(std::uintptr_t hwndOwner, std::uint32_t flags) {
    Platform& sys = platform::sys();
    using Property = Platform::PrinterProperty;

    const std::string current = sys.GetOutputPrinter();
    DevNames names{"", current, ""};
    for (const Platform::PrinterEntry& printer : sys.Printers()) {
        if (UCase(printer.deviceName) == UCase(current)) {
            names.driver = printer.driverName;
            names.port = printer.port;
            break;
        }
    }
    DevMode mode;
    mode.deviceName = current;
    mode.fields = Platform::DM_ORIENTATION | Platform::DM_DUPLEX;
    if (!sys.GetPrinterProperty(Property::Orientation, mode.orientation))
        mode.orientation = 0;
    if (!sys.GetPrinterProperty(Property::Duplex, mode.duplex))
        mode.duplex = 0;

    Platform::PrintDlgInfo dialog;
    dialog.owner = hwndOwner;
    dialog.flags = flags;
    dialog.devMode = makeDevMode(mode);
    dialog.devNames = makeDevNames(names);
    if (!sys.PrintDlg(dialog))
        return false;

    const DevMode chosen = readDevMode(dialog.devMode);
    dialog.devMode.clear();
    dialog.devNames.clear();
    const std::string device = UCase(chosen.deviceName);
    if (device != current) {
        for (const Platform::PrinterEntry& printer : sys.Printers()) {
            if (UCase(printer.deviceName) == device) {
                sys.SetOutputPrinter(printer.deviceName);
                break;
            }
        }
    }
    sys.SetPrinterProperty(Property::Copies, chosen.copies);
    sys.SetPrinterProperty(Property::Duplex, chosen.duplex);
    sys.SetPrinterProperty(Property::Orientation, chosen.orientation);
    return true;
}

}  // namespace vtl::ui
