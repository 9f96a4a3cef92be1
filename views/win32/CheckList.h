// A list of entries with a check box each (the add-in manager's list): a
// report-style list view with check boxes (comctl32 4.70) bound to a
// ui::ListBox. Ticking a box and selecting an entry reach the model as the
// user's check and selection.
#pragma once

#include <string>
#include <vector>

#include "addins/ListBox.h"
#include "views/win32/Binding.h"

namespace vtl::views {

class CheckListBinding : public Binding {
  public:
    CheckListBinding(Binder& binder, ui::ListBox& list, HWND window);
    void refresh() override;
    // A WM_NOTIFY from the list view; true when it was a user action the model took.
    bool notify(const NMHDR& header);

    // Creates the list view and its binding.
    static CheckListBinding& create(Binder& binder, ui::ListBox& list, const RECT& r);

  private:
    ui::ListBox& list_;
    std::vector<std::string> shown_;
};

}  // namespace vtl::views
