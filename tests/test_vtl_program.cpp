// The vtl program end to end on copies of the sample machines: its options,
// scripted runs of the switches, and bad input.
#include <gtest/gtest.h>

#include "support/TestImage.h"
#include "support/VtlRun.h"

namespace vtl {
namespace {

namespace fs = std::filesystem;
using test::quoted;
using test::readFile;
using test::runVtl;
using test::writeFile;

// A scratch copy of a sample and a folder for files.
struct Machine {
    explicit Machine(const std::string& sample = "win2000") : image(dir.path() / "m") {
        fs::copy(test::samplesDir() / sample, image, fs::copy_options::recursive);
    }
    test::VtlRun run(const std::string& switches, const std::string& environment = "") {
        return runVtl("--machine " + quoted(image.string()) + " " + switches, environment);
    }
    std::string file(const std::string& name) const { return (dir.path() / name).string(); }
    std::string registry() const { return readFile(image / "registry.reg"); }
    // A configuration file of this machine's current settings, with edits.
    std::string saved(const std::string& name,
                      const std::vector<std::pair<std::string, std::string>>& edits = {}) {
        const std::string path = file(name);
        EXPECT_EQ(run("/hidden /save " + quoted(path)).status, 0);
        std::string text = readFile(path);
        for (const auto& [from, to] : edits) {
            const std::size_t at = text.find(from);
            EXPECT_NE(at, std::string::npos) << from;
            if (at != std::string::npos)
                text.replace(at, from.size(), to);
        }
        writeFile(path, text);
        return path;
    }
    test::TempDir dir;
    fs::path image;
};

TEST(VtlProgram, Options) {
    Machine m;
    struct Case {
        std::string arguments;
        int status;
        std::string expected;
    };
    const Case cases[] = {
        {"--machine " + quoted(m.image.string()) + " --frobnicate", 2, "usage: vtl"},
        {"--machine " + quoted(m.file("none")), 1, "does not exist"},
        {"--machine=" + quoted(m.image.string()), 0, "No window is available"},
    };
    for (const Case& c : cases) {
        const test::VtlRun run = runVtl(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.out;
        EXPECT_NE(run.out.find(c.expected), std::string::npos) << c.arguments << "\n" << run.out;
    }
}

TEST(VtlProgram, OpensAppliesAndExportsInOneRun) {
    Machine m;
    const std::string office =
        m.saved("my office.vtl", {{"IPAddress=10.20.30.40,", "IPAddress=10.20.30.99,"},
                                  {"HostName=eng2k-ws07", "HostName=eng2k-ws99"}});
    const std::string report = m.file("report.txt");
    // Written in any order and case; run in the fixed one.
    const test::VtlRun run =
        m.run("--EXPORT " + quoted(report) + " /apply -hidden /Load " + quoted(office));
    EXPECT_EQ(run.status, 0) << run.out;

    const std::string text = readFile(report);
    EXPECT_NE(text.find("10.20.30.99,10.20.31.40"), std::string::npos) << text;
    // The image holds the applied address, the last file and the recent list.
    const std::string registry = m.registry();
    EXPECT_NE(registry.find("\"Hostname\"=\"eng2k-ws99\""), std::string::npos);
    EXPECT_NE(registry.find("\"LastFileApplied\"=\"my office.vtl \""), std::string::npos);
    EXPECT_NE(registry.find("\"File1\"=\"" + office + "\""), std::string::npos);
    EXPECT_FALSE(fs::exists(m.image / "registry.reg.journal") &&
                 fs::file_size(m.image / "registry.reg.journal") > 0);
}

TEST(VtlProgram, BadInputIsReportedAndLosesNothing) {
    Machine m;
    EXPECT_EQ(m.run("/hidden").status, 0);  // the program's own settings are in place
    writeFile(m.file("binary.vtl"), std::string("[Advanced]\r\n\0\x7f\x01", 15));

    struct Case {
        std::string switches;
        int status;
        std::string expected;
    };
    const Case cases[] = {
        {"/hidden /load " + quoted(m.file("binary.vtl")), 1, "Invalid configuration file."},
        {"/hidden /export " + quoted(m.file("none/r.txt")), 1, "Vantrel: Error in "},
    };
    const std::string before = m.registry();
    for (const Case& c : cases) {
        const test::VtlRun run = m.run(c.switches);
        EXPECT_EQ(run.status, c.status) << c.switches << "\n" << run.out;
        EXPECT_NE(run.out.find(c.expected), std::string::npos) << c.switches << "\n" << run.out;
    }
    EXPECT_FALSE(fs::exists(m.file("none")));
    // Nothing was applied: the network settings are as before.
    const std::string after = m.registry();
    EXPECT_EQ(after.substr(after.find("[HKEY_LOCAL_MACHINE\\SYSTEM]")),
              before.substr(before.find("[HKEY_LOCAL_MACHINE\\SYSTEM]")));
}

TEST(VtlProgram, ReadOnlyImage) {
    Machine m;
    const std::string office =
        m.saved("office.vtl", {{"IPAddress=10.20.30.40,", "IPAddress=10.1.1.1,"}});
    const std::string before = m.registry();
    fs::permissions(m.image / "registry.reg", fs::perms::owner_read | fs::perms::group_read);
    fs::permissions(m.image, fs::perms::owner_read | fs::perms::owner_exec);
    const test::VtlRun run =
        m.run("/hidden /load " + quoted(office) + " /apply /export " + quoted(m.file("r.txt")));
    fs::permissions(m.image, fs::perms::owner_all);
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_NE(run.out.find("is read-only"), std::string::npos) << run.out;
    EXPECT_EQ(m.registry(), before);
    EXPECT_TRUE(fs::exists(m.file("r.txt")));
}

// Without windows the Navigator warning is one line of output, closed with its
// box clear, and no failure.
TEST(VtlProgram, NavigatorWarningWithoutWindows) {
    Machine m;
    fs::remove_all(m.image / "drive_c" / "Netscape");
    const test::VtlRun run = m.run("/hidden");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("Warning...: Your Netscape Navigator preference file could not be "
                           "located. Please check your default user profile.\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(m.registry().find("\"NavigatorWarning\"=\"0\""), std::string::npos);
}

// The shell prefix that makes every file write beyond `blocks` 512-byte
// blocks fail ("File too large", the signal ignored): a full disk that needs
// no mount.
std::string filesLimitedTo(int blocks) {
    return "trap '' XFSZ; ulimit -f " + std::to_string(blocks) + ";";
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Names of temporary files left in a folder.
std::vector<std::string> leftovers(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".~") != std::string::npos || name.find(".saving-") != std::string::npos ||
            name.ends_with(".tmp") || name.ends_with(".TMP"))
            found.push_back(name);
    }
    return found;
}

