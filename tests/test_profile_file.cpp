// Expected results were taken from GetPrivateProfileStringA and
// WritePrivateProfileStringA answering the same inputs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>

#include "platform/portable/ProfileFile.h"
#include "tests/support/TestImage.h"

namespace fs = std::filesystem;
using namespace std::string_literals;
using Opt = std::optional<std::string>;
constexpr auto N = std::nullopt;

namespace {

class ProfileFileTest : public ::testing::Test {
  protected:
    void Put(const Opt& text) {
        fs::remove(path_);
        if (text)
            vtl::test::writeFile(path_, *text);
    }
    Opt Contents() const { return fs::exists(path_) ? Opt(vtl::test::readFile(path_)) : N; }
    vtl::test::TempDir dir_;
    std::string path_ = (dir_.path() / "a.vtl").string();
};

struct ReadCase {
    std::string file;
    Opt section, key;
    std::string def;
    std::uint32_t size;
    std::uint32_t count;
    std::string bytes;
};

TEST_F(ProfileFileTest, ReadsAsWindows) {
    const std::string basic = "[s]\r\nk=value\r\n";
    const std::string quotes = "[s]\r\na='x'\r\nb=\"x\"\r\nc='x\"\r\nd='\r\ne=''\r\nq='abcdef'\r\n";
    const std::string lists = "[a]\r\nk1=1\r\nk2=2\r\n;c=3\r\nbare\r\n[b]\r\n[c]\r\n";
    const ReadCase cases[] = {
        {basic, "s", "k", "def", 255, 5, "value"},
        {basic, "S", "K", "def", 255, 5, "value"},
        {basic, " s ", " k ", "def", 255, 5, "value"},
        {basic, "s", "k", "", 4, 3, "val"},
        {quotes, "s", "a", "", 255, 1, "x"},
        {quotes, "s", "c", "", 255, 3, "'x\""},
        {quotes, "s", "q", "", 7, 5, "abcde"},  // quote dropped only when the closing one fits
        {"  [ sec ]  \r\n\tk2\t=\tv2\x1A\r\n", "sec", "k2", "", 255, 2, "v2"},
        {"[s]\r\nk=v ; note\r\n", "s", "k", "", 255, 8, "v ; note"},
        {"[s]\r\nk=1\r\nk=2\r\n[S]\r\nj=3\r\n", "s", "k", "d", 255, 1, "1"},
        {"[s]\r\nk=1\r\nk=2\r\n[S]\r\nj=3\r\n", "s", "j", "d", 255, 1, "d"},
        {"[s]\r\n;c=1\r\n", "s", ";c", "d", 255, 1, "1"},
        {"[s]\nk=v\nj=w", "s", "j", "", 255, 1, "w"},
        {"k=v\r\n[s]\r\n", "", "k", "", 255, 1, "v"},
        {"[s]\r\nk=1\r\n[t\r\nj=2\r\n", "s", "j", "", 255, 1, "2"},
        {"[s]\r\nk=a\0b\r\n"s, "s", "k", "", 255, 1, "a"},
        {lists, N, N, "d", 255, 6, "a\0b\0c\0"s},
        {lists, N, N, "d", 4, 2, "a\0"s},
        {lists, "a", N, "d", 255, 6, "k1\0k2\0"s},
        {lists, " a ", N, "dd ", 255, 3, "dd "},
        {lists, "b", N, "dd", 255, 2, "dd"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        Put(c.file);
        auto got = vtl::GetPrivateProfileString(c.section, c.key, c.def, c.size, path_);
        EXPECT_EQ(got.count, c.count) << "case " << i;
        EXPECT_EQ(got.bytes, c.bytes) << "case " << i;
    }
    Put(N);
    EXPECT_EQ(vtl::GetPrivateProfileString("s", "k", "'d' ", 255, path_).bytes, "d");
    EXPECT_EQ(vtl::GetPrivateProfileString("s", N, "d", 255, path_).bytes, "d");
}

struct WriteCase {
    Opt file;
    Opt section, key, value;
    bool ok;
    Opt after;
};

TEST_F(ProfileFileTest, WritesAsWindows) {
    const std::string doc =
        ";head\r\n\r\n[S]\r\n  Key = old ; c\r\n;cm\r\nbare\r\n\r\n[t]\r\nz=1\r\n";
    const WriteCase cases[] = {
        {doc, "s", "KEY", "new", true,
         ";head\r\n\r\n[S]\r\nKey=new\r\n;cm\r\nbare\r\n\r\n[t]\r\nz=1\r\n"},
        {doc, "s", "n", "1", true,
         ";head\r\n\r\n[S]\r\n  Key = old ; c\r\n;cm\r\nbare\r\nn=1\r\n\r\n[t]\r\nz=1\r\n"},
        {doc, "u", "k", "v", true, doc + "[u]\r\nk=v\r\n"},
        {doc, "s", "bare", "x", true,
         ";head\r\n\r\n[S]\r\n  Key = old ; c\r\n;cm\r\nbare=x\r\n\r\n[t]\r\nz=1\r\n"},
        {doc, "s", "key", "old ; c", true, doc},  // unchanged value: file untouched
        {doc, "s", "key", N, true, ";head\r\n\r\n[S]\r\n;cm\r\nbare\r\n\r\n[t]\r\nz=1\r\n"},
        {doc, "S", N, N, true, ";head\r\n\r\n[t]\r\nz=1\r\n"},
        {doc, " s ", N, N, true, doc},  // deletions match names exactly
        {"[s]\nk=v\nk2=v2\n[t]\nx=1", "s", "k3", "n", true, "[s]\nk=v\nk2=v2\nk3=n\r\n[t]\nx=1"},
        {"[s]\r\nk=1\r\n", "", "k", "v", true, "k=v\r\n[s]\r\nk=1\r\n"},
        {"[s]\r\nk=1\r\nk=2\r\n[S]\r\nj=4\r\n", "s", "j", "8", true,
         "[s]\r\nk=1\r\nk=2\r\nj=8\r\n[S]\r\nj=4\r\n"},
        {N, "s", "k", "  lead trail  ", true, "[s]\r\nk=lead trail  \r\n"},
        {N, "  s2  ", "  k  ", "", true, "[s2  ]\r\nk  =\r\n"},
        {N, "s", "k", N, true, N},
        {"[s]\r\nk=1\r\n", N, "k", "v", false, "[s]\r\nk=1\r\n"},
        {"[s]\r\n", "s", "k", "a\r\nb=c", true, "[s]\r\nk=a\r\nb=c\r\n"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        Put(c.file);
        EXPECT_EQ(vtl::WritePrivateProfileString(c.section, c.key, c.value, path_), c.ok) << i;
        EXPECT_EQ(Contents(), c.after) << "case " << i;
        if (c.ok && c.section && c.key) {  // a read answers what the file says, cached or not
            const auto cached = vtl::GetPrivateProfileString(c.section, c.key, "-", 255, path_);
            vtl::ClearProfileCache();
            EXPECT_EQ(vtl::GetPrivateProfileString(c.section, c.key, "-", 255, path_).bytes,
                      cached.bytes)
                << "case " << i;
        }
    }
}

TEST_F(ProfileFileTest, WritesKeepPermissionsAndFailedWritesChangeNothing) {
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read;
    Put("[s]\r\nk=1\r\n");
    fs::permissions(path_, mode);
    ASSERT_TRUE(vtl::WritePrivateProfileString("s", "k", "2", path_));
    EXPECT_EQ(fs::status(path_).permissions(), mode);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), {}), 1);  // no temporary file left

