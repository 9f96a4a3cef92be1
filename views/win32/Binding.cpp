#include "views/win32/Binding.h"

#include "views/win32/FormView.h"

namespace vtl::views {

namespace {

int refreshDepth = 0;

struct RefreshGuard {
    RefreshGuard() { ++refreshDepth; }
    ~RefreshGuard() { --refreshDepth; }
    RefreshGuard(const RefreshGuard&) = delete;
    RefreshGuard& operator=(const RefreshGuard&) = delete;
};

std::string nativeText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(window, message, wParam, lParam);
}

const char* const kPanelClass = "VantrelPanel";

LRESULT CALLBACK panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case kLeaveMessage:
            return SendMessageA(GetParent(window), message, wParam, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

void registerPanelClass() {
    static bool done = false;
    if (done)
        return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = panelProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kPanelClass;
    RegisterClassA(&wc);
    done = true;
}

}  // namespace

COLORREF toColorRef(std::uint32_t colour) {
    if (colour & 0x80000000u)
        return GetSysColor(static_cast<int>(colour & 0xFFu));
    return static_cast<COLORREF>(colour & 0xFFFFFFu);
}

// --- Binding ---

Binding::Binding(Binder& binder, ui::Control& control, HWND window)
    : binder_(binder), control_(control), hwnd_(window) {}

void Binding::setText(const std::string& text) {
    if (nativeText(hwnd_) != text)
        SetWindowTextA(hwnd_, text.c_str());
}

void Binding::refresh() {
    if ((IsWindowEnabled(hwnd_) != FALSE) != control_.enabled())
        EnableWindow(hwnd_, control_.enabled() ? TRUE : FALSE);
    const bool shown = (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != control_.visible())
        ShowWindow(hwnd_, control_.visible() ? SW_SHOWNA : SW_HIDE);
    if (control_.toolTip() != toolTip_) {
        TOOLINFOA info{};
        info.cbSize = TTTOOLINFOA_V1_SIZE;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = GetParent(hwnd_);
        info.uId = reinterpret_cast<UINT_PTR>(hwnd_);
        info.lpszText = const_cast<char*>(control_.toolTip().c_str());
        HWND tips = binder_.toolTips();
        if (toolTip_.empty())
            send(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
        else if (control_.toolTip().empty())
            send(tips, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
        else
            send(tips, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
        toolTip_ = control_.toolTip();
    }
}

void LabelBinding::refresh() {
    Binding::refresh();
    setText(control().caption());
}

// --- TextBinding ---

TextBinding::TextBinding(Binder& binder, ui::TextBox& box, HWND window)
    : Binding(binder, box, window), box_(box) {}

void TextBinding::command(int code) {
    if (code == EN_CHANGE) {
        const std::string typed = nativeText(hwnd());
        runUserAction([&] { box_.userType(typed); });
    } else if (code == EN_KILLFOCUS) {
        // Decided once the focus has settled: only a move to another control
        // of the same window is a leave (not a message box or another program).
        PostMessageA(binder_.parent(), kLeaveMessage, 0, reinterpret_cast<LPARAM>(hwnd()));
    }
}

namespace {

// The top-level window that holds `w` (GetAncestor is missing on 95 and NT 4).
HWND topLevel(HWND w) {
    while (w && (GetWindowLongA(w, GWL_STYLE) & WS_CHILD))
        w = GetParent(w);
    return w;
}

}  // namespace

void TextBinding::leave() {
    HWND focus = GetFocus();
    if (!focus || focus == hwnd() || topLevel(focus) != topLevel(hwnd()))
        return;
    runUserAction([&] { box_.userLeave(); });
    if (box_.hasFocus() && IsWindowEnabled(hwnd())) {
        // Validation kept the focus here and selected the bad text.
        SetFocus(hwnd());
        send(hwnd(), EM_SETSEL, box_.selStart(), box_.selStart() + box_.selLength());
    }
}

void TextBinding::refresh() {
    Binding::refresh();
    const auto limit = static_cast<WPARAM>(box_.maxLength());
    send(hwnd(), EM_LIMITTEXT, limit, 0);
    setText(box_.text());
}

// --- CheckBinding, OptionBinding, ButtonBinding ---

void CheckBinding::command(int code) {
    if (code == BN_CLICKED)
        runUserAction([&] { box_.userClick(); });
}

void CheckBinding::refresh() {
    Binding::refresh();
    setText(control().caption());
    const WPARAM state = box_.value() == 1 ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(send(hwnd(), BM_GETCHECK)) != state)
        send(hwnd(), BM_SETCHECK, state);
}

void OptionBinding::command(int code) {
    if (code == BN_CLICKED)
        runUserAction([&] { button_.userClick(); });
}

void OptionBinding::refresh() {
    Binding::refresh();
    setText(control().caption());
    const WPARAM state = button_.value() ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(send(hwnd(), BM_GETCHECK)) != state)
        send(hwnd(), BM_SETCHECK, state);
}

void ButtonBinding::command(int code) {
    if (code == BN_CLICKED)
        runUserAction([&] { button_.userClick(); });
}

void ButtonBinding::refresh() {
    Binding::refresh();
    setText(control().caption());
}

// --- ComboBinding ---

void ComboBinding::command(int code) {
    if (code == CBN_SELCHANGE) {
        const int index = static_cast<int>(send(hwnd(), CB_GETCURSEL));
        runUserAction([&] { box_.userSelect(index); });
    }
}

void ComboBinding::refresh() {
    Binding::refresh();
    if (shown_ != box_.list()) {
        send(hwnd(), CB_RESETCONTENT);
        for (const std::string& item : box_.list())
            send(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        shown_ = box_.list();
    }
    if (static_cast<int>(send(hwnd(), CB_GETCURSEL)) != box_.listIndex())
        send(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(box_.listIndex()));
}

// --- Binder ---

Binder::Binder(HWND parent, HFONT font) : parent_(parent), font_(font) {}

Binder::~Binder() {
    for (auto& entry : brushes_)
        DeleteObject(entry.second);
}

bool Binder::refreshing() {
    return refreshDepth > 0;
}

HWND Binder::createChild(const char* cls, const std::string& text, DWORD style, const RECT& r,
                         HWND parent, DWORD exStyle) {
    const int id = nextId_++;
    HWND window = CreateWindowExA(
        exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
        r.bottom - r.top, parent ? parent : parent_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return window;
}

HWND Binder::panel(const RECT& r, HWND parent) {
    registerPanelClass();
    return createChild(kPanelClass, "", WS_CLIPSIBLINGS, r, parent, WS_EX_CONTROLPARENT);
}

Binding& Binder::adopt(std::unique_ptr<Binding> binding) {
    bindings_.push_back(std::move(binding));
    RefreshGuard guard;
    bindings_.back()->refresh();
    return *bindings_.back();
}

LabelBinding& Binder::label(ui::Label& label, const RECT& r, HWND parent, DWORD style) {
    HWND w = createChild("STATIC", label.caption(), style, r, parent);
    return static_cast<LabelBinding&>(adopt(std::make_unique<LabelBinding>(*this, label, w)));
}

FrameBinding& Binder::frame(ui::Frame& frame, const RECT& r, HWND parent) {
    HWND w = createChild("BUTTON", frame.caption(), BS_GROUPBOX, r, parent);
    return static_cast<FrameBinding&>(adopt(std::make_unique<FrameBinding>(*this, frame, w)));
}

TextBinding& Binder::text(ui::TextBox& box, const RECT& r, HWND parent, DWORD style) {
    if (!(style & ES_MULTILINE))
        style |= ES_AUTOHSCROLL;
    HWND w = createChild("EDIT", box.text(), WS_TABSTOP | style, r, parent, WS_EX_CLIENTEDGE);
    return static_cast<TextBinding&>(adopt(std::make_unique<TextBinding>(*this, box, w)));
}

CheckBinding& Binder::check(ui::CheckBox& box, const RECT& r, HWND parent) {
    HWND w = createChild("BUTTON", box.caption(), WS_TABSTOP | BS_CHECKBOX, r, parent);
    return static_cast<CheckBinding&>(adopt(std::make_unique<CheckBinding>(*this, box, w)));
}

OptionBinding& Binder::option(ui::OptionButton& button, const RECT& r, bool first, HWND parent) {
    HWND w = createChild("BUTTON", button.caption(),
                         WS_TABSTOP | BS_RADIOBUTTON | (first ? WS_GROUP : 0), r, parent);
    return static_cast<OptionBinding&>(adopt(std::make_unique<OptionBinding>(*this, button, w)));
}

ComboBinding& Binder::combo(ui::ComboBox& box, const RECT& r, int dropHeight, HWND parent) {
    RECT dropped = r;
    dropped.bottom = r.top + dropHeight;
    HWND w =
        createChild("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, dropped, parent);
    return static_cast<ComboBinding&>(adopt(std::make_unique<ComboBinding>(*this, box, w)));
}

ButtonBinding& Binder::button(ui::CommandButton& button, const RECT& r, HWND parent,
                              bool isDefault) {
    HWND w = createChild("BUTTON", button.caption(),
                         WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), r, parent);
    return static_cast<ButtonBinding&>(adopt(std::make_unique<ButtonBinding>(*this, button, w)));
}

HWND Binder::toolTips() {
    if (!toolTips_) {
        toolTips_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                    parent_, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    return toolTips_;
}

Binding* Binder::find(HWND window) const {
    for (const auto& b : bindings_) {
        if (b->hwnd() == window)
            return b.get();
    }
    return nullptr;
}

Binding* Binder::find(const ui::Control& control) const {
    for (const auto& b : bindings_) {
        if (&b->control() == &control)
            return b.get();
    }
    return nullptr;
}

bool Binder::command(WPARAM wParam, LPARAM lParam) {
    Binding* binding = find(reinterpret_cast<HWND>(lParam));
    if (!binding)
        return false;
    if (!refreshing())
        binding->command(HIWORD(wParam));
    return true;
}

bool Binder::message(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_COMMAND:
            if (lParam == 0 || !command(wParam, lParam))
                return false;
            result = 0;
            return true;
        case kLeaveMessage:
            if (auto* text = dynamic_cast<TextBinding*>(find(reinterpret_cast<HWND>(lParam)))) {
                text->leave();
                result = 0;
                return true;
            }
            return false;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORLISTBOX:
            if (HBRUSH b = brush(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
                result = reinterpret_cast<LRESULT>(b);
                return true;
            }
            return false;
        default:
            return false;
    }
}

HBRUSH Binder::brush(HWND control, HDC dc) {
    Binding* binding = find(control);
    if (!binding) {
        // The list of a combo box belongs to its combo.
        binding = find(GetParent(control));
    }
    if (!binding || !binding->backColour())
        return nullptr;
    const COLORREF colour = toColorRef(*binding->backColour());
    SetBkColor(dc, colour);
    for (auto& entry : brushes_) {
        if (entry.first == colour)
            return entry.second;
    }
    brushes_.emplace_back(colour, CreateSolidBrush(colour));
    return brushes_.back().second;
}

void Binder::refresh() {
    RefreshGuard guard;
    for (const auto& b : bindings_)
        b->refresh();
}

}  // namespace vtl::views
