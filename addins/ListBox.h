// A list box whose entries may carry check boxes. Like every control, a
// selection or check state set by code that differs from the current one runs
// the behaviour (onClick for the selection, onItemCheck for a check box).
#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/Controls.h"

namespace vtl::ui {

class ListBox : public Control {
  public:
    using Control::Control;

    int listCount() const { return static_cast<int>(items_.size()); }
    const std::string& listAt(int index) const { return item(index).text; }
    void addItem(const std::string& text) { items_.push_back({text, false}); }
    // Removing the selected entry leaves no selection (no click).
    void removeItem(int index) {
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(valid(index)));
        if (listIndex_ == index)
            listIndex_ = -1;
        else if (listIndex_ > index)
            --listIndex_;
    }
    void clear() {
        items_.clear();
        listIndex_ = -1;
    }

    // The check box of an entry.
    bool selected(int index) const { return item(index).checked; }
    void setSelected(int index, bool on) {
        if (item(index).checked == on)
            return;
        items_[valid(index)].checked = on;
        if (onItemCheck)
            onItemCheck(index);
    }
    void userCheck(int index) {
        if (enabled())
            setSelected(index, !selected(index));
    }

    int listIndex() const { return listIndex_; }
    void setListIndex(int index) {
        if (index != -1)
            valid(index);
        if (index == listIndex_)
            return;
        listIndex_ = index;
        if (onClick)
            onClick();
    }
    void userSelect(int index) {
        if (enabled())
            setListIndex(index);
    }
    // The selected entry's text, or "" without a selection.
    std::string text() const { return listIndex_ < 0 ? std::string() : listAt(listIndex_); }

    Handler onClick;
    std::function<void(int index)> onItemCheck;

  private:
    struct Item {
        std::string text;
        bool checked;
    };
    std::size_t valid(int index) const {
        if (index < 0 || index >= listCount())
            throw std::out_of_range("list index out of range");
        return static_cast<std::size_t>(index);
    }
    const Item& item(int index) const { return items_[valid(index)]; }

    std::vector<Item> items_;
    int listIndex_ = -1;
};

}  // namespace vtl::ui
