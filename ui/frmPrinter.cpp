#include "ui/frmPrinter.h"

#include "net/clsNetConfig.h"

namespace vtl::ui {

frmPrinter::frmPrinter() : Form("frmPrinter") {
    setCaption("Advanced Printer Properties");
    Frame1.setCaption("Printer Port");
    chkEnableAdvSettings.setCaption("&Enable advanced printer properties");
    Label1.setCaption("&Printer Port:");
    Frame2.setCaption("Capture Printer Port");
    Label2.setCaption("&Device:");
    for (const char* device :
         {"(None)", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"}) {
        cboCaptureDevice.addItem(device);
    }
    Label3.setCaption("Pa&th:");
    chkCaptureReconnect.setCaption("Reconnec&t at logon");
    cmdOK.setCaption("OK");
    cmdCancel.setCaption("Cancel");
    enableAdvControls(false);

    const auto changed = [this] { changed_ = true; };
    chkEnableAdvSettings.onClick = [this] { chkEnableAdvSettings_Click(); };
    txtPrinterPort.onChange = changed;
    cboCaptureDevice.onClick = changed;
    txtCapturePath.onChange = changed;
    chkCaptureReconnect.onClick = changed;
    cmdOK.onClick = [this] { cmdOK_Click(); };
    cmdCancel.onClick = [this] { cmdCancel_Click(); };
}

void frmPrinter::load() {
    if (loaded_)
        return;
    loaded_ = true;
    changed_ = false;
    cboCaptureDevice.setListIndex(0);
}

void frmPrinter::unload() {
    loaded_ = false;
    setVisible(false);
}

void frmPrinter::oNetConfig(std::shared_ptr<clsNetConfig> config) {
    oNetConfig_ = std::move(config);
    if (!oNetConfig_)
        return;
    chkEnableAdvSettings.setValue(oNetConfig_->EnableAdvPrinterSettings() ? 1 : 0);
    txtPrinterPort.setText(oNetConfig_->PrinterPort());
    txtCapturePath.setText(oNetConfig_->PrinterCapturePath());
    chkCaptureReconnect.setValue(oNetConfig_->PrinterCaptureReconnect() ? 1 : 0);
    const std::string device = oNetConfig_->PrinterCaptureDev();
    for (int i = 0; i < cboCaptureDevice.listCount(); ++i) {
        if (cboCaptureDevice.listAt(i) == device) {
            cboCaptureDevice.setListIndex(i);
            break;
        }
    }
}

void frmPrinter::chkEnableAdvSettings_Click() {
    changed_ = true;
    enableAdvControls(chkEnableAdvSettings.value() == 1);
}

void frmPrinter::enableAdvControls(bool on) {
    txtPrinterPort.setEnabled(on);
    cboCaptureDevice.setEnabled(on);
    txtCapturePath.setEnabled(on);
    chkCaptureReconnect.setEnabled(on);
    const std::uint32_t back = on ? colour::WindowBackground : colour::LightGrey;
    txtPrinterPort.setBackColor(back);
    cboCaptureDevice.setBackColor(back);
    txtCapturePath.setBackColor(back);
}

void frmPrinter::cmdOK_Click() {
    if (oNetConfig_) {
        oNetConfig_->EnableAdvPrinterSettings(chkEnableAdvSettings.value() == 1);
        oNetConfig_->PrinterPort(txtPrinterPort.text());
        oNetConfig_->PrinterCaptureDev(cboCaptureDevice.text());
        oNetConfig_->PrinterCapturePath(txtCapturePath.text());
        oNetConfig_->PrinterCaptureReconnect(chkCaptureReconnect.value() == 1);
    }
    setVisible(false);
}

void frmPrinter::cmdCancel_Click() {
    changed_ = false;
    setVisible(false);
}

}  // namespace vtl::ui
