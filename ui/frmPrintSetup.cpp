#include "ui/frmPrintSetup.h"

#include <cctype>

#include "config/VbText.h"
#include "platform/DeviceBlocks.h"

namespace vtl::ui {

namespace {

constexpr int kMaxCopies = 9999;

// 1 to 9999, or 0 when the text is no such number.
int copiesOf(const std::string& text) {
    if (text.empty() || text.size() > 4)
        return 0;
    int copies = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return 0;
        copies = copies * 10 + (c - '0');
    }
    return copies <= kMaxCopies ? copies : 0;
}

}  // namespace

frmPrintSetup::frmPrintSetup(bool setup) : Form("frmPrintSetup") {
    setCaption(setup ? "Print Setup" : "Print");
    fraPrinter.setCaption("Printer");
    lblPrinter.setCaption("&Name:");
    lblType.setCaption("Type:");
    lblWhere.setCaption("Where:");
    lblCopies.setCaption("Number of &copies:");
    fraOrientation.setCaption("Orientation");
    optPortrait.setCaption("P&ortrait");
    optLandscape.setCaption("L&andscape");
    lblDuplex.setCaption("&Two-sided:");
    for (const char* mode : {"None", "Long edge", "Short edge"})
        cboDuplex.addItem(mode);
    cmdOK.setCaption("OK");
    cmdCancel.setCaption("Cancel");
    txtCopies.setText("1");
    optPortrait.setValue(true);

    cboPrinter.onClick = [this] { cboPrinter_Click(); };
    cmdOK.onClick = [this] { cmdOK_Click(); };
    cmdCancel.onClick = [this] { cmdCancel_Click(); };
}

void frmPrintSetup::fill(const std::vector<Printer>& printers, const Choice& choice) {
    printers_ = printers;
    cboPrinter.clear();
    int selected = printers_.empty() ? -1 : 0;
    for (std::size_t i = 0; i < printers_.size(); ++i) {
        cboPrinter.addItem(printers_[i].deviceName);
        if (UCase(printers_[i].deviceName) == UCase(choice.deviceName))
            selected = static_cast<int>(i);
    }
    cboPrinter.setListIndex(selected);
    if (selected < 0)
        cboPrinter_Click();
    txtCopies.setText(std::to_string(choice.copies > 0 ? choice.copies : 1));
    (choice.orientation == 2 ? optLandscape : optPortrait).setValue(true);
    if (cboDuplex.enabled() && choice.duplex >= 1 && choice.duplex <= 3)
        cboDuplex.setListIndex(choice.duplex - 1);
}

void frmPrintSetup::cboPrinter_Click() {
    const int index = cboPrinter.listIndex();
    const Printer none;
    const Printer& printer = index < 0 ? none : printers_.at(static_cast<std::size_t>(index));
    lblTypeValue.setCaption(printer.driverName);
    lblWhereValue.setCaption(printer.port);
    cboDuplex.setEnabled(printer.duplex);
    if (!printer.duplex)
        cboDuplex.setListIndex(-1);
    else if (cboDuplex.listIndex() < 0)
        cboDuplex.setListIndex(0);
}

frmPrintSetup::Choice frmPrintSetup::choice() const {
    Choice chosen;
    chosen.deviceName = cboPrinter.text();
    chosen.copies = static_cast<std::int16_t>(copiesOf(txtCopies.text()));
    chosen.orientation = optLandscape.value() ? 2 : 1;
    chosen.duplex = static_cast<std::int16_t>(cboDuplex.listIndex() + 1);
    return chosen;
}

void frmPrintSetup::cmdOK_Click() {
    if (copiesOf(txtCopies.text()) == 0) {
        txtCopies.setFocus();
        txtCopies.select(0, txtCopies.text().size());
        return;
    }
    cancelled_ = false;
    setVisible(false);
}

void frmPrintSetup::cmdCancel_Click() {
    cancelled_ = true;
    setVisible(false);
}

bool runPrintSetup(platform::Platform::PrintDlgInfo& dialog,
                   const std::vector<frmPrintSetup::Printer>& printers,
                   const std::string& currentPrinter, DialogService& dialogs) {
    using platform::Platform;
    const platform::DevMode mode = platform::readDevMode(dialog.devMode);
    const platform::DevNames names = platform::readDevNames(dialog.devNames);
    frmPrintSetup::Choice shown;
    shown.deviceName = !names.device.empty()      ? names.device
                       : !mode.deviceName.empty() ? mode.deviceName
                                                  : currentPrinter;
    if ((mode.fields & Platform::DM_COPIES) != 0 && mode.copies > 0)
        shown.copies = mode.copies;
    if ((mode.fields & Platform::DM_ORIENTATION) != 0 &&
        mode.orientation == Platform::DMORIENT_LANDSCAPE) {
        shown.orientation = Platform::DMORIENT_LANDSCAPE;
    }
    if ((mode.fields & Platform::DM_DUPLEX) != 0)
        shown.duplex = mode.duplex;

    frmPrintSetup form((dialog.flags & Platform::PD_PRINTSETUP) != 0);
    form.load();
    form.fill(printers, shown);
    form.setVisible(true);
    dialogs.ShowModal(form);
    form.setVisible(false);
    form.unload();
    if (form.Cancelled())
        return false;

    const frmPrintSetup::Choice chosen = form.choice();
    platform::DevNames chosenNames{"", chosen.deviceName, ""};
    for (const frmPrintSetup::Printer& printer : printers) {
        if (printer.deviceName == chosen.deviceName) {
            chosenNames.driver = printer.driverName;
            chosenNames.port = printer.port;
        }
    }
    platform::DevMode chosenMode;
    chosenMode.deviceName = chosen.deviceName;
    chosenMode.fields = Platform::DM_ORIENTATION | Platform::DM_COPIES |
                        (chosen.duplex != 0 ? Platform::DM_DUPLEX : 0u);
    chosenMode.orientation = chosen.orientation;
    chosenMode.copies = chosen.copies;
    chosenMode.duplex = chosen.duplex;
    dialog.devMode = platform::makeDevMode(chosenMode);
    dialog.devNames = platform::makeDevNames(chosenNames);
    return true;
}

}  // namespace vtl::ui
