// clsEasyRegistry on a small image: path syntax, conversions, error model.
#include <gtest/gtest.h>

#include "config/VtlError.h"
#include "registry/clsEasyRegistry.h"
#include "support/TestImage.h"

namespace vtl {
namespace {

using test::TestImage;

constexpr const char* kNt =
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
    "\"CurrentVersion\"=\"5.0\"\r\n\r\n";

constexpr const char* kRegistry = R"(
[HKEY_LOCAL_MACHINE\Software\Test]
"Short"=hex(4):01,02,03

)";

struct RegistryAccess : ::testing::Test {
    std::unique_ptr<TestImage> image = TestImage::fromRegistry(std::string(kNt) + kRegistry);
};

// Usage errors are raised even when errors are suppressed, and leave nothing open.
TEST_F(RegistryAccess, PathsResolveLikeAFileSystem) {
    struct Case {
        std::vector<std::string> cds;
        std::string key;
        std::string error;  // lastError, or the number and text raised
    };
    const std::string noKey = std::to_string(kErrorBase + 1) + " No current Key.";
    const std::string badRoot = std::to_string(kErrorBase + 2) + " Invalid Key root.";
    const std::vector<Case> cases = {
        {{"\\hkey_local_machine", "software\\test\\"}, "\\HKEY_LOCAL_MACHINE\\SOFTWARE\\TEST", "0"},
        {{"\\HKEY_LOCAL_MACHINE\\Software\\Test", ".."}, "\\HKEY_LOCAL_MACHINE\\SOFTWARE", "0"},
        {{"\\HKEY_LOCAL_MACHINE\\Software", "Missing"},
         "\\HKEY_LOCAL_MACHINE\\SOFTWARE\\MISSING",
         "2"},
        {{".."}, "", noKey},
        {{"\\HKEY_USERS", "\\HKEY_NOWHERE\\X"}, "", badRoot},
    };
    for (const Case& c : cases) {
        clsEasyRegistry reg;
        reg.SetSuppressErrors(true);
        std::string error;
        try {
            for (const std::string& path : c.cds)
                reg.Cd(path);
            error = std::to_string(reg.lastError());
        } catch (const VtlError& e) {
            EXPECT_EQ(e.source(), "EasyRegistry");
            error = std::to_string(e.number()) + " " + e.description();
        }
        EXPECT_EQ(reg.CurrentKey(), c.key) << c.cds.back();
        EXPECT_EQ(error, c.error) << c.cds.back();
    }
}

TEST_F(RegistryAccess, ApiFailuresRaiseUnlessSuppressed) {
    clsEasyRegistry reg;
    try {
        reg.Cd("\\HKEY_LOCAL_MACHINE\\Missing");
        ADD_FAILURE() << "no error";
    } catch (const VtlError& e) {
        EXPECT_EQ(e.number(), static_cast<std::int32_t>(0x80040100u));
        EXPECT_EQ(e.source(), "EasyRegistry[API Call]");
        EXPECT_EQ(e.description(), "Key/Value does not exist.");
    }
    EXPECT_EQ(reg.lastError(), 2);
}

// A DWORD of odd size, its missing byte 0, as text, number and bytes.
TEST_F(RegistryAccess, ValuesReadInTheirThreeForms) {
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd("\\HKEY_LOCAL_MACHINE\\Software\\Test");
    RegValueType type = MULTI_STRING;
    ValueRead read = reg.ValueOf("Short", type);
    EXPECT_EQ(reg.lastError(), 0);
    EXPECT_EQ(read.text, "03020100");
    EXPECT_EQ(read.number, 197121);
    EXPECT_EQ(type, DWORD);
    EXPECT_EQ(read.bytes, (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(RegistryAccess, WritesCheckKindAndRange) {
    struct Case {
        RegValueType type;
        Variant value;
        std::int32_t error;  // 0: written
        std::vector<std::uint8_t> stored;
    };
    const std::vector<Case> cases = {
        {DWORD, Variant(1.5), 3, {}},
        {DWORD, Variant(4294967296.0), 3, {}},
        {DWORD, Variant("12"), 3, {}},
        {DWORD, Variant(4294967295.0), 0, {0xFF, 0xFF, 0xFF, 0xFF}},
        {BINARY, Variant(std::vector<std::uint8_t>{1, 2}, 2), 3, {}},
        {static_cast<RegValueType>(7), Variant("x"), 4, {}},
    };
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd("\\HKEY_LOCAL_MACHINE\\Software\\Test");
    int n = 0;
    for (const Case& c : cases) {
        const std::string name = "V" + std::to_string(n++);
        RegValueType type = c.type;
        try {
            reg.SetValueOf(name, type, c.value);
            EXPECT_EQ(c.error, 0) << name;
            RegValueType readType = STRING;
            EXPECT_EQ(reg.ValueOf(name, readType).bytes, c.stored) << name;
        } catch (const VtlError& e) {
            EXPECT_EQ(e.number(), kErrorBase + c.error) << name;
            EXPECT_EQ(e.source(), "EasyRegistry [Let ValueOf]") << name;
        }
    }
}

// NT refuses to delete a key that has subkeys; Windows 95/98 deletes the tree.
TEST(RegistryAccessOnEachSystem, MakesAndDeletesKeys) {
    const std::string win9x =
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]"
        "\r\n\"VersionNumber\"=\"4.10.1998\"\r\n";
    for (bool nt : {true, false}) {
        SCOPED_TRACE(nt);
        auto image = TestImage::fromRegistry(nt ? kNt : win9x);
        clsEasyRegistry reg;
        reg.SetSuppressErrors(true);
        reg.Cd("\\HKEY_LOCAL_MACHINE\\Software");
        reg.MakeKey("Vantrel\\Recent");
        EXPECT_EQ(reg.lastError(), 0);
        EXPECT_EQ(reg.CurrentKey(), "\\HKEY_LOCAL_MACHINE\\SOFTWARE");
        auto names = reg.DirKey();
        ASSERT_TRUE(names.has_value());
        EXPECT_EQ(names->back(), "Vantrel");  // created case kept, created last

        reg.DeleteValue("X");
        EXPECT_EQ(reg.lastError(), 2);
        reg.DeleteKey("Vantrel");
        EXPECT_EQ(reg.lastError(), nt ? 5 : 0);
        reg.Cd("Vantrel\\Recent");
        EXPECT_EQ(reg.lastError(), nt ? 0 : 2);
        EXPECT_EQ(reg.IsWindowsNT(), nt);
    }
}

// Root listing, null for no subkeys or values, and the value columns.
TEST(RegistryAccessListing, ListsKeysAndValues) {
    auto image = TestImage::fromRegistry(std::string(kNt) +
                                         "[HKEY_LOCAL_MACHINE\\Software\\L\\Child]\r\n\r\n"
                                         "[HKEY_LOCAL_MACHINE\\Software\\L]\r\n"
                                         "\"Word\"=dword:00010002\r\n\"Bytes\"=hex:01,0a,ff\r\n"
                                         "\"Text\"=\"abc\"\r\n");
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    EXPECT_EQ(reg.DirValue().kind, DirValueResult::Kind::Empty);
    EXPECT_EQ(reg.DirKey(), (std::vector<std::string>{"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                      "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                                      "HKEY_DYN_DATA", "HKEY_CURRENT_CONFIG"}));
    reg.Cd("\\HKEY_LOCAL_MACHINE\\Software\\L\\Child");
    EXPECT_FALSE(reg.DirKey().has_value());
    EXPECT_EQ(reg.DirValue().kind, DirValueResult::Kind::Null);
    reg.Cd("..");
    const auto values = reg.DirValue();
    ASSERT_EQ(values.columns.size(), 3u);
    EXPECT_EQ(values.columns[0], (DirValueColumn{"Word", "00010002 (0,000,065,538)", "2"}));
    EXPECT_EQ(values.columns[1], (DirValueColumn{"Bytes", "1 A FF", "1"}));
    EXPECT_EQ(values.columns[2], (DirValueColumn{"Text", "abc", "0"}));
}

}  // namespace
}  // namespace vtl
