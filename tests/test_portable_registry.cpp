// The machine image registry: REGEDIT4 files, Win32 semantics, journal and folds.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/portable/PortableRegistry.h"
#include "platform/portable/RegFile.h"
#include "tests/support/TestImage.h"

namespace {

namespace fs = std::filesystem;
namespace pf = vtl::platform;
using vtl::portable::ImageError;
using vtl::portable::PortableRegistry;
using Bytes = std::vector<std::uint8_t>;

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

Bytes bytes(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

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

// The whole tree as text, through the public calls only.
void dump(PortableRegistry& r, pf::HKEY key, const std::string& path, std::string& out) {
    std::uint32_t nk = 0, nv = 0;
    ASSERT_EQ(r.RegQueryInfoKey(key, nk, nv), 0);
    out += "[" + path + "]\n";
    for (std::uint32_t i = 0; i < nv; ++i) {
        std::string name;
        std::uint32_t type = 0;
        Bytes data;
        ASSERT_EQ(r.RegEnumValue(key, i, name, type, data), 0);
        out +=
            name + "=" + std::to_string(type) + ":" + std::string(data.begin(), data.end()) + "\n";
    }
    for (std::uint32_t i = 0; i < nk; ++i) {
        std::string name;
        ASSERT_EQ(r.RegEnumKeyEx(key, i, name), 0);
        pf::HKEY sub = 0;
        ASSERT_EQ(r.RegOpenKeyEx(key, &name, 9, sub), 0);
        dump(r, sub, path + "\\" + name, out);
        r.RegCloseKey(sub);
    }
}

std::string dump(PortableRegistry& r) {
    std::string out;
    for (pf::HKEY root : {pf::HKEY_CLASSES_ROOT, pf::HKEY_CURRENT_USER, pf::HKEY_LOCAL_MACHINE,
                          pf::HKEY_USERS, pf::HKEY_CURRENT_CONFIG, pf::HKEY_DYN_DATA}) {
        dump(r, root, std::to_string(root), out);
    }
    return out;
}

std::string subkeys(PortableRegistry& r, pf::HKEY key) {
    std::string out, name;
    for (std::uint32_t i = 0; r.RegEnumKeyEx(key, i, name) == 0; ++i)
        out += name + ",";
    return out;
}

TEST(PortableRegFile, ParsesEverySyntaxElement) {
    struct Case {
        const char* line;
        const char* event;
    } cases[] = {
        {"\"a\"=\"abc\"", "val a 1: 97 98 99 0"},
        {"@=\"\"", "val  1: 0"},
        {"\"q\\\"b\\\\\"=\"x\\\"y\\\\\"", "val q\"b\\ 1: 120 34 121 92 0"},
        {"\"d\"=dword:0000000a", "val d 4: 10 0 0 0"},
        {"\"d\"=DWORD:ffffffff", "val d 4: 255 255 255 255"},
        {"\"b\"=hex:01,ff", "val b 3: 1 255"},
        {"\"e\"=hex:", "val e 3:"},
        {"\"m\"=hex(7):61,00,00", "val m 7: 97 0 0"},
        {"\"x\"=hex(2):25,00", "val x 2: 37 0"},
        {"\"q\"=hex(b):01,02,03,04,05,06,07,08", "val q 11: 1 2 3 4 5 6 7 8"},
        {"\"c\"=hex:01,\\\r\n  02,\\\n  03", "val c 3: 1 2 3"},
        {"\"a\"=-", "delval a"},
        {"; comment", nullptr},
        {"   ", nullptr},
        {"[-HKEY_USERS\\Gone]", "del HKEY_USERS\\Gone"},
    };
    for (const auto& c : cases) {
        auto events = parse(std::string("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n") + c.line);
        std::vector<std::string> want = {"key HKEY_LOCAL_MACHINE\\K"};
        if (c.event != nullptr)
            want.push_back(c.event);
        EXPECT_EQ(events, want) << c.line;
    }
    // Values after a deleted key are ignored, as on import.
    EXPECT_EQ(parse("REGEDIT4\n[-HKEY_USERS\\A]\n\"v\"=\"1\"\n").size(), 1u);
}

TEST(PortableRegFile, RejectsBadFilesNamingLine) {
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"Windows Registry Editor Version 5.00\r\n", "x.reg:1: not a REGEDIT4"},
        {"\x7f\x45LF\x01\x02", "x.reg:1: not a REGEDIT4"},
        {"", "x.reg:0: not a REGEDIT4"},
        {"REGEDIT4\n\"a\"=\"b\"", "x.reg:2: value outside"},
        {"REGEDIT4\n[HKEY_NOWHERE\\A]", "x.reg:2: unknown root key"},
        {"REGEDIT4\n[HKEY_USERS\\A", "x.reg:2: missing ']'"},
        {"REGEDIT4\n[HKEY_USERS\\\\A]", "x.reg:2: empty key name"},
        {"REGEDIT4\n[HKEY_USERS]\n\n\"a\"=\"b", "x.reg:4: missing closing"},
        {"REGEDIT4\n[HKEY_USERS]\n\"a\"=dword:123456789", "x.reg:3: dword needs"},
        {"REGEDIT4\n[HKEY_USERS]\n\"a\"=hex:01,\\\n  zz", "x.reg:4: bad hex byte"},
        {"REGEDIT4\n[HKEY_USERS]\n\"a\"=hex:01,\\", "x.reg:3: hex list continues"},
        {"REGEDIT4\n[HKEY_USERS]\n\"a\"=hex(q):01", "x.reg:3: bad value type"},
        {"REGEDIT4\n[HKEY_USERS]\n\"a\"=text", "x.reg:3: unknown value data"},
        {"REGEDIT4\n[HKEY_USERS]\n\"a\" \"b\"", "x.reg:3: expected '='"},
        {"REGEDIT4\n[HKEY_USERS]\nstray", "x.reg:3: expected a [key]"},
    };
    for (const auto& c : cases) {
        try {
            parse(c.text);
            ADD_FAILURE() << "parsed: " << c.text;
        } catch (const ImageError& e) {
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos)
                << e.what() << " / want " << c.error;
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
};

// An excerpt as the Windows registry editor exports it.
constexpr const char* kExport =
    "REGEDIT4\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\r\n"
    "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\r\n"
    "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
    "  16,17,18\r\n"
    "\"Path\"=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,00\r\n"
    "@=\"default\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\MSTCP]\r\n"
    "\"EnableDNS\"=\"1\"\r\n"
    "\"NameServer\"=\"10.0.0.1,10.0.0.2\"\r\n\r\n";

TEST_F(PortableRegistryTest, LoadsExportWithImplicitParentsAndCaseInsensitiveNames) {
    PortableRegistry r(file(kExport));
    pf::HKEY k = 0;
    std::string path = "software\\MICROSOFT\\windows\\currentversion";
    ASSERT_EQ(r.RegOpenKeyEx(pf::HKEY_LOCAL_MACHINE, &path, 1, k), 0);
    std::uint32_t type = 0, size = 0;
    ASSERT_EQ(r.RegQueryValueEx(k, "programfilesdir", type, nullptr, size), 0);
    EXPECT_EQ(type, pf::REG_SZ);
    EXPECT_EQ(size, 17u);
    Bytes data;
    ASSERT_EQ(r.RegQueryValueEx(k, "BLOB", type, &data, size), 0);
    EXPECT_EQ(data.size(), 25u);
    EXPECT_EQ(data[24], 0x18);
    ASSERT_EQ(r.RegQueryValueEx(k, "", type, &data, size), 0);
    EXPECT_EQ(data, bytes(std::string_view("default", 8)));
    // Parents named only in a longer path exist and keep their case.
    pf::HKEY sys = 0;
    path = "SYSTEM\\currentcontrolset";
    ASSERT_EQ(r.RegOpenKeyEx(pf::HKEY_LOCAL_MACHINE, &path, 8, sys), 0);
    EXPECT_EQ(subkeys(r, sys), "Services,");
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
    pf::HKEY a = 0, b = 0, ro = 0, h = 0;
    std::uint32_t disp = 0, type = 0, size = 0, nk = 0, nv = 0;
    std::string name, sa = "A", sb = "a\\b";
    Bytes data;
    const std::uint8_t one[] = {'1', 0};
    ASSERT_EQ(r.RegCreateKeyEx(pf::HKEY_CURRENT_USER, "a", 0xF003F, a, disp), 0);
    EXPECT_EQ(disp, 2u);
    ASSERT_EQ(r.RegOpenKeyEx(pf::HKEY_CURRENT_USER, &sb, 0xF003F, b), 0);
    ASSERT_EQ(r.RegOpenKeyEx(a, nullptr, 1, ro), 0);
    struct Case {
        const char* what;
        long got, want;
    } cases[] = {
        {"open missing", r.RegOpenKeyEx(a, &sa, 1, h), pf::ERROR_FILE_NOT_FOUND},
        {"query missing", r.RegQueryValueEx(b, "none", type, nullptr, size), 2},
        {"delete missing value", r.RegDeleteValue(b, "none"), 2},
        {"delete missing key", r.RegDeleteKey(a, "none"), 2},
        {"set without 2", r.RegSetValueEx(ro, "v", 1, one, 2), pf::ERROR_ACCESS_DENIED},
        {"delete value without 2", r.RegDeleteValue(ro, "v"), 5},
        {"create without 4", r.RegCreateKeyEx(ro, "C", 0, h, disp), 5},
        {"enum keys without 8", r.RegEnumKeyEx(ro, 0, name), 5},
        {"query with 1", r.RegQueryInfoKey(ro, nk, nv), 0},
        {"enum past end", r.RegEnumKeyEx(a, 1, name), pf::ERROR_NO_MORE_ITEMS},
        {"enum values past end", r.RegEnumValue(b, 1, name, type, data), 259},
        {"invalid handle", r.RegQueryInfoKey(12345, nk, nv), pf::ERROR_INVALID_HANDLE},
        {"delete root", r.RegDeleteKey(pf::HKEY_USERS, ""), 5},
        {"NT: key with subkeys", r.RegDeleteKey(pf::HKEY_CURRENT_USER, "A"), 5},
        {"delete leaf", r.RegDeleteKey(a, "B"), 0},
        {"handle to deleted key", r.RegQueryInfoKey(b, nk, nv), pf::ERROR_KEY_DELETED},
        {"close deleted", r.RegCloseKey(b), 0},
        {"close twice", r.RegCloseKey(b), 6},
        {"close root", r.RegCloseKey(pf::HKEY_LOCAL_MACHINE), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;

    // Windows 95/98 deletes the subtree.
    ASSERT_EQ(r.RegCreateKeyEx(a, "X\\Y\\Z", 0xF003F, h, disp), 0);
    EXPECT_EQ(disp, 1u);
    r.setDeleteTreeOnDelete(true);
    EXPECT_EQ(r.RegDeleteKey(pf::HKEY_CURRENT_USER, "a"), 0);
    EXPECT_EQ(r.RegQueryInfoKey(h, nk, nv), pf::ERROR_KEY_DELETED);
    EXPECT_EQ(subkeys(r, pf::HKEY_CURRENT_USER), "");
}

TEST_F(PortableRegistryTest, EnumerationKeepsFirstAppearanceOrderAndCase) {
    PortableRegistry r(file("REGEDIT4\r\n"));
    pf::HKEY k = 0, h = 0;
    std::uint32_t disp = 0;
    ASSERT_EQ(r.RegCreateKeyEx(pf::HKEY_USERS, "K", 0xF003F, k, disp), 0);
    const std::uint8_t v[] = {0};
    for (const char* n : {"Zed", "alpha", "Mid", "ALPHA", "zed"}) {
        ASSERT_EQ(r.RegSetValueEx(k, n, pf::REG_SZ, v, 1), 0);
        ASSERT_EQ(r.RegCreateKeyEx(k, n, 0xF003F, h, disp), 0);
    }
    ASSERT_EQ(r.RegDeleteValue(k, "ZED"), 0);
    ASSERT_EQ(r.RegSetValueEx(k, "zeD", pf::REG_SZ, v, 1), 0);
    ASSERT_EQ(r.RegDeleteKey(k, "alpha"), 0);
    ASSERT_EQ(r.RegCreateKeyEx(k, "Alpha", 0xF003F, h, disp), 0);
    EXPECT_EQ(subkeys(r, k), "Zed,Mid,Alpha,");
    std::string names, name;
    std::uint32_t type = 0;
    Bytes data;
    for (std::uint32_t i = 0; r.RegEnumValue(k, i, name, type, data) == 0; ++i)
        names += name + ",";
    EXPECT_EQ(names, "alpha,Mid,zeD,");
}

TEST_F(PortableRegistryTest, FoldRoundTripsDataByteExact) {
    struct Value {
        const char* name;
        std::uint32_t type;
        std::string data;
    } values[] = {
        {"", 1, std::string("default\0", 8)},
        {"sz", 1, std::string("a \"quoted\" \\path\\\0", 18)},
        {"sz no nul", 1, "abc"},
        {"sz two nul", 1, std::string("abc\0\0", 5)},
        {"sz inner nul", 1, std::string("a\0b\0", 4)},
        {"sz crlf", 1, std::string("a\r\nb\0", 5)},
        {"sz empty", 1, ""},
        {"dword", 4, std::string("\x0a\0\0\x80", 4)},
        {"dword short", 4, "\x01\x02"},
        {"binary", 3, std::string(200, '\xAB')},
        {"empty binary", 3, ""},
        {"multi", 7, std::string("one\0two\0\0", 9)},
        {"expand", 2, std::string("%SystemRoot%\0", 13)},
        {"qword", 11, std::string(8, '\x7f')},
        {"none", 0, "x"},
        {"na\"me\\", 1, std::string("\xe9t\xe9\0", 4)},
    };
    std::string before;
    {
        PortableRegistry r(file("REGEDIT4\r\n"));
        pf::HKEY k = 0, e = 0;
        std::uint32_t disp = 0;
        ASSERT_EQ(r.RegCreateKeyEx(pf::HKEY_LOCAL_MACHINE, "Software\\Test", 0xF003F, k, disp), 0);
        ASSERT_EQ(r.RegCreateKeyEx(k, "Empty\\Deeper", 0xF003F, e, disp), 0);
        for (const auto& v : values) {
            auto d = bytes(v.data);
            ASSERT_EQ(r.RegSetValueEx(k, v.name, v.type, d.data(), std::uint32_t(d.size())), 0);
        }
        const std::uint8_t dword[] = {1, 0, 0, 0};
        ASSERT_EQ(r.RegSetValueEx(pf::HKEY_DYN_DATA, "root value", 4, dword, 4), 0);
        before = dump(r);
        EXPECT_TRUE(r.fold());
    }
    EXPECT_EQ(fs::file_size(reg_.string() + ".journal"), 0u);
    const std::string text = readFile(reg_);
    EXPECT_EQ(text.substr(0, 12), "REGEDIT4\r\n\r\n");
    EXPECT_NE(text.find("\"sz\"=\"a \\\"quoted\\\" \\\\path\\\\\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"dword\"=dword:8000000a\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"qword\"=hex(b):7f,7f"), std::string::npos);
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Software\\Test\\Empty\\Deeper]\r\n\r\n"),
              std::string::npos);
    for (std::size_t at = 0, nl; (nl = text.find("\r\n", at)) != std::string::npos; at = nl + 2) {
        EXPECT_LE(nl - at, 80u);
    }
    PortableRegistry again(reg_);
    EXPECT_EQ(dump(again), before);
    EXPECT_TRUE(again.fold());
    EXPECT_EQ(readFile(reg_), text);  // writing is stable
}

TEST_F(PortableRegistryTest, SampleImagesFoldUnchanged) {
    int seen = 0;
    for (const char* name : {"win98", "nt4", "win2000"}) {
        fs::path sample = vtl::test::samplesDir() / name / "registry.reg";
        if (!fs::exists(sample))
            continue;
        const std::string text = readFile(sample);
        PortableRegistry r(file(text));
        EXPECT_TRUE(r.fold());
        EXPECT_EQ(readFile(reg_), text) << name;
        ++seen;
    }
    if (seen == 0)
        GTEST_SKIP() << "no sample images";
}

TEST_F(PortableRegistryTest, TwoProcessesSeeAndKeepEachOthersChanges) {
    file("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Shared]\r\n");
    std::string path = "Shared";
    const std::uint8_t one[] = {'1', 0}, two[] = {'2', 0};
    std::uint32_t type = 0, size = 0;
    Bytes data;
    {
        PortableRegistry a(reg_), b(reg_);
        pf::HKEY ka = 0, kb = 0;
        ASSERT_EQ(a.RegOpenKeyEx(pf::HKEY_LOCAL_MACHINE, &path, 3, ka), 0);
        ASSERT_EQ(b.RegOpenKeyEx(pf::HKEY_LOCAL_MACHINE, &path, 3, kb), 0);
        ASSERT_EQ(a.RegSetValueEx(ka, "FromA", 1, one, 2), 0);
        ASSERT_EQ(b.RegQueryValueEx(kb, "froma", type, &data, size), 0);
        ASSERT_EQ(b.RegSetValueEx(kb, "FromB", 1, two, 2), 0);
        ASSERT_EQ(a.RegQueryValueEx(ka, "FromB", type, &data, size), 0);
        EXPECT_EQ(data, Bytes(two, two + 2));
        EXPECT_EQ(a.stats().replays, 1u);
        // A fold by one makes the other reload; its open handle still works.
        ASSERT_TRUE(a.fold());
        ASSERT_EQ(b.RegSetValueEx(kb, "AfterFold", 1, one, 2), 0);
        EXPECT_EQ(b.stats().reloads, 2u);
        ASSERT_EQ(a.RegDeleteValue(ka, "FromA"), 0);
        EXPECT_EQ(dump(a), dump(b));
        // Many writes fold by themselves.
        std::vector<std::uint8_t> big(4096, 7);
        for (int i = 0; i < 100; ++i) {
            ASSERT_EQ(b.RegSetValueEx(kb, "Big" + std::to_string(i % 7), 3, big.data(), 4096), 0);
        }
        EXPECT_GT(b.stats().folds, 0u);
        EXPECT_LT(fs::file_size(reg_.string() + ".journal"), 300u * 1024);
        EXPECT_EQ(dump(a), dump(b));
    }
    PortableRegistry c(reg_);
    pf::HKEY kc = 0;
    ASSERT_EQ(c.RegOpenKeyEx(pf::HKEY_LOCAL_MACHINE, &path, 1, kc), 0);
    EXPECT_EQ(c.RegQueryValueEx(kc, "FromA", type, nullptr, size), 2);
    for (const char* n : {"FromB", "AfterFold", "Big6"}) {
        EXPECT_EQ(c.RegQueryValueEx(kc, n, type, nullptr, size), 0) << n;
    }
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
        const std::uint8_t v[] = {1, 2, 3};
        bool ok = r->RegCreateKeyEx(pf::HKEY_USERS, "K\\New", 0xF003F, k, d) == 0 &&
                  r->RegSetValueEx(k, "v", 3, v, 3) == 0 && r->RegDeleteValue(k, "v") == 0 &&
                  r->RegSetValueEx(k, "w", 3, v, 3) == 0;
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readFile(reg_), original);
    const fs::path journal = reg_.string() + ".journal";
    std::string j = readFile(journal);
    std::ofstream(journal, std::ios::app | std::ios::binary) << "[HKEY_USERS\\K]\r\n\"torn\"=he";
    {
        PortableRegistry r(reg_);
        EXPECT_EQ(r.stats().replays, 4u);
        std::string path = "K\\New";
        pf::HKEY k = 0;
        std::uint32_t type = 0, size = 0;
        ASSERT_EQ(r.RegOpenKeyEx(pf::HKEY_USERS, &path, 3, k), 0);
        EXPECT_EQ(r.RegQueryValueEx(k, "w", type, nullptr, size), 0);
        EXPECT_EQ(r.RegQueryValueEx(k, "v", type, nullptr, size), 2);
        EXPECT_EQ(r.RegQueryValueEx(k, "torn", type, nullptr, size), 2);
        const std::uint8_t z[] = {0};
        ASSERT_EQ(r.RegSetValueEx(k, "z", 3, z, 1), 0);
        EXPECT_EQ(readFile(journal).find("torn"), std::string::npos);  // cut off by the writer
    }
    EXPECT_NE(readFile(reg_).find("\"z\"=hex:00"), std::string::npos);

