// The main window on a copy of a sample machine, with its document and
// browser objects, for driving the browser tabs as a user would.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "ScriptedDialogs.h"
#include "TestImage.h"
#include "app/frmMain.h"
#include "config/clsVtlConfig.h"
#include "ui/IETab.h"
#include "ui/NavigatorTab.h"

namespace vtl::test {

struct TabWindow {
    std::unique_ptr<TestImage> image;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> main;

    template <typename Prepare>
    TabWindow(const std::string& sample, Prepare prepare) : image(TestImage::sample(sample)) {
        prepare(*image);
        main = std::make_unique<frmMain>(dialogs);
        main->document = std::make_unique<clsVtlConfig>();
        main->oIEConfig = main->document->getIEConfig();
        main->oNNConfig = main->document->getNNConfig();
        if (!main->ie)
            main->ie = std::make_unique<ui::IETab>(*main);
        if (!main->navigator)
            main->navigator = std::make_unique<ui::NavigatorTab>(*main);
    }
    explicit TabWindow(const std::string& sample) : TabWindow(sample, [](TestImage&) {}) {}

    ui::IETab& ie() { return *main->ie; }
    ui::NavigatorTab& nn() { return *main->navigator; }
    clsBrowser& ieConfig() { return *main->oIEConfig; }
    clsBrowser& nnConfig() { return *main->oNNConfig; }

    // Fills as the window does when it shows the current configuration, then
    // starts with no marks.
    void show() {
        main->loading = true;
        if (main->oIEConfig)
            main->ie->initializeIEControls();
        if (main->oNNConfig) {
            main->navigator->initializeNNControls();
            main->navigator->LoadNNProfiles();
        }
        main->loading = false;
        settle();
    }
    void settle() {
        main->UpdateStatus(-3);
        main->changed = false;
    }
    // The unsaved-changes mark.
    bool marked() const { return main->sbStatus.panel(3).visible; }
};

// "W" enabled on the window background, "F" disabled in button face, "A"
// disabled in the active-border colour, "?" anything else.
inline std::string look(std::initializer_list<const ui::TextBox*> boxes) {
    std::string out;
    for (const ui::TextBox* box : boxes) {
        const auto colour = box->backColor();
        out += box->enabled() && colour == ui::colour::WindowBackground ? 'W'
               : !box->enabled() && colour == ui::colour::ButtonFace    ? 'F'
               : !box->enabled() && colour == ui::colour::ActiveBorder  ? 'A'
                                                                        : '?';
    }
    return out;
}

inline std::string joined(std::initializer_list<std::string> parts) {
    std::string out;
    bool first = true;
    for (const auto& part : parts) {
        out += (first ? "" : "|") + part;
        first = false;
    }
    return out;
}

}  // namespace vtl::test
