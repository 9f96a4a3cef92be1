#include "net/PrinterSettings.h"

#include "config/modAPI.h"
#include "platform/Platform.h"
#include "registry/clsEasyRegistry.h"

namespace vtl {

using platform::sys;

namespace printers {

namespace {

std::string printerKey(const std::string& name) {
    return std::string(kPrintersKey) + "\\" + name;
}

struct Registry : clsEasyRegistry {
    Registry() { SetSuppressErrors(true); }
};

// The Windows 95/98 way: the spooler's default attribute.
void setDefaultPrinter9x(const std::string& name) {
    platform::PrinterHandle printer = 0;
    platform::PrinterDefaults defaults;
    defaults.desiredAccess = platform::PRINTER_ALL_ACCESS;
    if (!sys().OpenPrinter(name, printer, defaults))
        return;
    std::uint32_t needed = 0;
    sys().GetPrinter(printer, 5, nullptr, 0, needed);
    const std::uint32_t size = (needed + 3) / 4 * 4;
    platform::PrinterInfo5 info;
    if (!sys().GetPrinter(printer, 5, &info, size, needed)) {
        sys().ClosePrinter(printer);
        return;
    }
    platform::PrinterInfo5 record;
    record.printerName = info.printerName;
    record.portName = info.portName;
    record.attributes = platform::PRINTER_ATTRIBUTE_DEFAULT;
    record.deviceNotSelectedTimeout = info.deviceNotSelectedTimeout;
    record.transmissionRetryTimeout = info.transmissionRetryTimeout;
    if (sys().SetPrinter(printer, 5, &record, 0)) {
        sys().ClosePrinter(printer);
        return;
    }
    const long error = sys().GetLastError();
    sys().ClosePrinter(printer);
    sys().MessageBox("SetPrinterFailed. Error code: " + std::to_string(error), platform::mb::OK,
                     kAppName);
}

// The NT way: the "windows" section of the system profile, from the printer's
// PrinterPorts entry "driver,port,timeout,timeout".
void setDefaultPrinterNT(const std::string& name) {
    const std::string entry = sys().GetProfileString("PrinterPorts", name, "", 1024);
    std::string driver, port;
    const auto first = entry.find(',');
    if (first != std::string::npos) {
        driver = entry.substr(0, first);
        const auto second = entry.find(',', first + 1);
        if (second != std::string::npos)
            port = entry.substr(first + 1, second - first - 1);
    }
    if (driver.empty() || port.empty())
        return;
    if (!sys().WriteProfileString("windows", "Device", name + "," + driver + "," + port)) {
        sys().MessageBox("Error accessing file '" + sys().GetWindowsDirectory() + "\\win.ini'.",
                         platform::mb::OK | platform::mb::IconExclamation, kAppName);
        return;
    }
    sys().SendMessage(platform::HWND_BROADCAST, platform::WM_WININICHANGE, 0, "windows");
}

}  // namespace

void getPrinterList(PrinterItems& items, System system) {
    Registry reg;
    reg.Cd(kPrintersKey);
    items.printerList = reg.lastError() == 0 ? reg.DirKey() : std::nullopt;
    if (system != Win2K || !items.printerList)
        return;
    for (std::string& entry : *items.printerList) {
        reg.Cd(printerKey(entry));
        std::string name = reg.ValueText("Name");
        if (reg.lastError() == 0)
            entry = name;
    }
}

void getDefaultPrinter(PrinterItems& items) {
    items.DefaultPrinter = sys().GetOutputPrinter();
}

void getAdvPrinterSettings(PrinterItems& items) {
    Registry reg;
    reg.Cd(printerKey(items.DefaultPrinter));
    std::string port = reg.ValueText("Port");
    if (reg.lastError() == 0)
        items.PrinterPort = port;
}

void setDefaultPrinter(const PrinterItems& items, System system) {
    if (system == Win9x) {
        setDefaultPrinter9x(items.DefaultPrinter);
    } else {
        setDefaultPrinterNT(items.DefaultPrinter);
    }
}

void setAdvPrinterSettings(const PrinterItems& items, System system) {
    if (!items.EnableAdvPrinterSettings)
        return;
    // An empty name would address the printer list itself.
    if (!items.DefaultPrinter.empty()) {
        Registry reg;
        reg.Cd(printerKey(items.DefaultPrinter));
        if (reg.lastError() == 0 && (system != Win9x || !items.PrinterPort.empty())) {
            reg.SetValue("Port", STRING, items.PrinterPort);
        }
    }
    if (items.PrinterCaptureDev == kNoCapture)
        return;
    ReleasePrinterPort(items.PrinterCaptureDev, items.PrinterCaptureReconnect);
    if (CapturePrinterPort(items.PrinterCaptureDev, items.PrinterCapturePath,
                           items.PrinterCaptureReconnect) != 0) {
        sys().MessageBox("Could not capture printer [" + items.PrinterCaptureDev + " - " +
                             items.PrinterCapturePath + "]",
                         platform::mb::IconExclamation, kAppName);
    }
}

std::vector<std::string> installedPrinters() {
    std::vector<std::string> names;
    Registry reg;
    reg.Cd(kPrintersKey);
    if (reg.lastError() != 0)
        return names;
    for (const std::string& key : reg.DirKey().value_or(std::vector<std::string>{})) {
        reg.Cd(printerKey(key));
        std::string name = reg.ValueText("Name");
        names.push_back(reg.lastError() == 0 && !name.empty() ? name : key);
    }
    return names;
}

bool selectOutputPrinter(const std::string& name) {
    for (const std::string& printer : installedPrinters()) {
        if (printer == name) {
            sys().SetOutputPrinter(printer);
            return true;
        }
    }
    return false;
}

}  // namespace printers

long CapturePrinterPort(const std::string& device, const std::string& path, bool reconnect) {
    platform::NetResource resource;
    resource.scope = platform::RESOURCE_GLOBALNET;
    resource.type = platform::RESOURCETYPE_ANY;
    resource.localName = device;
    resource.remoteName = path;
    const std::string password;
    const std::string userName = "1";
    return sys().WNetAddConnection2(resource, &password, &userName,
                                    reconnect ? platform::CONNECT_UPDATE_PROFILE : 0);
}

void ReleasePrinterPort(const std::string& device, bool force) {
    sys().WNetCancelConnection2(device, platform::CONNECT_UPDATE_PROFILE, force);
}

std::string PointerToString(const char* address) {
    constexpr std::size_t kBuffer = 512;
    if (address == nullptr)
        return {};
    for (std::size_t length = 0; length < kBuffer; ++length) {
        if (address[length] == '\0')
            return std::string(address, length);
    }
    return {};
}

}  // namespace vtl
