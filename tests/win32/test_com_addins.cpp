// COM add-ins under the real COM runtime: the tests' own recorder add-in
// (TestAddIn.dll beside this program) is shipped in a scratch program folder,
// registered, created by class name and called late-bound, by the platform
// and by the document, the main window and the add-in manager.
#include "addins/AddInObject.h"
#include "addins/AddInRegistry.h"
#include "addins/frmAddIns.h"
#include "app/frmMain.h"
#include "config/VtlError.h"
#include "config/clsVtlConfig.h"
#include "config/modAPI.h"
#include "platform/win32/ComAddIns.h"
#include "platform/win32/Win32Platform.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/win32/Win32TestSupport.h"
// After the platform's names, which the Windows macros would replace.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using vtl::Variant;
using vtl::VtlError;
using Strings = std::vector<std::string>;

constexpr const char* kRecorder = "VantrelTest.Recorder";

std::string programFolder() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

// A scratch program folder whose addins\ holds a copy of the recorder; COM
// keeps the DLL loaded, so it is copied once.
class ComAddInTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        char temp[MAX_PATH + 1] = {};
        GetTempPathA(MAX_PATH, temp);
        appPath_ = std::string(temp) + "vtl-com-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(appPath_.c_str(), nullptr);
        CreateDirectoryA((appPath_ + "\\addins").c_str(), nullptr);
        dll_ = appPath_ + "\\addins\\TestAddIn.dll";
        CopyFileA((programFolder() + "\\TestAddIn.dll").c_str(), dll_.c_str(), FALSE);
        shipped_ = vtl::win32::ShippedComAddIns(appPath_);
    }
    static void TearDownTestSuite() { unregister(); }
    void SetUp() override { DeleteFileA((dll_ + ".log").c_str()); }

    static void unregister() {
        HMODULE module = LoadLibraryA(dll_.c_str());
        auto entry = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
            reinterpret_cast<void (*)()>(GetProcAddress(module, "DllUnregisterServer")));
        if (entry)
            entry();
        FreeLibrary(module);
    }

    static std::string log() {
        std::ifstream in(dll_ + ".log");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static Strings logLines() {
        std::istringstream in(log());
        Strings lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    static inline std::string appPath_;
    static inline std::string dll_;
    static inline std::vector<vtl::platform::Platform::AddInClassInfo> shipped_;
};

TEST_F(ComAddInTest, ShippedAddInIsRegisteredAndDescribed) {
    ASSERT_EQ(shipped_.size(), 1u);
    EXPECT_EQ(shipped_[0].className, kRecorder);
    EXPECT_EQ(shipped_[0].name, "Recorder");
    EXPECT_EQ(shipped_[0].os, "*");
    EXPECT_EQ(shipped_[0].file, dll_);
    EXPECT_EQ(shipped_[0].version, "2.5.0");

    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID(L"VantrelTest.Recorder", &clsid), S_OK);
}

TEST_F(ComAddInTest, UnregisteredAddInIsRegisteredAgainWhenShipped) {
    unregister();
    EXPECT_EQ(vtl::win32::CreateComAddIn(kRecorder), nullptr);
    EXPECT_EQ(vtl::win32::ShippedComAddIns(appPath_).size(), 1u);
    EXPECT_NE(vtl::win32::CreateComAddIn(kRecorder), nullptr);
    EXPECT_EQ(vtl::win32::CreateComAddIn("VantrelTest.NoSuchClass"), nullptr);
}

TEST_F(ComAddInTest, MembersAreCalledByNameWithValuesBothWays) {
    auto addIn = vtl::win32::CreateComAddIn(kRecorder);
    ASSERT_NE(addIn, nullptr);
    EXPECT_EQ(addIn->Invoke("SHOW", {Variant("C:\\a b.vtl")}).kind(), Variant::Kind::Empty);
    const Variant changed = addIn->Invoke("changed", {});
    EXPECT_EQ(changed.kind(), Variant::Kind::Bool);
    EXPECT_TRUE(changed.truth());
    addIn->Invoke("Initialize",
                  {Variant("IgnoreMapErrors"), Variant(std::int32_t{7}), Variant(true)});
    EXPECT_EQ(log(), "Show(C:\\a b.vtl)\nChanged()\nInitialize(IgnoreMapErrors,7,-1)\n");
}

