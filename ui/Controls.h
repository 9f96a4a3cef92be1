// Toolkit-free controls: each holds its state and runs its behaviour. The one
// rule for every control: a value set by code that differs from the current
// one runs the control's change or click behaviour; an equal value runs
// nothing. A user's edit enters through the same path (the user* members),
// exactly as a view's event would.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vtl::ui {

// Colours as the window system codes them.
namespace colour {
inline constexpr std::uint32_t WindowBackground = 0x80000005;  // system window colour
inline constexpr std::uint32_t ButtonFace = 0x8000000F;        // system button face
inline constexpr std::uint32_t ActiveBorder = 0x8000000A;      // system colour index 10
inline constexpr std::uint32_t LightGrey = 0xC0C0C0;
}  // namespace colour

using Handler = std::function<void()>;

class Control {
  public:
    explicit Control(std::string name) : name_(std::move(name)) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }
    bool visible() const { return visible_; }
    void setVisible(bool on) { visible_ = on; }
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(std::string tip) { toolTip_ = std::move(tip); }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption) { caption_ = std::move(caption); }

  private:
    std::string name_;
    bool enabled_ = true;
    bool visible_ = true;
    std::string toolTip_;
    std::string caption_;
};

class Label : public Control {
  public:
    using Control::Control;
};

class Frame : public Control {
  public:
    using Control::Control;
};

class TextBox : public Control {
  public:
    using Control::Control;

    const std::string& text() const { return text_; }
    // Code sets any text; the change behaviour runs when it differs.
    void setText(const std::string& text);
    // The user types a whole new text; a box with a MaxLength refuses what is beyond it.
    void userType(const std::string& text);
    // The box loses the focus (where validation runs).
    void userLeave();

    std::size_t maxLength() const { return maxLength_; }  // 0: no limit
    void setMaxLength(std::size_t length) { maxLength_ = length; }
    std::uint32_t backColor() const { return backColor_; }
    void setBackColor(std::uint32_t colour) { backColor_ = colour; }
    // Selection, as validation leaves it to show the bad text.
    std::size_t selStart() const { return selStart_; }
    std::size_t selLength() const { return selLength_; }
    void select(std::size_t start, std::size_t length) {
        selStart_ = start;
        selLength_ = length;
    }
    bool hasFocus() const { return focus_; }
    void setFocus() { focus_ = true; }

    Handler onChange;
    Handler onLostFocus;

  private:
    std::string text_;
    std::size_t maxLength_ = 0;
    std::uint32_t backColor_ = colour::WindowBackground;
    std::size_t selStart_ = 0;
    std::size_t selLength_ = 0;
    bool focus_ = false;
};

class CheckBox : public Control {
  public:
    using Control::Control;

    int value() const { return value_; }  // 0 clear, 1 checked
    void setValue(int value);
    // A user can only click an enabled box.
    void userClick() {
        if (enabled())
            setValue(value_ == 1 ? 0 : 1);
    }

    Handler onClick;

  private:
    int value_ = 0;
};

// Option buttons of one group: exactly one is selected.
class OptionGroup;

class OptionButton : public Control {
  public:
    OptionButton(std::string name, OptionGroup& group);

    bool value() const { return value_; }
    // Selecting one clears the others of its group; only the newly selected one clicks.
    void setValue(bool on);
    void userClick() {
        if (enabled())
            setValue(true);
    }

    Handler onClick;

  private:
    friend class OptionGroup;
    OptionGroup& group_;
    bool value_ = false;
};

class OptionGroup {
  public:
    const std::vector<OptionButton*>& buttons() const { return buttons_; }
    OptionButton* selected() const;

  private:
    friend class OptionButton;
    std::vector<OptionButton*> buttons_;
};

// A drop-down list (or a combo whose text may be typed).
class ComboBox : public Control {
  public:
    using Control::Control;

