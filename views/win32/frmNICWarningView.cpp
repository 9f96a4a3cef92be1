#include "ui/frmNICWarning.h"
#include "views/win32/DialogViews.h"

namespace vtl::views {

namespace {

// Warning...: the explanation, the framed list of what is refreshed, the check box and OK.
class NICWarningView : public FormView {
  public:
    explicit NICWarningView(ui::frmNICWarning& form) : FormView(form), f_(form) {}

  protected:
    SIZE clientSize(const Layout& l) const override { return {l.x(230), l.y(144)}; }
    void build(Binder& b, const Layout& l) override {
        b.label(f_.Label1, l.rect(7, 7, 216, 34));
        b.frame(f_.Frame1, l.rect(7, 42, 216, 74));
        int y = 53;
        for (ui::Label* line :
             {&f_.Label2, &f_.Label3, &f_.Label4, &f_.Label5, &f_.Label6, &f_.Label7}) {
            b.label(*line, l.rect(17, y, 120, Layout::kLabel));
            y += 10;
        }
        b.check(f_.chkWarning, l.rect(7, 125, 150, Layout::kCheck));
        b.button(f_.cmdOK, l.rect(173, 123, 50, Layout::kButton), nullptr, true);
    }
    // The close box dismisses the warning without storing the check box.
    void onClose() override { f_.unload(); }

  private:
    ui::frmNICWarning& f_;
};

}  // namespace

std::unique_ptr<FormView> makeNICWarningView(ui::Form& form) {
    return std::make_unique<NICWarningView>(static_cast<ui::frmNICWarning&>(form));
}

}  // namespace vtl::views
