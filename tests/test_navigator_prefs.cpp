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
        ASSERT_EQ(image_->messages().size(), prefix.empty() ? 0u : 1u)
            << (image_->messages().empty() ? "" : image_->messages().front().text);
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
    struct Case {
        std::string line, key, expected, message;
    };
    const Case cases[] = {
        {R"(user_pref("network.proxy.http", "proxy");)", "network.proxy.http", "proxy", ""},
        {R"(   USER_PREF("Network.Proxy.HTTP", "p");)", "NETWORK.proxy.http", "p", ""},
        {R"(user_pref("network.proxy.http_port", 80);)", "network.proxy.http", "", ""},
        {R"(user_pref("a", "http://h/(x)y");)", "a", "http://h/(", ""},
        {R"(user_pref("a", "b";)", "a", "", "Error in clsNavigatorPrefs:getSetting:"},
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
    const std::string head("// head \x01\x00\xff", 11);  // other bytes are kept as they are
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    auto setHttp = [](clsNavigatorPrefs& p) { p.saveSettingStr("network.proxy.http", "new"); };
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
        {"quotes and backslashes written raw", head + "|",
         [](clsNavigatorPrefs& p) { p.saveSettingStr("a", R"(C:\x "q")"); },
         head + R"(|user_pref("a", "C:\x "q"");|)", ""},
        {"new key into empty file", "", setHttp, "", "Error in clsNavigatorPrefs:saveSettingStr:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(crlf(c.before));
        fs::permissions(file(), perms);
        {
            clsNavigatorPrefs prefs;
            prefs.openPrefsFile(kPrefsPath, true);
            c.edit(prefs);
            prefs.closePrefsFile();
        }
        EXPECT_EQ(onDisk(), crlf(c.after));
        EXPECT_EQ(fs::status(file()).permissions() & fs::perms::all, perms);
        expectMessage(c.message);
    }
}

// A change is written back on close or at destruction, and only in write mode.
TEST_F(NavigatorPrefsTest, FailedOrReadOnlyOpensLeaveTheFileWhole) {
    const std::string original = crlf("// c|user_pref(\"a\", 1);|");
    const auto all = fs::perms::owner_all;
    struct Case {
        const char* name;
        const char* path;
        bool writeMode;
        fs::perms dirMode;
        std::string message;
    };
    const Case cases[] = {
        {"missing file", "C:\\Users\\Default\\nothing.js", true, all,
         "Error in clsNavigatorPrefs:openPrefsFile:"},
        {"read mode", kPrefsPath, false, all, ""},
        {"read-only folder", kPrefsPath, true, fs::perms::owner_read | fs::perms::owner_exec,
         "Error in clsNavigatorPrefs:closePrefsFile:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(original);
        fs::permissions(dir(), c.dirMode);
        {
            clsNavigatorPrefs prefs;
            prefs.openPrefsFile(c.path, c.writeMode);
            if (prefs.isOpen())
                prefs.saveSettingInt("a", 2);
        }
        fs::permissions(dir(), all);
        EXPECT_EQ(onDisk(), original);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir()), fs::directory_iterator()), 1)
            << "no temporary file is left behind";
        expectMessage(c.message);
    }
}

}  // namespace
}  // namespace vtl
