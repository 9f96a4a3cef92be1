// Printers, the system profile and network connections of a machine image.
#include <cctype>

#include "config/VbText.h"
#include "platform/portable/PortablePlatform.h"
#include "platform/portable/ProfileFile.h"

namespace vtl::portable {

using namespace vtl::platform;

namespace {

constexpr const char* kPrintersKey = "System\\CurrentControlSet\\Control\\Print\\Printers";
constexpr std::uint32_t kDefaultNotSelectedTimeout = 15000;
constexpr std::uint32_t kDefaultRetryTimeout = 45000;

std::string textOf(const std::vector<std::uint8_t>& data) {
    std::string text(data.begin(), data.end());
    auto nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    return text;
}

// "LPT1", "lpt1:" -> "LPT1"; "x:" -> "X:"; "" when the name is no local device.
std::string localDevice(const std::string& name) {
    std::string device = UCase(name);
    if (device.size() == 2 && device[1] == ':' && device[0] >= 'A' && device[0] <= 'Z') {
        return device;
    }
    if (!device.empty() && device.back() == ':')
        device.pop_back();
    if (device.size() == 4 && device.compare(0, 3, "LPT") == 0 && device[3] >= '1' &&
        device[3] <= '9') {
        return device;
    }
    return {};
}

// \\server\share, with more components allowed after the share.
bool isUncShare(const std::string& path) {
    if (path.size() < 5 || path[0] != '\\' || path[1] != '\\')
        return false;
    auto slash = path.find('\\', 2);
    if (slash == std::string::npos || slash == 2)
        return false;
    return slash + 1 < path.size() && path[slash + 1] != '\\';
}

// A key's text or DWORD value; nullopt when key or value is missing.
struct KeyValues {
    PortablePlatform& platform;
    HKEY key = 0;

    KeyValues(PortablePlatform& p, HKEY root, const std::string& path, std::uint32_t access)
        : platform(p) {
        if (platform.RegOpenKeyEx(root, &path, access, key) != ERROR_SUCCESS)
            key = 0;
    }
    ~KeyValues() {
        if (key != 0)
            platform.RegCloseKey(key);
    }
    KeyValues(const KeyValues&) = delete;
    KeyValues& operator=(const KeyValues&) = delete;

