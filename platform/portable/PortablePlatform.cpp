#include "platform/portable/PortablePlatform.h"

#include <cctype>
#include <iostream>
#include <system_error>

#include "config/VbText.h"
#include "platform/portable/HiveRegistry.h"
#include "platform/portable/PortableRegistry.h"

namespace vtl::portable {

namespace fs = std::filesystem;
using namespace vtl::platform;

namespace {

constexpr const char* kNtVersionKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kWinVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";

// "4.10.1998" -> {4, 10, 1998}; missing parts are 0.
void parseVersion(const std::string& text, OsVersionInfo& info) {
    std::uint32_t parts[3] = {0, 0, 0};
    std::size_t part = 0;
    for (char c : text) {
        if (c == '.') {
            if (++part == 3)
                break;
        } else if (c >= '0' && c <= '9') {
            parts[part] = parts[part] * 10 + static_cast<std::uint32_t>(c - '0');
        } else {
            break;
        }
    }
    info.majorVersion = parts[0];
    info.minorVersion = parts[1];
    info.buildNumber = parts[2];
}

bool wildcardMatch(const char* pattern, const char* name) {
    if (*pattern == '\0')
        return *name == '\0';
    if (*pattern == '*') {
        return wildcardMatch(pattern + 1, name) ||
               (*name != '\0' && wildcardMatch(pattern, name + 1));
    }
    if (*name == '\0')
        return false;
    if (*pattern != '?' && std::tolower(static_cast<unsigned char>(*pattern)) !=
                               std::tolower(static_cast<unsigned char>(*name))) {
        return false;
    }
    return wildcardMatch(pattern + 1, name + 1);
}

}  // namespace

std::string resolveImagePath(const fs::path& imageDir, const std::string& path,
                             const std::map<char, fs::path>& drives) {
    const bool onDrive = path.size() >= 2 && path[1] == ':' &&
                         std::isalpha(static_cast<unsigned char>(path[0])) &&
                         (path.size() == 2 || path[2] == '\\' || path[2] == '/');
    if (!onDrive)
        return path;
    std::string drive = "drive_";
    drive += static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
    auto given = drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))));
    const fs::path driveRoot = given != drives.end() ? given->second : imageDir / drive;
    fs::path resolved = driveRoot;
    bool exists = true;
    std::size_t pos = 2;
    while (pos < path.size()) {
        std::size_t end = path.find_first_of("\\/", pos + 1);
        std::string component =
            path.substr(pos + 1, end == std::string::npos ? std::string::npos : end - pos - 1);
        pos = end == std::string::npos ? path.size() : end;
        if (component.empty() || component == ".")
            continue;
        if (component == "..") {
            if (resolved.has_parent_path() && resolved != driveRoot) {
                resolved = resolved.parent_path();
            }
            continue;
        }
        std::string actual = component;
        if (exists) {
            std::error_code ec;
            bool found = false;
            for (fs::directory_iterator it(resolved, ec), endIt; !ec && it != endIt;
                 it.increment(ec)) {
                std::string name = it->path().filename().string();
                if (SameText(name, component)) {
                    actual = name;
                    found = true;
                    break;
                }
            }
            exists = found;
        }
        resolved /= actual;
    }
    return resolved.string();
}

std::string messageLine(const std::string& text, const std::string& caption) {
    std::string line = caption + ": ";
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        line += (c == '\r' || c == '\n') ? ' ' : c;
    }
    return line;
}

PortablePlatform::PortablePlatform(const fs::path& imageDir, const MachineOptions& options)
    : imageDir_(imageDir), drives_(options.drives) {
    std::error_code ec;
    if (!fs::is_directory(imageDir_, ec)) {
        throw ImageError("Machine image " + imageDir_.string() +
                         " does not exist or is not a folder.");
    }
    // A folder without registry.reg that holds a Windows folder is a system drive.
    if (!fs::exists(imageDir_ / "registry.reg", ec) && findWindowsFolder(imageDir_)) {
        auto hives = std::make_unique<HiveRegistry>(locateHives(imageDir_, options.user));
        hives_ = hives.get();
        registry_ = std::move(hives);
        drives_.try_emplace('C', imageDir_);
    } else {
        if (options.user) {
            throw ImageError("--user applies to a Windows system drive; " + imageDir_.string() +
                             " is a machine image.");
        }
        registry_ = std::make_unique<PortableRegistry>(imageDir_ / "registry.reg");
    }
    // Windows 95/98 deletes a key with all its subkeys; NT refuses a key that has any.
    registry_->setDeleteTreeOnDelete(!isNtFamily());
    registry_->setWriteFailureHandler([this](const std::string& what) {
        if (imageWriteFailed_)
            return;
        imageWriteFailed_ = true;
        MessageBox(
            "The machine image " + imageDir_.string() + " could not be written: " + what + ".",
            platform::mb::OK | platform::mb::IconCritical, "Vantrel");
    });
}

PortablePlatform::~PortablePlatform() {
    // The final write-back may fail: report it while the message handler is there.
    registry_.reset();
}

