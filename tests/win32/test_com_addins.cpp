// COM add-ins under the real COM runtime: the tests' own recorder add-in
// (TestAddIn.dll beside this program) is shipped in a scratch program folder,
// registered, created by class name and called late-bound.
#include "addins/AddInObject.h"
#include "config/VtlError.h"
#include "platform/win32/ComAddIns.h"
// After the platform's names, which the Windows macros would replace.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using vtl::Variant;
using vtl::VtlError;

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
}

TEST_F(ComAddInTest, ClassThatIsNotRegisteredGivesNoObject) {
    EXPECT_EQ(vtl::win32::CreateComAddIn("VantrelTest.NoSuchClass"), nullptr);
    EXPECT_NE(vtl::win32::CreateComAddIn(kRecorder), nullptr);
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
    const char* const kFail = "[Recorder]\r\nFail=1\r\n";
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
        {"ApplySettings", vtl::kErrorBase + 0x42, "The recorder refuses to apply."},
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

}  // namespace
