// Add-ins with in-process stand-ins: the Add-Ins menu, the add-in manager,
// and classes that fail to load.
#include <gtest/gtest.h>

#include <stdexcept>

#include "addins/frmAddIns.h"
#include "config/VtlError.h"
#include "config/modAPI.h"
#include "support/MainWindow.h"

namespace vtl {
namespace {

using test::MainWindow;

constexpr const char* kCheck = "\r\rPlease check your Add-Ins.";

// What the stand-ins were asked, and how they answer.
struct Script {
    std::vector<std::string> calls;  // "Class.Member(arg)"
    std::map<std::string, bool> restart, changed;
    std::string throwOn;  // "Class.Member"
};

class FakeAddIn : public AddInObject {
  public:
    FakeAddIn(std::string cls, Script& script) : cls_(std::move(cls)), script_(script) {}
    Variant Invoke(const std::string& member, const std::vector<Variant>& args) override {
        script_.calls.push_back(cls_ + "." + member +
                                (args.empty() ? "" : "(" + args[0].text() + ")"));
        if (script_.throwOn == cls_ + "." + member)
            throw std::runtime_error("boom");
        if (member == "restart")
            return Variant(script_.restart[cls_]);
        if (member == "Changed")
            return Variant(script_.changed[cls_]);
        return {};
    }

  private:
    std::string cls_;
    Script& script_;
};

struct Reg {
    std::string name, cls, os, active;
};

struct AddInWindow : MainWindow {
    explicit AddInWindow(const std::string& sample = "nt4") : MainWindow(sample) {
        image->platform().setAddInFolder(folder.path());
    }
    // Makes the classes available in-process.
    void provide(std::initializer_list<std::string> classes) {
        for (const std::string& cls : classes) {
            image->platform().setAddInClass(cls, [this, cls] {
                if (script.throwOn == cls + ".create")
                    throw std::runtime_error("cannot create");
                return std::make_shared<FakeAddIn>(cls, script);
            });
        }
    }
    void add(const std::vector<Reg>& regs) {
        for (const Reg& r : regs) {
            SaveRegSetting(kAppName, "Add-Ins", r.name, "");
            SaveRegSetting(kAppName, "Add-Ins\\" + r.name, "Class", r.cls);
            SaveRegSetting(kAppName, "Add-Ins\\" + r.name, "OS", r.os);
            SaveRegSetting(kAppName, "Add-Ins\\" + r.name, "Active", r.active);
        }
    }
    std::vector<std::string> menu() {
        std::vector<std::string> captions;
        for (int i = 0; i < frmMain::kAddInMenuSize; ++i) {
            if (window->mnuAddInsEntry(i).visible())
                captions.push_back(window->mnuAddInsEntry(i).caption());
        }
        return captions;
    }
    static std::vector<std::string> registered() {
        std::vector<std::string> names;
        for (const auto& v :
             GetAllRegSettings(kAppName, "Add-Ins").value_or(std::vector<RegSettingValue>{}))
            names.push_back(v.name);
        return names;
    }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : dialogs.boxes)
            texts.push_back(box.text);
        return texts;
    }

    test::TempDir folder;  // an empty addins folder
    Script script;
};

using Strings = std::vector<std::string>;

TEST(AddIns, MenuLoadsActiveAddInsForTheRunningSystem) {
    struct Case {
        const char* sample;
        std::vector<Reg> regs;
        Strings menu, registered, boxes;
        std::string throwOn;
    };
    const Reg nt{"NT only", "Fake.NT", "NT", "1"}, all{"All", "Fake.All", "*", "1"},
        joined{"Joined", "Fake.NT", "9xNT", "1"}, off{"Off", "Fake.All", "*", "0"},
        gone{"Gone", "Fake.Gone", "*", "1"}, goneOff{"Gone off", "Fake.Gone", "NT", "0"},
        noClass{"No class", "", "*", "1"};
    const Case cases[] = {
        {"nt4", {nt, all}, {"NT only...", "All..."}, {"NT only", "All"}, {}, ""},
        {"win98", {nt, all}, {"All..."}, {"NT only", "All"}, {}, ""},
        {"win2000", {joined, off}, {}, {"Joined", "Off"}, {}, ""},
        {"nt4", {gone, all, goneOff}, {"All..."}, {"All"}, {}, ""},
        {"nt4", {noClass, nt}, {"NT only..."}, {"NT only"}, {}, ""},
        // Loading stops at the first add-in that fails; nothing is unregistered.
        {"nt4",
         {all, nt, {"Third", "Fake.All", "*", "1"}},
         {"All..."},
         {"All", "NT only", "Third"},
         {"Error initializing Add-Ins [Fake.NT]." + std::string(kCheck)},
         "Fake.NT.create"},
    };
    for (const Case& c : cases) {
        AddInWindow w(c.sample);
        w.provide({"Fake.NT", "Fake.All"});
        w.add(c.regs);
        w.script.throwOn = c.throwOn;
        w.window->loadAddIns();
        const std::string where = std::string(c.sample) + " " + std::to_string(&c - cases);
        EXPECT_EQ(w.menu(), c.menu) << where;
        EXPECT_EQ(w.window->mnuAddInsSep1.visible(), !c.menu.empty()) << where;
        EXPECT_EQ(w.window->addIns.size(), c.menu.size()) << where;
        EXPECT_EQ(w.registered(), c.registered) << where;
        EXPECT_EQ(w.boxTexts(), c.boxes) << where;
    }
}

