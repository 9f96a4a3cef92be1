// The file calls of a machine image: Win32 codes, read-only files and
// folders, and replacements that keep the target's permissions.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/TestImage.h"

namespace vtl {
namespace {

namespace fs = std::filesystem;
using namespace vtl::platform;

constexpr auto kReadOnly = fs::perms::owner_read | fs::perms::group_read;
constexpr auto kShared = fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read;

struct Files : ::testing::Test {
    void SetUp() override {
        fs::remove_all(host());
        fs::create_directories(host() / "ro");
        test::writeFile(host() / "a.txt", "old");
        test::writeFile(host() / "new.txt", "new");
        fs::permissions(host() / "a.txt", kShared);
    }
    fs::path host() const { return image->dir() / "drive_c" / "Data"; }
    // Names in the folder, so that no temporary file goes unnoticed.
    std::string listing() const {
        std::string names;
        for (const auto& entry : fs::directory_iterator(host()))
            names += entry.path().filename().string() + " ";
        return names;
    }
    std::unique_ptr<test::TestImage> image = test::TestImage::fromRegistry("");
    Platform& sys = image->platform();
};

TEST_F(Files, ReadsAndDescribesFiles) {
    struct Case {
        const char* path;
        long code;
        std::string contents;
        std::uint32_t attributes;
    };
    const Case cases[] = {
        {"c:\\DATA\\A.TXT", ERROR_SUCCESS, "old", FILE_ATTRIBUTE_NORMAL},
        {"C:\\Data\\none.txt", ERROR_FILE_NOT_FOUND, "", INVALID_FILE_ATTRIBUTES},
        {"C:\\None\\a.txt", ERROR_PATH_NOT_FOUND, "", INVALID_FILE_ATTRIBUTES},
        {"C:\\Data\\ro", ERROR_ACCESS_DENIED, "", FILE_ATTRIBUTE_DIRECTORY},
    };
    for (const Case& c : cases) {
        std::string contents = "junk";
        EXPECT_EQ(sys.ReadFile(c.path, contents), c.code) << c.path;
        EXPECT_EQ(contents, c.contents) << c.path;
        EXPECT_EQ(sys.GetFileAttributes(c.path), c.attributes) << c.path;
    }
    fs::permissions(host() / "a.txt", kReadOnly);
    EXPECT_EQ(sys.GetFileAttributes("C:\\Data\\a.txt"), FILE_ATTRIBUTE_READONLY);
}

TEST_F(Files, WritesAndReplacesWholeOrNotAtAll) {
    struct Case {
        const char* name;
        fs::perms targetMode;  // none: leave the target as it is
        fs::perms folderMode;
        bool replace;  // ReplaceFile from new.txt, else WriteFile "new"
        const char* target;
        long code;
        std::string after;  // the target's contents afterwards
    };
    const auto all = fs::perms::owner_all;
    const auto none = fs::perms::none;
    const Case cases[] = {
        {"write keeps the mode", none, all, false, "C:\\Data\\a.txt", ERROR_SUCCESS, "new"},
        {"replace keeps the mode", none, all, true, "C:\\Data\\a.txt", ERROR_SUCCESS, "new"},
        {"write read-only", kReadOnly, all, false, "C:\\Data\\a.txt", ERROR_ACCESS_DENIED, "old"},
        {"replace read-only", kReadOnly, all, true, "C:\\Data\\a.txt", ERROR_ACCESS_DENIED, "old"},
        {"write in a read-only folder", none, fs::perms::owner_read | fs::perms::owner_exec, false,
         "C:\\Data\\a.txt", ERROR_ACCESS_DENIED, "old"},
        {"write a folder", none, all, false, "C:\\Data\\ro", ERROR_ACCESS_DENIED, ""},
        {"write in a missing folder", none, all, false, "C:\\None\\a.txt", ERROR_PATH_NOT_FOUND,
         ""},
        {"replace into a missing folder", none, all, true, "C:\\None\\a.txt", ERROR_PATH_NOT_FOUND,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        const std::string before = listing();
        if (c.targetMode != none)
            fs::permissions(host() / "a.txt", c.targetMode);
        fs::permissions(host(), c.folderMode);
        const long code = c.replace ? sys.ReplaceFile("C:\\Data\\new.txt", c.target)
                                    : sys.WriteFile(c.target, "new");
        fs::permissions(host(), all);
        EXPECT_EQ(code, c.code);
        std::string after;
        sys.ReadFile(c.target, after);
        EXPECT_EQ(after, c.after);
        if (c.code != ERROR_SUCCESS) {
            EXPECT_EQ(listing(), before) << "nothing changed, nothing left behind";
            continue;
        }
        EXPECT_EQ(fs::status(host() / "a.txt").permissions(), kShared);
        EXPECT_EQ(fs::exists(host() / "new.txt"), !c.replace);
        fs::permissions(host() / "a.txt", kReadOnly);
        EXPECT_FALSE(sys.DeleteFile(c.target)) << "a read-only file stays";
    }
}

}  // namespace
}  // namespace vtl
