// The configuration document: one complete set of settings that the main
// window shows, a configuration file stores and the PC can be given. It owns
// the network object for the running system and the objects of the installed
// browsers.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "addins/AddInObject.h"

namespace vtl {

class clsNetConfig;
class clsBrowser;

// Thrown when the program must end at once (an unsupported system).
class ProgramEnd : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class clsVtlConfig {
  public:
    // Detects the system and the browsers, creates the objects and reads the
    // PC's current settings. Throws ProgramEnd on an unsupported system.
    clsVtlConfig();
    ~clsVtlConfig();
    clsVtlConfig(const clsVtlConfig&) = delete;
    clsVtlConfig& operator=(const clsVtlConfig&) = delete;

    const std::string& Comments() const { return comments_; }
    void Comments(const std::string& value);
    bool AutoApply() const { return autoApply_; }
    void AutoApply(bool value) { autoApply_ = value; }
    bool AutoReboot() const { return autoReboot_; }
    void AutoReboot(bool value) { autoReboot_ = value; }
    bool ReadOnly() const { return readOnly_; }
    void ReadOnly(bool value) { readOnly_ = value; }
    void ApplyGeneral(bool value) { applyGeneral_ = value; }
    bool ApplyGeneral() const { return applyGeneral_; }
    void ApplyIE(bool value) { applyIE_ = value; }
    bool ApplyIE() const { return applyIE_; }
    void ApplyNN(bool value) { applyNN_ = value; }
    bool ApplyNN() const { return applyNN_; }

    std::shared_ptr<clsNetConfig> getNetConfig() const { return netConfig_; }
    std::shared_ptr<clsBrowser> getIEConfig() const { return ieConfig_; }
    std::shared_ptr<clsBrowser> getNNConfig() const { return nnConfig_; }

    void LoadCurrentConfiguration();
    std::int16_t LoadConfigurationFile(const std::string& file, const AddInCollection& addIns);
    std::int16_t SaveConfigurationFile(const std::string& file, const AddInCollection& addIns);
    // True when an add-in asks for a restart.
    bool ApplyConfiguration(const AddInCollection& addIns);

    void ConfFile(const std::string& value) { confFile_ = value; }
    const std::string& ConfFile() const { return confFile_; }
    bool IEInstalled() const { return ieInstalled_; }
    bool NNInstalled() const { return nnInstalled_; }

  private:
    void LoadAdvancedSettings();
    void SaveAdvancedSettings(const std::string& file);

    std::shared_ptr<clsNetConfig> netConfig_;
    std::shared_ptr<clsBrowser> ieConfig_;
    std::shared_ptr<clsBrowser> nnConfig_;
    std::string confFile_;
    std::string comments_;
    bool autoApply_ = false;
    bool autoReboot_ = false;
    bool ieInstalled_ = false;
    bool nnInstalled_ = false;
    bool applyGeneral_ = true;
    bool applyIE_ = true;
    bool applyNN_ = true;
    bool readOnly_ = false;
};

}  // namespace vtl
