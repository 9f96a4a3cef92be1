// The address-list helpers and the address validators of the General tab.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/IPText.h"

namespace vtl::ui {
namespace {

using List = std::vector<std::string>;

TEST(IPText, SplitAndMerge) {
    struct Case {
        std::string text, del;
        int fill;
        List split;
        std::string merged;
    };
    const std::vector<Case> cases = {
        {"", ",", 3, {"", "", ""}, ""},
        {" 1.1.1.5 , 1.1.1.6 ", ",", 3, {"1.1.1.5", "1.1.1.6", ""}, "1.1.1.5,1.1.1.6"},
        {"10.0.0.1,,10.0.0.3", ",", 0, {"10.0.0.1", "", "10.0.0.3"}, "10.0.0.1,10.0.0.3"},
        {"a,b,c,d", ",", 3, {"a", "b", "c", "d"}, "a,b,c,d"},  // never cut
        {"a,", ",", 0, {"a", ""}, "a"},
        {"a,b", "", 0, {"a", "b"}, "a,b"},                 // empty delimiter means ","
        {"\ta , b\t", ",", 0, {"\ta", "b\t"}, "\ta,b\t"},  // only spaces are trimmed
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitIP(c.text, c.del, c.fill), c.split) << "[" << c.text << "]";
        EXPECT_EQ(MergeIP(c.split, c.del), c.merged) << "[" << c.text << "]";
    }
    EXPECT_EQ(MergeIP({}, ","), "");
}

TEST(IPText, IsValidIPAddress) {
    const List valid = {"", "192.168.101.5", "192.168.001.010", "0.0.0.0", "255.255.255.255"};
    const List invalid = {"256.1.1.1",
                          "1.2.3",
                          "1.2.3.4.5",
                          "1..2.3",
                          " 1.2.3.4",
                          "1.2.3.4a",
                          "1234.1.1.1",
                          "1.1.1.0001",
                          "-1.1.1.1",
                          "1,2.3.4",
                          "a.b.c.d",
                          std::string("1.2.3.4\0", 8),
                          std::string(10000, '1')};
    for (const std::string& text : valid)
        EXPECT_TRUE(isValidIPAddress(text)) << "[" << text << "]";
    for (const std::string& text : invalid)
        EXPECT_FALSE(isValidIPAddress(text)) << "[" << text.substr(0, 20) << "]";
}

TEST(IPText, IsValidIPList) {
    std::string many = "10.0.0.1";
    for (int i = 0; i < 2000; ++i)
        many += ",10.0.0.1";
    const List valid = {"", "192.168.101.5", "192.168.101.5,192.168.101.6", many};
    const List invalid = {"192.168.101.5,",
                          "192.168.101.5, 192.168.101.6",
                          "192.168.101.5,,192.168.101.6",
                          "192.168.101.5;192.168.101.6",
                          "1.1.1.1,300.1.1.1",
                          std::string(10000, ',')};
    for (const std::string& list : valid)
        EXPECT_TRUE(isValidIPList(list, ",")) << "[" << list.substr(0, 30) << "]";
    for (const std::string& list : invalid)
        EXPECT_FALSE(isValidIPList(list, ",")) << "[" << list.substr(0, 30) << "]";
    EXPECT_TRUE(isValidIPList("192.168.101.5;192.168.101.6", ";"));
    EXPECT_FALSE(isValidIPList("1.1.1.1", ""));
}

}  // namespace
}  // namespace vtl::ui
