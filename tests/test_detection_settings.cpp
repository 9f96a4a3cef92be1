// Platform detection, the program-settings store and the small shared helpers.
#include <gtest/gtest.h>

#include "config/VbText.h"
#include "config/modAPI.h"
#include "net/NetText.h"
#include "registry/clsEasyRegistry.h"
#include "support/TestImage.h"

namespace vtl {
namespace {

using test::TestImage;

std::string regString(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\' || c == '"')
            escaped += '\\';
        escaped += c;
    }
    return "\"" + escaped + "\"";
}

TEST(Detection, OperatingSystemFromTheVersionKeys) {
    struct Case {
        std::string registry;
        std::string code;
    };
    const std::string nt =
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion]\r\n";
    const std::string win =
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n";
    const std::vector<Case> cases = {
        {win + "\"VersionNumber\"=\"4.10.1998\"\r\n", "9x"},
        {nt + "\"CurrentVersion\"=\"4.0\"\r\n", "NT"},
        {nt + "\"CurrentVersion\"=\"5.0\"\r\n", "2K"},
        {nt + "\"CurrentVersion\"=\"5.1\"\r\n", "2K"},
        {nt + "\"CurrentVersion\"=\"6.0\"\r\n", "NT"},
        {win + "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\r\n", ""},
    };
    for (const Case& c : cases) {
        auto image = TestImage::fromRegistry(c.registry);
        EXPECT_EQ(GetOSVersion(), c.code) << c.registry;
        EXPECT_TRUE(image->messages().empty());
    }
}

TEST(Detection, BrowserVersionsFromTheirRegistryTexts) {
    struct Case {
        std::optional<std::string> userAgent;
        float ie;
        bool ieMessage;
        std::optional<std::string> navigator;
        float nn;
    };
    const std::vector<Case> cases = {
        {"Mozilla/4.0 (compatible; MSIE 5.01; Windows NT)", 5.01f, false, "4.75 (en)", 4.75f},
        {"Mozilla/4.0 (Windows NT)", 0, false, "4.7", 4.7f},
        {"Mozilla/4.0 (compatible; MSIE 5.0", 0, true, "", 0},
        {std::nullopt, 0, false, std::nullopt, 0},
    };
    for (const Case& c : cases) {
        std::string reg =
            "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
            "\"CurrentVersion\"=\"5.0\"\r\n\r\n";
        if (c.userAgent) {
            reg +=
                "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet "
                "Settings]\r\n\"User Agent\"=" +
                regString(*c.userAgent) + "\r\n\r\n";
        }
        if (c.navigator) {
            reg +=
                "[HKEY_LOCAL_MACHINE\\Software\\Netscape\\Netscape Navigator]\r\n"
                "\"CurrentVersion\"=" +
                regString(*c.navigator) + "\r\n\r\n";
        }
        auto image = TestImage::fromRegistry(reg);
        EXPECT_FLOAT_EQ(GetIEVersion(), c.ie) << c.userAgent.value_or("(none)");
        EXPECT_FLOAT_EQ(GetNNVersion(), c.nn) << c.navigator.value_or("(none)");
        if (c.ieMessage) {
            ASSERT_EQ(image->messages().size(), 1u);
            EXPECT_EQ(image->messages()[0].text,
                      "Error retrieving Internet Explorer version information.");
            EXPECT_EQ(image->messages()[0].caption, "Vantrel");
            EXPECT_EQ(image->messages()[0].style, platform::mb::IconExclamation);
        } else {
            EXPECT_TRUE(image->messages().empty());
        }
    }
}

TEST(SettingsStore, ReadsDefaultsWritesAndDeletes) {
    auto image = TestImage::fromRegistry(
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
        "\"CurrentVersion\"=\"5.0\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Vantrel\\Options]\r\n\"LastFileApplied\"=\"\"\r\n\r\n");

    // A missing section gives the default and creates nothing.
    EXPECT_EQ(GetRegSetting(kAppName, "Recent", "MaxFile", "3"), "3");
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd("\\HKEY_LOCAL_MACHINE\\Software\\Vantrel\\Recent");
    EXPECT_EQ(reg.lastError(), 2);
    // An empty stored value is not the default.
    EXPECT_EQ(GetRegSetting(kAppName, "Options", "LastFileApplied", "N/A"), "");

    SaveRegSetting(kAppName, "Recent", "File1", "C:\\office.vtl");
    SaveRegSetting(kAppName, "Recent", "MaxFile", "4");
    SaveRegSetting(kAppName, "", "", "1.0.0");
    EXPECT_EQ(GetRegSetting(kAppName, "Recent", "File1"), "C:\\office.vtl");
    EXPECT_EQ(GetRegSetting(kAppName, "", ""), "1.0.0");
    auto all = GetAllRegSettings(kAppName, "Recent");
    ASSERT_TRUE(all.has_value());
    ASSERT_EQ(all->size(), 2u);
    EXPECT_EQ((*all)[1].name, "MaxFile");
    EXPECT_EQ((*all)[1].value, "4");
    EXPECT_FALSE(GetAllRegSettings(kAppName, "Nowhere").has_value());

    DeleteRegSetting(kAppName, "Recent", "Missing");
    DeleteRegSetting(kAppName, "Recent", "File1");
    EXPECT_EQ(GetRegSetting(kAppName, "Recent", "File1", "gone"), "gone");
    EXPECT_EQ(GetRegSetting(kAppName, "Recent", "MaxFile"), "4");
    DeleteRegSetting(kAppName, "Recent");
    EXPECT_EQ(GetRegSetting(kAppName, "Recent", "MaxFile", "3"), "3");
    DeleteRegSetting(kAppName, "Nowhere");
    EXPECT_TRUE(image->messages().empty());
}

TEST(SharedHelpers, TextConversions) {
    EXPECT_EQ(TrimNull(std::string("  abc\0   ", 9)), "abc");
    EXPECT_EQ(TrimNull(std::string("\0  ", 3)), "");

    struct ReplaceCase {
        std::string text, search, replacement, result;
    };
    for (const ReplaceCase& c : std::vector<ReplaceCase>{
             {"a b  c", " ", ",", "a,b,,c"},
             {std::string("x\0y\0", 4), std::string(1, '\0'), ",", "x,y,"},
             {"aabb", "ab", "b", "bb"},
             {"aa", "a", "aa", "aaaa"},
             {"", ",", " ", ""},
         }) {
        EXPECT_EQ(ReplaceAll(c.text, c.search, c.replacement), c.result) << c.text;
    }

    EXPECT_EQ(CommaListToBytes(""), (std::vector<std::uint8_t>{0, 0}));
    EXPECT_EQ(CommaListToBytes("1.2,3"), (std::vector<std::uint8_t>{'1', '.', '2', 0, '3'}));
    EXPECT_EQ(CommaListToBytes(","), (std::vector<std::uint8_t>{0}));

    struct ValCase {
        std::string text;
        double value;
    };
    for (const ValCase& c : std::vector<ValCase>{
             {"4.08 (en)", 4.08},
             {" 5.5b", 5.5},
             {"1 2", 12},
             {"abc", 0},
             {"-3", -3},
             {"1e2x", 100},
             {"7e", 7},
         }) {
        EXPECT_DOUBLE_EQ(Val(c.text), c.value) << c.text;
    }
}

}  // namespace
}  // namespace vtl
