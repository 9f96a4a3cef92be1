#include "ui/frmOptions.h"
#include "views/win32/DialogViews.h"

namespace vtl::views {

namespace {

// Vantrel Options: three frames above the OK, Cancel and Help buttons.
class OptionsView : public FormView {
  public:
    explicit OptionsView(ui::frmOptions& form) : FormView(form), f_(form) {}

  protected:
    SIZE clientSize(const Layout& l) const override { return {l.x(264), l.y(225)}; }
    void build(Binder& b, const Layout& l) override {
        b.frame(f_.fraStartup, l.rect(7, 7, 250, 42));
        b.check(f_.chkStartup, l.rect(15, 19, 234, Layout::kCheck));
        b.check(f_.chkShutdown, l.rect(15, 32, 234, Layout::kCheck));

        b.frame(f_.fraRestart, l.rect(7, 54, 250, 66));
        b.option(f_.optManual, l.rect(15, 66, 234, Layout::kCheck), true);
        b.option(f_.optReboot, l.rect(15, 79, 234, Layout::kCheck), false);
        b.option(f_.optShutdown, l.rect(15, 92, 234, Layout::kCheck), false);
        b.option(f_.optSuspend, l.rect(15, 105, 234, Layout::kCheck), false);

        startGroup(b.frame(f_.fraMisc, l.rect(7, 125, 250, 72)).hwnd());
        b.check(f_.chkAssociate, l.rect(15, 137, 234, Layout::kCheck));
        b.label(f_.lblMaxRecent, l.rect(15, 152, 200, Layout::kLabel));
        b.text(f_.txtMaxRecent, l.rect(219, 150, 30, Layout::kEdit));
        b.check(f_.chkAutoApply, l.rect(15, 166, 234, Layout::kCheck));
        b.check(f_.chkSystemTray, l.rect(15, 180, 234, Layout::kCheck));

        b.button(f_.cmdOK, l.rect(99, 204, 50, Layout::kButton), nullptr, true);
        b.button(f_.cmdCancel, l.rect(153, 204, 50, Layout::kButton));
        b.button(f_.cmdHelp, l.rect(207, 204, 50, Layout::kButton));
    }
    void onClose() override { f_.cmdCancel.userClick(); }

  private:
    ui::frmOptions& f_;
};

}  // namespace

std::unique_ptr<FormView> makeOptionsView(ui::Form& form) {
    return std::make_unique<OptionsView>(static_cast<ui::frmOptions&>(form));
}

}  // namespace vtl::views
