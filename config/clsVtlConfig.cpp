#include "config/clsVtlConfig.h"

#include <cstdint>

#include "browser/clsExplorer.h"
#include "browser/clsNavigator.h"
#include "config/ConfigFile.h"
#include "config/Screen.h"
#include "config/VtlError.h"
#include "config/modAPI.h"
#include "net/clsNetConfig.h"
#include "net/clsNetConfig2K.h"
#include "net/clsNetConfig9x.h"
#include "net/clsNetConfigNT.h"
#include "platform/Platform.h"

namespace vtl {

namespace {

constexpr const char* kRule = ";--------------------------------------------";
constexpr const char* kRightsLine1 = "Copyright (C) 2026 the Vantrel developers.";
constexpr const char* kRightsLine2 = "All rights reserved.";

const char* flag(bool on) {
    return on ? "1" : "0";
}

bool isOne(const std::string& section, const std::string& key, const std::string& file) {
    return ReadConfigValue(section, key, file) == "1";
}

// A file that cannot be created, written or replaced.
struct FileAccessError {};

void writeKey(const char* section, const char* key, const std::string& value,
              const std::string& file) {
    if (!WriteConfigValue(section, key, value, file))
        throw FileAccessError{};
}

// A name for the file being built, unused so far, beside `target`: "." +
// its name + ".saving-" + the process id + "-" + a number, so that no other
// process builds under the same name.
std::string buildingName(const std::string& target) {
    const std::size_t slash = target.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string leaf = slash == std::string::npos ? target : target.substr(slash + 1);
    static std::uint32_t number = 0;
    const std::string process = std::to_string(platform::sys().GetCurrentProcessId());
    std::string name;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        name = folder + "." + leaf + ".saving-" + process + "-" + std::to_string(++number);
        if (platform::sys().GetFileAttributes(name) == platform::INVALID_FILE_ATTRIBUTES)
            break;
    }
    return name;
}

// A value is one line of the file: line breaks are stored as blanks.
std::string oneLine(const std::string& text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        line += (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
    }
    return line;
}

void warn(const std::string& text) {
    platform::sys().MessageBox(text, platform::mb::OK | platform::mb::IconExclamation, kAppName);
}

}  // namespace

clsVtlConfig::clsVtlConfig() {
    applyGeneral_ = applyIE_ = applyNN_ = true;

    const std::string os = GetOSVersion();
    if (os == "2K") {
        netConfig_ = std::make_shared<clsNetConfig2K>();
    } else if (os == "NT") {
        netConfig_ = std::make_shared<clsNetConfigNT>();
    } else if (os == "9x") {
        netConfig_ = std::make_shared<clsNetConfig9x>();
    } else {
        platform::sys().MessageBox("Only Windows 95/98, NT, and 2000 are supported at this time.",
                                   platform::mb::OK | platform::mb::IconInformation, kAppName);
        throw ProgramEnd("unsupported operating system");
    }

    if (GetIEVersion() > 3) {
        ieInstalled_ = true;
        ieConfig_ = std::make_shared<clsExplorer>();
        if (ieConfig_->Status() != 0) {
            ieInstalled_ = false;
            ieConfig_.reset();
        }
    }
    if (GetNNVersion() > 4) {
        nnInstalled_ = true;
        nnConfig_ = std::make_shared<clsNavigator>();
        if (nnConfig_->Status() != 0) {
            nnInstalled_ = false;
            nnConfig_.reset();
        }
    }

    confFile_.clear();
    LoadCurrentConfiguration();
}

clsVtlConfig::~clsVtlConfig() = default;

void clsVtlConfig::Comments(const std::string& value) {
    auto first = value.find_first_not_of(' ');
    comments_ = first == std::string::npos
                    ? std::string()
                    : value.substr(first, value.find_last_not_of(' ') - first + 1);
}

void clsVtlConfig::LoadCurrentConfiguration() {
    netConfig_->loadConfiguration();
    if (ieInstalled_)
        ieConfig_->loadConfiguration();
    if (nnInstalled_)
        nnConfig_->loadConfiguration();
}

void clsVtlConfig::LoadAdvancedSettings() {
    autoApply_ = isOne("Advanced", "AutoApply", confFile_);
    autoReboot_ = isOne("Advanced", "AutoReboot", confFile_);
    readOnly_ = isOne("Advanced", "ReadOnly", confFile_);
    Comments(ReadConfigValue("Advanced", "Comments", confFile_));
}

