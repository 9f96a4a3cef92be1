// The system profile, the spooler (winspool) and network connections (mpr).
#include <cstring>

#include "platform/win32/Win32Api.h"

namespace vtl::win32 {

namespace {

// A writable copy of a text, or null for the empty text.
class OptionalText {
  public:
    explicit OptionalText(const std::string& text) : text_(text.begin(), text.end()) {
        text_.push_back('\0');
    }
    char* get() { return text_.size() > 1 ? text_.data() : nullptr; }

  private:
    std::vector<char> text_;
};

std::string textAt(const char* text) {
    return text ? text : "";
}

}  // namespace

// --- The system profile. ---

std::string Win32Platform::GetProfileString(const std::string& section, const std::string& key,
                                            const std::string& defaultValue, std::uint32_t size) {
    std::string buffer(size > 0 ? size : 1, '\0');
    const DWORD length = ::GetProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                             buffer.data(), size);
    buffer.resize(length < buffer.size() ? length : 0);
    return buffer;
}

bool Win32Platform::WriteProfileString(const std::string& section, const std::string& key,
                                       const std::string& value) {
    return ::WriteProfileStringA(section.c_str(), key.c_str(), value.c_str()) != FALSE;
}

long Win32Platform::SendMessage(std::uint32_t window, std::uint32_t message, std::uintptr_t wParam,
                                const std::string& lParam) {
    return static_cast<long>(::SendMessageA(reinterpret_cast<HWND>(std::uintptr_t{window}), message,
                                            static_cast<WPARAM>(wParam),
                                            reinterpret_cast<LPARAM>(lParam.c_str())));
}

// --- The program's output printer. ---

std::string Win32Platform::GetOutputPrinter() {
    if (!outputPrinter_) {
        const std::string device = GetProfileString("windows", "device", "", 1024);
        outputPrinter_ = device.substr(0, device.find(','));
    }
    return *outputPrinter_;
}

void Win32Platform::SetOutputPrinter(const std::string& deviceName) {
    outputPrinter_ = deviceName;
}

std::vector<platform::Platform::PrinterEntry> Win32Platform::Printers() {
    std::vector<PrinterEntry> printers;
    // Windows 95/98 list network printers among the local ones.
    const DWORD which = isNt() ? PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS : PRINTER_ENUM_LOCAL;
    DWORD needed = 0;
    DWORD count = 0;
    ::EnumPrintersA(which, nullptr, 2, nullptr, 0, &needed, &count);
    if (needed == 0)
        return printers;
    // Whole PRINTER_INFO_2A records: keep the buffer aligned for them.
    std::vector<std::uint64_t> buffer(needed / sizeof(std::uint64_t) + 1);
    auto* bytes = reinterpret_cast<BYTE*>(buffer.data());
    if (!::EnumPrintersA(which, nullptr, 2, bytes, needed, &needed, &count))
        return printers;
    const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(bytes);
    for (DWORD i = 0; i < count; ++i) {
        printers.push_back(
            {textAt(info[i].pPrinterName), textAt(info[i].pDriverName), textAt(info[i].pPortName)});
    }
    return printers;
}

// --- The spooler. ---

bool Win32Platform::OpenPrinter(const std::string& printerName, platform::PrinterHandle& printer,
                                const platform::PrinterDefaults& defaults) {
    printer = 0;
    OptionalText name(printerName);
    OptionalText dataType(defaults.dataType.value_or(""));
    PRINTER_DEFAULTSA wanted{};
    wanted.pDatatype = defaults.dataType ? dataType.get() : nullptr;
    wanted.pDevMode = nullptr;
    wanted.DesiredAccess = defaults.desiredAccess;
    HANDLE opened = nullptr;
    if (name.get() == nullptr || !::OpenPrinterA(name.get(), &opened, &wanted)) {
        lastError_ = name.get() ? static_cast<long>(::GetLastError()) : ERROR_INVALID_PRINTER_NAME;
        return false;
    }
    while (nextPrinter_ == 0 || printers_.count(nextPrinter_) != 0)
        ++nextPrinter_;
    printer = nextPrinter_++;
    printers_[printer] = opened;
    lastError_ = ERROR_SUCCESS;
    return true;
}

