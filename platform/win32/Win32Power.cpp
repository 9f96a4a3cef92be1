// Shutdown and power. Functions that NT 4 or Windows 95 lack are looked up
// at run time. With VANTREL_POWER_COMMAND set, nothing reaches the system:
// reboot, shutdown and suspend run that command with the method as argument.
#include "platform/win32/Win32Api.h"

namespace vtl::win32 {

namespace {

// The command line and exit code 0; false when it cannot start or fails.
bool runCommand(const std::string& command, const std::string& argument) {
    std::string line = command + " " + argument;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return false;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    const BOOL known = ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return known && code == 0;
}

// Handles a request when the test command is set; nullopt otherwise.
std::optional<bool> testRequest(const char* method, bool runsCommand) {
    const std::string command = envValue("VANTREL_POWER_COMMAND");
    if (command.empty())
        return std::nullopt;
    return runsCommand ? runCommand(command, method) : true;
}

template <typename Function>
Function lookUp(const char* module, const char* name) {
    HMODULE loaded = ::GetModuleHandleA(module);
    if (loaded == nullptr)
        loaded = ::LoadLibraryA(module);
    if (loaded == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(loaded, name)));
}

// NT: enables the shutdown privilege of this process (95/98 have none).
void enableShutdownPrivilege() {
    using OpenToken = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
    using LookUpPrivilege = BOOL(WINAPI*)(LPCSTR, LPCSTR, PLUID);
    using Adjust = BOOL(WINAPI*)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD);
    auto openToken = lookUp<OpenToken>("advapi32.dll", "OpenProcessToken");
    auto lookUpPrivilege = lookUp<LookUpPrivilege>("advapi32.dll", "LookupPrivilegeValueA");
    auto adjust = lookUp<Adjust>("advapi32.dll", "AdjustTokenPrivileges");
    if (!openToken || !lookUpPrivilege || !adjust)
        return;
    HANDLE token = nullptr;
    if (!openToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // A refused privilege shows when the shutdown call itself fails.
    if (lookUpPrivilege(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        adjust(token, FALSE, &privileges, 0, nullptr, nullptr);
    ::CloseHandle(token);
}

}  // namespace

bool Win32Platform::ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
    const bool reboot = (flags & EWX_REBOOT) != 0;
    const bool shutdown = (flags & (EWX_SHUTDOWN | EWX_POWEROFF)) != 0;
    const char* method = reboot ? "reboot" : shutdown ? "shutdown" : "logoff";
    if (auto handled = testRequest(method, reboot || shutdown))
        return *handled;
    if (isNt())
        enableShutdownPrivilege();
    return ::ExitWindowsEx(flags, reserved) != FALSE;
}

bool Win32Platform::SetSystemPowerState(bool suspend, bool force) {
    if (auto handled = testRequest(suspend ? "suspend" : "hibernate", suspend))
        return *handled;
    // Not in NT 4's kernel32.
    using SetPowerState = BOOL(WINAPI*)(BOOL, BOOL);
    auto setPowerState = lookUp<SetPowerState>("kernel32.dll", "SetSystemPowerState");
    if (!setPowerState) {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }
    if (isNt())
        enableShutdownPrivilege();
    return setPowerState(suspend ? TRUE : FALSE, force ? TRUE : FALSE) != FALSE;
}

}  // namespace vtl::win32
