#include <cstdio>

#include "platform/win32/ComAddIns.h"
#include "platform/win32/Win32Api.h"

namespace vtl::win32 {

std::string messageLine(const std::string& text, const std::string& caption) {
    std::string line = caption + ": ";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        line += (c == '\r' || c == '\n') ? ' ' : c;
    }
    return line;
}

std::string envValue(const char* name) {
    char value[1024];
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
    if (length == 0)
        return {};
    if (length < sizeof value)
        return std::string(value, length);
    std::string longer(length, '\0');
    const DWORD got = ::GetEnvironmentVariableA(name, longer.data(), length);
    longer.resize(got < length ? got : 0);
    return longer;
}

bool envSet(const char* name) {
    return !envValue(name).empty();
}

long fileError(DWORD code, long otherwise) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_ACCESS_DENIED:
        case ERROR_DISK_FULL:
        case ERROR_NOT_SAME_DEVICE:
            return static_cast<long>(code);
        case ERROR_HANDLE_DISK_FULL:
            return ERROR_DISK_FULL;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return ERROR_ACCESS_DENIED;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_NOT_READY:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_DIRECTORY:
            return ERROR_PATH_NOT_FOUND;
        default:
            return otherwise;
    }
}

Win32Platform::Win32Platform() = default;

Win32Platform::~Win32Platform() {
    for (auto& [id, key] : keys_)
        ::RegCloseKey(static_cast<::HKEY>(key));
    for (auto& [id, printer] : printers_)
        ::ClosePrinter(printer);
    if (instanceMutex_ != nullptr)
        ::CloseHandle(instanceMutex_);
}

bool Win32Platform::isNt() {
    if (!nt_) {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
        nt_ = ::GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    }
    return *nt_;
}

bool Win32Platform::GetVersionEx(platform::OsVersionInfo& info) {
    OSVERSIONINFOA raw{};
    raw.dwOSVersionInfoSize = sizeof raw;  // 148
    if (!::GetVersionExA(&raw))
        return false;
    info.majorVersion = raw.dwMajorVersion;
    info.minorVersion = raw.dwMinorVersion;
    // Windows 95/98 keep the version in the high word of the build number.
    info.buildNumber = raw.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? LOWORD(raw.dwBuildNumber)
                                                                      : raw.dwBuildNumber;
    info.platformId = raw.dwPlatformId;
    info.csdVersion = raw.szCSDVersion;
    return true;
}

namespace {

// A folder from one of the Get...DirectoryA calls, which return the length needed.
template <typename Call>
std::string folder(Call call) {
    std::string buffer(MAX_PATH, '\0');
    UINT length = call(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.assign(length + 1, '\0');
        length = call(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    buffer.resize(length < buffer.size() ? length : 0);
    return buffer;
}

}  // namespace

std::string Win32Platform::GetWindowsDirectory() {
    return folder([](LPSTR b, UINT n) { return ::GetWindowsDirectoryA(b, n); });
}

std::string Win32Platform::GetSystemDirectory() {
    return folder([](LPSTR b, UINT n) { return ::GetSystemDirectoryA(b, n); });
}

platform::Answer Win32Platform::MessageBox(const std::string& text, std::uint32_t style,
                                           const std::string& caption) {
    if (envSet("VANTREL_UNATTENDED")) {
        const std::string line = messageLine(text, caption) + "\n";
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
        return platform::defaultAnswer(style);
    }
    const int answer = ::MessageBoxA(nullptr, text.c_str(), caption.c_str(),
                                     style | MB_TASKMODAL | MB_SETFOREGROUND);
    // 0 (no memory for the box): as if nobody answered.
    return answer == 0 ? platform::defaultAnswer(style) : static_cast<platform::Answer>(answer);
}

std::shared_ptr<AddInObject> Win32Platform::CreateObject(const std::string& className) {
    return CreateComAddIn(className);
}

std::vector<platform::Platform::AddInClassInfo> Win32Platform::ShippedAddIns() {
    return ShippedComAddIns(AppPath());
}

}  // namespace vtl::win32
