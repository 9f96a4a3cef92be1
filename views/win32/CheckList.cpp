#include "views/win32/CheckList.h"

#include <memory>

namespace vtl::views {

namespace {

// State images of a list view with check boxes: 1 clear, 2 checked (0 none yet).
int stateImage(UINT state) {
    return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
}

}  // namespace

CheckListBinding::CheckListBinding(Binder& binder, ui::ListBox& list, HWND window)
    : Binding(binder, list, window), list_(list) {}

CheckListBinding& CheckListBinding::create(Binder& binder, ui::ListBox& list, const RECT& r) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER |
                        LVS_SINGLESEL | LVS_SHOWSELALWAYS;
    HWND view = binder.createChild(WC_LISTVIEWA, "", style, r, nullptr, WS_EX_CLIENTEDGE);
    SendMessageA(view, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    RECT client;
    GetClientRect(view, &client);
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = client.right - GetSystemMetrics(SM_CXVSCROLL);
    SendMessageA(view, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    auto binding = std::make_unique<CheckListBinding>(binder, list, view);
    return static_cast<CheckListBinding&>(binder.adopt(std::move(binding)));
}

void CheckListBinding::refresh() {
    Binding::refresh();
    HWND view = hwnd();
    std::vector<std::string> items;
    for (int i = 0; i < list_.listCount(); ++i)
        items.push_back(list_.listAt(i));
    if (items != shown_) {
        SendMessageA(view, LVM_DELETEALLITEMS, 0, 0);
        for (std::size_t i = 0; i < items.size(); ++i) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(i);
            item.pszText = const_cast<char*>(items[i].c_str());
            SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        shown_ = items;
    }
    for (int i = 0; i < list_.listCount(); ++i) {
        const UINT wanted = INDEXTOSTATEIMAGEMASK(list_.selected(i) ? 2 : 1) |
                            (i == list_.listIndex() ? LVIS_SELECTED | LVIS_FOCUSED : 0);
        const UINT mask = LVIS_STATEIMAGEMASK | LVIS_SELECTED | LVIS_FOCUSED;
        const auto shown = static_cast<UINT>(SendMessageA(view, LVM_GETITEMSTATE, i, mask));
        if (shown != wanted) {
            LVITEMA item{};
            item.stateMask = mask;
            item.state = wanted;
            SendMessageA(view, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
        }
    }
}

bool CheckListBinding::notify(const NMHDR& header) {
    if (header.hwndFrom != hwnd() || header.code != LVN_ITEMCHANGED || Binder::refreshing())
        return false;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uChanged & LVIF_STATE) == 0 || change.iItem < 0 ||
        change.iItem >= list_.listCount())
        return false;
    const int before = stateImage(change.uOldState);
    const int after = stateImage(change.uNewState);
    bool taken = false;
    if (before != 0 && after != 0 && before != after &&
        list_.selected(change.iItem) != (after == 2)) {
        list_.userCheck(change.iItem);
        taken = true;
    }
    if ((change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0) {
        list_.userSelect(change.iItem);
        taken = true;
    }
    return taken;
}

}  // namespace vtl::views
