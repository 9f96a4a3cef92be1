// The address-list helpers and the address validators of the General tab.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/IPText.h"

namespace vtl::ui {
namespace {

using List = std::vector<std::string>;

TEST(IPText, SplitIP) {
    struct Case {
        std::string text;
        std::string del;
        int fill;
        List expected;
    };
    const std::vector<Case> cases = {
        {"", ",", 3, {"", "", ""}},
        {"", ",", 0, {""}},
        {" 192.168.101.5 , 192.168.101.6 ", ",", 3, {"192.168.101.5", "192.168.101.6", ""}},
        {"10.0.0.1,,10.0.0.3", ",", 0, {"10.0.0.1", "", "10.0.0.3"}},
        {"a,b,c,d", ",", 3, {"a", "b", "c", "d"}},  // never cut
        {"a,", ",", 0, {"a", ""}},
        {"a;b", "", 0, {"a;b"}},  // empty delimiter means ","
        {"a,b", "", 0, {"a", "b"}},
        {"a;b", ";", 1, {"a", "b"}},
        {"a<>b<>c", "<>", 0, {"a", "b", "c"}},
        {"\ta , b\t", ",", 0, {"\ta", "b\t"}},  // only spaces are trimmed
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitIP(c.text, c.del, c.fill), c.expected) << "[" << c.text << "]";
}

TEST(IPText, MergeIP) {
    struct Case {
        List entries;
        std::string del;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{"192.168.101.5", "", "192.168.101.6"}, ",", "192.168.101.5,192.168.101.6"},
        {{"", "", ""}, ",", ""},
        {{}, ",", ""},
        {{"", "", "3.3.3.3"}, ",", "3.3.3.3"},
        {{"1.1.1.1", "2.2.2.2", "3.3.3.3", "4.4.4.4"}, ",", "1.1.1.1,2.2.2.2,3.3.3.3,4.4.4.4"},
        {{"a", "b"}, "", "a,b"},
        {{"a", "b"}, ";", "a;b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MergeIP(c.entries, c.del), c.expected);
}

TEST(IPText, SplitThenMergeKeepsEveryNonEmptyEntry) {
    const std::string list = "10.1.2.21,192.168.50.21,172.16.0.1,10.9.9.9";
    EXPECT_EQ(MergeIP(SplitIP(list, ",", 3), ","), list);
    EXPECT_EQ(MergeIP(SplitIP("", ",", 3), ","), "");
}

TEST(IPText, IsValidIPAddress) {
    struct Case {
        std::string text;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"", true},
        {"192.168.101.5", true},
        {"192.168.001.010", true},
        {"0.0.0.0", true},
        {"255.255.255.255", true},
        {"255.255.255.0", true},
        {"256.1.1.1", false},
        {"1.1.1.256", false},
        {"1.2.3", false},
        {"1.2.3.4.5", false},
        {"1..2.3", false},
        {"1.2.3.", false},
        {".1.2.3", false},
        {" 1.2.3.4", false},
        {"1.2.3.4 ", false},
        {"1.2 .3.4", false},
        {"1.2.3.4a", false},
        {"1234.1.1.1", false},
        {"1.1.1.0001", false},
        {"-1.1.1.1", false},
        {"+1.1.1.1", false},
        {"1,2.3.4", false},
        {"...", false},
        {".", false},
        {"a.b.c.d", false},
        {"1.2.3.4\n", false},
        {std::string("1.2.3.4\0", 8), false},
        {std::string(10000, '1'), false},
        {std::string(10000, '.'), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isValidIPAddress(c.text), c.valid) << "[" << c.text.substr(0, 40) << "]";
}

TEST(IPText, IsValidIPList) {
    struct Case {
        std::string list;
        std::string del;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"", ",", true},
        {"192.168.101.5", ",", true},
        {"192.168.101.5,192.168.101.6", ",", true},
        {"1.1.1.1,2.2.2.2,3.3.3.3,4.4.4.4,5.5.5.5", ",", true},
        {"192.168.101.5,", ",", false},
        {",192.168.101.5", ",", false},
        {"192.168.101.5,192.168.101.6,", ",", false},
        {"192.168.101.5, 192.168.101.6", ",", false},
        {"192.168.101.5 ,192.168.101.6", ",", false},
        {"192.168.101.5,,192.168.101.6", ",", false},
        {"192.168.101.5;192.168.101.6", ",", false},
        {"192.168.101.5;192.168.101.6", ";", true},
        {"1.1.1.1,300.1.1.1", ",", false},
        {"1.1.1.1", "", false},
        {",", ",", false},
        {std::string(10000, ','), ",", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isValidIPList(c.list, c.del), c.valid) << "[" << c.list.substr(0, 40) << "]";

    std::string many = "10.0.0.1";
    for (int i = 0; i < 2000; ++i)
        many += ",10.0.0.1";
    EXPECT_TRUE(isValidIPList(many, ","));
}

}  // namespace
}  // namespace vtl::ui
