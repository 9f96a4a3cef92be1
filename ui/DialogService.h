// How the window models reach the user: message boxes and showing other
// forms (the busy pointer is the Screen's, config/Screen.h). Views implement it with real windows;
// the headless front end prints message boxes; tests script it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace vtl::ui {

// A window model: its caption, and what runs when it is loaded and unloaded.
class Form {
  public:
    explicit Form(std::string name) : name_(std::move(name)) {}
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption) { caption_ = std::move(caption); }
    bool visible() const { return visible_; }
    void setVisible(bool on) { visible_ = on; }

    // Form_Load and Form_Unload.
    virtual void load() {}
    virtual void unload() {}

  private:
    std::string name_;
    std::string caption_;
    bool visible_ = false;
};

class DialogService {
  public:
    virtual ~DialogService() = default;

    virtual platform::Answer MsgBox(const std::string& text, std::uint32_t style,
                                    const std::string& caption) = 0;
    // Shows the form and returns once it has been closed.
    virtual void ShowModal(Form& form) = 0;
    // Shows the form and returns at once.
    virtual void ShowModeless(Form& form) = 0;
};

// Without windows: message boxes go to the platform (printed, default answer),
// a modal form is loaded and closed at once as if dismissed.
class HeadlessDialogs : public DialogService {
  public:
    platform::Answer MsgBox(const std::string& text, std::uint32_t style,
                            const std::string& caption) override {
        return platform::sys().MessageBox(text, style, caption);
    }
    void ShowModal(Form& form) override {
        form.load();
        form.unload();
    }
    void ShowModeless(Form& form) override {
        form.load();
        form.setVisible(true);
    }
};

}  // namespace vtl::ui
