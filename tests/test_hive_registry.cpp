// The registry of an offline Windows NT 4 / 2000 disk, on system drives the
// tests build from the sample machines: vtl reads and applies configurations
// on them as on the machine images, writes hives safely and refuses bad ones.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <functional>
#include <thread>

#include "platform/portable/HiveRegistry.h"
#include "platform/portable/PortablePlatform.h"
#include "support/HiveBuilder.h"
#include "support/TestImage.h"
#include "support/VtlRun.h"

namespace vtl {
namespace {

namespace fs = std::filesystem;

using test::readFile;
using test::runVtl;
using test::writeFile;

const char* const kHives[] = {"SYSTEM", "SOFTWARE", "DEFAULT", "NTUSER"};

// One sample as a machine image and as a system drive, with a configuration
// file of its current settings, edited.
struct Disk {
    explicit Disk(const std::string& sample)
        : image(dir.path() / "image"),
          built(test::buildSystemDrive(sample, dir.path() / "c", "jane",
                                       sample == "nt4"
                                           ? std::vector<std::string>{"Default User"}
                                           : std::vector<std::string>{"Administrator"})),
          user(sample == "nt4" ? "" : "--user JANE ") {
        fs::copy(test::samplesDir() / sample, image, fs::copy_options::recursive);
        office = file("office.vtl");
        EXPECT_EQ(onImage("/hidden /save " + test::quoted(office)).status, 0);
        std::string text = readFile(office);
        const std::string from = "IPAddress=", to = "IPAddress=10.99.1.2,";
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos);
        if (at != std::string::npos)
            text.replace(at, from.size(), to);
        writeFile(office, text);
    }
    test::VtlRun onImage(const std::string& args) {
        return runVtl("--machine " + test::quoted(image.string()) + " " + args);
    }
    test::VtlRun onDrive(const std::string& args) {
        return runVtl("--machine " + test::quoted(built.drive.string()) + " " + user + args);
    }
    std::string file(const std::string& name) const { return (dir.path() / name).string(); }
    std::map<std::string, std::string> hiveBytes() const {
        std::map<std::string, std::string> bytes;
        for (const char* h : kHives)
            bytes[h] = readFile(built.hive(h));
        return bytes;
    }
    test::HiveDump hives() const {
        test::HiveDump dump;
        for (const char* h : kHives)
            dump[h] = test::dumpHive(built.hive(h));
        return test::lowered(dump);
    }
    // Files beside the hives that a write leaves.
    std::vector<std::string> leftovers() const {
        std::vector<std::string> found;
        for (const char* h : kHives) {
            for (const char* suffix : {".vtl-backup", ".vtl-new", ".vtl-backup.tmp"}) {
                if (fs::exists(built.hive(h).string() + suffix))
                    found.push_back(built.hive(h).string() + suffix);
            }
        }
        return found;
    }

