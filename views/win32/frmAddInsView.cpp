#include "addins/frmAddIns.h"
#include "views/win32/CheckList.h"
#include "views/win32/DialogViews.h"

namespace vtl::views {

namespace {

// Add-In Manager: the check list left, the selected add-in's frame right, the buttons below it.
class AddInsView : public FormView {
  public:
    explicit AddInsView(frmAddIns& form) : FormView(form), f_(form) {}

  protected:
    SIZE clientSize(const Layout& l) const override { return {l.x(312), l.y(126)}; }
    void build(Binder& b, const Layout& l) override {
        list_ = &CheckListBinding::create(b, f_.lstAddIns, l.rect(7, 7, 130, 112));
        b.frame(f_.frAddIn, l.rect(145, 7, 160, 76));
        b.label(f_.lblFile, l.rect(153, 20, 144, Layout::kLabel));
        b.text(f_.txtFile, l.rect(153, 30, 144, Layout::kEdit), nullptr, ES_READONLY);
        b.label(f_.lblVersion, l.rect(153, 48, 144, Layout::kLabel));
        b.text(f_.txtVersion, l.rect(153, 58, 144, Layout::kEdit), nullptr, ES_READONLY);
        b.button(f_.cmdAbout, l.rect(145, 88, 50, Layout::kButton));
        b.button(f_.cmdOK, l.rect(145, 105, 50, Layout::kButton), nullptr, true);
        b.button(f_.cmdCancel, l.rect(200, 105, 50, Layout::kButton));
        b.button(f_.cmdHelp, l.rect(255, 105, 50, Layout::kButton));
    }
    bool handle(UINT message, WPARAM, LPARAM lParam, LRESULT& result) override {
        if (message != WM_NOTIFY || !list_ || Binder::refreshing())
            return false;
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.hwndFrom != list_->hwnd())
            return false;
        runUserAction([&] { list_->notify(header); });
        result = 0;
        return true;
    }
    void onClose() override { f_.cmdCancel.userClick(); }

  private:
    frmAddIns& f_;
    CheckListBinding* list_ = nullptr;
};

}  // namespace

std::unique_ptr<FormView> makeAddInsView(ui::Form& form) {
    return std::make_unique<AddInsView>(static_cast<frmAddIns&>(form));
}

}  // namespace vtl::views
