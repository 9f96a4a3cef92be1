// Restarting the PC so that it takes applied settings: the restart methods
// and the saved default method (program option "Options"/"Restart").
#pragma once

#include <string>

namespace vtl {

namespace ui {
class DialogService;
}  // namespace ui

// Restart method codes, stored as text.
inline constexpr const char* kResetManual = "0";
inline constexpr const char* kResetReboot = "1";
inline constexpr const char* kResetShutdown = "2";
inline constexpr const char* kResetSuspend = "3";

// The saved default method, "0" when none is stored.
std::string DefaultResetMethod();

// Carries out a restart method: "0" does nothing, "1" reboots, "2" shuts down,
// "3" suspends; any other code does nothing. An empty code is replaced by the
// saved default, and the caller's string receives it. The platform call's
// result is not examined. A failure shows "Error occurred while attempting to
// reset PC." through `dialogs`, or the platform's message box when null.
void ResetPC(std::string& sMethod, ui::DialogService* dialogs = nullptr);
void ResetPC(const std::string& sMethod, ui::DialogService* dialogs = nullptr);

}  // namespace vtl
