// The about box: the program's title and version, closed with OK.
#pragma once

#include "ui/Controls.h"
#include "ui/DialogService.h"

namespace vtl::ui {

class frmAbout : public Form {
  public:
    frmAbout();

    // Closes the box.
    void cmdOK_Click();

    Label lblTitle{"lblTitle"};
    Label lblVersion{"lblVersion"};
    Label lblDescription{"lblDescription"};
    CommandButton cmdOK{"cmdOK"};
};

}  // namespace vtl::ui
