#include "views/win32/MainWindowView.h"

#include <algorithm>

#include "config/Screen.h"
#include "ui/AdvancedTab.h"
#include "ui/GeneralTab.h"
#include "ui/IETab.h"
#include "ui/NavigatorTab.h"
#include "views/win32/Native.h"

namespace vtl::views {

namespace {

// The pages in dialog units.
constexpr int kPageWidth = 372;
constexpr int kPageHeight = 262;
constexpr int kMargin = 4;  // pixels around the tab control
constexpr UINT kFirstMenuId = 200;
constexpr COLORREF kMaskColour = RGB(255, 0, 255);

const char* const kStatusMarks[] = {"", "", "Modified", "Reset"};

// --- Toolbar pictures, drawn at start: 16x16 on the mask colour. ---

void fill(HDC dc, int x, int y, int w, int h, COLORREF c) {
    RECT r{x, y, x + w, y + h};
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

void frameBox(HDC dc, int x, int y, int w, int h, COLORREF c) {
    fill(dc, x, y, w, 1, c);
    fill(dc, x, y + h - 1, w, 1, c);
    fill(dc, x, y, 1, h, c);
    fill(dc, x + w - 1, y, 1, h, c);
}

void line(HDC dc, const std::vector<POINT>& points, COLORREF c, int width) {
    HPEN pen = CreatePen(PS_SOLID, width, c);
    HGDIOBJ old = SelectObject(dc, pen);
    Polyline(dc, points.data(), static_cast<int>(points.size()));
    SelectObject(dc, old);
    DeleteObject(pen);
}

void letter(HDC dc, int x0, const char* text, COLORREF c) {
    HFONT font = CreateFontA(16, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, c);
    RECT r{x0, 0, x0 + 16, 16};
    DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(font);
}

void drawPicture(HDC dc, int index) {
    const int x = index * 16;
    const COLORREF black = RGB(0, 0, 0);
    switch (index) {
        case 0:  // open: a folder
            fill(dc, x + 1, 4, 6, 2, RGB(192, 160, 0));
            fill(dc, x + 1, 5, 14, 9, RGB(255, 208, 64));
            frameBox(dc, x + 1, 5, 14, 9, RGB(128, 96, 0));
            break;
        case 1:  // save: a diskette
            fill(dc, x + 1, 1, 14, 14, RGB(0, 64, 160));
            fill(dc, x + 4, 2, 8, 5, RGB(255, 255, 255));
            fill(dc, x + 5, 10, 6, 5, RGB(192, 192, 192));
            frameBox(dc, x + 1, 1, 14, 14, black);
            break;
        case 2:  // apply: a tick
            line(dc, {{x + 2, 8}, {x + 6, 12}, {x + 14, 3}}, RGB(0, 128, 0), 3);
            break;
        case 3:  // general: two computers on a wire
            fill(dc, x + 1, 2, 6, 5, RGB(0, 128, 128));
            frameBox(dc, x + 1, 2, 6, 5, black);
            fill(dc, x + 9, 2, 6, 5, RGB(0, 128, 128));
            frameBox(dc, x + 9, 2, 6, 5, black);
            fill(dc, x + 3, 7, 1, 5, black);
            fill(dc, x + 12, 7, 1, 5, black);
            fill(dc, x + 1, 12, 14, 2, RGB(128, 0, 0));
            break;
        case 4:  // Internet Explorer: an "e"
            letter(dc, x, "e", RGB(0, 80, 200));
            break;
        default:  // Navigator: an "N"
            letter(dc, x, "N", RGB(0, 0, 96));
            break;
    }
}

HIMAGELIST makeToolbarImages() {
    constexpr int kCount = 6;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16 * kCount, 16);
    HGDIOBJ old = SelectObject(dc, bitmap);
    fill(dc, 0, 0, 16 * kCount, 16, kMaskColour);
    for (int i = 0; i < kCount; ++i)
        drawPicture(dc, i);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR8 | ILC_MASK, kCount, 0);
    ImageList_AddMasked(list, bitmap, kMaskColour);
    DeleteObject(bitmap);
    return list;
}

int pictureOf(int button) {
    switch (button) {
        case frmMain::ButtonOpen:
            return 0;
        case frmMain::ButtonSave:
            return 1;
        case frmMain::ButtonApply:
            return 2;
        case frmMain::ButtonGeneral:
            return 3;
        case frmMain::ButtonExplorer:
            return 4;
        default:
            return 5;
    }
}

// The tab control passes its pages' messages on to the main window.
WNDPROC tabControlProc = nullptr;

LRESULT CALLBACK tabsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case kLeaveMessage:
            return SendMessageA(GetParent(window), message, wParam, lParam);
        case WM_NOTIFY:
            // The tab control's own tool tips stay with it.
            if (reinterpret_cast<NMHDR*>(lParam)->hwndFrom !=
                reinterpret_cast<HWND>(SendMessageA(window, TCM_GETTOOLTIPS, 0, 0)))
                return SendMessageA(GetParent(window), message, wParam, lParam);
            break;
        default:
            break;
    }
    return CallWindowProcA(tabControlProc, window, message, wParam, lParam);
}

