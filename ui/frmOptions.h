// The Options dialog: the program options of the settings store and the
// system integration (start-up list entries of the program and of the tray
// utility, the ".vtl" file association). It reads everything when it loads
// and writes everything on OK; Cancel changes nothing.
#pragma once

#include <string>

#include "ui/Controls.h"
#include "ui/DialogService.h"

namespace vtl::ui {

class frmOptions : public Form {
  public:
    explicit frmOptions(DialogService& dialogs);

    // Form_Load: runs loadOptions.
    void load() override { Form_Load(); }
    void Form_Load();

    // Fills the controls from the settings store and the registry.
    void loadOptions();
    // Stores every control: options, start-up entries, association.
    void setOptions();

    void cmdOK_Click();      // setOptions, then close
    void cmdCancel_Click();  // close
    void cmdHelp_Click();
    // chkShutdown is enabled exactly while chkSystemTray is checked.
    void chkSystemTray_Click();
    // Accepts "" and numbers 0 to 5; other text shows a message (above 5 or
    // below 0 the box then shows "5").
    void txtMaxRecent_Change();

    Frame fraStartup{"fraStartup"};
    CheckBox chkStartup{"chkStartup"};
    CheckBox chkShutdown{"chkShutdown"};

    Frame fraRestart{"fraRestart"};
    OptionGroup restartOptions;
    OptionButton optManual{"optManual", restartOptions};
    OptionButton optReboot{"optReboot", restartOptions};
    OptionButton optShutdown{"optShutdown", restartOptions};
    OptionButton optSuspend{"optSuspend", restartOptions};

    Frame fraMisc{"fraMisc"};
    CheckBox chkAssociate{"chkAssociate"};
    Label lblMaxRecent{"lblMaxRecent"};
    TextBox txtMaxRecent{"txtMaxRecent"};
    CheckBox chkAutoApply{"chkAutoApply"};
    CheckBox chkSystemTray{"chkSystemTray"};

    CommandButton cmdOK{"cmdOK"};
    CommandButton cmdCancel{"cmdCancel"};
    CommandButton cmdHelp{"cmdHelp"};

  private:
    DialogService& dialogs_;
};

// Where the system integration lives.
inline constexpr const char* kRunKey =
    "\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kFileTypeKey = "\\HKEY_CLASSES_ROOT\\.vtl";
inline constexpr const char* kFileClassKey = "\\HKEY_CLASSES_ROOT\\vtl_auto_file";

}  // namespace vtl::ui
