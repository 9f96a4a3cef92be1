// The prefs.js line editor: lookup, value cutting, replacement positions,
// write-back and its failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "browser/clsNavigatorPrefs.h"
#include "support/TestImage.h"

namespace vtl {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TestImage;
using test::writeFile;

constexpr const char* kPrefsPath = "C:\\Users\\Default\\PREFS.JS";

// Lines given as "a|b|c", each ended with CR LF.
std::string crlf(const std::string& lines) {
    std::string text;
    std::size_t start = 0;
    for (std::size_t bar; !lines.empty(); start = bar + 1) {
        bar = lines.find('|', start);
        text += lines.substr(start, bar - start) + "\r\n";
        if (bar == std::string::npos)
            break;
    }
    return text;
}

class NavigatorPrefsTest : public ::testing::Test {
  public:
    fs::path dir() const { return image_->dir() / "drive_c" / "users" / "default"; }
    fs::path file() const { return dir() / "prefs.js"; }
    void write(const std::string& content) { writeFile(file(), content); }
    std::string onDisk() const { return readFile(file()); }

  protected:
    void SetUp() override {
        image_ = TestImage::fromRegistry("");
        fs::create_directories(dir());
    }
    // No message for an empty `prefix`; otherwise exactly one, starting with it.
    void expectMessage(const std::string& prefix) {
        std::vector<std::string> texts;
        for (const auto& m : image_->messages())
            texts.push_back(m.text);
        ASSERT_EQ(texts.size(), prefix.empty() ? 0u : 1u) << ::testing::PrintToString(texts);
        if (prefix.empty())
            return;
        const auto& m = image_->messages().front();
        EXPECT_EQ(m.text.rfind(prefix, 0), 0u) << m.text;
        EXPECT_EQ(m.caption, "Vantrel");
        EXPECT_EQ(m.style & platform::mb::IconMask, platform::mb::IconExclamation);
        image_->clearMessages();
    }

    std::unique_ptr<TestImage> image_;
};

TEST_F(NavigatorPrefsTest, ReadsValuesCutByPosition) {
    const std::string bad = "Error in clsNavigatorPrefs:getSetting:";
    struct Case {
        std::string line, key, expected, message;
    };
    const Case cases[] = {
        {R"(user_pref("network.proxy.http", "proxy");)", "network.proxy.http", "proxy", ""},
        {R"(user_pref("network.proxy.http_port", 8080);)", "network.proxy.http_port", "8080", ""},
        {R"(   USER_PREF("Network.Proxy.HTTP", "p");)", "NETWORK.proxy.http", "p", ""},
        {R"(user_pref("network.proxy.http_port", 80);)", "network.proxy.http", "", ""},
        {"// a comment", "network.proxy.http", "", ""},
        {R"(user_pref("a", "http://h/(x)y");)", "a", "http://h/(", ""},
        {R"(user_pref("a","b");)", "a", "b\"", ""},
        {R"(user_pref("a", "C:\\x \"q\"");)", "a", R"(C:\\x \"q\")", ""},
        {R"(user_pref("a", "");)", "a", "", ""},
        {R"(user_pref("a", "b";)", "a", "", bad},
        {R"(user_pref("a", ");)", "a", "", bad},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        write("// Netscape prefs\r\n" + c.line + "\r\n\r\n");
        clsNavigatorPrefs prefs;
        prefs.openPrefsFile(kPrefsPath, false);
        EXPECT_EQ(prefs.getSetting(c.key), c.expected);
        expectMessage(c.message);
    }
}

