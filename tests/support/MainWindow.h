// The main window on a scratch copy of a sample machine, with a scripted
// dialog service standing in for the user.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "RegProbe.h"
#include "ScriptedDialogs.h"
#include "TestImage.h"
#include "app/frmMain.h"
#include "config/clsVtlConfig.h"

namespace vtl::test {

struct MainWindow {
    // `prepare` edits the machine before the window reads it.
    explicit MainWindow(const std::string& sample = "win98",
                        const std::function<void()>& prepare = {})
        : image(TestImage::sample(sample)) {
        if (prepare)
            prepare();
        window = std::make_unique<frmMain>(dialogs);
        window->showConfiguration();
    }

    bool unsavedShown() const { return window->sbStatus.panel(frmMain::PanelUnsaved).visible; }
    bool resetShown() const { return window->sbStatus.panel(frmMain::PanelReset).visible; }

    std::unique_ptr<TestImage> image;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> window;
};

inline void setIEUserAgent(const std::string& agent) {
    RegProbe::set(
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
        "User Agent", sz(agent));
}

inline void setNavigatorVersion(const std::string& version) {
    RegProbe::set("HKEY_LOCAL_MACHINE\\Software\\Netscape\\Netscape Navigator", "CurrentVersion",
                  sz(version));
}

}  // namespace vtl::test