long PortablePlatform::RegOpenKeyEx(HKEY parent, const std::string* subKey, std::uint32_t access,
                                    HKEY& result) {
    return registry_->RegOpenKeyEx(parent, subKey, access, result);
}
long PortablePlatform::RegCreateKeyEx(HKEY parent, const std::string& subKey, std::uint32_t access,
                                      HKEY& result, std::uint32_t& disposition) {
    return registry_->RegCreateKeyEx(parent, subKey, access, result, disposition);
}
long PortablePlatform::RegCloseKey(HKEY key) {
    return registry_->RegCloseKey(key);
}
long PortablePlatform::RegDeleteKey(HKEY parent, const std::string& subKey) {
    return registry_->RegDeleteKey(parent, subKey);
}
long PortablePlatform::RegDeleteValue(HKEY key, const std::string& name) {
    return registry_->RegDeleteValue(key, name);
}
long PortablePlatform::RegQueryValueEx(HKEY key, const std::string& name, std::uint32_t& type,
                                       std::vector<std::uint8_t>* data, std::uint32_t& size) {
    return registry_->RegQueryValueEx(key, name, type, data, size);
}
long PortablePlatform::RegSetValueEx(HKEY key, const std::string& name, std::uint32_t type,
                                     const std::uint8_t* data, std::uint32_t size) {
    return registry_->RegSetValueEx(key, name, type, data, size);
}
long PortablePlatform::RegQueryInfoKey(HKEY key, std::uint32_t& subKeys, std::uint32_t& values) {
    return registry_->RegQueryInfoKey(key, subKeys, values);
}
long PortablePlatform::RegEnumKeyEx(HKEY key, std::uint32_t index, std::string& name) {
    return registry_->RegEnumKeyEx(key, index, name);
}
long PortablePlatform::RegEnumValue(HKEY key, std::uint32_t index, std::string& name,
                                    std::uint32_t& type, std::vector<std::uint8_t>& data) {
    return registry_->RegEnumValue(key, index, name, type, data);
}

std::optional<std::string> PortablePlatform::readString(const std::string& keyPath,
                                                        const std::string& name) {
    HKEY key = 0;
    if (registry_->RegOpenKeyEx(HKEY_LOCAL_MACHINE, &keyPath, 1, key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::vector<std::uint8_t> data;
    long rc = registry_->RegQueryValueEx(key, name, type, &data, size);
    registry_->RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        return std::nullopt;
    std::string text(data.begin(), data.end());
    auto nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    return text;
}

bool PortablePlatform::isNtFamily() {
    HKEY key = 0;
    const std::string path = kNtVersionKey;
    if (registry_->RegOpenKeyEx(HKEY_LOCAL_MACHINE, &path, 1, key) != ERROR_SUCCESS)
        return false;
    registry_->RegCloseKey(key);
    return true;
}

bool PortablePlatform::GetVersionEx(OsVersionInfo& info) {
    info = OsVersionInfo{};
    if (auto nt = readString(kNtVersionKey, "CurrentVersion")) {
        parseVersion(*nt, info);
        info.platformId = VER_PLATFORM_WIN32_NT;
        if (auto build = readString(kNtVersionKey, "CurrentBuildNumber")) {
            OsVersionInfo b;
            parseVersion(*build, b);
            info.buildNumber = b.majorVersion;
        }
        info.csdVersion = readString(kNtVersionKey, "CSDVersion").value_or("");
        return true;
    }
    if (auto win = readString(kWinVersionKey, "VersionNumber")) {
        parseVersion(*win, info);
        info.platformId = VER_PLATFORM_WIN32_WINDOWS;
        return true;
    }
    // Neither family's version key: a system the program does not support.
    return true;
}

std::string PortablePlatform::GetWindowsDirectory() {
    if (isNtFamily())
        return readString(kNtVersionKey, "SystemRoot").value_or("C:\\WINNT");
    return readString(kWinVersionKey, "SystemRoot").value_or("C:\\WINDOWS");
}

std::string PortablePlatform::GetSystemDirectory() {
    return GetWindowsDirectory() + (isNtFamily() ? "\\system32" : "\\SYSTEM");
}

std::string PortablePlatform::HostPath(const std::string& path) {
    return resolveImagePath(imageDir_, path, drives_);
}

bool PortablePlatform::FindFirstFile(const std::string& path) {
    std::string host = HostPath(path);
    std::error_code ec;
    if (host.find_first_of("*?") == std::string::npos)
        return fs::exists(host, ec);
    fs::path pattern(host);
    for (fs::directory_iterator it(pattern.parent_path(), ec), end; !ec && it != end;
         it.increment(ec)) {
        if (wildcardMatch(pattern.filename().c_str(), it->path().filename().c_str()))
            return true;
    }
    return false;
}

Answer PortablePlatform::MessageBox(const std::string& text, std::uint32_t style,
                                    const std::string& caption) {
    if (messageHandler_)
        return messageHandler_(text, style, caption);
    std::cerr << messageLine(text, caption) << '\n';
    return defaultAnswer(style);
}

}  // namespace vtl::portable
