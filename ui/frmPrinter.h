// The advanced printer dialog: the port of the default printer and the
// capture of a local printer port to a network queue. Modal; the caller sets
// oNetConfig after loading, shows the form, reads Changed and unloads it.
#pragma once

#include <cstdint>
#include <memory>

#include "ui/Controls.h"
#include "ui/DialogService.h"

namespace vtl {
class clsNetConfig;
}  // namespace vtl

namespace vtl::ui {

class frmPrinter : public Form {
  public:
    frmPrinter();

    // Changed = False, then selects "(None)", whose click sets Changed again.
    // Loading an already loaded form does nothing.
    void load() override;
    void unload() override;
    bool loaded() const { return loaded_; }

    bool Changed() const { return changed_; }
    // Stores the object, then fills the controls from it (their behaviours run).
    void oNetConfig(std::shared_ptr<clsNetConfig> config);
    const std::shared_ptr<clsNetConfig>& oNetConfig() const { return oNetConfig_; }

    void chkEnableAdvSettings_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    Frame Frame1{"Frame1"};
    CheckBox chkEnableAdvSettings{"chkEnableAdvSettings"};
    Label Label1{"Label1"};
    TextBox txtPrinterPort{"txtPrinterPort"};
    Frame Frame2{"Frame2"};
    Label Label2{"Label2"};
    ComboBox cboCaptureDevice{"cboCaptureDevice"};
    Label Label3{"Label3"};
    TextBox txtCapturePath{"txtCapturePath"};
    CheckBox chkCaptureReconnect{"chkCaptureReconnect"};
    CommandButton cmdOK{"cmdOK"};
    CommandButton cmdCancel{"cmdCancel"};

  private:
    // The four controls that follow chkEnableAdvSettings.
    void enableAdvControls(bool on);

    std::shared_ptr<clsNetConfig> oNetConfig_;
    bool changed_ = false;
    bool loaded_ = false;
};

}  // namespace vtl::ui
