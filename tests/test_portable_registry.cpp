// The machine image registry: REGEDIT4 files, Win32 semantics, journal and folds.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "platform/portable/PortableRegistry.h"
#include "platform/portable/RegFile.h"
#include "tests/support/TestImage.h"

namespace {

namespace fs = std::filesystem;
namespace pf = vtl::platform;
using vtl::portable::ImageError;
using vtl::portable::PortableRegistry;
using vtl::test::readFile;
using vtl::test::writeFile;
using Bytes = std::vector<std::uint8_t>;
constexpr std::uint32_t kAll = 0xF003F;

pf::HKEY open(PortableRegistry& r, pf::HKEY root, std::string path, std::uint32_t access = kAll) {
    pf::HKEY k = 0;
    EXPECT_EQ(r.RegOpenKeyEx(root, &path, access, k), 0) << path;
    return k;
}
pf::HKEY create(PortableRegistry& r, pf::HKEY parent, const std::string& path) {
    pf::HKEY k = 0;
    std::uint32_t disp = 0;
    EXPECT_EQ(r.RegCreateKeyEx(parent, path, kAll, k, disp), 0) << path;
    return k;
}
long set(PortableRegistry& r, pf::HKEY k, const std::string& name, std::string_view data,
         std::uint32_t type = pf::REG_BINARY) {
    Bytes d(data.begin(), data.end());
    return r.RegSetValueEx(k, name, type, d.data(), static_cast<std::uint32_t>(d.size()));
}
long query(PortableRegistry& r, pf::HKEY k, const std::string& name, Bytes* data = nullptr) {
    std::uint32_t type = 0, size = 0;
    return r.RegQueryValueEx(k, name, type, data, size);
}
std::string subkeys(PortableRegistry& r, pf::HKEY key) {
    std::string out, name;
    for (std::uint32_t i = 0; r.RegEnumKeyEx(key, i, name) == 0; ++i)
        out += name + ",";
    return out;
}

class PortableRegistryTest : public ::testing::Test {
  protected:
    fs::path file(const std::string& text) {
        writeFile(reg_, text);
        return reg_;
    }
    vtl::test::TempDir dir_;
    fs::path reg_ = dir_.path() / "registry.reg";
    fs::path journal_ = reg_.string() + ".journal";
};

TEST_F(PortableRegistryTest, LoadsImplicitParentsDeletedKeysAndCaseInsensitiveNames) {
    PortableRegistry r(
        file("REGEDIT4\r\n\r\n[HKEY_USERS\\Gone]\r\n\"v\"=\"1\"\r\n; comment\r\n"
             "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services]\r\n"
             "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\"c\"=hex:01,\\\n  02\r\n"
             "[-HKEY_USERS\\Gone]\r\n\"v\"=\"ignored\"\r\n"));
    Bytes data;
    ASSERT_EQ(query(r, open(r, pf::HKEY_LOCAL_MACHINE, "software"), "C", &data), 0);
    EXPECT_EQ(data, Bytes({1, 2}));
    EXPECT_EQ(subkeys(r, open(r, pf::HKEY_LOCAL_MACHINE, "SYSTEM\\currentcontrolset")),
              "Services,");
    EXPECT_EQ(subkeys(r, pf::HKEY_LOCAL_MACHINE), "System,SOFTWARE,");
    EXPECT_EQ(subkeys(r, pf::HKEY_USERS), "");
}

TEST_F(PortableRegistryTest, BadFilesThrowNamingPathAndLineAndAreKept) {
    std::string deep = "REGEDIT4\n[HKEY_USERS";
    for (int i = 0; i < 513; ++i)
        deep += "\\k";
    const std::pair<std::string, const char*> cases[] = {
        {"Windows Registry Editor Version 5.00\r\n", ":1: not a REGEDIT4"},
        {"REGEDIT4\n\"a\"=\"b\"", ":2: value outside"},
        {"REGEDIT4\n[HKEY_NOWHERE\\A]", ":2: unknown root key"},
        {"REGEDIT4\n[HKEY_USERS\\A", ":2: missing ']'"},
        {"REGEDIT4\n[HKEY_USERS\\A] x", ":2: text after ']'"},
        {"REGEDIT4\n[HKEY_USERS]\n\n\"a\"=\"b", ":4: missing closing"},
        {"REGEDIT4\n[HKEY_USERS]\n\"a\"=dword:123456789", ":3: dword needs"},
        {"REGEDIT4\n[HKEY_USERS]\n\"a\"=hex:01,\\\n  zz", ":4: bad hex byte"},
        {"REGEDIT4\n[HKEY_USERS]\n\"a\"=text", ":3: unknown value data"},
        {deep + "]", ":2: key more than 512 levels deep"},
    };
    for (const auto& [text, error] : cases) {
        try {
            PortableRegistry r(file(text));
            ADD_FAILURE() << "parsed: " << text;
        } catch (const ImageError& e) {
            EXPECT_NE(std::string(e.what()).find(reg_.string() + error), std::string::npos)
                << e.what();
        }
        EXPECT_EQ(readFile(reg_), text);
    }
    EXPECT_THROW(PortableRegistry(dir_.path() / "missing.reg"), ImageError);
}

TEST_F(PortableRegistryTest, CallsFollowWin32Rules) {
    PortableRegistry r(file("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A\\B]\r\n\"v\"=\"1\"\r\n"));
    pf::HKEY a = 0, h = 0;
    std::uint32_t disp = 0, type = 0, size = 0, nk = 0, nv = 0;
    std::string name, sa = "A";
    ASSERT_EQ(r.RegCreateKeyEx(pf::HKEY_CURRENT_USER, "a", kAll, a, disp), 0);
    EXPECT_EQ(disp, 2u);
    pf::HKEY b = open(r, pf::HKEY_CURRENT_USER, "a\\b");
    pf::HKEY ro = open(r, a, "", 1);
    const long cases[][2] = {
        {r.RegOpenKeyEx(a, &sa, 1, h), pf::ERROR_FILE_NOT_FOUND},
        {r.RegQueryValueEx(b, "none", type, nullptr, size), 2},
        {set(r, ro, "v", "1"), pf::ERROR_ACCESS_DENIED},  // needs 2
        {r.RegCreateKeyEx(ro, "C", 0, h, disp), 5},       // needs 4
        {r.RegEnumKeyEx(ro, 0, name), 5},                 // needs 8
        {r.RegQueryInfoKey(ro, nk, nv), 0},               // 1 is enough
        {r.RegEnumKeyEx(a, 1, name), pf::ERROR_NO_MORE_ITEMS},
        {r.RegQueryInfoKey(12345, nk, nv), pf::ERROR_INVALID_HANDLE},
        {r.RegDeleteKey(pf::HKEY_USERS, ""), 5},
        {r.RegDeleteKey(pf::HKEY_CURRENT_USER, "A"), 5},  // NT: a key with subkeys
        {r.RegDeleteKey(a, "B"), 0},
        {r.RegQueryInfoKey(b, nk, nv), pf::ERROR_KEY_DELETED},
        {r.RegCloseKey(b), 0},
        {r.RegCloseKey(b), 6},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i][0], cases[i][1]) << "case " << i;

