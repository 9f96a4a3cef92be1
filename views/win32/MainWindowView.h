// The main window of frmMain: menus, toolbar, the four pages of SSTab and the
// status bar, drawn from the model and forwarding every user action to it.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/frmMain.h"
#include "views/win32/FormView.h"
#include "views/win32/Win32Dialogs.h"

namespace vtl::views {

class MainWindowView : public Refreshable {
  public:
    MainWindowView(frmMain& window, Win32Dialogs& dialogs);
    ~MainWindowView() override;

    // Creates the window (hidden until show()).
    void create();
    void show(int showCommand);
    void refresh() override;
    void destroy();

    HWND hwnd() const { return hwnd_; }
    HWND toolbar() const { return toolbar_; }
    HWND tabs() const { return tabs_; }
    HWND status() const { return status_; }
    // The page window of tab `index` (0 to 3).
    HWND page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    // The native control of a model control, or null.
    HWND controlOf(const ui::Control& control) const;
    // The menu command id of a menu entry, or 0.
    UINT menuId(const ui::MenuItem& item) const;
    // The toolbar command id of button `index` (from 1).
    static UINT toolbarId(int index) { return 100 + static_cast<UINT>(index); }

    // The Windows class of the main window (the second start finds it by caption).
    static const char* windowClass();

  private:
    struct MenuEntry {
        ui::MenuItem* item;  // null: a fixed separator
        UINT id;
    };
    struct Popup {
        Popup(ui::MenuItem* t, std::vector<MenuEntry> e) : title(t), entries(std::move(e)) {}
        ui::MenuItem* title;
        std::vector<MenuEntry> entries;
        HMENU menu = nullptr;
        std::string shown;  // what the menu shows now, to rebuild only on change
    };

    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    void buildMenus();
    void buildToolbar();
    void buildPages();
    void buildGeneral(HWND page, const Layout& l);
    void buildExplorer(HWND page, const Layout& l);
    void buildNavigator(HWND page, const Layout& l);
    void buildAdvanced(HWND page, const Layout& l);
    void refreshMenus();
    void refreshToolbar();
    void refreshTabs();
    void refreshStatus();
    void layoutStatus();
    void drawTab(const DRAWITEMSTRUCT& item);
    bool menuCommand(UINT id);
    void close();

    frmMain& window_;
    Win32Dialogs& dialogs_;
    HWND hwnd_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND tabs_ = nullptr;
    HWND status_ = nullptr;
    HWND statusTips_ = nullptr;
    HIMAGELIST images_ = nullptr;
    std::vector<HWND> pages_;
    std::unique_ptr<Binder> binder_;
    std::vector<Popup> popups_;
    std::map<UINT, ui::MenuItem*> menuItems_;
    std::string caption_;
    std::vector<std::string> statusShown_;
    int selectedShown_ = -1;
    std::vector<bool> tabEnabledShown_;
    HWND lastFocus_ = nullptr;
};

// Runs the program's window: creates it, loads the form (start-up and the
// command line), lets a second instance hand over to the first, shows the
// window and runs the message loop until it closes. A hidden run ends after
// start-up. Throws ProgramEnd as Form_Load does.
void runMainWindow(frmMain& window, Win32Dialogs& dialogs, int showCommand);

}  // namespace vtl::views
