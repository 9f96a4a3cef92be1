// The configuration document: construction, file load and save, apply, add-in calls.
#include <gtest/gtest.h>

#include <filesystem>

#include "browser/clsBrowser.h"
#include "config/ConfigFile.h"
#include "config/clsVtlConfig.h"
#include "net/clsNetConfig.h"
#include "support/TestImage.h"

namespace vtl {
namespace {

using test::TestImage;

// Records the members the document calls, in order.
class RecordingAddIn : public AddInObject {
  public:
    explicit RecordingAddIn(std::vector<std::string>& log, bool restart = false)
        : log_(log), restart_(restart) {}
    Variant Invoke(const std::string& member, const std::vector<Variant>& args) override {
        std::string entry = member;
        for (const Variant& a : args)
            entry += " " + a.text();
        log_.push_back(entry);
        if (member == "saveSettings")
            WriteConfigValue("Drives", "Count", "0", args[0].text());
        return member == "restart" ? Variant(restart_) : Variant();
    }

  private:
    std::vector<std::string>& log_;
    bool restart_;
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        result.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return result;
}

std::vector<std::string> sections(const std::string& text) {
    std::vector<std::string> result;
    for (const std::string& line : lines(text)) {
        if (!line.empty() && line[0] == '[')
            result.push_back(line);
    }
    return result;
}

TEST(Document, UnsupportedSystemEndsTheProgram) {
    auto image = TestImage::fromRegistry("[HKEY_LOCAL_MACHINE\\Software]\r\n");
    EXPECT_THROW(clsVtlConfig doc, ProgramEnd);
    ASSERT_EQ(image->messages().size(), 1u);
    EXPECT_EQ(image->messages()[0].text,
              "Only Windows 95/98, NT, and 2000 are supported at this time.");
    EXPECT_EQ(image->messages()[0].style, platform::mb::IconInformation);
}

TEST(Document, SavesHeaderSectionsInOrderAndCallsAddIns) {
    auto image = TestImage::sample("win98");
    test::TempDir dir;
    const std::string file = (dir.path() / "office.vtl").string();
    test::writeFile(file, "[Stale]\r\nKey=1\r\n");
    std::vector<std::string> log;
    AddInCollection addIns = {std::make_shared<RecordingAddIn>(log)};

    clsVtlConfig doc;
    doc.Comments("  second\r\nfloor\nnorth\rwing  ");  // one blank per line break
    doc.AutoApply(true);
    doc.ReadOnly(true);
    ASSERT_EQ(doc.SaveConfigurationFile(file, addIns), 1);
    EXPECT_EQ(doc.ConfFile(), file);

    const std::string text = test::readFile(file);
    auto all = lines(text);
    ASSERT_GE(all.size(), 8u);
    EXPECT_EQ(all[0], ";--------------------------------------------");
    EXPECT_EQ(all[1], "; Vantrel - v1.0.0");
    EXPECT_EQ(all[2], ";");
    EXPECT_EQ(all[3].substr(0, 2), "; ");
    EXPECT_EQ(all[4].substr(0, 2), "; ");
    EXPECT_EQ(all[5], all[0]);
    EXPECT_EQ(all[6], "");
    EXPECT_EQ(all[7], "");
    EXPECT_EQ(sections(text), (std::vector<std::string>{
                                  "[Enabled Sections]", "[Advanced]", "[Network]", "[Printer]",
                                  "[Internet Explorer]", "[Netscape Navigator]", "[Drives]"}));
    EXPECT_EQ(ReadConfigValue("Advanced", "Comments", file), "second floor north wing");
    EXPECT_EQ(ReadConfigValue("Advanced", "AutoApply", file), "1");
    EXPECT_EQ(text.find("ReadOnly"), std::string::npos);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("saveSettings ", 0), 0u);

    // Disabled parts drop their sections.
    doc.ApplyNN(false);
    doc.ApplyGeneral(false);
    ASSERT_EQ(doc.SaveConfigurationFile(file, {}), 1);
    EXPECT_EQ(
        sections(test::readFile(file)),
        (std::vector<std::string>{"[Enabled Sections]", "[Advanced]", "[Internet Explorer]"}));
}

TEST(Document, LoadsEnabledPartsAndAdvancedSettings) {
    auto image = TestImage::sample("nt4");
    test::TempDir dir;
    const std::string file = (dir.path() / "hand.vtl").string();
    struct Case {
        std::string content;
        bool general, ie, nn, autoApply, autoReboot, readOnly;
        std::string comments;
    };
    const std::vector<Case> cases = {
        {"[Network]\r\nHost=elsewhere\r\n[Advanced]\r\nAutoApply=1\r\n", false, false, false, true,
         false, false, ""},
        {"[enabled sections]\r\ngeneral=1\r\nINTERNET EXPLORER=1\r\nNetscape Navigator=-1\r\n"
         "[Advanced]\r\nAutoApply=yes\r\nAutoReboot=1\r\nReadOnly=1\r\nComments=" +
             std::string(300, 'c') + "\r\n",
         true, true, false, false, true, true, std::string(254, 'c')},
        {std::string("\0\1\2binary\xff", 10), false, false, false, false, false, false, ""},
    };
    for (const Case& c : cases) {
        test::writeFile(file, c.content);
        clsVtlConfig doc;
        const std::string hostBefore = doc.getNetConfig()->Host();
        std::vector<std::string> log;
        EXPECT_EQ(doc.LoadConfigurationFile(file, {std::make_shared<RecordingAddIn>(log)}), 0);
        EXPECT_EQ(doc.ApplyGeneral(), c.general);
        EXPECT_EQ(doc.ApplyIE(), c.ie);
        EXPECT_EQ(doc.ApplyNN(), c.nn);
        EXPECT_EQ(doc.AutoApply(), c.autoApply);
        EXPECT_EQ(doc.AutoReboot(), c.autoReboot);
        EXPECT_EQ(doc.ReadOnly(), c.readOnly);
        EXPECT_EQ(doc.Comments(), c.comments);
        EXPECT_EQ(doc.ConfFile(), file);
        EXPECT_EQ(log, std::vector<std::string>{"LoadSettings " + file});
        // A disabled part's sections are not read.
        if (!c.general) {
            EXPECT_EQ(doc.getNetConfig()->Host(), hostBefore);
        }
    }
}

TEST(Document, FailedSaveKeepsThePreviousFile) {
    auto image = TestImage::sample("win2000");
    test::TempDir dir;
    clsVtlConfig doc;
    const std::string readOnly = (dir.path() / "locked.vtl").string();
    test::writeFile(readOnly, "[Advanced]\r\nComments=keep me\r\n");
    std::filesystem::permissions(
        readOnly, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    const std::string missing = (dir.path() / "no" / "such" / "x.vtl").string();
    for (const std::string& file : {readOnly, missing}) {
        image->clearMessages();
        EXPECT_EQ(doc.SaveConfigurationFile(file, {}), 0);
        EXPECT_EQ(doc.ConfFile(), file);
        ASSERT_EQ(image->messages().size(), 1u);
        EXPECT_EQ(image->messages()[0].text,
                  "Error accessing file '" + file +
                      "'.\r\n\r\nMake sure the file is not set to Read Only or the file is not "
                      "in use.");
        EXPECT_EQ(image->messages()[0].style, platform::mb::IconExclamation);
    }
    EXPECT_EQ(test::readFile(readOnly), "[Advanced]\r\nComments=keep me\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);  // the read-only file alone: no half-built leftovers
}

}  // namespace
}  // namespace vtl
