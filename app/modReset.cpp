#include "app/modReset.h"

#include <exception>

#include "config/modAPI.h"
#include "platform/Platform.h"
#include "ui/DialogService.h"

namespace vtl {

std::string DefaultResetMethod() {
    return GetRegSetting(kAppName, "Options", "Restart", kResetManual);
}

void ResetPC(std::string& sMethod, ui::DialogService* dialogs) {
    try {
        if (sMethod.empty())
            sMethod = DefaultResetMethod();
        platform::Platform& system = platform::sys();
        if (sMethod == kResetReboot)
            (void)system.ExitWindowsEx(platform::EWX_REBOOT, 0);
        else if (sMethod == kResetShutdown)
            (void)system.ExitWindowsEx(platform::EWX_SHUTDOWN, 0);
        else if (sMethod == kResetSuspend)
            (void)system.SetSystemPowerState(true, false);
    } catch (const std::exception&) {
        constexpr const char* kText = "Error occurred while attempting to reset PC.";
        constexpr std::uint32_t kStyle = platform::mb::OK | platform::mb::IconExclamation;
        if (dialogs)
            dialogs->MsgBox(kText, kStyle, kAppName);
        else
            platform::sys().MessageBox(kText, kStyle, kAppName);
    }
}

void ResetPC(const std::string& sMethod, ui::DialogService* dialogs) {
    std::string method = sMethod;
    ResetPC(method, dialogs);
}

}  // namespace vtl
