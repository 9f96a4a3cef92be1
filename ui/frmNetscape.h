// The warning shown when the Navigator preference file cannot be found. It is
// put up modally through the front end's dialog service; OK, its one way to
// close, stores its check box as the program setting "Options"/"NavigatorWarning".
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

    // Shows it modally through `dialogs` and returns once it has closed; a
    // close without OK counts as OK.
    void ShowModal(DialogService& dialogs);
    // Stores "1" when chkWarning is ticked, "0" otherwise, and closes the form.
    void cmdOK_Click();

    Label lblWarning{"lblWarning"};
    CheckBox chkWarning{"chkWarning"};
    CommandButton cmdOK{"cmdOK"};

  private:
    int previousPointer_ = 0;
    bool loaded_ = false;
    bool stored_ = false;
};

}  // namespace vtl::ui
