#include "ui/Controls.h"

#include <stdexcept>

namespace vtl::ui {

namespace {
void run(const Handler& handler) {
    if (handler)
        handler();
}
}  // namespace

void TextBox::setText(const std::string& text) {
    if (text == text_)
        return;
    text_ = text;
    selStart_ = selLength_ = 0;
    run(onChange);
}

void TextBox::userType(const std::string& text) {
    if (!enabled())
        return;
    focus_ = true;
    setText(maxLength_ > 0 && text.size() > maxLength_ ? text.substr(0, maxLength_) : text);
}

void TextBox::userLeave() {
    focus_ = false;
    run(onLostFocus);
}

void CheckBox::setValue(int value) {
    if (value == value_)
        return;
    value_ = value;
    run(onClick);
}

OptionButton::OptionButton(std::string name, OptionGroup& group)
    : Control(std::move(name)), group_(group) {
    group_.buttons_.push_back(this);
}

void OptionButton::setValue(bool on) {
    if (on == value_)
        return;
    if (on) {
        for (OptionButton* other : group_.buttons_) {
            if (other != this)
                other->value_ = false;
        }
    }
    value_ = on;
    if (on)
        run(onClick);
}

OptionButton* OptionGroup::selected() const {
    for (OptionButton* button : buttons_) {
        if (button->value())
            return button;
    }
    return nullptr;
}

void ComboBox::clear() {
    list_.clear();
    listIndex_ = -1;
    text_.clear();
}

void ComboBox::setListIndex(int index) {
    if (index < -1 || index >= listCount())
        throw std::out_of_range("Invalid property value");
    if (index == listIndex_)
        return;
    listIndex_ = index;
    text_ = index >= 0 ? list_[static_cast<std::size_t>(index)] : std::string();
    run(onClick);
}

void ComboBox::setText(const std::string& text) {
    for (int i = 0; i < listCount(); ++i) {
        if (list_[static_cast<std::size_t>(i)] == text) {
            setListIndex(i);
            return;
        }
    }
    if (text == text_)
        return;
    text_ = text;
    run(onChange);
}

TabStrip::TabStrip(std::string name, std::vector<std::string> captions) : Control(std::move(name)) {
    for (auto& caption : captions)
        tabs_.push_back({std::move(caption), true});
}

void TabStrip::select(int index) {
    if (index < 0 || index >= tabCount())
        throw std::out_of_range("Invalid property value");
    if (index == selected_)
        return;
    selected_ = index;
    run(onClick);
}

Toolbar::Toolbar(std::string name, std::vector<Button> buttons)
    : Control(std::move(name)), buttons_(std::move(buttons)) {}

void Toolbar::userClick(int index) {
    Button& b = at(index);
    if (!b.enabled || b.separator)
        return;
    if (b.check)
        b.value = b.value == 1 ? 0 : 1;
    if (onButtonClick)
        onButtonClick(index);
}

StatusBar::StatusBar(std::string name, std::vector<Panel> panels)
    : Control(std::move(name)), panels_(std::move(panels)) {}

}  // namespace vtl::ui
