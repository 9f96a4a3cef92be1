// The Advanced page of the main window, on the Windows 98 sample.
#include <gtest/gtest.h>

#include <string>

#include "support/MainWindow.h"
#include "ui/AdvancedTab.h"

namespace vtl::ui {
namespace {

using platform::Answer;
using test::MainWindow;

TEST(AdvancedTab, FillingFromTheDocument) {
    struct Case {
        const char* name;
        std::string comments;
        bool autoApply, autoReboot;
        bool fileLoading;
        bool asked;
        int rebootBox;
    };
    const Case cases[] = {
        {"comments and AutoApply", "Front desk", true, false, false, false, 0},
        {"AutoReboot from a file", "", false, true, true, false, 1},
        {"AutoReboot outside a file load, No", "", false, true, false, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow m;
        frmMain& w = *m.window;
        AdvancedTab& tab = *w.advanced;
        w.document->Comments(c.comments);
        w.document->AutoApply(c.autoApply);
        w.document->AutoReboot(c.autoReboot);
        w.suppressUnsaved = c.fileLoading;
        m.dialogs.answers = {Answer::No};

        tab.initializeMiscControls();

        EXPECT_EQ(tab.txtComments.text(), c.comments);
        EXPECT_EQ(tab.chkAutoApply.value(), c.autoApply ? 1 : 0);
        EXPECT_EQ(w.document->AutoApply(), c.autoApply);
        EXPECT_EQ(tab.chkAutoReboot.value(), c.rebootBox);
        EXPECT_EQ(w.document->AutoReboot(), c.rebootBox == 1);
        EXPECT_EQ(m.dialogs.boxes.size(), c.asked ? 1u : 0u);
    }
}

TEST(AdvancedTab, CheckingAutoRebootAsksFirst) {
    for (const Answer answer : {Answer::Yes, Answer::No}) {
        MainWindow m;
        frmMain& w = *m.window;
        w.changed = false;
        m.dialogs.answers = {answer};
        w.advanced->chkAutoReboot.userClick();
        ASSERT_EQ(m.dialogs.boxes.size(), 1u);
        EXPECT_EQ(m.dialogs.boxes[0].text, "Are you sure you want to set the AutoReboot option?");
        EXPECT_EQ(m.dialogs.boxes[0].style, platform::mb::YesNo);
        const bool yes = answer == Answer::Yes;
        EXPECT_EQ(w.advanced->chkAutoReboot.value(), yes ? 1 : 0);
        EXPECT_EQ(w.document->AutoReboot(), yes);
        EXPECT_EQ(m.unsavedShown(), yes);
        EXPECT_EQ(w.changed, yes);
        EXPECT_FALSE(m.resetShown());
    }
}

TEST(AdvancedTab, CommentsAndAutoApplyEditsReachTheDocument) {
    MainWindow m;
    frmMain& w = *m.window;
    w.advanced->txtComments.userType("  Branch office  ");
    EXPECT_EQ(w.document->Comments(), "Branch office");
    EXPECT_TRUE(m.unsavedShown());
    w.UpdateStatus(-1);
    w.changed = false;
    w.advanced->chkAutoApply.userClick();
    EXPECT_TRUE(w.document->AutoApply());
    EXPECT_TRUE(m.unsavedShown());
    EXPECT_TRUE(w.changed);
    EXPECT_TRUE(m.dialogs.boxes.empty());
}

}  // namespace
}  // namespace vtl::ui
