#include "addins/AddInRegistry.h"

#include <cctype>

#include "config/VbText.h"
#include "config/modAPI.h"
#include "platform/Platform.h"

namespace vtl::addins {

namespace {}  // namespace

void RegisterShippedAddIns() {
    const auto shipped = platform::sys().ShippedAddIns();
    if (shipped.empty())
        return;
    const auto registered = GetAllRegSettings(kAppName, kSection);
    for (const auto& addIn : shipped) {
        bool known = false;
        if (registered) {
            for (const RegSettingValue& value : *registered)
                known = known || SameText(value.name, addIn.name);
        }
        const std::string section = addInSection(addIn.name);
        if (!known) {
            SaveRegSetting(kAppName, kSection, addIn.name, addIn.className);
            SaveRegSetting(kAppName, section, "Class", addIn.className);
            SaveRegSetting(kAppName, section, "OS", addIn.os);
            SaveRegSetting(kAppName, section, "Active", "1");
        } else if (!SameText(GetRegSetting(kAppName, section, "Class"), addIn.className)) {
            continue;
        }
        SaveRegSetting(kAppName, section, "File", addIn.file);
        SaveRegSetting(kAppName, section, "Version", addIn.version);
    }
}

}  // namespace vtl::addins
