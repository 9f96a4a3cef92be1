// The machine image registry: REGEDIT4 files, Win32 semantics, journal and folds.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

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

// Records what the parser reports, one line per event.
struct Recorder : vtl::portable::RegSink {
    std::vector<std::string> out;
    void key(std::string_view p) override { out.push_back("key " + std::string(p)); }
    void deleteKey(std::string_view p) override { out.push_back("del " + std::string(p)); }
    void value(std::string_view n, std::uint32_t t, Bytes&& d) override {
        std::string s = "val " + std::string(n) + " " + std::to_string(t) + ":";
        for (auto b : d)
            s += " " + std::to_string(b);
        out.push_back(s);
    }
    void deleteValue(std::string_view n) override { out.push_back("delval " + std::string(n)); }
};

std::vector<std::string> parse(const std::string& text) {
    Recorder r;
    vtl::portable::parseReg(text, "x.reg", r);
    return r.out;
}

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

// The whole tree as text, through the public calls only.
void dump(PortableRegistry& r, pf::HKEY key, const std::string& path, std::string& out) {
    std::uint32_t nk = 0, nv = 0, type = 0;
    ASSERT_EQ(r.RegQueryInfoKey(key, nk, nv), 0);
    out += "[" + path + "]\n";
    std::string name;
    Bytes data;
    for (std::uint32_t i = 0; i < nv && r.RegEnumValue(key, i, name, type, data) == 0; ++i)
        out +=
            name + "=" + std::to_string(type) + ":" + std::string(data.begin(), data.end()) + "\n";
    for (std::uint32_t i = 0; i < nk && r.RegEnumKeyEx(key, i, name) == 0; ++i) {
        pf::HKEY sub = open(r, key, name, 9);
        dump(r, sub, path + "\\" + name, out);
        r.RegCloseKey(sub);
    }
}
std::string dump(PortableRegistry& r) {
    std::string out;
    for (pf::HKEY root : {pf::HKEY_CLASSES_ROOT, pf::HKEY_CURRENT_USER, pf::HKEY_LOCAL_MACHINE,
                          pf::HKEY_USERS, pf::HKEY_CURRENT_CONFIG, pf::HKEY_DYN_DATA})
        dump(r, root, std::to_string(root), out);
    return out;
}

TEST(PortableRegFile, ParsesEverySyntaxElement) {
    const std::pair<const char*, const char*> cases[] = {
        {"\"a\"=\"abc\"", "val a 1: 97 98 99 0"},
        {"@=\"\"", "val  1: 0"},
        {"\"q\\\"b\\\\\"=\"x\\\"y\\\\\"", "val q\"b\\ 1: 120 34 121 92 0"},
        {"\"d\"=DWORD:8000000a", "val d 4: 10 0 0 128"},
        {"\"b\"=hex:01,ff", "val b 3: 1 255"},
        {"\"e\"=hex:", "val e 3:"},
        {"\"q\"=hex(b):01,02,03,04,05,06,07,08", "val q 11: 1 2 3 4 5 6 7 8"},
        {"\"c\"=hex:01,\\\r\n  02,\\\n  03", "val c 3: 1 2 3"},
        {"\"a\"=-", "delval a"},
        {"; comment", nullptr},
        {"[-HKEY_USERS\\Gone]", "del HKEY_USERS\\Gone"},
    };
    for (const auto& [line, event] : cases) {
        std::vector<std::string> want = {"key HKEY_LOCAL_MACHINE\\K"};
        if (event != nullptr)
            want.push_back(event);
        EXPECT_EQ(parse(std::string("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n") + line), want)
            << line;
    }
    // Values after a deleted key are ignored, as on import.
    EXPECT_EQ(parse("REGEDIT4\n[-HKEY_USERS\\A]\n\"v\"=\"1\"\n").size(), 1u);
}

