// The warning shown when the Navigator preference file cannot be found,
// without its window. Show() puts it up modally through the platform; OK
// stores the check box as the program setting "NavigatorWarning".
#pragma once

#include "ui/DialogControls.h"

namespace vtl {

class frmNetscape {
  public:
    static constexpr const char* Caption = "Warning...";
    static constexpr const char* lblWarning =
        "Your Netscape Navigator preference file could not be located. Please check your "
        "default user profile.";
    static constexpr const char* chkWarningCaption = "&Do not display this warning again";
    static constexpr const char* chkWarningToolTip =
        "Check this box if you don't want to see this warning again";
    static constexpr const char* cmdOKCaption = "OK";
    static constexpr const char* cmdOKToolTip = "Close this dialog";

    // Modal: returns once the user has closed it with OK.
    void Show();
    // Stores the check box state and closes the dialog.
    void cmdOK_Click();

    CheckBox chkWarning;
};

}  // namespace vtl