    // 512 levels below a root, as Windows allows; not one more.
    std::string deep = "K";
    for (int i = 1; i < 512; ++i)
        deep += "\\K";
    EXPECT_EQ(r.RegCreateKeyEx(pf::HKEY_USERS, deep + "\\K", kAll, h, disp),
              pf::ERROR_INVALID_PARAMETER);
    ASSERT_EQ(r.RegCreateKeyEx(pf::HKEY_USERS, deep, kAll, h, disp), 0);
    EXPECT_EQ(r.RegCreateKeyEx(h, "K", kAll, h, disp), pf::ERROR_INVALID_PARAMETER);
    ASSERT_TRUE(r.fold());
    PortableRegistry(reg_).fold();  // the file written reads back

    // Windows 95/98 deletes the subtree.
    ASSERT_EQ(r.RegCreateKeyEx(a, "X\\Y\\Z", kAll, h, disp), 0);
    EXPECT_EQ(disp, 1u);
    r.setDeleteTreeOnDelete(true);
    EXPECT_EQ(r.RegDeleteKey(pf::HKEY_CURRENT_USER, "a"), 0);
    EXPECT_EQ(r.RegQueryInfoKey(h, nk, nv), pf::ERROR_KEY_DELETED);
    EXPECT_EQ(subkeys(r, pf::HKEY_CURRENT_USER), "");
}

