#include "ui/frmNetscape.h"
#include "views/win32/DialogViews.h"

namespace vtl::views {

namespace {

// Warning...: the message, the check box and OK.
class NetscapeView : public FormView {
  public:
    explicit NetscapeView(ui::frmNetscape& form) : FormView(form), f_(form) {}

  protected:
    SIZE clientSize(const Layout& l) const override { return {l.x(230), l.y(61)}; }
    void build(Binder& b, const Layout& l) override {
        b.label(f_.lblWarning, l.rect(7, 7, 216, 26));
        b.check(f_.chkWarning, l.rect(7, 42, 150, Layout::kCheck));
        b.button(f_.cmdOK, l.rect(173, 40, 50, Layout::kButton), nullptr, true);
    }

  private:
    ui::frmNetscape& f_;
};

}  // namespace

std::unique_ptr<FormView> makeNetscapeView(ui::Form& form) {
    return std::make_unique<NetscapeView>(static_cast<ui::frmNetscape&>(form));
}

}  // namespace vtl::views
