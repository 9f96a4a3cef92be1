// Where a machine image keeps its registry: the Win32 registry calls of
// vtl::platform::Platform over some storage. PortableRegistry keeps it in a
// REGEDIT4 file; other stores may keep it in the hive files of an offline disk.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace vtl::portable {

using vtl::platform::HKEY;

class RegistryStore {
  public:
    struct Stats {
        std::uint64_t opens = 0;    // RegOpenKeyEx
        std::uint64_t creates = 0;  // RegCreateKeyEx
        std::uint64_t queries = 0;  // RegQueryValueEx, RegQueryInfoKey
        std::uint64_t sets = 0;     // RegSetValueEx
        std::uint64_t enums = 0;    // RegEnumKeyEx, RegEnumValue
        std::uint64_t deletes = 0;  // RegDeleteKey, RegDeleteValue
        std::uint64_t reloads = 0;  // whole loads of the stored files
        std::uint64_t replays = 0;  // changes applied from other processes or a previous run
        std::uint64_t folds = 0;    // stored files rewritten
    };
    // Receives "<file>: <what>: <reason>" when a change could not be written to
    // the store's files (disk full, I/O error, permissions changed meanwhile).
    using WriteFailureHandler = std::function<void(const std::string& message)>;

    virtual ~RegistryStore() = default;

    virtual long RegOpenKeyEx(HKEY parent, const std::string* subKey, std::uint32_t access,
                              HKEY& result) = 0;
    virtual long RegCreateKeyEx(HKEY parent, const std::string& subKey, std::uint32_t access,
                                HKEY& result, std::uint32_t& disposition) = 0;
    virtual long RegCloseKey(HKEY key) = 0;
    virtual long RegDeleteKey(HKEY parent, const std::string& subKey) = 0;
    virtual long RegDeleteValue(HKEY key, const std::string& name) = 0;
    virtual long RegQueryValueEx(HKEY key, const std::string& name, std::uint32_t& type,
                                 std::vector<std::uint8_t>* data, std::uint32_t& size) = 0;
    virtual long RegSetValueEx(HKEY key, const std::string& name, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) = 0;
    virtual long RegQueryInfoKey(HKEY key, std::uint32_t& subKeys, std::uint32_t& values) = 0;
    virtual long RegEnumKeyEx(HKEY key, std::uint32_t index, std::string& name) = 0;
    virtual long RegEnumValue(HKEY key, std::uint32_t index, std::string& name, std::uint32_t& type,
                              std::vector<std::uint8_t>& data) = 0;

    // true: RegDeleteKey removes the whole subtree (Windows 95/98); false
    // (default): it fails with ERROR_ACCESS_DENIED on a key with subkeys (NT).
    void setDeleteTreeOnDelete(bool on) { deleteTree_ = on; }
    // Reads work, every write returns ERROR_ACCESS_DENIED and nothing is written.
    virtual bool readOnly() const = 0;

    void setWriteFailureHandler(WriteFailureHandler handler) {
        onWriteFailure_ = std::move(handler);
    }
    const Stats& stats() const { return stats_; }
    void resetStats() { stats_ = {}; }

  protected:
    void writeFailed(const std::string& message) {
        if (onWriteFailure_)
            onWriteFailure_(message);
    }

    bool deleteTree_ = false;
    Stats stats_;

  private:
    WriteFailureHandler onWriteFailure_;
};

}  // namespace vtl::portable
