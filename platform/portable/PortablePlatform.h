// The platform on a machine image: a directory holding an emulated Windows PC.
//   registry.reg   the whole registry (REGEDIT4)
//   drive_c/ ...   the drives, one folder per letter
// Which Windows the image is comes from its registry, as on a real PC.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace vtl::portable {

class PortableRegistry;

class PortablePlatform : public platform::Platform {
  public:
    using MessageHandler = std::function<platform::Answer(
        const std::string& text, std::uint32_t style, const std::string& caption)>;

    // Throws ImageError when the image or its registry cannot be used.
    explicit PortablePlatform(const std::filesystem::path& imageDir);
    ~PortablePlatform() override;

    const std::filesystem::path& imageDir() const { return imageDir_; }
    PortableRegistry& registry() { return *registry_; }
    // Replaces how message boxes are shown; by default each is written to
    // standard error as one line and answered with its default button.
    void setMessageHandler(MessageHandler handler) { messageHandler_ = std::move(handler); }

    long RegOpenKeyEx(platform::HKEY parent, const std::string* subKey, std::uint32_t access,
                      platform::HKEY& result) override;
    long RegCreateKeyEx(platform::HKEY parent, const std::string& subKey, std::uint32_t access,
                        platform::HKEY& result, std::uint32_t& disposition) override;
    long RegCloseKey(platform::HKEY key) override;
    long RegDeleteKey(platform::HKEY parent, const std::string& subKey) override;
    long RegDeleteValue(platform::HKEY key, const std::string& name) override;
    long RegQueryValueEx(platform::HKEY key, const std::string& name, std::uint32_t& type,
                         std::vector<std::uint8_t>* data, std::uint32_t& size) override;
    long RegSetValueEx(platform::HKEY key, const std::string& name, std::uint32_t type,
                       const std::uint8_t* data, std::uint32_t size) override;
    long RegQueryInfoKey(platform::HKEY key, std::uint32_t& subKeys,
                         std::uint32_t& values) override;
    long RegEnumKeyEx(platform::HKEY key, std::uint32_t index, std::string& name) override;
    long RegEnumValue(platform::HKEY key, std::uint32_t index, std::string& name,
                      std::uint32_t& type, std::vector<std::uint8_t>& data) override;

    bool GetVersionEx(platform::OsVersionInfo& info) override;
    std::string GetWindowsDirectory() override;
    std::string GetSystemDirectory() override;

    std::string HostPath(const std::string& path) override;
    bool FindFirstFile(const std::string& path) override;

    platform::Answer MessageBox(const std::string& text, std::uint32_t style,
                                const std::string& caption) override;

  private:
    std::optional<std::string> readString(const std::string& keyPath, const std::string& name);
    bool isNtFamily();

    std::filesystem::path imageDir_;
    std::unique_ptr<PortableRegistry> registry_;
    MessageHandler messageHandler_;
};

// A Windows path on a drive ("C:\x" or "c:/x") resolved inside the image,
// component by component without regard to case; components that do not exist
// keep the case they were given. Other paths are returned unchanged.
std::string resolveImagePath(const std::filesystem::path& imageDir, const std::string& path);

// The one-line form in which a headless run shows a message box.
std::string messageLine(const std::string& text, const std::string& caption);

}  // namespace vtl::portable