void setCursorFor(int pointer) {
    SetCursor(LoadCursor(nullptr, pointer == Screen::Hourglass ? IDC_WAIT : IDC_ARROW));
}

}  // namespace

MainWindowView::MainWindowView(frmMain& window, Win32Dialogs& dialogs)
    : window_(window), dialogs_(dialogs) {}

MainWindowView::~MainWindowView() {
    destroy();
}

const char* MainWindowView::windowClass() {
    static const char* const name = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = nullptr;  // WM_SETCURSOR decides (busy pointer)
        wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "VantrelMain";
        RegisterClassA(&wc);
        return "VantrelMain";
    }();
    return name;
}

void MainWindowView::create() {
    const Layout l;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    caption_ = window_.caption();
    hwnd_ =
        CreateWindowExA(WS_EX_CONTROLPARENT, windowClass(), caption_.c_str(), style, CW_USEDEFAULT,
                        CW_USEDEFAULT, 640, 480, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    binder_ = std::make_unique<Binder>(hwnd_, l.font());
    buildMenus();
    buildToolbar();
    status_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(status_, WM_SETFONT, reinterpret_cast<WPARAM>(l.font()), FALSE);
    buildPages();

    // The window's size from its parts.
    RECT bar;
    GetWindowRect(toolbar_, &bar);
    RECT statusRect;
    GetWindowRect(status_, &statusRect);
    const int barHeight = bar.bottom - bar.top;
    const int statusHeight = statusRect.bottom - statusRect.top;
    RECT display{0, 0, l.x(kPageWidth), l.y(kPageHeight)};
    SendMessageA(tabs_, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&display));
    const int tabsWidth = display.right - display.left;
    const int tabsHeight = display.bottom - display.top;
    MoveWindow(tabs_, kMargin, barHeight + kMargin, tabsWidth, tabsHeight, FALSE);
    RECT inner{0, 0, tabsWidth, tabsHeight};
    SendMessageA(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&inner));
    for (HWND page : pages_)
        MoveWindow(page, inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top,
                   FALSE);
    RECT frame{0, 0, tabsWidth + 2 * kMargin, barHeight + tabsHeight + 2 * kMargin + statusHeight};
    AdjustWindowRectEx(&frame, style, TRUE, WS_EX_CONTROLPARENT);
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    SendMessageA(status_, WM_SIZE, 0, 0);
    layoutStatus();

    dialogs_.setOwner(hwnd_);
    Screen::SetPointerHook(setCursorFor);
    refresh();
}

void MainWindowView::show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    if (HWND first = GetNextDlgTabItem(page(window_.SSTab.selected()), nullptr, FALSE))
        SetFocus(first);
}