TEST(PortableRegFile, RejectsBadFilesNamingLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"Windows Registry Editor Version 5.00\r\n", "x.reg:1: not a REGEDIT4"},
        {"", "x.reg:0: not a REGEDIT4"},
        {"REGEDIT4\n\"a\"=\"b\"", "x.reg:2: value outside"},
        {"REGEDIT4\n[HKEY_NOWHERE\\A]", "x.reg:2: unknown root key"},
        {"REGEDIT4\n[HKEY_USERS\\A", "x.reg:2: missing ']'"},
        {"REGEDIT4\n[HKEY_USERS]\n\n\"a\"=\"b", "x.reg:4: missing closing"},
        {"REGEDIT4\n[HKEY_USERS]\n\"a\"=dword:123456789", "x.reg:3: dword needs"},
        {"REGEDIT4\n[HKEY_USERS]\n\"a\"=hex:01,\\\n  zz", "x.reg:4: bad hex byte"},
        {"REGEDIT4\n[HKEY_USERS]\n\"a\"=hex:01,\\", "x.reg:3: hex list continues"},
        {"REGEDIT4\n[HKEY_USERS]\n\"a\"=text", "x.reg:3: unknown value data"},
        {"REGEDIT4\n[HKEY_USERS]\nstray", "x.reg:3: expected a [key]"},
    };
    for (const auto& [text, error] : cases) {
        try {
            parse(text);
            ADD_FAILURE() << "parsed: " << text;
        } catch (const ImageError& e) {
            EXPECT_NE(std::string(e.what()).find(error), std::string::npos) << e.what();
        }
    }
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

TEST_F(PortableRegistryTest, LoadsExportWithImplicitParentsAndCaseInsensitiveNames) {
    PortableRegistry r(
        file("REGEDIT4\r\n\r\n"
             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\r\n"
             "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
             "  16,17,18\r\n"
             "@=\"default\"\r\n\r\n"
             "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\MSTCP]\r\n\r\n"));
    pf::HKEY k = open(r, pf::HKEY_LOCAL_MACHINE, "software\\MICROSOFT\\windows\\currentversion");
    Bytes data;
    ASSERT_EQ(query(r, k, "BLOB", &data), 0);
    EXPECT_EQ(data.size(), 25u);
    EXPECT_EQ(data[24], 0x18);
    ASSERT_EQ(query(r, k, "", &data), 0);
    EXPECT_EQ(data, Bytes({'d', 'e', 'f', 'a', 'u', 'l', 't', 0}));
    // Parents named only in a longer path exist and keep their case.
    EXPECT_EQ(subkeys(r, open(r, pf::HKEY_LOCAL_MACHINE, "SYSTEM\\currentcontrolset")),
              "Services,");
    EXPECT_EQ(subkeys(r, pf::HKEY_LOCAL_MACHINE), "SOFTWARE,System,");
}

TEST_F(PortableRegistryTest, BadFileThrowsWithPathAndLineAndIsKept) {
    const std::string bad = "REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"=hex:1x\r\n";
    file(bad);
    try {
        PortableRegistry r(reg_);
        ADD_FAILURE();
    } catch (const ImageError& e) {
        EXPECT_NE(std::string(e.what()).find(reg_.string() + ":3:"), std::string::npos);
    }
    EXPECT_EQ(readFile(reg_), bad);
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
        {r.RegDeleteValue(b, "none"), 2},
        {r.RegDeleteKey(a, "none"), 2},
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

    // Windows 95/98 deletes the subtree.
    ASSERT_EQ(r.RegCreateKeyEx(a, "X\\Y\\Z", kAll, h, disp), 0);
    EXPECT_EQ(disp, 1u);
    r.setDeleteTreeOnDelete(true);
    EXPECT_EQ(r.RegDeleteKey(pf::HKEY_CURRENT_USER, "a"), 0);
    EXPECT_EQ(r.RegQueryInfoKey(h, nk, nv), pf::ERROR_KEY_DELETED);
    EXPECT_EQ(subkeys(r, pf::HKEY_CURRENT_USER), "");
}

TEST_F(PortableRegistryTest, EnumerationKeepsFirstAppearanceOrderAndCase) {
    PortableRegistry r(file("REGEDIT4\r\n"));
    pf::HKEY k = create(r, pf::HKEY_USERS, "K");
    for (const char* n : {"Zed", "alpha", "Mid", "ALPHA", "zed"}) {
        ASSERT_EQ(set(r, k, n, ""), 0);
        create(r, k, n);
    }
    ASSERT_EQ(r.RegDeleteValue(k, "ZED"), 0);
    ASSERT_EQ(set(r, k, "zeD", ""), 0);
    ASSERT_EQ(r.RegDeleteKey(k, "alpha"), 0);
    create(r, k, "Alpha");
    EXPECT_EQ(subkeys(r, k), "Zed,Mid,Alpha,");
    std::string names, name;
    std::uint32_t type = 0;
    Bytes data;
    for (std::uint32_t i = 0; r.RegEnumValue(k, i, name, type, data) == 0; ++i)
        names += name + ",";
    EXPECT_EQ(names, "alpha,Mid,zeD,");
}

