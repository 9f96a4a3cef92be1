// The adapter warning: shown without waiting the first time the user picks
// another adapter while a configuration file is in the window. OK stores
// whether it should be shown again (program setting "Options"/"NICWarning").
#pragma once

#include "ui/Controls.h"
#include "ui/DialogService.h"

namespace vtl::ui {

class frmNICWarning : public Form {
  public:
    frmNICWarning();

    // Loading an already loaded form does nothing.
    void load() override;
    void unload() override;
    bool loaded() const { return loaded_; }

    // Stores "0" when chkWarning is ticked, "1" otherwise, and closes the form.
    void cmdOK_Click();

    Frame Frame1{"Frame1"};
    Label Label1{"Label1"};
    Label Label2{"Label2"};
    Label Label3{"Label3"};
    Label Label4{"Label4"};
    Label Label5{"Label5"};
    Label Label6{"Label6"};
    Label Label7{"Label7"};
    CheckBox chkWarning{"chkWarning"};
    CommandButton cmdOK{"cmdOK"};

  private:
    bool loaded_ = false;
};

}  // namespace vtl::ui
