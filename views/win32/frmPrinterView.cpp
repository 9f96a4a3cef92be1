#include "ui/frmPrinter.h"
#include "views/win32/DialogViews.h"

namespace vtl::views {

namespace {

// Advanced Printer Properties: the port frame, the capture frame, OK and Cancel.
class PrinterView : public FormView {
  public:
    explicit PrinterView(ui::frmPrinter& form) : FormView(form), f_(form) {}

  protected:
    SIZE clientSize(const Layout& l) const override { return {l.x(240), l.y(155)}; }
    void build(Binder& b, const Layout& l) override {
        b.frame(f_.Frame1, l.rect(7, 7, 226, 48));
        b.check(f_.chkEnableAdvSettings, l.rect(15, 19, 210, Layout::kCheck));
        b.label(f_.Label1, l.rect(15, 37, 54, Layout::kLabel));
        b.text(f_.txtPrinterPort, l.rect(72, 35, 153, Layout::kEdit));

        b.frame(f_.Frame2, l.rect(7, 61, 226, 66));
        b.label(f_.Label2, l.rect(15, 75, 54, Layout::kLabel));
        b.combo(f_.cboCaptureDevice, l.rect(72, 73, 70, Layout::kCombo), l.y(120));
        b.label(f_.Label3, l.rect(15, 93, 54, Layout::kLabel));
        b.text(f_.txtCapturePath, l.rect(72, 91, 153, Layout::kEdit));
        b.check(f_.chkCaptureReconnect, l.rect(72, 109, 150, Layout::kCheck));

        b.button(f_.cmdOK, l.rect(129, 134, 50, Layout::kButton), nullptr, true);
        b.button(f_.cmdCancel, l.rect(183, 134, 50, Layout::kButton));
    }
    void onClose() override { f_.cmdCancel.userClick(); }

  private:
    ui::frmPrinter& f_;
};

}  // namespace

std::unique_ptr<FormView> makePrinterView(ui::Form& form) {
    return std::make_unique<PrinterView>(static_cast<ui::frmPrinter&>(form));
}

}  // namespace vtl::views