void MainWindowView::destroy() {
    Screen::SetPointerHook(nullptr);
    if (hwnd_) {
        HWND window = hwnd_;
        hwnd_ = nullptr;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    binder_.reset();
    if (images_) {
        ImageList_Destroy(images_);
        images_ = nullptr;
    }
    if (dialogs_.owner())
        dialogs_.setOwner(nullptr);
}

HWND MainWindowView::controlOf(const ui::Control& control) const {
    const Binding* b = binder_ ? binder_->find(control) : nullptr;
    return b ? b->hwnd() : nullptr;
}

UINT MainWindowView::menuId(const ui::MenuItem& item) const {
    for (const auto& [id, entry] : menuItems_) {
        if (entry == &item)
            return id;
    }
    return 0;
}

// --- Menus ---

void MainWindowView::buildMenus() {
    frmMain& w = window_;
    UINT next = kFirstMenuId;
    const auto entry = [&](ui::MenuItem& item) {
        menuItems_[next] = &item;
        return MenuEntry{&item, next++};
    };
    const MenuEntry sep{nullptr, 0};
    Popup file{&w.mnuFile,
               {entry(w.mnuFileOpen),
                entry(w.mnuFileSave),
                entry(w.mnuFileSaveAs),
                sep,
                entry(w.mnuFileExport),
                sep,
                entry(w.mnuFilePrintSetup),
                entry(w.mnuFilePrint),
                sep,
                entry(w.mnuFileApply),
                sep,
                entry(w.mnuFileExit),
                {&w.mnuFileRecentSep, 0}}};
    for (int i = 1; i <= 5; ++i)
        file.entries.push_back(entry(w.mnuFileRecent(i)));
    Popup view{&w.mnuTools,
               {entry(w.mnuToolsRefresh), sep, entry(w.mnuToolsGeneral), entry(w.mnuToolsExplorer),
                entry(w.mnuToolsNavigator), sep, entry(w.mnuToolsOptions)}};
    Popup addIns{&w.mnuAddIns, {}};
    for (int i = 0; i < frmMain::kAddInMenuSize; ++i)
        addIns.entries.push_back(entry(w.mnuAddInsEntry(i)));
    addIns.entries.push_back({&w.mnuAddInsSep1, 0});
    addIns.entries.push_back(entry(w.mnuToolsAddInManager));
    Popup help{&w.mnuHelp,
               {entry(w.mnuHelpHelp), entry(w.mnuHelpUpdate), sep, entry(w.mnuHelpAbout)}};
    popups_ = {std::move(file), std::move(view), std::move(addIns), std::move(help)};

    HMENU bar = CreateMenu();
    for (Popup& popup : popups_) {
        popup.menu = CreatePopupMenu();
        AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup.menu),
                    popup.title->caption().c_str());
    }
    SetMenu(hwnd_, bar);
}