    fs::permissions(path_, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(vtl::WritePrivateProfileString("s", "k", "3", path_));
    EXPECT_NE(vtl::LastProfileError().find("read-only"), std::string::npos);
    EXPECT_EQ(Contents(), "[s]\r\nk=2\r\n");

    const std::string missing = (dir_.path() / "nodir" / "b.vtl").string();
    EXPECT_FALSE(vtl::WritePrivateProfileString("s", "k", "2", missing));
    EXPECT_FALSE(vtl::LastProfileError().empty());
    EXPECT_FALSE(fs::exists(dir_.path() / "nodir"));
}

TEST_F(ProfileFileTest, CacheFollowsChangesOnDisk) {
    Put("[s]\r\nk=1\r\n");
    EXPECT_EQ(vtl::GetPrivateProfileString("s", "k", "", 255, path_).Text(), "1");
    // An old-looking file changed in place, with its modification time set back.
    struct stat before {};
    ASSERT_EQ(::stat(path_.c_str(), &before), 0);
    timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path_.c_str(), old, 0), 0);
    EXPECT_EQ(vtl::GetPrivateProfileString("s", "k", "", 255, path_).Text(), "1");
    std::ofstream(path_, std::ios::binary | std::ios::in) << "[s]\r\nk=3\r\n";
    ASSERT_EQ(::utimensat(AT_FDCWD, path_.c_str(), old, 0), 0);
    EXPECT_EQ(vtl::GetPrivateProfileString("s", "k", "", 255, path_).Text(), "3");
    ASSERT_TRUE(vtl::WritePrivateProfileString("s", "j", "4", path_));
    EXPECT_EQ(vtl::GetPrivateProfileString("s", N, "", 255, path_).bytes, "k\0j\0"s);
    fs::remove(path_);
    EXPECT_EQ(vtl::GetPrivateProfileString("s", "k", "gone", 255, path_).Text(), "gone");
}