    bool open() const { return key != 0; }
    std::optional<std::string> text(const std::string& name) {
        std::uint32_t type = 0, size = 0;
        std::vector<std::uint8_t> data;
        if (key == 0 || platform.RegQueryValueEx(key, name, type, &data, size) != ERROR_SUCCESS ||
            type == REG_DWORD || type == REG_BINARY) {
            return std::nullopt;
        }
        return textOf(data);
    }
    std::optional<std::uint32_t> dword(const std::string& name) {
        std::uint32_t type = 0, size = 0;
        std::vector<std::uint8_t> data;
        if (key == 0 || platform.RegQueryValueEx(key, name, type, &data, size) != ERROR_SUCCESS ||
            type != REG_DWORD || data.size() < 4) {
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24);
    }
    long setText(const std::string& name, const std::string& value) {
        std::vector<std::uint8_t> data(value.begin(), value.end());
        data.push_back(0);
        return platform.RegSetValueEx(key, name, REG_SZ, data.data(),
                                      static_cast<std::uint32_t>(data.size()));
    }
    long setDword(const std::string& name, std::uint32_t value) {
        const std::uint8_t data[4] = {
            static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
        return platform.RegSetValueEx(key, name, REG_DWORD, data, 4);
    }
};

std::vector<std::string> subKeys(PortablePlatform& platform, HKEY root, const std::string& path) {
    std::vector<std::string> names;
    KeyValues key(platform, root, path, 9);
    if (!key.open())
        return names;
    std::uint32_t count = 0, values = 0;
    if (platform.RegQueryInfoKey(key.key, count, values) != ERROR_SUCCESS)
        return names;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string name;
        if (platform.RegEnumKeyEx(key.key, i, name) == ERROR_SUCCESS)
            names.push_back(name);
    }
    return names;
}

// The first field of a comma list.
std::string firstField(const std::string& text) {
    return text.substr(0, text.find(','));
}

}  // namespace

std::string PortablePlatform::winIniPath() {
    return HostPath(GetWindowsDirectory() + "\\win.ini");
}

// --- The system profile. ---

std::string PortablePlatform::GetProfileString(const std::string& section, const std::string& key,
                                               const std::string& defaultValue,
                                               std::uint32_t size) {
    return vtl::GetPrivateProfileString(section, key, defaultValue, size, winIniPath()).Text();
}

bool PortablePlatform::WriteProfileString(const std::string& section, const std::string& key,
                                          const std::string& value) {
    return vtl::WritePrivateProfileString(section, key, value, winIniPath());
}

long PortablePlatform::SendMessage(std::uint32_t window, std::uint32_t message,
                                   std::uintptr_t wParam, const std::string& lParam) {
    sentMessages_.push_back({window, message, wParam, lParam});
    return 0;
}

// --- The program's output printer. ---

std::string PortablePlatform::GetOutputPrinter() {
    if (!outputPrinter_)
        outputPrinter_ = firstField(GetProfileString("windows", "device", "", 1024));
    return *outputPrinter_;
}

void PortablePlatform::SetOutputPrinter(const std::string& deviceName) {
    outputPrinter_ = deviceName;
}

// --- The spooler. ---

std::optional<std::string> PortablePlatform::findPrinterKey(const std::string& deviceName) {
    if (deviceName.empty())
        return std::nullopt;
    for (const std::string& name : subKeys(*this, HKEY_LOCAL_MACHINE, kPrintersKey)) {
        KeyValues printer(*this, HKEY_LOCAL_MACHINE, std::string(kPrintersKey) + "\\" + name, 1);
        std::string device = printer.text("Name").value_or("");
        if (device.empty())
            device = name;
        if (SameText(device, deviceName))
            return name;
    }
    return std::nullopt;
}

bool PortablePlatform::OpenPrinter(const std::string& printerName, PrinterHandle& printer,
                                   const PrinterDefaults& defaults) {
    printer = 0;
    auto key = findPrinterKey(printerName);
    if (!key) {
        lastError_ = ERROR_INVALID_PRINTER_NAME;
        return false;
    }
    std::uint32_t access =
        defaults.desiredAccess == 0 ? PRINTER_ACCESS_USE : defaults.desiredAccess;
    printer = nextPrinterHandle_++;
    printerHandles_[printer] = {*key, access};
    lastError_ = ERROR_SUCCESS;
    return true;
}

bool PortablePlatform::GetPrinter(PrinterHandle printer, std::uint32_t level, PrinterInfo5* info,
                                  std::uint32_t bufSize, std::uint32_t& needed) {
    needed = 0;
    auto handle = printerHandles_.find(printer);
    if (handle == printerHandles_.end()) {
        lastError_ = ERROR_INVALID_HANDLE;
        return false;
    }
    if (level != 5) {
        lastError_ = ERROR_INVALID_LEVEL;
        return false;
    }
    KeyValues key(*this, HKEY_LOCAL_MACHINE, std::string(kPrintersKey) + "\\" + handle->second.key,
                  1);
    if (!key.open()) {
        lastError_ = ERROR_INVALID_PRINTER_NAME;
        return false;
    }
    PrinterInfo5 record;
    record.printerName = key.text("Name").value_or("");
    if (record.printerName.empty())
        record.printerName = handle->second.key;
    record.portName = key.text("Port").value_or("");
    record.attributes = key.dword("Attributes").value_or(0) & ~PRINTER_ATTRIBUTE_DEFAULT;
    if (SameText(firstField(GetProfileString("windows", "device", "", 1024)), record.printerName)) {
        record.attributes |= PRINTER_ATTRIBUTE_DEFAULT;
    }
    record.deviceNotSelectedTimeout = key.dword("dnsTimeout").value_or(kDefaultNotSelectedTimeout);
    record.transmissionRetryTimeout = key.dword("txTimeout").value_or(kDefaultRetryTimeout);
    // Five 32-bit fields followed by the two strings with their NULs.
    needed =
        static_cast<std::uint32_t>(20 + record.printerName.size() + 1 + record.portName.size() + 1);
    if (info == nullptr || bufSize < needed) {
        lastError_ = ERROR_INSUFFICIENT_BUFFER;
        return false;
    }
    *info = record;
    lastError_ = ERROR_SUCCESS;
    return true;
}

bool PortablePlatform::SetPrinter(PrinterHandle printer, std::uint32_t level,
                                  const PrinterInfo5* info, std::uint32_t command) {
    auto handle = printerHandles_.find(printer);
    if (handle == printerHandles_.end()) {
        lastError_ = ERROR_INVALID_HANDLE;
        return false;
    }
    if ((handle->second.access & PRINTER_ACCESS_ADMINISTER) == 0) {
        lastError_ = ERROR_ACCESS_DENIED;
        return false;
    }
    if (level != 5) {
        lastError_ = ERROR_INVALID_LEVEL;
        return false;
    }
    if (info == nullptr || command != 0) {
        lastError_ = ERROR_INVALID_PARAMETER;
        return false;
    }
    const std::string keyPath = std::string(kPrintersKey) + "\\" + handle->second.key;
    KeyValues key(*this, HKEY_LOCAL_MACHINE, keyPath, 2);
    if (!key.open()) {
        lastError_ = ERROR_INVALID_PRINTER_NAME;
        return false;
    }
    const std::string port =
        info->portName.empty() ? key.text("Port").value_or("") : info->portName;
    if ((info->attributes & PRINTER_ATTRIBUTE_DEFAULT) != 0) {
        std::string device = key.text("Name").value_or("");
        if (device.empty())
            device = handle->second.key;
        // The driver field of the device line, as win.ini lists the printer.
        std::string driver = firstField(GetProfileString("PrinterPorts", device, "", 1024));
        if (driver.empty())
            driver = firstField(GetProfileString("devices", device, "", 1024));
        if (driver.empty())
            driver = key.text("Printer Driver").value_or("");
        if (!WriteProfileString("windows", "device", device + "," + driver + "," + port)) {
            lastError_ = ERROR_ACCESS_DENIED;
            return false;
        }
        SendMessage(HWND_BROADCAST, WM_WININICHANGE, 0, "windows");
    }
    long rc = key.setDword("Attributes", info->attributes & ~PRINTER_ATTRIBUTE_DEFAULT);
    if (rc == ERROR_SUCCESS && !info->portName.empty())
        rc = key.setText("Port", info->portName);
    if (rc == ERROR_SUCCESS)
        rc = key.setDword("dnsTimeout", info->deviceNotSelectedTimeout);
    if (rc == ERROR_SUCCESS)
        rc = key.setDword("txTimeout", info->transmissionRetryTimeout);
    lastError_ = rc;
    return rc == ERROR_SUCCESS;
}

bool PortablePlatform::ClosePrinter(PrinterHandle printer) {
    if (printerHandles_.erase(printer) == 0) {
        lastError_ = ERROR_INVALID_HANDLE;
        return false;
    }
    lastError_ = ERROR_SUCCESS;
    return true;
}

long PortablePlatform::GetLastError() {
    return lastError_;
}

// --- Network connections. ---

std::string PortablePlatform::connectionKey(const std::string& device) {
    std::string name = device;
    if (name.size() == 2 && name[1] == ':')
        name.pop_back();
    return (isNtFamily() ? "Network\\" : "Network\\Persistent\\") + name;
}

void PortablePlatform::loadConnections() {
    if (connections_)
        return;
    connections_.emplace();
    const std::string root = isNtFamily() ? "Network" : "Network\\Persistent";
    for (const std::string& name : subKeys(*this, HKEY_CURRENT_USER, root)) {
        KeyValues key(*this, HKEY_CURRENT_USER, root + "\\" + name, 1);
        auto remote = key.text("RemotePath");
        std::string device = localDevice(name.size() == 1 ? name + ":" : name);
        if (remote && !device.empty())
            (*connections_)[device] = *remote;
    }
}

const std::map<std::string, std::string>& PortablePlatform::netConnections() {
    loadConnections();
    return *connections_;
}

long PortablePlatform::WNetAddConnection2(const NetResource& resource,
                                          const std::string* /*password*/,
                                          const std::string* userName, std::uint32_t flags) {
    loadConnections();
    const std::string device = localDevice(resource.localName);
    const bool printerPort = device.size() == 4;
    long rc = ERROR_SUCCESS;
    if (!resource.localName.empty() && device.empty()) {
        rc = ERROR_BAD_DEVICE;
    } else if (resource.type != RESOURCETYPE_ANY &&
               (resource.type != RESOURCETYPE_DISK || printerPort) &&
               (resource.type != RESOURCETYPE_PRINT || !printerPort)) {
        rc = ERROR_INVALID_PARAMETER;
    } else if (!isUncShare(resource.remoteName)) {
        rc = ERROR_BAD_NET_NAME;
    } else if (!device.empty() && connections_->count(device) != 0) {
        rc = ERROR_ALREADY_ASSIGNED;
    } else if (!device.empty() && (flags & CONNECT_UPDATE_PROFILE) != 0) {
        HKEY created = 0;
        std::uint32_t disposition = 0;
        rc =
            RegCreateKeyEx(HKEY_CURRENT_USER, connectionKey(device), 0xF003F, created, disposition);
        if (rc == ERROR_SUCCESS) {
            RegCloseKey(created);
            KeyValues key(*this, HKEY_CURRENT_USER, connectionKey(device), 2);
            const bool nt = isNtFamily();
            rc = key.setText("RemotePath", resource.remoteName);
            if (rc == ERROR_SUCCESS)
                rc = key.setText("UserName", userName ? *userName : "");
            if (rc == ERROR_SUCCESS) {
                rc = key.setText("ProviderName",
                                 nt ? "Microsoft Windows Network" : "Microsoft Network");
            }
            // Windows 95/98 keeps only the path, the user and the provider.
            if (rc == ERROR_SUCCESS && nt)
                rc = key.setDword("ProviderType", 0x20000);
            if (rc == ERROR_SUCCESS && nt) {
                rc = key.setDword("ConnectionType",
                                  printerPort ? RESOURCETYPE_PRINT : RESOURCETYPE_DISK);
            }
        }
    }
    if (rc == ERROR_SUCCESS && !device.empty())
        (*connections_)[device] = resource.remoteName;
    netCalls_.push_back(
        {NetCall::Kind::Add, resource.localName, resource.remoteName, flags, false, rc});
    return rc;
}

long PortablePlatform::WNetCancelConnection2(const std::string& name, std::uint32_t flags,
                                             bool force) {
    loadConnections();
    const std::string device = localDevice(name);
    long rc = ERROR_NOT_CONNECTED;
    if (!device.empty() && connections_->erase(device) != 0)
        rc = ERROR_SUCCESS;
    if (!device.empty() && (flags & CONNECT_UPDATE_PROFILE) != 0) {
        const std::string key = connectionKey(device);
        const std::string parent = key.substr(0, key.rfind('\\'));
        KeyValues profile(*this, HKEY_CURRENT_USER, parent, 2);
        if (profile.open() &&
            RegDeleteKey(profile.key, key.substr(key.rfind('\\') + 1)) == ERROR_SUCCESS) {
            rc = ERROR_SUCCESS;
        }
    }
    netCalls_.push_back({NetCall::Kind::Cancel, name, {}, flags, force, rc});
    return rc;
}

}  // namespace vtl::portable
