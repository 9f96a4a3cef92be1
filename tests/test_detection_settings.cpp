// Platform detection, the program-settings store and the small shared helpers.
#include <gtest/gtest.h>

#include "config/VbText.h"
#include "config/modAPI.h"
#include "net/NetText.h"
#include "support/RegProbe.h"
#include "support/TestImage.h"

namespace vtl {
namespace {

using test::TestImage;

// The three sample machines cover 9x, NT 4 and 2000 in every other suite.
TEST(Detection, OperatingSystemFromTheVersionKeys) {
    struct Case {
        std::string registry;
        std::string code;
    };
    const std::string nt =
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion]\r\n";
    const std::vector<Case> cases = {
        {nt + "\"CurrentVersion\"=\"5.1\"\r\n", "2K"},
        {"[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n"
         "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\r\n",
         ""},
    };
    for (const Case& c : cases) {
        auto image = TestImage::fromRegistry(c.registry);
        EXPECT_EQ(GetOSVersion(), c.code) << c.registry;
        EXPECT_TRUE(image->messages().empty());
    }
}

TEST(Detection, BrowserVersionsFromTheirRegistryTexts) {
    struct Case {
        std::string registry;
        float ie, nn;
        std::string message;
    };
    const std::string ua =
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet "
        "Settings]\r\n\"User Agent\"=";
    const std::string nn =
        "[HKEY_LOCAL_MACHINE\\Software\\Netscape\\Netscape Navigator]\r\n\"CurrentVersion\"=";
    const std::vector<Case> cases = {
        {ua + "\"Mozilla/4.0 (compatible; MSIE 5.01; Windows NT)\"\r\n\r\n" + nn +
             "\"4.75 (en)\"\r\n",
         5.01f, 4.75f, ""},
        {ua + "\"Mozilla/4.0 (compatible; MSIE 5.0\"\r\n\r\n" + nn + "\"\"\r\n", 0, 0,
         "Error retrieving Internet Explorer version information."},
        {"", 0, 0, ""},
    };
    for (const Case& c : cases) {
        auto image = TestImage::fromRegistry(c.registry);
        EXPECT_FLOAT_EQ(GetIEVersion(), c.ie) << c.registry;
        EXPECT_FLOAT_EQ(GetNNVersion(), c.nn) << c.registry;
        ASSERT_EQ(image->messages().size(), c.message.empty() ? 0u : 1u);
        if (!c.message.empty()) {
            EXPECT_EQ(image->messages()[0].text, c.message);
            EXPECT_EQ(image->messages()[0].caption, "Vantrel");
            EXPECT_EQ(image->messages()[0].style, platform::mb::IconExclamation);
        }
    }
}

// Saving and reading back is exercised by every feature that keeps a setting.
TEST(SettingsStore, DefaultsAndSectionDelete) {
    auto image = TestImage::fromRegistry(
        "[HKEY_LOCAL_MACHINE\\Software\\Vantrel\\Options]\r\n\"LastFileApplied\"=\"\"\r\n\r\n");

    // A missing section gives the default and creates nothing.
    EXPECT_EQ(GetRegSetting(kAppName, "Recent", "MaxFile", "3"), "3");
    EXPECT_FALSE(test::RegProbe::keyExists("HKEY_LOCAL_MACHINE\\Software\\Vantrel\\Recent"));
    // An empty stored value is not the default.
    EXPECT_EQ(GetRegSetting(kAppName, "Options", "LastFileApplied", "N/A"), "");

    // Deleting a whole section; single values go with the recent-files list.
    SaveRegSetting(kAppName, "Recent", "MaxFile", "4");
    DeleteRegSetting(kAppName, "Recent");
    EXPECT_EQ(GetRegSetting(kAppName, "Recent", "MaxFile", "3"), "3");
    EXPECT_TRUE(image->messages().empty());
}

TEST(SharedHelpers, TextConversions) {
    struct ReplaceCase {
        std::string text, search, replacement, result;
    };
    for (const ReplaceCase& c : std::vector<ReplaceCase>{
             {"aabb", "ab", "b", "bb"},
             {"aa", "a", "aa", "aaaa"},
         }) {
        EXPECT_EQ(ReplaceAll(c.text, c.search, c.replacement), c.result) << c.text;
    }

    EXPECT_EQ(CommaListToBytes(""), (std::vector<std::uint8_t>{0, 0}));

    struct ValCase {
        std::string text;
        double value;
    };
    for (const ValCase& c : std::vector<ValCase>{
             {"1 2", 12},
             {"1e2x", 100},
         }) {
        EXPECT_DOUBLE_EQ(Val(c.text), c.value) << c.text;
    }
}

}  // namespace
}  // namespace vtl
