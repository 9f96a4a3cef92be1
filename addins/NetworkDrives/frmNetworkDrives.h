// The dialog of the Network Drives add-in: the list of drives, a drive letter
// and a network path to add or replace an entry, and the reconnect option.
// The caller sets the settings, shows the form, and after it has closed takes
// the edited settings when Changed is true.
#pragma once

#include <string>
#include <vector>

#include "addins/ListBox.h"
#include "addins/NetworkDrives/clsNetworkDrives.h"
#include "ui/Controls.h"
#include "ui/DialogService.h"

namespace vtl::netdrives {

class frmNetworkDrives : public ui::Form {
  public:
    frmNetworkDrives();

    // What the dialog starts with; `file` is the configuration's file ("" for
    // the current configuration), shown in the caption.
    void setSettings(const std::vector<NetworkDrive>& drives, bool reconnect,
                     const std::string& file);
    // Fills the controls from the settings; Changed becomes false.
    void load() override;

    // True after OK when the user changed something.
    bool Changed() const { return confirmed_ && changed_; }
    const std::vector<NetworkDrive>& drives() const { return drives_; }
    bool reconnect() const { return reconnect_; }

    void lstDrives_Click();
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    ui::ListBox lstDrives{"lstDrives"};
    ui::Label lblDrive{"lblDrive"};
    ui::ComboBox cboDrive{"cboDrive"};
    ui::Label lblPath{"lblPath"};
    ui::TextBox txtPath{"txtPath"};
    ui::CheckBox chkReconnect{"chkReconnect"};
    ui::CommandButton cmdAdd{"cmdAdd"};
    ui::CommandButton cmdRemove{"cmdRemove"};
    ui::CommandButton cmdOK{"cmdOK"};
    ui::CommandButton cmdCancel{"cmdCancel"};

  private:
    void fillList(int select);
    void warn(const std::string& text);

    std::vector<NetworkDrive> drives_;
    bool reconnect_ = true;
    bool changed_ = false;
    bool confirmed_ = false;
    bool filling_ = false;
};

}  // namespace vtl::netdrives
