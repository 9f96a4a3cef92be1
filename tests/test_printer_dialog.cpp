// The advanced printer dialog on the network objects of the sample machines.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "net/clsNetConfig2K.h"
#include "net/clsNetConfig9x.h"
#include "support/TestImage.h"
#include "ui/frmPrinter.h"

namespace vtl::ui {
namespace {

using test::TestImage;

struct PrinterItemsSnapshot {
    bool enabled;
    std::string port, device, path;
    bool reconnect;
    bool operator==(const PrinterItemsSnapshot&) const = default;
};

PrinterItemsSnapshot itemsOf(const clsNetConfig& net) {
    return {net.EnableAdvPrinterSettings(), net.PrinterPort(), net.PrinterCaptureDev(),
            net.PrinterCapturePath(), net.PrinterCaptureReconnect()};
}

struct Dialog {
    explicit Dialog(const std::string& sample = "win2000") : image(TestImage::sample(sample)) {
        net = sample == "win98" ? std::shared_ptr<clsNetConfig>(new clsNetConfig9x)
                                : std::shared_ptr<clsNetConfig>(new clsNetConfig2K);
        net->loadConfiguration();
    }
    void open() {
        form.load();
        form.oNetConfig(net);
    }
    bool advControlsEnabled() const {
        return form.txtPrinterPort.enabled() && form.cboCaptureDevice.enabled() &&
               form.txtCapturePath.enabled() && form.chkCaptureReconnect.enabled();
    }
    bool advControlsDisabled() const {
        return !form.txtPrinterPort.enabled() && !form.cboCaptureDevice.enabled() &&
               !form.txtCapturePath.enabled() && !form.chkCaptureReconnect.enabled();
    }
    std::vector<std::uint32_t> colours() const {
        return {form.txtPrinterPort.backColor(), form.cboCaptureDevice.backColor(),
                form.txtCapturePath.backColor()};
    }

    std::unique_ptr<TestImage> image;
    std::shared_ptr<clsNetConfig> net;
    frmPrinter form;
};

const std::vector<std::uint32_t> kGrey(3, colour::LightGrey);
const std::vector<std::uint32_t> kWindow(3, colour::WindowBackground);

TEST(PrinterDialog, LoadingSelectsNoCaptureAndCountsAsAChange) {
    Dialog d;
    EXPECT_TRUE(d.advControlsDisabled());
    EXPECT_EQ(d.colours(), kGrey);
    d.form.load();
    EXPECT_TRUE(d.form.Changed());
    EXPECT_EQ(d.form.cboCaptureDevice.text(), "(None)");
    EXPECT_EQ(d.form.cboCaptureDevice.listCount(), 10);
    EXPECT_EQ(d.form.cboCaptureDevice.listAt(9), "LPT9");
    // A second load of the loaded form changes nothing.
    d.form.cboCaptureDevice.userSelect(3);
    d.form.load();
    EXPECT_EQ(d.form.cboCaptureDevice.text(), "LPT3");
}

TEST(PrinterDialog, FillsFromTheNetworkObject) {
    struct Case {
        bool enabled;
        std::string device;
        std::string shownDevice;
    };
    const std::vector<Case> cases = {
        {true, "LPT2", "LPT2"},   {false, "LPT9", "LPT9"}, {true, "(None)", "(None)"},
        {true, "COM1", "(None)"},  // not in the list: the selection stays
        {false, "", "(None)"},
    };
    for (const Case& c : cases) {
        Dialog d;
        d.net->EnableAdvPrinterSettings(c.enabled);
        d.net->PrinterCaptureDev(c.device);
        d.net->PrinterCapturePath("\\\\ENGSRV\\Plotter");
        d.net->PrinterCaptureReconnect(true);
        d.open();
        EXPECT_EQ(d.form.txtPrinterPort.text(), "IP_10.20.30.250");
        EXPECT_EQ(d.form.txtCapturePath.text(), "\\\\ENGSRV\\Plotter");
        EXPECT_EQ(d.form.chkCaptureReconnect.value(), 1);
        EXPECT_EQ(d.form.chkEnableAdvSettings.value(), c.enabled ? 1 : 0);
        EXPECT_EQ(d.form.cboCaptureDevice.text(), c.shownDevice) << c.device;
        EXPECT_EQ(d.advControlsEnabled(), c.enabled);
        EXPECT_EQ(d.advControlsDisabled(), !c.enabled);
        EXPECT_EQ(d.colours(), c.enabled ? kWindow : kGrey);
        EXPECT_TRUE(d.form.Changed());
    }
}

TEST(PrinterDialog, TheCheckBoxSwitchesTheFourControls) {
    Dialog d;
    d.open();
    d.form.chkEnableAdvSettings.userClick();
    EXPECT_TRUE(d.advControlsEnabled());
    EXPECT_EQ(d.colours(), kWindow);
    d.form.chkEnableAdvSettings.userClick();
    EXPECT_TRUE(d.advControlsDisabled());
    EXPECT_EQ(d.colours(), kGrey);
}

TEST(PrinterDialog, OKStoresTheEditsAndCancelNothing) {
    for (const bool ok : {true, false}) {
        Dialog d("win98");
        d.open();
        const PrinterItemsSnapshot before = itemsOf(*d.net);
        d.form.setVisible(true);
        d.form.chkEnableAdvSettings.userClick();
        d.form.txtPrinterPort.userType("LPT2:");
        d.form.cboCaptureDevice.userSelect(2);
        d.form.txtCapturePath.userType("\\\\HQFS1\\LJ5N");
        d.form.chkCaptureReconnect.userClick();
        (ok ? d.form.cmdOK : d.form.cmdCancel).userClick();

        EXPECT_FALSE(d.form.visible());
        EXPECT_EQ(d.form.Changed(), ok);
        const PrinterItemsSnapshot stored{true, "LPT2:", "LPT2", "\\\\HQFS1\\LJ5N", true};
        EXPECT_EQ(itemsOf(*d.net), ok ? stored : before);
    }
}

TEST(PrinterDialog, OddTextsAreStoredAsTyped) {
    const std::vector<std::string> texts = {std::string(10000, 'p'),
                                            " LPT1: ", std::string("\t\x01\x7f\r\n", 5), ""};
    for (const std::string& text : texts) {
        Dialog d;
        d.open();
        d.form.chkEnableAdvSettings.userClick();
        d.form.txtPrinterPort.userType(text);
        d.form.txtCapturePath.userType(text);
        d.form.cmdOK.userClick();
        EXPECT_EQ(d.net->PrinterPort(), text);
        EXPECT_EQ(d.net->PrinterCapturePath(), text);
    }
}

TEST(PrinterDialog, WithoutANetworkObjectOKDoesNothing) {
    frmPrinter form;
    form.load();
    form.oNetConfig(nullptr);
    form.cmdOK.userClick();
    EXPECT_TRUE(form.Changed());
    EXPECT_EQ(form.cboCaptureDevice.text(), "(None)");
}

}  // namespace
}  // namespace vtl::ui