TEST_F(ComAddInTest, FailedCallsBecomeErrorsNamingClassAndMember) {
    const char* const kFail = "[Recorder]\r\nFail=ApplySettings\r\n";
    const std::string file = appPath_ + "\\fail.vtl";
    std::ofstream(file) << kFail;
    auto addIn = vtl::win32::CreateComAddIn(kRecorder);
    ASSERT_NE(addIn, nullptr);
    addIn->Invoke("LoadSettings", {Variant(file)});

    struct Case {
        const char* member;
        std::int32_t number;
        const char* description;
    } cases[] = {
        {"Frobnicate", 438, "Object doesn't support this property or method"},
        {"ApplySettings", vtl::kErrorBase + 0x42, "The recorder refuses ApplySettings."},
    };
    for (const Case& c : cases) {
        try {
            addIn->Invoke(c.member, {});
            ADD_FAILURE() << c.member << " did not fail";
        } catch (const VtlError& e) {
            EXPECT_EQ(e.number(), c.number) << c.member;
            EXPECT_EQ(e.description(),
                      std::string(kRecorder) + "." + c.member + ": " + c.description);
        }
    }
}

// The program's side: the Win32 platform installed, message boxes as lines on
// standard error, add-ins registered in the settings store for the test only.
class ComAddInProgramTest : public ComAddInTest {
  protected:
    void TearDown() override {
        for (const std::string& name : registeredHere_) {
            vtl::DeleteRegSetting(vtl::kAppName, vtl::addins::kSection, name);
            vtl::DeleteRegSetting(vtl::kAppName, vtl::addins::addInSection(name));
        }
    }

    void registerAddIn(const std::string& name, const std::string& className) {
        const std::string section = vtl::addins::addInSection(name);
        vtl::SaveRegSetting(vtl::kAppName, vtl::addins::kSection, name, "");
        vtl::SaveRegSetting(vtl::kAppName, section, "Class", className);
        vtl::SaveRegSetting(vtl::kAppName, section, "OS", "*");
        vtl::SaveRegSetting(vtl::kAppName, section, "Active", "1");
        registeredHere_.push_back(name);
    }
    static Strings registered() {
        Strings names;
        for (const auto& value : vtl::GetAllRegSettings(vtl::kAppName, vtl::addins::kSection)
                                     .value_or(std::vector<vtl::RegSettingValue>{}))
            names.push_back(value.name);
        return names;
    }
    // A configuration file that enables no section: only the add-ins act.
    std::string configuration(const std::string& name, const std::string& recorder) {
        const std::string file = folder / name;
        std::ofstream(file, std::ios::binary)
            << "[Enabled Sections]\r\nGeneral=0\r\nInternet Explorer=0\r\n"
               "Netscape Navigator=0\r\n[Recorder]\r\n"
            << recorder;
        return file;
    }
    Strings boxes() const {
        Strings texts;
        for (const auto& box : dialogs.boxes)
            texts.push_back(box.text);
        return texts;
    }

    vtl::win32::test::ScopedEnv unattended{"VANTREL_UNATTENDED", "1"};
    vtl::win32::Win32Platform sys;
    vtl::platform::PlatformScope scope{sys};
    vtl::win32::test::ScratchFolder folder;
    vtl::test::ScriptedDialogs dialogs;

  private:
    Strings registeredHere_;
};

TEST_F(ComAddInProgramTest, DocumentLoadsSavesAndAppliesThroughTheAddIn) {
    vtl::clsVtlConfig document;
    const vtl::AddInCollection addIns{vtl::win32::CreateComAddIn(kRecorder)};
    ASSERT_NE(addIns[0], nullptr);
    const std::string target = folder / "saved.vtl";
    for (const bool restart : {true, false}) {
        DeleteFileA((dll_ + ".log").c_str());
        const std::string source = configuration(
            "source.vtl", std::string("Value=kept\r\nRestart=") + (restart ? "1" : "0") + "\r\n");
        document.LoadConfigurationFile(source, addIns);
        ASSERT_EQ(document.SaveConfigurationFile(target, addIns), 1);
        EXPECT_EQ(document.ApplyConfiguration(addIns), restart);

        const Strings lines = logLines();
        ASSERT_EQ(lines.size(), 5u) << log();
        EXPECT_EQ(lines[0], "LoadSettings(" + source + ")");
        // Written beside the target, which it then replaces.
        const std::string saved = lines[1].substr(0, lines[1].size() - 1);
        EXPECT_EQ(saved.rfind("saveSettings(" + folder.path() + "\\", 0), 0u) << saved;
        EXPECT_NE(saved, "saveSettings(" + target);
        EXPECT_EQ(Strings(lines.begin() + 2, lines.end()),
                  (Strings{"Initialize(IgnoreMapErrors)", "ApplySettings()", "restart()"}));
        char value[32] = {};
        GetPrivateProfileStringA("Recorder", "Value", "", value, sizeof value, target.c_str());
        EXPECT_STREQ(value, "kept");
    }
}