TEST_F(PortableRegistryTest, FoldRoundTripsDataByteExact) {
    using std::string_literals::operator""s;
    const std::tuple<const char*, std::uint32_t, std::string> values[] = {
        {"", 1, "default\0"s},
        {"sz", 1, "a \"quoted\" \\path\\\0"s},
        {"sz no nul", 1, "abc"},
        {"sz inner nul", 1, "a\0b\0"s},
        {"dword", 4, "\x0a\0\0\x80"s},
        {"dword short", 4, "\x01\x02"},
        {"binary", 3, std::string(200, '\xAB')},
        {"multi", 7, "one\0two\0\0"s},
        {"qword", 11, std::string(8, '\x7f')},
        {"none", 0, "x"},
        {"na\"me\\", 1, "\xe9t\xe9\0"s},
    };
    {
        PortableRegistry r(file("REGEDIT4\r\n"));
        pf::HKEY k = create(r, pf::HKEY_LOCAL_MACHINE, "Software\\Test");
        create(r, k, "Empty\\Deeper");
        for (const auto& [name, type, data] : values)
            ASSERT_EQ(set(r, k, name, data, type), 0) << name;
        EXPECT_TRUE(r.fold());
    }
    EXPECT_EQ(fs::file_size(journal_), 0u);
    const std::string text = readFile(reg_);
    for (std::size_t at = 0, nl; (nl = text.find("\r\n", at)) != std::string::npos; at = nl + 2)
        EXPECT_LE(nl - at, 80u);
    PortableRegistry again(reg_);
    pf::HKEY k = open(again, pf::HKEY_LOCAL_MACHINE, "Software\\Test");
    EXPECT_EQ(subkeys(again, k), "Empty,");
    for (const auto& [name, type, data] : values) {
        Bytes got;
        std::uint32_t gotType = 0, size = 0;
        EXPECT_EQ(again.RegQueryValueEx(k, name, gotType, &got, size), 0) << name;
        EXPECT_EQ(gotType, type) << name;
        EXPECT_EQ(std::string(got.begin(), got.end()), data) << name;
    }
    EXPECT_TRUE(again.fold());
    EXPECT_EQ(readFile(reg_), text);  // writing is stable
}

TEST_F(PortableRegistryTest, SampleImagesFoldUnchanged) {
    const std::string text = readFile(vtl::test::samplesDir() / "win2000" / "registry.reg");
    ASSERT_FALSE(text.empty());
    PortableRegistry r(file(text));
    EXPECT_TRUE(r.fold());
    EXPECT_EQ(readFile(reg_), text);
}

