#include "ui/frmPrintSetup.h"
#include "views/win32/DialogViews.h"

namespace vtl::views {

namespace {

// Print Setup: the printer frame, copies, orientation and two-sided printing.
class PrintSetupView : public FormView {
  public:
    explicit PrintSetupView(ui::frmPrintSetup& form) : FormView(form), f_(form) {}

  protected:
    SIZE clientSize(const Layout& l) const override { return {l.x(264), l.y(158)}; }
    void build(Binder& b, const Layout& l) override {
        b.frame(f_.fraPrinter, l.rect(7, 7, 250, 58));
        b.label(f_.lblPrinter, l.rect(15, 21, 36, Layout::kLabel));
        b.combo(f_.cboPrinter, l.rect(54, 19, 195, Layout::kCombo), l.y(100));
        b.label(f_.lblType, l.rect(15, 37, 36, Layout::kLabel));
        b.label(f_.lblTypeValue, l.rect(54, 37, 195, Layout::kLabel), nullptr,
                SS_LEFTNOWORDWRAP | SS_NOPREFIX);
        b.label(f_.lblWhere, l.rect(15, 50, 36, Layout::kLabel));
        b.label(f_.lblWhereValue, l.rect(54, 50, 195, Layout::kLabel), nullptr,
                SS_LEFTNOWORDWRAP | SS_NOPREFIX);

        b.label(f_.lblCopies, l.rect(7, 74, 70, Layout::kLabel));
        b.text(f_.txtCopies, l.rect(80, 72, 30, Layout::kEdit));

        b.frame(f_.fraOrientation, l.rect(7, 90, 110, 40));
        b.option(f_.optPortrait, l.rect(15, 102, 90, Layout::kCheck), true);
        b.option(f_.optLandscape, l.rect(15, 115, 90, Layout::kCheck), false);
        startGroup(b.label(f_.lblDuplex, l.rect(125, 100, 44, Layout::kLabel)).hwnd());
        b.combo(f_.cboDuplex, l.rect(172, 98, 85, Layout::kCombo), l.y(60));

        b.button(f_.cmdOK, l.rect(153, 137, 50, Layout::kButton), nullptr, true);
        b.button(f_.cmdCancel, l.rect(207, 137, 50, Layout::kButton));
    }
    void onClose() override { f_.cmdCancel.userClick(); }

  private:
    ui::frmPrintSetup& f_;
};

}  // namespace

std::unique_ptr<FormView> makePrintSetupView(ui::Form& form) {
    return std::make_unique<PrintSetupView>(static_cast<ui::frmPrintSetup&>(form));
}

}  // namespace vtl::views
