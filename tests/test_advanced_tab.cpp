// The Advanced page of the main window, on the Windows 98 sample.
#include <gtest/gtest.h>

#include <string>

#include "support/MainWindow.h"
#include "ui/AdvancedTab.h"

namespace vtl::ui {
namespace {

using platform::Answer;
using test::MainWindow;

constexpr const char* kQuestion = "Are you sure you want to set the AutoReboot option?";

TEST(AdvancedTab, FillingFromTheDocument) {
    struct Case {
        const char* name;
        std::string comments;
        bool autoApply, autoReboot;
        bool fileLoading;
        Answer answer;
        bool asked;
        int rebootBox;
        bool autoRebootAfter;
    };
    const Case cases[] = {
        {"comments and AutoApply", "Front desk", true, false, false, Answer::Yes, false, 0, false},
        {"AutoReboot from a file", "", false, true, true, Answer::No, false, 1, true},
        {"AutoReboot outside a file load, Yes", "", false, true, false, Answer::Yes, true, 1, true},
        {"AutoReboot outside a file load, No", "", false, true, false, Answer::No, true, 0, false},
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
        m.dialogs.answers = {c.answer};

        tab.initializeMiscControls();

        EXPECT_EQ(tab.txtComments.text(), c.comments);
        EXPECT_EQ(tab.chkAutoApply.value(), c.autoApply ? 1 : 0);
        EXPECT_EQ(w.document->AutoApply(), c.autoApply);
        EXPECT_EQ(tab.chkAutoReboot.value(), c.rebootBox);
        EXPECT_EQ(w.document->AutoReboot(), c.autoRebootAfter);
        EXPECT_EQ(m.dialogs.boxes.size(), c.asked ? 1u : 0u);
    }
}

TEST(AdvancedTab, AutoRebootClick) {
    struct Case {
        const char* name;
        bool startChecked;
        bool fileLoading;
        Answer answer;
        bool asked;
        int boxAfter;
        bool propertyAfter;
        bool unsavedAfter, changedAfter;
    };
    const Case cases[] = {
        {"check, Yes", false, false, Answer::Yes, true, 1, true, true, true},
        {"check, No", false, false, Answer::No, true, 0, false, false, false},
        {"uncheck", true, false, Answer::Yes, false, 0, false, false, false},
        {"check while a file is put in", false, true, Answer::No, false, 1, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow m;
        frmMain& w = *m.window;
        AdvancedTab& tab = *w.advanced;
        if (c.startChecked) {
            m.dialogs.answers = {Answer::Yes};
            tab.chkAutoReboot.userClick();
            ASSERT_TRUE(w.document->AutoReboot());
            w.UpdateStatus(-3);
            m.dialogs.boxes.clear();
        }
        w.changed = false;
        w.suppressUnsaved = c.fileLoading;
        m.dialogs.answers = {c.answer};

        tab.chkAutoReboot.userClick();

        ASSERT_EQ(m.dialogs.boxes.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(m.dialogs.boxes[0].text, kQuestion);
            EXPECT_EQ(m.dialogs.boxes[0].style, platform::mb::YesNo);
            EXPECT_EQ(m.dialogs.boxes[0].caption, "Vantrel");
        }
        EXPECT_EQ(tab.chkAutoReboot.value(), c.boxAfter);
        EXPECT_EQ(w.document->AutoReboot(), c.propertyAfter);
        EXPECT_EQ(m.unsavedShown(), c.unsavedAfter);
        EXPECT_EQ(w.changed, c.changedAfter);
        EXPECT_FALSE(m.resetShown());
    }
}

TEST(AdvancedTab, CommentsAndAutoApplyEditsReachTheDocument) {
    struct Step {
        const char* name;
        void (*act)(AdvancedTab&);
        std::string comments;
        bool autoApply;
    };
    const Step steps[] = {
        {"type comments", [](AdvancedTab& t) { t.txtComments.userType("  Branch office  "); },
         "Branch office", false},
        {"check AutoApply", [](AdvancedTab& t) { t.chkAutoApply.userClick(); }, "Branch office",
         true},
        {"empty the comments", [](AdvancedTab& t) { t.txtComments.userType(""); }, "", true},
        {"uncheck AutoApply", [](AdvancedTab& t) { t.chkAutoApply.userClick(); }, "", false},
    };
    MainWindow m;
    frmMain& w = *m.window;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        w.UpdateStatus(-1);
        w.changed = false;
        s.act(*w.advanced);
        EXPECT_EQ(w.document->Comments(), s.comments);
        EXPECT_EQ(w.document->AutoApply(), s.autoApply);
        EXPECT_TRUE(m.unsavedShown());
        EXPECT_TRUE(w.changed);
    }
    EXPECT_TRUE(m.dialogs.boxes.empty());
}

}  // namespace
}  // namespace vtl::ui