TEST_F(PortableRegistryTest, WriteBackTouchesOnlyChangedKeys) {
    const std::string head =
        "REGEDIT4\r\n\r\n; hand-edited\r\n[HKEY_USERS\\A]\r\n\"x\" = dword:1\r\n\r\n";
    const std::string b = "[HKEY_USERS\\B]\r\n\"y\"=hex:0A,0b\r\n";
    const std::string tail = "[HKEY_USERS\\C]\r\n@=\"c\"\n\"z\"=-\r\n";
    const fs::path stale = reg_.string() + ".99999.0badf00d.tmp";
    struct Case {
        const char* what;
        std::function<void(PortableRegistry&)> change;
        std::string expect;       // empty: the file is left alone, journal and mtime included
        std::string before = {};  // empty: head + b + tail
    };
    const Case cases[] = {
        {"same value",
         [](PortableRegistry& r) { set(r, open(r, pf::HKEY_USERS, "b"), "Y", "\n\x0b"); }, ""},
        {"reads only", [](PortableRegistry& r) { query(r, open(r, pf::HKEY_USERS, "C"), ""); }, ""},
        {"one value",
         [](PortableRegistry& r) { set(r, open(r, pf::HKEY_USERS, "B"), "y", "\x01"); },
         head + "[HKEY_USERS\\B]\r\n\"y\"=hex:01\r\n\r\n" + tail},
        {"new key",
         [](PortableRegistry& r) { set(r, create(r, pf::HKEY_USERS, "B\\N"), "n", "\x02"); },
         head + b + tail + "\r\n[HKEY_USERS\\B\\N]\r\n\"n\"=hex:02\r\n\r\n"},
        {"deleted key", [](PortableRegistry& r) { r.RegDeleteKey(pf::HKEY_USERS, "b"); },
         head + tail},
        {"deleted key that brought in its parent",
         [](PortableRegistry& r) { r.RegDeleteKey(pf::HKEY_USERS, "P\\Q"); },
         "REGEDIT4\r\n\r\n[HKEY_USERS\\P]\r\n\r\n[HKEY_USERS\\R]\r\n\r\n",
         "REGEDIT4\r\n\r\n[HKEY_USERS\\P\\Q]\r\n\r\n[HKEY_USERS\\R]\r\n\r\n"},
    };
    for (const Case& c : cases) {
        const std::string before = c.before.empty() ? head + b + tail : c.before;
        file(before);
        const auto mtime = fs::last_write_time(reg_);
        writeFile(stale, "left by a killed writer");
        {
            PortableRegistry r(reg_);
            c.change(r);
        }
        const std::string want = c.expect.empty() ? before : c.expect;
        EXPECT_EQ(readFile(reg_), want) << c.what;
        EXPECT_EQ(fs::exists(stale), c.expect.empty()) << c.what;
        if (c.expect.empty()) {
            EXPECT_FALSE(fs::exists(journal_)) << c.what;
            EXPECT_EQ(fs::last_write_time(reg_), mtime) << c.what;
        }
        PortableRegistry again(reg_);  // and it reads back
        fs::remove(stale);
    }
}

TEST_F(PortableRegistryTest, TwoProcessesSeeAndKeepEachOthersChanges) {
    file("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Shared]\r\n");
    {
        PortableRegistry a(reg_), b(reg_);
        pf::HKEY ka = open(a, pf::HKEY_LOCAL_MACHINE, "Shared", 3);
        pf::HKEY kb = open(b, pf::HKEY_LOCAL_MACHINE, "Shared", 3);
        ASSERT_EQ(set(a, ka, "FromA", "1"), 0);
        ASSERT_EQ(query(b, kb, "froma"), 0);
        ASSERT_EQ(set(b, kb, "FromB", "2"), 0);
        Bytes data;
        ASSERT_EQ(query(a, ka, "FromB", &data), 0);
        EXPECT_EQ(data, Bytes{'2'});
        EXPECT_EQ(a.stats().replays, 1u);
        // A fold by one makes the other reload; its open handle still works.
        ASSERT_TRUE(a.fold());
        ASSERT_EQ(set(b, kb, "AfterFold", "1"), 0);
        EXPECT_EQ(b.stats().reloads, 2u);
        ASSERT_EQ(a.RegDeleteValue(ka, "FromA"), 0);
        EXPECT_EQ(query(b, kb, "FromA"), 2);
        // Many writes fold by themselves.
        const std::string big(4096, 7);
        for (int i = 0; i < 100; ++i)
            ASSERT_EQ(set(b, kb, "Big" + std::to_string(i % 7), big), 0);
        EXPECT_GT(b.stats().folds, 0u);
        EXPECT_LT(fs::file_size(journal_), 300u * 1024);
        ASSERT_EQ(query(a, ka, "Big6", &data), 0);
        EXPECT_EQ(data.size(), big.size());
    }
    PortableRegistry c(reg_);
    pf::HKEY kc = open(c, pf::HKEY_LOCAL_MACHINE, "Shared", 1);
    EXPECT_EQ(query(c, kc, "FromA"), 2);
    for (const char* n : {"FromB", "AfterFold", "Big6"})
        EXPECT_EQ(query(c, kc, n), 0) << n;
    EXPECT_EQ(c.stats().replays, 0u);  // the last to leave folded everything
}

