// The main window model driven as a user drives it, on the sample machines.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "config/Screen.h"
#include "config/modAPI.h"
#include "support/MainWindow.h"
#include "ui/AdvancedTab.h"
#include "ui/GeneralTab.h"

namespace vtl {
namespace {

using platform::Answer;
using test::MainWindow;
using test::RegProbe;

constexpr const char* kCurrentCaption = "[Current Configuration] - Vantrel";

// The three parts as the user reaches them.
struct Part {
    const char* name;
    int tab;
    int button;
    ui::MenuItem frmMain::*menu;
    bool (clsVtlConfig::*flag)() const;
};
const Part kGeneral{"General", 0, 6, &frmMain::mnuToolsGeneral, &clsVtlConfig::ApplyGeneral};
const Part kExplorer{"Explorer", 1, 7, &frmMain::mnuToolsExplorer, &clsVtlConfig::ApplyIE};
const Part kNavigator{"Navigator", 2, 8, &frmMain::mnuToolsNavigator, &clsVtlConfig::ApplyNN};

struct PartState {
    bool flag, tabEnabled, buttonEnabled, pressed, menuEnabled, menuChecked;
    bool operator==(const PartState&) const = default;
};

PartState stateOf(frmMain& w, const Part& part) {
    const auto& button = w.tbarTools.button(part.button);
    const ui::MenuItem& menu = w.*part.menu;
    return {((*w.document).*part.flag)(),
            w.SSTab.tab(part.tab).enabled,
            button.enabled,
            button.value == 1,
            menu.enabled(),
            menu.checked()};
}

const PartState kOn{true, true, true, true, true, true};
const PartState kOff{false, false, true, false, true, false};            // toggled off
const PartState kUnavailable{false, false, false, false, false, false};  // not installed

enum class Via { Toolbar, Menu };

void toggle(frmMain& w, const Part& part, Via via) {
    if (via == Via::Toolbar)
        w.tbarTools.userClick(part.button);
    else
        (w.*part.menu).userClick();
}

TEST(MainWindow, ShowsTheCurrentConfiguration) {
    MainWindow m("nt4");
    frmMain& w = *m.window;
    EXPECT_EQ(w.caption(), kCurrentCaption);
    ASSERT_TRUE(w.document);
    EXPECT_EQ(w.oIEConfig, w.document->getIEConfig());
    for (const Part& part : {kGeneral, kExplorer, kNavigator})
        EXPECT_EQ(stateOf(w, part), kOn) << part.name;
    EXPECT_EQ(w.SSTab.selected(), 0);
    EXPECT_EQ(w.sbStatus.panel(1).text, "Last file applied: Accounts LAN");
    EXPECT_EQ(w.sbStatus.panel(2).text, "Vantrel " + ProgramVersion());
    EXPECT_FALSE(m.unsavedShown());
    EXPECT_FALSE(m.resetShown());
    EXPECT_FALSE(w.nicWarning);
    EXPECT_FALSE(w.loading);
    EXPECT_EQ(Screen::MousePointer(), Screen::Default);
    EXPECT_TRUE(m.dialogs.boxes.empty());
}

TEST(MainWindow, UpdateStatusByModeAndFlags) {
    struct Case {
        const char* name;
        bool unsaved, reset;  // marks before
        bool loading, suppress, readOnly;
        int mode;
        bool unsavedAfter, resetAfter;
    };
    const Case cases[] = {
        {"changed", false, false, false, false, false, 1, true, false},
        {"changed while a file is put in", false, false, false, true, false, 1, false, false},
        {"changed on a read-only file", false, false, false, false, true, 1, false, false},
        {"changed while loading", false, false, true, false, false, 1, false, false},
        {"reset", false, false, false, false, false, 2, false, true},
        {"reset on a read-only file", false, false, false, false, true, 2, false, true},
        {"both", false, false, false, false, false, 3, true, true},
        {"saved", true, true, false, false, false, -1, false, true},
        {"applied", true, true, false, false, false, -2, true, false},
    };
    MainWindow m;
    frmMain& w = *m.window;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.sbStatus.panel(3).visible = c.unsaved;
        w.sbStatus.panel(4).visible = c.reset;
        w.loading = c.loading;
        w.suppressUnsaved = c.suppress;
        w.document->ReadOnly(c.readOnly);
        w.changed = false;

        w.UpdateStatus(static_cast<std::int16_t>(c.mode));

        EXPECT_EQ(m.unsavedShown(), c.unsavedAfter);
        EXPECT_EQ(m.resetShown(), c.resetAfter);
        EXPECT_TRUE(w.changed);
    }
}

TEST(MainWindow, TogglingPartsOffAndOnAgain) {
    struct Case {
        const char* name;
        int selectedBefore;
        std::vector<const Part*> off;
        Via via;
        int selectedAfter;
    };
    const Case cases[] = {
        {"General while selected", 0, {&kGeneral}, Via::Toolbar, 1},
        {"all three", 0, {&kGeneral, &kExplorer, &kNavigator}, Via::Menu, 3},
        {"Navigator from the Advanced tab", 3, {&kNavigator}, Via::Toolbar, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow m;
        frmMain& w = *m.window;
        w.SSTab.userSelect(c.selectedBefore);
        for (const Part* part : c.off)
            toggle(w, *part, c.via);
        EXPECT_EQ(w.SSTab.selected(), c.selectedAfter);
        for (const Part* part : c.off) {
            EXPECT_EQ(stateOf(w, *part), kOff) << part->name;
            w.SSTab.userSelect(part->tab);  // a disabled tab cannot be picked
            EXPECT_EQ(w.SSTab.selected(), c.selectedAfter);
        }
        for (const Part* part : c.off) {
            toggle(w, *part, c.via == Via::Menu ? Via::Toolbar : Via::Menu);
            EXPECT_EQ(stateOf(w, *part), kOn) << part->name;
        }
        EXPECT_FALSE(m.unsavedShown());
    }
}

TEST(MainWindow, BrowserThatIsMissingOrTooOldLeavesItsPartUnavailable) {
    const std::string nnKey = "HKEY_LOCAL_MACHINE\\Software\\Netscape\\Netscape Navigator";
    struct Case {
        const char* name;
        const char* sample;
        std::function<void()> prepare;
        const Part* missing;
        const Part* present;
    };
    const Case cases[] = {
        {"Internet Explorer 3.0", "win98",
         [] { test::setIEUserAgent("Mozilla/2.0 (compatible; MSIE 3.0; Windows 98)"); }, &kExplorer,
         &kNavigator},
        {"Navigator 4.0", "nt4", [] { test::setNavigatorVersion("4.0 (en)"); }, &kNavigator,
         &kExplorer},
        {"no Navigator", "win98", [&] { RegProbe::removeKey(nnKey); }, &kNavigator, &kExplorer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow m(c.sample, c.prepare);
        frmMain& w = *m.window;
        EXPECT_EQ(stateOf(w, *c.missing), kUnavailable);
        EXPECT_EQ(stateOf(w, *c.present), kOn);
        EXPECT_EQ(stateOf(w, kGeneral), kOn);
        EXPECT_EQ(c.missing == &kExplorer ? w.oIEConfig : w.oNNConfig, nullptr);

        // Neither the button nor the menu entry can turn it on.
        toggle(w, *c.missing, Via::Toolbar);
        toggle(w, *c.missing, Via::Menu);
        EXPECT_EQ(stateOf(w, *c.missing), kUnavailable);
    }
}

TEST(MainWindow, ClosingAsksOnlyWhileTheUnsavedMarkShows) {
    struct Case {
        const char* name;
        std::function<void(frmMain&)> edit;
        bool withFile;
        Answer answer;
        bool asked, closed, saved;
    };
    const auto editComment = [](frmMain& w) { w.advanced->txtComments.userType("x"); };
    const Case cases[] = {
        {"only a reset is needed", [](frmMain& w) { w.UpdateStatus(2); }, false, Answer::Yes, false,
         true, false},
        {"changed, No", editComment, true, Answer::No, true, true, false},
        {"changed, Cancel", editComment, true, Answer::Cancel, true, false, false},
        {"changed, Yes", editComment, true, Answer::Yes, true, true, true},
        {"changed, Yes without a file", editComment, false, Answer::Yes, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow m;
        frmMain& w = *m.window;
        test::TempDir files;
        const std::string file = (files.path() / "office.vtl").string();
        if (c.withFile)
            w.document->ConfFile(file);
        int recentWrites = 0;
        w.setRecentList = [&] { ++recentWrites; };
        c.edit(w);
        m.dialogs.answers = {c.answer};

        EXPECT_EQ(w.close(), c.closed);

        ASSERT_EQ(m.dialogs.boxes.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(m.dialogs.boxes[0].text, "Save configuration?");
            EXPECT_EQ(m.dialogs.boxes[0].style,
                      platform::mb::YesNoCancel | platform::mb::IconQuestion);
        }
        EXPECT_EQ(std::filesystem::exists(file), c.saved);
        EXPECT_EQ(w.document == nullptr, c.closed);
        EXPECT_EQ(recentWrites, c.closed ? 1 : 0);
        if (!c.closed) {
            EXPECT_TRUE(m.unsavedShown());
        }
    }
}

TEST(MainWindow, RefreshDiscardsEditsWithoutAsking) {
    MainWindow m("win2000");
    frmMain& w = *m.window;
    int addInLoads = 0;
    w.loadAddIns = [&] { ++addInLoads; };
    const std::string host = w.general->txtHost.text();

    w.general->txtHost.userType("edited-host");
    w.advanced->txtComments.userType("edited");
    toggle(w, kNavigator, Via::Menu);
    w.UpdateStatus(2);
    w.suppressUnsaved = true;
    ASSERT_TRUE(m.unsavedShown());
    ASSERT_TRUE(m.resetShown());

    w.mnuToolsRefresh.userClick();

    EXPECT_TRUE(m.dialogs.boxes.empty());
    EXPECT_EQ(w.general->txtHost.text(), host);
    EXPECT_EQ(w.advanced->txtComments.text(), "");
    EXPECT_EQ(w.document->Comments(), "");
    EXPECT_EQ(stateOf(w, kNavigator), kOn);
    EXPECT_FALSE(m.unsavedShown());
    EXPECT_FALSE(m.resetShown());
    EXPECT_FALSE(w.changed);
    EXPECT_FALSE(w.suppressUnsaved);
    EXPECT_EQ(addInLoads, 1);
    EXPECT_EQ(w.caption(), kCurrentCaption);
}

}  // namespace
}  // namespace vtl