TEST_F(PortableRegistryTest, FoldRoundTripsDataByteExact) {
    using std::string_literals::operator""s;
    const std::tuple<const char*, std::uint32_t, std::string> values[] = {
        {"", 1, "default\0"s},
        {"sz", 1, "a \"quoted\" \\path\\\0"s},
        {"sz no nul", 1, "abc"},
        {"sz inner nul", 1, "a\0b\0"s},
        {"sz crlf", 1, "a\r\nb\0"s},
        {"dword", 4, "\x0a\0\0\x80"s},
        {"dword short", 4, "\x01\x02"},
        {"binary", 3, std::string(200, '\xAB')},
        {"multi", 7, "one\0two\0\0"s},
        {"qword", 11, std::string(8, '\x7f')},
        {"none", 0, "x"},
        {"na\"me\\", 1, "\xe9t\xe9\0"s},
    };
    std::string before;
    {
        PortableRegistry r(file("REGEDIT4\r\n"));
        pf::HKEY k = create(r, pf::HKEY_LOCAL_MACHINE, "Software\\Test");
        create(r, k, "Empty\\Deeper");
        for (const auto& [name, type, data] : values)
            ASSERT_EQ(set(r, k, name, data, type), 0) << name;
        ASSERT_EQ(set(r, pf::HKEY_DYN_DATA, "root value", "1234", 4), 0);
        before = dump(r);
        EXPECT_TRUE(r.fold());
    }
    EXPECT_EQ(fs::file_size(journal_), 0u);
    const std::string text = readFile(reg_);
    EXPECT_EQ(text.substr(0, 12), "REGEDIT4\r\n\r\n");
    EXPECT_NE(text.find("\"sz\"=\"a \\\"quoted\\\" \\\\path\\\\\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"dword\"=dword:8000000a\r\n"), std::string::npos);
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Software\\Test\\Empty\\Deeper]\r\n\r\n"),
              std::string::npos);
    for (std::size_t at = 0, nl; (nl = text.find("\r\n", at)) != std::string::npos; at = nl + 2)
        EXPECT_LE(nl - at, 80u);
    PortableRegistry again(reg_);
    EXPECT_EQ(dump(again), before);
    EXPECT_TRUE(again.fold());
    EXPECT_EQ(readFile(reg_), text);  // writing is stable
}

TEST_F(PortableRegistryTest, SampleImagesFoldUnchanged) {
    for (const char* name : {"win98", "nt4", "win2000"}) {
        const std::string text = readFile(vtl::test::samplesDir() / name / "registry.reg");
        ASSERT_FALSE(text.empty()) << name;
        PortableRegistry r(file(text));
        EXPECT_TRUE(r.fold());
        EXPECT_EQ(readFile(reg_), text) << name;
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
        EXPECT_EQ(dump(a), dump(b));
        // Many writes fold by themselves.
        const std::string big(4096, 7);
        for (int i = 0; i < 100; ++i)
            ASSERT_EQ(set(b, kb, "Big" + std::to_string(i % 7), big), 0);
        EXPECT_GT(b.stats().folds, 0u);
        EXPECT_LT(fs::file_size(journal_), 300u * 1024);
        EXPECT_EQ(dump(a), dump(b));
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
    std::ofstream(journal_, std::ios::app | std::ios::binary) << "[HKEY_USERS\\K]\r\n\"torn\"=he";
    {
        PortableRegistry r(reg_);
        EXPECT_EQ(r.stats().replays, 4u);
        pf::HKEY k = open(r, pf::HKEY_USERS, "K\\New", 3);
        EXPECT_EQ(query(r, k, "w"), 0);
        EXPECT_EQ(query(r, k, "v"), 2);
        EXPECT_EQ(query(r, k, "torn"), 2);
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
