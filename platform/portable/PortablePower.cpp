#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fstream>

#include "platform/portable/PortablePlatform.h"

extern char** environ;

namespace vtl::portable {

namespace {

std::string localTime() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

// Runs `command` through the shell with `argument` as its one argument; true
// when it exits with 0.
bool runCommand(const std::string& command, const std::string& argument) {
    const std::string script = command + " \"$1\"";
    const char* argv[] = {"sh", "-c", script.c_str(), "vantrel-power", argument.c_str(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return false;
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool PortablePlatform::powerRequest(const std::string& method, bool runsCommand) {
    {
        std::ofstream log(imageDir_ / "power.log", std::ios::binary | std::ios::app);
        log << method << '\t' << localTime() << "\r\n";
        if (!log)
            return false;
    }
    const char* command = std::getenv("VANTREL_POWER_COMMAND");
    if (!runsCommand || command == nullptr || *command == '\0')
        return true;
    return runCommand(command, method);
}

bool PortablePlatform::ExitWindowsEx(std::uint32_t flags, std::uint32_t /*reserved*/) {
    if (flags & platform::EWX_REBOOT)
        return powerRequest("reboot", true);
    if (flags & (platform::EWX_SHUTDOWN | platform::EWX_POWEROFF))
        return powerRequest("shutdown", true);
    return powerRequest("logoff", false);
}

bool PortablePlatform::SetSystemPowerState(bool suspend, bool /*force*/) {
    return suspend ? powerRequest("suspend", true) : powerRequest("hibernate", false);
}

}  // namespace vtl::portable
