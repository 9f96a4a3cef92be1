// Registry access through one current key, addressed like a file system:
// "\HKEY_LOCAL_MACHINE\Software" is absolute, "Microsoft" relative, ".." the
// parent and "\" the top. Failures raise VtlError unless SuppressErrors is on,
// in which case only lastError records them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "registry/Variant.h"

namespace vtl {

enum RegValueType : std::int32_t { STRING = 0, BINARY = 1, DWORD = 2, MULTI_STRING = 3 };

// The three elements of a value read.
struct ValueRead {
    std::string text;                 // the value as text
    std::vector<std::uint8_t> bytes;  // the raw data
    double number = 0;                // a DWORD's unsigned value, else 0
};

// One listed value: name, data as text, type code as text ("0", "1" or "2").
using DirValueColumn = std::array<std::string, 3>;

// Result of DirValue: nothing (no current key), null (no values) or the columns.
struct DirValueResult {
    enum class Kind { Empty, Null, Array } kind = Kind::Empty;
    std::vector<DirValueColumn> columns;
};

class clsEasyRegistry {
  public:
    clsEasyRegistry() = default;
    ~clsEasyRegistry();
    clsEasyRegistry(const clsEasyRegistry&) = delete;
    clsEasyRegistry& operator=(const clsEasyRegistry&) = delete;

    std::string CurrentKey() const { return currentPath_; }
    void Cd(const std::string& path);
    // Subkey names in enumeration order; nullopt (null) when there are none.
    std::optional<std::vector<std::string>> DirKey();
    DirValueResult DirValue();
    void SetValueOf(const std::string& name, RegValueType& type, const Variant& value);
    ValueRead ValueOf(const std::string& name, RegValueType& type);
    void SetSuppressErrors(bool suppress) { suppressErrors_ = suppress; }
    bool SuppressErrors() const { return suppressErrors_; }
    void MakeKey(const std::string& subKeyPath);
    void DeleteKey(const std::string& subKeyName);
    void DeleteValue(const std::string& valueName);
    bool IsWindowsNT();
    std::int32_t lastError() const { return lastError_; }

    // Convenience for the common pattern: read a value's text, writing with a type.
    std::string ValueText(const std::string& name) {
        RegValueType type = STRING;
        return ValueOf(name, type).text;
    }
    void SetValue(const std::string& name, RegValueType type, const Variant& value) {
        SetValueOf(name, type, value);
    }

  private:
    void OpenKeyPath(std::string path, std::uint32_t access);
    void CheckApiResult(long code);
    [[noreturn]] void RaiseClassError(int code);
    void closeCurrent();

    std::string currentPath_;
    platform::HKEY currentHandle_ = 0;
    bool suppressErrors_ = false;
    std::int32_t lastError_ = 0;
};

}  // namespace vtl
