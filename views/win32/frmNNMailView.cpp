#include "ui/frmNNMail.h"
#include "views/win32/DialogViews.h"

namespace vtl::views {

namespace {

// Netscape E-Mail Settings: one row per setting, a label left of its box.
class NNMailView : public FormView {
  public:
    explicit NNMailView(ui::frmNNMail& form) : FormView(form), f_(form) {}

  protected:
    SIZE clientSize(const Layout& l) const override { return {l.x(261), l.y(kRows * 16 + 48)}; }
    void build(Binder& b, const Layout& l) override {
        struct Row {
            ui::Label& label;
            ui::TextBox& box;
        };
        const Row rows[kRows] = {
            {f_.lblUserProfile, f_.txtUserProfile},
            {f_.lblFullName, f_.txtFullName},
            {f_.lblEMailAddr, f_.txtEMailAddr},
            {f_.lblReplyToAddr, f_.txtReplyToAddr},
            {f_.lblPOP3Server, f_.txtPOP3Server},
            {f_.lblPOP3Login, f_.txtPOP3Login},
            {f_.lblSMTPServer, f_.txtSMTPServer},
            {f_.lblSMTPLogin, f_.txtSMTPLogin},
            {f_.lblOrg, f_.txtOrg},
        };
        int y = 7;
        for (const Row& row : rows) {
            b.label(row.label, l.rect(7, y + 2, 84, Layout::kLabel));
            b.text(row.box, l.rect(94, y, 160, Layout::kEdit));
            y += 16;
        }
        b.label(f_.lblLeaveMail, l.rect(7, y + 1, 84, Layout::kLabel));
        b.check(f_.chkLeaveMail, l.rect(94, y, 12, Layout::kCheck));
        y += 20;
        b.button(f_.cmdOK, l.rect(150, y, 50, Layout::kButton), nullptr, true);
        b.button(f_.cmdCancel, l.rect(204, y, 50, Layout::kButton));
    }
    void onClose() override { f_.cmdCancel.userClick(); }

  private:
    static constexpr int kRows = 9;
    ui::frmNNMail& f_;
};

}  // namespace

std::unique_ptr<FormView> makeNNMailView(ui::Form& form) {
    return std::make_unique<NNMailView>(static_cast<ui::frmNNMail&>(form));
}

}  // namespace vtl::views
