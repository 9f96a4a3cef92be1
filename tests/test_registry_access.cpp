// clsEasyRegistry on a small image: path syntax, conversions, error model.
#include <gtest/gtest.h>

#include "config/VtlError.h"
#include "registry/clsEasyRegistry.h"
#include "support/TestImage.h"

namespace vtl {
namespace {

using test::TestImage;

constexpr const char* kRegistry = R"(REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion]
"CurrentVersion"="5.0"

[HKEY_LOCAL_MACHINE\Software\Test]
"Text"="abc"
"Expand"=hex(2):25,54,45,4d,50,25,00
"Multi"=hex(7):61,00,62,00,00
"Word"=dword:00010002
"One"=dword:00000001
"Bytes"=hex:01,0a,ff
"Empty"=""
"Short"=hex(4):01,02,03

[HKEY_LOCAL_MACHINE\Software\Test\Child]

[HKEY_USERS\.DEFAULT]
)";

struct Fixture : ::testing::Test {
    std::unique_ptr<TestImage> image = TestImage::fromRegistry(kRegistry);
};

using RegistryAccess = Fixture;

TEST_F(RegistryAccess, PathsResolveLikeAFileSystem) {
    struct Case {
        std::vector<std::string> cds;
        std::string key;
        std::int32_t error;
    };
    const std::vector<Case> cases = {
        {{"\\hkey_local_machine\\software\\"}, "\\HKEY_LOCAL_MACHINE\\SOFTWARE", 0},
        {{"  \\HKEY_LOCAL_MACHINE\\Software  "}, "\\HKEY_LOCAL_MACHINE\\SOFTWARE", 0},
        {{"\\HKEY_LOCAL_MACHINE", "Software\\Test", "Child"},
         "\\HKEY_LOCAL_MACHINE\\SOFTWARE\\TEST\\CHILD",
         0},
        {{"\\HKEY_LOCAL_MACHINE\\Software\\Test", ".."}, "\\HKEY_LOCAL_MACHINE\\SOFTWARE", 0},
        {{"\\HKEY_USERS", ".."}, "", 0},
        {{"\\"}, "", 0},
        {{"HKEY_USERS"}, "\\HKEY_USERS", 0},
        {{"\\HKEY_LOCAL_MACHINE\\Software", "Missing"},
         "\\HKEY_LOCAL_MACHINE\\SOFTWARE\\MISSING",
         2},
    };
    for (const Case& c : cases) {
        clsEasyRegistry reg;
        reg.SetSuppressErrors(true);
        for (const std::string& path : c.cds)
            reg.Cd(path);
        EXPECT_EQ(reg.CurrentKey(), c.key) << c.cds.back();
        EXPECT_EQ(reg.lastError(), c.error) << c.cds.back();
    }
}

TEST_F(RegistryAccess, UsageErrorsAreRaisedEvenWhenSuppressed) {
    struct Case {
        std::vector<std::string> cds;
        std::int32_t number;
        std::string description;
    };
    const std::vector<Case> cases = {
        {{".."}, kErrorBase + 1, "No current Key."},
        {{"Software"}, kErrorBase + 2, "Invalid Key root."},
        {{"\\HKEY_USERS", "\\HKEY_NOWHERE\\X"}, kErrorBase + 2, "Invalid Key root."},
    };
    for (const Case& c : cases) {
        clsEasyRegistry reg;
        reg.SetSuppressErrors(true);
        try {
            for (const std::string& path : c.cds)
                reg.Cd(path);
            ADD_FAILURE() << "no error for " << c.cds.back();
        } catch (const VtlError& e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_EQ(e.source(), "EasyRegistry");
            EXPECT_EQ(e.description(), c.description);
        }
        // After a bad root nothing is left open.
        EXPECT_EQ(reg.CurrentKey(), "");
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

    reg.SetSuppressErrors(true);
    reg.Cd("\\HKEY_LOCAL_MACHINE\\Software\\Test");
    RegValueType type = STRING;
    ValueRead missing = reg.ValueOf("Nope", type);
    EXPECT_EQ(reg.lastError(), 2);
    EXPECT_EQ(missing.text, "");
    EXPECT_TRUE(missing.bytes.empty());
    EXPECT_EQ(missing.number, 0);
    reg.ValueOf("Text", type);
    EXPECT_EQ(reg.lastError(), 0);
}

TEST_F(RegistryAccess, ValuesReadInTheirThreeForms) {
    struct Case {
        std::string name;
        std::string text;
        double number;
        RegValueType type;
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<Case> cases = {
        {"Text", "abc", 0, STRING, {'a', 'b', 'c', 0}},
        {"Expand", "%TEMP%", 0, STRING, {'%', 'T', 'E', 'M', 'P', '%', 0}},
        {"Multi", std::string("a\0b\0", 4), 0, STRING, {'a', 0, 'b', 0, 0}},
        {"Word", "00010002", 65538, DWORD, {2, 0, 1, 0}},
        {"Bytes", "1 A FF", 0, BINARY, {1, 10, 255}},
        {"Empty", "", 0, STRING, {0}},
        {"Short", "03020100", 197121, DWORD, {1, 2, 3}},  // odd size: missing byte is 0
    };
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd("\\HKEY_LOCAL_MACHINE\\Software\\Test");
    for (const Case& c : cases) {
        RegValueType type = MULTI_STRING;
        ValueRead read = reg.ValueOf(c.name, type);
        EXPECT_EQ(reg.lastError(), 0) << c.name;
        EXPECT_EQ(read.text, c.text) << c.name;
        EXPECT_EQ(read.number, c.number) << c.name;
        EXPECT_EQ(type, c.type) << c.name;
        EXPECT_EQ(read.bytes, c.bytes) << c.name;
    }
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
        {DWORD, Variant(-1.0), 3, {}},
        {DWORD, Variant(4294967296.0), 3, {}},
        {DWORD, Variant("12"), 3, {}},
        {DWORD, Variant(std::int32_t{12}), 3, {}},
        {DWORD, Variant(4294967295.0), 0, {0xFF, 0xFF, 0xFF, 0xFF}},
        {DWORD, Variant(258.0), 0, {2, 1, 0, 0}},
        {STRING, Variant(""), 0, {0}},
        {STRING, Variant(7.0), 3, {}},
        {BINARY, Variant(std::vector<std::uint8_t>{1, 2}), 0, {1, 2}},
        {BINARY, Variant(std::vector<std::uint8_t>{1, 2}, 2), 3, {}},
        {MULTI_STRING, Variant(std::vector<std::uint8_t>{'a', 0, 'b'}), 0, {'a', 0, 'b'}},
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

TEST_F(RegistryAccess, ListsKeysAndValues) {
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    EXPECT_EQ(reg.DirValue().kind, DirValueResult::Kind::Empty);
    auto roots = reg.DirKey();
    ASSERT_TRUE(roots.has_value());
    EXPECT_EQ(*roots, (std::vector<std::string>{"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                "HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_DYN_DATA",
                                                "HKEY_CURRENT_CONFIG"}));

    reg.Cd("\\HKEY_LOCAL_MACHINE\\Software\\Test\\Child");
    EXPECT_FALSE(reg.DirKey().has_value());
    EXPECT_EQ(reg.DirValue().kind, DirValueResult::Kind::Null);

    reg.Cd("..");
    auto values = reg.DirValue();
    ASSERT_EQ(values.kind, DirValueResult::Kind::Array);
    ASSERT_EQ(values.columns.size(), 8u);
    EXPECT_EQ(values.columns[0], (DirValueColumn{"Text", "abc", "0"}));
    EXPECT_EQ(values.columns[3], (DirValueColumn{"Word", "00010002 (0,000,065,538)", "2"}));
    EXPECT_EQ(values.columns[5], (DirValueColumn{"Bytes", "1 A FF", "1"}));
}

TEST_F(RegistryAccess, MakesAndDeletesKeysAndValues) {
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd("\\HKEY_LOCAL_MACHINE\\Software");
    reg.MakeKey("Vantrel\\Recent");
    EXPECT_EQ(reg.lastError(), 0);
    EXPECT_EQ(reg.CurrentKey(), "\\HKEY_LOCAL_MACHINE\\SOFTWARE");
    auto names = reg.DirKey();
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ(names->back(), "Vantrel");  // created case kept, created last

    // NT refuses to delete a key that has subkeys.
    reg.DeleteKey("Vantrel");
    EXPECT_EQ(reg.lastError(), 5);
    reg.Cd("Vantrel");
    reg.DeleteKey("Recent");
    EXPECT_EQ(reg.lastError(), 0);
    reg.SetValue("X", STRING, Variant("1"));
    reg.DeleteValue("X");
    EXPECT_EQ(reg.lastError(), 0);
    reg.DeleteValue("X");
    EXPECT_EQ(reg.lastError(), 2);
    EXPECT_TRUE(reg.IsWindowsNT());
}

TEST(RegistryAccessOn9x, DeletesWholeTreesAndIsNotNT) {
    auto image = TestImage::fromRegistry(
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n"
        "\"VersionNumber\"=\"4.10.1998\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\A\\B\\C]\r\n\r\n");
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd("\\HKEY_LOCAL_MACHINE\\Software");
    reg.DeleteKey("A");
    EXPECT_EQ(reg.lastError(), 0);
    reg.Cd("A");
    EXPECT_EQ(reg.lastError(), 2);
    EXPECT_FALSE(reg.IsWindowsNT());
}

}  // namespace
}  // namespace vtl
