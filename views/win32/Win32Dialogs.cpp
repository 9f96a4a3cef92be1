#include "views/win32/Win32Dialogs.h"

#include <cstdlib>

#include "config/modAPI.h"

namespace vtl::views {

namespace {

struct WindowSearch {
    HWND except;
    std::vector<HWND> found;
};

BOOL CALLBACK collectEnabled(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<WindowSearch*>(p);
    if (w != s->except && IsWindowVisible(w) && IsWindowEnabled(w))
        s->found.push_back(w);
    return TRUE;
}

// The top-level windows of this thread that are enabled and shown.
std::vector<HWND> enabledWindows(HWND except) {
    WindowSearch search{except, {}};
    EnumThreadWindows(GetCurrentThreadId(), collectEnabled, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

void Win32Dialogs::registerView(const std::string& formName, Factory factory) {
    factories_[formName] = std::move(factory);
}

std::unique_ptr<FormView> Win32Dialogs::makeView(ui::Form& form) {
    const auto found = factories_.find(form.name());
    return found == factories_.end() ? nullptr : found->second(form);
}

platform::Answer Win32Dialogs::MsgBox(const std::string& text, std::uint32_t style,
                                      const std::string& caption) {
    const std::string title = caption.empty() ? std::string(kAppName) : caption;
    messages.push_back(title + ": " + text);
    if (answer) {
        if (auto given = answer(text, style, title))
            return *given;
    }
    char unattended[2] = {};
    if (GetEnvironmentVariableA("VANTREL_UNATTENDED", unattended, sizeof unattended) > 0) {
        // The platform's box writes the one line and gives the default answer.
#pragma push_macro("MessageBox")
#undef MessageBox
        return platform::sys().MessageBox(text, style, title);
#pragma pop_macro("MessageBox")
    }
    HWND over = activeModal() ? activeModal()->hwnd() : owner_;
    if (over && !IsWindowVisible(over))
        over = nullptr;
    return static_cast<platform::Answer>(
        MessageBoxA(over, text.c_str(), title.c_str(), style | MB_SETFOREGROUND));
}

void Win32Dialogs::ShowModal(ui::Form& form) {
    form.load();
    std::unique_ptr<FormView> view = makeView(form);
    if (!view) {
        form.unload();
        return;
    }
    form.setVisible(true);
    HWND parent = activeModal() ? activeModal()->hwnd() : owner_;
    const std::vector<HWND> disabled = enabledWindows(nullptr);
    for (HWND w : disabled)
        EnableWindow(w, FALSE);
    ++modalDepth_;
    modal_.push_back(view.get());
    view->create(parent);
    if (onModal)
        onModal(*view);
    bool quit = false;
    MSG msg;
    while (form.visible() && IsWindow(view->hwnd())) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            quit = true;
            break;
        }
        if (!IsDialogMessageA(view->hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // Re-enable the others before the dialog goes, so the focus returns to them.
    for (HWND w : disabled) {
        if (IsWindow(w))
            EnableWindow(w, TRUE);
    }
    modal_.pop_back();
    --modalDepth_;
    view->destroy();
    form.setVisible(false);
    form.unload();
    if (parent && IsWindow(parent))
        SetActiveWindow(parent);
    if (quit)
        PostQuitMessage(static_cast<int>(msg.wParam));
}

void Win32Dialogs::ModelessWatch::refresh() {
    for (auto& view : owner_.modeless_) {
        if (!view->form().visible() && view->hwnd() && IsWindowVisible(view->hwnd()))
            ShowWindow(view->hwnd(), SW_HIDE);
    }
}

void Win32Dialogs::ShowModeless(ui::Form& form) {
    form.load();
    form.setVisible(true);
    // Views of forms closed since go now.
    std::erase_if(modeless_, [](const std::unique_ptr<FormView>& v) {
        return !v->form().visible() || !IsWindow(v->hwnd());
    });
    for (auto& open : modeless_) {
        if (&open->form() == &form) {
            SetForegroundWindow(open->hwnd());
            return;
        }
    }
    std::unique_ptr<FormView> view = makeView(form);
    if (!view)
        return;
    view->create(owner_);
    modeless_.push_back(std::move(view));
}

void Win32Dialogs::closeModeless() {
    for (auto& view : modeless_) {
        view->destroy();
        view->form().unload();
    }
    modeless_.clear();
}

}  // namespace vtl::views