    // A journal whose records are already in registry.reg (fold killed before
    // emptying it) is recognised by its hash and not applied again.
    std::string folded = readFile(reg_);
    writeFile(journal, j);
    PortableRegistry r(reg_);
    EXPECT_EQ(r.stats().replays, 0u);
    r.fold();
    EXPECT_EQ(readFile(reg_), folded);
}

TEST_F(PortableRegistryTest, ReadOnlyImageReadsButRefusesWrites) {
    const std::string text = "REGEDIT4\r\n\r\n[HKEY_USERS\\K]\r\n\"v\"=\"x\"\r\n\r\n";
    for (bool folder : {false, true}) {
        file(text);
        fs::permissions(folder ? dir_.path() : reg_,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        {
            PortableRegistry r(reg_);
            EXPECT_TRUE(r.readOnly());
            pf::HKEY k = 0, h = 0;
            std::uint32_t type = 0, size = 0, disp = 0;
            std::string path = "k";
            const std::uint8_t v[] = {0};
            ASSERT_EQ(r.RegOpenKeyEx(pf::HKEY_USERS, &path, 0xF003F, k), 0);
            EXPECT_EQ(r.RegQueryValueEx(k, "V", type, nullptr, size), 0);
            EXPECT_EQ(r.RegCreateKeyEx(pf::HKEY_USERS, "K", 0xF003F, h, disp), 0);
            EXPECT_EQ(r.RegSetValueEx(k, "w", 3, v, 1), 5);
            EXPECT_EQ(r.RegDeleteValue(k, "v"), 5);
            EXPECT_EQ(r.RegDeleteKey(pf::HKEY_USERS, "K"), 5);
            EXPECT_EQ(r.RegCreateKeyEx(k, "New", 0xF003F, h, disp), 5);
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
        const std::uint8_t v[] = {0};
        EXPECT_EQ(r.RegSetValueEx(pf::HKEY_USERS, "v", 3, v, 1), pf::ERROR_BADDB);
        EXPECT_FALSE(r.fold());
    }
    EXPECT_EQ(readFile(reg_), garbage);
}

}  // namespace
