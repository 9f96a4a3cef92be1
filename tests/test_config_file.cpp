// The program's two configuration-file operations on top of the profile calls.
#include <gtest/gtest.h>

#include "config/ConfigFile.h"
#include "support/TestImage.h"

namespace vtl {
namespace {

TEST(ConfigFile, ReadsValuesAsTheProgramSeesThem) {
    auto image = test::TestImage::fromRegistry(
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
        "\"CurrentVersion\"=\"5.0\"\r\n");
    test::TempDir dir;
    const std::string file = (dir.path() / "office.vtl").string();
    const std::string longValue(300, 'x');
    test::writeFile(file, ";header\r\n[Advanced]\r\nComments=" + longValue +
                              "\r\nautoapply = 1 \r\nQuoted=\"  two words  \"\r\n"
                              "Exact=" +
                              std::string(254, 'y') + "\r\n");
    struct Case {
        std::string section, key, value;
    };
    for (const Case& c : std::vector<Case>{
             {"Advanced", "Comments", std::string(254, 'x')},
             {"advanced", "AUTOAPPLY", "1"},
             {"Advanced", "Quoted", "two words  "},
             {"Advanced", "Exact", std::string(254, 'y')},
             {"Advanced", "Missing", ""},
             {"Nowhere", "Comments", ""},
         }) {
        EXPECT_EQ(ReadConfigValue(c.section, c.key, file), c.value) << c.key;
    }
    EXPECT_EQ(ReadConfigValue("Advanced", "Comments", (dir.path() / "none.vtl").string()), "");

    EXPECT_TRUE(WriteConfigValue("Advanced", "AutoApply", "0", file));
    EXPECT_TRUE(WriteConfigValue("Network", "Host", "pc1", file));
    EXPECT_EQ(ReadConfigValue("Advanced", "AutoApply", file), "0");
    EXPECT_EQ(ReadConfigValue("Network", "Host", file), "pc1");
    EXPECT_EQ(test::readFile(file).rfind(";header\r\n", 0), 0u);
    EXPECT_FALSE(WriteConfigValue("A", "B", "C", (dir.path() / "no" / "such.vtl").string()));
}

}  // namespace
}  // namespace vtl