    const std::vector<std::string>& list() const { return list_; }
    int listCount() const { return static_cast<int>(list_.size()); }
    void addItem(const std::string& item) { list_.push_back(item); }
    // Empties the list; the selection goes to -1 without running the click behaviour.
    void clear();
    const std::string& listAt(int index) const { return list_.at(static_cast<std::size_t>(index)); }

    int listIndex() const { return listIndex_; }
    // Selecting another entry (or -1) runs the click behaviour.
    void setListIndex(int index);
    void userSelect(int index) {
        if (enabled())
            setListIndex(index);
    }
    // The selected entry's text, or the typed text of an editable combo.
    const std::string& text() const { return text_; }
    // Setting the text selects the entry with that text, if any (as a list box does).
    void setText(const std::string& text);

    std::uint32_t backColor() const { return backColor_; }
    void setBackColor(std::uint32_t colour) { backColor_ = colour; }

    Handler onClick;
    Handler onChange;

  private:
    std::uint32_t backColor_ = colour::WindowBackground;
    std::vector<std::string> list_;
    int listIndex_ = -1;
    std::string text_;
};

class CommandButton : public Control {
  public:
    using Control::Control;
    void click() {
        if (onClick)
            onClick();
    }
    void userClick() {
        if (enabled())
            click();
    }
    Handler onClick;
};

class MenuItem : public Control {
  public:
    using Control::Control;

    bool checked() const { return checked_; }
    void setChecked(bool on) { checked_ = on; }
    void click() {
        if (onClick)
            onClick();
    }
    void userClick() {
        if (enabled() && visible())
            click();
    }
    Handler onClick;

  private:
    bool checked_ = false;
};

// The tab control: tabs by index from 0, each enabled or not, one selected.
class TabStrip : public Control {
  public:
    struct Tab {
        std::string caption;
        bool enabled = true;
    };
    TabStrip(std::string name, std::vector<std::string> captions);

    int tabCount() const { return static_cast<int>(tabs_.size()); }
    const Tab& tab(int index) const { return tabs_.at(static_cast<std::size_t>(index)); }
    void setTabEnabled(int index, bool on) {
        tabs_.at(static_cast<std::size_t>(index)).enabled = on;
    }
    int selected() const { return selected_; }
    void select(int index);
    // A user can only pick an enabled tab.
    void userSelect(int index) {
        if (tab(index).enabled)
            select(index);
    }
    Handler onClick;

  private:
    std::vector<Tab> tabs_;
    int selected_ = 0;
};

// The toolbar: buttons by index from 1; check buttons have a value 0/1.
class Toolbar : public Control {
  public:
    struct Button {
        std::string toolTip;
        bool check = false;  // two-state button
        int value = 0;       // 1 pressed
        bool enabled = true;
        bool separator = false;
    };
    Toolbar(std::string name, std::vector<Button> buttons);

    int buttonCount() const { return static_cast<int>(buttons_.size()); }
    const Button& button(int index) const {
        return buttons_.at(static_cast<std::size_t>(index - 1));
    }
    void setButtonEnabled(int index, bool on) { at(index).enabled = on; }
    // Setting a value by code does not click the button.
    void setButtonValue(int index, int value) { at(index).value = value; }
    // The user clicks: a check button toggles first, then the click behaviour runs.
    void userClick(int index);

    std::function<void(int index)> onButtonClick;

  private:
    Button& at(int index) { return buttons_.at(static_cast<std::size_t>(index - 1)); }
    std::vector<Button> buttons_;
};

// The status bar: panels by index from 1.
class StatusBar : public Control {
  public:
    struct Panel {
        std::string text;
        std::string toolTip;
        bool visible = true;
    };
    StatusBar(std::string name, std::vector<Panel> panels);

    int panelCount() const { return static_cast<int>(panels_.size()); }
    const Panel& panel(int index) const { return panels_.at(static_cast<std::size_t>(index - 1)); }
    Panel& panel(int index) { return panels_.at(static_cast<std::size_t>(index - 1)); }

  private:
    std::vector<Panel> panels_;
};

}  // namespace vtl::ui
