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

template <std::size_t N>
std::string bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

std::string joinCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
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
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& m : image_->messages())
            texts.push_back(m.text);
        return texts;
    }
    // Exactly one message, starting with `prefix`, with the exclamation icon and "Vantrel".
    void expectOneMessage(const std::string& prefix) {
        ASSERT_EQ(image_->messages().size(), 1u) << ::testing::PrintToString(messageTexts());
        const auto& m = image_->messages().front();
        EXPECT_EQ(m.text.rfind(prefix, 0), 0u) << m.text;
        EXPECT_EQ(m.caption, "Vantrel");
        EXPECT_EQ(m.style & platform::mb::IconMask, platform::mb::IconExclamation);
    }

    std::unique_ptr<TestImage> image_;
};

struct ReadCase {
    const char* name;
    std::string line;
    std::string key;
    std::string expected;
    std::string message;  // prefix of the one message expected, or empty
};

TEST_F(NavigatorPrefsTest, ReadsValuesCutByPosition) {
    const std::string longValue(100000, 'x');
    const std::vector<ReadCase> cases = {
        {"string", R"(user_pref("network.proxy.http", "proxy");)", "network.proxy.http", "proxy",
         ""},
        {"integer", R"(user_pref("network.proxy.http_port", 8080);)", "network.proxy.http_port",
         "8080", ""},
        {"boolean", R"(user_pref("mail.leave_on_server", true);)", "mail.leave_on_server", "true",
         ""},
        {"blanks and case", R"(   USER_PREF("Network.Proxy.HTTP", "p");)", "network.proxy.http",
         "p", ""},
        {"lookup in other case", R"(user_pref("network.proxy.http", "p");)", "NETWORK.PROXY.HTTP",
         "p", ""},
        {"longer key not matched", R"(user_pref("network.proxy.http_port", 80);)",
         "network.proxy.http", "", ""},
        {"absent", "// a comment", "network.proxy.http", "", ""},
        {"cut at first paren", R"(user_pref("a", "http://h/(x)y");)", "a", "http://h/(", ""},
        {"no blank after comma", R"(user_pref("a","b");)", "a", "b\"", ""},
        {"two blanks", R"(user_pref("a",  "b");)", "a", " \"b\"", ""},
        {"quotes and backslashes kept", R"(user_pref("a", "C:\\x \"q\"");)", "a", R"(C:\\x \"q\")",
         ""},
        {"empty string", R"(user_pref("a", "");)", "a", "", ""},
        {"long value", "user_pref(\"a\", \"" + longValue + "\");", "a", longValue, ""},
        {"no closing paren", R"(user_pref("a", "b";)", "a", "",
         "Error in clsNavigatorPrefs:getSetting:"},
        {"lone quote", R"(user_pref("a", ");)", "a", "", "Error in clsNavigatorPrefs:getSetting:"},
        {"paren before comma", R"(user_pref("a") , 1;)", "a", "",
         "Error in clsNavigatorPrefs:getSetting:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        image_->clearMessages();
        write("// Netscape prefs\r\n" + c.line + "\r\n\r\n");
        clsNavigatorPrefs prefs;
        prefs.openPrefsFile(kPrefsPath, false);
        EXPECT_EQ(prefs.getSetting(c.key), c.expected);
        if (c.message.empty()) {
            EXPECT_TRUE(image_->messages().empty()) << ::testing::PrintToString(messageTexts());
        } else {
            expectOneMessage(c.message);
        }
    }
}

