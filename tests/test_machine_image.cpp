// The machine image as a platform: which Windows it is, its folders and drives,
// which image a run takes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/portable/ImageLocator.h"
#include "platform/portable/RegFile.h"
#include "support/TestImage.h"

namespace vtl {
namespace {

namespace fs = std::filesystem;
using test::TestImage;

TEST(MachineImage, SamplesSayWhichWindowsTheyAre) {
    struct Case {
        std::string sample;
        std::uint32_t platformId, major, minor;
        std::string windows, system;
    };
    for (const Case& c : std::vector<Case>{
             {"win98", 1, 4, 10, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"},
             {"nt4", 2, 4, 0, "C:\\WINNT", "C:\\WINNT\\system32"},
             {"win2000", 2, 5, 0, "C:\\WINNT", "C:\\WINNT\\system32"},
         }) {
        auto image = TestImage::sample(c.sample);
        platform::OsVersionInfo info;
        ASSERT_TRUE(image->platform().GetVersionEx(info));
        EXPECT_EQ(info.platformId, c.platformId) << c.sample;
        EXPECT_EQ(info.majorVersion, c.major) << c.sample;
        EXPECT_EQ(info.minorVersion, c.minor) << c.sample;
        EXPECT_EQ(image->platform().GetWindowsDirectory(), c.windows);
        EXPECT_EQ(image->platform().GetSystemDirectory(), c.system);
        // win.ini lies in the Windows folder, whatever the case on disk.
        EXPECT_TRUE(image->platform().FindFirstFile(c.windows + "\\WIN.INI")) << c.sample;
    }
}

TEST(MachineImage, WindowsPathsResolveWithoutRegardToCase) {
    auto image = TestImage::fromRegistry("[HKEY_LOCAL_MACHINE\\Software]\r\n");
    fs::create_directories(image->dir() / "drive_c" / "Program Files" / "Netscape");
    test::writeFile(image->dir() / "drive_c" / "Program Files" / "Netscape" / "prefs.js", "x");
    const fs::path c = image->dir() / "drive_c";
    struct Case {
        std::string path;
        fs::path host;
        bool exists;
    };
    for (const Case& k : std::vector<Case>{
             {"C:\\PROGRAM FILES\\netscape\\PREFS.JS",
              c / "Program Files" / "Netscape" / "prefs.js", true},
             {"c:/program files/Netscape", c / "Program Files" / "Netscape", true},
             {"C:\\Program Files\\New Folder\\File.TXT",
              c / "Program Files" / "New Folder" / "File.TXT", false},
             {"C:\\", c, true},
             {"D:\\data", image->dir() / "drive_d" / "data", false},
             {"C:\\Program Files\\..\\Program Files\\NETSCAPE", c / "Program Files" / "Netscape",
              true},
         }) {
        EXPECT_EQ(fs::path(image->platform().HostPath(k.path)).lexically_normal(),
                  k.host.lexically_normal())
            << k.path;
        EXPECT_EQ(image->platform().FindFirstFile(k.path), k.exists) << k.path;
    }
    EXPECT_TRUE(image->platform().FindFirstFile("C:\\Program Files\\Netscape\\*.js"));
    EXPECT_FALSE(image->platform().FindFirstFile("C:\\Program Files\\Netscape\\*.ini"));
    // Host paths are the host's.
    EXPECT_EQ(image->platform().HostPath("/tmp/office.vtl"), "/tmp/office.vtl");
}

TEST(MachineImage, BadImagesAreReportedAndLeftAlone) {
    test::TempDir dir;
    EXPECT_THROW(portable::PortablePlatform(dir.path() / "missing"), portable::ImageError);
    const std::string broken = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"A\"=what\r\n";
    test::writeFile(dir.path() / "registry.reg", broken);
    try {
        portable::PortablePlatform platform(dir.path());
        ADD_FAILURE() << "a broken registry loaded";
    } catch (const portable::ImageError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("registry.reg"), std::string::npos) << what;
        EXPECT_NE(what.find("4"), std::string::npos) << what;  // the line
    }
    EXPECT_EQ(test::readFile(dir.path() / "registry.reg"), broken);

    // A key 20,000 levels deep is refused before anything walks it.
    std::string deep = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE";
    for (int i = 0; i < 20000; ++i)
        deep += "\\Key";
    deep += "]\r\n";
    test::writeFile(dir.path() / "registry.reg", deep);
    try {
        portable::PortablePlatform platform(dir.path());
        ADD_FAILURE() << "a 20,000-level key loaded";
    } catch (const portable::ImageError& e) {
        EXPECT_NE(std::string(e.what()).find("registry.reg:3: key more than 512 levels deep"),
                  std::string::npos);
    }
    EXPECT_EQ(test::readFile(dir.path() / "registry.reg"), deep);
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

TEST(MachineImage, LocatesTheImageByOptionEnvironmentOrDefault) {
    test::TempDir dir;
    std::ostringstream notice;
    const fs::path sample = test::samplesDir() / "win2000";
    EXPECT_EQ(portable::locateImage(std::string("/given"), sample, notice), fs::path("/given"));

    ::setenv("VANTREL_MACHINE", "/from/env", 1);
    EXPECT_EQ(portable::locateImage(std::nullopt, sample, notice), fs::path("/from/env"));
    ::unsetenv("VANTREL_MACHINE");

    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const std::string saved = oldXdg ? oldXdg : "";
    ::setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
    const fs::path made = portable::locateImage(std::nullopt, sample, notice);
    EXPECT_EQ(made, dir.path() / "vantrel" / "machine");
    EXPECT_EQ(test::readFile(made / "registry.reg"), test::readFile(sample / "registry.reg"));
    EXPECT_NE(notice.str().find(made.string()), std::string::npos);
    // Second time: the existing image is kept as it is.
    test::writeFile(made / "registry.reg", "REGEDIT4\r\n");
    std::ostringstream again;
    EXPECT_EQ(portable::locateImage(std::nullopt, sample, again), made);
    EXPECT_EQ(again.str(), "");
    EXPECT_EQ(test::readFile(made / "registry.reg"), "REGEDIT4\r\n");
    if (oldXdg) {
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
}

}  // namespace
}  // namespace vtl
