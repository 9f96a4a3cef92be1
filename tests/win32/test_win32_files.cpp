// The file and profile-file members on the real API.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Win32Platform.h"
#include "tests/win32/Win32TestSupport.h"

namespace vtl::win32 {
namespace {

namespace pf = vtl::platform;
using test::ScratchFolder;

class FilesTest : public ::testing::Test {
  protected:
    std::string contents(const std::string& path) {
        std::string text;
        return sys.ReadFile(path, text) == pf::ERROR_SUCCESS ? text : "<unreadable>";
    }
    void put(const std::string& path, const std::string& text) {
        ASSERT_EQ(sys.WriteFile(path, text), pf::ERROR_SUCCESS) << path;
    }
    // Nothing but the named files is left in the folder.
    int entries() {
        int count = 0;
        for (const char* pattern : {"*.tmp", "*.TMP", "vt*"})
            count += sys.FindFirstFile(dir / pattern) ? 1 : 0;
        return count;
    }

    Win32Platform sys;
    ScratchFolder dir;
};

TEST_F(FilesTest, WriteAndReadCodes) {
    test::makeFolder(dir / "folder");
    put(dir / "old.txt", "old");
    put(dir / "locked.txt", "locked");
    test::setReadOnly(dir / "locked.txt", true);
    struct Case {
        std::string path;
        std::string text;
        long write;
        long read;
        std::string after;  // what the file then holds
    };
    const std::string big(300000, 'x');
    const std::string binary("new\r\nline\0end", 13);
    const Case cases[] = {
        {dir / "new.txt", binary, pf::ERROR_SUCCESS, pf::ERROR_SUCCESS, binary},
        {dir / "old.txt", "replaced", pf::ERROR_SUCCESS, pf::ERROR_SUCCESS, "replaced"},
        {dir / "empty.txt", "", pf::ERROR_SUCCESS, pf::ERROR_SUCCESS, ""},
        {dir / "big.txt", big, pf::ERROR_SUCCESS, pf::ERROR_SUCCESS, big},
        {dir / "locked.txt", "changed", pf::ERROR_ACCESS_DENIED, pf::ERROR_SUCCESS, "locked"},
        {dir / "folder", "x", pf::ERROR_ACCESS_DENIED, pf::ERROR_ACCESS_DENIED, "<unreadable>"},
        {dir / "nowhere\\x.txt", "x", pf::ERROR_PATH_NOT_FOUND, pf::ERROR_PATH_NOT_FOUND,
         "<unreadable>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sys.WriteFile(c.path, c.text), c.write) << c.path;
        std::string text;
        EXPECT_EQ(sys.ReadFile(c.path, text), c.read) << c.path;
        EXPECT_EQ(contents(c.path), c.after) << c.path;
    }
    std::string text;
    EXPECT_EQ(sys.ReadFile(dir / "missing.txt", text), pf::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(entries(), 0);
    test::setReadOnly(dir / "locked.txt", false);
}

TEST_F(FilesTest, ReplaceMovesOverTheTarget) {
    struct Case {
        const char* name;
        bool fromExists;
        bool toExists;
        bool toReadOnly;
        long code;
        std::string toAfter;
        bool fromAfter;
    };
    const Case cases[] = {
        {"over", true, true, false, pf::ERROR_SUCCESS, "from", false},
        {"fresh", true, false, false, pf::ERROR_SUCCESS, "from", false},
        {"locked", true, true, true, pf::ERROR_ACCESS_DENIED, "to", true},
        {"nofrom", false, true, false, pf::ERROR_FILE_NOT_FOUND, "to", false},
    };
    for (const Case& c : cases) {
        const std::string from = dir / (std::string(c.name) + ".new");
        const std::string to = dir / (std::string(c.name) + ".vtl");
        if (c.fromExists)
            put(from, "from");
        if (c.toExists)
            put(to, "to");
        if (c.toReadOnly)
            test::setReadOnly(to, true);
        EXPECT_EQ(sys.ReplaceFile(from, to), c.code) << c.name;
        EXPECT_EQ(contents(to), c.toAfter) << c.name;
        EXPECT_EQ(sys.FindFirstFile(from), c.fromAfter) << c.name;
        const bool readOnly = (sys.GetFileAttributes(to) & pf::FILE_ATTRIBUTE_READONLY) != 0;
        EXPECT_EQ(readOnly, c.toReadOnly) << c.name;
        test::setReadOnly(to, false);
    }
    // A read-only source does not make the target read-only.
    put(dir / "ro.new", "ro");
    test::setReadOnly(dir / "ro.new", true);
    EXPECT_EQ(sys.ReplaceFile(dir / "ro.new", dir / "ro.vtl"), pf::ERROR_SUCCESS);
    EXPECT_EQ(sys.GetFileAttributes(dir / "ro.vtl") & pf::FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(entries(), 0);
}

TEST_F(FilesTest, AttributesSearchAndDelete) {
    test::makeFolder(dir / "sub");
    put(dir / "plain.vtl", "x");
    put(dir / "ro.vtl", "x");
    test::setReadOnly(dir / "ro.vtl", true);
    const std::uint32_t kinds = pf::FILE_ATTRIBUTE_READONLY | pf::FILE_ATTRIBUTE_DIRECTORY;
    struct Case {
        std::string path;
        std::uint32_t kind;  // the two bits, or INVALID_FILE_ATTRIBUTES
        bool found;
    };
    const Case cases[] = {
        {dir / "PLAIN.VTL", 0, true},
        {dir / "ro.vtl", pf::FILE_ATTRIBUTE_READONLY, true},
        {dir / "sub", pf::FILE_ATTRIBUTE_DIRECTORY, true},
        {dir / "*.vtl", pf::INVALID_FILE_ATTRIBUTES, true},
        {dir / "missing.vtl", pf::INVALID_FILE_ATTRIBUTES, false},
    };
    for (const Case& c : cases) {
        const std::uint32_t got = sys.GetFileAttributes(c.path);
        EXPECT_EQ(got == pf::INVALID_FILE_ATTRIBUTES ? got : got & kinds, c.kind) << c.path;
        EXPECT_EQ(sys.FindFirstFile(c.path), c.found) << c.path;
    }
    EXPECT_TRUE(sys.DeleteFile(dir / "plain.vtl"));
    EXPECT_FALSE(sys.DeleteFile(dir / "plain.vtl"));
    EXPECT_FALSE(sys.DeleteFile(dir / "ro.vtl"));
}

TEST_F(FilesTest, ProfileFiles) {
    const std::string file = dir / "office.vtl";
    put(file, "[Network]\r\nIPAddress=10.0.0.5\r\nLong=0123456789\r\n");
    EXPECT_TRUE(sys.WritePrivateProfileString("Network", "DNSServers", "10.0.0.1", file));
    EXPECT_TRUE(sys.WritePrivateProfileString("Printer", "DefaultPrinter", "HP", file));
    struct Case {
        std::string section;
        std::string key;
        std::uint32_t size;
        std::string expected;
    };
    const Case cases[] = {
        {"Network", "IPAddress", 255, "10.0.0.5"}, {"Network", "DNSServers", 255, "10.0.0.1"},
        {"Printer", "DefaultPrinter", 255, "HP"},  {"Network", "Long", 5, "0123"},
        {"Network", "Missing", 255, "*default*"},  {"Network", "Missing", 4, "*de"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sys.GetPrivateProfileString(c.section, c.key, "*default*", c.size, file),
                  c.expected)
            << c.section << "/" << c.key;
    }
    // A file in a folder that does not exist cannot be written.
    EXPECT_FALSE(sys.WritePrivateProfileString("Network", "IPAddress", "1.2.3.4",
                                               dir / "nowhere\\office.vtl"));
}

}  // namespace
}  // namespace vtl::win32
