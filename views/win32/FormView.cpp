#include "views/win32/FormView.h"

#include <algorithm>
#include <exception>

#include "config/clsVtlConfig.h"
#include "config/modAPI.h"

namespace vtl::views {

namespace {

std::vector<Refreshable*>& live() {
    static std::vector<Refreshable*> list;
    return list;
}

}  // namespace

Refreshable::Refreshable() {
    live().push_back(this);
}

Refreshable::~Refreshable() {
    auto& list = live();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void refreshAll() {
    // A refresh may open or close nothing, but copy in case a view goes meanwhile.
    const std::vector<Refreshable*> now = live();
    for (Refreshable* r : now) {
        if (std::find(live().begin(), live().end(), r) != live().end())
            r->refresh();
    }
}

void runUserAction(const std::function<void()>& action) {
    if (Binder::refreshing())
        return;
    try {
        action();
    } catch (const ProgramEnd&) {
        PostQuitMessage(0);
        return;
    } catch (const std::exception& e) {
        MessageBoxA(GetActiveWindow(), e.what(), kAppName, MB_OK | MB_ICONEXCLAMATION);
    }
    refreshAll();
}

FormView::FormView(ui::Form& form) : form_(form) {}

FormView::~FormView() {
    destroy();
}

const char* FormView::windowClass() {
    static const char* const name = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "VantrelForm";
        RegisterClassA(&wc);
        return "VantrelForm";
    }();
    return name;
}

void FormView::create(HWND owner) {
    const Layout layout;
    const SIZE client = clientSize(layout);
    // No WS_CLIPCHILDREN: group boxes are transparent, the form paints beneath them.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // Centred on the owner, else on the screen.
    RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &around);
    const int x = std::max(0L, around.left + (around.right - around.left - width) / 2);
    const int y = std::max(0L, around.top + (around.bottom - around.top - height) / 2);

    caption_ = form_.caption();
    hwnd_ = CreateWindowExA(exStyle, windowClass(), caption_.c_str(), style, x, y, width, height,
                            owner, nullptr, GetModuleHandleA(nullptr), this);
    binder_ = std::make_unique<Binder>(hwnd_, layout.font());
    build(*binder_, layout);
    refresh();
    ShowWindow(hwnd_, SW_SHOW);
    // The first control that takes the focus; in an option group, its chosen button.
    HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (first && (GetWindowLongA(first, GWL_STYLE) & BS_TYPEMASK) == BS_RADIOBUTTON) {
        for (HWND w = first; w; w = GetWindow(w, GW_HWNDNEXT)) {
            if (w != first && (GetWindowLongA(w, GWL_STYLE) & WS_GROUP))
                break;
            if (SendMessageA(w, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                first = w;
                break;
            }
        }
    }
    if (first)
        SetFocus(first);
}

void FormView::destroy() {
    if (hwnd_) {
        HWND window = hwnd_;
        hwnd_ = nullptr;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    binder_.reset();
}

void FormView::refresh() {
    if (!hwnd_ || !binder_)
        return;
    binder_->refresh();
    if (form_.caption() != caption_) {
        caption_ = form_.caption();
        SetWindowTextA(hwnd_, caption_.c_str());
    }
    refreshMore();
}

LRESULT CALLBACK FormView::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* view = reinterpret_cast<FormView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!view || !view->binder_)
        return DefWindowProcA(window, message, wParam, lParam);
    return view->dispatch(message, wParam, lParam);
}

LRESULT FormView::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (handle(message, wParam, lParam, result))
        return result;
    if (binder_->message(message, wParam, lParam, result))
        return result;
    switch (message) {
        case WM_COMMAND:
            // Enter and Esc of the dialog manager.
            if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
                runUserAction([this] { onClose(); });
                return 0;
            }
            break;
        case WM_CLOSE:
            runUserAction([this] { onClose(); });
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

}  // namespace vtl::views
