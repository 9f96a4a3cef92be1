// The values of the controls of a dialog, without a window. Setting a value
// that differs from the current one runs the control's behaviour, as a
// user's edit would.
#pragma once

#include <functional>
#include <string>

namespace vtl {

// A text box: setting a different text runs Change.
class TextBox {
  public:
    const std::string& Text() const { return text_; }
    void Text(const std::string& text) {
        if (text == text_)
            return;
        text_ = text;
        if (Change)
            Change();
    }
    std::function<void()> Change;

  private:
    std::string text_;
};

// A two-state check box: setting a different value runs Click.
class CheckBox {
  public:
    bool Value() const { return checked_; }
    void Value(bool checked) {
        if (checked == checked_)
            return;
        checked_ = checked;
        if (Click)
            Click();
    }
    std::function<void()> Click;

  private:
    bool checked_ = false;
};

}  // namespace vtl
