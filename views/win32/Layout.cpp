#include "views/win32/Layout.h"

namespace vtl::views {

namespace {

std::string withoutAccelerators(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

SIZE textExtent(HFONT font, const std::string& text) {
    SIZE size{0, 0};
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    const std::string shown = withoutAccelerators(text);
    GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size;
}

std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string windowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string describe(HWND window) {
    return className(window) + " \"" + windowText(window) + "\" (id " +
           std::to_string(GetDlgCtrlID(window)) + ")";
}

// The rectangle of `child` in its parent's client coordinates.
RECT placeIn(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool isGroupBox(HWND window) {
    return className(window) == "Button" &&
           (GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

bool inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

// Space a control leaves for its text beside its own decoration.
int textRoom(HWND window, const RECT& r) {
    const int width = r.right - r.left;
    if (className(window) != "Button")
        return width;
    const LONG type = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
    switch (type) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return width - GetSystemMetrics(SM_CXMENUCHECK) - 4;
        case BS_GROUPBOX:
            return width - 16;
        default:
            return width - 6;
    }
}

bool showsOwnText(HWND window) {
    const std::string cls = className(window);
    if (cls == "Static")
        return (GetWindowLongA(window, GWL_STYLE) & SS_TYPEMASK) <= SS_RIGHT;
    return cls == "Button";
}

void auditChildren(HWND parent, std::vector<std::string>& problems) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (IsWindowVisible(c))
            children.push_back(c);
    }
    RECT client;
    GetClientRect(parent, &client);
    for (HWND c : children) {
        const RECT r = placeIn(c);
        if (!inside(r, client))
            problems.push_back(describe(c) + " reaches outside its parent");
        const std::string text = windowText(c);
        if (showsOwnText(c) && !text.empty() &&
            (GetWindowLongA(c, GWL_STYLE) & (BS_MULTILINE)) == 0) {
            HFONT font = reinterpret_cast<HFONT>(SendMessageA(c, WM_GETFONT, 0, 0));
            if (!font)
                font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
            const SIZE size = textExtent(font, text);
            const bool wraps = className(c) == "Static" && (r.bottom - r.top) >= 2 * size.cy;
            if (!wraps && size.cx > textRoom(c, r))
                problems.push_back(describe(c) + " cuts its text off");
        }
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        for (std::size_t j = i + 1; j < children.size(); ++j) {
            const RECT a = placeIn(children[i]);
            const RECT b = placeIn(children[j]);
            RECT common;
            if (!IntersectRect(&common, &a, &b))
                continue;
            if ((isGroupBox(children[i]) && inside(b, a)) ||
                (isGroupBox(children[j]) && inside(a, b)))
                continue;
            problems.push_back(describe(children[i]) + " overlaps " + describe(children[j]));
        }
    }
    for (HWND c : children)
        auditChildren(c, problems);
}

}  // namespace

Layout::Layout(HFONT font)
    : font_(font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font_);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SIZE size;
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    GetTextExtentPoint32A(dc, kAlphabet, 52, &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    baseX_ = (size.cx / 26 + 1) / 2;
    baseY_ = metrics.tmHeight;
    if (baseX_ <= 0)
        baseX_ = 6;
    if (baseY_ <= 0)
        baseY_ = 13;
}

RECT Layout::rect(int dluX, int dluY, int dluW, int dluH) const {
    const RECT r{x(dluX), y(dluY), x(dluX + dluW), y(dluY + dluH)};
    return r;
}

int Layout::textWidth(const std::string& text) const {
    const SIZE size = textExtent(font_, text);
    return (size.cx * 4 + baseX_ - 1) / baseX_;
}

std::vector<std::string> auditLayout(HWND top) {
    std::vector<std::string> problems;
    auditChildren(top, problems);
    return problems;
}

}  // namespace vtl::views
