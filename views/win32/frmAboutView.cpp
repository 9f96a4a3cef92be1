#include "ui/frmAbout.h"
#include "views/win32/DialogViews.h"

namespace vtl::views {

namespace {

// About Vantrel: the title in bold, the version, one line on what the program does, OK.
class AboutView : public FormView {
  public:
    explicit AboutView(ui::frmAbout& form) : FormView(form), f_(form) {}
    ~AboutView() override {
        if (bold_)
            DeleteObject(bold_);
    }

  protected:
    SIZE clientSize(const Layout& l) const override { return {l.x(220), l.y(79)}; }
    void build(Binder& b, const Layout& l) override {
        HWND title = b.label(f_.lblTitle, l.rect(7, 7, 206, Layout::kLabel)).hwnd();
        LOGFONTA font{};
        GetObjectA(b.font(), sizeof font, &font);
        font.lfWeight = FW_BOLD;
        bold_ = CreateFontIndirectA(&font);
        SendMessageA(title, WM_SETFONT, reinterpret_cast<WPARAM>(bold_), FALSE);
        b.label(f_.lblVersion, l.rect(7, 19, 206, Layout::kLabel));
        b.label(f_.lblDescription, l.rect(7, 33, 206, 18));
        b.button(f_.cmdOK, l.rect(163, 58, 50, Layout::kButton), nullptr, true);
    }
    void onClose() override { f_.cmdOK.userClick(); }

  private:
    ui::frmAbout& f_;
    HFONT bold_ = nullptr;
};

}  // namespace

std::unique_ptr<FormView> makeAboutView(ui::Form& form) {
    return std::make_unique<AboutView>(static_cast<ui::frmAbout&>(form));
}

}  // namespace vtl::views