TEST_F(ProfileFileTest, OddFilesReadAndRewriteWithoutHarm) {
    Put("[s]\r\nk=" + std::string(100000, 'x') + "\r\nj=2\r\n");
    auto got = vtl::GetPrivateProfileString("s", "k", "", 255, path_);
    EXPECT_EQ(got.count, 254u);
    EXPECT_EQ(got.bytes, std::string(254, 'x'));
    EXPECT_EQ(vtl::GetPrivateProfileString("s", "j", "", 255, path_).Text(), "2");

    Put(std::string(100000, 'y'));  // no line end, no section: one bare entry
    EXPECT_EQ(vtl::GetPrivateProfileString(N, N, "", 255, path_).count, 0u);
    EXPECT_TRUE(vtl::WritePrivateProfileString("s", "j", "3", path_));
    EXPECT_EQ(Contents(), std::string(100000, 'y') + "\r\n[s]\r\nj=3\r\n");

    const std::string utf16 = "\xFF\xFE[\0s\0]\0"s;
    Put(utf16);
    EXPECT_FALSE(vtl::WritePrivateProfileString("s", "k", "v", path_));
    EXPECT_EQ(Contents(), utf16);
}

// Runs `work` in a child process; true when it ended with status 0.
bool InChild(const std::function<bool()>& work) {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(work() ? 0 : 1);
    int status = -1;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// Another process's rewrite of the same size, at once after a read (within
// the same clock tick), is seen: a replacement of a file this process wrote,
// and a rewrite in place of another program's file.
TEST_F(ProfileFileTest, SeesEveryRewriteByAnotherProcess) {
    for (const bool inPlace : {false, true}) {
        SCOPED_TRACE(inPlace ? "in place" : "replaced");
        if (inPlace)
            Put("[s]\r\nk=00\r\n");
        else
            ASSERT_TRUE(vtl::WritePrivateProfileString("s", "k", "00", path_));
        ASSERT_EQ(vtl::GetPrivateProfileString("s", "k", "", 255, path_).Text(), "00");
        for (int i = 1; i < 30; ++i) {
            const std::string value = (i < 10 ? "0" : "") + std::to_string(i);
            ASSERT_TRUE(InChild([&] {
                if (!inPlace)
                    return vtl::WritePrivateProfileString("s", "k", value, path_);
                std::ofstream(path_, std::ios::binary | std::ios::in) << "[s]\r\nk=" + value;
                return true;
            }));
            EXPECT_EQ(vtl::GetPrivateProfileString("s", "k", "", 255, path_).Text(), value);
        }
    }
}

// Two processes replacing one file many times at once: no write fails, the
// file is always one whole version, and no temporary file stays.
TEST_F(ProfileFileTest, TwoProcessesReplaceOneFile) {
    auto image = vtl::test::TestImage::sample("win2000");
    struct Case {
        const char* name;
        std::function<bool(const std::string& value)> write;
    };
    const Case cases[] = {
        {"profile write",
         [&](const std::string& v) { return vtl::WritePrivateProfileString("s", "k", v, path_); }},
        {"file write",
         [&](const std::string& v) {
             return vtl::platform::sys().WriteFile(path_, "[s]\r\nk=" + v + "\r\n") == 0;
         }},
    };
    const std::regex whole("\\[s\\]\r\nk=[pc]-[0-9]+\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put("[s]\r\nk=p-0\r\n");
        const auto writes = [&](const char* who) {
            bool ok = true;
            for (int i = 0; i < 150; ++i) {
                ok = c.write(who + std::to_string(i)) && ok;
                ok = std::regex_match(vtl::test::readFile(path_), whole) && ok;
            }
            return ok;
        };
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(writes("c-") ? 0 : 1);
        EXPECT_TRUE(writes("p-"));
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), {}), 1);
    }
}

}  // namespace
