// The add-in manager: lists the add-ins registered for the running system,
// each with a check box that activates it, and shows the selected one's file
// and version. OK stores the check boxes; the main window then reloads the
// add-ins.
#pragma once

#include "addins/ListBox.h"
#include "ui/Controls.h"
#include "ui/DialogService.h"

namespace vtl {

class frmAddIns : public ui::Form {
  public:
    explicit frmAddIns(ui::DialogService& dialogs);

    void load() override { Form_Load(); }

    void Form_Load();
    void lstAddIns_Click();
    void cmdAbout_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();

    ui::ListBox lstAddIns{"lstAddIns"};
    ui::Frame frAddIn{"frAddIn"};
    ui::Label lblFile{"lblFile"};
    ui::TextBox txtFile{"txtFile"};
    ui::Label lblVersion{"lblVersion"};
    ui::TextBox txtVersion{"txtVersion"};
    ui::CommandButton cmdAbout{"cmdAbout"};
    ui::CommandButton cmdOK{"cmdOK"};
    ui::CommandButton cmdCancel{"cmdCancel"};
    ui::CommandButton cmdHelp{"cmdHelp"};

  private:
    // Writes "Active" of every listed add-in from its check box.
    void saveActiveStates();

    ui::DialogService& dialogs_;
};

}  // namespace vtl
