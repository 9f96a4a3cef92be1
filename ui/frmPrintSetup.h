// The print dialog (in its print-setup mode "Print Setup") as a form model:
// the installed printers, the number of copies, the orientation and two-sided
// printing. A front end whose platform has no print dialog of its own answers
// PrintDlgA with it (runPrintSetup).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "ui/Controls.h"
#include "ui/DialogService.h"

namespace vtl::ui {

class frmPrintSetup : public Form {
  public:
    struct Printer {
        std::string deviceName;
        std::string driverName;
        std::string port;
        bool duplex = false;  // the printer can print on both sides
    };
    // What the dialog shows and returns. Orientation and duplex take the
    // device-mode values (1 portrait, 2 landscape; 1 one-sided, 2 long edge,
    // 3 short edge; 0 unset).
    struct Choice {
        std::string deviceName;
        std::int16_t copies = 1;
        std::int16_t orientation = 1;
        std::int16_t duplex = 0;
    };

    // `setup` true: "Print Setup", else "Print".
    explicit frmPrintSetup(bool setup = true);

    // Lists the printers and shows `choice`; an unknown device selects the first printer.
    void fill(const std::vector<Printer>& printers, const Choice& choice);
    // True until OK has accepted the choice.
    bool Cancelled() const { return cancelled_; }
    Choice choice() const;

    void cboPrinter_Click();
    // Accepts when the number of copies is a whole number from 1 to 9999;
    // otherwise selects it and the dialog stays up.
    void cmdOK_Click();
    void cmdCancel_Click();

    Frame fraPrinter{"fraPrinter"};
    Label lblPrinter{"lblPrinter"};
    ComboBox cboPrinter{"cboPrinter"};
    Label lblType{"lblType"};
    Label lblTypeValue{"lblTypeValue"};
    Label lblWhere{"lblWhere"};
    Label lblWhereValue{"lblWhereValue"};
    Label lblCopies{"lblCopies"};
    TextBox txtCopies{"txtCopies"};
    Frame fraOrientation{"fraOrientation"};
    OptionGroup orientation;
    OptionButton optPortrait{"optPortrait", orientation};
    OptionButton optLandscape{"optLandscape", orientation};
    Label lblDuplex{"lblDuplex"};
    ComboBox cboDuplex{"cboDuplex"};
    CommandButton cmdOK{"cmdOK"};
    CommandButton cmdCancel{"cmdCancel"};

  private:
    std::vector<Printer> printers_;
    bool cancelled_ = true;
};

// Answers a PrintDlgA call with the form, shown through `dialogs`: it lists
// `printers` and shows what the blocks ask for (the device-names block's
// printer, else the device mode's, else `currentPrinter`). On OK fills both
// blocks with the choice and returns true; false when cancelled.
bool runPrintSetup(platform::Platform::PrintDlgInfo& dialog,
                   const std::vector<frmPrintSetup::Printer>& printers,
                   const std::string& currentPrinter, DialogService& dialogs);

}  // namespace vtl::ui
