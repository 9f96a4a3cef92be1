#include "ui/frmRestart.h"
#include "views/win32/DialogViews.h"

namespace vtl::views {

namespace {

// Vantrel Restart: the four methods in a frame, "Make Default", OK and Help.
// There is no Cancel: the close box dismisses the dialog without restarting.
class RestartView : public FormView {
  public:
    explicit RestartView(ui::frmRestart& form) : FormView(form), f_(form) {}

  protected:
    SIZE clientSize(const Layout& l) const override { return {l.x(240), l.y(101)}; }
    void build(Binder& b, const Layout& l) override {
        b.frame(f_.fraRestart, l.rect(7, 7, 226, 66));
        b.option(f_.optReboot, l.rect(15, 19, 210, Layout::kCheck), true);
        b.option(f_.optSuspend, l.rect(15, 32, 210, Layout::kCheck), false);
        b.option(f_.optShutdown, l.rect(15, 45, 210, Layout::kCheck), false);
        b.option(f_.optManual, l.rect(15, 58, 210, Layout::kCheck), false);
        startGroup(b.check(f_.chkDefault, l.rect(7, 82, 70, Layout::kCheck)).hwnd());
        b.button(f_.cmdOK, l.rect(129, 80, 50, Layout::kButton), nullptr, true);
        b.button(f_.cmdHelp, l.rect(183, 80, 50, Layout::kButton));
    }

  private:
    ui::frmRestart& f_;
};

}  // namespace

std::unique_ptr<FormView> makeRestartView(ui::Form& form) {
    return std::make_unique<RestartView>(static_cast<ui::frmRestart&>(form));
}

}  // namespace vtl::views