TEST_F(NavigatorPrefsTest, EditsLinesInPlace) {
    using Lines = std::vector<std::string>;
    using Edit = std::function<void(clsNavigatorPrefs&)>;
    // Opens `before` in write mode, runs `edit`, closes; then compares the file and messages.
    auto expectEdit = [this](const char* name, const Lines& before, const Edit& edit,
                             const Lines& after, const std::string& message) {
        SCOPED_TRACE(name);
        image_->clearMessages();
        write(joinCrLf(before));
        {
            clsNavigatorPrefs prefs;
            prefs.openPrefsFile(kPrefsPath, true);
            edit(prefs);
            prefs.closePrefsFile();
        }
        EXPECT_EQ(onDisk(), joinCrLf(after));
        if (message.empty()) {
            EXPECT_TRUE(image_->messages().empty()) << ::testing::PrintToString(messageTexts());
        } else {
            expectOneMessage(message);
        }
    };
    const std::string http = R"(user_pref("network.proxy.http", "old");)";
    const std::string port = R"(user_pref("network.proxy.http_port", 80);)";
    const std::string head = "// Mozilla User Preferences";
    expectEdit(
        "replace keeps line", {head, http, port, ""},
        [](clsNavigatorPrefs& p) { p.saveSettingStr("network.proxy.http", "new"); },
        {head, R"(user_pref("network.proxy.http", "new");)", port, ""}, "");
    expectEdit(
        "replace on last line moves up", {head, port, http},
        [](clsNavigatorPrefs& p) { p.saveSettingStr("network.proxy.http", "new"); },
        {head, R"(user_pref("network.proxy.http", "new");)", port}, "");
    expectEdit(
        "new key before last line", {head, port, ""},
        [](clsNavigatorPrefs& p) { p.saveSettingInt("network.proxy.type", 2); },
        {head, port, R"(user_pref("network.proxy.type", 2);)", ""}, "");
    expectEdit(
        "key case kept, found again ignoring case",
        {head, R"(user_pref("Mail.Leave_On_Server", false);)", ""},
        [](clsNavigatorPrefs& p) { p.saveSettingBln("MAIL.leave_on_server", true); },
        {head, R"(user_pref("MAIL.leave_on_server", true);)", ""}, "");
    expectEdit(
        "only line stays only line", {http},
        [](clsNavigatorPrefs& p) { p.saveSettingStr("network.proxy.http", "new"); },
        {R"(user_pref("network.proxy.http", "new");)"}, "");
    expectEdit(
        "new key with one line", {head}, [](clsNavigatorPrefs& p) { p.saveSettingInt("a", -5); },
        {R"(user_pref("a", -5);)", head}, "");
    expectEdit(
        "quotes and backslashes written raw", {head, ""},
        [](clsNavigatorPrefs& p) { p.saveSettingStr("a", R"(C:\x "q")"); },
        {head, R"(user_pref("a", "C:\x "q"");)", ""}, "");
    expectEdit(
        "delete", {head, http, port, ""},
        [](clsNavigatorPrefs& p) { p.deleteSetting("network.proxy.http"); }, {head, port, ""}, "");
    expectEdit(
        "delete absent", {head, port, ""},
        [](clsNavigatorPrefs& p) { p.deleteSetting("network.proxy.http"); }, {head, port, ""}, "");
    expectEdit(
        "new key into empty file", {}, [](clsNavigatorPrefs& p) { p.saveSettingStr("a", "b"); }, {},
        "Error in clsNavigatorPrefs:saveSettingStr:");
    expectEdit(
        "int into empty file", {}, [](clsNavigatorPrefs& p) { p.saveSettingInt("a", 1); }, {},
        "Error in clsNavigatorPrefs:saveSettingInt:");
    expectEdit(
        "bool into empty file", {}, [](clsNavigatorPrefs& p) { p.saveSettingBln("a", true); }, {},
        "Error in clsNavigatorPrefs:saveSettingBln:");
    expectEdit(
        "lines without paren or comma untouched",
        {"user_pref(\"x\" 1", "garbage ) , (", "user_pref(\"y\", 2);", ""},
        [](clsNavigatorPrefs& p) { p.saveSettingInt("y", 3); },
        {"user_pref(\"x\" 1", "garbage ) , (", "user_pref(\"y\", 3);", ""}, "");
}

TEST_F(NavigatorPrefsTest, WritesBackOnlyInWriteModeAndAtDestruction) {
    const std::string original = "// c\nuser_pref(\"a\", 1);\n\n";  // LF endings
    struct Case {
        const char* name;
        bool writeMode;
        bool close;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"read mode, closed", false, true, original},
        {"read mode, destroyed", false, false, original},
        {"write mode, closed", true, true, "// c\r\nuser_pref(\"a\", 2);\r\n\r\n"},
        {"write mode, destroyed", true, false, "// c\r\nuser_pref(\"a\", 2);\r\n\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write(original);
        {
            clsNavigatorPrefs prefs;
            prefs.openPrefsFile(kPrefsPath, c.writeMode);
            prefs.saveSettingInt("a", 2);
            if (c.close)
                prefs.closePrefsFile();
        }
        EXPECT_EQ(onDisk(), c.expected);
    }
    EXPECT_TRUE(image_->messages().empty());
}

