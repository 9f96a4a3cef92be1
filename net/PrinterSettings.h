// The printer members of the network backends: the installed printers, the
// default printer, the port of the default printer and the capture of a local
// printer port (LPT1 to LPT9) to a network printer queue.
//
// A backend keeps its printer items in one PrinterItems field and makes each
// printer member a one-line call, naming its system where the members differ:
//
//     void clsNetConfig2K::getPrinterList() { printers::getPrinterList(printer_, printers::Win2K);
//     } void clsNetConfig2K::getDefaultPrinter() { printers::getDefaultPrinter(printer_); } void
//     clsNetConfig2K::getAdvPrinterSettings() { printers::getAdvPrinterSettings(printer_); } void
//     clsNetConfig2K::setDefaultPrinter() { printers::setDefaultPrinter(printer_, printers::Win2K);
//     } void clsNetConfig2K::setAdvPrinterSettings() {
//         printers::setAdvPrinterSettings(printer_, printers::Win2K);
//     }
//
// The DefaultPrinter property setter stores the name and raises its flag when
// printers::selectOutputPrinter(name) returns true. The properties read and
// assign the fields of PrinterItems directly. Everything goes through
// platform::sys(); nothing throws on a missing key or a failed system call.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vtl {

// The printer items of a clsNetConfig object.
struct PrinterItems {
    std::optional<std::vector<std::string>> printerList;  // installed printers; nullopt: none
    std::string DefaultPrinter;
    bool EnableDefaultPrinter = true;
    bool EnableAdvPrinterSettings = false;
    std::string PrinterPort;
    std::string PrinterCaptureDev;  // "(None)" or "LPT1" to "LPT9"
    std::string PrinterCapturePath;
    bool PrinterCaptureReconnect = false;
};

namespace printers {

enum System { Win9x, WinNT, Win2K };

// Installed printers: \HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Printers.
inline constexpr const char* kPrintersKey =
    "\\HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers";
// The capture device that means no capture.
inline constexpr const char* kNoCapture = "(None)";

// printerList = the printer subkeys (nullopt when none); on Windows 2000 each
// entry whose "Name" can be read becomes that name.
void getPrinterList(PrinterItems& items, System system);
// DefaultPrinter = the device name of the program's current output printer.
void getDefaultPrinter(PrinterItems& items);
// PrinterPort = "Port" of the DefaultPrinter's key; unchanged when it cannot be read.
void getAdvPrinterSettings(PrinterItems& items);
// Makes DefaultPrinter the system's default printer: on Windows 95/98 through
// the spooler (a failed set is shown as "SetPrinterFailed. Error code: " + n),
// on NT 4 and 2000 through the "windows" section of the system profile.
void setDefaultPrinter(const PrinterItems& items, System system);
// When EnableAdvPrinterSettings: writes PrinterPort to the DefaultPrinter's key
// (on Windows 95/98 only a non-empty port) and, unless the device is "(None)",
// captures PrinterCaptureDev to PrinterCapturePath; a failed capture is shown
// as "Could not capture printer [" + device + " - " + path + "]".
void setAdvPrinterSettings(const PrinterItems& items, System system);

// Device names of the installed printers: each printer key's "Name", or the
// key's own name when it has none.
std::vector<std::string> installedPrinters();
// When `name` equals an installed printer's device name exactly, makes it the
// program's current output printer and returns true; otherwise returns false.
bool selectOutputPrinter(const std::string& name);

}  // namespace printers

// Connects `device` (e.g. "LPT1") to the network path; with reconnect the
// connection is restored at every logon. Returns the Win32 status, 0 on success.
long CapturePrinterPort(const std::string& device, const std::string& path, bool reconnect);
// Removes the device's connection, also from the persistent profile.
void ReleasePrinterPort(const std::string& device, bool force);
// The NUL-terminated ANSI string at `address`, copied into a 512-character
// buffer; the empty text when it is null or does not end within the buffer.
std::string PointerToString(const char* address);

}  // namespace vtl