bool Win32Platform::GetPrinter(platform::PrinterHandle printer, std::uint32_t level,
                               platform::PrinterInfo5* info, std::uint32_t bufSize,
                               std::uint32_t& needed) {
    needed = 0;
    auto handle = printers_.find(printer);
    if (handle == printers_.end()) {
        lastError_ = ERROR_INVALID_HANDLE;
        return false;
    }
    if (level != 5) {
        lastError_ = ERROR_INVALID_LEVEL;
        return false;
    }
    DWORD size = 0;
    if (!::GetPrinterA(handle->second, 5, nullptr, 0, &size) &&
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        lastError_ = static_cast<long>(::GetLastError());
        return false;
    }
    needed = size;
    if (info == nullptr || bufSize < needed) {
        lastError_ = ERROR_INSUFFICIENT_BUFFER;
        return false;
    }
    std::vector<std::uint64_t> buffer(size / sizeof(std::uint64_t) + 1);
    auto* bytes = reinterpret_cast<BYTE*>(buffer.data());
    if (!::GetPrinterA(handle->second, 5, bytes, size, &size)) {
        lastError_ = static_cast<long>(::GetLastError());
        return false;
    }
    const auto* record = reinterpret_cast<const PRINTER_INFO_5A*>(bytes);
    info->printerName = textAt(record->pPrinterName);
    info->portName = textAt(record->pPortName);
    info->attributes = record->Attributes;
    info->deviceNotSelectedTimeout = record->DeviceNotSelectedTimeout;
    info->transmissionRetryTimeout = record->TransmissionRetryTimeout;
    lastError_ = ERROR_SUCCESS;
    return true;
}

bool Win32Platform::SetPrinter(platform::PrinterHandle printer, std::uint32_t level,
                               const platform::PrinterInfo5* info, std::uint32_t command) {
    auto handle = printers_.find(printer);
    if (handle == printers_.end()) {
        lastError_ = ERROR_INVALID_HANDLE;
        return false;
    }
    if (level != 5) {
        lastError_ = ERROR_INVALID_LEVEL;
        return false;
    }
    if (info == nullptr) {
        lastError_ = ERROR_INVALID_PARAMETER;
        return false;
    }
    OptionalText name(info->printerName);
    OptionalText port(info->portName);
    PRINTER_INFO_5A record{};
    record.pPrinterName = name.get();
    record.pPortName = port.get();
    record.Attributes = info->attributes;
    record.DeviceNotSelectedTimeout = info->deviceNotSelectedTimeout;
    record.TransmissionRetryTimeout = info->transmissionRetryTimeout;
    if (!::SetPrinterA(handle->second, 5, reinterpret_cast<BYTE*>(&record), command)) {
        lastError_ = static_cast<long>(::GetLastError());
        return false;
    }
    lastError_ = ERROR_SUCCESS;
    return true;
}

bool Win32Platform::ClosePrinter(platform::PrinterHandle printer) {
    auto handle = printers_.find(printer);
    if (handle == printers_.end()) {
        lastError_ = ERROR_INVALID_HANDLE;
        return false;
    }
    const BOOL closed = ::ClosePrinter(handle->second);
    lastError_ = closed ? ERROR_SUCCESS : static_cast<long>(::GetLastError());
    printers_.erase(handle);
    return closed != FALSE;
}

long Win32Platform::GetLastError() {
    return lastError_;
}

// --- Network connections. ---

long Win32Platform::WNetAddConnection2(const platform::NetResource& resource,
                                       const std::string* password, const std::string* userName,
                                       std::uint32_t flags) {
    OptionalText local(resource.localName);
    OptionalText remote(resource.remoteName);
    OptionalText comment(resource.comment);
    OptionalText provider(resource.provider);
    NETRESOURCEA record{};
    record.dwScope = resource.scope;
    record.dwType = resource.type;
    record.dwDisplayType = resource.displayType;
    record.dwUsage = resource.usage;
    record.lpLocalName = local.get();
    record.lpRemoteName = remote.get();
    record.lpComment = comment.get();
    record.lpProvider = provider.get();
    return static_cast<long>(::WNetAddConnection2A(&record, password ? password->c_str() : nullptr,
                                                   userName ? userName->c_str() : nullptr, flags));
}

long Win32Platform::WNetCancelConnection2(const std::string& name, std::uint32_t flags,
                                          bool force) {
    return static_cast<long>(::WNetCancelConnection2A(name.c_str(), flags, force ? TRUE : FALSE));
}

}  // namespace vtl::win32