TEST_F(NavigatorPrefsTest, KeepsBytesOfOtherLinesAndPermissions) {
    std::string binary("\x01\x00\xff\x7f", 4);
    write("// head\r\n" + binary + "\r\nuser_pref(\"a\", 1);\r\nlast");
    fs::permissions(file(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    {
        clsNavigatorPrefs prefs;
        prefs.openPrefsFile(kPrefsPath, true);
        prefs.saveSettingInt("a", 7);
    }
    EXPECT_EQ(onDisk(), "// head\r\n" + binary + "\r\nuser_pref(\"a\", 7);\r\nlast\r\n");
    EXPECT_EQ(fs::status(file()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(image_->messages().empty());
}

TEST_F(NavigatorPrefsTest, ReportsFailuresAndLeavesTheFileWhole) {
    const std::string original = joinCrLf({"// c", R"(user_pref("a", 1);)", ""});
    struct Case {
        const char* name;
        std::function<void(NavigatorPrefsTest&)> prepare;
        std::function<void(clsNavigatorPrefs&)> run;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"empty name",
         {},
         [](auto& p) { p.openPrefsFile("", true); },
         "Could not locate Navigator preference file."},
        {"missing file",
         {},
         [](auto& p) { p.openPrefsFile("C:\\Users\\Default\\nothing.js", true); },
         "Error in clsNavigatorPrefs:openPrefsFile:"},
        {"missing folder",
         {},
         [](auto& p) { p.openPrefsFile("C:\\No\\Such\\prefs.js", true); },
         "Error in clsNavigatorPrefs:openPrefsFile:"},
        {"no file open: get",
         {},
         [](auto& p) { p.getSetting("a"); },
         "Error in clsNavigatorPrefs:getSetting:"},
        {"no file open: save",
         {},
         [](auto& p) { p.saveSettingStr("a", "b"); },
         "Error in clsNavigatorPrefs:saveSettingStr:"},
        {"no file open: delete",
         {},
         [](auto& p) { p.deleteSetting("a"); },
         "Error in clsNavigatorPrefs:deleteSetting"},
        {"no file open: close",
         {},
         [](auto& p) { p.closePrefsFile(); },
         "Error in clsNavigatorPrefs:closePrefsFile:"},
        {"read-only file",
         [](auto& t) { fs::permissions(t.file(), fs::perms::owner_read | fs::perms::group_read); },
         [](auto& p) {
             p.openPrefsFile(kPrefsPath, true);
             p.saveSettingInt("a", 2);
             p.closePrefsFile();
         },
         "Error in clsNavigatorPrefs:closePrefsFile:"},
        {"read-only folder",
         [](auto& t) { fs::permissions(t.dir(), fs::perms::owner_read | fs::perms::owner_exec); },
         [](auto& p) {
             p.openPrefsFile(kPrefsPath, true);
             p.saveSettingInt("a", 2);
         },  // written back at destruction
         "Error in clsNavigatorPrefs:closePrefsFile:"},
        {"folder gone before close", [](auto&) {},
         [this](auto& p) {
             p.openPrefsFile(kPrefsPath, true);
             p.saveSettingInt("a", 2);
             fs::remove_all(dir());
             p.closePrefsFile();
             EXPECT_FALSE(fs::exists(dir()));
             fs::create_directories(dir());
             write(joinCrLf({"// c", R"(user_pref("a", 1);)", ""}));
         },
         "Error in clsNavigatorPrefs:closePrefsFile:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        image_->clearMessages();
        fs::permissions(dir(), fs::perms::owner_all);
        write(original);
        fs::permissions(file(), fs::perms::owner_read | fs::perms::owner_write);
        if (c.prepare)
            c.prepare(*this);
        {
            clsNavigatorPrefs prefs;
            c.run(prefs);
        }
        fs::permissions(dir(), fs::perms::owner_all);
        EXPECT_EQ(onDisk(), original);
        EXPECT_FALSE(fs::exists(dir() / "nothing.js"));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir()), fs::directory_iterator()), 1)
            << "no temporary file is left behind";
        expectOneMessage(c.message);
    }
}

TEST_F(NavigatorPrefsTest, EmptyAndBinaryFilesNeverCrash) {
    const std::vector<std::pair<const char*, std::string>> files = {
        {"empty", ""},
        {"only a newline", "\r\n"},
        {"binary", bytes("\0\0\r\xff\xfe\n\x1a user_pref(\0")},
        {"very long line", std::string(100000, 'u')},
    };
    for (const auto& [name, content] : files) {
        SCOPED_TRACE(name);
        write(content);
        clsNavigatorPrefs prefs;
        prefs.openPrefsFile(kPrefsPath, false);
        EXPECT_TRUE(prefs.isOpen());
        EXPECT_EQ(prefs.getSetting("network.proxy.http"), "");
        prefs.deleteSetting("network.proxy.http");
        prefs.closePrefsFile();
        EXPECT_EQ(onDisk(), content);
    }
    EXPECT_TRUE(image_->messages().empty()) << ::testing::PrintToString(messageTexts());
}

TEST_F(NavigatorPrefsTest, LinesBeyondSixteenBitPositionsAreReported) {
    const std::string content = joinCrLf(std::vector<std::string>(40000, "// filler")) +
                                joinCrLf({R"(user_pref("a", 1);)", "last"});
    write(content);
    {
        clsNavigatorPrefs prefs;
        prefs.openPrefsFile(kPrefsPath, true);
        EXPECT_EQ(prefs.getSetting("a"), "");
        expectOneMessage("Error in clsNavigatorPrefs:getIndex:");
        image_->clearMessages();
        prefs.saveSettingInt("a", 2);  // not added a second time
        expectOneMessage("Error in clsNavigatorPrefs:getIndex:");
    }
    EXPECT_EQ(onDisk(), content);
}

}  // namespace
}  // namespace vtl
