// The printer object and the print dialog of a machine image: documents are
// spool files in the image, the dialog is answered by the front end.
#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fstream>

#include "config/VbText.h"
#include "platform/DeviceBlocks.h"
#include "platform/portable/PortablePlatform.h"

namespace vtl::portable {

namespace fs = std::filesystem;
using namespace vtl::platform;

namespace {

constexpr const char* kPrintersKey = "System\\CurrentControlSet\\Control\\Print\\Printers";
constexpr long kMaxJobs = 99999;
constexpr std::uint32_t kKeyRead = 0x20019;  // KEY_READ

// One registry key of the image, opened for reading.
class Key {
  public:
    Key(Platform& platform, const std::string& path) : platform_(platform) {
        if (platform_.RegOpenKeyEx(HKEY_LOCAL_MACHINE, &path, kKeyRead, key_) != ERROR_SUCCESS)
            key_ = 0;
    }
    ~Key() {
        if (key_ != 0)
            platform_.RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    std::optional<std::vector<std::uint8_t>> value(const std::string& name) {
        std::uint32_t type = 0, size = 0;
        std::vector<std::uint8_t> data;
        if (key_ == 0 || platform_.RegQueryValueEx(key_, name, type, &data, size) != ERROR_SUCCESS)
            return std::nullopt;
        data.resize(std::min<std::size_t>(data.size(), size));
        return data;
    }
    std::string text(const std::string& name) {
        auto data = value(name);
        std::string text = data ? std::string(data->begin(), data->end()) : std::string();
        return text.substr(0, text.find('\0'));
    }
    std::vector<std::string> subKeys() {
        std::vector<std::string> names;
        std::uint32_t count = 0, values = 0;
        if (key_ == 0 || platform_.RegQueryInfoKey(key_, count, values) != ERROR_SUCCESS)
            return names;
        for (std::uint32_t i = 0; i < count; ++i) {
            std::string name;
            if (platform_.RegEnumKeyEx(key_, i, name) == ERROR_SUCCESS)
                names.push_back(name);
        }
        return names;
    }

  private:
    Platform& platform_;
    HKEY key_ = 0;
};

const char* orientationName(std::int16_t orientation) {
    return orientation == Platform::DMORIENT_LANDSCAPE ? "Landscape" : "Portrait";
}

const char* duplexName(const std::optional<std::int16_t>& duplex) {
    if (!duplex)
        return "None";
    switch (*duplex) {
        case Platform::DMDUP_VERTICAL:
            return "Vertical";
        case Platform::DMDUP_HORIZONTAL:
            return "Horizontal";
        default:
            return "Simplex";
    }
}

std::string jobName(long number) {
    char name[16];
    std::snprintf(name, sizeof name, "%05ld.SPL", number);
    return name;
}

}  // namespace

std::vector<Platform::PrinterEntry> PortablePlatform::Printers() {
    std::vector<PrinterEntry> printers;
    Key list(*this, kPrintersKey);
    for (const std::string& name : list.subKeys()) {
        Key printer(*this, std::string(kPrintersKey) + "\\" + name);
        PrinterEntry entry{printer.text("Name"), printer.text("Printer Driver"),
                           printer.text("Port")};
        if (entry.deviceName.empty())
            entry.deviceName = name;
        printers.push_back(std::move(entry));
    }
    return printers;
}

PortablePlatform::PrinterState PortablePlatform::printerDefaults(const std::string& device) {
    PrinterState state;
    state.device = UCase(device);
    auto key = findPrinterKey(device);
    if (!key)
        return state;
    Key printer(*this, std::string(kPrintersKey) + "\\" + *key);
    const auto block = printer.value("Default DevMode");
    if (!block)
        return state;
    const DevMode mode = readDevMode(*block);
    if ((mode.fields & DM_ORIENTATION) != 0 &&
        (mode.orientation == DMORIENT_PORTRAIT || mode.orientation == DMORIENT_LANDSCAPE)) {
        state.orientation = mode.orientation;
    }
    if ((mode.fields & DM_COPIES) != 0 && mode.copies > 0)
        state.copies = mode.copies;
    if ((mode.fields & DM_DUPLEX) != 0)
        state.duplex = mode.duplex >= DMDUP_SIMPLEX && mode.duplex <= DMDUP_HORIZONTAL
                           ? mode.duplex
                           : DMDUP_SIMPLEX;
    return state;
}

PortablePlatform::PrinterState& PortablePlatform::printerState() {
    const std::string device = GetOutputPrinter();
    if (!printerState_ || printerState_->device != UCase(device))
        printerState_ = printerDefaults(device);
    return *printerState_;
}

bool PortablePlatform::GetPrinterProperty(PrinterProperty which, std::int16_t& value) {
    if (!findPrinterKey(GetOutputPrinter()))
        return false;
    const PrinterState& state = printerState();
    switch (which) {
        case PrinterProperty::Copies:
            value = state.copies;
            return true;
        case PrinterProperty::Orientation:
            value = state.orientation;
            return true;
        case PrinterProperty::Duplex:
            if (!state.duplex)
                return false;
            value = *state.duplex;
            return true;
    }
    return false;
}

bool PortablePlatform::SetPrinterProperty(PrinterProperty which, std::int16_t value) {
    if (!findPrinterKey(GetOutputPrinter()))
        return false;
    PrinterState& state = printerState();
    switch (which) {
        case PrinterProperty::Copies:
            if (value < 1 || value > 9999)
                return false;
            state.copies = value;
            return true;
        case PrinterProperty::Orientation:
            if (value != DMORIENT_PORTRAIT && value != DMORIENT_LANDSCAPE)
                return false;
            state.orientation = value;
            return true;
        case PrinterProperty::Duplex:
            if (!state.duplex || value < DMDUP_SIMPLEX || value > DMDUP_HORIZONTAL)
                return false;
            state.duplex = value;
            return true;
    }
    return false;
}

fs::path PortablePlatform::spoolFolder() {
    std::string folder = Key(*this, kPrintersKey).text("DefaultSpoolDirectory");
    if (folder.empty())
        folder = GetWindowsDirectory() + "\\spool\\PRINTERS";
    return HostPath(folder);
}

long PortablePlatform::PrintText(const std::string& text, const std::string& fontName,
                                 int fontSize) {
    const std::string device = GetOutputPrinter();
    std::optional<PrinterEntry> printer;
    for (PrinterEntry& entry : Printers()) {
        if (UCase(entry.deviceName) == UCase(device)) {
            printer = std::move(entry);
            break;
        }
    }
    if (!printer)
        return ERROR_INVALID_PRINTER_NAME;
    const PrinterState& state = printerState();

    std::string job;
    job += "Printer: " + printer->deviceName + "\r\n";
    job += "Driver: " + printer->driverName + "\r\n";
    job += "Port: " + printer->port + "\r\n";
    job += "Font: " + fontName + ", " + std::to_string(fontSize) + "\r\n";
    job += "Copies: " + std::to_string(state.copies) + "\r\n";
    job += std::string("Orientation: ") + orientationName(state.orientation) + "\r\n";
    job += std::string("Duplex: ") + duplexName(state.duplex) + "\r\n";
    job += "\r\n";
    job += text;
    job += "\r\n";

    // The job is written whole under a temporary name and then linked to the
    // first free spool name, so a reader never sees half a job.
    const fs::path folder = spoolFolder();
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        return ERROR_ACCESS_DENIED;
    const fs::path temp = folder / ("~JOB" + std::to_string(::getpid()) + ".TMP");
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(job.data(), static_cast<std::streamsize>(job.size()));
        out.close();
        if (!out) {
            fs::remove(temp, ec);
            return ERROR_ACCESS_DENIED;
        }
    }
    long result = ERROR_ACCESS_DENIED;
    for (long number = 1; number <= kMaxJobs; ++number) {
        const fs::path name = folder / jobName(number);
        if (::link(temp.c_str(), name.c_str()) == 0) {
            result = ERROR_SUCCESS;
            break;
        }
        if (errno != EEXIST)
            break;
    }
    fs::remove(temp, ec);
    return result;
}

bool PortablePlatform::PrintDlg(PrintDlgInfo& dialog) {
    if (!printDialogHandler_)
        return false;
    std::vector<PrintDialogPrinter> printers;
    for (const PrinterEntry& entry : Printers()) {
        printers.push_back({entry.deviceName, entry.driverName, entry.port,
                            printerDefaults(entry.deviceName).duplex.has_value()});
    }
    return printDialogHandler_(dialog, printers);
}

}  // namespace vtl::portable
