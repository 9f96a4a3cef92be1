// The dialog service of the Windows program: real message boxes, and each
// form shown by the view registered under its name (FormView.h tells how to
// write one). In an unattended run (VANTREL_UNATTENDED set) or with the
// test hooks, nothing waits for a user.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/DialogService.h"
#include "views/win32/FormView.h"

namespace vtl::views {

class Win32Dialogs : public ui::DialogService {
  public:
    using Factory = std::function<std::unique_ptr<FormView>(ui::Form&)>;

    void registerView(const std::string& formName, Factory factory);
    bool hasView(const std::string& formName) const { return factories_.count(formName) > 0; }

    // The window that owns message boxes and dialogs (the main window).
    void setOwner(HWND owner) { owner_ = owner; }
    HWND owner() const { return owner_; }

    platform::Answer MsgBox(const std::string& text, std::uint32_t style,
                            const std::string& caption) override;
    // Loads the form, shows its view with the other windows disabled until the
    // model hides the form, then unloads it. A form without a view is loaded
    // and unloaded at once, as if dismissed.
    void ShowModal(ui::Form& form) override;
    // Loads the form and shows its view; the view closes when the model hides the form.
    void ShowModeless(ui::Form& form) override;

    // Number of modal forms open now.
    int modalDepth() const { return modalDepth_; }
    // The innermost modal view, if any.
    FormView* activeModal() const { return modal_.empty() ? nullptr : modal_.back(); }
    // Closes the modeless views and unloads their forms (when the main window goes).
    void closeModeless();

    // --- Test and unattended hooks. ---
    // Answers a message box instead of showing it (nullopt: show it).
    std::function<std::optional<platform::Answer>(const std::string& text, std::uint32_t style,
                                                  const std::string& caption)>
        answer;
    // Called once a modal view is shown; it may drive the view. Should the form
    // still be visible afterwards, the modal loop waits for the user.
    std::function<void(FormView& view)> onModal;
    // The message boxes shown or answered, in order ("caption: text").
    std::vector<std::string> messages;

  private:
    std::unique_ptr<FormView> makeView(ui::Form& form);
    // Hides the modeless views whose forms the models have hidden.
    class ModelessWatch : public Refreshable {
      public:
        explicit ModelessWatch(Win32Dialogs& owner) : owner_(owner) {}
        void refresh() override;

      private:
        Win32Dialogs& owner_;
    };
    ModelessWatch watch_{*this};

    HWND owner_ = nullptr;
    int modalDepth_ = 0;
    std::vector<FormView*> modal_;
    std::map<std::string, Factory> factories_;
    std::vector<std::unique_ptr<FormView>> modeless_;
};

}  // namespace vtl::views