TEST_F(NavigatorPrefsTest, EditsLinesInPlace) {
    const std::string http = R"(user_pref("network.proxy.http", "old");)";
    const std::string newHttp = R"(user_pref("network.proxy.http", "new");)";
    const std::string port = R"(user_pref("network.proxy.http_port", 80);)";
    const std::string head = "// head";
    auto setHttp = [](clsNavigatorPrefs& p) { p.saveSettingStr("network.proxy.http", "new"); };
    auto delHttp = [](clsNavigatorPrefs& p) { p.deleteSetting("network.proxy.http"); };
    struct Case {
        const char* name;
        std::string before;
        std::function<void(clsNavigatorPrefs&)> edit;
        std::string after, message;
    };
    const Case cases[] = {
        {"replace keeps line", head + "|" + http + "|" + port + "|", setHttp,
         head + "|" + newHttp + "|" + port + "|", ""},
        {"replace on last line moves up", head + "|" + port + "|" + http, setHttp,
         head + "|" + newHttp + "|" + port, ""},
        {"new key before last line", head + "|" + port + "|",
         [](clsNavigatorPrefs& p) { p.saveSettingInt("network.proxy.type", 2); },
         head + "|" + port + "|user_pref(\"network.proxy.type\", 2);|", ""},
        {"key case kept, found again ignoring case",
         head + "|user_pref(\"Mail.Leave_On_Server\", false);|",
         [](clsNavigatorPrefs& p) { p.saveSettingBln("MAIL.leave_on_server", true); },
         head + "|user_pref(\"MAIL.leave_on_server\", true);|", ""},
        {"only line stays only line", http, setHttp, newHttp, ""},
        {"new key with one line", head, [](clsNavigatorPrefs& p) { p.saveSettingInt("a", -5); },
         "user_pref(\"a\", -5);|" + head, ""},
        {"quotes and backslashes written raw", head + "|",
         [](clsNavigatorPrefs& p) { p.saveSettingStr("a", R"(C:\x "q")"); },
         head + R"(|user_pref("a", "C:\x "q"");|)", ""},
        {"delete", head + "|" + http + "|" + port + "|", delHttp, head + "|" + port + "|", ""},
        {"delete absent", head + "|" + port + "|", delHttp, head + "|" + port + "|", ""},
        {"new key into empty file", "", setHttp, "", "Error in clsNavigatorPrefs:saveSettingStr:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(crlf(c.before));
        {
            clsNavigatorPrefs prefs;
            prefs.openPrefsFile(kPrefsPath, true);
            c.edit(prefs);
            prefs.closePrefsFile();
        }
        EXPECT_EQ(onDisk(), crlf(c.after));
        expectMessage(c.message);
    }
}

TEST_F(NavigatorPrefsTest, WritesBackOnlyInWriteModeAndAtDestruction) {
    const std::string original = "// c\nuser_pref(\"a\", 1);\n\n";  // LF endings
    for (bool writeMode : {false, true}) {
        for (bool close : {false, true}) {
            SCOPED_TRACE(std::to_string(writeMode) + std::to_string(close));
            write(original);
            {
                clsNavigatorPrefs prefs;
                prefs.openPrefsFile(kPrefsPath, writeMode);
                prefs.saveSettingInt("a", 2);
                if (close)
                    prefs.closePrefsFile();
            }
            EXPECT_EQ(onDisk(), writeMode ? crlf("// c|user_pref(\"a\", 2);|") : original);
        }
    }
    expectMessage("");
}

TEST_F(NavigatorPrefsTest, KeepsBytesOfOtherLinesAndPermissions) {
    std::string binary("\x01\x00\xff\x7f", 4);
    write("// head\r\n" + binary + "\r\nuser_pref(\"a\", 1);\r\nlast");
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file(), perms);
    {
        clsNavigatorPrefs prefs;
        prefs.openPrefsFile(kPrefsPath, true);
        prefs.saveSettingInt("a", 7);
    }
    EXPECT_EQ(onDisk(), "// head\r\n" + binary + "\r\nuser_pref(\"a\", 7);\r\nlast\r\n");
    EXPECT_EQ(fs::status(file()).permissions() & fs::perms::all, perms);
    expectMessage("");
}