std::int16_t clsVtlConfig::LoadConfigurationFile(const std::string& file,
                                                 const AddInCollection& addIns) {
    confFile_ = file;
    applyGeneral_ = isOne("Enabled Sections", "General", confFile_);
    applyIE_ = isOne("Enabled Sections", "Internet Explorer", confFile_);
    applyNN_ = isOne("Enabled Sections", "Netscape Navigator", confFile_);
    LoadAdvancedSettings();
    if (applyGeneral_)
        netConfig_->LoadConfigurationFile(confFile_);
    if (ieInstalled_ && applyIE_)
        ieConfig_->LoadConfigurationFile(confFile_);
    if (nnInstalled_ && applyNN_)
        nnConfig_->LoadConfigurationFile(confFile_);
    for (const auto& addIn : addIns)
        addIn->Invoke("LoadSettings", {Variant(confFile_)});
    return 0;
}

void clsVtlConfig::SaveAdvancedSettings(const std::string& file) {
    writeKey("Advanced", "AutoApply", flag(autoApply_), file);
    writeKey("Advanced", "AutoReboot", flag(autoReboot_), file);
    writeKey("Advanced", "Comments", oneLine(comments_), file);
}

std::int16_t clsVtlConfig::SaveConfigurationFile(const std::string& file,
                                                 const AddInCollection& addIns) {
    confFile_ = file;
    platform::Platform& sys = platform::sys();
    // The file is built whole beside the target and then moved over it, so
    // a failed save leaves the previous file as it was.
    const std::string building = buildingName(confFile_);
    try {
        const std::uint32_t attributes = sys.GetFileAttributes(confFile_);
        if (attributes != platform::INVALID_FILE_ATTRIBUTES &&
            (attributes & platform::FILE_ATTRIBUTE_READONLY) != 0) {
            throw FileAccessError{};
        }
        std::string header = kRule;
        header += "\r\n; Vantrel - v" + ProgramVersion() + "\r\n;\r\n";
        header += std::string("; ") + kRightsLine1 + "\r\n";
        header += std::string("; ") + kRightsLine2 + "\r\n";
        header += std::string(kRule) + "\r\n\r\n\r\n";
        if (sys.WriteFile(building, header) != platform::ERROR_SUCCESS)
            throw FileAccessError{};
        writeKey("Enabled Sections", "General", flag(applyGeneral_), building);
        writeKey("Enabled Sections", "Internet Explorer", flag(applyIE_), building);
        writeKey("Enabled Sections", "Netscape Navigator", flag(applyNN_), building);
        SaveAdvancedSettings(building);
        if (applyGeneral_)
            netConfig_->SaveConfigurationFile(building);
        if (ieInstalled_ && applyIE_)
            ieConfig_->SaveConfigurationFile(building);
        if (nnInstalled_ && applyNN_)
            nnConfig_->SaveConfigurationFile(building);
        for (const auto& addIn : addIns)
            addIn->Invoke("saveSettings", {Variant(building)});

        if (sys.ReplaceFile(building, confFile_) != platform::ERROR_SUCCESS)
            throw FileAccessError{};
        return 1;
    } catch (const FileAccessError&) {
        sys.DeleteFile(building);
        warn("Error accessing file '" + confFile_ +
             "'.\r\n\r\nMake sure the file is not set to Read Only or the file is not in use.");
        return 0;
    } catch (const VtlError& e) {
        sys.DeleteFile(building);
        warn("Error: " + e.description());
        return 0;
    } catch (const std::exception& e) {
        sys.DeleteFile(building);
        warn(std::string("Error: ") + e.what());
        return 0;
    }
}

bool clsVtlConfig::ApplyConfiguration(const AddInCollection& addIns) {
    bool restart = false;
    BusyPointer busy;
    if (applyGeneral_)
        netConfig_->ApplyConfiguration();
    if (ieInstalled_ && applyIE_)
        ieConfig_->ApplyConfiguration();
    if (nnInstalled_ && applyNN_)
        nnConfig_->ApplyConfiguration();
    for (const auto& addIn : addIns) {
        addIn->Invoke("Initialize", {Variant("IgnoreMapErrors")});
        addIn->Invoke("ApplySettings", {});
        restart = addIn->Invoke("restart", {}).truth() || restart;
    }
    return restart;
}

}  // namespace vtl