TEST_F(ComAddInProgramTest, ManagerAboutCreatesAnObjectOfTheClass) {
    struct Case {
        std::string className;
        Strings log, boxes;
    };
    const Case cases[] = {
        {kRecorder, {"about()"}, {}},
        {"VantrelTest.NoSuchClass",
         {},
         {"Error referencing Add-In control: 'VantrelTest.NoSuchClass'.\r\r"
          "Please check your Add-Ins."}},
    };
    for (const Case& c : cases) {
        DeleteFileA((dll_ + ".log").c_str());
        dialogs.boxes.clear();
        registerAddIn("About test", c.className);
        vtl::frmAddIns manager(dialogs);
        manager.Form_Load();
        for (int i = 0; i < manager.lstAddIns.listCount(); ++i) {
            if (manager.lstAddIns.listAt(i) == "About test")
                manager.lstAddIns.setListIndex(i);
        }
        ASSERT_EQ(manager.lstAddIns.text(), "About test");
        manager.cmdAbout_Click();
        EXPECT_EQ(logLines(), c.log) << c.className;
        EXPECT_EQ(boxes(), c.boxes) << c.className;
    }
}

TEST_F(ComAddInProgramTest, LoadingDropsAClassThatIsNotRegisteredAndGoesOn) {
    registerAddIn("Ghost", "VantrelTest.NoSuchClass");
    registerAddIn("Recorder", kRecorder);
    vtl::frmMain window(dialogs);
    window.loadAddIns();

    const Strings names = registered();
    EXPECT_EQ(std::count(names.begin(), names.end(), "Ghost"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Recorder"), 1);
    EXPECT_EQ(std::count(window.addInNames.begin(), window.addInNames.end(), "Recorder"), 1);
    EXPECT_EQ(std::count(window.addInNames.begin(), window.addInNames.end(), "Ghost"), 0);
    EXPECT_EQ(boxes(), Strings{});
}

TEST_F(ComAddInProgramTest, ShippedNetworkDrivesRegistersItselfForTheSettingsStore) {
    const std::string dll = programFolder() + "\\addins\\NetworkDrives.dll";
    vtl::addins::RegisterShippedAddIns();
    const std::string section = vtl::addins::addInSection("Network Drives");
    const std::pair<const char*, std::string> values[] = {
        {"Class", "NetworkDrives.clsNetworkDrives"}, {"OS", "*"}, {"File", dll}};
    for (const auto& [name, expected] : values)
        EXPECT_EQ(vtl::GetRegSetting(vtl::kAppName, section, name), expected) << name;
    EXPECT_FALSE(vtl::GetRegSetting(vtl::kAppName, section, "Version").empty());

    const auto drives = vtl::win32::CreateComAddIn("NetworkDrives.clsNetworkDrives");
    ASSERT_NE(drives, nullptr);
    EXPECT_FALSE(drives->Invoke("Changed", {}).truth());
}

TEST_F(ComAddInProgramTest, FailingMemberIsReportedByItsCaller) {
    const std::string refuses = std::string(kRecorder) + ".";
    struct Case {
        const char* member;
        std::function<void(vtl::frmMain&)> command;
        std::string box, errorLine;
    };
    const std::string saved = folder / "saved.vtl";
    const Case cases[] = {
        {"LoadSettings", [](vtl::frmMain&) {},
         "Error opening file '" + (folder / "fail.vtl") + "'.", ""},
        {"saveSettings", [&](vtl::frmMain& w) { w.saveFile(saved); }, "Error saving configuration.",
         "Vantrel: Error: " + refuses + "saveSettings: The recorder refuses saveSettings."},
        {"ApplySettings",
         [](vtl::frmMain& w) {
             w.changed = true;
             w.mnuFileApply_Click();
         },
         "Error in frmMain:mnuFileApply_Click:" + refuses +
             "ApplySettings: The recorder refuses ApplySettings.",
         ""},
        {"Show",
         [](vtl::frmMain& w) {
             for (int i = 0; i < vtl::frmMain::kAddInMenuSize; ++i) {
                 if (w.mnuAddInsEntry(i).visible() &&
                     w.mnuAddInsEntry(i).caption() == "Recorder...")
                     w.mnuAddIns_Click(i);
             }
         },
         "An error occurred while attempting to access an Add-In.\r\rPlease check your Add-Ins.",
         ""},
    };
    registerAddIn("Recorder", kRecorder);
    for (const Case& c : cases) {
        dialogs.boxes.clear();
        const std::string file =
            configuration("fail.vtl", std::string("Fail=") + c.member + "\r\n");
        vtl::frmMain window(dialogs);
        window.Form_Load();
        const std::string errors = vtl::win32::test::captureStderr([&] {
            window.openFile(file);
            c.command(window);
        });
        ASSERT_FALSE(dialogs.boxes.empty()) << c.member;
        EXPECT_EQ(dialogs.boxes.back().text, c.box) << c.member;
        if (!c.errorLine.empty()) {
            EXPECT_NE(errors.find(c.errorLine), std::string::npos) << errors;
        }
        DeleteFileA(saved.c_str());
    }
}

}  // namespace
