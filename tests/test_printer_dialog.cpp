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
    // As the General tab opens it: loaded, then given the network object.
    Dialog& open() {
        form.load();
        form.oNetConfig(net);
        return *this;
    }
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

TEST(PrinterDialog, LoadingCountsAsAChangeAndStartsDisabled) {
    Dialog d;
    EXPECT_EQ(d.dependents(), "0000ggg");
    d.form.load();
    EXPECT_TRUE(d.form.Changed());
    EXPECT_EQ(d.form.cboCaptureDevice.text(), "(None)");
    EXPECT_EQ(d.form.cboCaptureDevice.listAt(9), "LPT9");
    d.form.cboCaptureDevice.setListIndex(3);
    d.form.load();  // already loaded: nothing happens
    EXPECT_EQ(d.form.cboCaptureDevice.text(), "LPT3");
    d.form.chkEnableAdvSettings.userClick();
    EXPECT_EQ(d.dependents(), "1111www");
    d.form.chkEnableAdvSettings.userClick();
    EXPECT_EQ(d.dependents(), "0000ggg");
}

TEST(PrinterDialog, FillsFromTheNetworkObject) {
    struct Case {
        bool enabled;
        std::string device, shown;
    };
    for (const Case& c :
         {Case{true, "LPT2", "LPT2"}, Case{true, "COM1", "(None)"}, Case{false, "", "(None)"}}) {
        Dialog d;
        d.net->EnableAdvPrinterSettings(c.enabled);
        d.net->PrinterCaptureDev(c.device);
        d.net->PrinterCapturePath("\\\\ENGSRV\\Plotter");
        d.net->PrinterCaptureReconnect(true);
        d.open();
        EXPECT_EQ(d.form.txtPrinterPort.text(), "IP_10.20.30.250");
        EXPECT_EQ(d.form.txtCapturePath.text(), "\\\\ENGSRV\\Plotter");
        EXPECT_EQ(d.form.chkCaptureReconnect.value(), 1);
        EXPECT_EQ(d.form.cboCaptureDevice.text(), c.shown) << c.device;
        EXPECT_EQ(d.dependents(), c.enabled ? "1111www" : "0000ggg");
        EXPECT_TRUE(d.form.Changed());
    }
}

TEST(PrinterDialog, OKStoresTheEditsAndCancelNothing) {
    const std::vector<std::string> paths = {"\\\\HQFS1\\LJ5N",
                                            std::string("\t\x01\x7f\r\n", 5) + " x "};
    for (const bool ok : {true, false}) {
        for (const std::string& path : paths) {
            Dialog d;
            const auto before = itemsOf(*d.net);
            d.open().form.setVisible(true);
            d.form.chkEnableAdvSettings.userClick();
            d.form.txtPrinterPort.userType("LPT2:");
            d.form.cboCaptureDevice.userSelect(2);
            d.form.txtCapturePath.userType(path);
            d.form.chkCaptureReconnect.userClick();
            (ok ? d.form.cmdOK : d.form.cmdCancel).userClick();
            EXPECT_FALSE(d.form.visible());
            EXPECT_EQ(d.form.Changed(), ok);
            EXPECT_EQ(itemsOf(*d.net),
                      ok ? std::tuple(true, std::string("LPT2:"), std::string("LPT2"), path, true)
                         : before);
        }
    }
}

TEST(PrinterDialog, WithoutANetworkObjectOKDoesNothing) {
    frmPrinter form;
    form.load();
    form.oNetConfig(nullptr);
    form.cmdOK.userClick();
    EXPECT_TRUE(form.Changed());
}

}  // namespace
}  // namespace vtl::ui
