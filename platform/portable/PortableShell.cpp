#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/portable/PortablePlatform.h"

namespace vtl::portable {

namespace {
constexpr long kShellSuccess = 42;  // any value above 32
}  // namespace

std::string PortablePlatform::AppPath() {
    return "C:\\Program Files\\Vantrel";
}

std::uint32_t PortablePlatform::GetCurrentProcessId() {
    return static_cast<std::uint32_t>(::getpid());
}

long PortablePlatform::ShellExecute(const std::string& verb, const std::string& file,
                                    const std::string& parameters, const std::string& directory,
                                    int showCmd) {
    {
        std::ofstream log(imageDir_ / "shell.log", std::ios::binary | std::ios::app);
        log << verb << '\t' << file << '\t' << parameters << '\t' << directory << '\t' << showCmd
            << "\r\n";
    }
    std::error_code ec;
    if (file.empty() || !std::filesystem::exists(HostPath(file), ec))
        return platform::ERROR_FILE_NOT_FOUND;
    return kShellSuccess;
}

}  // namespace vtl::portable
