#include "ui/frmPrintSetup.h"

#include <cctype>

#include "config/VbText.h"

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

}  // namespace vtl::ui
