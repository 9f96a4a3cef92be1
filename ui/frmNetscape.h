// The warning shown when the Navigator preference file cannot be found. It is
// put up modally through the platform; OK stores its check box as the program
// setting "Options"/"NavigatorWarning".
#pragma once

#include "ui/Controls.h"
#include "ui/DialogService.h"

namespace vtl::ui {

class frmNetscape : public Form {
  public:
    frmNetscape();

    // The default mouse pointer while it is shown; the previous one afterwards.
    void load() override;
    void unload() override;

    // Shows it modally and returns once OK has closed it.
    void ShowModal();
    // Stores "1" when chkWarning is ticked, "0" otherwise, and closes the form.
    void cmdOK_Click();

    Label lblWarning{"lblWarning"};
    CheckBox chkWarning{"chkWarning"};
    CommandButton cmdOK{"cmdOK"};

  private:
    int previousPointer_ = 0;
    bool loaded_ = false;
};

}  // namespace vtl::ui
