// The restart dialog shown after an apply that needs a reset: the user picks
// a restart method, optionally makes it the default, and OK carries it out.
// There is no Cancel; closing the dialog by its frame does nothing.
#pragma once

#include "ui/Controls.h"
#include "ui/DialogService.h"

namespace vtl::ui {

class frmRestart : public Form {
  public:
    explicit frmRestart(DialogService& dialogs);

    // Form_Load: selects the default method's button.
    void load() override { Form_Load(); }
    void Form_Load();

    // Selects the button of the saved default method; an unknown value selects none.
    void loadOptions();
    // With chkDefault checked, stores the selected method as the default.
    void setOptions();
    // setOptions, then runs the selected method; manual (or none) shows a reminder.
    // Then the dialog closes.
    void cmdOK_Click();
    void cmdHelp_Click();

    // For a run without a user: selects the saved default method and runs it as OK does.
    void runDefault();

    // The code of the selected method ("0" to "3"), "0" when none is selected.
    std::string selectedMethod() const;

    Frame fraRestart{"fraRestart"};
    OptionGroup restartOptions;
    OptionButton optReboot{"optReboot", restartOptions};
    OptionButton optSuspend{"optSuspend", restartOptions};
    OptionButton optShutdown{"optShutdown", restartOptions};
    OptionButton optManual{"optManual", restartOptions};
    CheckBox chkDefault{"chkDefault"};
    CommandButton cmdOK{"cmdOK"};
    CommandButton cmdHelp{"cmdHelp"};

  private:
    DialogService& dialogs_;
};

}  // namespace vtl::ui
