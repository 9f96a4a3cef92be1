// Shared helpers of the program: platform detection, file helpers and the
// program-settings store.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vtl {

inline constexpr const char* kAppName = "Vantrel";

// "9x", "NT", "2K", or empty when the system is not supported or the query failed.
std::string GetOSVersion();
// Internet Explorer and Navigator versions; 0 when not found.
float GetIEVersion();
float GetNNVersion();

// Removes surrounding blanks, then drops the last character (the NUL of a
// blank-filled buffer that a platform call filled in).
std::string TrimNull(const std::string& text);
// True when a directory search for the path finds an entry.
bool FileExists(const std::string& path);

// Program version as Major.Minor.Revision.
std::string ProgramVersion();

// --- Program settings, under \HKEY_LOCAL_MACHINE\Software\<app>\<section>. ---
struct RegSettingValue {
    std::string name;
    std::string value;
};
void SaveRegSetting(const std::string& appName, const std::string& section, const std::string& key,
                    const std::string& setting, const std::string& parent = "");
std::string GetRegSetting(const std::string& appName, const std::string& section,
                          const std::string& key, const std::string& defaultValue = "",
                          const std::string& parent = "");
// All values of a section, or nullopt when it cannot be opened.
std::optional<std::vector<RegSettingValue>> GetAllRegSettings(const std::string& appName,
                                                              const std::string& section,
                                                              const std::string& parent = "");
void DeleteRegSetting(const std::string& appName, const std::string& section,
                      const std::string& key = "", const std::string& parent = "");

}  // namespace vtl
