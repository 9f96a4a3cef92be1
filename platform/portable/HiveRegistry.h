// The registry of an offline Windows NT 4 / 2000 installation, kept in its
// hive files and read and written through libhivex.
//
// Keys. HKEY_LOCAL_MACHINE\SYSTEM and \SOFTWARE are the SYSTEM and SOFTWARE
// hives; SYSTEM\CurrentControlSet is ControlSet00N, N from SYSTEM\Select
// "Current". HKEY_CURRENT_USER is the user's NTUSER.DAT, HKEY_USERS\.DEFAULT
// the DEFAULT hive. HKEY_CLASSES_ROOT is HKLM\SOFTWARE\Classes (NT 4 and
// 2000 have no per-user classes). HKEY_CURRENT_CONFIG is
// CurrentControlSet\Hardware Profiles\000N, N from Control\IDConfigDB
// "CurrentConfig" (1 without it). Other keys at the top of a root are absent.
//
// Text. The program sees names and string data (REG_SZ, REG_EXPAND_SZ,
// REG_MULTI_SZ) in the ANSI code page, taken here as Latin-1; hives hold them
// as UTF-16LE. A character outside Latin-1 reads as '?'.
//
// Writes. Changes stay in the hivex handles until commit() (also run by the
// destructor). At the first change every hive's lock file "<hive>.vtl-lock"
// is locked with flock (waiting up to kLockWait for another process of this
// program, then refusing with a message) and a hive replaced meanwhile is
// loaded again; the locks are held until the commit. A commit writes each
// changed hive whole to "<hive>.vtl-new", syncs and checks it, then, once
// every changed hive is written, keeps the old file as "<hive>.vtl-backup"
// and renames the new one over it. A hive whose changed keys read as in its
// file (a key deleted and made again as it was) is not written. Parts of a hive the program does
// not touch (value types and layouts, key classes, security) are kept as they are.
//
// Bad files. A hive that is missing, truncated, not a hive, has a bad header
// checksum or is a Windows 95/98 registry (CREG) throws ImageError naming the
// file. A hive file or folder without write permission makes the whole
// registry read-only.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/portable/RegistryStore.h"

namespace vtl::portable {

// The hive files of a system drive.
struct HiveFiles {
    std::filesystem::path system, software, defaultUser, user;
};

// The Windows folder of a system drive (host path), or nothing when the
// folder holds neither an NT nor a Windows 95/98 installation.
std::optional<std::filesystem::path> findWindowsFolder(const std::filesystem::path& drive);

// The hives of the installation on `drive`, the user's NTUSER.DAT from the
// profile named `user` (any case; without it, the one profile with an
// NTUSER.DAT besides "Default User" and "All Users"). Throws ImageError for a
// Windows 95/98 installation, a missing hive, or a user without a profile
// (listing the profiles found).
HiveFiles locateHives(const std::filesystem::path& drive, const std::optional<std::string>& user);

class HiveRegistry : public RegistryStore {
  public:
    static constexpr std::chrono::seconds kLockWait{10};

    // Opens the hives; throws ImageError naming a hive that cannot be used.
    explicit HiveRegistry(const HiveFiles& files);
    ~HiveRegistry() override;
    HiveRegistry(const HiveRegistry&) = delete;
    HiveRegistry& operator=(const HiveRegistry&) = delete;

    long RegOpenKeyEx(HKEY parent, const std::string* subKey, std::uint32_t access,
                      HKEY& result) override;
    long RegCreateKeyEx(HKEY parent, const std::string& subKey, std::uint32_t access, HKEY& result,
                        std::uint32_t& disposition) override;
    long RegCloseKey(HKEY key) override;
    long RegDeleteKey(HKEY parent, const std::string& subKey) override;
    long RegDeleteValue(HKEY key, const std::string& name) override;
    long RegQueryValueEx(HKEY key, const std::string& name, std::uint32_t& type,
                         std::vector<std::uint8_t>* data, std::uint32_t& size) override;
    long RegSetValueEx(HKEY key, const std::string& name, std::uint32_t type,
                       const std::uint8_t* data, std::uint32_t size) override;
    long RegQueryInfoKey(HKEY key, std::uint32_t& subKeys, std::uint32_t& values) override;
    long RegEnumKeyEx(HKEY key, std::uint32_t index, std::string& name) override;
    long RegEnumValue(HKEY key, std::uint32_t index, std::string& name, std::uint32_t& type,
                      std::vector<std::uint8_t>& data) override;

    bool readOnly() const override { return !readOnlyFile_.empty(); }
    // The hive that cannot be replaced, which makes the registry read-only ("" when writable).
    const std::string& readOnlyFile() const { return readOnlyFile_; }

    // Writes the changed hives and releases the locks. Returns false (after
    // writeFailed) when a hive could not be written; the originals are whole.
    bool commit();

  private:
    struct Hive;
    struct Mount;
    struct Node;
    struct Handle {
        int root = 0;
        std::vector<std::string> path;
        std::uint32_t access = 0;
    };

    Hive& open(const std::filesystem::path& file);
    bool resolve(HKEY key, std::uint32_t need, Handle& out, long& err) const;
    long openKey(HKEY key, std::uint32_t need, Handle& h, Node& n) const;
    Node locate(int root, const std::vector<std::string>& path) const;
    std::vector<std::string> childNames(int root, const std::vector<std::string>& path,
                                        const Node& node) const;
    long beginWrite();
    void releaseLocks();
    HKEY newHandle(Handle handle);

    std::vector<std::unique_ptr<Hive>> hives_;
    std::vector<Mount> mounts_;
    std::unordered_map<HKEY, Handle> handles_;
    HKEY nextHandle_ = 1;
    std::string readOnlyFile_;
    // The subkey names last enumerated, so that enumerating a key is linear.
    struct EnumCache {
        int root = -1;
        std::vector<std::string> path, names;
        std::uint64_t generation = 0;
    };
    EnumCache enumCache_;
    std::uint64_t generation_ = 1;  // counts changes
    bool locked_ = false;
    bool lockRefused_ = false;
};

}  // namespace vtl::portable
