#include "ui/frmNetscape.h"

#include "config/modAPI.h"
#include "platform/Platform.h"

namespace vtl {

void frmNetscape::Show() {
    chkWarning.Value(platform::sys().ShowNavigatorWarning());
    cmdOK_Click();
}

void frmNetscape::cmdOK_Click() {
    SaveRegSetting(kAppName, "Options", "NavigatorWarning", chkWarning.Value() ? "1" : "0");
}

}  // namespace vtl