TEST_F(PortableRegistryTest, KilledWriterLeavesReplayableJournalWithTornTail) {
    const std::string original = "REGEDIT4\r\n\r\n[HKEY_USERS\\K]\r\n\"old\"=\"x\"\r\n\r\n";
    file(original);
    pid_t pid = fork();
    if (pid == 0) {
        auto* r = new PortableRegistry(reg_);  // never destroyed: the process is "killed"
        pf::HKEY k = 0;
        std::uint32_t d = 0;
        bool ok = r->RegCreateKeyEx(pf::HKEY_USERS, "K\\New", kAll, k, d) == 0 &&
                  set(*r, k, "v", "abc") == 0 && r->RegDeleteValue(k, "v") == 0 &&
                  set(*r, k, "w", "abc") == 0;
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readFile(reg_), original);
    const std::string j = readFile(journal_);
    // The last whole record gets a wrong checksum, then a torn record follows.
    std::string broken = j;
    const std::size_t sum = broken.rfind(";end ") + 5;
    broken[sum] = broken[sum] == '0' ? '1' : '0';
    writeFile(journal_, broken + "[HKEY_USERS\\K]\r\n\"torn\"=he");
    {
        PortableRegistry r(reg_);
        EXPECT_EQ(r.stats().replays, 3u);
        pf::HKEY k = open(r, pf::HKEY_USERS, "K\\New", 3);
        for (const char* name : {"v", "w", "torn"})
            EXPECT_EQ(query(r, k, name), 2) << name;
        ASSERT_EQ(set(r, k, "z", std::string(1, '\0')), 0);
        EXPECT_EQ(readFile(journal_).find("torn"), std::string::npos);  // cut off by the writer
    }
    EXPECT_NE(readFile(reg_).find("\"z\"=hex:00"), std::string::npos);

    // A journal whose records are already in registry.reg (fold killed before
    // emptying it) is recognised by its hash and not applied again.
    const std::string folded = readFile(reg_);
    writeFile(journal_, j);
    PortableRegistry r(reg_);
    EXPECT_EQ(r.stats().replays, 0u);
    r.fold();
    EXPECT_EQ(readFile(reg_), folded);
}

TEST_F(PortableRegistryTest, ReadOnlyImageReadsButRefusesWrites) {
    const std::string text = "REGEDIT4\r\n\r\n[HKEY_USERS\\K]\r\n\"v\"=\"x\"\r\n\r\n";
    const auto noWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    for (bool folder : {false, true}) {
        file(text);
        fs::permissions(folder ? dir_.path() : reg_, noWrite, fs::perm_options::remove);
        {
            PortableRegistry r(reg_);
            EXPECT_TRUE(r.readOnly());
            pf::HKEY k = open(r, pf::HKEY_USERS, "k"), h = 0;
            std::uint32_t disp = 0;
            EXPECT_EQ(query(r, k, "V"), 0);
            EXPECT_EQ(r.RegCreateKeyEx(pf::HKEY_USERS, "K", kAll, h, disp), 0);  // opens only
            EXPECT_EQ(set(r, k, "w", "x"), 5);
            EXPECT_EQ(r.RegDeleteValue(k, "v"), 5);
            EXPECT_EQ(r.RegDeleteKey(pf::HKEY_USERS, "K"), 5);
            EXPECT_EQ(r.RegCreateKeyEx(k, "New", kAll, h, disp), 5);
            EXPECT_FALSE(r.fold());
        }
        EXPECT_EQ(readFile(reg_), text);
        fs::permissions(folder ? dir_.path() : reg_, fs::perms::owner_write, fs::perm_options::add);
    }
}

TEST_F(PortableRegistryTest, FileBrokenByAnotherProcessIsNeverOverwritten) {
    file("REGEDIT4\r\n\r\n[HKEY_USERS\\K]\r\n");
    const std::string garbage = "REGEDIT4\r\n[HKEY_USERS\\K\r\n";
    {
        PortableRegistry r(reg_);
        writeFile(reg_.string() + ".new", garbage);
        fs::rename(reg_.string() + ".new", reg_);
        pf::HKEY k = 0;
        std::string path = "K";
        EXPECT_EQ(r.RegOpenKeyEx(pf::HKEY_USERS, &path, 1, k), pf::ERROR_BADDB);
        EXPECT_EQ(set(r, pf::HKEY_USERS, "v", "x"), pf::ERROR_BADDB);
        EXPECT_FALSE(r.fold());
    }
    EXPECT_EQ(readFile(reg_), garbage);
}

}  // namespace