TEST_F(NavigatorPrefsTest, ReportsFailuresAndLeavesTheFileWhole) {
    const std::string original = crlf("// c|user_pref(\"a\", 1);|");
    auto writeA = [](clsNavigatorPrefs& p) {
        p.openPrefsFile(kPrefsPath, true);
        p.saveSettingInt("a", 2);
    };
    struct Case {
        const char* name;
        fs::perms fileMode, dirMode;
        std::function<void(clsNavigatorPrefs&)> run;
        std::string message;
    };
    const auto rw = fs::perms::owner_read | fs::perms::owner_write;
    const auto all = fs::perms::owner_all;
    const Case cases[] = {
        {"empty name", rw, all, [](auto& p) { p.openPrefsFile("", true); },
         "Could not locate Navigator preference file."},
        {"missing file", rw, all,
         [](auto& p) { p.openPrefsFile("C:\\Users\\Default\\nothing.js", true); },
         "Error in clsNavigatorPrefs:openPrefsFile:"},
        {"no file open: get", rw, all, [](auto& p) { p.getSetting("a"); },
         "Error in clsNavigatorPrefs:getSetting:"},
        {"no file open: save", rw, all, [](auto& p) { p.saveSettingStr("a", "b"); },
         "Error in clsNavigatorPrefs:saveSettingStr:"},
        {"no file open: close", rw, all, [](auto& p) { p.closePrefsFile(); },
         "Error in clsNavigatorPrefs:closePrefsFile:"},
        {"read-only file", fs::perms::owner_read, all,
         [&](auto& p) {
             writeA(p);
             p.closePrefsFile();
         },
         "Error in clsNavigatorPrefs:closePrefsFile:"},
        {"read-only folder, written back at destruction", rw,
         fs::perms::owner_read | fs::perms::owner_exec, writeA,
         "Error in clsNavigatorPrefs:closePrefsFile:"},
        {"folder gone before close", rw, all,
         [&](auto& p) {
             writeA(p);
             fs::remove_all(dir());
             p.closePrefsFile();
             EXPECT_FALSE(fs::exists(dir()));
             fs::create_directories(dir());
             write(original);
         },
         "Error in clsNavigatorPrefs:closePrefsFile:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::permissions(dir(), all);
        write(original);
        fs::permissions(file(), c.fileMode);
        fs::permissions(dir(), c.dirMode);
        {
            clsNavigatorPrefs prefs;
            c.run(prefs);
        }
        fs::permissions(dir(), all);
        fs::permissions(file(), rw);
        EXPECT_EQ(onDisk(), original);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir()), fs::directory_iterator()), 1)
            << "no temporary file is left behind";
        expectMessage(c.message);
    }
}

TEST_F(NavigatorPrefsTest, EmptyAndBinaryFilesNeverCrash) {
    for (const std::string& content :
         {std::string(), std::string("\0\0\r\xff\xfe\n\x1a user_pref(\0", 19)}) {
        write(content);
        clsNavigatorPrefs prefs;
        prefs.openPrefsFile(kPrefsPath, false);
        EXPECT_TRUE(prefs.isOpen());
        EXPECT_EQ(prefs.getSetting("network.proxy.http"), "");
        prefs.deleteSetting("network.proxy.http");
        prefs.closePrefsFile();
        EXPECT_EQ(onDisk(), content);
    }
    expectMessage("");
}

TEST_F(NavigatorPrefsTest, LinesBeyondSixteenBitPositionsAreReported) {
    std::string content;
    for (int i = 0; i < 40000; ++i)
        content += "// filler\r\n";
    content += crlf("user_pref(\"a\", 1);|last");
    write(content);
    {
        clsNavigatorPrefs prefs;
        prefs.openPrefsFile(kPrefsPath, true);
        EXPECT_EQ(prefs.getSetting("a"), "");
        expectMessage("Error in clsNavigatorPrefs:getIndex:");
        prefs.saveSettingInt("a", 2);  // not added a second time
        expectMessage("Error in clsNavigatorPrefs:getIndex:");
    }
    EXPECT_EQ(onDisk(), content);
}

}  // namespace
}  // namespace vtl