// The image cannot be written at the first change, or only at the write-back
// at exit: one message naming the image and the reason, status 1, and
// registry.reg as it was; what reached the journal is there for the next run.
TEST(VtlProgram, ImageWriteFailureIsReportedOnceAndLosesNothing) {
    struct Case {
        const char* name;
        int blocks;
        bool applied;  // the change reached the journal
    };
    const Case cases[] = {{"first write", 0, false}, {"write-back", 24, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Machine m;
        const std::string office =
            m.saved("office.vtl", {{"HostName=eng2k-ws07", "HostName=eng2k-ws99"}});
        const std::string before = m.registry();
        const test::VtlRun run =
            m.run("/hidden /load " + quoted(office) + " /apply", filesLimitedTo(c.blocks));
        EXPECT_EQ(run.status, 1) << run.out;
        EXPECT_EQ(count(run.out, "could not be written"), 1u) << run.out;
        EXPECT_NE(run.out.find("Vantrel: The machine image " + m.image.string() +
                               " could not be written: " + m.image.string() + "/registry.reg"),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find(": File too large."), std::string::npos) << run.out;
        EXPECT_EQ(m.registry(), before);
        EXPECT_EQ(leftovers(m.image), std::vector<std::string>{});

        EXPECT_EQ(m.run("/hidden").status, 0);
        EXPECT_EQ(m.registry().find("\"Hostname\"=\"eng2k-ws99\"") != std::string::npos, c.applied);
    }
}

// On a full disk every file the program writes reports the failure and keeps
// its old contents whole, with no temporary file left beside it.
TEST(VtlProgram, FileWriteFailureIsReportedAndKeepsTheOldFile) {
    Machine m;
    const std::string office = m.saved(
        "office.vtl",
        {{"DefaultPrinter=Xerox DocuPrint N2125", "DefaultPrinter=HP LaserJet 2100 Series PCL 6"}});
    const fs::path drive = m.image / "drive_c";
    const fs::path spool = drive / "WINNT" / "system32" / "spool" / "PRINTERS";
    const fs::path target = m.file("target.vtl");
    const fs::path report = m.file("report.txt");
    writeFile(target, "[Advanced]\r\nComments=old\r\n");
    writeFile(report, "old report\r\n");
    fs::create_directories(spool);
    struct Case {
        const char* name;
        std::string switches;
        std::string expected;
        fs::path file;  // stays as it was
    };
    const std::string load = "/hidden /load " + quoted(office);
    const Case cases[] = {
        {"configuration save", load + " /save " + quoted(target.string()),
         "Vantrel: Error saving configuration.", target},
        {"report export", load + " /export " + quoted(report.string()),
         "Error accessing file '" + report.string() + "'.", report},
        {"win.ini", load + " /apply", "Vantrel: Error accessing file 'C:\\WINNT\\win.ini'.",
         drive / "WINNT" / "win.ini"},
        {"prefs.js", load + " /apply", "closePrefsFile:Device I/O error",
         drive / "Netscape" / "Users" / "jane_doe" / "prefs.js"},
        {"spool file", load + " /print", "Vantrel: An error occurred while attempting to print.",
         spool},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool folder = fs::is_directory(c.file);
        const std::string before = folder ? "" : readFile(c.file);
        const test::VtlRun run = m.run(c.switches, filesLimitedTo(0));
        EXPECT_EQ(run.status, 1) << run.out;
        EXPECT_NE(run.out.find(c.expected), std::string::npos) << run.out;
        if (folder) {
            EXPECT_TRUE(fs::is_empty(c.file));
        } else {
            EXPECT_EQ(readFile(c.file), before);
        }
        EXPECT_EQ(leftovers(folder ? c.file : c.file.parent_path()), std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace vtl