    test::TempDir dir;
    fs::path image;
    test::BuiltDrive built;
    std::string user;
    std::string office;
};

TEST(HiveRegistry, ReadsAndAppliesAsTheMachineImage) {
    for (const std::string sample : {"nt4", "win2000"}) {
        SCOPED_TRACE(sample);
        Disk d(sample);
        // The settings report (network, browsers, prefs.js, win.ini) reads the same.
        ASSERT_EQ(d.onImage("/hidden /export " + test::quoted(d.file("image.txt"))).status, 0);
        const test::VtlRun read = d.onDrive("/hidden /export " + test::quoted(d.file("drive.txt")));
        ASSERT_EQ(read.status, 0) << read.out;
        auto settings = [&](const std::string& name) {  // the report below its dated header
            const std::string text = readFile(d.file(name));
            return text.substr(std::min(text.find("Configuration File"), text.size()));
        };
        EXPECT_EQ(settings("drive.txt"), settings("image.txt"));
        EXPECT_NE(settings("drive.txt").find("Navigator"), std::string::npos);
        // Once the program's own settings are there, a run that changes nothing
        // leaves the hives byte for byte.
        const auto before = d.hiveBytes();
        fs::remove(d.built.hive("SOFTWARE").string() + ".vtl-backup");
        ASSERT_EQ(d.onDrive("/hidden /export " + test::quoted(d.file("again.txt"))).status, 0);
        EXPECT_TRUE(d.hiveBytes() == before);
        EXPECT_TRUE(d.leftovers().empty());

        // Applied on both, the hives hold what the image's registry holds.
        ASSERT_EQ(d.onImage("/hidden /load " + test::quoted(d.office) + " /apply").status, 0);
        const test::VtlRun apply = d.onDrive("/hidden /load " + test::quoted(d.office) + " /apply");
        ASSERT_EQ(apply.status, 0) << apply.out;
        const test::HiveDump expected =
            test::lowered(test::expectedHives(d.image / "registry.reg"));
        const test::HiveDump actual = d.hives();
        for (const char* h : kHives) {
            ASSERT_EQ(actual.at(h).size(), expected.at(h).size()) << h;
            for (const auto& [key, values] : expected.at(h)) {
                ASSERT_TRUE(actual.at(h).count(key)) << h << "\\" << key;
                EXPECT_EQ(actual.at(h).at(key), values) << h << "\\" << key;
            }
        }
        EXPECT_TRUE(readFile(d.built.hive("SYSTEM")) != before.at("SYSTEM"));
        // The newest previous hive is kept beside it.
        EXPECT_TRUE(readFile(d.built.hive("SYSTEM").string() + ".vtl-backup") ==
                    before.at("SYSTEM"));
        EXPECT_FALSE(fs::exists(d.built.hive("SYSTEM").string() + ".vtl-new"));
    }
}

TEST(HiveRegistry, KeepsWhatItDoesNotTouch) {
    Disk d("win2000");
    // A value of a type and layout the program never writes, and a key class.
    const fs::path system = d.built.hive("SYSTEM");
    hive_h* h = hivex_open(system.c_str(), HIVEX_OPEN_WRITE);
    ASSERT_NE(h, nullptr);
    const std::string odd("a\0\0\0b\0\0\0\0\0\0\0\0", 13);  // odd length, no final NUL pair
    hive_set_value v{const_cast<char*>("Odd"), hive_t_REG_MULTI_SZ, odd.size(),
                     const_cast<char*>(odd.data())};
    hive_node_h select = hivex_node_get_child(h, hivex_root(h), "Select");
    ASSERT_EQ(hivex_node_set_value(h, select, &v, 0), 0);
    ASSERT_EQ(hivex_commit(h, nullptr, 0), 0);
    hivex_close(h);

    ASSERT_EQ(d.onDrive("/hidden /load " + test::quoted(d.office) + " /apply").status, 0);
    h = hivex_open(system.c_str(), 0);
    ASSERT_NE(h, nullptr);
    hive_value_h kept =
        hivex_node_get_value(h, hivex_node_get_child(h, hivex_root(h), "Select"), "Odd");
    hive_type t;
    std::size_t len = 0;
    char* raw = hivex_value_value(h, kept, &t, &len);
    EXPECT_EQ(t, hive_t_REG_MULTI_SZ);
    EXPECT_EQ(std::string(raw, len), odd);
    std::free(raw);
    hivex_close(h);
}

TEST(HiveRegistry, RefusesBadHivesAndWritesNothing) {
    struct Case {
        std::string name;
        std::string hive;  // the file made bad
        std::function<void(const fs::path&)> spoil;
        std::string expected;
    };
    const Case cases[] = {
        {"truncated", "SOFTWARE", [](const fs::path& f) { fs::resize_file(f, 6000); }, "truncated"},
        {"not a hive", "NTUSER", [](const fs::path& f) { writeFile(f, "hello, world\r\n"); },
         "not a Windows NT registry hive"},
        {"bad checksum", "SYSTEM",
         [](const fs::path& f) {
             std::string bytes = readFile(f);
             bytes[0x30] = static_cast<char>(bytes[0x30] ^ 0x5A);
             writeFile(f, bytes);
         },
         "bad header checksum"},
        {"Windows 95/98", "SYSTEM",
         [](const fs::path& f) {
             writeFile(f, std::string("CREG\0\0\1\0", 8) + std::string(8192, '\0'));
         },
         "Windows 95/98 registry"},
        {"read-only", "SYSTEM",
         [](const fs::path& f) { fs::permissions(f, fs::perms::owner_read); }, "is read-only"},
        {"commit fails", "SYSTEM",
         [](const fs::path& f) {
             fs::create_directories(f.string() + ".vtl-new/x");  // cannot be written
         },
         ".vtl-new: cannot write the registry hive"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Disk d("nt4");
        const fs::path bad = d.built.hive(c.hive);
        c.spoil(bad);
        const auto before = d.hiveBytes();
        const test::VtlRun run = d.onDrive("/hidden /load " + test::quoted(d.office) + " /apply");
        EXPECT_EQ(run.status, 1) << run.out;
        EXPECT_NE(run.out.find(bad.string()), std::string::npos) << run.out;
        EXPECT_NE(run.out.find(c.expected), std::string::npos) << run.out;
        EXPECT_TRUE(d.hiveBytes() == before);
        EXPECT_TRUE(d.leftovers().empty() || c.name == "commit fails");
    }
}

TEST(HiveRegistry, FindsTheSystemAndTheUser) {
    Disk d("win2000");
    test::TempDir win98;
    fs::create_directories(win98.path() / "WINDOWS");
    writeFile(win98.path() / "WINDOWS" / "SYSTEM.DAT", std::string("CREG", 4));
    struct Case {
        std::string arguments;
        int status;
        std::string expected;
    };
    const std::string drive = "--machine " + test::quoted(d.built.drive.string());
    const Case cases[] = {
        {drive + " /hidden", 1, "Choose the user whose settings to use with --user NAME"},
        {drive + " --user nobody /hidden", 1,
         "The user nobody has no profile on " + d.built.drive.string() +
             "; profiles found: Administrator, jane."},
        {drive + " --user jane --user", 2, "--user needs a user name"},
        {drive + " --drive 7=/tmp", 2, "--drive needs LETTER=FOLDER"},
        {"--machine " + test::quoted(win98.path().string()) + " /hidden", 1,
         (win98.path() / "WINDOWS" / "SYSTEM.DAT").string() + ": a Windows 95/98 registry"},
    };
    for (const Case& c : cases) {
        const test::VtlRun run = runVtl(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.out;
        EXPECT_NE(run.out.find(c.expected), std::string::npos) << c.arguments << "\n" << run.out;
    }
}

TEST(HiveRegistry, DrivesAndSystemAsOnARunningPc) {
    Disk d("win2000");
    test::TempDir driveD;
    fs::create_directories(driveD.path() / "Data");
    portable::MachineOptions options;
    options.user = "jane";
    options.drives['D'] = driveD.path();
    portable::PortablePlatform machine(d.built.drive, options);
    ASSERT_NE(machine.hives(), nullptr);
    platform::OsVersionInfo version;
    ASSERT_TRUE(machine.GetVersionEx(version));
    EXPECT_EQ(version.majorVersion, 5u);
    EXPECT_EQ(version.buildNumber, 2195u);
    EXPECT_EQ(machine.GetWindowsDirectory(), "C:\\WINNT");
    const std::pair<std::string, fs::path> paths[] = {
        {"C:\\winnt\\WIN.INI", d.built.drive / "WINNT" / "win.ini"},
        {"c:/WINNT/system32", d.built.drive / "WINNT" / "system32"},
        {"D:\\data\\new.txt", driveD.path() / "Data" / "new.txt"},
    };
    for (const auto& [windows, host] : paths)
        EXPECT_EQ(fs::path(machine.HostPath(windows)), host) << windows;
}

TEST(HiveRegistry, WaitsForAnotherWriter) {
    Disk d("nt4");
    const std::string lockFile = d.built.hive("SOFTWARE").string() + ".vtl-lock";
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    std::thread release([fd] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        ::close(fd);
    });
    const auto start = std::chrono::steady_clock::now();
    const test::VtlRun run = d.onDrive("/hidden /load " + test::quoted(d.office) + " /apply");
    release.join();
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_TRUE(fs::exists(d.built.hive("SYSTEM").string() + ".vtl-backup"));
}

}  // namespace
}  // namespace vtl
