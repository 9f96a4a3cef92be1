// The advanced printer dialog on the network objects of the sample machines.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "net/clsNetConfig2K.h"
#include "support/TestImage.h"
#include "ui/frmPrinter.h"

namespace vtl::ui {
namespace {

auto itemsOf(const clsNetConfig& net) {
    return std::tuple(net.EnableAdvPrinterSettings(), net.PrinterPort(), net.PrinterCaptureDev(),
                      net.PrinterCapturePath(), net.PrinterCaptureReconnect());
}

struct Dialog {
    Dialog() { net->loadConfiguration(); }
    // The four controls that follow the check box: enabled states and colours.
    std::string dependents() const {
        std::string states;
        for (const Control* c :
             std::vector<const Control*>{&form.txtPrinterPort, &form.cboCaptureDevice,
                                         &form.txtCapturePath, &form.chkCaptureReconnect})
            states += c->enabled() ? "1" : "0";
        for (std::uint32_t colour :
             {form.txtPrinterPort.backColor(), form.cboCaptureDevice.backColor(),
              form.txtCapturePath.backColor()})
            states += colour == colour::WindowBackground ? "w"
                      : colour == colour::LightGrey      ? "g"
                                                         : "?";
        return states;
    }

    std::unique_ptr<test::TestImage> image = test::TestImage::sample("win2000");
    std::shared_ptr<clsNetConfig> net = std::make_shared<clsNetConfig2K>();
    frmPrinter form;
};

TEST(PrinterDialog, FillsThenOKStoresTheEditsAndCancelNothing) {
    const std::string path = std::string("\t\x01\x7f\r\n", 5) + " x ";
    for (const bool ok : {true, false}) {
        Dialog d;
        d.net->PrinterCaptureDev("COM1");  // not in the list
        const auto before = itemsOf(*d.net);
        d.form.load();
        d.form.oNetConfig(d.net);       // as the General tab opens it
        EXPECT_TRUE(d.form.Changed());  // loading counts as a change
        EXPECT_EQ(d.form.txtPrinterPort.text(), "IP_10.20.30.250");
        EXPECT_EQ(d.form.cboCaptureDevice.text(), "(None)");
        EXPECT_EQ(d.dependents(), "0000ggg");
        d.form.setVisible(true);
        d.form.chkEnableAdvSettings.userClick();
        EXPECT_EQ(d.dependents(), "1111www");
        d.form.txtPrinterPort.userType("LPT2:");
        d.form.cboCaptureDevice.userSelect(2);
        d.form.txtCapturePath.userType(path);
        d.form.chkCaptureReconnect.userClick();
        (ok ? d.form.cmdOK : d.form.cmdCancel).userClick();
        EXPECT_FALSE(d.form.visible());
        EXPECT_EQ(d.form.Changed(), ok);
        EXPECT_EQ(
            itemsOf(*d.net),
            ok ? std::tuple(true, std::string("LPT2:"), std::string("LPT2"), path, true) : before);
    }
}

}  // namespace
}  // namespace vtl::ui
