// The "Network Drives" add-in: a list of drive letters and the network paths
// (\\server\share) they connect to, kept in the configuration file's section
// "Network Drives" and connected when a configuration is applied. A drive that
// cannot be connected makes the add-in ask for a restart.
//
// File section:
//     [Network Drives]
//     Reconnect=1          connections are restored at every logon
//     Count=2
//     Drive1=F:
//     Path1=\\server\share
//     ...
#pragma once

#include <string>
#include <vector>

#include "addins/AddInObject.h"

namespace vtl::netdrives {

inline constexpr const char* kClassName = "NetworkDrives.clsNetworkDrives";
inline constexpr const char* kAddInName = "Network Drives";
inline constexpr const char* kVersion = "1.0.0";
inline constexpr const char* kSection = "Network Drives";

struct NetworkDrive {
    std::string letter;  // "F:"
    std::string path;    // "\\server\share"
    bool operator==(const NetworkDrive&) const = default;
};

// True for \\server\share, with more components allowed after the share.
bool isNetworkPath(const std::string& path);

class clsNetworkDrives : public AddInObject {
  public:
    // Members by name, without regard to case: LoadSettings(file),
    // saveSettings(file), Initialize(options), ApplySettings(), restart,
    // Show(file), Changed, about(). Throws VtlError for another name or a
    // wrong number of arguments.
    Variant Invoke(const std::string& member, const std::vector<Variant>& args) override;

    // Reads the section of `file`; a file without it holds no drives.
    void LoadSettings(const std::string& file);
    // Writes the section into `file`; throws VtlError when it cannot.
    void saveSettings(const std::string& file);
    // Prepares an apply: "IgnoreMapErrors" reports no failed drive in a box.
    void Initialize(const std::string& options);
    // Connects each drive (an earlier connection of its letter is cancelled first).
    void ApplySettings();
    // True when a drive could not be connected by the last apply.
    bool restart() const { return restart_; }
    // The add-in's dialog on the platform; `file` is the configuration shown.
    void Show(const std::string& file);
    // True when the last Show changed the drives.
    bool Changed() const { return changed_; }
    void about();

    const std::vector<NetworkDrive>& Drives() const { return drives_; }
    void Drives(std::vector<NetworkDrive> drives) { drives_ = std::move(drives); }
    bool Reconnect() const { return reconnect_; }
    void Reconnect(bool on) { reconnect_ = on; }

  private:
    std::vector<NetworkDrive> drives_;
    bool reconnect_ = true;
    bool restart_ = false;
    bool changed_ = false;
    bool ignoreMapErrors_ = false;
};

}  // namespace vtl::netdrives