TEST(AddIns, MenuEntryShowsTheAddInAndMarksTheWindow) {
    struct Case {
        bool changed, restart;
        std::string throwOn;
        bool unsaved, reset;
        Strings boxes;
    };
    const std::string error =
        std::string("An error occurred while attempting to access an Add-In.") + kCheck;
    const Case cases[] = {
        {true, false, "", true, false, {}},
        {false, true, "", true, true, {}},
        {true, true, "Fake.B.Show", false, false, {error}},
    };
    for (const Case& c : cases) {
        AddInWindow w;
        w.provide({"Fake.A", "Fake.B"});
        w.add({{"A", "Fake.A", "*", "1"}, {"B", "Fake.B", "*", "1"}});
        w.window->loadAddIns();
        w.window->document->ConfFile("C:\\x.vtl");
        w.script = {{}, {{"Fake.B", c.restart}}, {{"Fake.B", c.changed}}, c.throwOn};
        w.window->mnuAddInsEntry(1).userClick();
        EXPECT_EQ(w.script.calls.at(0), "Fake.B.Show(C:\\x.vtl)");
        EXPECT_EQ(w.unsavedShown(), c.unsaved);
        EXPECT_EQ(w.resetShown(), c.reset);
        EXPECT_EQ(w.boxTexts(), c.boxes);
    }
}

TEST(AddIns, ManagerSwitchesAddInsOnAndOff) {
    AddInWindow w;
    w.provide({"Fake.A", "Fake.B"});
    w.add({{"A", "Fake.A", "NT", "1"},
           {"B", "Fake.B", "*", "0"},
           {"C", "Fake.A", "9x", "1"},
           {"D", "", "*", "1"}});
    w.window->loadAddIns();
    for (const bool ok : {false, true}) {
        w.dialogs.user = [&](ui::Form& form) {
            auto& m = static_cast<frmAddIns&>(form);
            ASSERT_EQ(m.lstAddIns.listCount(), 2);
            EXPECT_EQ((Strings{m.lstAddIns.listAt(0), m.lstAddIns.listAt(1)}), (Strings{"A", "B"}));
            EXPECT_TRUE(m.lstAddIns.selected(0));
            EXPECT_FALSE(m.lstAddIns.selected(1));
            m.lstAddIns.userSelect(1);
            EXPECT_EQ(m.txtFile.text(), "<no file specified>");
            m.lstAddIns.userCheck(0);
            m.lstAddIns.userCheck(1);
            (ok ? m.cmdOK : m.cmdCancel).userClick();
        };
        w.window->mnuToolsAddInManager.userClick();
        EXPECT_EQ(w.menu(), Strings{ok ? "B..." : "A..."}) << ok;
    }
    EXPECT_EQ(GetRegSetting(kAppName, "Add-Ins\\A", "Active"), "0");
    EXPECT_EQ(GetRegSetting(kAppName, "Add-Ins\\C", "Active"), "1") << "not listed, not written";
}

TEST(AddIns, MemberThatThrowsComesBackAsAClearError) {
    AddInWindow w;
    w.provide({"Fake.A"});
    w.add({{"A", "Fake.A", "*", "1"}});
    w.window->loadAddIns();
    w.script.throwOn = "Fake.A.ApplySettings";
    try {
        w.window->document->ApplyConfiguration(w.window->addIns);
        ADD_FAILURE() << "no error";
    } catch (const VtlError& e) {
        EXPECT_EQ(e.source(), "Fake.A");
        EXPECT_EQ(e.description(), "Fake.A.ApplySettings: boom");
    }
    // A failed save keeps the file it would have replaced.
    const auto file = w.folder.path() / "kept.vtl";
    test::writeFile(file, "[Advanced]\r\nComments=old\r\n");
    w.script.throwOn = "Fake.A.saveSettings";
    EXPECT_EQ(w.window->document->SaveConfigurationFile(file.string(), w.window->addIns), 0);
    EXPECT_EQ(test::readFile(file), "[Advanced]\r\nComments=old\r\n");
    ASSERT_FALSE(w.image->messages().empty());
    EXPECT_EQ(w.image->messages().back().text, "Error: Fake.A.saveSettings: boom");
}

TEST(AddIns, ModuleThatFailsToLoadIsReportedAndKeepsItsRegistrations) {
    AddInWindow w;
    test::writeFile(w.folder.path() / "broken.so", "not a library");
    w.provide({"Fake.A"});
    w.add({{"A", "Fake.A", "*", "1"}, {"B", "Elsewhere.B", "*", "1"}, {"C", "Fake.A", "*", "1"}});
    for (int run = 0; run < 2; ++run)
        w.window->loadAddIns();
    EXPECT_EQ(w.menu(), Strings{"A..."});
    EXPECT_EQ(w.registered(), (Strings{"A", "B", "C"}));
    const std::string error = "Error initializing Add-Ins [Elsewhere.B]." + std::string(kCheck);
    EXPECT_EQ(w.boxTexts(), (Strings{error, error}));
    ASSERT_EQ(w.image->messages().size(), 1u) << "the file is reported once";
    EXPECT_EQ(w.image->messages()[0].text.rfind("The add-in file '" +
                                                    (w.folder.path() / "broken.so").string() +
                                                    "' could not be loaded.\r\n\r\n",
                                                0),
              0u);
}

}  // namespace
}  // namespace vtl
