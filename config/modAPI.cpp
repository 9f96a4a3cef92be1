#include "config/modAPI.h"

#include <exception>

#include "config/VbText.h"
#include "platform/Platform.h"
#include "registry/clsEasyRegistry.h"

namespace vtl {

namespace {

using platform::sys;

void warn(const std::string& text) {
    sys().MessageBox(text, platform::mb::OK | platform::mb::IconExclamation, kAppName);
}

// Reads one text value with errors suppressed; nullopt when key or value is missing.
std::optional<std::string> readText(const std::string& keyPath, const std::string& name) {
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd(keyPath);
    if (reg.lastError() != 0)
        return std::nullopt;
    std::string text = reg.ValueText(name);
    if (reg.lastError() != 0)
        return std::nullopt;
    return text;
}

std::string settingsKey(const std::string& appName, const std::string& section,
                        const std::string& parent) {
    std::string path = parent.empty() ? appName : parent + "\\" + appName;
    if (!section.empty())
        path += "\\" + section;
    return path;
}

constexpr const char* kSoftware = "\\HKEY_LOCAL_MACHINE\\Software";

}  // namespace

std::string GetOSVersion() {
    try {
        platform::OsVersionInfo info;
        if (!sys().GetVersionEx(info))
            return {};
        if (info.platformId == platform::VER_PLATFORM_WIN32_WINDOWS)
            return "9x";
        if (info.platformId == platform::VER_PLATFORM_WIN32_NT) {
            return info.majorVersion == 5 ? "2K" : "NT";
        }
        return {};
    } catch (const std::exception&) {
        warn("Error retrieving O/S version information");
        return {};
    }
}

float GetIEVersion() {
    try {
        auto agent = readText(
            "\\HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
            "User Agent");
        if (!agent)
            return 0;
        std::string version = "0";
        auto at = agent->find("MSIE ");
        if (at != std::string::npos) {
            std::string rest = agent->substr(at + 5);
            auto end = rest.find(';');
            if (end == std::string::npos)
                throw std::runtime_error("unterminated version");
            version = rest.substr(0, end);
        }
        return static_cast<float>(Val(version));
    } catch (const std::exception&) {
        warn("Error retrieving Internet Explorer version information.");
        return 0;
    }
}

float GetNNVersion() {
    try {
        auto version = readText("\\HKEY_LOCAL_MACHINE\\Software\\Netscape\\Netscape Navigator",
                                "CurrentVersion");
        if (!version)
            return 0;
        auto blank = version->find(' ');
        if (blank != std::string::npos)
            version->resize(blank);
        return static_cast<float>(Val(*version));
    } catch (const std::exception&) {
        warn("Error retrieving Navigator version information.");
        return 0;
    }
}

bool FileExists(const std::string& path) {
    return sys().FindFirstFile(path);
}

std::string ProgramVersion() {
    return std::to_string(VANTREL_VERSION_MAJOR) + "." + std::to_string(VANTREL_VERSION_MINOR) +
           "." + std::to_string(VANTREL_VERSION_PATCH);
}

void SaveRegSetting(const std::string& appName, const std::string& section, const std::string& key,
                    const std::string& setting, const std::string& parent) {
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd(kSoftware);
    if (reg.lastError() != 0)
        return;
    const std::string path = settingsKey(appName, section, parent);
    reg.MakeKey(path);
    if (reg.lastError() != 0)
        return;
    reg.Cd(path);
    if (reg.lastError() != 0)
        return;
    reg.SetValue(key, STRING, Variant(setting));
}

std::string GetRegSetting(const std::string& appName, const std::string& section,
                          const std::string& key, const std::string& defaultValue,
                          const std::string& parent) {
    auto value =
        readText(std::string(kSoftware) + "\\" + settingsKey(appName, section, parent), key);
    return value ? *value : defaultValue;
}

std::optional<std::vector<RegSettingValue>> GetAllRegSettings(const std::string& appName,
                                                              const std::string& section,
                                                              const std::string& parent) {
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd(std::string(kSoftware) + "\\" + settingsKey(appName, section, parent));
    if (reg.lastError() != 0)
        return std::nullopt;
    DirValueResult listing = reg.DirValue();
    if (listing.kind != DirValueResult::Kind::Array)
        return std::nullopt;
    std::vector<RegSettingValue> values;
    for (const DirValueColumn& column : listing.columns)
        values.push_back({column[0], column[1]});
    return values;
}

void DeleteRegSetting(const std::string& appName, const std::string& section,
                      const std::string& key, const std::string& parent) {
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    if (!key.empty()) {
        reg.Cd(std::string(kSoftware) + "\\" + settingsKey(appName, section, parent));
        if (reg.lastError() == 0)
            reg.DeleteValue(key);
    } else {
        reg.Cd(std::string(kSoftware) + "\\" + settingsKey(appName, "", parent));
        if (reg.lastError() == 0)
            reg.DeleteKey(section);
    }
}

}  // namespace vtl
