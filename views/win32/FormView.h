// How to write a view with this toolkit
// -------------------------------------
// A view draws one model form (ui::Form) and holds no behaviour:
//
//   class AboutView : public FormView {
//     public:
//       explicit AboutView(ui::frmAbout& form) : FormView(form), form_(form) {}
//     protected:
//       SIZE clientSize(const Layout& l) const override { return {l.x(200), l.y(80)}; }
//       void build(Binder& b, const Layout& l) override {
//           b.label(form_.lblTitle, l.rect(7, 7, 186, 8));      // create in tab order
//           b.button(form_.cmdOK, l.rect(143, 59, 50, 14), nullptr, true);
//       }
//       void onClose() override { form_.cmdOK.userClick(); }  // the frame's close box
//     private:
//       ui::frmAbout& form_;
//   };
//
// and register it with the dialog service, by the form's name:
//
//   dialogs.registerView("frmAbout", [](ui::Form& f) {
//       return std::make_unique<AboutView>(static_cast<ui::frmAbout&>(f));
//   });
//
// Then `dialogs.ShowModal(form)` loads the form, shows the view until the model
// hides the form (its OK or Cancel sets visible false) and unloads it. Every
// user action goes to the model through the bindings (Binding.h); afterwards
// every open view is refreshed from its model. Place controls with Layout
// (dialog units of the system font) and check them with auditLayout.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "ui/DialogService.h"
#include "views/win32/Binding.h"
#include "views/win32/Layout.h"
#include "views/win32/Native.h"

namespace vtl::views {

// Something on screen that redraws itself from its model.
class Refreshable {
  public:
    Refreshable();
    virtual ~Refreshable();
    Refreshable(const Refreshable&) = delete;
    Refreshable& operator=(const Refreshable&) = delete;
    virtual void refresh() = 0;
};

// Refreshes everything on screen from the models.
void refreshAll();

// Runs a user's action on a model, then refreshes everything on screen. An
// error the model lets through is shown as a warning; the window stays usable.
void runUserAction(const std::function<void()>& action);

// A top-level window showing one form.
class FormView : public Refreshable {
  public:
    explicit FormView(ui::Form& form);
    ~FormView() override;

    ui::Form& form() const { return form_; }
    HWND hwnd() const { return hwnd_; }
    Binder& binder() { return *binder_; }

    // Creates the window owned by `owner`, builds the controls and shows it.
    void create(HWND owner);
    void destroy();
    void refresh() override;

    // The window class of every form view.
    static const char* windowClass();

  protected:
    // The client area this form needs.
    virtual SIZE clientSize(const Layout& layout) const = 0;
    // Creates the native controls through the binder, in tab order.
    virtual void build(Binder& binder, const Layout& layout) = 0;
    // The frame's close box; by default the form is hidden (dismissed).
    virtual void onClose() { form_.setVisible(false); }
    // More than the bindings to redraw (called by refresh).
    virtual void refreshMore() {}
    // Messages a view handles itself; return true when handled.
    virtual bool handle(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                        LRESULT& /*result*/) {
        return false;
    }

  private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    ui::Form& form_;
    HWND hwnd_ = nullptr;
    std::unique_ptr<Binder> binder_;
    std::string caption_;
};

}  // namespace vtl::views
