// The "Advanced" page of the main window: the document-level settings
// AutoApply, AutoReboot and Comments. Every edit is written at once into the
// window's document and marks the window's status.
#pragma once

#include "ui/Controls.h"

namespace vtl {
class frmMain;
class clsVtlConfig;
}  // namespace vtl

namespace vtl::ui {

class AdvancedTab {
  public:
    explicit AdvancedTab(frmMain& window);
    AdvancedTab(const AdvancedTab&) = delete;
    AdvancedTab& operator=(const AdvancedTab&) = delete;

    // Fills the page from the window's document.
    void initializeMiscControls();

    // --- Behaviours, wired to the controls. ---
    void txtComments_Change();
    void chkAutoApply_Click();
    void chkAutoReboot_Click();

    // --- Controls. ---
    Frame fraAdvanced{"fraAdvanced"};
    Frame fraComments{"fraComments"};
    CheckBox chkAutoApply{"chkAutoApply"};
    CheckBox chkAutoReboot{"chkAutoReboot"};
    TextBox txtComments{"txtComments"};

  private:
    // The window's document; null while there is none.
    clsVtlConfig* document() const;

    frmMain& window_;
};

}  // namespace vtl::ui
