// A scratch copy of the Windows 2000 sample, opened as the current platform with
// message boxes answered by their default button; removed when it goes.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/portable/PortablePlatform.h"

namespace vtl::bench {

class BenchMachine {
  public:
    explicit BenchMachine(const std::string& tag)
        : work_(prepare(std::filesystem::temp_directory_path() /
                        ("vantrel-" + tag + "-" + std::to_string(::getpid())))),
          platform_(work_ / "machine"),
          scope_(platform_) {
        platform_.setMessageHandler(
            [](const std::string&, std::uint32_t style, const std::string&) {
                return platform::defaultAnswer(style);
            });
    }
    ~BenchMachine() {
        std::error_code ec;
        std::filesystem::remove_all(work_, ec);
    }
    BenchMachine(const BenchMachine&) = delete;
    BenchMachine& operator=(const BenchMachine&) = delete;

    portable::PortablePlatform& platform() { return platform_; }
    // A configuration file's path in the scratch folder.
    std::string file(const std::string& name) const { return (work_ / name).string(); }

  private:
    static std::filesystem::path prepare(const std::filesystem::path& work) {
        std::filesystem::remove_all(work);
        std::filesystem::create_directories(work);
        std::filesystem::copy(std::filesystem::path(VANTREL_SAMPLES_DIR) / "win2000",
                              work / "machine", std::filesystem::copy_options::recursive);
        return work;
    }

    std::filesystem::path work_;
    portable::PortablePlatform platform_;
    platform::PlatformScope scope_;
};

}  // namespace vtl::bench
