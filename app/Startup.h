// Start-up helpers: the settings migration and finding another instance's window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vtl {

// Reads a setting of the per-user store that earlier versions used (section,
// value name, default); none on a platform without that store.
using OldSettingReader = std::function<std::string(
    const std::string& section, const std::string& key, const std::string& defaultValue)>;

// Run first at start: when the program's key has no version yet, writes the
// version into its default value and copies the recent-file list of the old
// store, when there is one.
void MigrateSettings(const OldSettingReader& oldSetting = {});

enum class CaptionMatch { BeginsWith = 0, Contains = 1, Equals = 2 };

// The first top-level window whose caption (up to 255 characters) matches the
// title; 0 when none does.
std::uintptr_t FindWindowPartial(const std::string& title, CaptionMatch method, bool caseSensitive,
                                 bool visibleOnly);
// Finds a visible window as above, restores it when minimised and brings it
// to the front. Returns its handle, 0 when none was found.
std::uintptr_t FindAndActivateWindow(const std::string& title, CaptionMatch method,
                                     bool caseSensitive);

}  // namespace vtl