void MainWindowView::refreshMenus() {
    bool changed = false;
    for (Popup& popup : popups_) {
        std::string now;
        for (const MenuEntry& e : popup.entries) {
            if (!e.item) {
                now += "-|";
                continue;
            }
            if (!e.item->visible())
                continue;
            now += (e.id ? e.item->caption() : "-") + (e.item->enabled() ? "|e" : "|d") +
                   (e.item->checked() ? "c|" : "u|");
        }
        if (now == popup.shown)
            continue;
        while (GetMenuItemCount(popup.menu) > 0)
            DeleteMenu(popup.menu, 0, MF_BYPOSITION);
        for (const MenuEntry& e : popup.entries) {
            if (!e.item || !e.id) {
                if (!e.item || e.item->visible())
                    AppendMenuA(popup.menu, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            if (!e.item->visible())
                continue;
            const UINT flags = MF_STRING | (e.item->enabled() ? MF_ENABLED : MF_GRAYED) |
                               (e.item->checked() ? MF_CHECKED : MF_UNCHECKED);
            AppendMenuA(popup.menu, flags, e.id, e.item->caption().c_str());
        }
        popup.shown = now;
        changed = true;
    }
    if (changed)
        DrawMenuBar(hwnd_);
}

bool MainWindowView::menuCommand(UINT id) {
    const auto found = menuItems_.find(id);
    if (found == menuItems_.end())
        return false;
    ui::MenuItem* item = found->second;
    runUserAction([item] { item->userClick(); });
    return true;
}

// --- Toolbar ---

void MainWindowView::buildToolbar() {
    toolbar_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                               WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT | CCS_TOP, 0,
                               0, 0, 0, hwnd_, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    images_ = makeToolbarImages();
    SendMessageA(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
    std::vector<TBBUTTON> buttons;
    for (int i = 1; i <= window_.tbarTools.buttonCount(); ++i) {
        const ui::Toolbar::Button& b = window_.tbarTools.button(i);
        TBBUTTON t{};
        t.idCommand = static_cast<int>(toolbarId(i));
        if (b.separator || b.toolTip.empty()) {
            t.fsStyle = TBSTYLE_SEP;
        } else {
            t.iBitmap = pictureOf(i);
            t.fsStyle = static_cast<BYTE>(b.check ? TBSTYLE_CHECK : TBSTYLE_BUTTON);
            t.fsState = TBSTATE_ENABLED;
        }
        buttons.push_back(t);
    }
    SendMessageA(toolbar_, TB_ADDBUTTONSA, buttons.size(),
                 reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
}

void MainWindowView::refreshToolbar() {
    for (int i = 1; i <= window_.tbarTools.buttonCount(); ++i) {
        const ui::Toolbar::Button& b = window_.tbarTools.button(i);
        if (b.separator || b.toolTip.empty())
            continue;
        const auto want = static_cast<BYTE>((b.enabled ? TBSTATE_ENABLED : 0) |
                                            (b.check && b.value == 1 ? TBSTATE_CHECKED : 0));
        const auto now = static_cast<BYTE>(SendMessageA(toolbar_, TB_GETSTATE, toolbarId(i), 0));
        if ((now & (TBSTATE_ENABLED | TBSTATE_CHECKED)) != want)
            SendMessageA(toolbar_, TB_SETSTATE, toolbarId(i), MAKELPARAM(want, 0));
    }
}

// --- Tabs and pages ---

void MainWindowView::buildPages() {
    const Layout l;
    tabs_ =
        CreateWindowExA(WS_EX_CONTROLPARENT, WC_TABCONTROLA, "",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | TCS_OWNERDRAWFIXED,
                        0, 0, 100, 100, hwnd_, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(l.font()), FALSE);
    tabControlProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(tabs_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(tabsProc)));
    for (int i = 0; i < window_.SSTab.tabCount(); ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        std::string caption = window_.SSTab.tab(i).caption;
        item.pszText = caption.data();
        SendMessageA(tabs_, TCM_INSERTITEMA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
    }
    const RECT pageRect = l.rect(0, 0, kPageWidth, kPageHeight);
    for (int i = 0; i < window_.SSTab.tabCount(); ++i) {
        HWND page = binder_->panel(pageRect, tabs_);
        ShowWindow(page, SW_HIDE);
        pages_.push_back(page);
    }
    buildGeneral(pages_[0], l);
    buildExplorer(pages_[1], l);
    buildNavigator(pages_[2], l);
    buildAdvanced(pages_[3], l);
}

void MainWindowView::buildGeneral(HWND page, const Layout& l) {
    ui::GeneralTab& g = *window_.general;
    Binder& b = *binder_;
    // Two columns of label and box inside "Network Settings".
    constexpr int kLeftLabel = 10, kLeftBox = 74, kLeftWidth = 104;
    constexpr int kRightLabel = 188, kRightBox = 246, kRightWidth = 116;
    const auto row = [&](ui::Label& label, ui::TextBox& box, bool right, int y) {
        b.label(label, l.rect(right ? kRightLabel : kLeftLabel, y + 2, right ? 56 : 62, 8), page);
        b.text(box, l.rect(right ? kRightBox : kLeftBox, y, right ? kRightWidth : kLeftWidth, 12),
               page);
    };
    b.frame(g.fraNetworkSettings, l.rect(4, 2, 364, 192), page);
    b.label(g.lblNIC, l.rect(kLeftLabel, 16, 62, 8), page);
    b.combo(g.cmbNIC, l.rect(kLeftBox, 14, 240, 12), l.y(80), page);
    b.combo(g.chkIPNo, l.rect(318, 14, 44, 12), l.y(50), page);
    row(g.lblIP, g.txtIP, false, 32);
    row(g.lblMask, g.txtMask, true, 32);
    row(g.lblGateway, g.txtGateway, false, 48);
    b.check(g.chkDHCPEnabled, l.rect(kRightLabel, 48, 120, 12), page);

    b.check(g.chkDNSEnabled, l.rect(kLeftLabel, 68, 120, 10), page);
    row(g.lblHost, g.txtHost, false, 82);
    row(g.lblDomain, g.txtDomain, false, 98);
    row(g.lblDNSServers, g.txtDNSServers, false, 114);
    row(g.lblDNSOrder, g.txtDNSOrder, false, 130);

    b.check(g.chkWINSEnabled, l.rect(kRightLabel, 68, 120, 10), page);
    b.label(g.lblWINSServers, l.rect(kRightLabel, 84, 56, 8), page);
    b.text(g.txtWINSServer1, l.rect(kRightBox, 82, 57, 12), page);
    b.text(g.txtWINSServer2, l.rect(kRightBox + 59, 82, 57, 12), page);
    row(g.lblWINSScopeID, g.txtWINSScopeID, true, 98);
    b.check(g.chkLogonToNT, l.rect(kRightLabel, 116, 120, 10), page);
    row(g.lblNTDomain, g.txtNTDomain, true, 130);

    b.check(g.chkDisablePWDCache, l.rect(kLeftLabel, 152, 150, 10), page);
    b.check(g.chkQuickLogon, l.rect(kRightLabel, 152, 150, 10), page);
    row(g.lblComputerName, g.txtComputerName, false, 170);
    row(g.lblWorkgroup, g.txtWorkGroup, true, 170);

    b.frame(g.fraPrinterSettings, l.rect(4, 200, 364, 52), page);
    b.check(g.chkEnableDefPrinter, l.rect(kLeftLabel, 214, 150, 10), page);
    b.label(g.lblDefPrinter, l.rect(kLeftLabel, 232, 62, 8), page);
    b.combo(g.cmbDefPrinter, l.rect(kLeftBox, 230, 262, 12), l.y(80), page);
    b.button(g.cmdPrinter, l.rect(340, 229, 22, 14), page);
}

void MainWindowView::buildExplorer(HWND page, const Layout& l) {
    ui::IETab& t = *window_.ie;
    Binder& b = *binder_;
    b.frame(t.fraProxySettings, l.rect(4, 2, 364, 170), page);
    b.check(t.chkIEUseProxy, l.rect(10, 14, 240, 10), page);
    b.check(t.chkIEUseSameForAll, l.rect(10, 26, 240, 10), page);
    b.check(t.chkIgnoreLocal, l.rect(10, 38, 240, 10), page);
    struct Pair {
        ui::Label& label;
        ui::TextBox& address;
        ui::Label& colon;
        ui::TextBox& port;
    };
    const Pair pairs[] = {
        {t.lblIEHTTP, t.txtIEHTTPAddr, t.lblIEHTTPColon, t.txtIEHTTPPort},
        {t.lblIESecure, t.txtIESecureAddr, t.lblIESecureColon, t.txtIESecurePort},
        {t.lblIEFTP, t.txtIEFTPAddr, t.lblIEFTPColon, t.txtIEFTPPort},
        {t.lblIEGopher, t.txtIEGopherAddr, t.lblIEGopherColon, t.txtIEGopherPort},
        {t.lblIESocks, t.txtIESocksAddr, t.lblIESocksColon, t.txtIESocksPort},
    };
    int y = 54;
    for (const Pair& p : pairs) {
        b.label(p.label, l.rect(22, y + 2, 34, 8), page);
        b.text(p.address, l.rect(58, y, 200, 12), page);
        b.label(p.colon, l.rect(260, y + 2, 6, 8), page, SS_CENTER);
        b.text(p.port, l.rect(268, y, 40, 12), page);
        y += 15;
    }
    b.label(t.lblIEExceptions, l.rect(10, 131, 300, 8), page);
    b.text(t.txtIEExceptions, l.rect(10, 141, 352, 12), page);
    b.label(t.lblIEAutoConfigURL, l.rect(10, 158, 62, 8), page);
    b.text(t.txtIEAutoConfigURL, l.rect(74, 156, 288, 12), page);

    b.frame(t.fraConnectionMethod, l.rect(4, 176, 364, 44), page);
    b.option(t.optLAN, l.rect(10, 188, 300, 10), true, page);
    b.option(t.optModem, l.rect(10, 204, 170, 10), false, page);
    b.combo(t.cmbISP, l.rect(184, 202, 178, 12), l.y(80), page);

    b.frame(t.fraMiscellaneous, l.rect(4, 224, 364, 34), page);
    b.check(t.chkDisableIEPWDCache, l.rect(10, 238, 110, 10), page);
    b.label(t.lblIEDefHomePage, l.rect(126, 239, 66, 8), page);
    b.text(t.txtIEDefHomePage, l.rect(194, 237, 168, 12), page);
}

void MainWindowView::buildNavigator(HWND page, const Layout& l) {
    ui::NavigatorTab& t = *window_.navigator;
    Binder& b = *binder_;
    b.frame(t.fraUserProfile, l.rect(4, 2, 364, 30), page);
    b.label(t.lblNNProfile, l.rect(10, 16, 30, 8), page);
    b.combo(t.cboNNProfile, l.rect(42, 14, 180, 12), l.y(80), page);

    b.frame(t.fraConnectionMethod, l.rect(4, 36, 364, 80), page);
    b.option(t.optNNDirect, l.rect(10, 48, 200, 10), true, page);
    b.option(t.optNNProxy, l.rect(10, 62, 200, 10), false, page);
    b.option(t.optNNAuto, l.rect(10, 76, 200, 10), false, page);
    b.label(t.lblNNAutoConfig, l.rect(22, 91, 120, 8), page);
    b.text(t.txtNNAutoConfig, l.rect(22, 100, 340, 12), page);

    b.frame(t.fraProxySettings, l.rect(4, 120, 364, 94), page);
    struct Pair {
        ui::Label& label;
        ui::TextBox& address;
        ui::Label& colon;
        ui::TextBox& port;
    };
    const Pair pairs[] = {
        {t.lblNNHTTP, t.txtNNHTTPAddr, t.lblNNHTTPColon, t.txtNNHTTPPort},
        {t.lblNNSecure, t.txtNNSecureAddr, t.lblNNSecureColon, t.txtNNSecurePort},
        {t.lblNNFTP, t.txtNNFTPAddr, t.lblNNFTPColon, t.txtNNFTPPort},
        {t.lblNNGopher, t.txtNNGopherAddr, t.lblNNGopherColon, t.txtNNGopherPort},
        {t.lblNNSocks, t.txtNNSocksAddr, t.lblNNSocksColon, t.txtNNSocksPort},
        {t.lblNNWAIS, t.txtNNWAISAddr, t.lblNNWAISColon, t.txtNNWAISPort},
    };
    for (int i = 0; i < 6; ++i) {
        const Pair& p = pairs[i];
        const int x = i < 3 ? 10 : 188;
        const int y = 132 + (i % 3) * 15;
        b.label(p.label, l.rect(x, y + 2, 30, 8), page);
        b.text(p.address, l.rect(x + 32, y, 102, 12), page);
        b.label(p.colon, l.rect(x + 136, y + 2, 6, 8), page, SS_CENTER);
        b.text(p.port, l.rect(x + 144, y, 30, 12), page);
    }
    b.label(t.lblNNExceptions, l.rect(10, 180, 300, 8), page);
    b.text(t.txtNNExceptions, l.rect(10, 190, 352, 12), page);

    b.frame(t.fraMiscellaneous, l.rect(4, 218, 364, 34), page);
    b.label(t.lblNNDefHomePage, l.rect(10, 234, 66, 8), page);
    b.text(t.txtNNDefHomePage, l.rect(78, 232, 220, 12), page);
    b.button(t.cmdNNMail, l.rect(304, 231, 58, 14), page);
}

void MainWindowView::buildAdvanced(HWND page, const Layout& l) {
    ui::AdvancedTab& t = *window_.advanced;
    Binder& b = *binder_;
    b.frame(t.fraAdvanced, l.rect(4, 2, 364, 42), page);
    b.check(t.chkAutoApply, l.rect(10, 14, 240, 10), page);
    b.check(t.chkAutoReboot, l.rect(10, 28, 240, 10), page);
    b.frame(t.fraComments, l.rect(4, 48, 364, 210), page);
    b.text(t.txtComments, l.rect(10, 60, 352, 192), page,
           ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL);
}

void MainWindowView::refreshTabs() {
    const int count = window_.SSTab.tabCount();
    std::vector<bool> enabled;
    for (int i = 0; i < count; ++i)
        enabled.push_back(window_.SSTab.tab(i).enabled);
    if (enabled != tabEnabledShown_) {
        tabEnabledShown_ = enabled;
        InvalidateRect(tabs_, nullptr, TRUE);
    }
    const int selected = window_.SSTab.selected();
    if (static_cast<int>(SendMessageA(tabs_, TCM_GETCURSEL, 0, 0)) != selected)
        SendMessageA(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(selected), 0);
    if (selected != selectedShown_) {
        // Show the new page first, so the focus never falls on a hidden control.
        ShowWindow(page(selected), SW_SHOW);
        for (int i = 0; i < count; ++i) {
            if (i != selected)
                ShowWindow(page(i), SW_HIDE);
        }
        selectedShown_ = selected;
    }
}

void MainWindowView::drawTab(const DRAWITEMSTRUCT& item) {
    const int index = static_cast<int>(item.itemID);
    if (index < 0 || index >= window_.SSTab.tabCount())
        return;
    const ui::TabStrip::Tab& tab = window_.SSTab.tab(index);
    RECT r = item.rcItem;
    FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(item.hDC, TRANSPARENT);
    const bool on = tab.enabled || index == frmMain::TabAdvanced;
    if (on) {
        SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
        DrawTextA(item.hDC, tab.caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    } else {
        // Etched grey, as disabled text is drawn.
        OffsetRect(&r, 1, 1);
        SetTextColor(item.hDC, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(item.hDC, tab.caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        OffsetRect(&r, -1, -1);
        SetTextColor(item.hDC, GetSysColor(COLOR_GRAYTEXT));
        DrawTextA(item.hDC, tab.caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

// --- Status bar ---

void MainWindowView::layoutStatus() {
    const Layout l;
    RECT client;
    GetClientRect(status_, &client);
    const int markWidth = l.x(l.textWidth("Modified") + 10);
    const int versionWidth = l.x(l.textWidth(window_.sbStatus.panel(2).text) + 12);
    int edges[4];
    edges[3] = client.right;
    edges[2] = edges[3] - markWidth;
    edges[1] = edges[2] - markWidth;
    edges[0] = edges[1] - versionWidth;
    SendMessageA(status_, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    if (!statusTips_) {
        statusTips_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                      hwnd_, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    for (int i = 1; i <= window_.sbStatus.panelCount(); ++i) {
        TOOLINFOA info{};
        info.cbSize = TTTOOLINFOA_V1_SIZE;
        info.uFlags = TTF_SUBCLASS;
        info.hwnd = status_;
        info.uId = static_cast<UINT_PTR>(i);
        SendMessageA(status_, SB_GETRECT, static_cast<WPARAM>(i - 1),
                     reinterpret_cast<LPARAM>(&info.rect));
        info.lpszText = const_cast<char*>(window_.sbStatus.panel(i).toolTip.c_str());
        SendMessageA(statusTips_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
        SendMessageA(statusTips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
    statusShown_.clear();
}

void MainWindowView::refreshStatus() {
    const int count = window_.sbStatus.panelCount();
    statusShown_.resize(static_cast<std::size_t>(count), std::string(1, '\x01'));
    for (int i = 1; i <= count; ++i) {
        const ui::StatusBar::Panel& p = window_.sbStatus.panel(i);
        std::string text = p.text;
        if (i >= frmMain::PanelUnsaved && text.empty())
            text = kStatusMarks[i - 1];
        if (!p.visible)
            text.clear();
        std::string& shown = statusShown_[static_cast<std::size_t>(i - 1)];
        if (shown == text)
            continue;
        shown = text;
        const WPARAM flags = static_cast<WPARAM>(i - 1) | (p.visible ? 0 : SBT_NOBORDERS);
        SendMessageA(status_, SB_SETTEXTA, flags, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

// --- The whole window ---

void MainWindowView::refresh() {
    if (!hwnd_)
        return;
    binder_->refresh();
    if (window_.caption() != caption_) {
        caption_ = window_.caption();
        SetWindowTextA(hwnd_, caption_.c_str());
    }
    refreshMenus();
    refreshToolbar();
    refreshTabs();
    refreshStatus();
}

void MainWindowView::close() {
    if (dialogs_.modalDepth() > 0) {
        // The open dialog answers first; nothing is lost.
        if (FormView* modal = dialogs_.activeModal())
            SetForegroundWindow(modal->hwnd());
        return;
    }
    bool closed = false;
    runUserAction([&] { closed = window_.close(); });
    if (!closed)
        return;
    dialogs_.closeModeless();
    destroy();
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowView::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* view = reinterpret_cast<MainWindowView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!view || !view->binder_) {
        if (message == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT) {
            setCursorFor(Screen::MousePointer());
            return TRUE;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return view->dispatch(message, wParam, lParam);
}

LRESULT MainWindowView::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam == 0 && HIWORD(wParam) == 0 && menuCommand(LOWORD(wParam)))
                return 0;
            if (reinterpret_cast<HWND>(lParam) == toolbar_) {
                const int index = static_cast<int>(LOWORD(wParam) - toolbarId(0));
                runUserAction([this, index] { window_.tbarTools.userClick(index); });
                return 0;
            }
            break;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE) {
                const int index = static_cast<int>(SendMessageA(tabs_, TCM_GETCURSEL, 0, 0));
                runUserAction([this, index] { window_.SSTab.userSelect(index); });
                // A refused pick goes back to the model's tab.
                refreshTabs();
                return 0;
            }
            if (header->code == TTN_NEEDTEXTA) {
                auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
                const int index = static_cast<int>(header->idFrom) - static_cast<int>(toolbarId(0));
                if (index >= 1 && index <= window_.tbarTools.buttonCount()) {
                    info->lpszText =
                        const_cast<char*>(window_.tbarTools.button(index).toolTip.c_str());
                    return 0;
                }
            }
            break;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->hwndItem == tabs_) {
                drawTab(*item);
                return TRUE;
            }
            break;
        }
        case WM_SETCURSOR:
            if (Screen::MousePointer() == Screen::Hourglass || LOWORD(lParam) == HTCLIENT) {
                setCursorFor(Screen::MousePointer());
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                lastFocus_ = GetFocus();
            } else if (lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_)) {
                SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_CLOSE:
            close();
            return 0;
        default:
            break;
    }
    LRESULT result = 0;
    if (binder_->message(message, wParam, lParam, result))
        return result;
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void runMainWindow(frmMain& window, Win32Dialogs& dialogs, int showCommand) {
    InitCommonControls();
    MainWindowView view(window, dialogs);
    view.create();
    window.Form_Load();
    if (window.hiddenRun || !window.document)
        return;
    refreshAll();
    // Before the window shows, so the search for the first instance cannot find this one.
    if (!window.Form_Activate())
        return;
    refreshAll();
    view.show(showCommand);
    MSG msg;
    while (view.hwnd() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (view.hwnd() && IsDialogMessageA(view.hwnd(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace vtl::views
